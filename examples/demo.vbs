' A script host walking the library's road through the COM server: create
' the library object, hand it the application object, ask for the version.
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

Dim app, lib, ini, secs
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
WScript.Echo "InitializeDll: INI file """ & ini & """"
WScript.Echo "GetVersion: " & lib.GetVersion
WScript.Echo "VersionTypeString: " & lib.VersionTypeString
secs = 3725
WScript.Echo "ConvertSecondsToHHMMSS(3725): " & lib.ConvertSecondsToHHMMSS(secs) & " (the variable now holds " & secs & ")"
