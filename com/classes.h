#pragma once
// The library's COM classes, created by the class factory.
#include <windows.h>

#include <cstddef>

namespace qx::com {

struct ClassEntry {
    const CLSID* clsid;
    const IID* iid;
    const wchar_t* name;  // the class name; the ProgID is "QXGenRtns." + name
    HRESULT (*create)(REFIID riid, void** ppv);
};

// Every creatable class, in the order of the type library.
const ClassEntry* classTable(std::size_t& count);

}  // namespace qx::com
