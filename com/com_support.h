#pragma once
// What every COM class of the library shares: text and value conversions
// between automation types and the core's, the error convention (a core
// RuntimeError becomes a FACILITY_CONTROL HRESULT with error info), the
// module's type library and its object count.
#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/object.h"
#include "core/variant.h"

namespace qx::com {

// Objects alive and server locks, for DllCanUnloadNow.
extern std::atomic<long> g_liveObjects;
extern std::atomic<long> g_serverLocks;
// Set when the process is ending: references still held then are not released.
extern std::atomic<bool> g_processEnding;
extern HINSTANCE g_module;

std::wstring modulePath();
// The library's own type library (resource TYPELIB 1 of this DLL); not AddRef'd.
ITypeLib* typeLib();
// The type information of an interface or class of the library; not AddRef'd.
ITypeInfo* typeInfoOf(REFGUID guid);
// The vtable half of a dual interface: its functions carry the vtable offsets
// and the full signatures, return values included. Not AddRef'd.
ITypeInfo* vtableInfoOf(REFIID iid);

// A failed HRESULT carried through C++ code.
struct HResultError {
    HRESULT hr;
};
inline void throwIfFailed(HRESULT hr) {
    if (FAILED(hr)) throw HResultError{hr};
}

BSTR toBstr(const String& s);
String fromBstr(BSTR b);

// Converts between automation VARIANTs and core variants. A VARIANT array
// becomes an array of variants; an IDispatch becomes a late-bound Object.
Variant fromVariant(const VARIANT& v);
void toVariant(const Variant& v, VARIANT* out);

// Wraps a host's IDispatch as a core Object (null gives a null reference).
ObjectRef wrapDispatch(IDispatch* d);
// The IDispatch behind a core Object that came from COM, or null.
IDispatch* unwrapDispatch(const ObjectRef& o);

// A one-dimensional SAFEARRAY as it is read: its element type and bounds
// (hi below lo when it is empty), each element as a VARIANT of its own. The
// element type is the array's own unless the caller's VARIANT declares it.
struct ArrayView {
    explicit ArrayView(SAFEARRAY* array, VARTYPE declared = VT_EMPTY);
    SAFEARRAY* sa;
    VARTYPE vt = VT_EMPTY;
    LONG lo = 0;
    LONG hi = -1;
    ULONG count() const { return static_cast<ULONG>(hi - lo + 1); }
    // Element i copied into `out`, which the caller clears.
    HRESULT element(LONG i, VARIANT* out) const;
    // A new array of `type` with the same bounds; null when out of memory.
    SAFEARRAY* createLike(VARTYPE type) const;
};

// One-dimensional SAFEARRAYs of strings, counted from 0.
SAFEARRAY* toSafeArray(const std::vector<String>& items);
std::vector<String> fromSafeArray(SAFEARRAY* sa);

// Stores the error info for the caller and gives the HRESULT that carries the number.
HRESULT reportError(const wchar_t* source, REFGUID iid, std::int32_t number, const String& description);

// Runs a member's body: exceptions never cross the boundary.
template <typename F>
HRESULT guard(const wchar_t* source, REFGUID iid, F&& body) noexcept {
    try {
        body();
        return S_OK;
    } catch (const RuntimeError& e) {
        return reportError(source, iid, e.number(), e.description());
    } catch (const HResultError& e) {
        return e.hr;
    } catch (const std::bad_alloc&) {
        return reportError(source, iid, 7, standardErrorText(7));
    } catch (const std::exception& e) {
        return reportError(source, iid, 51, u"Internal error: " + fromUtf8(e.what()));
    } catch (...) {
        return reportError(source, iid, 51, u"Internal error");
    }
}

// Arguments and results of vtable members.
String in(BSTR* p);
void out(BSTR* p, const String& s);
void ret(BSTR* p, const String& s);
void ret(VARIANT_BOOL* p, bool b);
template <typename T, typename U>
void ret(T* p, U v) {
    if (!p) throw HResultError{E_POINTER};
    *p = static_cast<T>(v);
}
template <typename T>
T in(T* p) {
    if (!p) throw HResultError{E_POINTER};
    return *p;
}
ObjectRef inObject(IDispatch** p);
Variant inVariant(VARIANT* p);
void retVariant(VARIANT* p, const Variant& v);

}  // namespace qx::com
