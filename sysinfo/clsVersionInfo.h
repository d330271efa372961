#pragma once
// The record of a file's version resource that GetDisplayVerInfo fills: each
// property keeps what was last assigned; a new record holds "".
#include "core/property.h"
#include "core/qxstring.h"

namespace qx {

class clsVersionInfo {
    QX_PROPERTY(String, Filename)
    QX_PROPERTY(String, Directory)
    QX_PROPERTY(String, FullFileName)
    QX_PROPERTY(String, StrucVer)
    QX_PROPERTY(String, FileVer)
    QX_PROPERTY(String, ProdVer)
    QX_PROPERTY(String, FileFlags)
    QX_PROPERTY(String, FileOS)
    QX_PROPERTY(String, FileType)
    QX_PROPERTY(String, FileSubType)
};

}  // namespace qx
