#pragma once
// Builds small but complete PE images (a DLL with one resource section) for
// the version-resource tests: 32- or 64-bit, with or without a version
// resource, with the fixed file information the test chooses. The images load
// as data files on Windows, so the system's version library reads them too.
#include <cstdint>
#include <string>
#include <vector>

#include "sysinfo/version_info.h"

namespace qxtest {

inline qx::sysinfo::FixedFileInfo fixedInfo(std::uint32_t fileMS, std::uint32_t fileLS, std::uint32_t flags,
                                            std::uint32_t os, std::uint32_t type, std::uint32_t subtype) {
    qx::sysinfo::FixedFileInfo f;
    f.signature = 0xFEEF04BD;
    f.strucVersion = 0x00010000;
    f.fileVersionMS = fileMS;
    f.fileVersionLS = fileLS;
    f.productVersionMS = fileMS;
    f.productVersionLS = fileLS;
    f.flagsMask = 0x3F;
    f.flags = flags;
    f.fileOS = os;
    f.fileType = type;
    f.fileSubtype = subtype;
    return f;
}

struct PeSpec {
    bool pe32plus = false;
    bool withVersion = true;
    std::uint32_t resourceType = 16;  // RT_VERSION
    std::uint32_t resourceId = 1;
    std::uint16_t valueLength = 52;   // the root value's declared length
    qx::sysinfo::FixedFileInfo info = fixedInfo(0, 0, 0, 0, 0, 0);
};

// Offsets of the interesting parts of a built image, for tests that damage them.
struct PeLayout {
    std::size_t peHeader = 0;       // "PE\0\0"
    std::size_t optionalHeader = 0;
    std::size_t resourceDirectory = 0;  // the data directory entry (RVA, size) of the resources
    std::size_t sectionTable = 0;
    std::size_t resourceSection = 0;    // file offset of the resource section
    std::size_t dataEntry = 0;          // file offset of the resource data entry
    std::size_t versionBlock = 0;       // file offset of the VS_VERSIONINFO block
    std::size_t fixedInfo = 0;          // file offset of the fixed file information
};

inline void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline std::vector<std::uint8_t> buildPe(const PeSpec& spec, PeLayout* layoutOut = nullptr) {
    constexpr std::uint32_t fileAlign = 0x200;
    constexpr std::uint32_t sectionRva = 0x1000;
    PeLayout L;
    std::vector<std::uint8_t> rsrc;
    // The resource section: three directory levels, the data entry, the block.
    auto directory = [&](std::uint32_t id, std::uint32_t target) {
        const std::size_t at = rsrc.size();
        rsrc.resize(at + 24, 0);
        put16(rsrc, at + 14, 1);  // one identified entry
        put32(rsrc, at + 16, id);
        put32(rsrc, at + 20, target);
    };
    std::vector<std::uint8_t> block;
    if (spec.withVersion) {
        directory(spec.resourceType, 0x80000000u | 24);
        directory(spec.resourceId, 0x80000000u | 48);
        directory(0x409, 72);
        rsrc.resize(72 + 16, 0);
        const std::u16string key = u"VS_VERSION_INFO";
        const std::size_t valueAt = (6 + (key.size() + 1) * 2 + 3) & ~std::size_t{3};
        block.assign(valueAt + 52, 0);
        put16(block, 0, static_cast<std::uint32_t>(block.size()));
        put16(block, 2, spec.valueLength);
        for (std::size_t i = 0; i < key.size(); ++i) put16(block, 6 + 2 * i, key[i]);
        const auto& f = spec.info;
        const std::uint32_t words[13] = {f.signature,        f.strucVersion, f.fileVersionMS, f.fileVersionLS,
                                         f.productVersionMS, f.productVersionLS, f.flagsMask, f.flags,
                                         f.fileOS,           f.fileType,     f.fileSubtype,   f.fileDateMS,
                                         f.fileDateLS};
        for (int i = 0; i < 13; ++i) put32(block, valueAt + 4 * i, words[i]);
        put32(rsrc, 72, sectionRva + 88);
        put32(rsrc, 76, static_cast<std::uint32_t>(block.size()));
        rsrc.resize(88);
        rsrc.insert(rsrc.end(), block.begin(), block.end());
        L.dataEntry = 72;
        L.versionBlock = 88;
        L.fixedInfo = 88 + valueAt;
    } else {
        directory(24, 0x80000000u | 24);  // only a manifest-type directory, empty below
        rsrc.resize(40, 0);
    }
    const std::uint32_t rsrcSize = static_cast<std::uint32_t>(rsrc.size());
    const std::uint32_t rawSize = (rsrcSize + fileAlign - 1) & ~(fileAlign - 1);

    const std::size_t optionalSize = spec.pe32plus ? 240 : 224;
    std::vector<std::uint8_t> img(fileAlign + rawSize, 0);
    img[0] = 'M';
    img[1] = 'Z';
    L.peHeader = 0x40;
    put32(img, 0x3C, 0x40);
    img[0x40] = 'P';
    img[0x41] = 'E';
    const std::size_t coff = 0x44;
    put16(img, coff, spec.pe32plus ? 0x8664 : 0x14C);
    put16(img, coff + 2, 1);  // one section
    put16(img, coff + 16, static_cast<std::uint32_t>(optionalSize));
    put16(img, coff + 18, spec.pe32plus ? 0x2022 : 0x2102);  // executable DLL (32-bit machine for PE32)
    const std::size_t opt = coff + 20;
    L.optionalHeader = opt;
    put16(img, opt, spec.pe32plus ? 0x20B : 0x10B);
    img[opt + 2] = 2;  // linker version
    if (spec.pe32plus) {
        put32(img, opt + 24, 0x80000000u);  // image base (64-bit field, low word)
        put32(img, opt + 28, 0x1);
    } else {
        put32(img, opt + 28, 0x10000000u);
    }
    put32(img, opt + 32, 0x1000);  // section alignment
    put32(img, opt + 36, fileAlign);
    put16(img, opt + 40, 4);       // OS version 4.0
    put16(img, opt + 48, spec.pe32plus ? 5 : 4);  // subsystem version
    put32(img, opt + 56, sectionRva + ((rsrcSize + 0xFFF) & ~0xFFFu));  // size of image
    put32(img, opt + 60, fileAlign);  // size of headers
    put16(img, opt + 68, 2);          // GUI subsystem
    const std::size_t dirs = spec.pe32plus ? opt + 112 : opt + 96;
    if (spec.pe32plus) {
        put32(img, opt + 72, 0x100000);  // stack and heap sizes, 64-bit fields
        put32(img, opt + 80, 0x1000);
        put32(img, opt + 88, 0x100000);
        put32(img, opt + 96, 0x1000);
        put32(img, opt + 108, 16);
    } else {
        put32(img, opt + 72, 0x100000);
        put32(img, opt + 76, 0x1000);
        put32(img, opt + 80, 0x100000);
        put32(img, opt + 84, 0x1000);
        put32(img, opt + 92, 16);
    }
    L.resourceDirectory = dirs + 16;
    put32(img, dirs + 16, sectionRva);
    put32(img, dirs + 20, rsrcSize);
    const std::size_t sec = opt + optionalSize;
    L.sectionTable = sec;
    const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
    for (int i = 0; i < 8; ++i) img[sec + i] = static_cast<std::uint8_t>(name[i]);
    put32(img, sec + 8, rsrcSize);
    put32(img, sec + 12, sectionRva);
    put32(img, sec + 16, rawSize);
    put32(img, sec + 20, fileAlign);
    put32(img, sec + 36, 0x40000040u);  // initialised data, readable
    std::copy(rsrc.begin(), rsrc.end(), img.begin() + fileAlign);
    L.resourceSection = fileAlign;
    L.dataEntry += fileAlign;
    L.versionBlock += fileAlign;
    L.fixedInfo += fileAlign;
    if (layoutOut) *layoutOut = L;
    return img;
}

}  // namespace qxtest
