// System error codes become the runtime's file error numbers; a missing file
// is 53 when it was to be read, and a missing folder (76) when it was to be made.
#include <gtest/gtest.h>

#include <cerrno>
#include <system_error>

#include "core/error.h"
#include "core/file_errors.h"

using qx::FileOp;

TEST(FileErrors, Win32CodesGiveTheRuntimeNumbers) {
    struct Case {
        std::uint32_t code;
        std::int32_t read;
        std::int32_t create;
    };
    const Case cases[] = {{2, 53, 76},  {3, 76, 76},   {5, 75, 75},    {32, 70, 70},  {33, 70, 70}, {112, 61, 61},
                          {39, 61, 61}, {123, 52, 52}, {206, 52, 52},  {1117, 57, 57}, {4, 75, 75}};
    for (const Case& c : cases) {
        EXPECT_EQ(qx::fileErrorFromWin32(c.code, FileOp::Read), c.read) << c.code;
        EXPECT_EQ(qx::fileErrorFromWin32(c.code, FileOp::Create), c.create) << c.code;
    }
}

TEST(FileErrors, ErrnoValuesGiveTheRuntimeNumbers) {
    auto e = [](std::errc c) { return static_cast<int>(c); };
    EXPECT_EQ(qx::fileErrorFromErrno(e(std::errc::no_such_file_or_directory), FileOp::Read), qx::err::FileNotFound);
    EXPECT_EQ(qx::fileErrorFromErrno(e(std::errc::no_such_file_or_directory), FileOp::Create), qx::err::PathNotFound);
    const std::pair<std::errc, std::int32_t> cases[] = {
        {std::errc::not_a_directory, 76},    {std::errc::permission_denied, 75}, {std::errc::read_only_file_system, 75},
        {std::errc::is_a_directory, 75},     {std::errc::text_file_busy, 70},    {std::errc::no_space_on_device, 61},
        {std::errc::filename_too_long, 52},  {std::errc::io_error, 57},          {std::errc::too_many_files_open, 75}};
    for (const auto& [code, number] : cases)
        for (const FileOp op : {FileOp::Read, FileOp::Create})
            EXPECT_EQ(qx::fileErrorFromErrno(e(code), op), number) << static_cast<int>(code);
}
