#pragma once
// The library object: every routine of the library, in interface order. It
// holds nothing itself; all state is the calling thread's LibraryState, so
// every instance on a thread sees the same state.
//
// Parameters the host passes by reference and the routine writes back are
// non-const references; the others are taken by value or const reference.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/object.h"
#include "core/library.h"
#include "core/types.h"
#include "core/variant.h"

namespace qx {

class clsSpecialFolders;
class clsVersionInfo;

class clsQXGenRtns {
public:
    clsQXGenRtns();
    ~clsQXGenRtns();
    clsQXGenRtns(const clsQXGenRtns&) = delete;
    clsQXGenRtns& operator=(const clsQXGenRtns&) = delete;

    String InitializeDll(const Variant& AppData, std::int16_t AppVerType);
    Variant StartTime();
    Variant StopTime();
    String GetElapsedTime(const String& sStartTime, const String& sStopTime);
    String ConvertSecondsToHHMMSS(std::int32_t& lSeconds);
    void WaitSeconds(std::int32_t lSeconds);
    void WaitRandomTime();
    bool IsAscii(std::uint8_t bchar);
    String FixPath(const String& Fldr);
    bool WriteIniSection(const String& Section, const String& iniStr, const String& IniFile);
    bool GetIniSection(const String& Section, String& iniStr, const String& IniFile);
    bool WriteIniString(const String& Section, const String& iniKey, const String& iniStr, const String& IniFile);
    String GetIniString(const String& Section, const String& iniKey, const String& iniStr, const String& IniFile);
    void InitXPStyles(std::int16_t XMLStyle);
    String CreateManifestFile(const String& ExeName, const String& PathName, std::int16_t Id);
    bool FileExists(const String& Filename);
    String GetVersion();
    String InitLog(const String& LogFile = String());
    void WriteLog(const String& Msg);
    String InitDebugLog(const String& DebugFile = String());
    void WriteDebugLog(const String& Msg);
    String InitErrorLog(const String& ErrorFile = String());
    void WriteErrorLog(const String& Msg);
    void WriteAppErrorLog(const String& Msg);
    void VersionType(std::int16_t value);
    std::int16_t VersionType();
    String VersionTypeString();
    void EnableAllControls(const ObjectRef& obj);
    void DisableAllControls(const ObjectRef& obj);
    void RestoreSavedControls(const ObjectRef& obj);
    void DisableSaveControls(const ObjectRef& obj);
    void CenterObject(const ObjectRef& obj);
    void CenterInControl(const ObjectRef& obj, const ObjectRef& ctl);
    void CenterInForm(const ObjectRef& obj, const ObjectRef& frm);
    String GetShortName(String stLongPath);
    String GetLongName(String sFileName);
    void GetSection(const String& Section, const String& Filename, std::vector<String>& SectionLines);
    void GetDisplayVerInfo(clsVersionInfo& V);
    std::int32_t GetUNCPath(String strDriveLetter, String& strUNCPath);
    String GetAbsolutePath(const String& RelPathName);
    void ShellAndWait(String program_name, VbAppWinStyle window_style);
    String FindFilesAPI(String& Path, const String& SearchStr);
    std::int16_t DoesExist(const String& Path);
    bool CheckScreenSize(std::int16_t iWidth, std::int16_t iHeight);
    bool CheckIfResolutionChanged();
    void HourGlassOff(const ObjectRef& MDI = nullptr);
    void HourGlassOn(const ObjectRef& MDI = nullptr);
    Variant RegQueryStringValue(std::int32_t hKey, String strValueName);
    String GetString(std::int32_t hKey, const String& strPath, const String& strValue);
    bool CreateNewKey(ERegistryClassConstants lPredefinedKey, const String& sNewKeyName);
    void SetKeyValue(ERegistryClassConstants lPredefinedKey, const String& sKeyName, const String& sValueName,
                     const Variant& vValueSetting, ERegistryValueTypes lValueType);
    std::int32_t SetValueEx(std::int32_t hKey, const String& sValueName, std::int32_t lType, const Variant& vValue);
    bool KeyExists(ERegistryClassConstants lPredefinedKey, const String& sNewKeyName);
    Variant GetValue(ERegistryClassConstants lPredefinedKey, const String& sKeyLoc, const Variant& sKeyName,
                     const Variant& sDefault);
    bool DeleteKey(ERegistryClassConstants lPredefinedKey, const String& sNewKeyName);
    bool DeleteValue(ERegistryClassConstants lPredefinedKey, const String& sNewKeyName, const String& sValue);
    void GetRegistryInfo(WindowsRegistryInfo& wri);
    FileDateTimeInfo GetFileDateTime(String sFileName);
    void SetFileDateTime(String sFileName, const FileDateTimeInfo& FileInfo);
    String WhoAmI();
    Variant GetNetworkDrives();
    void InitTraceLog(const Variant& ApplInf);
    void WriteTraceLog(const String& RtnName, std::int16_t MsgType);
    void AppCancel(bool value);
    bool AppCancel();
    String GetOSVersion();
    void CreateFolders(const String& PathName);
    bool IsAdmin();
    std::vector<String> GetHDSerialNumbers();
    std::shared_ptr<clsSpecialFolders> GetSpecialFolders();
    String StripTerminator(const String& Buffer);
    void SkinIt(const ObjectRef& obj, std::int32_t ButtonTabColor, std::int32_t ButtonTabTextColor,
                std::int32_t ButtonTabColorGradient, std::int32_t BackGroundColor = -999,
                std::int32_t BackColorToGradient = -999, std::int32_t RTFColor = -999,
                Direction lDirection = cVertical);
    void ShowButtonTabColor(const ObjectRef& Cntrl, std::int32_t NewColor);
    void ShowButtonTabTextColor(const ObjectRef& Cntrl, std::int32_t NewColor);
    void ShowFormColor(const ObjectRef& objForm, std::int32_t NewColor);
    void ShowDisplayColor(const ObjectRef& obj, std::int32_t NewColor);
    void SetListViewBackColor(const ObjectRef& Cntrl, std::int32_t BackColor);
    void SetTreeViewBackColor(const ObjectRef& Cntrl, std::int32_t BackColor);
    std::int32_t MyMsgBox(const String& Prompt, std::int32_t MsgBoxStyle = 0, const String& Title = String(),
                          std::int32_t Align = vbCenter);
    String BrowseFolder(const String& StartFolder, const ObjectRef& frm);
};

}  // namespace qx
