#include "registry/registry.h"

#include "core/error.h"
#include "registry/registry_sys.h"
#include "sysinfo/osinfo.h"

namespace qx::reg {

namespace {

constexpr std::uint32_t kQueryValue = 1;
constexpr std::uint32_t kAllAccess = 0xF003F;

thread_local AdminTest t_adminTest = nullptr;

bool administrator() { return t_adminTest ? t_adminTest() : sysinfo::isAdmin(); }

bool isPredefined(sys::Handle h) {
    const auto u = static_cast<std::uint32_t>(h);
    return u >= 0x80000000u && u <= 0x80000006u;
}

// An opened key, closed when the routine leaves on any path. A failed open
// leaves the handle 0, which the following call answers as invalid. Opening
// "" under a key may hand back the caller's own handle, which stays open.
class OpenKey {
public:
    explicit OpenKey(sys::Handle parent) : parent_(parent) {}
    ~OpenKey() {
        if (h_ != 0 && h_ != parent_ && !isPredefined(h_)) sys::closeKey(h_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    sys::Handle& out() { return h_; }
    sys::Handle get() const { return h_; }

private:
    sys::Handle parent_;
    sys::Handle h_ = 0;
};

std::int32_t littleEndian(const unsigned char* b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                                     (static_cast<std::uint32_t>(b[2]) << 16) |
                                     (static_cast<std::uint32_t>(b[3]) << 24));
}

}  // namespace

void setAdminTest(AdminTest test) { t_adminTest = test; }

std::string textValueBytes(const String& text) { return toNarrow(text) + '\0'; }

String charsFromBytes(const std::string& bytes) {
    String out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        const String one = fromNarrow(std::string(1, b));
        // A byte the code page cannot show alone keeps its value as the character.
        out += one.size() == 1 ? one[0] : static_cast<char16_t>(static_cast<unsigned char>(b));
    }
    return out;
}

String stringFromBytePairs(const std::string& bytes) {
    String out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return out;
}

bool createNewKey(std::int32_t root, const String& name) {
    if (!administrator()) return false;
    OpenKey key(root);
    return sys::createKeyEx(root, toNarrow(name), kAllAccess, key.out()) == 0;
}

bool keyExists(std::int32_t root, const String& name) {
    OpenKey key(root);
    return sys::openKeyEx(root, toNarrow(name), kQueryValue, key.out()) == 0;
}

bool deleteKey(std::int32_t root, const String& name) {
    OpenKey key(root);
    sys::openKey(root, toNarrow(name), key.out());
    return sys::deleteKey(key.get(), std::string()) == 0;
}

bool deleteValue(std::int32_t root, const String& keyName, const String& valueName) {
    OpenKey key(root);
    sys::openKey(root, toNarrow(keyName), key.out());
    return sys::deleteValue(key.get(), toNarrow(valueName)) == 0;
}

void setKeyValue(std::int32_t root, const String& keyName, const String& valueName, const Variant& value,
                 std::int32_t type) {
    if (!administrator()) return;
    OpenKey key(root);
    sys::openKeyEx(root, toNarrow(keyName), kAllAccess, key.out());
    setValueEx(key.get(), valueName, type, value);
}

std::int32_t setValueEx(std::int32_t key, const String& valueName, std::int32_t type, const Variant& value) {
    if (!administrator()) return 0;
    const std::string name = toNarrow(valueName);
    if (type == REG_SZ || type == REG_BINARY) {
        // The length is that of the narrow text with its NUL, so that no
        // character of a multi-byte encoding is cut off.
        const std::string data = textValueBytes(value.toString());
        return static_cast<std::int32_t>(sys::setValue(key, name, static_cast<std::uint32_t>(type),
                                                       reinterpret_cast<const unsigned char*>(data.data()),
                                                       static_cast<std::uint32_t>(data.size())));
    }
    if (type == REG_DWORD) {
        const auto n = static_cast<std::uint32_t>(value.toInt32());
        const unsigned char data[4] = {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                                       static_cast<unsigned char>(n >> 16), static_cast<unsigned char>(n >> 24)};
        return static_cast<std::int32_t>(sys::setValue(key, name, REG_DWORD, data, 4));
    }
    return 0;
}

Variant getValue(std::int32_t root, const String& keyLoc, const Variant& valueName, const Variant& defaultValue) {
    const std::string name = toNarrow(valueName.toString());
    OpenKey key(root);
    if (sys::openKeyEx(root, toNarrow(keyLoc), kQueryValue, key.out()) != 0) return defaultValue;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    const long rc = sys::queryValue(key.get(), name, &type, nullptr, &size);
    if (rc != 0 && rc != 234) return defaultValue;

    if (type == REG_DWORD || type == REG_DWORD_BIG_ENDIAN) {
        unsigned char b[4] = {0, 0, 0, 0};
        std::uint32_t four = 4;
        sys::queryValue(key.get(), name, &type, b, &four);
        if (type == REG_DWORD_BIG_ENDIAN) {
            const unsigned char r[4] = {b[3], b[2], b[1], b[0]};
            return Variant(littleEndian(r));
        }
        return Variant(littleEndian(b));
    }
    // The text and binary forms take the data without its last byte; there
    // is no such buffer for empty data.
    if (size == 0) raise(err::InvalidProcedureCall);
    std::string data(size, '\0');
    std::uint32_t got = size;
    sys::queryValue(key.get(), name, &type, reinterpret_cast<unsigned char*>(data.data()), &got);
    data.resize(size - 1);
    switch (type) {
        case REG_SZ:
        case REG_MULTI_SZ: return Variant(fromNarrow(data));
        case REG_EXPAND_SZ: return Variant(fromNarrow(sys::expandEnvironment(data.substr(0, data.find('\0')))));
        default: return Variant(charsFromBytes(data));
    }
}

Variant regQueryStringValue(std::int32_t key, const String& valueName) {
    const std::string name = toNarrow(valueName);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (sys::queryValue(key, name, &type, nullptr, &size) != 0) return Variant();
    if (type == REG_SZ) {
        std::string buffer(size, '\0');
        std::uint32_t got = size;
        if (sys::queryValue(key, name, &type, reinterpret_cast<unsigned char*>(buffer.data()), &got) != 0)
            return Variant();
        return Variant(fromNarrow(buffer.substr(0, buffer.find('\0'))));
    }
    if (type == REG_BINARY) {
        std::string buffer(static_cast<std::size_t>(size) + 1, '\0');
        std::uint32_t got = size;
        if (sys::queryValue(key, name, &type, reinterpret_cast<unsigned char*>(buffer.data()), &got) != 0)
            return Variant();
        Variant::Array bytes;
        bytes.reserve(buffer.size());
        for (const char b : buffer) bytes.emplace_back(static_cast<std::uint8_t>(b));
        return Variant(std::move(bytes));
    }
    return Variant();
}

String getString(std::int32_t key, const String& path, const String& valueName) {
    OpenKey opened(key);
    sys::openKey(key, toNarrow(path), opened.out());
    const Variant v = regQueryStringValue(opened.get(), valueName);
    if (v.type() == Variant::Type::vbArray) {
        std::string bytes;
        for (const auto& b : v.toArray()) bytes += static_cast<char>(b.toByte());
        return stringFromBytePairs(bytes);
    }
    return v.isEmpty() ? String() : v.toString();
}

void getRegistryInfo(WindowsRegistryInfo& wri) {
    String key;
    switch (sys::registryPlatform()) {
        case 1: key = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion"; break;
        case 2: key = u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"; break;
        default: return;
    }
    const auto machine = static_cast<std::int32_t>(HKEY_LOCAL_MACHINE);
    if (!keyExists(machine, key)) return;
    wri.RegOwner = getValue(machine, key, Variant(u"RegisteredOwner"), Variant(String())).toString();
    wri.RegCompany = getValue(machine, key, Variant(u"RegisteredOrganization"), Variant(String())).toString();
    wri.Product = getValue(machine, key, Variant(u"ProductName"), Variant(String())).toString();
    wri.ProductId = getValue(machine, key, Variant(u"ProductId"), Variant(String())).toString();
}

}  // namespace qx::reg
