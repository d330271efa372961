// The folder browser: where its dialog sits, and the errors of a form whose window handle cannot be read.
#include <gtest/gtest.h>

#include "core/clsQXGenRtns.h"
#include "test_support.h"
#include "ui/browse_folder.h"

TEST(BrowseFolder, DialogIsCentredWithIntegerDivisionsAndNeedsAWindowHandle) {
    // 1024 x 768 pixels at 15 twips per pixel; a dialog of 321 x 401 pixels: (1024 - 321) \ 2, (768 - 401) \ 2.
    const qx::ui::Origin o = qx::ui::centredOrigin(321, 401, 1024 * 15, 768 * 15, 15, 15);
    EXPECT_EQ(std::make_pair(o.left, o.top), std::make_pair(351, 183));
    // Twips that are not a whole number of pixels are cut off first.
    EXPECT_EQ(qx::ui::centredOrigin(100, 100, 1025 * 12 + 11, 600 * 12, 12, 12).left, 462);

    qx::clsQXGenRtns lib;
    EXPECT_RAISES(qx::err::ObjectNotSet, lib.BrowseFolder(u"C:\\", nullptr));
    auto form = qx::MemoryObject::create(u"Form");
    EXPECT_RAISES(qx::err::MemberNotSupported, lib.BrowseFolder(u"C:\\", form));
    form->prop(u"hWnd", u"not a handle");
    EXPECT_RAISES(qx::err::TypeMismatch, lib.BrowseFolder(u"C:\\", form));
}
