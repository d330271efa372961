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

bool operator==(const FixedFileInfo& a, const FixedFileInfo& b) {
    return a.signature == b.signature && a.strucVersion == b.strucVersion && a.fileVersionMS == b.fileVersionMS &&
           a.fileVersionLS == b.fileVersionLS && a.productVersionMS == b.productVersionMS &&
           a.productVersionLS == b.productVersionLS && a.flagsMask == b.flagsMask && a.flags == b.flags &&
           a.fileOS == b.fileOS && a.fileType == b.fileType && a.fileSubtype == b.fileSubtype &&
           a.fileDateMS == b.fileDateMS && a.fileDateLS == b.fileDateLS;
}

FixedFileInfo decodeFixedFileInfo(const std::uint8_t* b) {
    FixedFileInfo f;
    f.signature = le32(b);
    f.strucVersion = le32(b + 4);
    f.fileVersionMS = le32(b + 8);
    f.fileVersionLS = le32(b + 12);
    f.productVersionMS = le32(b + 16);
    f.productVersionLS = le32(b + 20);
    f.flagsMask = le32(b + 24);
    f.flags = le32(b + 28);
    f.fileOS = le32(b + 32);
    f.fileType = le32(b + 36);
    f.fileSubtype = le32(b + 40);
    f.fileDateMS = le32(b + 44);
    f.fileDateLS = le32(b + 48);
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
