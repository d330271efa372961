// Network connections on POSIX: the network file systems of the process's
// mount table, each a connection whose local name is its mount point and
// whose remote name is "//server/share". A local name that is no such mount
// point answers "not connected", as a local drive does on Windows.
#include <fstream>
#include <iterator>
#include <string>

#include "sysinfo/network_drives_sys.h"

namespace qx::sysinfo::sys {

namespace {
bool readMountInfo(std::string& text) {
    std::ifstream in("/proc/self/mountinfo", std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}
}  // namespace

std::int32_t getConnection(const String& localName, String& buffer) {
    buffer.assign(net::ConnectionBufferLength, u' ');
    std::string text;
    if (!readMountInfo(text)) return net::NoNetwork;
    for (const NetworkConnection& c : networkConnections(text)) {
        if (c.localName != localName || localName.empty()) continue;
        if (c.remoteName.size() + 1 > net::ConnectionBufferLength) return net::MoreData;
        buffer = connectionBuffer(c.remoteName);
        return 0;
    }
    return net::NotConnected;
}

bool enumerateConnections(std::vector<NetworkConnection>& out) {
    std::string text;
    if (!readMountInfo(text)) return false;
    out = networkConnections(text);
    return true;
}

}  // namespace qx::sysinfo::sys
