' The logs and the trace log from a script host: what InitializeDll writes
' (the INI switches, three log headers, the trace header), an entry line, a
' log under a name of the host's, the trace outline, and the error a script
' sees when a log's folder is missing.
Dim lib, fso, app, r, local, localNoSlash, logDir, traceFile, t0, t1, before, after, crlf, env
crlf = Chr(13) & Chr(10)
Set fso = CreateObject("Scripting.FileSystemObject")
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set app = MakeApp("LogSuite", 3, 1, 42)

' A time stamp in the general date form, taken between the two moments
' (the stamp has whole seconds, Now may carry a fraction: one second of slack).
Function IsStampBetween(text, fromTime, toTime)
    Dim d
    IsStampBetween = False
    If InStr(text, Chr(13)) > 0 Or InStr(text, Chr(10)) > 0 Then Exit Function
    On Error Resume Next
    d = CDate(text)
    If Err.Number <> 0 Then
        Err.Clear
        Exit Function
    End If
    On Error GoTo 0
    ' The general date form reads back as the same text.
    If CStr(d) <> text Then Exit Function
    d = CDbl(d)
    IsStampBetween = d >= CDbl(fromTime) - 1 / 86400 And d <= CDbl(toTime) + 1 / 86400
End Function

' The file holds prefix, a time stamp, and then exactly the suffix.
Sub CheckStamped(text, prefix, suffix, fromTime, toTime, name)
    Dim middle
    If Len(text) < Len(prefix) + Len(suffix) Then
        Fail name, "too short: [" & text & "]"
    ElseIf Left(text, Len(prefix)) <> prefix Then
        Fail name, "begins [" & Left(text, Len(prefix)) & "], expected [" & prefix & "]"
    ElseIf Right(text, Len(suffix)) <> suffix Then
        Fail name, "does not end as expected: [" & text & "]"
    Else
        middle = Mid(text, Len(prefix) + 1, Len(text) - Len(prefix) - Len(suffix))
        Check IsStampBetween(middle, fromTime, toTime), name & " (time stamp [" & middle & "])"
    End If
End Sub

' The host's first run: no folder of its own yet.
Set env = CreateObject("WScript.Shell").Environment("PROCESS")
localNoSlash = env("LOCALAPPDATA")
If localNoSlash = "" Then localNoSlash = env("USERPROFILE") & "\AppData\Local"
localNoSlash = localNoSlash & "\QX Test Company\LogSuite"
If fso.FolderExists(localNoSlash) Then fso.DeleteFolder localNoSlash, True

t0 = Now
r = lib.InitializeDll(app, 3)
t1 = Now
CheckEqual LCase(r), LCase(localNoSlash & "\LogSuite.ini"), "InitializeDll answers the INI path"
local = Left(r, Len(r) - Len("LogSuite.ini"))
logDir = local & "Log\"
traceFile = local & "QXTools Log\LogSuite_Trace.log"

' ----- InitializeDll: switches and headers -----
CheckEqual FileText(r), crlf & "[LogSuite]" & crlf & crlf & "Log=True" & crlf & "Debug=True" & crlf & _
           "Error=True" & crlf & "Trace=True" & crlf, "the four switches are written as True"
Dim ext
For Each ext In Array(".log", ".dbg", ".err")
    CheckStamped FileText(logDir & "LogSuite" & ext), _
                 "QX Test Company - QX Script Host - Version 3.1  Build 42 - ", crlf & crlf & crlf, t0, t1, _
                 "LogSuite" & ext & " holds its header and two empty lines"
Next
CheckStamped FileText(traceFile), "QX Test Company - QX Script Host - Version 3.1.42 - Trace  - ", _
             crlf & crlf & crlf, t0, t1, "the trace file holds its header and two empty lines"
CheckEqual lib.VersionTypeString, "Release", "the headers ran GetVersion"

' ----- WriteLog -----
before = FileText(logDir & "LogSuite.log")
t0 = Now
lib.WriteLog "Saved"
t1 = Now
after = FileText(logDir & "LogSuite.log")
CheckEqual Left(after, Len(before)), before, "WriteLog keeps what the log held"
CheckStamped Mid(after, Len(before) + 1), "", " - Saved" & crlf, t0, t1, "WriteLog appends date - message"
before = after
lib.WriteLog ""
CheckStamped Mid(FileText(logDir & "LogSuite.log"), Len(before) + 1), "", " - " & crlf, t0, Now, "an empty message"
before = FileText(logDir & "LogSuite.dbg")
lib.WriteDebugLog "Debugged"
CheckStamped Mid(FileText(logDir & "LogSuite.dbg"), Len(before) + 1), "", " - Debugged" & crlf, t0, Now, _
             "WriteDebugLog appends to the debug log"

' ----- InitLog with a name -----
t0 = Now
r = lib.InitLog("Run1.txt")
CheckEqual r, logDir & "Run1.txt", "InitLog Run1.txt answers its path under Log\"
CheckStamped FileText(r), "QX Test Company - QX Script Host - Version 3.1  Build 42 - ", crlf & crlf & crlf, _
             t0, Now, "Run1.txt holds a header"
lib.WriteLog "into Run1"
Check InStr(FileText(r), " - into Run1" & crlf) > 0, "WriteLog now writes into Run1.txt"
Check InStr(FileText(logDir & "LogSuite.log"), "into Run1") = 0, "and no longer into the default log"

' ----- The trace outline -----
lib.WriteTraceLog "A", 1
lib.WriteTraceLog "B", 1
lib.WriteTraceLog "B", 2
lib.WriteTraceLog "A", 2
Dim trace, headerEnd
trace = FileText(traceFile)
headerEnd = InStr(trace, crlf & crlf & crlf)
Check headerEnd > 0, "the trace header is still there"
CheckEqual Mid(trace, headerEnd + 6), crlf & vbTab & "Start A" & crlf & crlf & vbTab & vbTab & "Start B" & crlf & _
           vbTab & vbTab & "End B" & crlf & vbTab & "End A" & crlf, "begin A, begin B, end B, end A"

' ----- A log whose sub-folder is missing -----
CheckEqual lib.InitLog("nosuch\Run.log"), "", "InitLog into a missing sub-folder answers """""
On Error Resume Next
lib.WriteLog "lost"
CheckErr 76, "WriteLog then raises Path not found"
lib.WriteDebugLog "kept"
CheckErr 0, "WriteDebugLog on its own log still raises nothing"
CheckEqual lib.InitErrorLog("nosuch\Run.err"), "", "InitErrorLog into a missing sub-folder"
lib.WriteErrorLog "lost"
CheckErr 0, "WriteErrorLog into the missing sub-folder stays silent"
lib.WriteAppErrorLog "nowhere"
CheckErr 0, "WriteAppErrorLog raises nothing"
On Error GoTo 0
CheckEqual fso.FolderExists(logDir & "nosuch"), False, "no folder is made for those writes"

fso.DeleteFolder localNoSlash, True
Summary
