' Every class is creatable by its ProgID; the record classes keep what was
' assigned; members not built yet say so with an error instead of a value.
Dim names, n, o
names = Array("clsQXGenRtns", "clsFileAccess", "HDSN", "clsQXResizeForm", "clsVersionInfo", "clsSpecialFolders")
For Each n In names
    Set o = Nothing
    On Error Resume Next
    Set o = CreateObject("QXGenRtns." & n)
    CheckErr 0, "CreateObject QXGenRtns." & n
    On Error GoTo 0
    Check IsObject(o), n & " is an object"
    If IsObject(o) Then Check InStr(TypeName(o), n) > 0, "TypeName of " & n & " names the class (" & TypeName(o) & ")"
Next

Dim sf
Set sf = CreateObject("QXGenRtns.clsSpecialFolders")
CheckEqual sf.SystemDrive, "", "a new record holds empty strings"
CheckEqual sf.UsingAppData, False, "a new record holds False"
sf.ApplicationDataFolderLocal = "C:\Users\u\AppData\Local\QX\"
sf.UsingAppData = True
sf.AllUsersAppDataFolder = "C:\ProgramData\"
CheckEqual sf.ApplicationDataFolderLocal, "C:\Users\u\AppData\Local\QX\", "record keeps a folder"
CheckEqual sf.UsingAppData, True, "record keeps a flag"
CheckEqual sf.AllUsersAppDataFolder, "C:\ProgramData\", "record properties are independent"
CheckEqual sf.WindowsFolder, "", "unassigned properties stay empty"

Dim vi
Set vi = CreateObject("QXGenRtns.clsVersionInfo")
vi.FileVer = "1.2.3.4"
vi.Filename = "x.dll"
CheckEqual vi.FileVer, "1.2.3.4", "version record keeps FileVer"
CheckEqual vi.Filename, "x.dll", "version record keeps Filename"
CheckEqual vi.ProdVer, "", "version record starts empty"

Dim fa
Set fa = CreateObject("QXGenRtns.clsFileAccess")
CheckEqual fa.IsOpen, False, "a new file access object is closed"

Summary
