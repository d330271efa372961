// The COM boundary as hosts other than script see it: VB6 late binding passes
// typed references (VT_BYREF|VT_I4, VT_BYREF|VT_BSTR, VT_BYREF|VT_ARRAY),
// early binding calls the vtable, reads IErrorInfo and the type library's
// defaults; and host objects with type information become core Objects. The
// classes are created through the class table, without registration.
#include <gtest/gtest.h>
#include <windows.h>

#include <oaidl.h>

#include <climits>
#include <cstring>
#include <utility>
#include <vector>

#include "QXGenRtns_h.h"
#include "com/classes.h"
#include "com/com_support.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;

namespace {

struct ComApartment {
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
};

template <typename Itf>
Itf* create(const CLSID& clsid, const IID& iid) {
    for (const qx::com::CoClass& c : qx::com::coClasses()) {
        void* p = nullptr;
        if (c.entry && IsEqualCLSID(c.clsid, clsid) && SUCCEEDED(c.entry->create(iid, &p))) return static_cast<Itf*>(p);
    }
    return nullptr;
}

// Calls a member with the arguments in the caller's order; argErr is the
// index Invoke reported (UINT_MAX when it left it alone).
HRESULT call(IDispatch* d, const wchar_t* name, std::vector<VARIANT> args, VARIANT* result, EXCEPINFO* ei = nullptr,
             UINT* argErr = nullptr) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    EXPECT_EQ(d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK) << "no member " << name;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS dp{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    EXCEPINFO local{};
    UINT err = UINT_MAX;
    if (result) VariantInit(result);
    const HRESULT hr =
        d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, result, ei ? ei : &local, &err);
    if (argErr) *argErr = err;
    return hr;
}

VARIANT byRef(VARTYPE vt, void* p) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = static_cast<VARTYPE>(VT_BYREF | vt);
    V_BYREF(&v) = p;
    return v;
}

VARIANT bstr(const wchar_t* s) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(s);
    return v;
}

VARIANT num(LONG n) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = n;
    return v;
}

std::wstring text(const VARIANT& v) { return V_VT(&v) == VT_BSTR ? std::wstring(V_BSTR(&v)) : L"<not a string>"; }

std::wstring elementText(SAFEARRAY* sa, LONG i) {
    VARIANT v;
    qx::com::ArrayView(sa).element(i, &v);
    const std::wstring t = text(v);
    VariantClear(&v);
    return t;
}

class ComBoundary : public ::testing::Test {
protected:
    ComApartment apartment;
    IDispatch* lib = create<IDispatch>(CLSID_clsQXGenRtns, IID_IDispatch);
    void TearDown() override {
        if (lib) lib->Release();
    }
};

TEST_F(ComBoundary, TypedReferencesAreCoercedAndWrittenBack) {
    ASSERT_NE(lib, nullptr);
    VARIANT r;
    LONG secs = 7325;
    ASSERT_EQ(call(lib, L"convertsecondstohhmmss", {byRef(VT_I4, &secs)}, &r), S_OK) << "names without regard to case";
    EXPECT_EQ(text(r), L"02:02:05");
    EXPECT_EQ(secs, 125) << "a typed Long reference receives the remainder";
    VariantClear(&r);

    SHORT small = 3725;
    ASSERT_EQ(call(lib, L"ConvertSecondsToHHMMSS", {byRef(VT_I2, &small)}, &r), S_OK);
    EXPECT_EQ(text(r), L"01:02:05");
    EXPECT_EQ(small, 125) << "an Integer reference gets the value in its own type";
    VariantClear(&r);

    BSTR s = SysAllocString(L"not a number");
    EXPECT_EQ(call(lib, L"ConvertSecondsToHHMMSS", {byRef(VT_BSTR, &s)}, &r), DISP_E_TYPEMISMATCH);
    EXPECT_STREQ(s, L"not a number");
    SysFreeString(s);
}

// VB6 late binding passes array variables as typed references: the array
// that comes back has the variable's own element type, and an array that
// cannot be replaced (fixed bounds, or locked) raises error 10 untouched.
TEST_F(ComBoundary, ArrayReferencesKeepTheirElementTypeAndFixedArraysRaise10) {
    qxtest::TempFolder dir;
    BSTR section = SysAllocString(L"A");
    BSTR path = SysAllocString(dir.write(u"arrays.ini", "[A]\r\na=1\r\nb=2\r\n").wstring().c_str());
    BSTR body = SysAllocString(L"");
    VARIANT r;
    ASSERT_EQ(call(lib, L"GetIniSection", {byRef(VT_BSTR, &section), byRef(VT_BSTR, &body), byRef(VT_BSTR, &path)}, &r),
              S_OK);
    EXPECT_STREQ(body, L"a=1\r\nb=2") << "a typed String reference receives the body";

    // Dim lines() As String; Dim lines() As Variant, empty and already holding an array.
    const std::pair<VARTYPE, ULONG> variables[] = {{VT_BSTR, 0}, {VT_VARIANT, 0}, {VT_VARIANT, 5}};
    for (const auto& [vt, size] : variables) {
        SAFEARRAY* lines = size ? SafeArrayCreateVector(vt, 0, size) : nullptr;
        ASSERT_EQ(call(lib, L"GetSection", {byRef(VT_BSTR, &section), byRef(VT_BSTR, &path), byRef(VT_ARRAY | vt, &lines)},
                       nullptr),
                  S_OK);
        ASSERT_NE(lines, nullptr);
        const qx::com::ArrayView got(lines);
        EXPECT_EQ(got.vt, vt) << "the variable's own element type";
        EXPECT_EQ(got.count(), 2u);
        EXPECT_EQ(elementText(lines, 0), L"a=1");
        EXPECT_EQ(elementText(lines, 1), L"b=2");
        SafeArrayDestroy(lines);
    }

    // Dim lines(2) As String: fixed bounds; and a dynamic array locked while in use.
    for (const bool fixedSize : {true, false}) {
        SAFEARRAY* held = SafeArrayCreateVector(VT_BSTR, 0, 3);
        if (fixedSize) held->fFeatures |= FADF_FIXEDSIZE;
        else SafeArrayLock(held);
        SAFEARRAY* const before = held;
        EXCEPINFO ei{};
        UINT argErr = UINT_MAX;
        EXPECT_EQ(call(lib, L"GetSection", {byRef(VT_BSTR, &section), byRef(VT_BSTR, &path), byRef(VT_ARRAY | VT_BSTR, &held)},
                       nullptr, &ei, &argErr),
                  DISP_E_EXCEPTION);
        EXPECT_EQ(ei.scode, static_cast<SCODE>(0x800A000A)) << "error 10";
        EXPECT_STREQ(ei.bstrDescription, L"This array is fixed or temporarily locked");
        EXPECT_EQ(argErr, 0u) << "the array is the last argument, rgvarg[0]";
        EXPECT_EQ(held, before) << "the caller keeps its own array";
        SysFreeString(ei.bstrDescription);
        SysFreeString(ei.bstrSource);
        if (fixedSize) held->fFeatures &= static_cast<USHORT>(~FADF_FIXEDSIZE);
        else SafeArrayUnlock(held);
        SafeArrayDestroy(held);
    }
    SysFreeString(section);
    SysFreeString(path);
    SysFreeString(body);
}

// Invoke names a faulty argument by its index in rgvarg, which holds the
// arguments last to first.
TEST_F(ComBoundary, FaultyArgumentsAreNamedByTheirRgvargIndex) {
    VARIANT sec = bstr(L"S");
    VARIANT key = bstr(L"K");
    VARIANT value = bstr(L"");
    VARIANT file = bstr(L"C:\\never-read.ini");
    VARIANT nothing;
    VariantInit(&nothing);
    V_VT(&nothing) = VT_DISPATCH;
    IDispatch* none = nullptr;
    UINT argErr = UINT_MAX;
    // GetIniString(Section, iniKey, iniStr, IniFile).
    EXPECT_EQ(call(lib, L"GetIniString", {sec, nothing, value, file}, nullptr, nullptr, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 2u);
    EXPECT_EQ(call(lib, L"GetIniString", {sec, key, byRef(VT_DISPATCH, &none), file}, nullptr, nullptr, &argErr),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 1u) << "a typed reference to Nothing (Dim f As Object)";
    for (VARIANT* v : {&sec, &key, &value, &file}) VariantClear(v);
}

TEST_F(ComBoundary, EarlyBindingReturnsTheErrorAndLeavesErrorInfo) {
    qxtest::runOnFreshThread([] {
        ComApartment threadApartment;
        _clsQXGenRtns* early = create<_clsQXGenRtns>(CLSID_clsQXGenRtns, IID__clsQXGenRtns);
        ASSERT_NE(early, nullptr);
        ISupportErrorInfo* sei = nullptr;
        ASSERT_EQ(early->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&sei)), S_OK);
        EXPECT_EQ(sei->InterfaceSupportsErrorInfo(IID__clsQXGenRtns), S_OK);
        sei->Release();
        BSTR version = nullptr;
        EXPECT_EQ(early->get_GetVersion(&version), static_cast<HRESULT>(0x800A005B)) << "error 91 before InitializeDll";
        IErrorInfo* info = nullptr;
        ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
        BSTR desc = nullptr;
        info->GetDescription(&desc);
        EXPECT_STREQ(desc, L"Object variable or With block variable not set");
        SysFreeString(desc);
        info->Release();
        early->Release();
    });
}

// A host object with type information (a VB6 form or control, or one of the
// library's own objects) is named through it; members by name without regard to case.
TEST_F(ComBoundary, HostObjectsAreNamedThroughTheirTypeInformation) {
    IDispatch* folders = create<IDispatch>(CLSID_clsSpecialFolders, IID_IDispatch);
    ASSERT_NE(folders, nullptr);
    {
        const qx::ObjectRef o = qx::com::wrapDispatch(folders);
        EXPECT_EQ(o->typeName(), u"clsSpecialFolders");
        o->set(u"systemdrive", qx::Variant(String(u"C:")));
        EXPECT_EQ(o->get(u"SystemDrive").toString(), u"C:");
        EXPECT_RAISES(qx::err::MemberNotSupported, o->get(u"NoSuchMember"));
    }
    folders->Release();
}

// What early-bound VB6 hosts read from the type library itself.
TEST(ComTypeLibrary, ApplicationObjectAndEnumerationValues) {
    ComApartment apartment;
    TYPEATTR* ta = nullptr;
    ITypeInfo* cls = qx::com::typeInfoOf(CLSID_clsQXGenRtns);
    ASSERT_EQ(cls->GetTypeAttr(&ta), S_OK);
    EXPECT_TRUE(ta->wTypeFlags & TYPEFLAG_FAPPOBJECT) << "callable as global functions";
    cls->ReleaseTypeAttr(ta);

    // The registry roots have the top bit set.
    ITypeInfo* roots = nullptr;
    MEMBERID memid = 0;
    USHORT found = 1;
    wchar_t enumName[] = L"ERegistryClassConstants";
    ASSERT_TRUE(SUCCEEDED(qx::com::typeLib()->FindName(enumName, 0, &roots, &memid, &found)) && found == 1);
    VARDESC* vd = nullptr;
    ASSERT_EQ(roots->GetVarDesc(1, &vd), S_OK);
    EXPECT_EQ(static_cast<std::uint32_t>(V_I4(vd->lpvarValue)), 0x80000001u) << "HKEY_CURRENT_USER";
    roots->ReleaseVarDesc(vd);
    roots->Release();
}

std::wstring wide(const qx::String& s) { return std::wstring(s.begin(), s.end()); }

// FileDateTimeInfo through the vtable as VB6 early binding passes it, and as
// VT_RECORD from late binding. (Scripts pass arrays of numbers: the script suites.)
TEST(ComRecords, EarlyAndLateBoundRecordsReachTheFile) {
    ComApartment apartment;
    qxtest::TempFolder t("records");
    t.write(u"a.txt", "a");
    t.write(u"b.txt", "b");
    _clsQXGenRtns* lib = create<_clsQXGenRtns>(CLSID_clsQXGenRtns, IID__clsQXGenRtns);
    ASSERT_NE(lib, nullptr);

    // Early binding: the vtable with the record itself.
    ::FileDateTimeInfo set{};
    set.wtime = {static_cast<LONG>(0x7DB50500), static_cast<LONG>(0x01C08D96)};
    BSTR a = SysAllocString(wide(t / u"a.txt").c_str());
    ASSERT_EQ(lib->SetFileDateTime(a, &set), S_OK);

    // Late binding: the result is a VT_RECORD, and one passed in sets the times.
    VARIANT result;
    VARIANT fileA = bstr(wide(t / u"a.txt").c_str());
    ASSERT_EQ(call(lib, L"GetFileDateTime", {fileA}, &result), S_OK);
    VariantClear(&fileA);
    ASSERT_EQ(V_VT(&result), VT_RECORD);
    const auto* rec = static_cast<const ::FileDateTimeInfo*>(V_RECORD(&result));
    EXPECT_EQ(rec->wtime.dwLowDateTime, 0x7DB50500);
    EXPECT_EQ(rec->wtime.dwHighDateTime, 0x01C08D96);
    VARIANT name = bstr(wide(t / u"b.txt").c_str());
    VARIANT byRef;
    VariantInit(&byRef);
    V_VT(&byRef) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&byRef) = &result;
    ASSERT_EQ(call(lib, L"SetFileDateTime", {name, byRef}, nullptr), S_OK);
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

// A VB6 Byte() passed by reference, and ReadBytes as a Byte() array: its
// contents are what a script cannot index.
TEST(ComRecords, ByteArraysThroughDispatch) {
    ComApartment apartment;
    qxtest::TempFolder t("records");
    _clsFileAccess* fa = create<_clsFileAccess>(CLSID_clsFileAccess, IID__clsFileAccess);
    ASSERT_NE(fa, nullptr);
    VARIANT file = bstr(wide(t / u"bytes.bin").c_str());
    ASSERT_EQ(call(fa, L"OpenFile", {file}, nullptr), S_OK);
    VariantClear(&file);
    SAFEARRAY* data = SafeArrayCreateVector(VT_UI1, 0, 4);
    void* p = nullptr;
    SafeArrayAccessData(data, &p);
    std::memcpy(p, "\x01\x02\xFE\xFF", 4);
    SafeArrayUnaccessData(data);
    VARIANT typed;
    VariantInit(&typed);
    V_VT(&typed) = VT_BYREF | VT_ARRAY | VT_UI1;
    V_ARRAYREF(&typed) = &data;
    ASSERT_EQ(call(fa, L"WriteBytes", {typed}, nullptr), S_OK);
    ASSERT_EQ(call(fa, L"SeekAbsolute", {num(0), num(1)}, nullptr), S_OK);
    VARIANT read;
    ASSERT_EQ(call(fa, L"ReadBytes", {num(5)}, &read), S_OK) << "one byte past the end of the file";
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

}  // namespace
