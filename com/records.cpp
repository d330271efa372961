#include "com/records.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "com/com_support.h"

namespace qx::com {

namespace {

// The offsets of the record's 32-bit integer fields, nested records included;
// false when it holds a field of any other type.
bool integerFields(ITypeInfo* ti, ULONG base, std::vector<ULONG>& offsets, int depth = 0) {
    if (depth > 8) return false;
    TYPEATTR* attr = nullptr;
    if (FAILED(ti->GetTypeAttr(&attr))) return false;
    const WORD count = attr->cVars;
    const bool isRecord = attr->typekind == TKIND_RECORD;
    ti->ReleaseTypeAttr(attr);
    if (!isRecord) return false;
    bool ok = true;
    for (WORD i = 0; ok && i < count; ++i) {
        VARDESC* vd = nullptr;
        if (FAILED(ti->GetVarDesc(i, &vd))) return false;
        const TYPEDESC& td = vd->elemdescVar.tdesc;
        const ULONG at = base + vd->oInst;
        if (td.vt == VT_I4 || td.vt == VT_INT) {
            offsets.push_back(at);
        } else if (td.vt == VT_USERDEFINED) {
            ITypeInfo* inner = nullptr;
            ok = SUCCEEDED(ti->GetRefTypeInfo(td.hreftype, &inner)) && integerFields(inner, at, offsets, depth + 1);
            if (inner) inner->Release();
        } else {
            ok = false;
        }
        ti->ReleaseVarDesc(vd);
    }
    return ok;
}

bool fieldsOf(IRecordInfo* info, std::vector<ULONG>& offsets) {
    ITypeInfo* ti = nullptr;
    if (!info || FAILED(info->GetTypeInfo(&ti)) || !ti) return false;
    const bool ok = integerFields(ti, 0, offsets);
    ti->Release();
    return ok;
}

HRESULT toLong(const VARIANT& v, LONG& out) {
    VARIANT d;
    VariantInit(&d);
    HRESULT hr = VariantChangeType(&d, const_cast<VARIANT*>(&v), 0, VT_R8);
    if (FAILED(hr)) return hr;
    const double x = V_R8(&d);
    if (x != std::floor(x) || x < -2147483648.0 || x > 4294967295.0) return DISP_E_OVERFLOW;
    out = static_cast<LONG>(static_cast<ULONG>(static_cast<long long>(x) & 0xFFFFFFFFLL));
    return S_OK;
}

}  // namespace

HRESULT recordFromArray(IRecordInfo* info, const VARIANT* array, void* data) {
    std::vector<ULONG> offsets;
    if (!fieldsOf(info, offsets)) return DISP_E_TYPEMISMATCH;
    if (!(V_VT(array) & VT_ARRAY)) return DISP_E_TYPEMISMATCH;
    SAFEARRAY* sa = (V_VT(array) & VT_BYREF) ? *V_ARRAYREF(array) : V_ARRAY(array);
    if (!sa || SafeArrayGetDim(sa) != 1) return DISP_E_TYPEMISMATCH;
    const ArrayView view(sa);
    if (view.count() != offsets.size()) return DISP_E_TYPEMISMATCH;
    for (std::size_t k = 0; k < offsets.size(); ++k) {
        VARIANT el;
        HRESULT hr = view.element(view.lo + static_cast<LONG>(k), &el);
        LONG value = 0;
        if (SUCCEEDED(hr)) hr = toLong(el, value);
        VariantClear(&el);
        if (FAILED(hr)) return hr;
        std::memcpy(static_cast<char*>(data) + offsets[k], &value, sizeof value);
    }
    return S_OK;
}

HRESULT recordToArray(IRecordInfo* info, const void* data, VARIANT* out) {
    VariantInit(out);
    std::vector<ULONG> offsets;
    if (!fieldsOf(info, offsets)) return DISP_E_TYPEMISMATCH;
    SAFEARRAY* sa = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(offsets.size()));
    if (!sa) return E_OUTOFMEMORY;
    for (std::size_t k = 0; k < offsets.size(); ++k) {
        LONG index = static_cast<LONG>(k);
        VARIANT el;
        VariantInit(&el);
        V_VT(&el) = VT_I4;
        std::memcpy(&V_I4(&el), static_cast<const char*>(data) + offsets[k], sizeof(LONG));
        SafeArrayPutElement(sa, &index, &el);
    }
    V_VT(out) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(out) = sa;
    return S_OK;
}

}  // namespace qx::com
