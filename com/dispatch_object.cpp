// A host's IDispatch seen as a core Object: members are found by name
// (through IDispatchEx for script objects, which do not answer
// GetIDsOfNames), their DISPIDs cached, and failures raised with the
// runtime's numbers.
#include <dispex.h>

#include <map>

#include "com/com_support.h"

namespace qx::com {

namespace {

class DispatchObject : public Object {
public:
    explicit DispatchObject(IDispatch* d) : disp_(d) {
        disp_->AddRef();
        ++g_liveObjects;
    }
    ~DispatchObject() override {
        if (!g_processEnding) disp_->Release();
        --g_liveObjects;
    }
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    IDispatch* dispatch() const { return disp_; }

    Variant get(const String& name) override {
        return invoke(dispid(name), DISPATCH_PROPERTYGET | DISPATCH_METHOD, {});
    }

    void set(const String& name, const Variant& value) override {
        const DISPID id = dispid(name);
        const WORD flags = value.isObject() ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
        try {
            invoke(id, flags, {value});
        } catch (const RuntimeError&) {
            if (flags != DISPATCH_PROPERTYPUTREF) throw;
            invoke(id, DISPATCH_PROPERTYPUT, {value});
        }
    }

    Variant call(const String& name, const std::vector<Variant>& args) override {
        return invoke(dispid(name), DISPATCH_METHOD | DISPATCH_PROPERTYGET, args);
    }

    String typeName() override {
        if (String n = classNameFromTypeInfo(); !n.empty()) return n;
        // Script classes expose no type information: they may answer a TypeName property.
        DISPID id = DISPID_UNKNOWN;
        if (tryDispid(u"TypeName", id)) return invoke(id, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}).toString();
        return u"Object";
    }

    std::vector<Variant> items() override {
        std::vector<Variant> out;
        if (enumerate(out)) return out;
        const std::int32_t count = get(u"Count").toInt32();
        for (std::int32_t i = 0; i < count; ++i) out.push_back(call(u"Item", {Variant(i)}));
        return out;
    }

    bool has(const String& name) override {
        DISPID id = DISPID_UNKNOWN;
        return tryDispid(name, id);
    }

private:
    DISPID dispid(const String& name) {
        DISPID id = DISPID_UNKNOWN;
        if (!tryDispid(name, id)) raise(err::MemberNotSupported);
        return id;
    }

    bool tryDispid(const String& name, DISPID& id) {
        if (auto it = cache_.find(name); it != cache_.end()) {
            id = it->second;
            return id != DISPID_UNKNOWN;
        }
        std::wstring w(name.begin(), name.end());
        LPOLESTR names[] = {w.data()};
        HRESULT hr = disp_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(hr)) {
            IDispatchEx* ex = nullptr;
            if (SUCCEEDED(disp_->QueryInterface(__uuidof(IDispatchEx), reinterpret_cast<void**>(&ex)))) {
                BSTR b = toBstr(name);
                hr = ex->GetDispID(b, fdexNameCaseInsensitive, &id);
                SysFreeString(b);
                ex->Release();
            }
        }
        if (FAILED(hr)) id = DISPID_UNKNOWN;
        cache_[name] = id;
        return id != DISPID_UNKNOWN;
    }

    Variant invoke(DISPID id, WORD flags, const std::vector<Variant>& args) {
        std::vector<VARIANT> argv(args.size());
        // Arguments go in reverse order.
        for (std::size_t i = 0; i < args.size(); ++i) toVariant(args[i], &argv[args.size() - 1 - i]);
        DISPID putId = DISPID_PROPERTYPUT;
        DISPPARAMS dp{argv.data(), nullptr, static_cast<UINT>(argv.size()), 0};
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            dp.rgdispidNamedArgs = &putId;
            dp.cNamedArgs = 1;
        }
        VARIANT result;
        VariantInit(&result);
        EXCEPINFO ei{};
        UINT argErr = 0;
        const HRESULT hr = disp_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &dp, &result, &ei, &argErr);
        for (VARIANT& a : argv) VariantClear(&a);
        if (FAILED(hr)) raiseFrom(hr, ei);
        Variant out = fromVariant(result);
        VariantClear(&result);
        return out;
    }

    [[noreturn]] static void raiseFrom(HRESULT hr, EXCEPINFO& ei) {
        if (hr == DISP_E_EXCEPTION) {
            if (ei.pfnDeferredFillIn) ei.pfnDeferredFillIn(&ei);
            const String desc = fromBstr(ei.bstrDescription);
            HRESULT code = ei.scode ? ei.scode : static_cast<HRESULT>(ei.wCode);
            SysFreeString(ei.bstrDescription);
            SysFreeString(ei.bstrSource);
            SysFreeString(ei.bstrHelpFile);
            const std::int32_t number = HRESULT_FACILITY(code) == FACILITY_CONTROL || code > 0 ? (code & 0xFFFF) : code;
            if (desc.empty()) raise(number);
            raise(number, desc);
        }
        switch (hr) {
            case DISP_E_MEMBERNOTFOUND:
            case DISP_E_UNKNOWNNAME: raise(err::MemberNotSupported);
            case DISP_E_TYPEMISMATCH: raise(err::TypeMismatch);
            case DISP_E_OVERFLOW: raise(err::Overflow);
            case DISP_E_BADINDEX: raise(err::SubscriptOutOfRange);
            case DISP_E_BADPARAMCOUNT:
            case DISP_E_PARAMNOTOPTIONAL: raise(450, u"Wrong number of arguments or invalid property assignment");
            default:
                if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) raise(hr & 0xFFFF);
                raise(static_cast<std::int32_t>(hr), u"Automation error");
        }
    }

    String classNameFromTypeInfo() {
        ITypeInfo* ti = nullptr;
        IProvideClassInfo* pci = nullptr;
        if (SUCCEEDED(disp_->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&pci)))) {
            if (FAILED(pci->GetClassInfo(&ti))) ti = nullptr;
            pci->Release();
        }
        if (!ti) {
            UINT count = 0;
            if (FAILED(disp_->GetTypeInfoCount(&count)) || count == 0 ||
                FAILED(disp_->GetTypeInfo(0, LOCALE_USER_DEFAULT, &ti)))
                return {};
        }
        BSTR name = nullptr;
        const HRESULT hr = ti->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
        ti->Release();
        if (FAILED(hr)) return {};
        String n = fromBstr(name);
        SysFreeString(name);
        // An interface named after its class carries a leading underscore.
        if (!n.empty() && n[0] == u'_') n.erase(0, 1);
        return n;
    }

    bool enumerate(std::vector<Variant>& out) {
        VARIANT result;
        VariantInit(&result);
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        const HRESULT hr = disp_->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT,
                                         DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
        if (FAILED(hr)) return false;
        IEnumVARIANT* en = nullptr;
        IUnknown* unk = (V_VT(&result) == VT_UNKNOWN || V_VT(&result) == VT_DISPATCH) ? V_UNKNOWN(&result) : nullptr;
        if (!unk || FAILED(unk->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&en)))) {
            VariantClear(&result);
            return false;
        }
        VariantClear(&result);
        VARIANT item;
        VariantInit(&item);
        ULONG fetched = 0;
        while (en->Next(1, &item, &fetched) == S_OK && fetched == 1) {
            out.push_back(fromVariant(item));
            VariantClear(&item);
        }
        en->Release();
        return true;
    }

    IDispatch* disp_;
    std::map<String, DISPID, NoCaseLess> cache_;
};

}  // namespace

ObjectRef wrapDispatch(IDispatch* d) {
    if (!d) return nullptr;
    return std::make_shared<DispatchObject>(d);
}

IDispatch* unwrapDispatch(const ObjectRef& o) {
    if (auto* d = dynamic_cast<DispatchObject*>(o.get())) return d->dispatch();
    return nullptr;
}

}  // namespace qx::com
