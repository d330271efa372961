// The POSIX port has no folder browser to show: the call answers as a
// cancelled dialog, after reading the owner form's window handle as usual.
#include <gtest/gtest.h>

#include "core/clsQXGenRtns.h"
#include "core/error.h"
#include "test_support.h"

TEST(BrowseFolderPosix, AnswersAsACancelledDialog) {
    qx::clsQXGenRtns lib;
    auto form = qx::MemoryObject::create(u"Form");
    int reads = 0;
    form->method(u"hWnd", [&](const std::vector<qx::Variant>&) {
        ++reads;
        return qx::Variant(std::int32_t{0x1234});
    });
    EXPECT_EQ(lib.BrowseFolder(u"  /tmp  ", form), u"");
    EXPECT_EQ(reads, 1);
}
