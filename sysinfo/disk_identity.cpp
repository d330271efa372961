#include "sysinfo/disk_identity.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/error.h"
#include "core/text.h"
#include "sysinfo/disk_identity_sys.h"

namespace qx::sysinfo {

IdentifyField identifyField(std::int32_t dataType) {
    switch (dataType) {
        case hdsn::ModelNumber: return {54, 40};
        case hdsn::SerialNumber: return {20, 20};
        case hdsn::FirmwareRevision: return {46, 8};
        default: raiseHdsn(hdsn::IllegalDataType);
    }
}

std::array<std::uint8_t, hdsn::RequestSize> identifyRequest(std::uint8_t drive) {
    std::array<std::uint8_t, hdsn::RequestSize> r{};
    r[0] = static_cast<std::uint8_t>(hdsn::BlockSize & 0xFF);  // buffer size, 512, little-endian
    r[1] = static_cast<std::uint8_t>(hdsn::BlockSize >> 8);
    r[5] = 1;                                       // sector count
    r[6] = 1;                                       // sector number
    r[9] = (drive & 1) ? 0xB0 : 0xA0;               // drive/head: slave or master
    r[10] = 0xEC;                                   // IDENTIFY DEVICE
    r[12] = drive;
    return r;
}

String identifyText(const IdentifyBlock& block, const IdentifyField& field) {
    std::string bytes;
    const std::size_t end = std::min(field.first + field.length, block.size());
    for (std::size_t i = field.first; i + 1 < end; i += 2) {
        if (block[i + 1] == 0) break;
        bytes += static_cast<char>(block[i + 1]);
        if (block[i] == 0) break;
        bytes += static_cast<char>(block[i]);
    }
    return trim(fromNarrow(bytes));
}

void encodeIdentifyText(IdentifyBlock& block, const IdentifyField& field, std::string_view text) {
    const std::size_t end = std::min(field.first + field.length, block.size());
    for (std::size_t i = field.first; i < end; ++i) block[i] = ' ';
    for (std::size_t k = 0; k < text.size() && field.first + k < end; ++k)
        block[field.first + (k ^ 1)] = static_cast<std::uint8_t>(text[k]);
}

String platformCode(std::uint32_t platformId, std::uint32_t minorVersion) {
    switch (platformId) {
        case 0: return u"32S";
        case 1: return minorVersion == 0 ? u"W95" : u"W98";
        case 2: return u"WNT";
        default: return u"Unk";
    }
}

bool readablePlatform(const String& platform) {
    return platform == u"WNT" || platform == u"W95" || platform == u"W98";
}

String hdsnErrorText(std::int32_t number) {
    switch (number) {
        case hdsn::IllegalDriveNumber: return u"Illegal drive number";
        case hdsn::IllegalDataType: return u"Illegal HD Data type";
        case hdsn::IllegalPlatform: return u"Illegal platform (only WNT, W98 or W95)";
        case hdsn::CreateFileFailed: return u"Error on CreateFile";
        default: return standardErrorText(number);
    }
}

void raiseHdsn(std::int32_t number) { raise(number, hdsnErrorText(number)); }

std::vector<String> trimmedSerials(const std::vector<String>& serials) {
    std::vector<String> out;
    out.reserve(serials.size());
    for (const String& s : serials) out.push_back(trim(s));
    return out;
}

std::vector<String> getHDSerialNumbers() {
    try {
        return trimmedSerials(sys::mediaSerialNumbers());
    } catch (...) {
        return {};
    }
}

// ---- block devices ----

std::map<std::string, std::string> parseUdevProperties(std::string_view record) {
    std::map<std::string, std::string> props;
    for (const std::string_view line : splitLines(record)) {
        if (line.size() < 2 || line[0] != 'E' || line[1] != ':') continue;
        const std::size_t eq = line.find('=', 2);
        if (eq == std::string_view::npos || eq == 2) continue;
        props[std::string(line.substr(2, eq - 2))] = std::string(line.substr(eq + 1));
    }
    return props;
}

std::string decodeUdevEscapes(std::string_view value) {
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 3 < value.size() && value[i + 1] == 'x' && hex(value[i + 2]) >= 0 &&
            hex(value[i + 3]) >= 0) {
            out += static_cast<char>(hex(value[i + 2]) * 16 + hex(value[i + 3]));
            i += 3;
        } else {
            out += value[i];
        }
    }
    return out;
}

bool deviceNameLess(const std::string& a, const std::string& b) {
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (digit(a[i]) && digit(b[j])) {
            std::size_t ei = i;
            std::size_t ej = j;
            while (ei < a.size() && digit(a[ei])) ++ei;
            while (ej < b.size() && digit(b[ej])) ++ej;
            // Compare the runs as numbers: without leading zeros, the longer is the greater.
            std::size_t si = i;
            std::size_t sj = j;
            while (si + 1 < ei && a[si] == '0') ++si;
            while (sj + 1 < ej && b[sj] == '0') ++sj;
            if (ei - si != ej - sj) return ei - si < ej - sj;
            const int c = a.compare(si, ei - si, b, sj, ej - sj);
            if (c != 0) return c < 0;
            i = ei;
            j = ej;
        } else {
            if (a[i] != b[j]) return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

namespace {
// The first line of a small text file without its line end and surrounding
// blanks; "" when it cannot be read.
std::string firstLine(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::string();
    std::string line;
    std::getline(in, line);
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!line.empty() && blank(line.back())) line.pop_back();
    std::size_t b = 0;
    while (b < line.size() && blank(line[b])) ++b;
    return line.substr(b);
}

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::string();
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The first of the values that is not blank.
std::string firstOf(std::initializer_list<std::string> values) {
    for (const std::string& v : values)
        if (v.find_first_not_of(' ') != std::string::npos) return v;
    return std::string();
}

std::string property(const std::map<std::string, std::string>& props, const char* key) {
    const auto it = props.find(key);
    return it == props.end() ? std::string() : it->second;
}
}  // namespace

std::vector<BlockDevice> scanBlockDevices(const std::filesystem::path& sysBlock,
                                          const std::filesystem::path& udevData) {
    namespace fs = std::filesystem;
    std::vector<BlockDevice> devices;
    std::error_code ec;
    fs::directory_iterator it(sysBlock, ec);
    if (ec) return devices;
    for (const fs::directory_entry& entry : it) {
        const fs::path dir = entry.path();
        std::error_code linkError;
        if (!fs::exists(dir / "device", linkError)) continue;
        BlockDevice d;
        d.name = dir.filename().string();
        const std::string dev = firstLine(dir / "dev");
        const auto props =
            dev.empty() ? std::map<std::string, std::string>() : parseUdevProperties(readAll(udevData / ("b" + dev)));
        d.model = firstOf({decodeUdevEscapes(property(props, "ID_MODEL_ENC")), firstLine(dir / "device" / "model"),
                           property(props, "ID_MODEL")});
        d.serial = firstOf({property(props, "ID_SERIAL_SHORT"), firstLine(dir / "serial"),
                            firstLine(dir / "device" / "serial")});
        d.firmware = firstOf({property(props, "ID_REVISION"), firstLine(dir / "device" / "firmware_rev"),
                              firstLine(dir / "device" / "rev")});
        devices.push_back(std::move(d));
    }
    std::sort(devices.begin(), devices.end(),
              [](const BlockDevice& a, const BlockDevice& b) { return deviceNameLess(a.name, b.name); });
    return devices;
}

}  // namespace qx::sysinfo
