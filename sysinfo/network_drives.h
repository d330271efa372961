#pragma once
// GetUNCPath and GetNetworkDrives: the network connections of the current
// user, and (for the POSIX port) the network file systems of the mount table
// as connections whose local name is the mount point.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/qxstring.h"
#include "core/variant.h"

namespace qx::sysinfo {

namespace net {
constexpr std::size_t ConnectionBufferLength = 255;
constexpr std::int32_t InternalError = 50;    // GetUNCPath when something failed inside it
constexpr std::int32_t MoreData = 234;        // the remote name does not fit the buffer
constexpr std::int32_t NoNetwork = 1222;      // no network to ask
constexpr std::int32_t NotConnected = 2250;   // the local name is no network connection
}  // namespace net

struct NetworkConnection {
    String localName;   // "" for a connection without one
    String remoteName;  // "" when the system gives none
};

// The remote name from the answer buffer of a connection query: the buffer
// without surrounding spaces and then without its last character (the NUL
// that ends the name).
String uncFromConnectionBuffer(const String& buffer);

// The answer buffer a connection query leaves for a remote name: the name,
// its NUL, and spaces up to the buffer's length.
String connectionBuffer(const String& remoteName);

// "local,remote", one element of GetNetworkDrives.
String networkDriveElement(const NetworkConnection& c);

std::int32_t getUNCPath(const String& strDriveLetter, String& strUNCPath);
Variant getNetworkDrives();

// ---- the mount table (/proc/self/mountinfo) ----

struct MountEntry {
    std::string mountPoint;
    std::string fsType;
    std::string source;
};

// The entries of a mountinfo text in order; lines that do not parse are skipped.
std::vector<MountEntry> parseMountInfo(std::string_view text);

// A mount-table field with its octal escapes ("\040" for a space) decoded.
std::string unescapeMountField(std::string_view field);

// Whether the file system type is a network one (nfs, nfs4, cifs, smb3, fuse.sshfs).
bool isNetworkFileSystem(std::string_view fsType);

// The source of a network mount as "//server/share" ("server:/export" of NFS,
// "user@host:path" of SSHFS, "//server/share" or "\\server\share" of SMB);
// "" when the source names no server.
std::string remoteNameOf(std::string_view fsType, std::string_view source);

// The network mounts that are visible (not mounted over later), in mount order.
std::vector<NetworkConnection> networkConnections(std::string_view mountInfo);

}  // namespace qx::sysinfo
