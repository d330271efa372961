' INI files, paths, search and file access from a script host: texts and
' arrays written back into the script's variables, byte arrays both ways
' (Wine's VBScript holds a Byte() array but cannot index it), and the file
' times as arrays of six numbers, since a script cannot build a record.
Dim lib, fso, base, f, r, body, lines, p, fa, fb, b, t, crlf
crlf = Chr(13) & Chr(10)
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set fso = CreateObject("Scripting.FileSystemObject")
base = fso.GetSpecialFolder(2).Path & "\qx files suite"
If fso.FolderExists(base) Then fso.DeleteFolder base, True
lib.CreateFolders base & "\Data\Sub\Deeper\"
Check fso.FolderExists(base & "\Data\Sub\Deeper"), "CreateFolders makes every level"
f = base & "\app.ini"

' ----- INI files -----
CheckEqual lib.GetIniString("S", "K", "D", f), "D", "GetIniString writes and returns a missing key's default"
CheckEqual lib.WriteIniString("S", "K", "new", f), True, "WriteIniString into an existing section"
CheckEqual lib.GetIniString("s", "k", "", f), "new", "the written value reads back"
CheckEqual lib.WriteIniSection("B", "b=2" & crlf & "c=3", f), False, "WriteIniSection appends a section"
body = Empty
CheckEqual lib.GetIniSection("B", body, f), True, "GetIniSection finds the section"
CheckEqual body, "b=2" & crlf & "c=3", "the body is written back into the script variable"
lines = Empty
lib.GetSection "B", f, lines
CheckEqual Listed(lines), "{b=2,c=3,}", "GetSection fills the variable with an array of Variants"
On Error Resume Next
r = lib.GetIniString("N", "A", "d", base & "\")
CheckErr 75, "a folder named as the INI file raises 75"
On Error GoTo 0

' ----- paths and search -----
WriteFile base & "\Data\Sub\Deeper\A long file name.text", "x"
CheckEqual lib.FileExists(base & "\Data\Sub\Deeper\*.text"), True, "FileExists with a wildcard"
CheckEqual lib.FileExists(base & "\Data"), False, "FileExists of a folder"
p = base & "\Data\Sub\Deeper\A long file name.text"
r = lib.GetShortName(p)
Check Len(r) > 0 And Len(r) < Len(p), "GetShortName (" & r & ")"
CheckEqual LCase(lib.GetLongName(r)), LCase(p), "GetLongName reverses it"
p = base & "\Data"
CheckEqual lib.FindFilesAPI(p, "*.text"), base & "\Data\Sub\Deeper\", "FindFilesAPI finds the file two levels down"
CheckEqual p, base & "\Data\", "and gives the caller's path its backslash"
CheckEqual lib.DoesExist(base & "\Data\"), 2, "DoesExist of a folder with backslash, an Integer"

' ----- file access -----
Set fa = CreateObject("QXGenRtns.clsFileAccess")
CheckEqual fa.FileHandle & "/" & fa.IsOpen & "/" & fa.AutoFlush, "-1/False/False", "a new object"
fa.AutoFlush = True
r = fa.OpenFile(base & "\data.bin")
CheckEqual TypeName(r), "Integer", "OpenFile answers an Integer"
CheckEqual CLng(r), fa.FileHandle, "FileHandle is the handle OpenFile answered"
CheckEqual fa.Filename, base & "\data.bin", "Filename"
fa.WriteBytes Array(72, 101, 108, 108, 111, 33)
CheckEqual fa.FileSize, CDbl(6), "WriteBytes with auto-flush reaches the file; FileSize is a Double"
fa.SeekAbsolute 0, 1
b = fa.ReadBytes(4)
CheckEqual VarType(b), 8209, "ReadBytes answers a Byte array (vbArray + vbByte)"
Set fb = CreateObject("QXGenRtns.clsFileAccess")
fb.OpenFile base & "\copy.bin"
fb.WriteBytes b
fa.SeekRelative -3
fb.WriteBytes fa.ReadBytes(3)
fb.Flush
fb.CloseFile
CheckEqual FileText(base & "\copy.bin"), "ellollo", "byte arrays pass back, also after SeekRelative"
On Error Resume Next
fa.WriteBytes Array(1, 300)
CheckErr 6, "a number past 255 in the array overflows"
b = fa.ReadBytes(0)
CheckErr 9, "ReadBytes(0) raises subscript out of range"
On Error GoTo 0
CheckEqual fb.OpenFileReadOnly(base & "\data.bin"), -1, "a read-only open refuses a file open for writing"

' The file times: the last-write time 2001-02-03 04:05:06 UTC as its halves;
' a time of 0 is left as it was, a half from 2^31 up counts as unsigned.
t = Array(0, 0, 0, 0, 0, 0)
Check fa.ReturnFileTime(t) <> 0 And t(5) > 30000000, "ReturnFileTime fills the array with a time after 2000"
r = fa.ChangeFileTime(Array(0, 0, 0, 0, 4000000000, &H1C08D96))
fa.ReturnFileTime t
CheckEqual t(4) & "," & t(5), CStr(4000000000 - 4294967296) & "," & CStr(&H1C08D96), "ChangeFileTime"
fa.CloseFile
CheckEqual fa.IsOpen, False, "CloseFile"
lib.SetFileDateTime base & "\copy.bin", t
r = Array(0, 0, 0, 0, 0, 0)
fb.OpenFileReadOnly base & "\copy.bin"
fb.ReturnFileTime r
fb.CloseFile
CheckEqual r(4) & "," & r(5), t(4) & "," & t(5), "SetFileDateTime takes the array"
CheckEqual VarType(lib.GetFileDateTime(base & "\copy.bin")), 36, "GetFileDateTime answers a record"
On Error Resume Next
lib.SetFileDateTime base & "\copy.bin", Array(1, 2)
CheckErr 13, "an array of the wrong length is a type mismatch"
lib.SetFileDateTime base & "\copy.bin", Array(0, 0, 0, 0, "x", 1)
CheckErr 13, "text in the array is a type mismatch"
r = fa.ChangeFileTime(Array(0, 0, 0, 0, 5000000000, 1))
CheckErr 6, "a number past 32 bits overflows"
On Error GoTo 0

fso.DeleteFolder base, True
Summary
