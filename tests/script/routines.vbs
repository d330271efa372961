' How arguments and errors cross the boundary, on a library object not yet
' initialised: by-reference arguments written back into the script's
' variables, literals by value, coercion, optional arguments left out,
' Nothing, and the runtime's error numbers, texts and source.
Dim lib, secs, r, b, n, o, frm
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")

For Each n In Array("clsQXGenRtns", "clsFileAccess", "HDSN", "clsQXResizeForm", "clsVersionInfo", "clsSpecialFolders")
    Set o = CreateObject("QXGenRtns." & n)
    Check InStr(TypeName(o), n) > 0, "QXGenRtns." & n & " creates its class (" & TypeName(o) & ")"
Next

secs = 7325
CheckEqual lib.ConvertSecondsToHHMMSS(secs), "02:02:05", "ConvertSecondsToHHMMSS of 7325"
CheckEqual secs, CLng(125), "the remaining seconds are written back as the declared Long"
secs = "3600"
r = lib.ConvertSecondsToHHMMSS(secs)
CheckEqual secs, CLng(0), "numeric text is coerced, and the variable receives the number"
secs = 59
r = lib.ConvertSecondsToHHMMSS(secs)
CheckEqual TypeName(secs), "Integer", "an unchanged variable keeps its own type"
CheckEqual lib.ConvertSecondsToHHMMSS(86399), "23:59:59", "a literal argument"

b = 65
CheckEqual lib.IsAscii(b), True, "IsAscii of A through a Byte reference"
CheckEqual b, 65, "IsAscii leaves its argument alone"
CheckEqual lib.FixPath("  C:\Data  "), "C:\Data\", "FixPath"
CheckEqual lib.StripTerminator("abc" & Chr(0) & "xyz"), "abc", "a NUL crosses the boundary inside the text"
CheckEqual lib.GetAbsolutePath("C:\a\.\b\..\c"), "C:\a\c", "GetAbsolutePath"

On Error Resume Next
r = lib.ConvertSecondsToHHMMSS("abc")
CheckErr 13, "text that is no number"
r = lib.ConvertSecondsToHHMMSS(3000000000)
CheckErr 6, "a count beyond 32 bits"
r = lib.ConvertSecondsToHHMMSS()
CheckErr 449, "a required argument left out"
r = lib.ConvertSecondsToHHMMSS(1, 2)
CheckErr 450, "one argument too many"
r = lib.NoSuchMember
CheckErr 438, "an unknown member"
r = lib.FixPath(Nothing)
CheckErr 13, "Nothing where a string belongs"
r = lib.FixPath(lib)
CheckErr 13, "an object without a value where a string belongs"
lib.HourGlassOn "not a form"
CheckErr 13, "a string where a form belongs"

' Before InitializeDll there is no host application object.
r = lib.GetVersion
CheckErrText 91, "Object variable or With block variable not set", "GetVersion before InitializeDll"
r = lib.GetVersion
CheckEqual Err.Source, "QXGenRtns.clsQXGenRtns", "the error's source is the class"
Err.Clear
Set r = lib.GetSpecialFolders
CheckErr 91, "GetSpecialFolders before InitializeDll"
lib.InitXPStyles 101
CheckErr 91, "InitXPStyles before InitializeDll"
r = lib.MyMsgBox("No caption yet")
CheckErr 91, "MyMsgBox without a host object raises 91 before showing anything"
On Error GoTo 0
CheckEqual lib.VersionTypeString, "", "VersionTypeString before any GetVersion"

' The busy pointer on a script "form", and on the screen when the optional form is left out.
Class FakeForm
    Public MousePointer
End Class
Set frm = New FakeForm
frm.MousePointer = 0
lib.HourGlassOn frm
CheckEqual frm.MousePointer, 11, "HourGlassOn sets the form's pointer"
lib.HourGlassOff frm
CheckEqual frm.MousePointer, 0, "HourGlassOff resets it"
frm.MousePointer = 5
On Error Resume Next
lib.HourGlassOn
lib.HourGlassOff
lib.HourGlassOn Nothing
CheckErr 0, "HourGlassOn and HourGlassOff with the form left out or Nothing"
r = lib.InitializeDll("not an object", 3)
CheckErr 13, "InitializeDll with a string for the application object"
On Error GoTo 0
CheckEqual frm.MousePointer, 5, "and the form is left alone"

Summary
