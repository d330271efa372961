' How arguments cross the boundary: a by-reference argument written back into
' the script's variable, literals passed by value, optional arguments left
' out, script objects received as host forms.
Dim lib, secs, r
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")

secs = 7325
r = lib.ConvertSecondsToHHMMSS(secs)
CheckEqual r, "02:02:05", "ConvertSecondsToHHMMSS of 7325"
CheckEqual secs, CLng(125), "the remaining seconds are written back into the variable"
CheckEqual TypeName(secs), "Long", "the variable receives the declared type"
CheckEqual lib.ConvertSecondsToHHMMSS(86399), "23:59:59", "a literal argument"
CheckEqual lib.ConvertSecondsToHHMMSS(0), "00:00:00", "zero seconds"
secs = "3600"
r = lib.ConvertSecondsToHHMMSS(secs)
CheckEqual r, "01:00:00", "numeric text is coerced"
CheckEqual secs, CLng(0), "and the variable receives the number"
secs = 59
r = lib.ConvertSecondsToHHMMSS(secs)
CheckEqual TypeName(secs), "Integer", "an unchanged variable keeps its own type"
secs = 86400
CheckEqual lib.ConvertSecondsToHHMMSS(secs), "", "a day or more is no time of day"
Dim arr(1)
arr(0) = 3725
r = lib.ConvertSecondsToHHMMSS(arr(0))
CheckEqual r, "01:02:05", "an array element as argument"

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
On Error GoTo 0

' The busy pointer on a script "form", and on the screen when the optional form is left out.
Class FakeForm
    Public MousePointer
End Class
Class NoPointer
    Public Caption
End Class
Dim frm
Set frm = New FakeForm
frm.MousePointer = 0
lib.HourGlassOn frm
CheckEqual frm.MousePointer, 11, "HourGlassOn sets the form's pointer"
lib.HourGlassOff frm
CheckEqual frm.MousePointer, 0, "HourGlassOff resets it"
On Error Resume Next
lib.HourGlassOn
CheckErr 0, "HourGlassOn with the form left out"
lib.HourGlassOff
CheckErr 0, "HourGlassOff with the form left out"
lib.HourGlassOn New NoPointer
CheckErr 0, "a form without MousePointer is passed over"
lib.HourGlassOn "not a form"
CheckErr 13, "a string where a form belongs"
frm.MousePointer = 5
lib.HourGlassOn Nothing
CheckErr 0, "HourGlassOn with Nothing for the form"
lib.HourGlassOff Nothing
CheckErr 0, "HourGlassOff with Nothing for the form"
CheckEqual frm.MousePointer, 5, "Nothing leaves the forms alone"
Dim noForm
Set noForm = Nothing
lib.HourGlassOn noForm
CheckErr 0, "HourGlassOn with a variable holding Nothing"
r = lib.FixPath(Nothing)
CheckErr 13, "Nothing where a string belongs"
r = lib.ConvertSecondsToHHMMSS(noForm)
CheckErr 13, "a variable holding Nothing where a number belongs"
r = lib.FixPath(frm)
CheckErr 13, "an object without a value where a string belongs"
On Error GoTo 0

Summary
