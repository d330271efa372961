' ----- suite -----
' GetUNCPath and GetNetworkDrives through the COM boundary, on a system
' without network connections.
Dim lib, r, u, drive, drives
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")

u = "old"
r = lib.GetUNCPath("C:", u)
CheckEqual r, CLng(2250), "a local drive is not connected"
CheckEqual u, "C:\", "and the answer is the drive with a backslash"

drive = "Z:\"
u = ""
r = lib.GetUNCPath(drive, u)
Check r <> 0, "Z:\ is no device name (" & r & ")"
CheckEqual u, "Z:\\", "a second backslash is appended"
CheckEqual drive, "Z:\", "the drive argument is passed by value"

u = Empty
r = lib.GetUNCPath("C:", u)
CheckEqual u, "C:\", "an Empty variable receives the answer"

drives = lib.GetNetworkDrives
Check IsArray(drives), "GetNetworkDrives gives an array"
If IsArray(drives) Then CheckEqual UBound(drives), CLng(-1), "with no elements"

Summary
