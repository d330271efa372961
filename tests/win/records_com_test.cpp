// The file records and byte arrays at the COM boundary: the type library's
// own FILETIME (signed 32-bit halves) inside FileDateTimeInfo, the records
// through the vtable as VB6 early binding uses them and as VT_RECORD from
// late binding, and ReadBytes / WriteBytes as VB6 Byte() arrays. (The arrays
// of numbers scripts pass for records are covered by the script suites.)
#include <gtest/gtest.h>
#include <windows.h>

#include <oaidl.h>

#include <cstring>
#include <vector>

#include "QXGenRtns_h.h"
#include "com/classes.h"
#include "com/com_support.h"
#include "temp_folder.h"

using qxtest::TempFolder;

namespace {

struct Apartment {
    Apartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~Apartment() { CoUninitialize(); }
};

template <typename Itf>
Itf* make(const CLSID& clsid, const IID& iid) {
    for (const qx::com::CoClass& c : qx::com::coClasses()) {
        void* p = nullptr;
        if (c.entry && IsEqualCLSID(c.clsid, clsid) && SUCCEEDED(c.entry->create(iid, &p))) return static_cast<Itf*>(p);
    }
    return nullptr;
}

HRESULT invoke(IDispatch* d, const wchar_t* name, std::vector<VARIANT> args, VARIANT* result) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS dp{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    EXCEPINFO ei{};
    UINT argErr = 0;
    if (result) VariantInit(result);
    hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, result, &ei, &argErr);
    SysFreeString(ei.bstrSource);
    SysFreeString(ei.bstrDescription);
    return hr;
}

VARIANT bstr(const std::wstring& s) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(s.c_str());
    return v;
}

ITypeInfo* findType(const wchar_t* name) {
    ITypeLib* lib = qx::com::typeLib();
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        BSTR n = nullptr;
        lib->GetDocumentation(static_cast<INT>(i), &n, nullptr, nullptr, nullptr);
        const bool same = n && std::wcscmp(n, name) == 0;
        SysFreeString(n);
        ITypeInfo* ti = nullptr;
        if (same && SUCCEEDED(lib->GetTypeInfo(i, &ti))) return ti;
    }
    return nullptr;
}

std::wstring wide(const qx::String& s) { return std::wstring(s.begin(), s.end()); }

}  // namespace

TEST(FileRecordsCom, TypeLibraryHasItsOwnSignedFileTime) {
    Apartment com;
    ITypeInfo* ft = findType(L"FILETIME");
    ASSERT_NE(ft, nullptr);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(ft->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_RECORD);
    EXPECT_EQ(attr->cVars, 2);
    EXPECT_EQ(attr->cbSizeInstance, 8u);
    const GUID own = attr->guid;
    ft->ReleaseTypeAttr(attr);
    const wchar_t* names[] = {L"dwLowDateTime", L"dwHighDateTime"};
    for (UINT i = 0; i < 2; ++i) {
        VARDESC* vd = nullptr;
        ASSERT_EQ(ft->GetVarDesc(i, &vd), S_OK);
        EXPECT_EQ(vd->elemdescVar.tdesc.vt, VT_I4) << "signed 32-bit, not the system's unsigned halves";
        EXPECT_EQ(vd->oInst, 4 * i);
        BSTR n = nullptr;
        UINT got = 0;
        ft->GetNames(vd->memid, &n, 1, &got);
        EXPECT_STREQ(n, names[i]);
        SysFreeString(n);
        ft->ReleaseVarDesc(vd);
    }
    ft->Release();

    // FileDateTimeInfo's three fields are that record.
    ITypeInfo* info = findType(L"FileDateTimeInfo");
    ASSERT_NE(info, nullptr);
    for (UINT i = 0; i < 3; ++i) {
        VARDESC* vd = nullptr;
        ASSERT_EQ(info->GetVarDesc(i, &vd), S_OK);
        ASSERT_EQ(vd->elemdescVar.tdesc.vt, VT_USERDEFINED);
        ITypeInfo* field = nullptr;
        ASSERT_EQ(info->GetRefTypeInfo(vd->elemdescVar.tdesc.hreftype, &field), S_OK);
        TYPEATTR* fa = nullptr;
        field->GetTypeAttr(&fa);
        EXPECT_TRUE(IsEqualGUID(fa->guid, own));
        field->ReleaseTypeAttr(fa);
        field->Release();
        info->ReleaseVarDesc(vd);
    }
    info->Release();
    static_assert(sizeof(QX_FILETIME) == 8 && sizeof(::FileDateTimeInfo) == 24, "record layout");
}

TEST(FileRecordsCom, EarlyAndLateBoundRecordsReachTheFile) {
    Apartment com;
    TempFolder t("records");
    t.write(u"a.txt", "a");
    t.write(u"b.txt", "b");
    _clsQXGenRtns* lib = make<_clsQXGenRtns>(CLSID_clsQXGenRtns, IID__clsQXGenRtns);
    ASSERT_NE(lib, nullptr);

    // Early binding: the vtable with the record itself.
    ::FileDateTimeInfo set{};
    set.wtime = {static_cast<LONG>(0x7DB50500), static_cast<LONG>(0x01C08D96)};
    BSTR a = SysAllocString(wide(t / u"a.txt").c_str());
    ASSERT_EQ(lib->SetFileDateTime(a, &set), S_OK);
    ::FileDateTimeInfo got{};
    ASSERT_EQ(lib->GetFileDateTime(a, &got), S_OK);
    EXPECT_EQ(got.wtime.dwLowDateTime, 0x7DB50500);
    EXPECT_EQ(got.wtime.dwHighDateTime, 0x01C08D96);

    // Late binding: the result is a VT_RECORD, and one passed in sets the times.
    VARIANT result;
    ASSERT_EQ(invoke(lib, L"GetFileDateTime", {bstr(wide(t / u"a.txt"))}, &result), S_OK);
    ASSERT_EQ(V_VT(&result), VT_RECORD);
    const auto* rec = static_cast<const ::FileDateTimeInfo*>(V_RECORD(&result));
    EXPECT_EQ(rec->wtime.dwLowDateTime, 0x7DB50500);
    VARIANT name = bstr(wide(t / u"b.txt"));
    VARIANT byRef;
    VariantInit(&byRef);
    V_VT(&byRef) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&byRef) = &result;
    ASSERT_EQ(invoke(lib, L"SetFileDateTime", {name, byRef}, nullptr), S_OK);
    BSTR b = SysAllocString(wide(t / u"b.txt").c_str());
    ::FileDateTimeInfo copied{};
    ASSERT_EQ(lib->GetFileDateTime(b, &copied), S_OK);
    EXPECT_EQ(copied.wtime.dwLowDateTime, 0x7DB50500);
    EXPECT_EQ(copied.wtime.dwHighDateTime, 0x01C08D96);
    VariantClear(&result);
    VariantClear(&name);
    SysFreeString(a);
    SysFreeString(b);
    lib->Release();
}

TEST(FileRecordsCom, ByteArraysThroughDispatch) {
    Apartment com;
    TempFolder t("records");
    _clsFileAccess* fa = make<_clsFileAccess>(CLSID_clsFileAccess, IID__clsFileAccess);
    ASSERT_NE(fa, nullptr);
    VARIANT h;
    ASSERT_EQ(invoke(fa, L"OpenFile", {bstr(wide(t / u"bytes.bin"))}, &h), S_OK);
    EXPECT_EQ(V_VT(&h), VT_I2);

    // A VB6 Byte() by reference.
    SAFEARRAY* data = SafeArrayCreateVector(VT_UI1, 0, 4);
    void* p = nullptr;
    SafeArrayAccessData(data, &p);
    std::memcpy(p, "\x01\x02\xFE\xFF", 4);
    SafeArrayUnaccessData(data);
    VARIANT typed;
    VariantInit(&typed);
    V_VT(&typed) = VT_BYREF | VT_ARRAY | VT_UI1;
    V_ARRAYREF(&typed) = &data;
    ASSERT_EQ(invoke(fa, L"WriteBytes", {typed}, nullptr), S_OK);
    VARIANT zero;
    VariantInit(&zero);
    V_VT(&zero) = VT_I4;
    V_I4(&zero) = 0;
    VARIANT one = zero;
    V_I4(&one) = 1;
    ASSERT_EQ(invoke(fa, L"SeekAbsolute", {zero, one}, nullptr), S_OK);
    VARIANT count = zero;
    V_I4(&count) = 5;
    VARIANT read;
    ASSERT_EQ(invoke(fa, L"ReadBytes", {count}, &read), S_OK);
    ASSERT_EQ(V_VT(&read), VT_ARRAY | VT_UI1);
    LONG ub = 0;
    SafeArrayGetUBound(V_ARRAY(&read), 1, &ub);
    EXPECT_EQ(ub, 4);
    SafeArrayAccessData(V_ARRAY(&read), &p);
    EXPECT_EQ(std::memcmp(p, "\x02\xFE\xFF\x00\x00", 5), 0);
    SafeArrayUnaccessData(V_ARRAY(&read));
    VariantClear(&read);
    SafeArrayDestroy(data);

    fa->Release();
}
