#include "core/clsQXGenRtns.h"

#include "core/error.h"
#include "core/hostapp.h"
#include "core/library.h"
#include "core/screen.h"
#include "core/state.h"
#include "files/file_times.h"
#include "files/paths.h"
#include "files/search.h"
#include "ini/ini_engine.h"
#include "launch/launch.h"
#include "logging/logs.h"
#include "logging/trace.h"
#include "registry/registry.h"
#include "sysinfo/special_folders.h"
#include "sysinfo/clsSpecialFolders.h"
#include "sysinfo/clsVersionInfo.h"
#include "sysinfo/display.h"
#include "sysinfo/disk_identity.h"
#include "sysinfo/network_drives.h"
#include "sysinfo/osinfo.h"
#include "sysinfo/version_info.h"
#include "timing/elapsed.h"
#include "timing/timing.h"
#include "ui/browse_folder.h"
#include "ui/busy.h"
#include "ui/centring.h"
#include "ui/controls.h"
#include "ui/manifest.h"
#include "ui/msgbox_form.h"
#include "ui/skin.h"

namespace qx {

clsQXGenRtns::clsQXGenRtns() { state().SavedControls = std::make_shared<SavedControlCollection>(); }

clsQXGenRtns::~clsQXGenRtns() { state().SavedControls.reset(); }

String clsQXGenRtns::InitializeDll(const Variant& AppData, std::int16_t AppVerType) {
    return initializeLibrary(AppData, AppVerType);
}

String clsQXGenRtns::GetVersion() { return getVersion(); }

void clsQXGenRtns::VersionType(std::int16_t value) { state().VersionType = value; }
std::int16_t clsQXGenRtns::VersionType() { return state().VersionType; }
String clsQXGenRtns::VersionTypeString() { return state().VersionTypeString; }
void clsQXGenRtns::AppCancel(bool value) { state().AppCancel = value; }
bool clsQXGenRtns::AppCancel() { return state().AppCancel; }

String clsQXGenRtns::ConvertSecondsToHHMMSS(std::int32_t& lSeconds) { return timing::secondsToHHMMSS(lSeconds); }

void clsQXGenRtns::HourGlassOff(const ObjectRef& MDI) { ui::setBusyPointer(MDI, false); }
void clsQXGenRtns::HourGlassOn(const ObjectRef& MDI) { ui::setBusyPointer(MDI, true); }

bool clsQXGenRtns::IsAscii(std::uint8_t bchar) { return files::isAscii(bchar); }

String clsQXGenRtns::FixPath(const String& Fldr) { return files::fixPath(Fldr); }

bool clsQXGenRtns::FileExists(const String& Filename) { return files::fileExists(Filename); }

String clsQXGenRtns::GetShortName(String stLongPath) { return files::getShortName(stLongPath); }

String clsQXGenRtns::GetLongName(String sFileName) { return files::getLongName(sFileName); }

String clsQXGenRtns::GetAbsolutePath(const String& RelPathName) { return files::getAbsolutePath(RelPathName); }

void clsQXGenRtns::CreateFolders(const String& PathName) { files::createFolders(PathName); }

std::shared_ptr<clsSpecialFolders> clsQXGenRtns::GetSpecialFolders() {
    return sysinfo::getSpecialFolders(state().HostApp);
}

String clsQXGenRtns::StripTerminator(const String& Buffer) { return files::stripTerminator(Buffer); }

bool clsQXGenRtns::WriteIniSection(const String& Section, const String& iniStr, const String& IniFile) {
    return ini::writeIniSection(Section, iniStr, IniFile);
}

bool clsQXGenRtns::GetIniSection(const String& Section, String& iniStr, const String& IniFile) {
    return ini::getIniSection(Section, iniStr, IniFile);
}

bool clsQXGenRtns::WriteIniString(const String& Section, const String& iniKey, const String& iniStr,
                                  const String& IniFile) {
    return ini::writeIniString(Section, iniKey, iniStr, IniFile);
}

String clsQXGenRtns::GetIniString(const String& Section, const String& iniKey, const String& iniStr,
                                  const String& IniFile) {
    return ini::getIniString(Section, iniKey, iniStr, IniFile);
}

void clsQXGenRtns::GetSection(const String& Section, const String& Filename, std::vector<String>& SectionLines) {
    ini::getSection(Section, Filename, SectionLines);
}

String clsQXGenRtns::InitLog(const String& LogFile) { return logging::initLog(logging::Log::Application, LogFile); }

void clsQXGenRtns::WriteLog(const String& Msg) { logging::writeLog(logging::Log::Application, Msg); }

String clsQXGenRtns::InitDebugLog(const String& DebugFile) { return logging::initLog(logging::Log::Debug, DebugFile); }

void clsQXGenRtns::WriteDebugLog(const String& Msg) { logging::writeLog(logging::Log::Debug, Msg); }

String clsQXGenRtns::InitErrorLog(const String& ErrorFile) { return logging::initLog(logging::Log::Error, ErrorFile); }

void clsQXGenRtns::WriteErrorLog(const String& Msg) { logging::writeLog(logging::Log::Error, Msg); }

void clsQXGenRtns::WriteAppErrorLog(const String& Msg) { logging::writeAppErrorLog(Msg); }

void clsQXGenRtns::InitTraceLog(const Variant& ApplInf) { logging::initTraceLog(ApplInf); }

void clsQXGenRtns::WriteTraceLog(const String& RtnName, std::int16_t MsgType) {
    logging::writeTraceLog(RtnName, MsgType);
}

Variant clsQXGenRtns::StartTime() { return Variant(timing::timeStamp()); }

Variant clsQXGenRtns::StopTime() { return Variant(timing::timeStamp()); }

String clsQXGenRtns::GetElapsedTime(const String& sStartTime, const String& sStopTime) {
    return timing::elapsedTime(sStartTime, sStopTime);
}

void clsQXGenRtns::WaitSeconds(std::int32_t lSeconds) { timing::waitSeconds(lSeconds); }

void clsQXGenRtns::WaitRandomTime() { timing::waitRandomTime(); }

bool clsQXGenRtns::CheckScreenSize(std::int16_t iWidth, std::int16_t iHeight) {
    return sysinfo::checkScreenSize(iWidth, iHeight);
}

bool clsQXGenRtns::CheckIfResolutionChanged() { return sysinfo::checkIfResolutionChanged(); }

void clsQXGenRtns::InitXPStyles(std::int16_t XMLStyle) { ui::initXPStyles(XMLStyle); }

String clsQXGenRtns::CreateManifestFile(const String& ExeName, const String& PathName, std::int16_t Id) {
    return ui::createManifestFile(ExeName, PathName, Id);
}

void clsQXGenRtns::EnableAllControls(const ObjectRef& obj) { ui::setAllEnabled(obj, true); }
void clsQXGenRtns::DisableAllControls(const ObjectRef& obj) { ui::setAllEnabled(obj, false); }
void clsQXGenRtns::RestoreSavedControls(const ObjectRef& obj) { ui::restoreSavedControls(obj); }
void clsQXGenRtns::DisableSaveControls(const ObjectRef& obj) { ui::disableSaveControls(obj); }

void clsQXGenRtns::CenterObject(const ObjectRef& obj) { ui::centerObject(obj); }
void clsQXGenRtns::CenterInControl(const ObjectRef& obj, const ObjectRef& ctl) { ui::centerOn(obj, ctl); }
void clsQXGenRtns::CenterInForm(const ObjectRef& obj, const ObjectRef& frm) { ui::centerOn(obj, frm); }

void clsQXGenRtns::GetDisplayVerInfo(clsVersionInfo& V) { sysinfo::getDisplayVerInfo(V); }
std::int32_t clsQXGenRtns::GetUNCPath(String strDriveLetter, String& strUNCPath) {
    return sysinfo::getUNCPath(strDriveLetter, strUNCPath);
}
void clsQXGenRtns::ShellAndWait(String program_name, VbAppWinStyle window_style) {
    launch::shellAndWait(program_name, window_style);
}
String clsQXGenRtns::FindFilesAPI(String& Path, const String& SearchStr) { return files::findFiles(Path, SearchStr); }
std::int16_t clsQXGenRtns::DoesExist(const String& Path) { return files::doesExist(Path); }
Variant clsQXGenRtns::RegQueryStringValue(std::int32_t hKey, String strValueName) {
    return reg::regQueryStringValue(hKey, strValueName);
}
String clsQXGenRtns::GetString(std::int32_t hKey, const String& strPath, const String& strValue) {
    return reg::getString(hKey, strPath, strValue);
}
bool clsQXGenRtns::CreateNewKey(ERegistryClassConstants lPredefinedKey, const String& sNewKeyName) {
    return reg::createNewKey(static_cast<std::int32_t>(lPredefinedKey), sNewKeyName);
}
void clsQXGenRtns::SetKeyValue(ERegistryClassConstants lPredefinedKey, const String& sKeyName, const String& sValueName,
                               const Variant& vValueSetting, ERegistryValueTypes lValueType) {
    reg::setKeyValue(static_cast<std::int32_t>(lPredefinedKey), sKeyName, sValueName, vValueSetting, lValueType);
}
std::int32_t clsQXGenRtns::SetValueEx(std::int32_t hKey, const String& sValueName, std::int32_t lType,
                                      const Variant& vValue) {
    return reg::setValueEx(hKey, sValueName, lType, vValue);
}
bool clsQXGenRtns::KeyExists(ERegistryClassConstants lPredefinedKey, const String& sNewKeyName) {
    return reg::keyExists(static_cast<std::int32_t>(lPredefinedKey), sNewKeyName);
}
Variant clsQXGenRtns::GetValue(ERegistryClassConstants lPredefinedKey, const String& sKeyLoc, const Variant& sKeyName,
                               const Variant& sDefault) {
    return reg::getValue(static_cast<std::int32_t>(lPredefinedKey), sKeyLoc, sKeyName, sDefault);
}
bool clsQXGenRtns::DeleteKey(ERegistryClassConstants lPredefinedKey, const String& sNewKeyName) {
    return reg::deleteKey(static_cast<std::int32_t>(lPredefinedKey), sNewKeyName);
}
bool clsQXGenRtns::DeleteValue(ERegistryClassConstants lPredefinedKey, const String& sNewKeyName, const String& sValue) {
    return reg::deleteValue(static_cast<std::int32_t>(lPredefinedKey), sNewKeyName, sValue);
}
void clsQXGenRtns::GetRegistryInfo(WindowsRegistryInfo& wri) { reg::getRegistryInfo(wri); }
FileDateTimeInfo clsQXGenRtns::GetFileDateTime(String sFileName) { return files::getFileDateTime(sFileName); }
void clsQXGenRtns::SetFileDateTime(String sFileName, const FileDateTimeInfo& FileInfo) {
    files::setFileDateTime(sFileName, FileInfo);
}
String clsQXGenRtns::WhoAmI() { return sysinfo::whoAmI(); }
Variant clsQXGenRtns::GetNetworkDrives() { return sysinfo::getNetworkDrives(); }
String clsQXGenRtns::GetOSVersion() { return sysinfo::getOSVersion(); }
bool clsQXGenRtns::IsAdmin() { return sysinfo::isAdmin(); }
std::vector<String> clsQXGenRtns::GetHDSerialNumbers() { return sysinfo::getHDSerialNumbers(); }
void clsQXGenRtns::SkinIt(const ObjectRef& obj, std::int32_t ButtonTabColor, std::int32_t ButtonTabTextColor,
                          std::int32_t ButtonTabColorGradient, std::int32_t BackGroundColor,
                          std::int32_t BackColorToGradient, std::int32_t RTFColor, Direction lDirection) {
    ui::skinIt(obj, ButtonTabColor, ButtonTabTextColor, ButtonTabColorGradient, BackGroundColor, BackColorToGradient,
               RTFColor, lDirection);
}
void clsQXGenRtns::ShowButtonTabColor(const ObjectRef& Cntrl, std::int32_t NewColor) {
    ui::showButtonTabColour(Cntrl, NewColor);
}
void clsQXGenRtns::ShowButtonTabTextColor(const ObjectRef& Cntrl, std::int32_t NewColor) {
    ui::showButtonTabTextColour(Cntrl, NewColor);
}
void clsQXGenRtns::ShowFormColor(const ObjectRef& objForm, std::int32_t NewColor) {
    ui::showFormColour(objForm, NewColor);
}
void clsQXGenRtns::ShowDisplayColor(const ObjectRef& obj, std::int32_t NewColor) {
    ui::showDisplayColour(obj, NewColor);
}
void clsQXGenRtns::SetListViewBackColor(const ObjectRef& Cntrl, std::int32_t BackColor) {
    ui::setListViewBackColour(Cntrl, BackColor);
}
void clsQXGenRtns::SetTreeViewBackColor(const ObjectRef& Cntrl, std::int32_t BackColor) {
    ui::setTreeViewBackColour(Cntrl, BackColor);
}
std::int32_t clsQXGenRtns::MyMsgBox(const String& Prompt, std::int32_t MsgBoxStyle, const String& Title,
                                   std::int32_t Align) {
    return ui::myMsgBox(Prompt, MsgBoxStyle, Title, Align);
}
String clsQXGenRtns::BrowseFolder(const String& StartFolder, const ObjectRef& frm) {
    return ui::browseFolder(StartFolder, frm);
}

}  // namespace qx
