' InitializeDll with a script class as the host application object, the
' version text table, the version type and cancel flag, shared state.
Dim lib, other, app, r, i, expected
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set app = MakeApp("ScriptHost", 2, 5, 117)

lib.VersionType = 6
r = lib.InitializeDll(app, 0)
Dim fso, suffix
Set fso = CreateObject("Scripting.FileSystemObject")
suffix = "\QX Test Company\ScriptHost\ScriptHost.ini"
CheckEqual Right(r, Len(suffix)), suffix, "InitializeDll names the INI file in the local data folder"
Check fso.FolderExists(Left(r, Len(r) - Len("ScriptHost.ini"))), "and creates that folder"
CheckEqual lib.InitializeDll(app, 0), r, "a second call returns the same path"
CheckEqual lib.VersionType, 3, "InitializeDll with 0 stores Release over an earlier value"
CheckEqual lib.GetVersion, "Version 2.5  Build 117", "Release text has no suffix"
CheckEqual lib.VersionTypeString, "Release", "Release type string"

expected = Array("", "Version 2.5  Build 117  Beta", "Version 2.5  Build 117  Demo", "Version 2.5  Build 117", _
                 "Version 2.5  Build 117  Trial", "Version 2.5  Build 117  Freeware", "Version 2.5  Build 117  Shareware")
Dim types
types = Array("", "Beta", "Demo", "Release", "Release", "Release", "Release")
For i = 1 To 6
    lib.VersionType = i
    CheckEqual lib.GetVersion, expected(i), "version text for type " & i
    CheckEqual lib.VersionTypeString, types(i), "type string for type " & i
Next

' A value outside the list appends nothing and leaves the type string alone.
lib.VersionType = 2
r = lib.GetVersion
lib.VersionType = 7
CheckEqual lib.GetVersion, "Version 2.5  Build 117", "type 7 appends nothing"
CheckEqual lib.VersionTypeString, "Demo", "type 7 leaves the type string"
lib.VersionType = -32768
CheckEqual lib.VersionType, CInt(-32768), "VersionType stores the 16-bit minimum"

On Error Resume Next
lib.VersionType = 32768
CheckErr 6, "VersionType above 16 bits overflows"
CheckEqual lib.VersionType, CInt(-32768), "a failed assignment keeps the old value"
lib.VersionType = "abc"
CheckErr 13, "VersionType from text that is no number"
On Error GoTo 0
lib.VersionType = "12"
CheckEqual lib.VersionType, 12, "VersionType coerces numeric text"

' A second InitializeDll changes nothing.
r = lib.InitializeDll(MakeApp("Other", 9, 9, 9), 1)
CheckEqual lib.VersionType, 12, "a second InitializeDll keeps the version type"
lib.VersionType = 3
CheckEqual lib.GetVersion, "Version 2.5  Build 117", "a second InitializeDll keeps the host object"

' Two instances on one thread share the state.
Set other = CreateObject("QXGenRtns.clsQXGenRtns")
other.VersionType = 4
CheckEqual lib.VersionType, 4, "instances share VersionType"
lib.AppCancel = True
CheckEqual other.AppCancel, True, "instances share AppCancel"
other.AppCancel = False
CheckEqual lib.AppCancel, False, "AppCancel goes back to False"
CheckEqual other.GetVersion, "Version 2.5  Build 117  Trial", "the second instance reads the stored host object"

' The host's numbers are read afresh at every call.
app.Revision = 118
CheckEqual lib.GetVersion, "Version 2.5  Build 118  Trial", "GetVersion is not cached"
app.Major = -1
CheckEqual lib.GetVersion, "Version -1.5  Build 118  Trial", "a negative number keeps its sign"
app.Major = 70000
On Error Resume Next
r = lib.GetVersion
CheckErr 6, "a version number beyond 16 bits overflows"
app.Major = 2
' The message box is reached with its arguments; an alignment the label
' cannot take fails before any window is shown, so nothing waits here.
r = lib.MyMsgBox("Reached", 4, "Probe", 3)
CheckErrText 380, "Invalid property value", "MyMsgBox with alignment 3"
On Error GoTo 0

Summary
