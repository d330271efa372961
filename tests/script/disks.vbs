' ----- suite -----
' The HDSN class and GetHDSerialNumbers through the COM boundary.
Dim lib, h, r, serials, n, d, outcome, text
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set h = CreateObject("QXGenRtns.HDSN")

CheckEqual h.Platform, "WNT", "an NT-family system"
Check Len(h.Copyright) > 0, "a copyright text"
CheckEqual h.CurrentDrive, CByte(0), "drive 0 at first"
h.CurrentDrive = 3
CheckEqual h.CurrentDrive, CByte(3), "drive 3 is kept"
On Error Resume Next
h.CurrentDrive = 4
CheckErrText 10000, "Illegal drive number", "drive 4 is refused"
On Error GoTo 0
CheckEqual h.CurrentDrive, CByte(3), "and the old drive stays"
h.CurrentDrive = 1
CheckEqual h.CurrentDrive, CByte(1), "drive 1"
h.CurrentDrive = 0

' Reading the first disk either answers (a disk that does not take the SMART
' request answers "") or, when the device cannot be opened, raises 10003;
' the three reads agree.
Function ReadOutcome(which)
    Dim v
    On Error Resume Next
    Select Case which
        Case 0: v = h.GetModelNumber
        Case 1: v = h.GetSerialNumber
        Case 2: v = h.GetFirmwareRevision
    End Select
    If Err.Number = 0 Then
        ReadOutcome = "text:" & v
    Else
        ReadOutcome = "error:" & Err.Number & ":" & Err.Description
    End If
    Err.Clear
End Function

outcome = ReadOutcome(0)
Check outcome = "error:10003:Error on CreateFile" Or Left(outcome, 5) = "text:", "model read: " & outcome
If Left(outcome, 6) = "error:" Then
    CheckEqual ReadOutcome(1), outcome, "serial read fails the same way"
    CheckEqual ReadOutcome(2), outcome, "firmware read fails the same way"
Else
    text = Mid(outcome, 6)
    CheckEqual text, Trim(text), "the model has no surrounding spaces"
    Check Len(Mid(ReadOutcome(1), 6)) <= 20, "serial at most 20 characters"
    Check Len(Mid(ReadOutcome(2), 6)) <= 8, "firmware at most 8 characters"
End If
h.CurrentDrive = 3
CheckEqual ReadOutcome(0), "error:10003:Error on CreateFile", "no fourth disk to open"

serials = lib.GetHDSerialNumbers
Check IsArray(serials), "GetHDSerialNumbers gives an array"
If IsArray(serials) Then
    CheckEqual LBound(serials), CLng(0), "indexed from 0"
    CheckEqual UBound(serials), CLng(0), "one medium"
    If UBound(serials) >= 0 Then CheckEqual serials(0), "WINEHDISK", "its serial number"
End If

Summary
