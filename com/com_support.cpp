#include "com/com_support.h"

#include <cstring>
#include <map>
#include <mutex>

#include "core/date.h"

namespace qx::com {

std::atomic<long> g_liveObjects{0};
std::atomic<long> g_serverLocks{0};
std::atomic<bool> g_processEnding{false};
HINSTANCE g_module = nullptr;

std::wstring modulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

ITypeLib* typeLib() {
    static ITypeLib* lib = nullptr;
    static std::once_flag once;
    std::call_once(once, [] {
        if (FAILED(LoadTypeLibEx(modulePath().c_str(), REGKIND_NONE, &lib))) lib = nullptr;
    });
    if (!lib) throw HResultError{TYPE_E_CANTLOADLIBRARY};
    return lib;
}

namespace {
struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }
};
std::mutex g_infoMutex;
std::map<GUID, ITypeInfo*, GuidLess> g_infos;
std::map<GUID, ITypeInfo*, GuidLess> g_vtableInfos;
}  // namespace

// Type infos are looked up once and kept, like the type library itself, for
// the life of the process.
ITypeInfo* typeInfoOf(REFGUID guid) {
    std::lock_guard<std::mutex> lock(g_infoMutex);
    ITypeInfo*& ti = g_infos[guid];
    if (!ti) {
        ITypeInfo* found = nullptr;
        throwIfFailed(typeLib()->GetTypeInfoOfGuid(guid, &found));
        ti = found;
    }
    return ti;
}

ITypeInfo* vtableInfoOf(REFIID iid) {
    ITypeInfo* disp = typeInfoOf(iid);
    std::lock_guard<std::mutex> lock(g_infoMutex);
    ITypeInfo*& ti = g_vtableInfos[iid];
    if (!ti) {
        HREFTYPE ref = 0;
        ITypeInfo* found = nullptr;
        throwIfFailed(disp->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref));
        throwIfFailed(disp->GetRefTypeInfo(ref, &found));
        ti = found;
    }
    return ti;
}

BSTR toBstr(const String& s) {
    BSTR b = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(s.data()), static_cast<UINT>(s.size()));
    if (!b) throw std::bad_alloc();
    return b;
}

String fromBstr(BSTR b) {
    if (!b) return {};
    return String(reinterpret_cast<const char16_t*>(b), SysStringLen(b));
}

SAFEARRAY* toSafeArray(const std::vector<String>& items) {
    SAFEARRAY* sa = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(items.size()));
    if (!sa) throw std::bad_alloc();
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
        BSTR b = toBstr(items[static_cast<std::size_t>(i)]);
        const HRESULT hr = SafeArrayPutElement(sa, &i, b);
        SysFreeString(b);
        if (FAILED(hr)) {
            SafeArrayDestroy(sa);
            throw HResultError{hr};
        }
    }
    return sa;
}

ArrayView::ArrayView(SAFEARRAY* array, VARTYPE declared) : sa(array), vt(declared) {
    if (vt == VT_EMPTY) SafeArrayGetVartype(sa, &vt);
    SafeArrayGetLBound(sa, 1, &lo);
    SafeArrayGetUBound(sa, 1, &hi);
}

HRESULT ArrayView::element(LONG i, VARIANT* out) const {
    VariantInit(out);
    if (vt == VT_VARIANT) return SafeArrayGetElement(sa, &i, out);
    void* p = nullptr;
    const HRESULT hr = SafeArrayPtrOfIndex(sa, &i, &p);
    if (FAILED(hr)) return hr;
    VARIANT ref;
    VariantInit(&ref);
    V_VT(&ref) = static_cast<VARTYPE>(vt | VT_BYREF);
    V_BYREF(&ref) = p;
    return VariantCopyInd(out, &ref);
}

SAFEARRAY* ArrayView::createLike(VARTYPE type) const {
    SAFEARRAYBOUND bound{count(), lo};
    return SafeArrayCreate(type, 1, &bound);
}

std::vector<String> fromSafeArray(SAFEARRAY* sa) {
    std::vector<String> out;
    if (!sa) return out;
    if (SafeArrayGetDim(sa) != 1) raise(err::TypeMismatch);
    const ArrayView view(sa);
    for (LONG i = view.lo; i <= view.hi; ++i) {
        VARIANT v;
        throwIfFailed(view.element(i, &v));
        Variant cv = fromVariant(v);
        VariantClear(&v);
        out.push_back(cv.toString());
    }
    return out;
}

namespace {
Variant fromArray(SAFEARRAY* sa, VARTYPE vt) {
    Variant::Array items;
    if (!sa) return Variant(items);
    if (SafeArrayGetDim(sa) != 1) raise(err::TypeMismatch);
    const ArrayView view(sa, vt);
    for (LONG i = view.lo; i <= view.hi; ++i) {
        VARIANT el;
        throwIfFailed(view.element(i, &el));
        items.push_back(fromVariant(el));
        VariantClear(&el);
    }
    return Variant(std::move(items));
}
}  // namespace

Variant fromVariant(const VARIANT& src) {
    const VARIANT* v = &src;
    while (V_VT(v) == (VT_BYREF | VT_VARIANT)) v = V_VARIANTREF(v);
    if (V_VT(v) & VT_ARRAY) {
        SAFEARRAY* sa = (V_VT(v) & VT_BYREF) ? *V_ARRAYREF(v) : V_ARRAY(v);
        return fromArray(sa, static_cast<VARTYPE>(V_VT(v) & VT_TYPEMASK));
    }
    VARIANT local;
    VariantInit(&local);
    if (V_VT(v) & VT_BYREF) {
        throwIfFailed(VariantCopyInd(&local, const_cast<VARIANT*>(v)));
        v = &local;
    }
    struct Clear {
        VARIANT* v;
        ~Clear() { VariantClear(v); }
    } clear{&local};
    switch (V_VT(v)) {
        case VT_EMPTY: return Variant();
        case VT_NULL: return Variant::null();
        case VT_I2: return Variant(static_cast<std::int16_t>(V_I2(v)));
        case VT_I4: return Variant(static_cast<std::int32_t>(V_I4(v)));
        case VT_INT: return Variant(static_cast<std::int32_t>(V_INT(v)));
        case VT_UI1: return Variant(static_cast<std::uint8_t>(V_UI1(v)));
        case VT_R8: return Variant(V_R8(v));
        case VT_R4: return Variant(static_cast<double>(V_R4(v)));
        case VT_DATE: return Variant::date(V_DATE(v));
        case VT_BSTR: return Variant(fromBstr(V_BSTR(v)));
        case VT_BOOL: return Variant(V_BOOL(v) != VARIANT_FALSE);
        case VT_DISPATCH: return Variant(wrapDispatch(V_DISPATCH(v)));
        case VT_UNKNOWN: {
            IDispatch* d = nullptr;
            if (V_UNKNOWN(v) && SUCCEEDED(V_UNKNOWN(v)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d)))) {
                ObjectRef o = wrapDispatch(d);
                d->Release();
                return Variant(o);
            }
            return Variant::nothing();
        }
        case VT_ERROR:
            if (V_ERROR(v) == DISP_E_PARAMNOTFOUND) return Variant::missing();
            return Variant(static_cast<std::int32_t>(V_ERROR(v)));
        default: {
            VARIANT d;
            VariantInit(&d);
            if (SUCCEEDED(VariantChangeType(&d, const_cast<VARIANT*>(v), 0, VT_R8))) return Variant(V_R8(&d));
            raise(err::TypeMismatch);
        }
    }
}

void toVariant(const Variant& v, VARIANT* out) {
    VariantInit(out);
    switch (v.type()) {
        case Variant::Type::vbEmpty: return;
        case Variant::Type::vbNull: V_VT(out) = VT_NULL; return;
        case Variant::Type::vbInteger: V_VT(out) = VT_I2; V_I2(out) = v.toInt16(); return;
        case Variant::Type::vbLong: V_VT(out) = VT_I4; V_I4(out) = v.toInt32(); return;
        case Variant::Type::vbByte: V_VT(out) = VT_UI1; V_UI1(out) = v.toByte(); return;
        case Variant::Type::vbDouble: V_VT(out) = VT_R8; V_R8(out) = v.toDouble(); return;
        case Variant::Type::vbDate: V_VT(out) = VT_DATE; V_DATE(out) = v.toDate(); return;
        case Variant::Type::vbBoolean: V_VT(out) = VT_BOOL; V_BOOL(out) = v.toBool() ? VARIANT_TRUE : VARIANT_FALSE; return;
        case Variant::Type::vbString: V_VT(out) = VT_BSTR; V_BSTR(out) = toBstr(v.toString()); return;
        case Variant::Type::vbError: V_VT(out) = VT_ERROR; V_ERROR(out) = DISP_E_PARAMNOTFOUND; return;
        case Variant::Type::vbObject: {
            const ObjectRef o = v.toObject();
            IDispatch* d = unwrapDispatch(o);
            if (o && !d) raise(err::TypeMismatch);
            if (d) d->AddRef();
            V_VT(out) = VT_DISPATCH;
            V_DISPATCH(out) = d;
            return;
        }
        case Variant::Type::vbArray: {
            const Variant::Array& items = v.toArray();
            SAFEARRAY* sa = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(items.size()));
            if (!sa) throw std::bad_alloc();
            for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
                VARIANT el;
                toVariant(items[static_cast<std::size_t>(i)], &el);
                SafeArrayPutElement(sa, &i, &el);
                VariantClear(&el);
            }
            V_VT(out) = VT_ARRAY | VT_VARIANT;
            V_ARRAY(out) = sa;
            return;
        }
    }
}

HRESULT reportError(const wchar_t* source, REFGUID iid, std::int32_t number, const String& description) {
    ICreateErrorInfo* cei = nullptr;
    if (SUCCEEDED(CreateErrorInfo(&cei))) {
        cei->SetGUID(iid);
        cei->SetSource(const_cast<LPOLESTR>(source));
        const std::wstring desc(description.begin(), description.end());
        cei->SetDescription(const_cast<LPOLESTR>(desc.c_str()));
        IErrorInfo* ei = nullptr;
        if (SUCCEEDED(cei->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&ei)))) {
            SetErrorInfo(0, ei);
            ei->Release();
        }
        cei->Release();
    }
    // Numbers that already are HRESULTs pass unchanged; the runtime's numbers go in the low word.
    if (number < 0) return static_cast<HRESULT>(number);
    return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number & 0xFFFF);
}

String in(BSTR* p) {
    if (!p) throw HResultError{E_POINTER};
    return fromBstr(*p);
}

void out(BSTR* p, const String& s) {
    if (!p) throw HResultError{E_POINTER};
    BSTR b = toBstr(s);
    SysFreeString(*p);
    *p = b;
}

void ret(BSTR* p, const String& s) {
    if (!p) throw HResultError{E_POINTER};
    *p = toBstr(s);
}

void ret(VARIANT_BOOL* p, bool b) {
    if (!p) throw HResultError{E_POINTER};
    *p = b ? VARIANT_TRUE : VARIANT_FALSE;
}

ObjectRef inObject(IDispatch** p) {
    if (!p) throw HResultError{E_POINTER};
    return wrapDispatch(*p);
}

Variant inVariant(VARIANT* p) {
    if (!p) throw HResultError{E_POINTER};
    return fromVariant(*p);
}

void retVariant(VARIANT* p, const Variant& v) {
    if (!p) throw HResultError{E_POINTER};
    toVariant(v, p);
}

}  // namespace qx::com
