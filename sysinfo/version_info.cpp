#include "sysinfo/version_info.h"

#include "sysinfo/version_info_sys.h"

namespace qx::sysinfo {

namespace {
std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

String number(std::uint32_t v) { return toDecimal(static_cast<std::int64_t>(v)); }

struct Named {
    std::uint32_t value;
    const char16_t* name;
};
}  // namespace

namespace {
// The block's words in the order they are stored, 4 bytes each.
constexpr std::uint32_t FixedFileInfo::*const fixedFields[] = {
    &FixedFileInfo::signature,        &FixedFileInfo::strucVersion,     &FixedFileInfo::fileVersionMS,
    &FixedFileInfo::fileVersionLS,    &FixedFileInfo::productVersionMS, &FixedFileInfo::productVersionLS,
    &FixedFileInfo::flagsMask,        &FixedFileInfo::flags,            &FixedFileInfo::fileOS,
    &FixedFileInfo::fileType,         &FixedFileInfo::fileSubtype,      &FixedFileInfo::fileDateMS,
    &FixedFileInfo::fileDateLS};
static_assert(sizeof fixedFields / sizeof fixedFields[0] * 4 == FixedFileInfoSize);
}  // namespace

bool operator==(const FixedFileInfo& a, const FixedFileInfo& b) {
    for (const auto field : fixedFields)
        if (a.*field != b.*field) return false;
    return true;
}

FixedFileInfo decodeFixedFileInfo(const std::uint8_t* b) {
    FixedFileInfo f;
    for (const auto field : fixedFields) {
        f.*field = le32(b);
        b += 4;
    }
    return f;
}

String versionPair(std::uint32_t word) { return number(word >> 16) + u'.' + number(word & 0xFFFFu); }

String dottedVersion(std::uint32_t mostSignificant, std::uint32_t leastSignificant) {
    return versionPair(mostSignificant) + u'.' + versionPair(leastSignificant);
}

String fileFlagsText(std::uint32_t flags) {
    static const Named words[] = {{0x01, u"Debug "}, {0x02, u"PreRel "}, {0x04, u"Patched "},
                                  {0x08, u"Private "}, {0x10, u"Info "},  {0x20, u"Special "}};
    String out;
    for (const Named& w : words)
        if (flags & w.value) out += w.name;
    return out;
}

String fileOSName(std::uint32_t fileOS) {
    static const Named names[] = {{0x1, u"Win16"},         {0x4, u"Win32"},         {0x10000, u"DOS"},
                                  {0x10001, u"DOS-Win16"}, {0x10004, u"DOS-Win32"}, {0x20002, u"OS/2-16 PM-16"},
                                  {0x30003, u"OS/2-16 PM-32"}, {0x40000, u"NT"},    {0x40004, u"NT-Win32"}};
    for (const Named& n : names)
        if (n.value == fileOS) return n.name;
    return u"Unknown";
}

String fileTypeName(std::uint32_t fileType) {
    switch (fileType) {
        case 1: return u"App";
        case 2: return u"DLL";
        case 3: return u"Driver";
        case 4: return u"Font";
        case 5: return u"VxD";
        case 7: return u"Lib";
        default: return u"Unknown";
    }
}

String fileSubtypeText(std::uint32_t fileType, std::uint32_t subtype) {
    static const char16_t* const drivers[] = {u"Unknown",     u"Printer drv", u"Keyboard drv", u"Language drv",
                                              u"Display drv", u"Mouse drv",   u"Network drv",  u"System drv",
                                              u"Installable", u"Sound drv",   u"Comm drv"};
    if (fileType == 3 && subtype < sizeof drivers / sizeof drivers[0]) return drivers[subtype];
    return subtype == 0 ? String() : number(subtype);
}

void applyFixedFileInfo(const FixedFileInfo& info, clsVersionInfo& V) {
    V.StrucVer(versionPair(info.strucVersion));
    V.FileVer(dottedVersion(info.fileVersionMS, info.fileVersionLS));
    V.ProdVer(dottedVersion(info.productVersionMS, info.productVersionLS));
    V.FileFlags(fileFlagsText(info.flags));
    V.FileOS(fileOSName(info.fileOS));
    V.FileType(fileTypeName(info.fileType));
    V.FileSubType(fileSubtypeText(info.fileType, info.fileSubtype));
}

void getDisplayVerInfo(clsVersionInfo& V) {
    FixedFileInfo info;
    if (!sys::readFixedFileInfo(V.FullFileName(), info)) return;
    applyFixedFileInfo(info, V);
}

}  // namespace qx::sysinfo
