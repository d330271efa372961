' Shared by every script suite: checks that count passes and failures, and
' the closing summary line that the runner reads. A suite whose summary line
' is missing (a syntax error, an uncaught error) counts as failed.
Option Explicit

Dim gPassed, gFailed
gPassed = 0
gFailed = 0

Sub Fail(name, detail)
    gFailed = gFailed + 1
    WScript.Echo "FAIL: " & name & " -- " & detail
End Sub

Sub Check(cond, name)
    If cond Then gPassed = gPassed + 1 Else Fail name, "condition is false"
End Sub

' Equal values of the same type.
Sub CheckEqual(actual, expected, name)
    If TypeName(actual) = TypeName(expected) Then
        If actual = expected Then
            gPassed = gPassed + 1
            Exit Sub
        End If
    End If
    Fail name, "got [" & Listed(actual) & "] (" & TypeName(actual) & "), expected [" & Listed(expected) & "]"
End Sub

' Call right after a statement run under On Error Resume Next.
Sub CheckErr(expectedNumber, name)
    CheckErrText expectedNumber, Err.Description, name
End Sub

Sub CheckErrText(expectedNumber, expectedText, name)
    Dim n, d
    n = Err.Number
    d = Err.Description
    Err.Clear
    Check n = expectedNumber And d = expectedText, name & " (Err " & n & " '" & d & "')"
End Sub

Sub Summary()
    WScript.Echo gPassed & " passed, " & gFailed & " failed"
End Sub

' A value as text; an array as {its elements, each followed by a comma}.
Function Listed(x)
    Dim e
    If IsObject(x) Or IsNull(x) Then
        Listed = "<" & TypeName(x) & ">"
    ElseIf IsArray(x) Then
        Listed = "{"
        For Each e In x
            Listed = Listed & e & ","
        Next
        Listed = Listed & "}"
    Else
        Listed = CStr(x)
    End If
End Function

' A host application object as a script host supplies it, a name in its own case.
Class ScriptApp
    Public ExeName
    Public Path
    Public Title
    Public CompanyName
    Public Major
    Public Minor
    Public Revision
End Class

Function MakeApp(exe, major, minor, revision)
    Set MakeApp = New ScriptApp
    MakeApp.EXEName = exe
    MakeApp.Path = "C:\Program Files\QX Test"
    MakeApp.Title = "QX Script Host"
    MakeApp.CompanyName = "QX Test Company"
    MakeApp.Major = major
    MakeApp.Minor = minor
    MakeApp.Revision = revision
End Function

' The whole text of a file; "" for a missing or empty file.
Function FileText(path)
    Dim files
    FileText = ""
    Set files = CreateObject("Scripting.FileSystemObject")
    If Not files.FileExists(path) Then Exit Function
    If files.GetFile(path).Size > 0 Then FileText = files.OpenTextFile(path, 1).ReadAll
End Function

' Creates or replaces a file holding exactly `text`.
Sub WriteFile(path, text)
    Dim s
    Set s = CreateObject("Scripting.FileSystemObject").CreateTextFile(path, True)
    s.Write text
    s.Close
End Sub

' ----- suite -----
