#pragma once
// The library's COM classes, created by the class factory. The type library
// says which classes there are, their class ids, default interfaces and
// names; the table here only adds how to create each one, by its name.
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace qx::com {

struct ClassEntry {
    const wchar_t* name;  // the coclass's name in the type library
    HRESULT (*create)(REFIID riid, void** ppv);
};

// Every class this server can create.
const ClassEntry* classTable(std::size_t& count);

// A class as the type library describes it.
struct CoClass {
    CLSID clsid{};
    IID iid{};                  // its default interface
    std::wstring name;          // the ProgID is "<library name>." + name
    std::wstring interfaceName;
    const ClassEntry* entry = nullptr;  // null: the table has no way to create it
};

// The creatable classes of the library's type library, in its order.
// Throws HResultError when the type library cannot be read.
std::vector<CoClass> coClasses();

}  // namespace qx::com
