// System error codes become the runtime's file error numbers; a missing file
// is 53 when it was to be read, and a missing folder (76) when it was to be made.
#include <gtest/gtest.h>

#include <cerrno>

#include "core/error.h"
#include "core/file_errors.h"

using qx::FileOp;

TEST(FileErrors, AMissingFileDependsOnWhatWasToBeDone) {
    EXPECT_EQ(qx::fileErrorFromWin32(2, FileOp::Read), qx::err::FileNotFound);
    EXPECT_EQ(qx::fileErrorFromWin32(2, FileOp::Create), qx::err::PathNotFound);
    EXPECT_EQ(qx::fileErrorFromWin32(3, FileOp::Read), qx::err::PathNotFound);
    EXPECT_EQ(qx::fileErrorFromErrno(ENOENT, FileOp::Read), qx::err::FileNotFound);
    EXPECT_EQ(qx::fileErrorFromErrno(ENOENT, FileOp::Create), qx::err::PathNotFound);
    EXPECT_EQ(qx::fileErrorFromErrno(ENOTDIR, FileOp::Read), qx::err::PathNotFound);
    // A file another process holds: "permission denied" on both systems.
    EXPECT_EQ(qx::fileErrorFromWin32(32, FileOp::Read), qx::err::PermissionDenied);
    EXPECT_EQ(qx::fileErrorFromErrno(ETXTBSY, FileOp::Create), qx::err::PermissionDenied);
}
