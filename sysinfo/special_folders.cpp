#include "sysinfo/special_folders.h"

#include "core/hostapp.h"
#include "files/paths.h"
#include "sysinfo/special_folders_logic.h"
#include "sysinfo/special_folders_sys.h"

namespace qx::sysinfo {

String programFilesFromCommonFiles(const String& commonFiles, char16_t sep) {
    String s = commonFiles;
    if (!s.empty() && s.back() == sep) s.back() = u' ';
    return folderPart(s, sep);
}

String folderPart(const String& path, char16_t sep) {
    const std::size_t cut = path.rfind(sep);
    return cut == String::npos ? String() : path.substr(0, cut + 1);
}

FolderSource systemFolderSource() {
    return FolderSource{sys::specialFolderPath, sys::tempPath, sys::createEmptyFile, files::getLongName};
}

std::shared_ptr<clsSpecialFolders> buildSpecialFolders(const FolderSource& source, const ObjectRef& hostApp) {
    const char16_t sep = files::separator();
    // Every row asks the source anew, in the order of the rows.
    const auto shell = [&](std::int32_t csidl) { return files::fixPath(source.folderPath(csidl)); };
    // Base folder, company, separator, executable, separator: joined as they
    // come, so an empty company gives two separators in a row.
    const auto perApplication = [&](std::int32_t csidl) {
        String s = shell(csidl);
        s += host::companyName(hostApp);
        s += sep;
        s += host::exeName(hostApp);
        s += sep;
        return s;
    };

    auto r = std::make_shared<clsSpecialFolders>();
    r->ApplicationDataFolderLocalReg(shell(folder::LocalAppData));
    r->ApplicationDataFolderLocal(perApplication(folder::LocalAppData));
    r->ApplicationDataFolderRoamingReg(shell(folder::RoamingAppData));
    r->ApplicationDataFolderRoaming(perApplication(folder::RoamingAppData));
    r->CommonFilesFolder(shell(folder::CommonFiles));
    r->ProgramFilesFolder(shell(folder::ProgramFiles));
    if (r->ProgramFilesFolder().empty() && !r->CommonFilesFolder().empty()) {
        r->ProgramFilesFolder(programFilesFromCommonFiles(r->CommonFilesFolder(), sep));
    }
    r->UserProfileFolder(shell(folder::Profile));
    r->WindowsFolder(shell(folder::Windows));
    r->WindowsSystemFolder(shell(folder::System));

    // The temporary folder in its long form, found through an empty probe
    // file named after the executable. Without a temporary path the probe
    // lands in the current folder, and that is the folder reported.
    const String probe = source.tempPath() + host::exeName(hostApp) + u".tmp";
    source.createEmptyFile(probe);
    r->UserProfileTempFolder(folderPart(source.longName(probe), sep));

    r->AllUsersAppDataFolder(shell(folder::CommonAppData));
    r->SystemDrive(r->WindowsFolder().substr(0, 2));
    return r;
}

std::shared_ptr<clsSpecialFolders> getSpecialFolders(const ObjectRef& hostApp) {
    return buildSpecialFolders(systemFolderSource(), hostApp);
}

}  // namespace qx::sysinfo
