' Manifest files written beside an executable: the bytes of the elevated
' template for MyApp, the fixed names of the other two, the choice of
' template, the folder's trailing backslash, overwriting, failures, and
' InitXPStyles writing the host's own manifest.

Dim lib, fso, dir, r, text, expected, q
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set fso = CreateObject("Scripting.FileSystemObject")
dir = fso.GetSpecialFolder(2) & "\qx-manifests"
If fso.FolderExists(dir) Then fso.DeleteFolder dir, True
fso.CreateFolder dir

' Before InitializeDll there is no host application object.
On Error Resume Next
lib.InitXPStyles 101
CheckErr 91, "InitXPStyles before InitializeDll raises 91"
On Error GoTo 0

q = Chr(34)
expected = "<?xml version=" & q & "1.0" & q & " encoding=" & q & "UTF-8" & q & " standalone=" & q & "yes" & q & "?>" & vbCrLf & _
    "<assembly xmlns=" & q & "urn:schemas-microsoft-com:asm.v1" & q & " manifestVersion=" & q & "1.0" & q & ">" & vbCrLf & _
    "<assemblyIdentity version=" & q & "1.0.0.0" & q & vbCrLf & _
    vbTab & "processorArchitecture=" & q & "X86" & q & vbCrLf & _
    vbTab & "name=" & q & "MyApp.exe" & q & vbCrLf & _
    vbTab & "type=" & q & "win32" & q & "/>" & vbCrLf & _
    "<description>elevate execution level</description>" & vbCrLf & _
    "<trustInfo xmlns=" & q & "urn:schemas-microsoft-com:asm.v2" & q & ">" & vbCrLf & _
    vbTab & "<security>" & vbCrLf & _
    vbTab & vbTab & "<requestedPrivileges>" & vbCrLf & _
    vbTab & vbTab & vbTab & "<requestedExecutionLevel level=" & q & "requireAdministrator" & q & " uiAccess=" & q & "false" & q & "/>" & vbCrLf & _
    vbTab & vbTab & "</requestedPrivileges>" & vbCrLf & _
    vbTab & "</security>" & vbCrLf & _
    "</trustInfo>" & vbCrLf & _
    "</assembly>" & vbCrLf

r = lib.CreateManifestFile("MyApp", dir, 103)
CheckEqual r, dir & "\MyApp.exe.manifest", "CreateManifestFile returns the file's path"
CheckEqual FileText(r), expected, "template 103 written for MyApp"

r = lib.CreateManifestFile("MyApp", dir & "\", 101)
CheckEqual r, dir & "\MyApp.exe.manifest", "a trailing backslash is not doubled"
text = FileText(r)
Check InStr(text, "name=" & q & "Veltrix.XPStylesTester.XPStylesTester" & q) > 0 And InStr(text, "MyApp") = 0, "template 101 keeps its fixed name"
CheckEqual Right(text, 17), "</assembly>" & vbCrLf & vbCrLf & vbCrLf, "template 101 ends with two empty lines"

r = lib.CreateManifestFile("MyApp", dir, 7)
CheckEqual FileText(r), text, "Id 7 writes template 101"

r = lib.CreateManifestFile("MyApp", dir, 102)
CheckEqual Len(FileText(r)), CLng(817), "template 102, the longer file"

' Overwriting a longer file leaves no tail of it.
r = lib.CreateManifestFile("MyApp", dir, 103)
CheckEqual FileText(r), expected, "a shorter manifest replaces a longer one whole"

r = lib.CreateManifestFile("MyApp", dir & "\missing\deeper", 103)
CheckEqual r, "", "a missing folder gives an empty result"

' InitXPStyles writes the manifest of the host executable into its folder.
Dim app
Set app = MakeApp("ScriptHost", 1, 0, 0)
app.Path = dir
lib.InitializeDll app, 3
On Error Resume Next
lib.InitXPStyles 103
CheckErr 0, "InitXPStyles with a host application object"
On Error GoTo 0
Check fso.FileExists(dir & "\ScriptHost.exe.manifest"), "InitXPStyles writes beside the host executable"
CheckEqual FileText(dir & "\ScriptHost.exe.manifest"), Replace(expected, "MyApp.exe", "ScriptHost.exe"), "InitXPStyles writes the chosen template"

fso.DeleteFolder dir, True
Summary
