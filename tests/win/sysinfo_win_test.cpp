// The Windows port of version information and disk identity: our PE reader
// against the version library on the system's own DLLs, our DLL and the test
// DLLs; the platform code and the SMART request as the running system answers
// them. (WMI and the network library are driven by the script suites.)
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "sysinfo/HDSN.h"
#include "sysinfo/clsVersionInfo.h"
#include "sysinfo/disk_identity.h"
#include "sysinfo/pe_resource.h"
#include "sysinfo/version_info.h"
#include "test_support.h"

using qx::String;
namespace sysinfo = qx::sysinfo;

namespace {
std::string folderOfThisProgram() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\') + 1);
}

std::string systemFolder() {
    char path[MAX_PATH];
    const UINT n = GetSystemDirectoryA(path, MAX_PATH);
    return std::string(path, n) + "\\";
}

// The version library's answer: the root block of the file's version resource.
bool libraryFixedInfo(const std::string& file, sysinfo::FixedFileInfo& out, std::vector<std::uint8_t>& resource) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &handle);
    if (size == 0) return false;
    resource.assign(size, 0);
    if (!GetFileVersionInfoA(file.c_str(), 0, size, resource.data())) return false;
    void* p = nullptr;
    UINT len = 0;
    char root[] = "\\";
    if (!VerQueryValueA(resource.data(), root, &p, &len) || len < 52) return false;
    out = sysinfo::decodeFixedFileInfo(static_cast<const std::uint8_t*>(p));
    return true;
}

bool readerFixedInfo(const std::string& file, sysinfo::FixedFileInfo& out) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return sysinfo::readFixedFileInfo(sysinfo::memorySource(bytes.data(), bytes.size()), out);
}
}  // namespace

TEST(WinVersionInfo, OurReaderAgreesWithTheVersionLibrary) {
    std::vector<std::string> files;
    for (const char* dll : {"kernel32.dll", "user32.dll", "ole32.dll", "oleaut32.dll", "version.dll", "mpr.dll",
                            "comctl32.dll", "shell32.dll", "advapi32.dll", "gdi32.dll", "wbemprox.dll",
                            "notepad.exe", "cscript.exe", "regsvr32.exe"})
        files.push_back(systemFolder() + dll);
    files.push_back(folderOfThisProgram() + "QXGenRtns.dll");
    files.push_back(folderOfThisProgram() + "qx_win_tests.exe");
    for (const char* name : {"driver32.dll", "driver64.dll", "noversion64.dll"})
        files.push_back(std::string(QX_TEST_DATA_DIR) + "/pe/" + name);

    int withVersion = 0;
    for (const std::string& file : files) {
        sysinfo::FixedFileInfo fromLibrary;
        sysinfo::FixedFileInfo fromReader;
        std::vector<std::uint8_t> resource;
        const bool libraryFound = libraryFixedInfo(file, fromLibrary, resource);
        EXPECT_EQ(readerFixedInfo(file, fromReader), libraryFound) << file;
        if (!libraryFound) continue;
        ++withVersion;
        EXPECT_TRUE(fromReader == fromLibrary) << file;
        // The resource as the library copies it starts with the block our reader walks.
        sysinfo::FixedFileInfo fromBlock;
        ASSERT_TRUE(sysinfo::fixedInfoOfVersionBlock(resource.data(), resource.size(), fromBlock)) << file;
        EXPECT_TRUE(fromBlock == fromLibrary) << file;
    }
    // The system's DLLs, our DLL and the two test drivers carry version resources.
    EXPECT_GE(withVersion, 8);
}

TEST(WinDisks, IdentityThroughTheSmartRequest) {
    qx::HDSN disk;
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ASSERT_TRUE(GetVersionExA(&info));
#pragma GCC diagnostic pop
    EXPECT_EQ(disk.Platform(), sysinfo::platformCode(info.dwPlatformId, info.dwMinorVersion));
    ASSERT_EQ(disk.Platform(), u"WNT");

    // Whether the first disk opens for reading and writing decides between an
    // answer and error 10003; a disk that opens but does not answer gives "".
    HANDLE h = CreateFileA("\\\\.\\PhysicalDrive0", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    const bool opens = h != INVALID_HANDLE_VALUE;
    if (opens) CloseHandle(h);
    if (opens) {
        const String model = disk.GetModelNumber();
        EXPECT_EQ(model, qx::trim(model));
        EXPECT_LE(model.size(), 40u);
        EXPECT_LE(disk.GetSerialNumber().size(), 20u);
        EXPECT_LE(disk.GetFirmwareRevision().size(), 8u);
    } else {
        EXPECT_RAISES(10003, disk.GetModelNumber());
    }
    disk.CurrentDrive(3);
    // No fourth disk here: the device does not open.
    EXPECT_RAISES(10003, disk.GetSerialNumber());
}
