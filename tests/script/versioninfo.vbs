' ----- suite -----
' GetDisplayVerInfo through the COM boundary: the library's own DLL (found
' through its registration), a system DLL, and files without version
' information, which leave the record as it was.
Dim lib, fso, sh, v, dll, clsid, base, r, sys32
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set fso = CreateObject("Scripting.FileSystemObject")
Set sh = CreateObject("WScript.Shell")
clsid = sh.RegRead("HKCR\QXGenRtns.clsVersionInfo\CLSID\")
dll = sh.RegRead("HKCR\CLSID\" & clsid & "\InprocServer32\")
Check fso.FileExists(dll), "the registered DLL is found (" & dll & ")"

Set v = CreateObject("QXGenRtns.clsVersionInfo")
CheckEqual v.FullFileName, "", "a new record is empty"
v.Filename = "QXGenRtns.dll"
v.Directory = "the caller's folder"
v.FullFileName = dll
lib.GetDisplayVerInfo v
CheckEqual v.FileVer, "5.0.0.0", "FileVer of our DLL"
CheckEqual v.ProdVer, "5.0.0.0", "ProdVer of our DLL"
CheckEqual v.StrucVer, "1.0", "StrucVer"
CheckEqual v.FileFlags, "", "no flags"
CheckEqual v.FileOS, "NT-Win32", "FileOS"
CheckEqual v.FileType, "DLL", "FileType"
CheckEqual v.FileSubType, "", "an unknown subtype of a DLL is empty"
CheckEqual v.Filename, "QXGenRtns.dll", "Filename is the caller's"
CheckEqual v.Directory, "the caller's folder", "Directory is the caller's"
CheckEqual v.FullFileName, dll, "FullFileName is not changed"

' A system DLL: four numbers, and a type from the table.
sys32 = fso.GetSpecialFolder(1).Path
Set v = CreateObject("QXGenRtns.clsVersionInfo")
v.FullFileName = sys32 & "\kernel32.dll"
lib.GetDisplayVerInfo v
CheckEqual UBound(Split(v.FileVer, ".")), CLng(3), "kernel32 has a four-part file version (" & v.FileVer & ")"
CheckEqual v.FileType, "DLL", "kernel32 is a DLL"
Check v.FileOS <> "", "kernel32 names its system"

' Files without version information leave every field as it was.
base = fso.GetSpecialFolder(2).Path & "\qx version suite"
If fso.FolderExists(base) Then fso.DeleteFolder base, True
fso.CreateFolder base
Dim ts
Set ts = fso.CreateTextFile(base & "\plain.txt", True)
ts.Write "no resource here"
ts.Close
v.FileType = "earlier"
v.FileVer = "9.9.9.9"
Dim names, n
names = Array(base & "\plain.txt", base & "\missing.dll", base, "", "Q:\no\drive.dll")
For Each n In names
    v.FullFileName = n
    On Error Resume Next
    lib.GetDisplayVerInfo v
    CheckErr 0, "no error for [" & n & "]"
    On Error GoTo 0
    CheckEqual v.FileType, "earlier", "FileType kept for [" & n & "]"
    CheckEqual v.FileVer, "9.9.9.9", "FileVer kept for [" & n & "]"
Next

' Without a record there is nothing to fill.
On Error Resume Next
lib.GetDisplayVerInfo Nothing
CheckErr 91, "GetDisplayVerInfo of Nothing"
On Error GoTo 0

fso.DeleteFolder base, True
Summary
