// Thin COM wrappers over the library's C++ classes: each member converts its
// arguments, calls the C++ routine and converts the result; errors become
// HRESULTs with error info in ComObject::call.
#include "com/classes.h"

#include <cstring>
#include <memory>
#include <utility>

#include "QXGenRtns_h.h"
#include "com/com_object.h"
#include "core/clsQXGenRtns.h"
#include "files/clsFileAccess.h"
#include "sysinfo/HDSN.h"
#include "sysinfo/clsSpecialFolders.h"
#include "sysinfo/clsVersionInfo.h"
#include "ui/clsQXResizeForm.h"

namespace qx::com {

namespace {

template <typename T>
HRESULT createObject(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    try {
        T* obj = new T();
        const HRESULT hr = obj->QueryInterface(riid, ppv);
        obj->Release();
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const RuntimeError& e) {
        return reportError(L"QXGenRtns", riid, e.number(), e.description());
    } catch (const HResultError& e) {
        return e.hr;
    } catch (...) {
        return E_UNEXPECTED;  // the last guard: nothing thrown reaches the class factory's caller
    }
}

qx::FILETIME fromCom(const ::QX_FILETIME& f) {
    return {static_cast<std::int32_t>(f.dwLowDateTime), static_cast<std::int32_t>(f.dwHighDateTime)};
}
::QX_FILETIME toCom(const qx::FILETIME& f) {
    return {static_cast<LONG>(f.dwLowDateTime), static_cast<LONG>(f.dwHighDateTime)};
}
qx::FileDateTimeInfo fromCom(const ::FileDateTimeInfo& f) { return {fromCom(f.ctime), fromCom(f.atime), fromCom(f.wtime)}; }
void toCom(const qx::FileDateTimeInfo& f, ::FileDateTimeInfo* out) {
    if (!out) throw HResultError{E_POINTER};
    out->ctime = toCom(f.ctime);
    out->atime = toCom(f.atime);
    out->wtime = toCom(f.wtime);
}

#define QX_BSTR_PROPERTY(Name)                                                                          \
    STDMETHODIMP get_##Name(BSTR* result) override { return call([&] { ret(result, impl_->Name()); }); } \
    STDMETHODIMP put_##Name(BSTR* value) override { return call([&] { impl_->Name(in(value)); }); }

// ---------------------------------------------------------------------------
class ComSpecialFolders : public ComObject<_clsSpecialFolders> {
public:
    explicit ComSpecialFolders(std::shared_ptr<clsSpecialFolders> impl = std::make_shared<clsSpecialFolders>())
        : ComObject(IID__clsSpecialFolders, CLSID_clsSpecialFolders, L"QXGenRtns.clsSpecialFolders"),
          impl_(std::move(impl)) {}

    QX_BSTR_PROPERTY(SystemDrive)
    QX_BSTR_PROPERTY(ApplicationDataFolderLocalReg)
    QX_BSTR_PROPERTY(ApplicationDataFolderLocal)
    QX_BSTR_PROPERTY(ApplicationDataFolderRoamingReg)
    QX_BSTR_PROPERTY(ApplicationDataFolderRoaming)
    QX_BSTR_PROPERTY(ProgramFilesFolder)
    QX_BSTR_PROPERTY(CommonFilesFolder)
    QX_BSTR_PROPERTY(UserProfileFolder)
    QX_BSTR_PROPERTY(WindowsFolder)
    QX_BSTR_PROPERTY(WindowsSystemFolder)
    QX_BSTR_PROPERTY(UserProfileTempFolder)
    QX_BSTR_PROPERTY(AllUsersAppDataFolder)
    STDMETHODIMP get_UsingAppData(VARIANT_BOOL* result) override {
        return call([&] { ret(result, impl_->UsingAppData()); });
    }
    STDMETHODIMP put_UsingAppData(VARIANT_BOOL* value) override {
        return call([&] { impl_->UsingAppData(in(value) != VARIANT_FALSE); });
    }

private:
    std::shared_ptr<clsSpecialFolders> impl_;
};

// ---------------------------------------------------------------------------
class ComVersionInfo : public ComObject<_clsVersionInfo> {
public:
    ComVersionInfo()
        : ComObject(IID__clsVersionInfo, CLSID_clsVersionInfo, L"QXGenRtns.clsVersionInfo"),
          impl_(std::make_shared<clsVersionInfo>()) {}

    QX_BSTR_PROPERTY(Filename)
    QX_BSTR_PROPERTY(Directory)
    QX_BSTR_PROPERTY(FullFileName)
    QX_BSTR_PROPERTY(StrucVer)
    QX_BSTR_PROPERTY(FileVer)
    QX_BSTR_PROPERTY(ProdVer)
    QX_BSTR_PROPERTY(FileFlags)
    QX_BSTR_PROPERTY(FileOS)
    QX_BSTR_PROPERTY(FileType)
    QX_BSTR_PROPERTY(FileSubType)

private:
    std::shared_ptr<clsVersionInfo> impl_;
};

#undef QX_BSTR_PROPERTY

// A version-information record reached through its interface, whoever implements it.
#define QX_VERSION_FIELDS(X) \
    X(Filename) X(Directory) X(FullFileName) X(StrucVer) X(FileVer) X(ProdVer) X(FileFlags) X(FileOS) X(FileType) X(FileSubType)

void readRecord(_clsVersionInfo* from, clsVersionInfo& to) {
#define QX_READ(Name)                               \
    {                                               \
        BSTR b = nullptr;                           \
        throwIfFailed(from->get_##Name(&b));        \
        to.Name(fromBstr(b));                       \
        SysFreeString(b);                           \
    }
    QX_VERSION_FIELDS(QX_READ)
#undef QX_READ
}

void writeRecord(const clsVersionInfo& from, _clsVersionInfo* to) {
#define QX_WRITE(Name)                              \
    {                                               \
        BSTR b = toBstr(from.Name());               \
        const HRESULT hr = to->put_##Name(&b);      \
        SysFreeString(b);                           \
        throwIfFailed(hr);                          \
    }
    QX_VERSION_FIELDS(QX_WRITE)
#undef QX_WRITE
}
#undef QX_VERSION_FIELDS

// ---------------------------------------------------------------------------
class ComFileAccess : public ComObject<_clsFileAccess> {
public:
    ComFileAccess() : ComObject(IID__clsFileAccess, CLSID_clsFileAccess, L"QXGenRtns.clsFileAccess") {}

    STDMETHODIMP get_FileHandle(LONG* result) override { return call([&] { ret(result, impl_.FileHandle()); }); }
    STDMETHODIMP get_Filename(BSTR* result) override { return call([&] { ret(result, impl_.Filename()); }); }
    STDMETHODIMP get_IsOpen(VARIANT_BOOL* result) override { return call([&] { ret(result, impl_.IsOpen()); }); }
    STDMETHODIMP get_AutoFlush(VARIANT_BOOL* result) override {
        return call([&] { ret(result, impl_.AutoFlush()); });
    }
    STDMETHODIMP put_AutoFlush(VARIANT_BOOL NewVal) override {
        return call([&] { impl_.AutoFlush(NewVal != VARIANT_FALSE); });
    }
    STDMETHODIMP OpenFile(BSTR sFileName, short* result) override {
        return call([&] { ret(result, impl_.OpenFile(fromBstr(sFileName))); });
    }
    STDMETHODIMP OpenFileReadOnly(BSTR sFileName, short* result) override {
        return call([&] { ret(result, impl_.OpenFileReadOnly(fromBstr(sFileName))); });
    }
    STDMETHODIMP CloseFile() override { return call([&] { impl_.CloseFile(); }); }
    STDMETHODIMP FileSize(double* result) override { return call([&] { ret(result, impl_.FileSize()); }); }
    STDMETHODIMP ReadBytes(LONG ByteCount, VARIANT* result) override {
        return call([&] {
            if (!result) throw HResultError{E_POINTER};
            const std::vector<std::uint8_t> bytes = impl_.ReadBytes(ByteCount);
            // A byte array (VT_ARRAY | VT_UI1) from 0, as a VB6 Byte() receives it.
            SAFEARRAY* sa = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
            if (!sa) throw std::bad_alloc();
            void* data = nullptr;
            if (FAILED(SafeArrayAccessData(sa, &data))) {
                SafeArrayDestroy(sa);
                throw HResultError{E_FAIL};
            }
            std::memcpy(data, bytes.data(), bytes.size());
            SafeArrayUnaccessData(sa);
            VariantInit(result);
            V_VT(result) = VT_ARRAY | VT_UI1;
            V_ARRAY(result) = sa;
        });
    }
    STDMETHODIMP WriteBytes(SAFEARRAY** DataBytes) override {
        return call([&] {
            if (!DataBytes) throw HResultError{E_POINTER};
            std::vector<std::uint8_t> bytes;
            if (SAFEARRAY* sa = *DataBytes) {
                const ULONG count = ArrayView(sa).count();
                void* data = nullptr;
                throwIfFailed(SafeArrayAccessData(sa, &data));
                const auto* p = static_cast<const std::uint8_t*>(data);
                bytes.assign(p, p + count);
                SafeArrayUnaccessData(sa);
            }
            impl_.WriteBytes(bytes);
        });
    }
    STDMETHODIMP Flush() override { return call([&] { impl_.Flush(); }); }
    STDMETHODIMP SeekAbsolute(LONG HighPos, LONG LowPos) override {
        return call([&] { impl_.SeekAbsolute(HighPos, LowPos); });
    }
    STDMETHODIMP SeekRelative(LONG Offset) override { return call([&] { impl_.SeekRelative(Offset); }); }
    STDMETHODIMP ChangeFileTime(::FileDateTimeInfo* FileInfo, LONG* result) override {
        return call([&] { ret(result, impl_.ChangeFileTime(fromCom(in(FileInfo)))); });
    }
    STDMETHODIMP ReturnFileTime(::FileDateTimeInfo* FileInfo, LONG* result) override {
        return call([&] {
            qx::FileDateTimeInfo info = fromCom(in(FileInfo));
            const std::int32_t r = impl_.ReturnFileTime(info);
            toCom(info, FileInfo);
            ret(result, r);
        });
    }

private:
    clsFileAccess impl_;
};

// ---------------------------------------------------------------------------
class ComHDSN : public ComObject<_HDSN> {
public:
    ComHDSN() : ComObject(IID__HDSN, CLSID_HDSN, L"QXGenRtns.HDSN") {}

    STDMETHODIMP get_Copyright(BSTR* result) override { return call([&] { ret(result, impl_.Copyright()); }); }
    STDMETHODIMP GetModelNumber(BSTR* result) override { return call([&] { ret(result, impl_.GetModelNumber()); }); }
    STDMETHODIMP GetSerialNumber(BSTR* result) override {
        return call([&] { ret(result, impl_.GetSerialNumber()); });
    }
    STDMETHODIMP GetFirmwareRevision(BSTR* result) override {
        return call([&] { ret(result, impl_.GetFirmwareRevision()); });
    }
    STDMETHODIMP put_CurrentDrive(BYTE vData) override { return call([&] { impl_.CurrentDrive(vData); }); }
    STDMETHODIMP get_CurrentDrive(BYTE* result) override { return call([&] { ret(result, impl_.CurrentDrive()); }); }
    STDMETHODIMP get_Platform(BSTR* result) override { return call([&] { ret(result, impl_.Platform()); }); }

private:
    HDSN impl_;
};

// ---------------------------------------------------------------------------
class ComResizeForm : public ComObject<_clsQXResizeForm> {
public:
    ComResizeForm() : ComObject(IID__clsQXResizeForm, CLSID_clsQXResizeForm, L"QXGenRtns.clsQXResizeForm") {}

    STDMETHODIMP InitResizeArray(IDispatch** frm) override {
        return call([&] { impl_.InitResizeArray(inObject(frm)); });
    }
    STDMETHODIMP ResizeControls(IDispatch** frm) override {
        return call([&] { impl_.ResizeControls(inObject(frm)); });
    }

private:
    clsQXResizeForm impl_;
};

// ---------------------------------------------------------------------------
class ComQXGenRtns : public ComObject<_clsQXGenRtns> {
public:
    ComQXGenRtns() : ComObject(IID__clsQXGenRtns, CLSID_clsQXGenRtns, L"QXGenRtns.clsQXGenRtns") {}

    STDMETHODIMP InitializeDll(VARIANT* AppData, short* AppVerType, BSTR* result) override {
        return call([&] { ret(result, impl_.InitializeDll(inVariant(AppData), in(AppVerType))); });
    }
    STDMETHODIMP get_StartTime(VARIANT* result) override { return call([&] { retVariant(result, impl_.StartTime()); }); }
    STDMETHODIMP get_StopTime(VARIANT* result) override { return call([&] { retVariant(result, impl_.StopTime()); }); }
    STDMETHODIMP GetElapsedTime(BSTR* sStartTime, BSTR* sStopTime, BSTR* result) override {
        return call([&] { ret(result, impl_.GetElapsedTime(in(sStartTime), in(sStopTime))); });
    }
    STDMETHODIMP ConvertSecondsToHHMMSS(LONG* lSeconds, BSTR* result) override {
        return call([&] {
            std::int32_t seconds = in(lSeconds);
            const String text = impl_.ConvertSecondsToHHMMSS(seconds);
            *lSeconds = seconds;
            ret(result, text);
        });
    }
    STDMETHODIMP WaitSeconds(LONG* lSeconds) override { return call([&] { impl_.WaitSeconds(in(lSeconds)); }); }
    STDMETHODIMP WaitRandomTime() override { return call([&] { impl_.WaitRandomTime(); }); }
    STDMETHODIMP IsAscii(BYTE* bchar, VARIANT_BOOL* result) override {
        return call([&] { ret(result, impl_.IsAscii(in(bchar))); });
    }
    STDMETHODIMP FixPath(BSTR* Fldr, BSTR* result) override { return call([&] { ret(result, impl_.FixPath(in(Fldr))); }); }
    STDMETHODIMP WriteIniSection(BSTR* Section, BSTR* iniStr, BSTR* IniFile, VARIANT_BOOL* result) override {
        return call([&] { ret(result, impl_.WriteIniSection(in(Section), in(iniStr), in(IniFile))); });
    }
    STDMETHODIMP GetIniSection(BSTR* Section, BSTR* iniStr, BSTR* IniFile, VARIANT_BOOL* result) override {
        return call([&] {
            String body = in(iniStr);
            const bool found = impl_.GetIniSection(in(Section), body, in(IniFile));
            out(iniStr, body);
            ret(result, found);
        });
    }
    STDMETHODIMP WriteIniString(BSTR* Section, BSTR* iniKey, BSTR* iniStr, BSTR* IniFile, VARIANT_BOOL* result) override {
        return call([&] { ret(result, impl_.WriteIniString(in(Section), in(iniKey), in(iniStr), in(IniFile))); });
    }
    STDMETHODIMP GetIniString(BSTR* Section, BSTR* iniKey, BSTR* iniStr, BSTR* IniFile, BSTR* result) override {
        return call([&] { ret(result, impl_.GetIniString(in(Section), in(iniKey), in(iniStr), in(IniFile))); });
    }
    STDMETHODIMP InitXPStyles(short* XMLStyle) override { return call([&] { impl_.InitXPStyles(in(XMLStyle)); }); }
    STDMETHODIMP CreateManifestFile(BSTR* ExeName, BSTR* PathName, short* Id, BSTR* result) override {
        return call([&] { ret(result, impl_.CreateManifestFile(in(ExeName), in(PathName), in(Id))); });
    }
    STDMETHODIMP FileExists(BSTR* Filename, VARIANT_BOOL* result) override {
        return call([&] { ret(result, impl_.FileExists(in(Filename))); });
    }
    STDMETHODIMP get_GetVersion(BSTR* result) override { return call([&] { ret(result, impl_.GetVersion()); }); }
    STDMETHODIMP InitLog(BSTR* LogFile, BSTR* result) override {
        return call([&] { ret(result, impl_.InitLog(in(LogFile))); });
    }
    STDMETHODIMP WriteLog(BSTR* Msg) override { return call([&] { impl_.WriteLog(in(Msg)); }); }
    STDMETHODIMP InitDebugLog(BSTR* DebugFile, BSTR* result) override {
        return call([&] { ret(result, impl_.InitDebugLog(in(DebugFile))); });
    }
    STDMETHODIMP WriteDebugLog(BSTR* Msg) override { return call([&] { impl_.WriteDebugLog(in(Msg)); }); }
    STDMETHODIMP InitErrorLog(BSTR* ErrorFile, BSTR* result) override {
        return call([&] { ret(result, impl_.InitErrorLog(in(ErrorFile))); });
    }
    STDMETHODIMP WriteErrorLog(BSTR* Msg) override { return call([&] { impl_.WriteErrorLog(in(Msg)); }); }
    STDMETHODIMP WriteAppErrorLog(BSTR* Msg) override { return call([&] { impl_.WriteAppErrorLog(in(Msg)); }); }
    STDMETHODIMP put_VersionType(short* value) override { return call([&] { impl_.VersionType(in(value)); }); }
    STDMETHODIMP get_VersionType(short* result) override { return call([&] { ret(result, impl_.VersionType()); }); }
    STDMETHODIMP get_VersionTypeString(BSTR* result) override {
        return call([&] { ret(result, impl_.VersionTypeString()); });
    }
    STDMETHODIMP EnableAllControls(IDispatch** obj) override {
        return call([&] { impl_.EnableAllControls(inObject(obj)); });
    }
    STDMETHODIMP DisableAllControls(IDispatch** obj) override {
        return call([&] { impl_.DisableAllControls(inObject(obj)); });
    }
    STDMETHODIMP RestoreSavedControls(IDispatch** obj) override {
        return call([&] { impl_.RestoreSavedControls(inObject(obj)); });
    }
    STDMETHODIMP DisableSaveControls(IDispatch** obj) override {
        return call([&] { impl_.DisableSaveControls(inObject(obj)); });
    }
    STDMETHODIMP CenterObject(IDispatch** obj) override { return call([&] { impl_.CenterObject(inObject(obj)); }); }
    STDMETHODIMP CenterInControl(IDispatch** obj, IDispatch** ctl) override {
        return call([&] { impl_.CenterInControl(inObject(obj), inObject(ctl)); });
    }
    STDMETHODIMP CenterInForm(IDispatch** obj, IDispatch** frm) override {
        return call([&] { impl_.CenterInForm(inObject(obj), inObject(frm)); });
    }
    STDMETHODIMP GetShortName(BSTR stLongPath, BSTR* result) override {
        return call([&] { ret(result, impl_.GetShortName(fromBstr(stLongPath))); });
    }
    STDMETHODIMP GetLongName(BSTR sFileName, BSTR* result) override {
        return call([&] { ret(result, impl_.GetLongName(fromBstr(sFileName))); });
    }
    STDMETHODIMP GetSection(BSTR* Section, BSTR* Filename, SAFEARRAY** SectionLines) override {
        return call([&] {
            if (!SectionLines) throw HResultError{E_POINTER};
            std::vector<String> lines = fromSafeArray(*SectionLines);
            impl_.GetSection(in(Section), in(Filename), lines);
            SAFEARRAY* sa = toSafeArray(lines);
            SafeArrayDestroy(*SectionLines);
            *SectionLines = sa;
        });
    }
    STDMETHODIMP GetDisplayVerInfo(_clsVersionInfo** V) override {
        return call([&] {
            if (!V) throw HResultError{E_POINTER};
            if (!*V) raise(err::ObjectNotSet);
            clsVersionInfo record;
            readRecord(*V, record);
            impl_.GetDisplayVerInfo(record);
            writeRecord(record, *V);
        });
    }
    STDMETHODIMP GetUNCPath(BSTR strDriveLetter, BSTR* strUNCPath, LONG* result) override {
        return call([&] {
            String unc = in(strUNCPath);
            const std::int32_t status = impl_.GetUNCPath(fromBstr(strDriveLetter), unc);
            out(strUNCPath, unc);
            ret(result, status);
        });
    }
    STDMETHODIMP GetAbsolutePath(BSTR* RelPathName, BSTR* result) override {
        return call([&] { ret(result, impl_.GetAbsolutePath(in(RelPathName))); });
    }
    STDMETHODIMP ShellAndWait(BSTR program_name, LONG window_style) override {
        return call([&] { impl_.ShellAndWait(fromBstr(program_name), static_cast<VbAppWinStyle>(window_style)); });
    }
    STDMETHODIMP FindFilesAPI(BSTR* Path, BSTR* SearchStr, BSTR* result) override {
        return call([&] {
            String path = in(Path);
            const String found = impl_.FindFilesAPI(path, in(SearchStr));
            out(Path, path);
            ret(result, found);
        });
    }
    STDMETHODIMP DoesExist(BSTR* Path, short* result) override {
        return call([&] { ret(result, impl_.DoesExist(in(Path))); });
    }
    STDMETHODIMP CheckScreenSize(short* iWidth, short* iHeight, VARIANT_BOOL* result) override {
        return call([&] { ret(result, impl_.CheckScreenSize(in(iWidth), in(iHeight))); });
    }
    STDMETHODIMP CheckIfResolutionChanged(VARIANT_BOOL* result) override {
        return call([&] { ret(result, impl_.CheckIfResolutionChanged()); });
    }
    // The form is optional: a caller that leaves it out passes Nothing.
    STDMETHODIMP HourGlassOff(IDispatch** MDI) override {
        return call([&] { impl_.HourGlassOff(MDI ? wrapDispatch(*MDI) : nullptr); });
    }
    STDMETHODIMP HourGlassOn(IDispatch** MDI) override {
        return call([&] { impl_.HourGlassOn(MDI ? wrapDispatch(*MDI) : nullptr); });
    }
    STDMETHODIMP RegQueryStringValue(LONG hKey, BSTR strValueName, VARIANT* result) override {
        return call([&] { retVariant(result, impl_.RegQueryStringValue(hKey, fromBstr(strValueName))); });
    }
    STDMETHODIMP GetString(LONG* hKey, BSTR* strPath, BSTR* strValue, BSTR* result) override {
        return call([&] { ret(result, impl_.GetString(in(hKey), in(strPath), in(strValue))); });
    }
    STDMETHODIMP CreateNewKey(::ERegistryClassConstants* lPredefinedKey, BSTR* sNewKeyName, VARIANT_BOOL* result) override {
        return call([&] { ret(result, impl_.CreateNewKey(key(lPredefinedKey), in(sNewKeyName))); });
    }
    STDMETHODIMP SetKeyValue(::ERegistryClassConstants* lPredefinedKey, BSTR* sKeyName, BSTR* sValueName,
                             VARIANT* vValueSetting, ::ERegistryValueTypes* lValueType) override {
        return call([&] {
            impl_.SetKeyValue(key(lPredefinedKey), in(sKeyName), in(sValueName), inVariant(vValueSetting),
                              static_cast<qx::ERegistryValueTypes>(in(lValueType)));
        });
    }
    STDMETHODIMP SetValueEx(LONG hKey, BSTR* sValueName, LONG* lType, VARIANT* vValue, LONG* result) override {
        return call([&] { ret(result, impl_.SetValueEx(hKey, in(sValueName), in(lType), inVariant(vValue))); });
    }
    STDMETHODIMP KeyExists(::ERegistryClassConstants* lPredefinedKey, BSTR* sNewKeyName, VARIANT_BOOL* result) override {
        return call([&] { ret(result, impl_.KeyExists(key(lPredefinedKey), in(sNewKeyName))); });
    }
    STDMETHODIMP GetValue(::ERegistryClassConstants* lPredefinedKey, BSTR* sKeyLoc, VARIANT* sKeyName, VARIANT* sDefault,
                          VARIANT* result) override {
        return call([&] {
            retVariant(result, impl_.GetValue(key(lPredefinedKey), in(sKeyLoc), inVariant(sKeyName), inVariant(sDefault)));
        });
    }
    STDMETHODIMP DeleteKey(::ERegistryClassConstants* lPredefinedKey, BSTR* sNewKeyName, VARIANT_BOOL* result) override {
        return call([&] { ret(result, impl_.DeleteKey(key(lPredefinedKey), in(sNewKeyName))); });
    }
    STDMETHODIMP DeleteValue(::ERegistryClassConstants* lPredefinedKey, BSTR* sNewKeyName, BSTR* sValue,
                             VARIANT_BOOL* result) override {
        return call([&] { ret(result, impl_.DeleteValue(key(lPredefinedKey), in(sNewKeyName), in(sValue))); });
    }
    // A typed host passes a WindowsRegistryInfo record inside the Variant and
    // gets its fields filled; a script passes any variable (or none) and gets
    // back an array of the four texts in the record's order.
    STDMETHODIMP GetRegistryInfo(VARIANT* wri) override {
        return call([&] {
            if (!wri) throw HResultError{E_POINTER};
            VARIANT* target = wri;
            while (V_VT(target) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(target)) target = V_VARIANTREF(target);
            ::WindowsRegistryInfo* record = registryRecord(target);
            qx::WindowsRegistryInfo info;
            if (record) {
                info = {fromBstr(record->RegOwner), fromBstr(record->RegCompany), fromBstr(record->Product),
                        fromBstr(record->ProductId)};
            } else if ((V_VT(target) & VT_ARRAY) != 0) {
                const Variant given = fromVariant(*target);
                if (given.toArray().size() == 4) {
                    const auto& a = given.toArray();
                    info = {a[0].toString(), a[1].toString(), a[2].toString(), a[3].toString()};
                }
            }
            impl_.GetRegistryInfo(info);
            if (record) {
                out(&record->RegOwner, info.RegOwner);
                out(&record->RegCompany, info.RegCompany);
                out(&record->Product, info.Product);
                out(&record->ProductId, info.ProductId);
                return;
            }
            VARIANT result;
            retVariant(&result, Variant(Variant::Array{Variant(info.RegOwner), Variant(info.RegCompany),
                                                       Variant(info.Product), Variant(info.ProductId)}));
            if ((V_VT(target) & VT_BYREF) != 0 && V_VT(target) != (VT_BYREF | VT_VARIANT)) {
                VariantClear(&result);
                raise(err::TypeMismatch);
            }
            VariantClear(target);
            *target = result;
        });
    }
    static ::WindowsRegistryInfo* registryRecord(VARIANT* v) {
        if ((V_VT(v) & VT_TYPEMASK) != VT_RECORD) return nullptr;
        // {0967F987-39CF-4DB4-ABA0-97E78D9597AA}, the record's identity in the type library.
        static const GUID kRecord = {0x0967F987, 0x39CF, 0x4DB4, {0xAB, 0xA0, 0x97, 0xE7, 0x8D, 0x95, 0x97, 0xAA}};
        GUID g{};
        IRecordInfo* ri = V_RECORDINFO(v);
        if (!ri || FAILED(ri->GetGuid(&g)) || g != kRecord || !V_RECORD(v)) raise(err::TypeMismatch);
        return static_cast<::WindowsRegistryInfo*>(V_RECORD(v));
    }
    STDMETHODIMP GetFileDateTime(BSTR sFileName, ::FileDateTimeInfo* result) override {
        return call([&] { toCom(impl_.GetFileDateTime(fromBstr(sFileName)), result); });
    }
    STDMETHODIMP SetFileDateTime(BSTR sFileName, ::FileDateTimeInfo* FileInfo) override {
        return call([&] { impl_.SetFileDateTime(fromBstr(sFileName), fromCom(in(FileInfo))); });
    }
    STDMETHODIMP WhoAmI(BSTR* result) override { return call([&] { ret(result, impl_.WhoAmI()); }); }
    STDMETHODIMP GetNetworkDrives(VARIANT* result) override {
        return call([&] { retVariant(result, impl_.GetNetworkDrives()); });
    }
    STDMETHODIMP InitTraceLog(VARIANT* ApplInf) override { return call([&] { impl_.InitTraceLog(inVariant(ApplInf)); }); }
    STDMETHODIMP WriteTraceLog(BSTR* RtnName, short* MsgType) override {
        return call([&] { impl_.WriteTraceLog(in(RtnName), in(MsgType)); });
    }
    STDMETHODIMP put_AppCancel(VARIANT_BOOL* value) override {
        return call([&] { impl_.AppCancel(in(value) != VARIANT_FALSE); });
    }
    STDMETHODIMP get_AppCancel(VARIANT_BOOL* result) override { return call([&] { ret(result, impl_.AppCancel()); }); }
    STDMETHODIMP GetOSVersion(BSTR* result) override { return call([&] { ret(result, impl_.GetOSVersion()); }); }
    STDMETHODIMP CreateFolders(BSTR* PathName) override { return call([&] { impl_.CreateFolders(in(PathName)); }); }
    STDMETHODIMP IsAdmin(VARIANT_BOOL* result) override { return call([&] { ret(result, impl_.IsAdmin()); }); }
    STDMETHODIMP GetHDSerialNumbers(SAFEARRAY** result) override {
        return call([&] {
            if (!result) throw HResultError{E_POINTER};
            *result = toSafeArray(impl_.GetHDSerialNumbers());
        });
    }
    STDMETHODIMP GetSpecialFolders(_clsSpecialFolders** result) override {
        return call([&] {
            if (!result) throw HResultError{E_POINTER};
            *result = new ComSpecialFolders(impl_.GetSpecialFolders());
        });
    }
    STDMETHODIMP StripTerminator(BSTR* Buffer, BSTR* result) override {
        return call([&] { ret(result, impl_.StripTerminator(in(Buffer))); });
    }
    STDMETHODIMP SkinIt(IDispatch** obj, LONG* ButtonTabColor, LONG* ButtonTabTextColor, LONG* ButtonTabColorGradient,
                        LONG* BackGroundColor, LONG* BackColorToGradient, LONG* RTFColor, ::Direction* lDirection) override {
        return call([&] {
            impl_.SkinIt(inObject(obj), in(ButtonTabColor), in(ButtonTabTextColor), in(ButtonTabColorGradient),
                         in(BackGroundColor), in(BackColorToGradient), in(RTFColor),
                         static_cast<qx::Direction>(in(lDirection)));
        });
    }
    STDMETHODIMP ShowButtonTabColor(IDispatch** Cntrl, LONG* NewColor) override {
        return call([&] { impl_.ShowButtonTabColor(inObject(Cntrl), in(NewColor)); });
    }
    STDMETHODIMP ShowButtonTabTextColor(IDispatch** Cntrl, LONG* NewColor) override {
        return call([&] { impl_.ShowButtonTabTextColor(inObject(Cntrl), in(NewColor)); });
    }
    STDMETHODIMP ShowFormColor(IDispatch** objForm, LONG* NewColor) override {
        return call([&] { impl_.ShowFormColor(inObject(objForm), in(NewColor)); });
    }
    STDMETHODIMP ShowDisplayColor(IDispatch** obj, LONG* NewColor) override {
        return call([&] { impl_.ShowDisplayColor(inObject(obj), in(NewColor)); });
    }
    STDMETHODIMP SetListViewBackColor(IDispatch** Cntrl, LONG BackColor) override {
        return call([&] { impl_.SetListViewBackColor(inObject(Cntrl), BackColor); });
    }
    STDMETHODIMP SetTreeViewBackColor(IDispatch** Cntrl, LONG BackColor) override {
        return call([&] { impl_.SetTreeViewBackColor(inObject(Cntrl), BackColor); });
    }
    STDMETHODIMP MyMsgBox(BSTR* Prompt, LONG* MsgBoxStyle, BSTR* Title, LONG* Align, LONG* result) override {
        return call([&] { ret(result, impl_.MyMsgBox(in(Prompt), in(MsgBoxStyle), in(Title), in(Align))); });
    }
    STDMETHODIMP BrowseFolder(BSTR* StartFolder, IDispatch** frm, BSTR* result) override {
        return call([&] { ret(result, impl_.BrowseFolder(in(StartFolder), inObject(frm))); });
    }

private:
    static qx::ERegistryClassConstants key(::ERegistryClassConstants* k) {
        return static_cast<qx::ERegistryClassConstants>(static_cast<std::uint32_t>(in(k)));
    }

    clsQXGenRtns impl_;
};

const ClassEntry kClasses[] = {
    {L"clsQXGenRtns", &createObject<ComQXGenRtns>},
    {L"clsFileAccess", &createObject<ComFileAccess>},
    {L"HDSN", &createObject<ComHDSN>},
    {L"clsQXResizeForm", &createObject<ComResizeForm>},
    {L"clsVersionInfo", &createObject<ComVersionInfo>},
    {L"clsSpecialFolders", &createObject<ComSpecialFolders>},
};

const ClassEntry* entryNamed(const std::wstring& name) {
    for (const ClassEntry& e : kClasses)
        if (name == e.name) return &e;
    return nullptr;
}

// Type information and its attributes, given back when done.
class TypeInfo {
public:
    TypeInfo() = default;
    ~TypeInfo() {
        if (attr_) info_->ReleaseTypeAttr(attr_);
        if (info_) info_->Release();
    }
    TypeInfo(const TypeInfo&) = delete;
    TypeInfo& operator=(const TypeInfo&) = delete;
    ITypeInfo** put() { return &info_; }
    ITypeInfo* get() const { return info_; }
    const TYPEATTR& attr() {
        if (!attr_) throwIfFailed(info_->GetTypeAttr(&attr_));
        return *attr_;
    }
    std::wstring name() const {
        BSTR text = nullptr;
        throwIfFailed(info_->GetDocumentation(MEMBERID_NIL, &text, nullptr, nullptr, nullptr));
        std::wstring out(text ? text : L"", text ? SysStringLen(text) : 0);
        SysFreeString(text);
        return out;
    }

private:
    ITypeInfo* info_ = nullptr;
    TYPEATTR* attr_ = nullptr;
};

// The interface a coclass marks [default].
void readDefaultInterface(TypeInfo& coclass, CoClass& out) {
    const WORD count = coclass.attr().cImplTypes;
    for (UINT i = 0; i < count; ++i) {
        INT flags = 0;
        throwIfFailed(coclass.get()->GetImplTypeFlags(i, &flags));
        if (!(flags & IMPLTYPEFLAG_FDEFAULT) || (flags & IMPLTYPEFLAG_FSOURCE)) continue;
        HREFTYPE ref = 0;
        throwIfFailed(coclass.get()->GetRefTypeOfImplType(i, &ref));
        TypeInfo itf;
        throwIfFailed(coclass.get()->GetRefTypeInfo(ref, itf.put()));
        out.iid = itf.attr().guid;
        out.interfaceName = itf.name();
        return;
    }
    throw HResultError{TYPE_E_ELEMENTNOTFOUND};
}

}  // namespace

const ClassEntry* classTable(std::size_t& count) {
    count = sizeof(kClasses) / sizeof(kClasses[0]);
    return kClasses;
}

namespace {
std::vector<CoClass> readCoClasses() {
    ITypeLib* lib = typeLib();
    std::vector<CoClass> out;
    const UINT count = lib->GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i) {
        TYPEKIND kind = TKIND_MAX;
        throwIfFailed(lib->GetTypeInfoType(i, &kind));
        if (kind != TKIND_COCLASS) continue;
        TypeInfo info;
        throwIfFailed(lib->GetTypeInfo(i, info.put()));
        CoClass c;
        c.clsid = info.attr().guid;
        c.name = info.name();
        readDefaultInterface(info, c);
        c.entry = entryNamed(c.name);
        out.push_back(std::move(c));
    }
    return out;
}
}  // namespace

// Read once, like the type library itself; a failed read is tried again next time.
std::vector<CoClass> coClasses() {
    static const std::vector<CoClass> classes = readCoClasses();
    return classes;
}

}  // namespace qx::com
