#pragma once
// The record of resolved special folders that GetSpecialFolders fills: each
// property keeps what was last assigned; a new record holds "" and false.
#include "core/property.h"
#include "core/qxstring.h"

namespace qx {

class clsSpecialFolders {
    QX_PROPERTY(String, SystemDrive)
    QX_PROPERTY(String, ApplicationDataFolderLocalReg)
    QX_PROPERTY(String, ApplicationDataFolderLocal)
    QX_PROPERTY(String, ApplicationDataFolderRoamingReg)
    QX_PROPERTY(String, ApplicationDataFolderRoaming)
    QX_PROPERTY(String, ProgramFilesFolder)
    QX_PROPERTY(String, CommonFilesFolder)
    QX_PROPERTY(String, UserProfileFolder)
    QX_PROPERTY(String, WindowsFolder)
    QX_PROPERTY(String, WindowsSystemFolder)
    QX_PROPERTY(String, UserProfileTempFolder)
    QX_PROPERTY(String, AllUsersAppDataFolder)
    QX_PROPERTY(bool, UsingAppData)
};

}  // namespace qx
