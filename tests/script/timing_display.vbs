' Time stamps, elapsed times and waits, and the display checks, from a script host.
Dim lib, a, b, r, t0, secs
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")

a = lib.StartTime
CheckEqual TypeName(a), "String", "StartTime is text"
CheckEqual a, Trim(a), "without outer blanks"
Dim n1, n2
n1 = CStr(Now)
b = lib.StopTime
n2 = CStr(Now)
Check b = n1 Or b = n2, "a stamp is written as the script host writes Now (" & b & ", " & n1 & ")"
CheckEqual lib.GetElapsedTime(a, a), "00:00:00", "no time between a stamp and itself"
' Stamps written by the script host itself read the same way.
a = CStr(Now)
b = CStr(DateAdd("s", 3725, Now))
CheckEqual lib.GetElapsedTime(a, b), "01:02:05", "stamps made by CStr(Now)"
CheckEqual lib.GetElapsedTime(CStr(DateSerial(2026, 12, 4) + TimeSerial(23, 59, 30)), _
                              CStr(DateSerial(2026, 12, 5) + TimeSerial(0, 0, 10))), "00:00:40", "across midnight"
On Error Resume Next
r = lib.GetElapsedTime("not a date", a)
CheckErr 13, "a text that is no date"
lib.WaitSeconds 40000
CheckErr 6, "WaitSeconds beyond 16 bits"
On Error GoTo 0

t0 = Timer
lib.WaitSeconds 0
lib.WaitSeconds -3
Check Timer - t0 < 0.5, "WaitSeconds 0 and -3 return at once"
secs = Second(Now)
lib.WaitSeconds 1
Check Second(Now) <> secs, "WaitSeconds 1 returns once the clock's second has changed"
lib.WaitRandomTime
Pass "WaitRandomTime returns"

' The screen: no minimum, a negative one, a small one pass; a huge one warns.
CheckEqual lib.CheckScreenSize(0, 0), True, "CheckScreenSize with no minimum"
CheckEqual lib.CheckScreenSize(-1, -1), True, "a negative minimum"
CheckEqual lib.CheckScreenSize(320, 200), True, "a minimum the screen meets"
r = lib.CheckIfResolutionChanged
CheckEqual TypeName(r), "Boolean", "CheckIfResolutionChanged answers a Boolean"
CheckEqual lib.CheckIfResolutionChanged, False, "and no change the second time"

Summary
