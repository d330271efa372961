// The COM boundary as hosts other than script see it: VB6 late binding passes
// typed references (VT_BYREF|VT_I4, VT_BYREF|VT_BSTR, VT_BYREF|VT_ARRAY),
// early binding calls the vtable and reads IErrorInfo; and host objects of
// every kind become core Objects. The classes are created through the class
// table, without registration.
#include <gtest/gtest.h>
#include <windows.h>

#include <oaidl.h>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "QXGenRtns_h.h"
#include "com/classes.h"
#include "com/com_support.h"
#include "ini_support.h"
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
        if (c.entry && IsEqualCLSID(c.clsid, clsid)) {
            void* p = nullptr;
            if (SUCCEEDED(c.entry->create(iid, &p))) return static_cast<Itf*>(p);
        }
    }
    return nullptr;
}

DISPID idOf(IDispatch* d, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    EXPECT_EQ(d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK) << "no member " << name;
    return id;
}

// Calls a member with the arguments in the caller's order.
HRESULT call(IDispatch* d, const wchar_t* name, std::vector<VARIANT> args, VARIANT* result, EXCEPINFO* ei = nullptr,
             WORD flags = DISPATCH_METHOD) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS dp{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags == DISPATCH_PROPERTYPUT) {
        dp.rgdispidNamedArgs = &put;
        dp.cNamedArgs = 1;
    }
    EXCEPINFO local{};
    UINT argErr = 0;
    if (result) VariantInit(result);
    return d->Invoke(idOf(d, name), IID_NULL, LOCALE_USER_DEFAULT, flags, &dp, result, ei ? ei : &local, &argErr);
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

std::wstring text(const VARIANT& v) { return V_VT(&v) == VT_BSTR ? std::wstring(V_BSTR(&v)) : L"<not a string>"; }

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
    ASSERT_EQ(call(lib, L"convertsecondstohhmmss", {byRef(VT_I4, &secs)}, &r), S_OK);
    EXPECT_EQ(text(r), L"02:02:05");
    EXPECT_EQ(secs, 125) << "a typed Long reference receives the remainder";
    VariantClear(&r);

    SHORT small = 3725;
    ASSERT_EQ(call(lib, L"ConvertSecondsToHHMMSS", {byRef(VT_I2, &small)}, &r), S_OK);
    EXPECT_EQ(text(r), L"01:02:05");
    EXPECT_EQ(small, 125) << "an Integer reference gets the value in its own type";
    VariantClear(&r);

    double d = 59.0;
    ASSERT_EQ(call(lib, L"ConvertSecondsToHHMMSS", {byRef(VT_R8, &d)}, &r), S_OK);
    EXPECT_EQ(d, 59.0) << "an unchanged value is not written back";
    VariantClear(&r);

    BSTR s = SysAllocString(L"not a number");
    EXPECT_EQ(call(lib, L"ConvertSecondsToHHMMSS", {byRef(VT_BSTR, &s)}, &r), DISP_E_TYPEMISMATCH);
    EXPECT_STREQ(s, L"not a number");
    SysFreeString(s);
}

TEST_F(ComBoundary, StringAndArrayReferencesOfIniMembers) {
    qxtest::TempFolder dir;
    const std::wstring file = dir.path("typed.ini").wstring();
    qxtest::writeBytes(dir.path("typed.ini"), "[A]\r\na=1\r\nb=2\r\n");
    BSTR section = SysAllocString(L"A");
    BSTR path = SysAllocString(file.c_str());
    BSTR body = SysAllocString(L"");
    VARIANT r;
    ASSERT_EQ(call(lib, L"GetIniSection", {byRef(VT_BSTR, &section), byRef(VT_BSTR, &body), byRef(VT_BSTR, &path)}, &r),
              S_OK);
    EXPECT_EQ(V_VT(&r), VT_BOOL);
    EXPECT_EQ(V_BOOL(&r), VARIANT_TRUE);
    EXPECT_STREQ(body, L"a=1\r\nb=2") << "a typed String reference receives the body";

    // A String array reference (Dim lines() As String) receives a String array.
    SAFEARRAY* lines = nullptr;
    ASSERT_EQ(call(lib, L"GetSection", {byRef(VT_BSTR, &section), byRef(VT_BSTR, &path), byRef(VT_ARRAY | VT_BSTR, &lines)},
                   nullptr),
              S_OK);
    ASSERT_NE(lines, nullptr);
    VARTYPE vt = VT_EMPTY;
    SafeArrayGetVartype(lines, &vt);
    EXPECT_EQ(vt, VT_BSTR);
    LONG ub = -1;
    SafeArrayGetUBound(lines, 1, &ub);
    EXPECT_EQ(ub, 1);
    SafeArrayDestroy(lines);

    // A Variant reference (a script variable) receives an array of Variants.
    VARIANT holder;
    VariantInit(&holder);
    ASSERT_EQ(call(lib, L"GetSection", {bstr(L"A"), byRef(VT_BSTR, &path), byRef(VT_VARIANT, &holder)}, nullptr), S_OK);
    EXPECT_EQ(V_VT(&holder), VT_ARRAY | VT_VARIANT);
    VariantClear(&holder);
    SysFreeString(section);
    SysFreeString(path);
    SysFreeString(body);
}

// Calls a member with the arguments in the caller's order and gives the
// argument index Invoke reported (UINT_MAX when it left it alone).
HRESULT callArgErr(IDispatch* d, const wchar_t* name, std::vector<VARIANT> args, UINT& argErr, EXCEPINFO* ei = nullptr) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS dp{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    EXCEPINFO local{};
    VARIANT r;
    VariantInit(&r);
    argErr = UINT_MAX;
    const HRESULT hr = d->Invoke(idOf(d, name), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, &r,
                                 ei ? ei : &local, &argErr);
    VariantClear(&r);
    return hr;
}

VARIANT nothing() {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = nullptr;
    return v;
}

std::wstring elementText(SAFEARRAY* sa, LONG i) {
    VARTYPE vt = VT_EMPTY;
    SafeArrayGetVartype(sa, &vt);
    VARIANT v;
    VariantInit(&v);
    if (vt == VT_VARIANT) {
        SafeArrayGetElement(sa, &i, &v);
    } else if (vt == VT_BSTR) {
        V_VT(&v) = VT_BSTR;
        SafeArrayGetElement(sa, &i, &V_BSTR(&v));
    }
    const std::wstring t = text(v);
    VariantClear(&v);
    return t;
}

// VB6 late binding passes array variables as typed references: the array
// that comes back has the variable's own element type, and an array that
// cannot be replaced (fixed bounds, or locked) raises error 10 untouched.
TEST_F(ComBoundary, ArrayReferencesKeepTheirElementTypeAndFixedArraysRaise10) {
    qxtest::TempFolder dir;
    const std::wstring file = dir.path("arrays.ini").wstring();
    qxtest::writeBytes(dir.path("arrays.ini"), "[A]\r\na=1\r\nb=2\r\n");
    BSTR section = SysAllocString(L"A");
    BSTR path = SysAllocString(file.c_str());
    UINT argErr = 0;

    // Dim lines() As Variant, not yet dimensioned, then already holding an array.
    for (const bool allocated : {false, true}) {
        SAFEARRAY* lines = allocated ? SafeArrayCreateVector(VT_VARIANT, 0, 5) : nullptr;
        ASSERT_EQ(callArgErr(lib, L"GetSection", {byRef(VT_BSTR, &section), byRef(VT_BSTR, &path),
                                                   byRef(VT_ARRAY | VT_VARIANT, &lines)}, argErr),
                  S_OK);
        ASSERT_NE(lines, nullptr);
        VARTYPE vt = VT_EMPTY;
        SafeArrayGetVartype(lines, &vt);
        EXPECT_EQ(vt, VT_VARIANT) << "a Variant array variable receives Variants";
        LONG ub = -1;
        SafeArrayGetUBound(lines, 1, &ub);
        EXPECT_EQ(ub, 1);
        EXPECT_EQ(elementText(lines, 0), L"a=1");
        EXPECT_EQ(elementText(lines, 1), L"b=2");
        SafeArrayDestroy(lines);
    }

    // Dim lines(2) As String: fixed bounds.
    SAFEARRAY* fixed = SafeArrayCreateVector(VT_BSTR, 0, 3);
    fixed->fFeatures |= FADF_FIXEDSIZE;
    SAFEARRAY* const fixedBefore = fixed;
    EXCEPINFO ei{};
    EXPECT_EQ(callArgErr(lib, L"GetSection", {byRef(VT_BSTR, &section), byRef(VT_BSTR, &path),
                                               byRef(VT_ARRAY | VT_BSTR, &fixed)}, argErr, &ei),
              DISP_E_EXCEPTION);
    EXPECT_EQ(ei.scode, static_cast<SCODE>(0x800A000A)) << "error 10";
    EXPECT_STREQ(ei.bstrDescription, L"This array is fixed or temporarily locked");
    EXPECT_EQ(argErr, 0u) << "the array is the last argument, rgvarg[0]";
    EXPECT_EQ(fixed, fixedBefore) << "the caller keeps its own array";
    LONG ub = -1;
    SafeArrayGetUBound(fixed, 1, &ub);
    EXPECT_EQ(ub, 2);
    SysFreeString(ei.bstrDescription);
    SysFreeString(ei.bstrSource);
    fixed->fFeatures &= static_cast<USHORT>(~FADF_FIXEDSIZE);
    SafeArrayDestroy(fixed);

    // A dynamic array locked while in use (an element of it passed on, a For Each).
    SAFEARRAY* locked = SafeArrayCreateVector(VT_BSTR, 0, 1);
    ASSERT_EQ(SafeArrayLock(locked), S_OK);
    SAFEARRAY* const lockedBefore = locked;
    ei = EXCEPINFO{};
    EXPECT_EQ(callArgErr(lib, L"GetSection", {byRef(VT_BSTR, &section), byRef(VT_BSTR, &path),
                                               byRef(VT_ARRAY | VT_BSTR, &locked)}, argErr, &ei),
              DISP_E_EXCEPTION);
    EXPECT_EQ(ei.scode, static_cast<SCODE>(0x800A000A));
    EXPECT_EQ(locked, lockedBefore);
    SysFreeString(ei.bstrDescription);
    SysFreeString(ei.bstrSource);
    SafeArrayUnlock(locked);
    SafeArrayDestroy(locked);
    SysFreeString(section);
    SysFreeString(path);
}

// Invoke names a faulty argument by its index in rgvarg, and Nothing where
// a value is wanted is a type mismatch (error 13 to the host).
TEST_F(ComBoundary, FaultyArgumentsAreNamedByTheirRgvargIndex) {
    UINT argErr = 0;
    VARIANT n = nothing();
    EXPECT_EQ(callArgErr(lib, L"FixPath", {n}, argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u);

    // GetIniString(Section, iniKey, iniStr, IniFile): the key is the second of four, rgvarg[2].
    VARIANT sec = bstr(L"S");
    VARIANT file = bstr(L"C:\\never-read.ini");
    VARIANT value = bstr(L"");
    EXPECT_EQ(callArgErr(lib, L"GetIniString", {sec, n, value, file}, argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 2u);
    // A typed reference to Nothing (Dim f As Object), in third place: rgvarg[1].
    IDispatch* none = nullptr;
    VARIANT key = bstr(L"K");
    EXPECT_EQ(callArgErr(lib, L"GetIniString", {sec, key, byRef(VT_DISPATCH, &none), file}, argErr),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 1u);
    // An object that has no value of its own.
    VARIANT obj;
    VariantInit(&obj);
    V_VT(&obj) = VT_DISPATCH;
    V_DISPATCH(&obj) = lib;
    EXPECT_EQ(callArgErr(lib, L"GetIniString", {obj, key, value, file}, argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 3u);
    // Text that is no number, last of two arguments: rgvarg[0].
    VARIANT width = bstr(L"wide");
    SHORT height = 600;
    EXPECT_EQ(callArgErr(lib, L"CheckScreenSize", {byRef(VT_I2, &height), width}, argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u);
    for (VARIANT* v : {&sec, &file, &value, &key, &width}) VariantClear(v);
}

TEST_F(ComBoundary, ArgumentCountsAndPropertyPuts) {
    VARIANT r;
    EXPECT_EQ(call(lib, L"ConvertSecondsToHHMMSS", {}, &r), DISP_E_PARAMNOTOPTIONAL);
    VARIANT a;
    VariantInit(&a);
    V_VT(&a) = VT_I4;
    V_I4(&a) = 1;
    EXPECT_EQ(call(lib, L"ConvertSecondsToHHMMSS", {a, a}, &r), DISP_E_BADPARAMCOUNT);
    V_I4(&a) = 40000;
    EXPECT_EQ(call(lib, L"VersionType", {a}, nullptr, nullptr, DISPATCH_PROPERTYPUT), DISP_E_OVERFLOW);
    V_I4(&a) = 4;
    EXPECT_EQ(call(lib, L"VersionType", {a}, nullptr, nullptr, DISPATCH_PROPERTYPUT), S_OK);
    ASSERT_EQ(call(lib, L"VersionType", {}, &r, nullptr, DISPATCH_PROPERTYGET), S_OK);
    EXPECT_EQ(V_VT(&r), VT_I2);
    EXPECT_EQ(V_I2(&r), 4);
    // A left-out optional object argument.
    VARIANT missing;
    VariantInit(&missing);
    V_VT(&missing) = VT_ERROR;
    V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
    EXPECT_EQ(call(lib, L"HourGlassOff", {missing}, nullptr), S_OK);
}

TEST_F(ComBoundary, ErrorsCarryNumberTextAndSource) {
    qxtest::runOnFreshThread([] {
        ComApartment threadApartment;
        IDispatch* fresh = create<IDispatch>(CLSID_clsQXGenRtns, IID_IDispatch);
        ASSERT_NE(fresh, nullptr);
        VARIANT r;
        EXCEPINFO ei{};
        EXPECT_EQ(call(fresh, L"GetVersion", {}, &r, &ei, DISPATCH_PROPERTYGET | DISPATCH_METHOD), DISP_E_EXCEPTION);
        EXPECT_EQ(ei.scode, static_cast<SCODE>(0x800A005B)) << "error 91 in FACILITY_CONTROL";
        EXPECT_STREQ(ei.bstrDescription, L"Object variable or With block variable not set");
        EXPECT_STREQ(ei.bstrSource, L"QXGenRtns.clsQXGenRtns");
        SysFreeString(ei.bstrDescription);
        SysFreeString(ei.bstrSource);

        // Early binding: the vtable member returns the HRESULT and leaves IErrorInfo.
        _clsQXGenRtns* early = nullptr;
        ASSERT_EQ(fresh->QueryInterface(IID__clsQXGenRtns, reinterpret_cast<void**>(&early)), S_OK);
        ISupportErrorInfo* sei = nullptr;
        ASSERT_EQ(fresh->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&sei)), S_OK);
        EXPECT_EQ(sei->InterfaceSupportsErrorInfo(IID__clsQXGenRtns), S_OK);
        sei->Release();
        BSTR version = nullptr;
        EXPECT_EQ(early->get_GetVersion(&version), static_cast<HRESULT>(0x800A005B));
        IErrorInfo* info = nullptr;
        ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
        BSTR desc = nullptr;
        info->GetDescription(&desc);
        EXPECT_STREQ(desc, L"Object variable or With block variable not set");
        SysFreeString(desc);
        info->Release();
        early->Release();
        fresh->Release();
    });
}

// A host object with Count and Item but no enumerator and no type
// information, as script classes are: it names itself through TypeName.
class FakeCollection : public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* id) override {
        const std::wstring n = names[0];
        if (_wcsicmp(n.c_str(), L"Count") == 0) *id = 1;
        else if (_wcsicmp(n.c_str(), L"Item") == 0) *id = 2;
        else if (_wcsicmp(n.c_str(), L"TypeName") == 0) *id = 3;
        else return DISP_E_UNKNOWNNAME;
        return S_OK;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* dp, VARIANT* r, EXCEPINFO*, UINT*) override {
        if (id == 1) {
            V_VT(r) = VT_I4;
            V_I4(r) = 3;
        } else if (id == 2) {
            VARIANT i;
            VariantInit(&i);
            if (dp->cArgs != 1 || FAILED(VariantChangeType(&i, &dp->rgvarg[0], 0, VT_I4))) return DISP_E_BADPARAMCOUNT;
            V_VT(r) = VT_I4;
            V_I4(r) = 10 * V_I4(&i);
        } else if (id == 3) {
            V_VT(r) = VT_BSTR;
            V_BSTR(r) = SysAllocString(L"FakeForm");
        } else {
            return DISP_E_MEMBERNOTFOUND;
        }
        return S_OK;
    }
    ULONG refs = 1;
};

TEST_F(ComBoundary, HostObjectsBecomeCoreObjects) {
    // One of the library's own objects: named through its class information.
    IDispatch* folders = create<IDispatch>(CLSID_clsSpecialFolders, IID_IDispatch);
    ASSERT_NE(folders, nullptr);
    {
        const qx::ObjectRef o = qx::com::wrapDispatch(folders);
        EXPECT_EQ(o->typeName(), u"clsSpecialFolders");
        o->set(u"systemdrive", qx::Variant(String(u"C:")));
        EXPECT_EQ(o->get(u"SystemDrive").toString(), u"C:");
        EXPECT_TRUE(o->has(u"WINDOWSFOLDER"));
        EXPECT_FALSE(o->has(u"NoSuchMember"));
        EXPECT_RAISES(qx::err::MemberNotSupported, o->get(u"NoSuchMember"));
    }
    folders->Release();

    // Count and Item when there is no enumerator; TypeName when there is no type information.
    FakeCollection fake;
    {
        const qx::ObjectRef o = qx::com::wrapDispatch(&fake);
        const std::vector<qx::Variant> items = o->items();
        ASSERT_EQ(items.size(), 3u);
        EXPECT_EQ(items[0].toInt32(), 0) << "items are counted from 0";
        EXPECT_EQ(items[2].toInt32(), 20);
        EXPECT_EQ(o->typeName(), u"FakeForm");
    }
    EXPECT_EQ(fake.refs, 1u) << "the wrapper released what it held";

    // A collection with an enumerator, as the system's own dictionary has.
    CLSID dictClsid;
    IDispatch* dict = nullptr;
    if (SUCCEEDED(CLSIDFromProgID(L"Scripting.Dictionary", &dictClsid)) &&
        SUCCEEDED(CoCreateInstance(dictClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&dict)))) {
        const qx::ObjectRef o = qx::com::wrapDispatch(dict);
        o->call(u"Add", {qx::Variant(String(u"first")), qx::Variant(std::int32_t{1})});
        o->call(u"add", {qx::Variant(String(u"second")), qx::Variant(std::int32_t{2})});
        const std::vector<qx::Variant> keys = o->items();
        ASSERT_EQ(keys.size(), 2u);
        EXPECT_EQ(keys[0].toString(), u"first");
        EXPECT_EQ(keys[1].toString(), u"second");
        EXPECT_EQ(o->get(u"Count").toInt32(), 2);
        dict->Release();
    } else {
        ADD_FAILURE() << "Scripting.Dictionary is not available";
    }
}

}  // namespace

namespace {

TEST(ComTypeLibrary, IdentityVersionAndApplicationObject) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    ITypeLib* lib = nullptr;
    ASSERT_EQ(LoadTypeLibEx(self, REGKIND_NONE, &lib), S_OK) << "resource TYPELIB 1";
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(lib->GetLibAttr(&attr), S_OK);
    EXPECT_EQ(attr->wMajorVerNum, 5);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    EXPECT_EQ(attr->lcid, 0x409u);
    EXPECT_EQ(attr->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    lib->ReleaseTLibAttr(attr);
    BSTR name = nullptr;
    BSTR doc = nullptr;
    ASSERT_EQ(lib->GetDocumentation(-1, &name, &doc, nullptr, nullptr), S_OK);
    EXPECT_STREQ(name, L"QXGenRtns");
    EXPECT_STREQ(doc, L"QX General Routines");
    SysFreeString(name);
    SysFreeString(doc);

    ITypeInfo* cls = nullptr;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(CLSID_clsQXGenRtns, &cls), S_OK);
    TYPEATTR* ta = nullptr;
    ASSERT_EQ(cls->GetTypeAttr(&ta), S_OK);
    EXPECT_TRUE(ta->wTypeFlags & TYPEFLAG_FAPPOBJECT) << "callable as global functions";
    EXPECT_TRUE(ta->wTypeFlags & TYPEFLAG_FCANCREATE);
    cls->ReleaseTypeAttr(ta);
    cls->Release();

    // Enumerations keep their values (the registry roots have the top bit set).
    ITypeInfo* roots = nullptr;
    MEMBERID memid = 0;
    USHORT found = 1;
    wchar_t enumName[] = L"ERegistryClassConstants";
    ASSERT_EQ(lib->FindName(enumName, 0, &roots, &memid, &found), S_OK);
    ASSERT_EQ(found, 1);
    VARDESC* vd = nullptr;
    ASSERT_EQ(roots->GetVarDesc(1, &vd), S_OK);
    EXPECT_EQ(static_cast<std::uint32_t>(V_I4(vd->lpvarValue)), 0x80000001u) << "HKEY_CURRENT_USER";
    roots->ReleaseVarDesc(vd);
    roots->Release();
    lib->Release();
}

// The description of a member of the library's interface, as an early-bound
// host reads it to fill in left-out optional arguments.
class MemberDescription {
public:
    explicit MemberDescription(const wchar_t* name) {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        if (FAILED(LoadTypeLibEx(self, REGKIND_NONE, &lib_)) || FAILED(lib_->GetTypeInfoOfGuid(IID__clsQXGenRtns, &ti_)))
            return;
        MEMBERID id = MEMBERID_NIL;
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        if (FAILED(ti_->GetIDsOfNames(names, 1, &id))) return;
        TYPEATTR* attr = nullptr;
        ti_->GetTypeAttr(&attr);
        for (UINT i = 0; attr && i < attr->cFuncs && !fd_; ++i) {
            FUNCDESC* f = nullptr;
            if (FAILED(ti_->GetFuncDesc(i, &f))) continue;
            if (f->memid == id) fd_ = f;
            else ti_->ReleaseFuncDesc(f);
        }
        if (attr) ti_->ReleaseTypeAttr(attr);
    }
    ~MemberDescription() {
        if (fd_) ti_->ReleaseFuncDesc(fd_);
        if (ti_) ti_->Release();
        if (lib_) lib_->Release();
    }
    MemberDescription(const MemberDescription&) = delete;
    MemberDescription& operator=(const MemberDescription&) = delete;
    const FUNCDESC* operator->() const { return fd_; }
    explicit operator bool() const { return fd_ != nullptr; }
    const ELEMDESC& param(int i) const { return fd_->lprgelemdescParam[i]; }

private:
    ITypeLib* lib_ = nullptr;
    ITypeInfo* ti_ = nullptr;
    FUNCDESC* fd_ = nullptr;
};

TEST(ComTypeLibrary, OptionalFormsAndStringDefaults) {
    // HourGlassOn/Off take an optional object by reference (Optional MDI As Object).
    for (const wchar_t* name : {L"HourGlassOn", L"HourGlassOff"}) {
        const MemberDescription fd(name);
        ASSERT_TRUE(fd) << name;
        ASSERT_EQ(fd->cParams, 1) << name;
        const ELEMDESC& p = fd.param(0);
        EXPECT_EQ(p.tdesc.vt, VT_PTR) << name;
        EXPECT_EQ(p.tdesc.lptdesc->vt, VT_DISPATCH) << name;
        EXPECT_TRUE(p.paramdesc.wParamFlags & PARAMFLAG_FOPT) << name;
        EXPECT_TRUE(p.paramdesc.wParamFlags & PARAMFLAG_FIN) << name;
    }
    // Optional strings default to "".
    const std::pair<const wchar_t*, int> strings[] = {
        {L"InitLog", 0}, {L"InitDebugLog", 0}, {L"InitErrorLog", 0}, {L"MyMsgBox", 2}};
    for (const auto& [name, index] : strings) {
        const MemberDescription fd(name);
        ASSERT_TRUE(fd) << name;
        const PARAMDESC& pd = fd.param(index).paramdesc;
        EXPECT_EQ(fd.param(index).tdesc.lptdesc->vt, VT_BSTR) << name;
        EXPECT_TRUE(pd.wParamFlags & PARAMFLAG_FOPT) << name;
        ASSERT_TRUE(pd.wParamFlags & PARAMFLAG_FHASDEFAULT) << name;
        ASSERT_NE(pd.pparamdescex, nullptr) << name;
        const VARIANT& def = pd.pparamdescex->varDefaultValue;
        EXPECT_EQ(V_VT(&def), VT_BSTR) << name;
        EXPECT_EQ(SysStringLen(V_BSTR(&def)), 0u) << name;
    }
}

TEST(ComVersionResource, CarriesTheLibraryVersion) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(self, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(self, 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 5);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), 0);
    char* product = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\ProductName", reinterpret_cast<void**>(&product), &len));
    EXPECT_STREQ(product, "QX General Routines");
}

}  // namespace

// The classes come from the type library; the class table only knows how to
// create them. Each must meet its twin, and the ids must be the generated ones.
TEST(ComClasses, TypeLibraryAndClassTableAgree) {
    ComApartment apartment;
    const std::vector<qx::com::CoClass> classes = qx::com::coClasses();
    std::size_t count = 0;
    const qx::com::ClassEntry* table = qx::com::classTable(count);
    ASSERT_EQ(classes.size(), count);
    for (const qx::com::CoClass& c : classes) {
        ASSERT_NE(c.entry, nullptr) << "no way to create class " << (&c - classes.data());
        EXPECT_EQ(c.interfaceName, L"_" + c.name);
        IUnknown* made = nullptr;
        ASSERT_EQ(c.entry->create(c.iid, reinterpret_cast<void**>(&made)), S_OK);
        made->Release();
    }
    EXPECT_EQ(classes.front().name, L"clsQXGenRtns");
    EXPECT_TRUE(IsEqualCLSID(classes.front().clsid, CLSID_clsQXGenRtns));
    EXPECT_TRUE(IsEqualIID(classes.front().iid, IID__clsQXGenRtns));
    const auto access = std::find_if(classes.begin(), classes.end(),
                                     [](const qx::com::CoClass& c) { return c.name == L"clsFileAccess"; });
    ASSERT_NE(access, classes.end());
    EXPECT_TRUE(IsEqualCLSID(access->clsid, CLSID_clsFileAccess));
    EXPECT_TRUE(IsEqualIID(access->iid, IID__clsFileAccess));
    EXPECT_EQ(access->entry, &table[1]);
}
