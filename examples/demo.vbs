' A script host walking the library's typical road through the COM server:
' hand the library the application object, then use its INI file, logs,
' trace log and timing, and show where each file went.
Option Explicit

Class DemoApp
    Public EXEName
    Public Path
    Public Title
    Public CompanyName
    Public Major
    Public Minor
    Public Revision
End Class

Dim app, lib, ini, secs, start, logFolder
Set app = New DemoApp
app.EXEName = "QXDemo"
app.Path = "C:\Program Files\QX Demo"
app.Title = "QX Demo Host"
app.CompanyName = "QX Demo Company"
app.Major = 5
app.Minor = 0
app.Revision = 1

Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
ini = lib.InitializeDll(app, 3)
WScript.Echo "InitializeDll: INI file " & ini
WScript.Echo "GetVersion: " & lib.GetVersion
WScript.Echo "INI [QXDemo] Log = " & lib.GetIniString("QXDemo", "Log", "True", ini)
lib.WriteIniString "Settings", "LastRun", lib.StartTime, ini
WScript.Echo "INI [Settings] LastRun = " & lib.GetIniString("Settings", "LastRun", "", ini)

lib.WriteTraceLog "Main", 1
lib.WriteLog "Saved"
lib.WriteDebugLog "Settings written"
lib.WriteTraceLog "Main", 2

start = lib.StartTime
lib.WaitSeconds 1
WScript.Echo "GetElapsedTime: " & lib.GetElapsedTime(start, lib.StopTime)
secs = 3725
WScript.Echo "ConvertSecondsToHHMMSS(3725): " & lib.ConvertSecondsToHHMMSS(secs) & " (the variable now holds " & secs & ")"

logFolder = Left(ini, InStrRev(ini, "\")) & "Log\"
WScript.Echo "application log: " & logFolder & "QXDemo.log"
WScript.Echo "debug log:       " & logFolder & "QXDemo.dbg"
WScript.Echo "error log:       " & logFolder & "QXDemo.err"
WScript.Echo "trace log:       " & Left(ini, InStrRev(ini, "\")) & "QXTools Log\QXDemo_Trace.log"
