' clsFileAccess through the COM boundary: opening, byte arrays both ways (a
' script writes an array of numbers; ReadBytes answers a Byte() array, which
' Wine's VBScript can hold, convert and pass back but not index), share
' modes, the file times as arrays of numbers, and the lines that misuse
' writes to the error log.
Dim lib, fso, app, base, fa, fb, h, b, r, t, errLog, iniPath, before
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set fso = CreateObject("Scripting.FileSystemObject")
base = fso.GetSpecialFolder(2).Path & "\qx file access suite"
If fso.FolderExists(base) Then fso.DeleteFolder base, True
fso.CreateFolder base

' The error log is on (its INI key defaults to True); its new lines are read
' from the length it had before.
Set app = MakeApp("AccessSuite", 1, 0, 7)
iniPath = lib.InitializeDll(app, 3)
errLog = Left(iniPath, Len(iniPath) - Len("AccessSuite.ini")) & "Log\AccessSuite.err"
Function NewLogText()
    Dim all
    all = FileText(errLog)
    NewLogText = Mid(all, before + 1)
    before = Len(all)
End Function
before = 0
r = NewLogText()

' The message of an entry: the text after the time stamp and " - ".
Function EntryMessage(text)
    Dim at
    at = InStr(text, " - ")
    If at = 0 Then
        EntryMessage = text
    Else
        EntryMessage = Mid(text, at + 3)
    End If
End Function

' ----- a new object -----
Set fa = CreateObject("QXGenRtns.clsFileAccess")
CheckEqual fa.FileHandle, CLng(-1), "a new object has no handle"
CheckEqual fa.Filename, "", "a new object has no file name"
CheckEqual fa.IsOpen, False, "a new object is closed"
CheckEqual fa.AutoFlush, False, "auto-flush starts off"
fa.AutoFlush = True
CheckEqual fa.AutoFlush, True, "auto-flush can be switched on"

' ----- open, write an array of numbers, read a byte array -----
h = fa.OpenFile(base & "\data.bin")
CheckEqual TypeName(h), "Integer", "OpenFile answers an Integer"
Check h >= 0, "OpenFile of a new file answers its handle"
CheckEqual CLng(h), fa.FileHandle, "FileHandle is the handle OpenFile answered"
CheckEqual fa.IsOpen, True, "the object is open"
CheckEqual fa.Filename, base & "\data.bin", "Filename is the name given"
fa.WriteBytes Array(72, 101, 108, 108, 111, 33)
CheckEqual CLng(fso.GetFile(base & "\data.bin").Size), CLng(6), "WriteBytes with auto-flush reaches the file"
CheckEqual fa.FileSize, CDbl(6), "FileSize answers the length as a Double"
fa.SeekAbsolute 0, 1
b = fa.ReadBytes(4)
CheckEqual VarType(b), 8209, "ReadBytes answers a Byte array (vbArray + vbByte)"
CheckEqual Len(CStr(b)), CLng(2), "four bytes convert to a string of two characters"
' The byte array goes back into WriteBytes unchanged. (The script runtime
' cannot read a file that is open for writing: contents are read after closing.)
Set fb = CreateObject("QXGenRtns.clsFileAccess")
fb.OpenFile base & "\copy.bin"
fb.WriteBytes b
fa.SeekRelative -3
fb.WriteBytes fa.ReadBytes(3)
' Ten bytes asked for two before the end: the last eight are zeros.
fa.SeekAbsolute 0, 4
fb.WriteBytes fa.ReadBytes(10)
fb.CloseFile
CheckEqual CLng(fso.GetFile(base & "\copy.bin").Size), CLng(17), "ReadBytes always answers the count asked for"
CheckEqual Left(FileText(base & "\copy.bin"), 9), "ellollo" & "o!", "byte arrays read back, also after SeekRelative"
CheckEqual Mid(FileText(base & "\copy.bin"), 10), String(8, Chr(0)), "zeros past the end of the file"
' ----- bad input -----
On Error Resume Next
b = fa.ReadBytes(0)
CheckErr 9, "ReadBytes(0) raises subscript out of range"
b = fa.ReadBytes(-3)
CheckErr 9, "ReadBytes of a negative count raises subscript out of range"
fa.WriteBytes Array(1, 300)
Check Err.Number <> 0, "WriteBytes of a number past 255 is refused"
Err.Clear
On Error GoTo 0
CheckEqual CLng(fso.GetFile(base & "\data.bin").Size), CLng(6), "the refused write wrote nothing"

' ----- share modes -----
Set fb = CreateObject("QXGenRtns.clsFileAccess")
CheckEqual fb.OpenFileReadOnly(base & "\data.bin"), -1, "a read-only open refuses a file open for writing"
fa.CloseFile
CheckEqual fb.OpenFileReadOnly(base & "\data.bin"), 0, "OpenFileReadOnly of an existing file answers 0"
fb.CloseFile

' ----- closing and closed objects -----
CheckEqual fa.IsOpen, False, "CloseFile closes"
CheckEqual fa.Filename, "", "CloseFile clears the name"
CheckEqual fa.AutoFlush, False, "CloseFile switches auto-flush off"
r = NewLogText()
fa.CloseFile
CheckEqual NewLogText(), "", "closing twice logs nothing"
CheckEqual fa.FileSize, CDbl(-1), "FileSize of a closed object is -1"
CheckEqual EntryMessage(NewLogText()), "Size can not be gotten on a closed file - " & vbCrLf, _
           "FileSize of a closed object logs its line"

' ----- failed opens -----
h = fa.OpenFile(base & "\no such folder\x.bin")
CheckEqual h, -1, "OpenFile in a missing folder answers -1"
CheckEqual fa.Filename, base & "\no such folder\x.bin", "the name is kept after a failed open"
CheckEqual fa.IsOpen, False, "a failed open leaves the object closed"
r = EntryMessage(NewLogText())
CheckEqual Left(r, Len("Error opening '" & base & "\no such folder\x.bin'. - Error 3 - ")), _
           "Error opening '" & base & "\no such folder\x.bin'. - Error 3 - ", "the failed open logs error 3"
CheckEqual fa.OpenFileReadOnly(base & "\absent.bin"), -1, "OpenFileReadOnly of a missing file answers -1"
Check Not fso.FileExists(base & "\absent.bin"), "the read-only open creates nothing"
Check InStr(NewLogText(), "Error opening '" & base & "\absent.bin'. - Error 2 - ") > 0, "the failed read-only open logs error 2"

' ----- the file times, as arrays of six numbers -----
WriteFile base & "\times.txt", "t"
fa.OpenFile base & "\times.txt"
t = Array(0, 0, 0, 0, 0, 0)
Check fa.ReturnFileTime(t) <> 0, "ReturnFileTime succeeds"
CheckEqual UBound(t), CLng(5), "ReturnFileTime fills an array of six numbers"
Check t(5) > 30000000, "the last-write time's high half is a date after 2000"
' 2001-02-03 04:05:06 UTC: the count 0x01C08D967DB50500 as its two halves.
' The creation and last-access times are 0, and so left as they were.
r = fa.ChangeFileTime(Array(0, 0, 0, 0, &H7DB50500, &H1C08D96))
Check r <> 0, "ChangeFileTime succeeds"
before = t(3)
t = Array(0, 0, 0, 0, 0, 0)
fa.ReturnFileTime t
CheckEqual t(4), &H7DB50500, "the last-write time's low half was set"
CheckEqual t(5), &H1C08D96, "the last-write time's high half was set"
' Unsigned halves as scripts compute them are taken too.
r = fa.ChangeFileTime(Array(0, 0, 0, 0, 4000000000, &H1C08D96))
fa.ReturnFileTime t
CheckEqual t(4), CLng(4000000000 - 4294967296), "a low half past 2^31 is taken as unsigned"
On Error Resume Next
r = fa.ChangeFileTime(Array(1, 2, 3))
CheckErr 13, "an array of the wrong length is a type mismatch"
r = fa.ChangeFileTime("text")
CheckErr 13, "a string is no record"
On Error GoTo 0
fa.CloseFile
t = Array(0, 0, 0, 0, 0, 0)
CheckEqual fa.ReturnFileTime(t), CLng(0), "ReturnFileTime on a closed object answers 0"
CheckEqual t(5), CLng(0), "and leaves the times 0"

fso.DeleteFolder base, True
Summary
