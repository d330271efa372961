// One IDispatch::Invoke for every member of every class. It reads the
// member's description from the type library, coerces each argument to the
// declared type as the host runtime would (script hosts send variables as
// VT_BYREF|VT_VARIANT and literals by value; VB6 late binding sends typed
// references), fills left-out optional arguments, calls the vtable member,
// writes by-reference arguments back into the caller's variables, and hands
// arrays back to late-bound callers as arrays of Variants.
#include <memory>
#include <vector>

#include "com/com_object.h"
#include "com/records.h"

namespace qx::com {

namespace {

enum class Kind { Scalar, Variant, Object, Interface, StringArray, ByteArray, Record };

struct ParamType {
    Kind kind = Kind::Scalar;
    VARTYPE vt = VT_EMPTY;  // the automation type of a scalar
    bool byRef = false;
    IID iid = IID_NULL;  // an interface's identity
    IRecordInfo* record = nullptr;
    ~ParamType() {
        if (record) record->Release();
    }
    ParamType() = default;
    ParamType(const ParamType&) = delete;
    ParamType& operator=(const ParamType&) = delete;
};

// The type behind a user-defined reference: an enumeration is a 32-bit
// integer, an alias is what it names, a record or an interface is itself.
void resolveUserDefined(ITypeInfo* ti, HREFTYPE href, ParamType& out);

void classify(ITypeInfo* ti, const TYPEDESC& td, ParamType& out, int depth = 0) {
    switch (td.vt) {
        case VT_PTR:
            if (depth == 0 && td.lptdesc->vt != VT_USERDEFINED) {
                out.byRef = true;
                classify(ti, *td.lptdesc, out, depth + 1);
            } else if (td.lptdesc->vt == VT_USERDEFINED) {
                // A pointer to an interface is the object itself; a pointer
                // to a record is the record by reference.
                resolveUserDefined(ti, td.lptdesc->hreftype, out);
                if (out.kind == Kind::Record || out.kind == Kind::Scalar) out.byRef = true;
            } else {
                out.byRef = true;
                classify(ti, *td.lptdesc, out, depth + 1);
            }
            return;
        case VT_SAFEARRAY:
            out.kind = td.lptdesc->vt == VT_UI1 ? Kind::ByteArray : Kind::StringArray;
            return;
        case VT_VARIANT: out.kind = Kind::Variant; return;
        case VT_DISPATCH: out.kind = Kind::Object; return;
        case VT_USERDEFINED: resolveUserDefined(ti, td.hreftype, out); return;
        default:
            out.kind = Kind::Scalar;
            out.vt = td.vt == VT_INT ? static_cast<VARTYPE>(VT_I4) : td.vt;
            return;
    }
}

void resolveUserDefined(ITypeInfo* ti, HREFTYPE href, ParamType& out) {
    ITypeInfo* ref = nullptr;
    throwIfFailed(ti->GetRefTypeInfo(href, &ref));
    TYPEATTR* attr = nullptr;
    if (FAILED(ref->GetTypeAttr(&attr))) {
        ref->Release();
        throw HResultError{E_FAIL};
    }
    switch (attr->typekind) {
        case TKIND_ENUM:
            out.kind = Kind::Scalar;
            out.vt = VT_I4;
            break;
        case TKIND_ALIAS: classify(ref, attr->tdescAlias, out, 1); break;
        case TKIND_RECORD:
            out.kind = Kind::Record;
            if (FAILED(GetRecordInfoFromTypeInfo(ref, &out.record))) out.record = nullptr;
            break;
        default:
            out.kind = Kind::Interface;
            out.iid = attr->guid;
            break;
    }
    ref->ReleaseTypeAttr(attr);
    ref->Release();
}

// Owns the function description for the length of one call.
struct FuncDescHolder {
    ITypeInfo* ti;
    FUNCDESC* fd = nullptr;
    ~FuncDescHolder() {
        if (fd) ti->ReleaseFuncDesc(fd);
    }
};

bool matches(INVOKEKIND kind, WORD flags) {
    switch (kind) {
        case INVOKE_FUNC: return flags & DISPATCH_METHOD;
        case INVOKE_PROPERTYGET: return flags & DISPATCH_PROPERTYGET;
        case INVOKE_PROPERTYPUT: return flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
        case INVOKE_PROPERTYPUTREF: return flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    }
    return false;
}

HRESULT findFunc(ITypeInfo* ti, DISPID id, WORD flags, FuncDescHolder& out) {
    TYPEATTR* attr = nullptr;
    throwIfFailed(ti->GetTypeAttr(&attr));
    const WORD count = attr->cFuncs;
    ti->ReleaseTypeAttr(attr);
    for (UINT i = 0; i < count; ++i) {
        FUNCDESC* fd = nullptr;
        if (FAILED(ti->GetFuncDesc(i, &fd))) continue;
        if (fd->memid == id && matches(fd->invkind, flags)) {
            out.fd = fd;
            return S_OK;
        }
        ti->ReleaseFuncDesc(fd);
    }
    return DISP_E_MEMBERNOTFOUND;
}

// The caller's argument with every VT_BYREF|VT_VARIANT wrapper taken off.
VARIANT* unwrap(VARIANT* v) {
    while (v && V_VT(v) == (VT_BYREF | VT_VARIANT)) v = V_VARIANTREF(v);
    return v;
}

bool isMissing(const VARIANT* v) {
    return !v || (V_VT(v) == VT_ERROR && V_ERROR(v) == DISP_E_PARAMNOTFOUND);
}

// An array of Variants, as late-bound callers can index it.
HRESULT toVariantArray(SAFEARRAY* sa, VARIANT* out) {
    VariantInit(out);
    SAFEARRAY* res = sa ? ArrayView(sa).createLike(VT_VARIANT) : SafeArrayCreateVector(VT_VARIANT, 0, 0);
    if (!res) return E_OUTOFMEMORY;
    if (sa) {
        const ArrayView view(sa);
        for (LONG i = view.lo; i <= view.hi; ++i) {
            VARIANT el;
            if (SUCCEEDED(view.element(i, &el))) SafeArrayPutElement(res, &i, &el);
            VariantClear(&el);
        }
    }
    V_VT(out) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(out) = res;
    return S_OK;
}

// An array of the element type `vt` from whatever array the caller holds.
HRESULT toTypedArray(VARIANT* src, VARTYPE vt, SAFEARRAY** out) {
    *out = nullptr;
    if (V_VT(src) == VT_EMPTY) return S_OK;
    if (!(V_VT(src) & VT_ARRAY)) return DISP_E_TYPEMISMATCH;
    SAFEARRAY* sa = (V_VT(src) & VT_BYREF) ? *V_ARRAYREF(src) : V_ARRAY(src);
    if (!sa) return S_OK;
    const auto elem = static_cast<VARTYPE>(V_VT(src) & VT_TYPEMASK);
    if (elem == vt) return SafeArrayCopy(sa, out);
    if (elem != VT_VARIANT || SafeArrayGetDim(sa) != 1) return DISP_E_TYPEMISMATCH;
    const ArrayView view(sa, elem);
    SAFEARRAY* res = view.createLike(vt);
    if (!res) return E_OUTOFMEMORY;
    for (LONG i = view.lo; i <= view.hi; ++i) {
        VARIANT el;
        VARIANT conv;
        VariantInit(&conv);
        HRESULT hr = view.element(i, &el);
        if (SUCCEEDED(hr)) hr = VariantChangeTypeEx(&conv, &el, LOCALE_USER_DEFAULT, VARIANT_ALPHABOOL, vt);
        if (SUCCEEDED(hr)) hr = SafeArrayPutElement(res, &i, vt == VT_BSTR ? static_cast<void*>(V_BSTR(&conv)) : &V_UI1(&conv));
        VariantClear(&el);
        VariantClear(&conv);
        if (FAILED(hr)) {
            SafeArrayDestroy(res);
            return hr;
        }
    }
    *out = res;
    return S_OK;
}

// One argument on its way to the vtable member.
struct Arg {
    ParamType type;
    VARIANT slot;         // the value in the declared type
    VARIANT before;       // a copy of a scalar value as it went in, to see whether the member changed it
    void* identityBefore = nullptr;  // the object or array that went in, for the same purpose
    VARIANT* caller = nullptr;  // the caller's argument, when it may receive a write-back
    VARIANT* passedVariant = nullptr;  // the caller's own VARIANT, passed through for a VARIANT parameter
    void* recordData = nullptr;
    bool recordFromArray = false;  // a record made from the caller's array of numbers
    VARIANTARG callArg;
    bool retval = false;
    Arg() {
        VariantInit(&slot);
        VariantInit(&before);
        VariantInit(&callArg);
    }
    ~Arg() {
        if (type.kind == Kind::Record && (retval || recordFromArray) && recordData && type.record)
            type.record->RecordDestroy(recordData);
        if (type.kind != Kind::Record) VariantClear(&slot);
        VariantClear(&before);
    }
    Arg(const Arg&) = delete;
    Arg& operator=(const Arg&) = delete;
};

// The zero value of a declared type, for a left-out optional argument without a default.
HRESULT emptyValue(Arg& a) {
    switch (a.type.kind) {
        case Kind::Scalar: {
            VARIANT e;
            VariantInit(&e);
            return VariantChangeType(&a.slot, &e, 0, a.type.vt);
        }
        case Kind::Variant:
            V_VT(&a.slot) = VT_ERROR;
            V_ERROR(&a.slot) = DISP_E_PARAMNOTFOUND;
            return S_OK;
        case Kind::Object:
        case Kind::Interface: V_VT(&a.slot) = VT_DISPATCH; V_DISPATCH(&a.slot) = nullptr; return S_OK;
        case Kind::StringArray:
        case Kind::ByteArray: V_VT(&a.slot) = VT_ARRAY; V_ARRAY(&a.slot) = nullptr; return S_OK;
        case Kind::Record: return DISP_E_PARAMNOTOPTIONAL;
    }
    return E_UNEXPECTED;
}

HRESULT coerceIn(Arg& a, VARIANT* given) {
    VARIANT* src = unwrap(given);
    switch (a.type.kind) {
        case Kind::Scalar: {
            if (V_VT(src) == VT_NULL) return DISP_E_TYPEMISMATCH;
            // An object has no value of its own to give: Nothing never converts,
            // and an object without a default value is a type mismatch too.
            const bool object = (V_VT(src) & ~VT_BYREF) == VT_DISPATCH || (V_VT(src) & ~VT_BYREF) == VT_UNKNOWN;
            if (object && !((V_VT(src) & VT_BYREF) ? *V_UNKNOWNREF(src) : V_UNKNOWN(src))) return DISP_E_TYPEMISMATCH;
            VARIANT plain;
            VariantInit(&plain);
            HRESULT hr = VariantCopyInd(&plain, src);
            if (SUCCEEDED(hr)) hr = VariantChangeTypeEx(&a.slot, &plain, LOCALE_USER_DEFAULT, VARIANT_ALPHABOOL, a.type.vt);
            VariantClear(&plain);
            if (object && FAILED(hr) && hr != DISP_E_OVERFLOW) return DISP_E_TYPEMISMATCH;
            return hr;
        }
        case Kind::Variant:
            if (a.type.byRef && V_VT(given) == (VT_BYREF | VT_VARIANT)) {
                a.passedVariant = src;
                return S_OK;
            }
            return VariantCopyInd(&a.slot, src);
        case Kind::Object:
        case Kind::Interface: {
            const VARTYPE vt = static_cast<VARTYPE>(V_VT(src) & ~VT_BYREF);
            if (vt != VT_DISPATCH && vt != VT_UNKNOWN) return DISP_E_TYPEMISMATCH;
            IUnknown* unk = (V_VT(src) & VT_BYREF) ? *V_UNKNOWNREF(src) : V_UNKNOWN(src);
            V_VT(&a.slot) = VT_DISPATCH;
            V_DISPATCH(&a.slot) = nullptr;
            if (!unk) return S_OK;
            const IID& iid = a.type.kind == Kind::Object ? IID_IDispatch : a.type.iid;
            void* p = nullptr;
            if (FAILED(unk->QueryInterface(iid, &p))) return DISP_E_TYPEMISMATCH;
            V_DISPATCH(&a.slot) = static_cast<IDispatch*>(p);
            return S_OK;
        }
        case Kind::StringArray:
        case Kind::ByteArray: {
            SAFEARRAY* sa = nullptr;
            const HRESULT hr = toTypedArray(src, a.type.kind == Kind::StringArray ? VT_BSTR : VT_UI1, &sa);
            if (FAILED(hr)) return hr;
            V_VT(&a.slot) = static_cast<VARTYPE>(VT_ARRAY | (a.type.kind == Kind::StringArray ? VT_BSTR : VT_UI1));
            V_ARRAY(&a.slot) = sa;
            return S_OK;
        }
        case Kind::Record:
            if ((V_VT(src) & VT_ARRAY) && a.type.record) {
                a.recordData = a.type.record->RecordCreate();
                if (!a.recordData) return E_OUTOFMEMORY;
                a.recordFromArray = true;
                return recordFromArray(a.type.record, src, a.recordData);
            }
            if ((V_VT(src) & VT_TYPEMASK) != VT_RECORD) return DISP_E_TYPEMISMATCH;
            a.recordData = V_RECORD(src);
            return S_OK;
    }
    return E_UNEXPECTED;
}

// Points the call argument at the slot (or passes the slot's value).
void prepareCall(Arg& a) {
    VARIANTARG& c = a.callArg;
    if (a.type.kind == Kind::Record) {
        V_VT(&c) = VT_BYREF | VT_RECORD;
        V_BYREF(&c) = a.recordData;
        return;
    }
    if (a.type.kind == Kind::Variant && a.type.byRef) {
        V_VT(&c) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&c) = a.passedVariant ? a.passedVariant : &a.slot;
        return;
    }
    if (a.type.byRef || a.retval) {
        V_VT(&c) = static_cast<VARTYPE>(VT_BYREF | (a.type.kind == Kind::Variant ? static_cast<VARTYPE>(VT_VARIANT) : V_VT(&a.slot)));
        V_BYREF(&c) = a.type.kind == Kind::Variant ? static_cast<void*>(&a.slot) : static_cast<void*>(&V_I8(&a.slot));
        return;
    }
    c = a.slot;  // by value: the callee borrows the slot's contents
}

// True when the caller's typed array reference holds an array that cannot be
// replaced: declared with fixed bounds, or locked while it is in use (an
// element of it passed by reference, a For Each over it).
bool fixedOrLocked(const VARIANT* caller) {
    if (!caller || (V_VT(caller) & (VT_BYREF | VT_ARRAY)) != (VT_BYREF | VT_ARRAY) || !V_ARRAYREF(caller)) return false;
    const SAFEARRAY* sa = *V_ARRAYREF(caller);
    return sa && ((sa->fFeatures & FADF_FIXEDSIZE) || sa->cLocks > 0);
}

// Stores `value` into the place a typed by-reference argument points at; an
// array must already be of the element type the reference declares.
HRESULT storeTyped(VARIANT* target, VARIANT& value) {
    const auto vt = static_cast<VARTYPE>(V_VT(target) & ~VT_BYREF);
    if (vt & VT_ARRAY) {
        if (V_VT(&value) != vt) return DISP_E_TYPEMISMATCH;
        if (fixedOrLocked(target)) return DISP_E_ARRAYISLOCKED;
        SAFEARRAY* old = *V_ARRAYREF(target);
        *V_ARRAYREF(target) = V_ARRAY(&value);
        V_VT(&value) = VT_EMPTY;
        if (old) SafeArrayDestroy(old);
        return S_OK;
    }
    VARIANT conv;
    VariantInit(&conv);
    HRESULT hr = VariantChangeTypeEx(&conv, &value, LOCALE_USER_DEFAULT, VARIANT_ALPHABOOL, vt);
    if (FAILED(hr)) return hr;
    switch (vt) {
        case VT_BSTR: SysFreeString(*V_BSTRREF(target)); *V_BSTRREF(target) = V_BSTR(&conv); return S_OK;
        case VT_DISPATCH:
            if (*V_DISPATCHREF(target)) (*V_DISPATCHREF(target))->Release();
            *V_DISPATCHREF(target) = V_DISPATCH(&conv);
            return S_OK;
        case VT_I2: *V_I2REF(target) = V_I2(&conv); return S_OK;
        case VT_I4: *V_I4REF(target) = V_I4(&conv); return S_OK;
        case VT_UI1: *V_UI1REF(target) = V_UI1(&conv); return S_OK;
        case VT_BOOL: *V_BOOLREF(target) = V_BOOL(&conv); return S_OK;
        case VT_R4: *V_R4REF(target) = V_R4(&conv); return S_OK;
        case VT_R8: *V_R8REF(target) = V_R8(&conv); return S_OK;
        case VT_DATE: *V_DATEREF(target) = V_DATE(&conv); return S_OK;
        case VT_CY: *V_CYREF(target) = V_CY(&conv); return S_OK;
        default: VariantClear(&conv); return DISP_E_TYPEMISMATCH;
    }
}

// The value of a slot as a late-bound caller receives it.
HRESULT forCaller(Arg& a, VARIANT* out) {
    switch (a.type.kind) {
        case Kind::StringArray: return toVariantArray(V_ARRAY(&a.slot), out);
        case Kind::Interface:
        case Kind::Object:
            VariantInit(out);
            V_VT(out) = VT_DISPATCH;
            V_DISPATCH(out) = V_DISPATCH(&a.slot);
            V_DISPATCH(&a.slot) = nullptr;
            return S_OK;
        case Kind::Record: {
            VariantInit(out);
            if (!a.type.record) return E_FAIL;
            V_VT(out) = VT_RECORD;
            V_RECORD(out) = a.recordData;
            V_RECORDINFO(out) = a.type.record;
            a.type.record->AddRef();
            a.recordData = nullptr;  // now owned by the caller's VARIANT
            return S_OK;
        }
        default:
            VariantInit(out);
            *out = a.slot;
            VariantInit(&a.slot);
            return S_OK;
    }
}

bool changed(Arg& a) {
    switch (a.type.kind) {
        case Kind::Scalar:
            return V_VT(&a.before) != V_VT(&a.slot) ||
                   VarCmp(&a.before, &a.slot, LOCALE_USER_DEFAULT, 0) != static_cast<HRESULT>(VARCMP_EQ);
        case Kind::Object:
        case Kind::Interface:
        case Kind::StringArray:
        case Kind::ByteArray: return a.identityBefore != V_BYREF(&a.slot);
        default: return false;
    }
}

// The value a typed array reference receives: an array of its own element
// type, the member's own array when the types agree (Dim a() As String), an
// array of Variants for Dim a() As Variant.
HRESULT forTypedArray(Arg& a, VARIANT* out) {
    VariantInit(out);
    const auto wanted = static_cast<VARTYPE>(V_VT(a.caller) & VT_TYPEMASK);
    if (!(V_VT(&a.slot) & VT_ARRAY)) return DISP_E_TYPEMISMATCH;
    if (wanted == (V_VT(&a.slot) & VT_TYPEMASK)) {
        V_VT(out) = V_VT(&a.slot);
        V_ARRAY(out) = V_ARRAY(&a.slot);
        V_ARRAY(&a.slot) = nullptr;
        return S_OK;
    }
    if (wanted == VT_VARIANT) return toVariantArray(V_ARRAY(&a.slot), out);
    return DISP_E_TYPEMISMATCH;
}

bool receivesWrite(Arg& a) { return a.caller && (V_VT(a.caller) & VT_BYREF) && changed(a); }

HRESULT writeBack(Arg& a) {
    if (a.recordFromArray) {
        // A record that came as an array goes back as one.
        if (!a.caller || V_VT(a.caller) != (VT_BYREF | VT_VARIANT)) return S_OK;
        VARIANT value;
        const HRESULT hr = recordToArray(a.type.record, a.recordData, &value);
        if (FAILED(hr)) return hr;
        VARIANT* target = unwrap(a.caller);
        VariantClear(target);
        *target = value;
        return S_OK;
    }
    if (!receivesWrite(a)) return S_OK;
    VARIANT value;
    const bool typedArray = V_VT(a.caller) != (VT_BYREF | VT_VARIANT) && (V_VT(a.caller) & VT_ARRAY);
    HRESULT hr = typedArray ? forTypedArray(a, &value) : forCaller(a, &value);
    if (FAILED(hr)) return hr;
    if (V_VT(a.caller) == (VT_BYREF | VT_VARIANT)) {
        VARIANT* target = unwrap(a.caller);
        VariantClear(target);
        *target = value;
        return S_OK;
    }
    hr = storeTyped(a.caller, value);
    VariantClear(&value);
    return hr;
}

// The error the member reported, as the caller's EXCEPINFO.
HRESULT reportException(HRESULT hr, EXCEPINFO* ei) {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info) return hr;
    if (!ei) {
        SetErrorInfo(0, info);  // leave it for a caller that asks
        info->Release();
        return hr;
    }
    *ei = EXCEPINFO{};
    info->GetSource(&ei->bstrSource);
    info->GetDescription(&ei->bstrDescription);
    info->Release();
    ei->scode = hr;
    return DISP_E_EXCEPTION;
}

HRESULT invokeChecked(ITypeInfo* ti, void* self, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* excepInfo, UINT* argErr, const wchar_t* source, REFIID iid) {
    static DISPPARAMS noParams{nullptr, nullptr, 0, 0};
    if (!params) params = &noParams;
    FuncDescHolder fh{ti};
    HRESULT hr = findFunc(ti, id, flags, fh);
    if (FAILED(hr)) return hr;
    const FUNCDESC* fd = fh.fd;
    const bool isPut = fd->invkind == INVOKE_PROPERTYPUT || fd->invkind == INVOKE_PROPERTYPUTREF;
    if (params->cNamedArgs > (isPut ? 1u : 0u)) return DISP_E_NONAMEDARGS;
    if (isPut && (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
        return DISP_E_PARAMNOTOPTIONAL;

    const UINT nParams = static_cast<UINT>(fd->cParams);
    std::vector<std::unique_ptr<Arg>> args;
    args.reserve(nParams);
    UINT nInputs = 0;
    for (UINT i = 0; i < nParams; ++i) {
        auto a = std::make_unique<Arg>();
        const ELEMDESC& ed = fd->lprgelemdescParam[i];
        classify(ti, ed.tdesc, a->type);
        a->retval = (ed.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) != 0;
        if (!a->retval) ++nInputs;
        args.push_back(std::move(a));
    }
    if (params->cArgs > nInputs) return DISP_E_BADPARAMCOUNT;

    UINT input = 0;
    for (UINT i = 0; i < nParams; ++i) {
        Arg& a = *args[i];
        if (a.retval) {
            if (a.type.kind == Kind::Record) {
                if (!a.type.record) return E_FAIL;
                a.recordData = a.type.record->RecordCreate();
                if (!a.recordData) return E_OUTOFMEMORY;
            } else if (a.type.kind == Kind::Scalar) {
                V_VT(&a.slot) = a.type.vt;
            } else if (a.type.kind == Kind::StringArray || a.type.kind == Kind::ByteArray) {
                V_VT(&a.slot) = static_cast<VARTYPE>(VT_ARRAY | (a.type.kind == Kind::StringArray ? VT_BSTR : VT_UI1));
            } else if (a.type.kind != Kind::Variant) {
                V_VT(&a.slot) = VT_DISPATCH;
            }
            prepareCall(a);
            continue;
        }
        // The value of a property assignment is the named argument, rgvarg[0].
        VARIANT* given = nullptr;
        if (isPut && input == nInputs - 1) given = &params->rgvarg[0];
        else if (input < params->cArgs - params->cNamedArgs) given = &params->rgvarg[params->cArgs - 1 - input];
        if (isMissing(unwrap(given))) {
            const PARAMDESC& pd = fd->lprgelemdescParam[i].paramdesc;
            if (!(pd.wParamFlags & PARAMFLAG_FOPT)) {
                if (argErr && given) *argErr = static_cast<UINT>(given - params->rgvarg);
                return DISP_E_PARAMNOTOPTIONAL;
            }
            if ((pd.wParamFlags & PARAMFLAG_FHASDEFAULT) && pd.pparamdescex) {
                VARIANT def = pd.pparamdescex->varDefaultValue;
                hr = a.type.kind == Kind::Scalar ? VariantChangeType(&a.slot, &def, 0, a.type.vt)
                                                 : VariantCopy(&a.slot, &def);
            } else {
                hr = emptyValue(a);
            }
        } else {
            hr = coerceIn(a, given);
            a.caller = given;
        }
        if (FAILED(hr)) {
            // The position of the faulty argument in rgvarg (which holds them last to first).
            if (argErr && given) *argErr = static_cast<UINT>(given - params->rgvarg);
            return hr;
        }
        if (a.type.kind == Kind::Scalar) VariantCopy(&a.before, &a.slot);
        else a.identityBefore = V_BYREF(&a.slot);
        prepareCall(a);
        ++input;
    }

    std::vector<VARTYPE> types(nParams);
    std::vector<VARIANTARG*> ptrs(nParams);
    for (UINT i = 0; i < nParams; ++i) {
        types[i] = V_VT(&args[i]->callArg);
        ptrs[i] = &args[i]->callArg;
    }
    VARIANT callResult;
    VariantInit(&callResult);
    SetErrorInfo(0, nullptr);
    hr = DispCallFunc(self, fd->oVft, fd->callconv, VT_ERROR, nParams, types.data(), ptrs.data(), &callResult);
    if (FAILED(hr)) return hr;
    const HRESULT memberHr = V_ERROR(&callResult);
    if (FAILED(memberHr)) return reportException(memberHr, excepInfo);

    // An array variable that cannot take a new array fails the call before
    // any argument is written back, as assigning to it would in the host.
    for (UINT i = 0; i < nParams; ++i) {
        Arg& a = *args[i];
        if (!a.retval && receivesWrite(a) && fixedOrLocked(a.caller)) {
            if (argErr) *argErr = static_cast<UINT>(a.caller - params->rgvarg);
            return reportException(reportError(source, iid, err::ArrayFixedOrLocked,
                                               standardErrorText(err::ArrayFixedOrLocked)),
                                   excepInfo);
        }
    }
    for (UINT i = 0; i < nParams; ++i) {
        Arg& a = *args[i];
        if (a.retval) {
            if (result) {
                hr = forCaller(a, result);
                if (FAILED(hr)) return hr;
            }
        } else {
            hr = writeBack(a);
            if (FAILED(hr)) return hr;
        }
    }
    return S_OK;
}

}  // namespace

HRESULT invokeMember(ITypeInfo* ti, void* self, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                     EXCEPINFO* excepInfo, UINT* argErr, const wchar_t* source, REFIID iid) noexcept {
    SetErrorInfo(0, nullptr);
    HRESULT hr = S_OK;
    // Nothing thrown while the call is prepared (out of memory, a type
    // library that cannot be read) reaches the caller as an exception.
    const HRESULT thrown = guard(source, iid, [&] {
        hr = invokeChecked(ti, self, id, flags, params, result, excepInfo, argErr, source, iid);
    });
    return FAILED(thrown) ? reportException(thrown, excepInfo) : hr;
}

}  // namespace qx::com
