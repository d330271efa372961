#include "sysinfo/network_drives.h"

#include "core/screen.h"
#include "core/text.h"
#include "files/paths.h"
#include "sysinfo/network_drives_sys.h"

namespace qx::sysinfo {

String uncFromConnectionBuffer(const String& buffer) {
    String t = trim(buffer);
    if (!t.empty()) t.pop_back();
    return t;
}

String connectionBuffer(const String& remoteName) {
    String b = remoteName;
    b += u'\0';
    if (b.size() < net::ConnectionBufferLength) b.append(net::ConnectionBufferLength - b.size(), u' ');
    return b;
}

String networkDriveElement(const NetworkConnection& c) { return c.localName + u',' + c.remoteName; }

std::int32_t getUNCPath(const String& strDriveLetter, String& strUNCPath) {
    try {
        doEvents();
        String buffer;
        const std::int32_t status = sys::getConnection(strDriveLetter, buffer);
        if (status == 0) {
            strUNCPath = uncFromConnectionBuffer(buffer);
            return 0;
        }
        strUNCPath = strDriveLetter + files::separator();
        return status;
    } catch (...) {
        strUNCPath = strDriveLetter;
        return net::InternalError;
    }
}

Variant getNetworkDrives() {
    std::vector<NetworkConnection> connections;
    try {
        if (!sys::enumerateConnections(connections)) connections.clear();
    } catch (...) {
        connections.clear();
    }
    Variant::Array drives(connections.size());
    for (std::size_t i = 0; i < connections.size(); ++i) drives[i] = Variant(networkDriveElement(connections[i]));
    return Variant(std::move(drives));
}

// ---- the mount table ----

std::string unescapeMountField(std::string_view field) {
    const auto octal = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && octal(field[i + 1]) && octal(field[i + 2]) &&
            octal(field[i + 3])) {
            out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::vector<MountEntry> parseMountInfo(std::string_view text) {
    std::vector<MountEntry> entries;
    for (const std::string_view line : splitLines(text)) {
        std::vector<std::string_view> fields;
        std::size_t f = 0;
        while (f < line.size()) {
            std::size_t e = line.find(' ', f);
            if (e == std::string_view::npos) e = line.size();
            if (e > f) fields.push_back(line.substr(f, e - f));
            f = e + 1;
        }
        // id, parent, major:minor, root, mount point, options, optional fields..., "-", type, source, options
        std::size_t dash = 6;
        while (dash < fields.size() && fields[dash] != "-") ++dash;
        if (fields.size() < 6 || dash + 2 >= fields.size()) continue;
        entries.push_back({unescapeMountField(fields[4]), unescapeMountField(fields[dash + 1]),
                           unescapeMountField(fields[dash + 2])});
    }
    return entries;
}

bool isNetworkFileSystem(std::string_view fsType) {
    return fsType == "nfs" || fsType == "nfs4" || fsType == "cifs" || fsType == "smb3" || fsType == "fuse.sshfs";
}

namespace {
// "host:path" split at the colon after the host (a bracketed IPv6 address may hold colons).
bool splitHostPath(std::string_view s, std::string_view& host, std::string_view& path) {
    std::size_t colon = 0;
    if (!s.empty() && s[0] == '[') {
        const std::size_t close = s.find(']');
        if (close == std::string_view::npos || close + 1 >= s.size() || s[close + 1] != ':') return false;
        colon = close + 1;
    } else {
        colon = s.find(':');
        if (colon == std::string_view::npos) return false;
    }
    host = s.substr(0, colon);
    path = s.substr(colon + 1);
    return !host.empty();
}

std::string serverPath(std::string_view host, std::string_view path) {
    std::string out = "//";
    out += host;
    while (!path.empty() && path.back() == '/') path.remove_suffix(1);
    if (!path.empty()) {
        if (path.front() != '/') out += '/';
        out += path;
    }
    return out;
}
}  // namespace

std::string remoteNameOf(std::string_view fsType, std::string_view source) {
    if (fsType == "cifs" || fsType == "smb3") {
        std::string s(source);
        for (char& c : s)
            if (c == '\\') c = '/';
        if (s.size() < 3 || s.compare(0, 2, "//") != 0 || s[2] == '/') return std::string();
        return s;
    }
    std::string_view host;
    std::string_view path;
    if (fsType == "fuse.sshfs") {
        // The server of "user@host:path" is the host; the user is not part of the name.
        const std::size_t at = source.find('@');
        const std::size_t colon = source.find(':');
        if (at != std::string_view::npos && (colon == std::string_view::npos || at < colon)) source.remove_prefix(at + 1);
    }
    if (!isNetworkFileSystem(fsType) || !splitHostPath(source, host, path)) return std::string();
    return serverPath(host, path);
}

std::vector<NetworkConnection> networkConnections(std::string_view mountInfo) {
    const std::vector<MountEntry> entries = parseMountInfo(mountInfo);
    std::vector<NetworkConnection> out;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const MountEntry& e = entries[i];
        if (!isNetworkFileSystem(e.fsType)) continue;
        bool hidden = false;
        for (std::size_t j = i + 1; j < entries.size() && !hidden; ++j) hidden = entries[j].mountPoint == e.mountPoint;
        if (hidden) continue;
        out.push_back({fromNarrow(e.mountPoint), fromNarrow(remoteNameOf(e.fsType, e.source))});
    }
    return out;
}

}  // namespace qx::sysinfo
