// The Windows port of the registry, system and launch routines against the
// system's own registry, token and processes (a key of the current user's
// that the test removes).
#include <windows.h>

#include <gtest/gtest.h>

#include "core/clsQXGenRtns.h"
#include "core/msgbox.h"
#include "test_support.h"

using namespace qx;

namespace {
const char* const kKey = "Software\\QXGenRtnsWinTest";
const std::int32_t kUser = static_cast<std::int32_t>(0x80000001u);
const auto kUserRoot = static_cast<ERegistryClassConstants>(0x80000001u);

class WinRegistry : public ::testing::Test {
protected:
    WinRegistry() {
        RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
        RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    }
    ~WinRegistry() override {
        RegCloseKey(key_);
        RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    }
    void put(const char* name, DWORD type, const std::string& data) {
        RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    }
    std::string raw(const char* name, DWORD* type = nullptr) {
        BYTE buf[256];
        DWORD size = sizeof buf;
        DWORD t = 0;
        if (RegQueryValueExA(key_, name, nullptr, &t, buf, &size) != ERROR_SUCCESS) return "<none>";
        if (type) *type = t;
        return std::string(reinterpret_cast<char*>(buf), size);
    }
    std::int32_t handle() const { return static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(key_)); }

    HKEY key_ = nullptr;
    clsQXGenRtns lib_;
};
}  // namespace

TEST_F(WinRegistry, ValuesWrittenThroughAnOpenHandleAreTheSystemsBytes) {
    EXPECT_EQ(lib_.SetValueEx(handle(), u"text", 1, Variant(u"abc")), 0);
    EXPECT_EQ(lib_.SetValueEx(handle(), u"bin", 3, Variant(std::int16_t{42})), 0);
    EXPECT_EQ(lib_.SetValueEx(handle(), u"num", 4, Variant(u"258")), 0);
    EXPECT_EQ(lib_.SetValueEx(handle(), u"exp", 2, Variant(u"x")), 0);
    DWORD type = 0;
    EXPECT_EQ(raw("text", &type), std::string("abc\0", 4));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw("bin", &type), std::string("42\0", 3));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(raw("num"), std::string("\x02\x01\0\0", 4));
    EXPECT_EQ(raw("exp"), "<none>");
    lib_.SetKeyValue(kUserRoot, fromNarrow(kKey), u"viaKey", Variant(u"k"),
                     static_cast<ERegistryValueTypes>(1));
    EXPECT_EQ(raw("viaKey"), std::string("k\0", 2));
    EXPECT_EQ(lib_.SetValueEx(0x1234, u"x", 1, Variant(u"r")), ERROR_INVALID_HANDLE);
}

TEST_F(WinRegistry, OpenHandlesCrossAsThirtyTwoBitValues) {
    put("bin3", REG_BINARY, "ABC");
    const Variant bytes = lib_.RegQueryStringValue(handle(), u"bin3");
    ASSERT_EQ(bytes.type(), Variant::Type::vbArray);
    ASSERT_EQ(bytes.toArray().size(), 4u);
    EXPECT_EQ(bytes.toArray()[0], Variant(std::uint8_t{0x41}));
    EXPECT_EQ(bytes.toArray()[3], Variant(std::uint8_t{0}));
    put("s", REG_SZ, std::string("x\0y\0", 4));
    EXPECT_EQ(lib_.RegQueryStringValue(handle(), u"s"), Variant(u"x"));
    EXPECT_EQ(lib_.GetString(handle(), u"", u"s"), u"x");
    // Opening "" gave back the caller's own handle: it is still open.
    EXPECT_EQ(lib_.RegQueryStringValue(handle(), u"s"), Variant(u"x"));
}

TEST(WinLaunch, WaitsForTheProgramAndReportsStartFailures) {
    int shown = 0;
    String text;
    setMessageBoxHandler([&](const String& t, std::int32_t, const String&) {
        ++shown;
        text = t;
        return 1;
    });
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string file = std::string(temp) + "qx launch win.txt";
    DeleteFileA(file.c_str());
    clsQXGenRtns lib;
    lib.ShellAndWait(fromNarrow("cmd /c for /l %i in (1,1,300) do @echo %i> \"" + file + "\""), vbHide);
    HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    char buf[16] = {};
    DWORD got = 0;
    ReadFile(h, buf, sizeof buf - 1, &got, nullptr);
    CloseHandle(h);
    EXPECT_EQ(std::string(buf), "300\r\n");
    DeleteFileA(file.c_str());
    EXPECT_EQ(shown, 0);
    lib.ShellAndWait(u"C:\\no\\such\\program.exe", vbNormalFocus);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(text, u"Error starting task C:\\no\\such\\program.exe\r\nFile not found");
    setMessageBoxHandler(nullptr);
}
