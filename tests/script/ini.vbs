' The INI members from a script host: results, the bytes left on disk, a
' section body written back into a script variable and a script array filled.
Dim lib, fso, folder, f, r, body, lines, crlf
crlf = Chr(13) & Chr(10)
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set fso = CreateObject("Scripting.FileSystemObject")
folder = fso.GetSpecialFolder(2) & "\qxini-" & Int(Timer * 100)
fso.CreateFolder folder
f = folder & "\app.ini"

' GetIniString writes a missing key's default, then finds it.
CheckEqual lib.GetIniString("S", "K", "D", f), "D", "GetIniString returns the default"
CheckEqual FileText(f), "[S]" & crlf & crlf & "K=D" & crlf, "and writes it"
CheckEqual lib.GetIniString("s", "k", "other", f), "D", "sections and keys without regard to case"
CheckEqual lib.GetIniString("S", "K2", "E", f), "E", "a second key"
CheckEqual FileText(f), crlf & "[S]" & crlf & crlf & "K=D" & crlf & "K2=E" & crlf, "the save's layout"

' WriteIniString: the result tells whether the section existed.
CheckEqual lib.WriteIniString("S", "K", "new", f), True, "WriteIniString into an existing section"
CheckEqual lib.WriteIniString("T", "A", "1", f), False, "WriteIniString creating a section"
CheckEqual lib.GetIniString("S", "K", "", f), "new", "the written value reads back"

' Substring keys: UserName=Bob answers the key Name.
WriteFile f, "[P]" & crlf & "UserName=Bob" & crlf
CheckEqual lib.GetIniString("P", "Name", "x", f), "Bob", "a key matches as a substring"

' WriteIniSection and GetIniSection with the body written back into a variable.
WriteFile f, "[A]" & crlf & "a=1" & crlf & crlf & "[B]" & crlf & "b=2" & crlf & "c=3" & crlf
body = Empty
CheckEqual lib.GetIniSection("B", body, f), True, "GetIniSection finds the section"
CheckEqual body, "b=2" & crlf & "c=3", "the body is written back into the script variable"
body = "unchanged"
CheckEqual lib.GetIniSection("Missing", body, f), False, "GetIniSection of a missing section"
CheckEqual body, "unchanged", "and the variable keeps its value"
CheckEqual lib.WriteIniSection("A", "x=9" & crlf & "y=8", f), True, "WriteIniSection replaces a body"
CheckEqual lib.WriteIniSection("C", "z=7", f), False, "WriteIniSection appends a section"
CheckEqual lib.GetIniString("A", "y", "", f), "8", "the new body is there"
CheckEqual lib.GetIniString("A", "a", "gone", f), "gone", "the old body is gone"

' GetSection fills a script array.
WriteFile f, "[A]" & crlf & "a=1" & crlf & "b=2" & crlf
lines = Empty
lib.GetSection "A", f, lines
Check IsArray(lines), "GetSection fills the variable with an array"
If IsArray(lines) Then
    CheckEqual UBound(lines), CLng(1), "two lines, indexed from 0"
    CheckEqual lines(0), "a=1", "first line"
    CheckEqual lines(1), "b=2", "second line"
End If
lib.GetSection "Missing", f, lines
If IsArray(lines) Then
    CheckEqual UBound(lines), CLng(1), "a missing section gives two elements"
    CheckEqual lines(0) & lines(1), "", "both empty"
Else
    Fail "GetSection of a missing section", "no array"
End If
Dim typed(0)
typed(0) = "old"
lib.GetSection "A", f, typed
Check IsArray(typed), "a fixed script array is accepted"

' A save into a missing folder is silently skipped.
CheckEqual lib.GetIniString("S", "K", "D", folder & "\no\such.ini"), "D", "missing folder: the default"
CheckEqual fso.FolderExists(folder & "\no"), False, "and no folder is made"

' A name with a NUL in it names no file: the file before the NUL is untouched.
WriteFile f, "[N]" & crlf & "A=1" & crlf
CheckEqual lib.WriteIniString("N", "A", "2", f & Chr(0) & "x"), False, "a name with a NUL names no file"
CheckEqual FileText(f), "[N]" & crlf & "A=1" & crlf, "and the file before the NUL is untouched"

' A folder named with a trailing backslash cannot be opened as the INI file.
On Error Resume Next
r = lib.GetIniString("N", "A", "d", folder & "\")
CheckErr 75, "a folder named as the INI file raises 75"
On Error GoTo 0

fso.DeleteFolder folder, True
Summary
