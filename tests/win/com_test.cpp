// The COM boundary as hosts other than script see it: VB6 late binding passes
// typed references (VT_BYREF|VT_I4, VT_BYREF|VT_BSTR, VT_BYREF|VT_ARRAY),
// early binding calls the vtable and reads IErrorInfo; and host objects of
// every kind become core Objects. The classes are created through the class
// table, without registration.
#include <gtest/gtest.h>
#include <windows.h>

#include <oaidl.h>

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
    std::size_t count = 0;
    const qx::com::ClassEntry* classes = qx::com::classTable(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (IsEqualCLSID(*classes[i].clsid, clsid)) {
            void* p = nullptr;
            if (SUCCEEDED(classes[i].create(iid, &p))) return static_cast<Itf*>(p);
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
