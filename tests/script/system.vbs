' ----- suite -----
' GetOSVersion, WhoAmI and IsAdmin through the COM boundary, against what the
' system tells other callers.
Dim lib, wmi, os, v, parts, expected, net
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")

Set wmi = GetObject("winmgmts:\\.\root\cimv2")
For Each os In wmi.ExecQuery("SELECT * FROM Win32_OperatingSystem")
    v = os.Version
Next
parts = Split(v, ".")
expected = parts(0) & "." & parts(1) & " build " & parts(2) & " ("
v = lib.GetOSVersion
Check InStr(v, " " & expected) > 0, "GetOSVersion carries the version and build: " & v
Check Right(v, 1) = ")", "GetOSVersion ends in the service pack's parentheses"
If parts(0) = "5" And parts(1) = "1" Then
    CheckEqual Left(v, 11), "Windows XP ", "the name of 5.1"
ElseIf parts(0) = "5" And parts(1) = "0" Then
    CheckEqual Left(v, 13), "Windows 2000 ", "the name of 5.0"
Else
    CheckEqual Left(v, 11), "Windows NT ", "the name of any other NT version"
End If

Set net = CreateObject("WScript.Network")
If Len(net.UserName) <= 24 Then
    CheckEqual lib.WhoAmI, net.UserName, "WhoAmI is the logged-on user"
Else
    CheckEqual lib.WhoAmI, "", "WhoAmI of a name too long for its buffer"
End If
' Every Wine process holds the administrators' group.
CheckEqual lib.IsAdmin, True, "IsAdmin"
CheckEqual TypeName(lib.IsAdmin), "Boolean", "IsAdmin is a Boolean"
Summary
