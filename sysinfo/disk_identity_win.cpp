// Disk identity on Windows: GetVersionExA for the platform code, the SMART
// "receive drive data" request on the physical drive (NT family) or the
// SMART driver (Windows 95 family), and the WMI query of the physical media.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstring>
#include <string>

#include "core/scoped_win.h"
#include "sysinfo/disk_identity_sys.h"

namespace qx::sysinfo::sys {

String diskPlatformCode() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;  // the 148-byte ANSI structure
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return u"Unk";
#pragma GCC diagnostic pop
    return platformCode(info.dwPlatformId, info.dwMinorVersion);
}

bool readIdentifyBlock(IdentifyDevice device, std::uint8_t drive, IdentifyBlock& block) {
    UniqueHandle h;
    if (device == IdentifyDevice::PhysicalDrive) {
        const std::string name = "\\\\.\\PhysicalDrive" + std::to_string(drive);
        h.reset(CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr));
    } else {
        h.reset(CreateFileA("\\\\.\\Smartvsd", 0, 0, nullptr, CREATE_NEW, 0, nullptr));
    }
    if (!h) return false;
    auto request = identifyRequest(drive);
    std::uint8_t answer[hdsn::AnswerSize] = {};
    DWORD returned = 0;
    // A disk without the SMART interface fails the request: the answer stays zeroed.
    DeviceIoControl(h.get(), hdsn::SmartReceiveDriveData, request.data(), static_cast<DWORD>(request.size()), answer,
                    sizeof answer, &returned, nullptr);
    h.reset();
    std::memcpy(block.data(), answer + hdsn::BlockOffset, hdsn::BlockSize);
    return true;
}

namespace {
// Owns one reference.
template <typename T>
class Ref {
public:
    Ref() = default;
    ~Ref() { reset(); }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    void reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }
    T** out() {
        reset();
        return &p_;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

class Var {
public:
    Var() { VariantInit(&v_); }
    ~Var() { VariantClear(&v_); }
    Var(const Var&) = delete;
    Var& operator=(const Var&) = delete;
    VARIANT* get() { return &v_; }
    VARIANT* out() {
        VariantClear(&v_);
        return &v_;
    }

private:
    VARIANT v_;
};

// Calls a member by name; the arguments in the order of the call.
HRESULT callByName(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* args, UINT count, VARIANT* result) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    // IDispatch takes the arguments last first.
    VARIANT reversed[4];
    for (UINT i = 0; i < count; ++i) reversed[i] = args[count - 1 - i];
    DISPPARAMS params{reversed, nullptr, count, 0};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
}

String fromBstr(BSTR b) { return b ? String(reinterpret_cast<const char16_t*>(b), SysStringLen(b)) : String(); }

// Keeps COM initialised on this thread while it lives, when it was not yet.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (initialised_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

void collectSerials(std::vector<String>& serials) {
    Ref<IDispatch> service;
    if (FAILED(CoGetObject(L"winmgmts:\\\\.\\root\\CIMV2", nullptr, IID_IDispatch,
                           reinterpret_cast<void**>(service.out()))))
        return;

    VARIANT args[3];
    for (VARIANT& a : args) VariantInit(&a);
    V_VT(&args[0]) = VT_BSTR;
    V_BSTR(&args[0]) = SysAllocString(L"SELECT * FROM Win32_PhysicalMedia");
    V_VT(&args[1]) = VT_BSTR;
    V_BSTR(&args[1]) = SysAllocString(L"WQL");
    V_VT(&args[2]) = VT_I4;
    V_I4(&args[2]) = 48;  // return immediately (16) and forward only (32)
    Var items;
    const HRESULT hr = callByName(service.get(), L"ExecQuery", DISPATCH_METHOD, args, 3, items.out());
    for (VARIANT& a : args) VariantClear(&a);
    if (FAILED(hr) || V_VT(items.get()) != VT_DISPATCH || !V_DISPATCH(items.get())) return;

    Var enumerator;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (FAILED(V_DISPATCH(items.get())
                   ->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                            &none, enumerator.out(), nullptr, nullptr)))
        return;
    if (V_VT(enumerator.get()) != VT_UNKNOWN && V_VT(enumerator.get()) != VT_DISPATCH) return;
    IUnknown* unknown = V_VT(enumerator.get()) == VT_UNKNOWN ? V_UNKNOWN(enumerator.get())
                                                             : static_cast<IUnknown*>(V_DISPATCH(enumerator.get()));
    Ref<IEnumVARIANT> each;
    if (!unknown || FAILED(unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(each.out())))) return;

    for (;;) {
        Var item;
        ULONG fetched = 0;
        if (each->Next(1, item.out(), &fetched) != S_OK || fetched != 1) break;
        String serial;
        if (V_VT(item.get()) == VT_DISPATCH && V_DISPATCH(item.get())) {
            Var value;
            // Read as a late-bound host reads a property: method or property get.
            if (SUCCEEDED(callByName(V_DISPATCH(item.get()), L"SerialNumber", DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                     nullptr, 0, value.out())) &&
                V_VT(value.get()) != VT_NULL && V_VT(value.get()) != VT_EMPTY &&
                SUCCEEDED(VariantChangeType(value.get(), value.get(), 0, VT_BSTR))) {
                serial = fromBstr(V_BSTR(value.get()));
            }
        }
        serials.push_back(serial);
    }
}
}  // namespace

std::vector<String> mediaSerialNumbers() {
    std::vector<String> serials;
    ComScope com;
    collectSerials(serials);
    return serials;
}

}  // namespace qx::sysinfo::sys
