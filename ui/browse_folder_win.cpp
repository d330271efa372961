// The shell's folder browser (ANSI), centred on the screen when it opens and
// whenever its selection changes.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "core/screen.h"
#include "ui/browse_folder.h"
#include "ui/browse_folder_sys.h"

namespace qx::ui {

namespace {

void centre(HWND dialog) {
    RECT r{};
    if (!GetWindowRect(dialog, &r)) return;
    Screen& s = screen();
    const Origin o = centredOrigin(r.right - r.left, r.bottom - r.top, s.width(), s.height(), s.twipsPerPixelX(),
                                   s.twipsPerPixelY());
    SetWindowPos(dialog, nullptr, o.left, o.top, 0, 0, SWP_NOSIZE);
}

int CALLBACK browseCallback(HWND dialog, UINT msg, LPARAM param, LPARAM data) {
    try {
        if (msg == BFFM_INITIALIZED) {
            SendMessageA(dialog, BFFM_SETSELECTIONA, static_cast<WPARAM>(-1), data);
            const std::string caption = toNarrow(kBrowseCaption);
            SendMessageA(dialog, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
            centre(dialog);
        } else if (msg == BFFM_SELCHANGED) {
            // The new selection's path, or its display name when it has none; neither is shown.
            char path[MAX_PATH] = {};
            if (!SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(param), path)) {
                SHFILEINFOA info{};
                SHGetFileInfoA(reinterpret_cast<LPCSTR>(param), 0, &info, static_cast<UINT>(sizeof info),
                               SHGFI_PIDL | SHGFI_DISPLAYNAME);
            }
            centre(dialog);
        }
    } catch (...) {
        // nothing may cross back into the shell
    }
    return 0;
}

}  // namespace

String showFolderBrowser(std::intptr_t owner, const String& startFolder) {
    const std::string start = toNarrow(startFolder);
    const std::string prompt = toNarrow(kBrowsePrompt);
    BROWSEINFOA bi{};
    bi.hwndOwner = reinterpret_cast<HWND>(owner);
    bi.pidlRoot = nullptr;
    bi.pszDisplayName = nullptr;
    bi.lpszTitle = prompt.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    bi.lpfn = browseCallback;
    bi.lParam = reinterpret_cast<LPARAM>(start.c_str());
    PIDLIST_ABSOLUTE item = SHBrowseForFolderA(&bi);
    if (!item) return String();
    char path[MAX_PATH] = {};
    const BOOL ok = SHGetPathFromIDListA(item, path);
    CoTaskMemFree(item);
    if (!ok) return String();
    return fromNarrow(path);
}

}  // namespace qx::ui
