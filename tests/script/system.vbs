' The registry, system and disk queries, version information, launching and
' timing from a script host: Variant values and defaults that keep their
' type, Null, arrays of Variants, the version record filled in place.
Dim lib, sh, fso, k, r, a, h, v, dll, t0
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
Const HKCU = &H80000001
k = "Software\QXGenRtnsScript"

' ----- registry -----
CheckEqual lib.CreateNewKey(HKCU, k & "\Sub"), True, "CreateNewKey creates every level"
CheckEqual lib.KeyExists(HKCU, UCase(k) & "\sub"), True, "KeyExists without regard to case"
CheckEqual lib.DeleteKey(HKCU, k & "\Sub"), True, "DeleteKey of a leaf"
lib.SetKeyValue HKCU, k, "text", "abc", 1
lib.SetKeyValue HKCU, k, "num", "258", 4
CheckEqual sh.RegRead("HKCU\" & k & "\num"), CLng(258), "SetKeyValue coerces text to a REG_DWORD"
CheckEqual lib.GetValue(HKCU, k, "text", ""), "abc", "GetValue of a REG_SZ"
CheckEqual lib.GetValue(HKCU, k, "num", ""), CLng(258), "GetValue of a REG_DWORD is a Long"
CheckEqual lib.GetValue(HKCU, k, "absent", 7), 7, "the default keeps its type"
Check IsNull(lib.GetValue(HKCU, k & "\Nope", "text", Null)), "GetValue under a missing key gives Null back"
CheckEqual lib.GetString(HKCU, k, "text"), "abc", "GetString"
On Error Resume Next
lib.SetKeyValue HKCU, k, "num", "many", 4
CheckErr 13, "a REG_DWORD of a word"
On Error GoTo 0
CheckEqual lib.SetValueEx(HKCU, "QXGenRtnsScriptBin", 3, "xy"), CLng(0), "SetValueEx on a root handle"
a = lib.RegQueryStringValue(HKCU, "QXGenRtnsScriptBin")
CheckEqual Listed(a), "{120,121,0,0,}", "RegQueryStringValue of REG_BINARY: an array of bytes"
CheckEqual lib.DeleteValue(HKCU, "", "QXGenRtnsScriptBin"), True, "DeleteValue"
Check IsEmpty(lib.RegQueryStringValue(HKCU, "QXGenRtnsScriptBin")), "RegQueryStringValue of a missing value"
CheckEqual lib.DeleteKey(HKCU, k), True, "the suite's key is removed"
a = Empty
lib.GetRegistryInfo a
r = ""
For Each v In Array("RegisteredOwner", "RegisteredOrganization", "ProductName", "ProductId")
    r = r & sh.RegRead("HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\" & v) & ","
Next
CheckEqual Listed(a), "{" & r & "}", "GetRegistryInfo gives a script an array of the record's texts"

' ----- disks, network, system -----
Set h = CreateObject("QXGenRtns.HDSN")
CheckEqual h.Platform, "WNT", "an NT-family system"
Check Len(h.Copyright) > 0, "a copyright text"
On Error Resume Next
h.CurrentDrive = 4
CheckErrText 10000, "Illegal drive number", "drive 4 is refused"
h.CurrentDrive = 3
CheckEqual h.CurrentDrive, CByte(3), "drive 3 is kept as a Byte"
r = h.GetModelNumber
CheckErrText 10003, "Error on CreateFile", "no fourth disk to read"
r = h.GetSerialNumber
CheckErr 10003, "nor its serial number"
r = h.GetFirmwareRevision
CheckErr 10003, "nor its firmware revision"
On Error GoTo 0
CheckEqual Listed(lib.GetHDSerialNumbers), "{WINEHDISK,}", "GetHDSerialNumbers: an array of Variants"
CheckEqual Listed(lib.GetNetworkDrives), "{}", "GetNetworkDrives: an empty array"
a = "C:"
v = Empty
CheckEqual lib.GetUNCPath(a, v), CLng(2250), "GetUNCPath of a local drive: not connected"
CheckEqual a & "|" & v, "C:|C:\", "the drive goes by value, the answer into the variable"
Check InStr(lib.GetOSVersion, " build ") > 0, "GetOSVersion (" & lib.GetOSVersion & ")"
CheckEqual lib.WhoAmI, CreateObject("WScript.Network").UserName, "WhoAmI is the logged-on user"
CheckEqual lib.IsAdmin, True, "IsAdmin: every Wine process is an administrator"

' ----- version information -----
dll = sh.RegRead("HKCR\CLSID\" & sh.RegRead("HKCR\QXGenRtns.clsVersionInfo\CLSID\") & "\InprocServer32\")
Set v = CreateObject("QXGenRtns.clsVersionInfo")
v.Filename = "QXGenRtns.dll"
v.Directory = "the caller's folder"
v.FullFileName = dll
lib.GetDisplayVerInfo v
CheckEqual v.FileVer & "|" & v.ProdVer & "|" & v.StrucVer & "|" & v.FileFlags, "5.0.0.0|5.0.0.0|1.0|", "the DLL's versions"
CheckEqual v.FileOS & "|" & v.FileType & "|" & v.FileSubType, "NT-Win32|DLL|", "the DLL's kind"
CheckEqual v.Filename & "|" & v.Directory & "|" & v.FullFileName, "QXGenRtns.dll|the caller's folder|" & dll, "the caller's names"
On Error Resume Next
lib.GetDisplayVerInfo Nothing
CheckErr 91, "GetDisplayVerInfo of Nothing"
On Error GoTo 0

' ----- launching and timing -----
r = fso.GetSpecialFolder(2).Path & "\qx system suite.txt"
lib.ShellAndWait "cmd /c for /l %i in (1,1,400) do @echo %i> """ & r & """", 0
CheckEqual FileText(r), "400" & vbCrLf, "ShellAndWait waits for the program to end"
fso.DeleteFile r
a = lib.StartTime
CheckEqual TypeName(a), "String", "StartTime is text"
CheckEqual lib.GetElapsedTime(a, CStr(CDate(a) + TimeSerial(1, 2, 5))), "01:02:05", "GetElapsedTime of stamps"
Check CDate(lib.StopTime) >= CDate(a), "StopTime"
On Error Resume Next
r = lib.GetElapsedTime("not a date", a)
CheckErr 13, "a text that is no date"
lib.WaitSeconds 40000
CheckErr 6, "WaitSeconds beyond 16 bits"
On Error GoTo 0
t0 = Timer
lib.WaitRandomTime
Check Timer - t0 < 5, "WaitRandomTime returns"
CheckEqual lib.CheckScreenSize(320, 200), True, "CheckScreenSize with a minimum the screen meets"
r = lib.CheckIfResolutionChanged
CheckEqual lib.CheckIfResolutionChanged, False, "CheckIfResolutionChanged: no change the second time"

Summary
