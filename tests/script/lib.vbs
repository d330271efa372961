' Shared by every script suite: checks that count passes and failures, and
' the closing summary line that the runner reads. A suite whose summary line
' is missing (a syntax error, an uncaught error) counts as failed.
Option Explicit

Dim gPassed, gFailed
gPassed = 0
gFailed = 0

Sub Pass(name)
    gPassed = gPassed + 1
End Sub

Sub Fail(name, detail)
    gFailed = gFailed + 1
    WScript.Echo "FAIL: " & name & " -- " & detail
End Sub

Function Show(v)
    If IsObject(v) Then
        Show = "<object " & TypeName(v) & ">"
    ElseIf IsNull(v) Then
        Show = "<Null>"
    ElseIf IsEmpty(v) Then
        Show = "<Empty>"
    ElseIf IsArray(v) Then
        Show = "<array " & (UBound(v) - LBound(v) + 1) & ">"
    Else
        Show = "[" & CStr(v) & "] (" & TypeName(v) & ")"
    End If
End Function

Sub Check(cond, name)
    If cond Then
        Pass name
    Else
        Fail name, "condition is false"
    End If
End Sub

Sub CheckEqual(actual, expected, name)
    If TypeName(actual) = TypeName(expected) Then
        If actual = expected Then
            Pass name
            Exit Sub
        End If
    End If
    Fail name, "got " & Show(actual) & ", expected " & Show(expected)
End Sub

' Call right after a statement run under On Error Resume Next.
Sub CheckErr(expectedNumber, name)
    Dim n, d
    n = Err.Number
    d = Err.Description
    Err.Clear
    If n = expectedNumber Then
        Pass name
    Else
        Fail name, "Err.Number " & n & " (" & d & "), expected " & expectedNumber
    End If
End Sub

Sub CheckErrText(expectedNumber, expectedText, name)
    Dim n, d
    n = Err.Number
    d = Err.Description
    Err.Clear
    If n = expectedNumber And d = expectedText Then
        Pass name
    Else
        Fail name, "Err " & n & " '" & d & "', expected " & expectedNumber & " '" & expectedText & "'"
    End If
End Sub

Sub Summary()
    WScript.Echo gPassed & " passed, " & gFailed & " failed"
End Sub

' A host application object as a script host supplies it.
Class ScriptApp
    Public EXEName
    Public Path
    Public Title
    Public CompanyName
    Public Major
    Public Minor
    Public Revision
End Class

Function MakeApp(exe, major, minor, revision)
    Dim a
    Set a = New ScriptApp
    a.EXEName = exe
    a.Path = "C:\Program Files\QX Test"
    a.Title = "QX Script Host"
    a.CompanyName = "QX Test Company"
    a.Major = major
    a.Minor = minor
    a.Revision = revision
    Set MakeApp = a
End Function

' The whole text of a file; "" for a missing or empty file.
Function FileText(path)
    Dim files, s
    FileText = ""
    Set files = CreateObject("Scripting.FileSystemObject")
    If Not files.FileExists(path) Then Exit Function
    If files.GetFile(path).Size = 0 Then Exit Function
    Set s = files.OpenTextFile(path, 1)
    FileText = s.ReadAll
    s.Close
End Function

' Creates or replaces a file holding exactly `text`.
Sub WriteFile(path, text)
    Dim s
    Set s = CreateObject("Scripting.FileSystemObject").CreateTextFile(path, True)
    s.Write text
    s.Close
End Sub

' ----- suite -----
