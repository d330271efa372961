' GetFileDateTime and SetFileDateTime through the COM boundary. A script
' cannot build or read a record: a record parameter also takes the six
' halves as an array of numbers (ctime low, high, atime low, high, wtime low,
' high), and clsFileAccess.ReturnFileTime fills such an array. The record
' GetFileDateTime answers arrives as a record (VarType 36); Wine's runtime
' loses the nested fields when a script copies it, so the suite checks the
' record's type only and moves times with arrays.
Dim lib, fso, base, rec, t, r, before
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set fso = CreateObject("Scripting.FileSystemObject")
base = fso.GetSpecialFolder(2).Path & "\qx file times suite"
If fso.FolderExists(base) Then fso.DeleteFolder base, True
fso.CreateFolder base

Function TimesOf(path)
    Dim f, a
    Set f = CreateObject("QXGenRtns.clsFileAccess")
    f.OpenFileReadOnly path
    a = Array(0, 0, 0, 0, 0, 0)
    f.ReturnFileTime a
    f.CloseFile
    TimesOf = a
End Function

' A missing file is created empty, and its record comes back.
rec = lib.GetFileDateTime(base & "\made.txt")
Check fso.FileExists(base & "\made.txt"), "GetFileDateTime creates a missing file"
CheckEqual CLng(fso.GetFile(base & "\made.txt").Size), CLng(0), "the new file is empty"
CheckEqual VarType(rec), 36, "the record arrives as a record (vbUserDefinedType)"

' Only the last-write time, as an array: the last-access time stays.
t = TimesOf(base & "\made.txt")
lib.SetFileDateTime base & "\made.txt", Array(0, 0, 0, 0, &H7DB50500, &H1C08D96)
r = TimesOf(base & "\made.txt")
CheckEqual r(4), &H7DB50500, "SetFileDateTime sets the last-write low half"
CheckEqual r(5), &H1C08D96, "SetFileDateTime sets the last-write high half"
CheckEqual r(2), t(2), "a last-access time of 0 is left alone"
CheckEqual r(3), t(3), "its high half too"

' Times read from one file and written to another give it the same times.
lib.SetFileDateTime base & "\other.txt", r
t = TimesOf(base & "\other.txt")
CheckEqual t(4), &H7DB50500, "the copied times carry the last-write time"
CheckEqual t(2), r(2), "and the last-access time"
CheckEqual t(3), r(3), "and its high half"

' Bad input reaches the script as the runtime's errors, or as nothing at all.
On Error Resume Next
lib.SetFileDateTime base & "\made.txt", Array(1, 2)
CheckErr 13, "an array of the wrong length is a type mismatch"
lib.SetFileDateTime base & "\made.txt", 5
CheckErr 13, "a number is no record"
lib.SetFileDateTime base & "\made.txt", Array(0, 0, 0, 0, "x", 1)
CheckErr 13, "text in the array is a type mismatch"
lib.SetFileDateTime base & "\made.txt", Array(0, 0, 0, 0, 5000000000, 1)
CheckErr 6, "a number past 32 bits overflows"
rec = lib.GetFileDateTime(base & "\no such folder\x.txt")
CheckErr 0, "a file in a missing folder raises nothing"
lib.SetFileDateTime base & "\no such folder\x.txt", Array(0, 0, 0, 0, 1, 1)
CheckErr 0, "nor does setting its times"
On Error GoTo 0
Check Not fso.FolderExists(base & "\no such folder"), "and nothing is created"

fso.DeleteFolder base, True
Summary
