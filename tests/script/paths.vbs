' The path routines and GetSpecialFolders through the COM boundary, on real
' files in the script host's temporary folder.
Dim lib, fso, base, r, b, n, f, sf, shortName, longName
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set fso = CreateObject("Scripting.FileSystemObject")
base = fso.GetSpecialFolder(2).Path & "\qx paths suite"
If fso.FolderExists(base) Then fso.DeleteFolder base, True

' ----- IsAscii, FixPath, StripTerminator -----
n = 0
For b = 0 To 255
    If lib.IsAscii(CByte(b)) Then n = n + 1
Next
CheckEqual n, 94, "IsAscii accepts 94 bytes"
CheckEqual lib.IsAscii(CByte(32)), False, "IsAscii of the space"
CheckEqual lib.IsAscii(CByte(33)), True, "IsAscii of !"
CheckEqual lib.IsAscii(CByte(126)), True, "IsAscii of ~"
CheckEqual lib.IsAscii(CByte(127)), False, "IsAscii of 0x7F"
CheckEqual lib.IsAscii(CByte(169)), False, "IsAscii of 0xA9"
b = 65
r = lib.IsAscii(b)
CheckEqual b, 65, "IsAscii leaves its argument alone"

CheckEqual lib.FixPath("  C:\Data  "), "C:\Data\", "FixPath trims and appends the backslash"
CheckEqual lib.FixPath("C:\Data\"), "C:\Data\", "FixPath keeps a trailing backslash"
CheckEqual lib.FixPath("   "), "", "FixPath of spaces"
CheckEqual lib.StripTerminator("abc" & Chr(0) & "xyz"), "abc", "StripTerminator cuts at the NUL"
CheckEqual lib.StripTerminator("abc"), "abc", "StripTerminator without NUL"
CheckEqual lib.StripTerminator(Chr(0)), "", "StripTerminator of a lone NUL"

' ----- CreateFolders -----
lib.CreateFolders base & "\x\y\"
Check fso.FolderExists(base & "\x"), "CreateFolders makes the outer folder"
Check fso.FolderExists(base & "\x\y"), "CreateFolders makes the inner folder"
On Error Resume Next
lib.CreateFolders base & "\x\y\"
CheckErr 0, "CreateFolders again reports nothing"
lib.CreateFolders "Q:\no drive\at all\"
CheckErr 0, "CreateFolders on a missing drive reports nothing"
On Error GoTo 0
lib.CreateFolders base & "\a\\  \b"
Check fso.FolderExists(base & "\a\b"), "blank parts add nothing; a last part is a folder"

' ----- FileExists -----
WriteFile base & "\App.ini", "[App]"
WriteFile base & "\x\Hidden.ini", ""
fso.GetFile(base & "\x\Hidden.ini").Attributes = 2
CheckEqual lib.FileExists(base & "\App.ini"), True, "FileExists of a file"
CheckEqual lib.FileExists(base & "\Missing.ini"), False, "FileExists of a missing file"
CheckEqual lib.FileExists(base & "\*.ini"), True, "FileExists with a wildcard"
CheckEqual lib.FileExists(base & "\A?p.*"), True, "FileExists with ? and *"
CheckEqual lib.FileExists(base & "\*.txt"), False, "a wildcard without a match"
CheckEqual lib.FileExists(base & "\x"), False, "FileExists of a folder"
CheckEqual lib.FileExists(base & "\x\Hidden.ini"), False, "FileExists of a hidden file"
CheckEqual lib.FileExists(base & "\x\*.ini"), False, "a wildcard meeting only a hidden file"
CheckEqual lib.FileExists(""), False, "FileExists of nothing"
CheckEqual lib.FileExists("Q:\no\such\file.ini"), False, "FileExists on a missing drive"
f = base & "\App.ini"
r = lib.FileExists(f)
CheckEqual f, base & "\App.ini", "FileExists leaves its argument alone"

' ----- GetAbsolutePath -----
CheckEqual lib.GetAbsolutePath("C:\a\.\b\..\c"), "C:\a\c", "GetAbsolutePath folds . and .."
CheckEqual lib.GetAbsolutePath("a\b\..\c"), "a\c", "GetAbsolutePath keeps a relative path relative"
CheckEqual lib.GetAbsolutePath("C:\" & String(300, "x")), "", "GetAbsolutePath of an over-long path"

' ----- GetShortName and GetLongName -----
lib.CreateFolders base & "\A long folder name\"
WriteFile base & "\A long folder name\A long file name.text", "x"
longName = lib.GetLongName(base & "\A long folder name\A long file name.text")
CheckEqual LCase(longName), LCase(base & "\A long folder name\A long file name.text"), "GetLongName of a long path"
shortName = lib.GetShortName(longName)
Check Len(shortName) > 0, "GetShortName of an existing file"
Check Len(shortName) < Len(longName), "the short name is shorter"
CheckEqual lib.GetLongName(shortName), longName, "GetLongName reverses GetShortName"
CheckEqual lib.FileExists(shortName), True, "the short name names the file"
CheckEqual lib.GetShortName(base & "\missing.txt"), "", "GetShortName of a missing file"
CheckEqual lib.GetLongName(longName & ".none"), longName & ".none", "GetLongName of a missing file"
On Error Resume Next
r = lib.GetLongName("C:\" & String(260, "q"))
CheckErr 5, "GetLongName of a path beyond its buffer"
On Error GoTo 0

' ----- GetSpecialFolders -----
On Error Resume Next
Set sf = lib.GetSpecialFolders
CheckErr 91, "GetSpecialFolders before InitializeDll"
On Error GoTo 0
r = lib.InitializeDll(MakeApp("PathsHost", 1, 0, 0), 3)
Set sf = lib.GetSpecialFolders
Check InStr(TypeName(sf), "clsSpecialFolders") > 0, "GetSpecialFolders gives the record (" & TypeName(sf) & ")"
CheckEqual sf.SystemDrive, "C:", "SystemDrive"
CheckEqual sf.UsingAppData, False, "UsingAppData stays False"
Dim names, i, v
names = Array("ApplicationDataFolderLocalReg", "ApplicationDataFolderLocal", "ApplicationDataFolderRoamingReg", _
              "ApplicationDataFolderRoaming", "ProgramFilesFolder", "CommonFilesFolder", "UserProfileFolder", _
              "WindowsFolder", "WindowsSystemFolder", "UserProfileTempFolder", "AllUsersAppDataFolder")
Dim values
values = Array(sf.ApplicationDataFolderLocalReg, sf.ApplicationDataFolderLocal, sf.ApplicationDataFolderRoamingReg, _
               sf.ApplicationDataFolderRoaming, sf.ProgramFilesFolder, sf.CommonFilesFolder, sf.UserProfileFolder, _
               sf.WindowsFolder, sf.WindowsSystemFolder, sf.UserProfileTempFolder, sf.AllUsersAppDataFolder)
For i = 0 To UBound(names)
    v = values(i)
    Check Len(v) > 3 And Right(v, 1) = "\", names(i) & " is a folder ending in a backslash (" & v & ")"
Next
CheckEqual sf.ApplicationDataFolderLocal, sf.ApplicationDataFolderLocalReg & "QX Test Company\PathsHost\", "local per-application folder"
CheckEqual sf.ApplicationDataFolderRoaming, sf.ApplicationDataFolderRoamingReg & "QX Test Company\PathsHost\", "roaming per-application folder"
CheckEqual LCase(sf.WindowsFolder), "c:\windows\", "WindowsFolder"
CheckEqual LCase(sf.WindowsSystemFolder), "c:\windows\system32\", "WindowsSystemFolder"
CheckEqual LCase(sf.CommonFilesFolder), "c:\program files\common files\", "CommonFilesFolder"
CheckEqual LCase(sf.AllUsersAppDataFolder), "c:\programdata\", "AllUsersAppDataFolder"
CheckEqual LCase(sf.ApplicationDataFolderLocalReg), LCase(sf.UserProfileFolder & "AppData\Local\"), "local application data below the profile"
CheckEqual LCase(sf.UserProfileTempFolder), LCase(fso.GetSpecialFolder(2).Path & "\"), "the temporary folder"
f = sf.UserProfileTempFolder & "PathsHost.tmp"
CheckEqual fso.FileExists(f), True, "the probe file exists"
If fso.FileExists(f) Then CheckEqual fso.GetFile(f).Size, CLng(0), "the probe file is empty"
WriteFile f, "left over"
Set sf = lib.GetSpecialFolders
CheckEqual fso.GetFile(f).Size, CLng(0), "the next call empties the probe file again"
fso.DeleteFile f

fso.GetFile(base & "\x\Hidden.ini").Attributes = 0
fso.DeleteFolder base, True
Summary
