' FindFilesAPI and DoesExist through the COM boundary: the folder of the
' first match, the caller's path written back with its backslash, hidden
' folders, wildcards, and the cancel flag.
Dim lib, fso, base, p, r, f
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set fso = CreateObject("Scripting.FileSystemObject")
base = fso.GetSpecialFolder(2).Path & "\qx search suite"
If fso.FolderExists(base) Then fso.DeleteFolder base, True

Sub MakeFile(path)
    Dim ts
    Set ts = fso.CreateTextFile(path, True)
    ts.Write "x"
    ts.Close
End Sub

fso.CreateFolder base
fso.CreateFolder base & "\Data"
fso.CreateFolder base & "\Data\Sub"
fso.CreateFolder base & "\Data\Sub\Deeper"
MakeFile base & "\Data\Sub\Deeper\a.txt"
MakeFile base & "\Data\top.log"
fso.CreateFolder base & "\Hidden"
' A folder whose name begins with "." reports as hidden under Wine (Wine's
' script runtime cannot set a folder's attributes).
fso.CreateFolder base & "\Hidden\.secret"
MakeFile base & "\Hidden\.secret\found.me"

' ----- FindFilesAPI -----
p = base & "\Data"
CheckEqual lib.FindFilesAPI(p, "a.txt"), base & "\Data\Sub\Deeper\", "FindFilesAPI finds the file two levels down"
CheckEqual p, base & "\Data\", "FindFilesAPI gives the caller's path its backslash"
p = base & "\Data\"
CheckEqual lib.FindFilesAPI(p, "*.log"), base & "\Data\", "a match in the start folder wins"
p = base
CheckEqual lib.FindFilesAPI(p, "found.me"), base & "\Hidden\.secret\", "hidden folders are searched"
p = base
CheckEqual lib.FindFilesAPI(p, "nothing.anywhere"), "", "no match anywhere"
CheckEqual lib.FindFilesAPI(base & "\Data", "a.txt"), base & "\Data\Sub\Deeper\", "a literal path works too"

' ----- DoesExist -----
CheckEqual lib.DoesExist(base & "\Data\top.log"), 1, "DoesExist of a file"
CheckEqual TypeName(lib.DoesExist(base & "\Data\top.log")), "Integer", "DoesExist answers an Integer"
CheckEqual lib.DoesExist(base & "\Data"), 1, "DoesExist of a folder without backslash"
CheckEqual lib.DoesExist(base & "\Data\"), 2, "DoesExist of a folder with backslash"
CheckEqual lib.DoesExist(base & "\Data\*.log"), 1, "DoesExist with a wildcard that matches"
CheckEqual lib.DoesExist("C:\"), 0, "DoesExist of a drive root"
CheckEqual lib.DoesExist(base & "\Missing\"), 0, "DoesExist of a missing folder"

' ----- the cancel flag -----
lib.AppCancel = True
p = base & "\Data"
CheckEqual lib.FindFilesAPI(p, "a.txt"), "", "a cancelled search finds nothing"
CheckEqual p, base & "\Data", "a cancelled search leaves the path alone"
CheckEqual lib.DoesExist(base & "\Data\top.log"), 0, "a cancelled DoesExist answers 0"
lib.AppCancel = False
CheckEqual lib.FindFilesAPI(p, "a.txt"), base & "\Data\Sub\Deeper\", "the search runs again once the flag is cleared"

fso.DeleteFolder base, True
Summary
