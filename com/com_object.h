#pragma once
// The base of every COM class of the library: reference counting, the
// dispatch part of its dual interface, error info and class info.
#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include "com/com_support.h"

namespace qx::com {

// IDispatch::Invoke for every member of a dual interface, driven by the type
// library's function descriptions and calling the vtable member itself.
// Errors of the call itself are reported with `source` and `iid`; no C++
// exception leaves it.
HRESULT invokeMember(ITypeInfo* vtableInfo, void* self, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                     EXCEPINFO* excepInfo, UINT* argErr, const wchar_t* source, REFIID iid) noexcept;

template <typename Itf>
class ComObject : public Itf, public ISupportErrorInfo, public IProvideClassInfo {
public:
    ComObject(REFIID iid, REFCLSID clsid, const wchar_t* source) : iid_(iid), clsid_(clsid), source_(source) {
        ++g_liveObjects;
    }
    virtual ~ComObject() { --g_liveObjects; }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == iid_) {
            *ppv = static_cast<Itf*>(this);
        } else if (riid == IID_ISupportErrorInfo) {
            *ppv = static_cast<ISupportErrorInfo*>(this);
        } else if (riid == IID_IProvideClassInfo) {
            *ppv = static_cast<IProvideClassInfo*>(this);
        } else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** ti) override {
        if (!ti) return E_POINTER;
        *ti = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return guard(source_, iid_, [&] {
            *ti = typeInfoOf(iid_);
            (*ti)->AddRef();
        });
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        HRESULT hr = S_OK;
        const HRESULT thrown = guard(source_, iid_, [&] { hr = DispGetIDsOfNames(vtableInfo(), names, count, ids); });
        return FAILED(thrown) ? thrown : hr;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excepInfo, UINT* argErr) override {
        ITypeInfo* ti = nullptr;
        const HRESULT thrown = guard(source_, iid_, [&] { ti = vtableInfo(); });
        if (FAILED(thrown)) return thrown;
        return invokeMember(ti, static_cast<Itf*>(this), id, flags, params, result, excepInfo, argErr, source_, iid_);
    }

    // ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override { return riid == iid_ ? S_OK : S_FALSE; }

    // IProvideClassInfo
    STDMETHODIMP GetClassInfo(ITypeInfo** ti) override {
        if (!ti) return E_POINTER;
        *ti = nullptr;
        return guard(source_, iid_, [&] {
            *ti = typeInfoOf(clsid_);
            (*ti)->AddRef();
        });
    }

protected:
    template <typename F>
    HRESULT call(F&& body) noexcept {
        return guard(source_, iid_, std::forward<F>(body));
    }

private:
    ITypeInfo* vtableInfo() { return vtableInfoOf(iid_); }

    LONG refs_ = 1;
    const IID& iid_;
    const CLSID& clsid_;
    const wchar_t* source_;
};

}  // namespace qx::com
