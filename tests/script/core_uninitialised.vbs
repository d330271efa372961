' The library object before any successful InitializeDll.
Dim lib, r
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")

On Error Resume Next
r = lib.GetVersion
CheckErr 91, "GetVersion before InitializeDll raises 91"
CheckEqual lib.VersionTypeString, "", "VersionTypeString before any GetVersion"

' A string where the application object belongs: type mismatch, and the
' library stays initialised without a host object.
r = lib.InitializeDll("not an object", 3)
CheckErr 13, "InitializeDll with a string raises 13"
r = lib.InitializeDll(MakeApp("Second", 1, 2, 3), 2)
CheckErr 0, "a second InitializeDll raises nothing"
CheckEqual r, "", "a second InitializeDll returns the stored (empty) INI path"
r = lib.GetVersion
CheckErr 91, "still no host object after the failed initialisation"
CheckEqual lib.VersionType, 3, "the failed call stored its version type before failing"
r = lib.MyMsgBox("No caption yet")
CheckErr 91, "MyMsgBox without a host object raises 91 before showing anything"

' Errors carry the class as their source and the runtime's text.
r = lib.GetVersion
CheckErrText 91, "Object variable or With block variable not set", "error text of 91"
r = lib.GetVersion
If Err.Source = "QXGenRtns.clsQXGenRtns" Then Pass "error source" Else Fail "error source", Err.Source
Err.Clear
On Error GoTo 0

Summary
