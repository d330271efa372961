' InitializeDll with a script class as the host application object, which
' the library reads back through IDispatch at every call; the version and
' the flags that instances share; the logs, trace, manifests and special
' folders of that host.
Dim lib, other, app, fso, ini, local, tmp, r, sf, trace, crlf, p
crlf = Chr(13) & Chr(10)
Set fso = CreateObject("Scripting.FileSystemObject")
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set app = MakeApp("ScriptHost", 2, 5, 117)
tmp = fso.GetSpecialFolder(2).Path & "\"

ini = lib.InitializeDll(app, 0)
CheckEqual Right(ini, 42), "\QX Test Company\ScriptHost\ScriptHost.ini", "InitializeDll names the host's INI file"
local = Left(ini, Len(ini) - Len("ScriptHost.ini"))
CheckEqual lib.GetVersion, "Version 2.5  Build 117", "GetVersion from the host's numbers"
CheckEqual lib.VersionTypeString, "Release", "VersionTypeString"
lib.VersionType = 2
CheckEqual lib.GetVersion, "Version 2.5  Build 117  Demo", "the version type's suffix"
On Error Resume Next
lib.VersionType = 32768
CheckErr 6, "VersionType above 16 bits overflows"
lib.VersionType = "abc"
CheckErr 13, "VersionType from text that is no number"
On Error GoTo 0
lib.VersionType = "4"
CheckEqual lib.VersionType, 4, "VersionType coerces numeric text to an Integer"

' Two instances on one thread share the state; the host is read afresh.
Set other = CreateObject("QXGenRtns.clsQXGenRtns")
other.AppCancel = True
CheckEqual lib.AppCancel, True, "instances share AppCancel"
app.Revision = 118
CheckEqual other.GetVersion, "Version 2.5  Build 118  Trial", "the host object is read at every call"
app.Major = 70000
On Error Resume Next
r = lib.GetVersion
CheckErr 6, "a host number beyond 16 bits overflows"
app.Major = 2
' An alignment the label cannot take fails before any window is shown.
r = lib.MyMsgBox("Reached", 4, "Probe", 3)
CheckErrText 380, "Invalid property value", "MyMsgBox with alignment 3"
On Error GoTo 0

' ----- logs and trace -----
lib.WriteLog "Saved"
Check InStr(FileText(local & "Log\ScriptHost.log"), " - Saved" & crlf) > 0, "WriteLog into the host's log"
r = lib.InitDebugLog()
CheckEqual r, local & "Log\ScriptHost.dbg", "InitDebugLog with its name left out"
lib.WriteDebugLog "Debugged"
Check InStr(FileText(r), " - Debugged" & crlf) > 0, "WriteDebugLog"
lib.WriteErrorLog "Failed"
lib.WriteAppErrorLog "Not switched on"
r = FileText(local & "Log\ScriptHost.err")
Check InStr(r, " - Failed" & crlf) > 0 And InStr(r, "switched") = 0, "WriteErrorLog; WriteAppErrorLog writes nothing"
r = lib.InitLog("Run1.txt")
CheckEqual r, local & "Log\Run1.txt", "InitLog with a name"
lib.WriteLog "into Run1"
Check InStr(FileText(r), " - into Run1" & crlf) > 0, "WriteLog then writes into it"
CheckEqual lib.InitErrorLog("nosuch\Run.err"), "", "InitErrorLog into a missing sub-folder"
CheckEqual lib.InitLog("nosuch\Run.log"), "", "InitLog into a missing sub-folder"
On Error Resume Next
lib.WriteLog "lost"
CheckErr 76, "WriteLog then raises Path not found"
lib.WriteErrorLog "lost"
CheckErr 0, "WriteErrorLog stays silent"
On Error GoTo 0

lib.InitTraceLog app
lib.WriteTraceLog "A", 1
lib.WriteTraceLog "A", 2
trace = FileText(local & "QXTools Log\ScriptHost_Trace.log")
r = crlf & vbTab & "Start A" & crlf & vbTab & "End A" & crlf
CheckEqual Right(trace, Len(r)), r, "InitTraceLog starts a trace the routines write into"

' ----- manifests -----
r = lib.CreateManifestFile("MyApp", tmp, 103)
CheckEqual r, tmp & "MyApp.exe.manifest", "CreateManifestFile answers the file's path"
Check InStr(FileText(r), "name=""MyApp.exe""") > 0, "the manifest names the program"
fso.DeleteFile r
app.Path = tmp
lib.InitXPStyles 103
p = tmp & "ScriptHost.exe.manifest"
Check InStr(FileText(p), "name=""ScriptHost.exe""") > 0, "InitXPStyles writes beside the host executable"
If fso.FileExists(p) Then fso.DeleteFile p

' ----- special folders -----
Set sf = lib.GetSpecialFolders
Check InStr(TypeName(sf), "clsSpecialFolders") > 0, "GetSpecialFolders gives the record (" & TypeName(sf) & ")"
CheckEqual sf.SystemDrive, "C:", "SystemDrive"
CheckEqual sf.ApplicationDataFolderLocal, local, "the host's local folder holds its INI file"
CheckEqual sf.ApplicationDataFolderLocal, sf.ApplicationDataFolderLocalReg & "QX Test Company\ScriptHost\", "below local data"
CheckEqual sf.ApplicationDataFolderRoaming, sf.ApplicationDataFolderRoamingReg & "QX Test Company\ScriptHost\", "roaming"
For Each r In Array(sf.ProgramFilesFolder, sf.CommonFilesFolder, sf.UserProfileFolder, sf.WindowsFolder, _
                    sf.WindowsSystemFolder, sf.UserProfileTempFolder, sf.AllUsersAppDataFolder)
    Check Len(r) > 3 And Right(r, 1) = "\", "a folder ending in a backslash (" & r & ")"
Next
CheckEqual LCase(sf.UserProfileTempFolder), LCase(tmp), "the temporary folder"
CheckEqual sf.UsingAppData, False, "UsingAppData"
sf.UsingAppData = True
sf.WindowsFolder = "W:\"
CheckEqual sf.UsingAppData & sf.WindowsFolder & sf.SystemDrive, "TrueW:\C:", "the record's properties are its own"

Summary
