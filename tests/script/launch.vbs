' ----- suite -----
' ShellAndWait through the COM boundary: it returns only when the program has
' ended, runs programs whose quoted path holds spaces, and comes back from
' start failures (the failure's message box has no window to show here).
Dim lib, fso, sh, base, out, spaced, t
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set fso = CreateObject("Scripting.FileSystemObject")
Set sh = CreateObject("WScript.Shell")
base = fso.GetSpecialFolder(2).Path & "\qx launch suite"
If fso.FolderExists(base) Then fso.DeleteFolder base, True
fso.CreateFolder base
out = base & "\out file.txt"

' The program's last act is writing the file: a call that did not wait would
' come back before it is there with its last number.
lib.ShellAndWait "cmd /c for /l %i in (1,1,400) do @echo %i> """ & out & """", 0
CheckEqual FileText(out), "400" & vbCrLf, "ShellAndWait waits for the program to end"

spaced = base & "\my tools\copy of cmd.exe"
fso.CreateFolder base & "\my tools"
fso.CopyFile sh.Environment("PROCESS")("SystemRoot") & "\system32\cmd.exe", spaced
Check fso.FileExists(spaced), "the spaced copy of cmd is there"
lib.ShellAndWait """" & spaced & """ /c echo spaced> """ & out & """", 1
CheckEqual FileText(out), "spaced" & vbCrLf, "a quoted program path with spaces"
lib.ShellAndWait "cmd /c exit 3", 6
Pass "a program ending with an exit code"

t = Now
lib.ShellAndWait base & "\no such program.exe", 1
Pass "a missing program returns"
lib.ShellAndWait "", 0
Pass "an empty command returns"
lib.ShellAndWait "cmd /c exit 0", 5
Pass "an unknown window style returns"
Check 86400 * (Now - t) < 30, "start failures return at once"

fso.DeleteFolder base, True
Summary
