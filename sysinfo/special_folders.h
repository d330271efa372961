#pragma once
// The well-known folders of the machine and the user, resolved in one pass.
#include <memory>

#include "core/object.h"
#include "sysinfo/clsSpecialFolders.h"

namespace qx::sysinfo {

// A new record of the special folders; the per-application folders are built
// from the host application object's CompanyName and EXEName (error 91 when
// there is no host object). Creates the empty probe file EXEName & ".tmp" in
// the temporary folder.
std::shared_ptr<clsSpecialFolders> getSpecialFolders(const ObjectRef& hostApp);

}  // namespace qx::sysinfo
