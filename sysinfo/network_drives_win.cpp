// Network connections through the multiple-provider network library, ANSI forms.
#include <windows.h>
#include <winnetwk.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sysinfo/network_drives_sys.h"

namespace qx::sysinfo::sys {

std::int32_t getConnection(const String& localName, String& buffer) {
    const std::string local = toNarrow(localName);
    std::string answer(net::ConnectionBufferLength, ' ');
    DWORD length = static_cast<DWORD>(answer.size());
    const DWORD status = WNetGetConnectionA(local.c_str(), answer.data(), &length);
    buffer = fromNarrow(answer);
    return static_cast<std::int32_t>(status);
}

bool enumerateConnections(std::vector<NetworkConnection>& out) {
    HANDLE h = nullptr;
    if (WNetOpenEnumA(RESOURCE_CONNECTED, RESOURCETYPE_ANY, 0, nullptr, &h) != NO_ERROR || !h) return false;
    // 32768 bytes, aligned for the records; their texts are stored in the same buffer.
    std::vector<std::uint64_t> buffer(32768 / sizeof(std::uint64_t));
    DWORD count = 1024;
    DWORD size = 32768;
    const DWORD status = WNetEnumResourceA(h, &count, buffer.data(), &size);
    if (status == NO_ERROR) {
        const auto* records = reinterpret_cast<const NETRESOURCEA*>(buffer.data());
        for (DWORD i = 0; i < count; ++i) {
            const NETRESOURCEA& r = records[i];
            out.push_back({r.lpLocalName ? fromNarrow(r.lpLocalName) : String(),
                           r.lpRemoteName ? fromNarrow(r.lpRemoteName) : String()});
        }
    }
    WNetCloseEnum(h);
    return status == NO_ERROR;
}

}  // namespace qx::sysinfo::sys
