#include "ui/browse_folder.h"

#include "core/error.h"
#include "ui/browse_folder_sys.h"

namespace qx::ui {

String browseFolder(const String& startFolder, const ObjectRef& form) {
    if (!form) raise(err::ObjectNotSet);
    const Variant handle = form->get(u"hWnd");
    const auto owner = static_cast<std::intptr_t>(static_cast<std::int64_t>(handle.toDouble()));
    return showFolderBrowser(owner, trim(startFolder));
}

Origin centredOrigin(std::int32_t dialogWidth, std::int32_t dialogHeight, std::int32_t screenWidthTwips,
                     std::int32_t screenHeightTwips, std::int32_t twipsPerPixelX, std::int32_t twipsPerPixelY) {
    if (twipsPerPixelX <= 0 || twipsPerPixelY <= 0) raise(err::InvalidProcedureCall);
    const std::int32_t screenWidth = screenWidthTwips / twipsPerPixelX;
    const std::int32_t screenHeight = screenHeightTwips / twipsPerPixelY;
    return {(screenWidth - dialogWidth) / 2, (screenHeight - dialogHeight) / 2};
}

}  // namespace qx::ui
