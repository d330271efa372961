' ----- suite -----
' The registry routines through the COM boundary, on a key of the current
' user that the suite creates and removes. Under Wine every process is an
' administrator, so the writing routines act.
Dim lib, sh, fso, k, r, a, i, info, rc
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
Const HKCR = &H80000000
Const HKCU = &H80000001
Const HKLM = &H80000002
k = "Software\QXGenRtnsScript"

' Values of types the library does not write, byte for byte, through the
' system's own import of a .reg file.
Sub RegImport(lines)
    Dim path, ts
    path = fso.GetSpecialFolder(2).Path & "\qx registry suite.reg"
    Set ts = fso.CreateTextFile(path, True)
    ts.Write "REGEDIT4" & vbCrLf & vbCrLf & "[HKEY_CURRENT_USER\" & k & "]" & vbCrLf & lines
    ts.Close
    sh.Run "reg import """ & path & """", 0, True
    fso.DeleteFile path
End Sub

lib.DeleteKey HKCU, k & "\Sub"
lib.DeleteKey HKCU, k

' ----- keys -----
CheckEqual lib.KeyExists(HKCU, k), False, "KeyExists before creation"
CheckEqual lib.CreateNewKey(HKCU, k & "\Sub"), True, "CreateNewKey creates every level"
CheckEqual lib.KeyExists(HKCU, k), True, "KeyExists of the parent"
CheckEqual lib.KeyExists(HKCU, UCase(k) & "\sub"), True, "KeyExists without regard to case"
CheckEqual lib.DeleteKey(HKCU, k), False, "DeleteKey of a key with subkeys"
CheckEqual lib.DeleteKey(HKCU, k & "\Sub"), True, "DeleteKey of a leaf"
CheckEqual lib.KeyExists(HKCU, k & "\Sub"), False, "the leaf is gone"
CheckEqual lib.DeleteKey(HKCU, k & "\Sub"), False, "DeleteKey of a missing key"
CheckEqual lib.KeyExists(12345, k), False, "KeyExists under an invalid handle"

' ----- writing -----
lib.SetKeyValue HKCU, k, "text", "abc", 1
lib.SetKeyValue HKCU, k, "bin", 42, 3
lib.SetKeyValue HKCU, k, "num", "258", 4
lib.SetKeyValue HKCU, k, "neg", -2, 4
lib.SetKeyValue HKCU, k, "exp", "%TEMP%", 2
lib.SetKeyValue HKCU, k, "multi", "a", 7
lib.SetKeyValue HKCU, k & "\Missing", "lost", "x", 1
CheckEqual sh.RegRead("HKCU\" & k & "\text"), "abc", "SetKeyValue REG_SZ as the system reads it"
a = sh.RegRead("HKCU\" & k & "\bin")
CheckEqual UBound(a), CLng(2), "REG_BINARY holds the text and one NUL"
CheckEqual CStr(a(0)) & "," & CStr(a(1)) & "," & CStr(a(2)), "52,50,0", "REG_BINARY bytes"
CheckEqual sh.RegRead("HKCU\" & k & "\num"), CLng(258), "SetKeyValue REG_DWORD"
CheckEqual lib.GetValue(HKCU, k, "neg", 0), CLng(-2), "a negative REG_DWORD"
CheckEqual lib.GetValue(HKCU, k, "exp", "none"), "none", "REG_EXPAND_SZ is not written"
CheckEqual lib.GetValue(HKCU, k, "multi", "none"), "none", "REG_MULTI_SZ is not written"
CheckEqual lib.KeyExists(HKCU, k & "\Missing"), False, "SetKeyValue does not create keys"
CheckEqual lib.SetValueEx(HKCU, "QXGenRtnsScriptValue", 1, "root"), CLng(0), "SetValueEx on a root handle"
CheckEqual lib.GetValue(HKCU, "", "QXGenRtnsScriptValue", ""), "root", "the value is at the root"
CheckEqual lib.DeleteValue(HKCU, "", "QXGenRtnsScriptValue"), True, "DeleteValue at the root"
CheckEqual lib.SetValueEx(HKCU, "x", 2, "y"), CLng(0), "SetValueEx REG_EXPAND_SZ writes nothing"
CheckEqual lib.SetValueEx(12345, "x", 1, "y"), CLng(6), "SetValueEx on an invalid handle"
On Error Resume Next
lib.SetKeyValue HKCU, k, "num", "many", 4
CheckErr 13, "a REG_DWORD of a word"
On Error GoTo 0

' ----- reading -----
RegImport """big""=hex(5):00,00,01,02" & vbCrLf & _
          """ms""=hex(7):6f,6e,65,00,74,77,6f,00,00" & vbCrLf & _
          """bin3""=hex:41,42,43" & vbCrLf & _
          """empty""=hex(1):" & vbCrLf
sh.RegWrite "HKCU\" & k & "\expand", "%SystemRoot%\x", "REG_EXPAND_SZ"
CheckEqual lib.GetValue(HKCU, k, "text", ""), "abc", "GetValue REG_SZ"
CheckEqual lib.GetValue(HKCU, k, "num", ""), CLng(258), "GetValue REG_DWORD is a Long"
CheckEqual lib.GetValue(HKCU, k, "big", ""), CLng(258), "GetValue REG_DWORD_BIG_ENDIAN of 00 00 01 02"
CheckEqual lib.GetValue(HKCU, k, "bin3", ""), "AB", "GetValue REG_BINARY of three bytes"
CheckEqual lib.GetValue(HKCU, k, "bin", ""), "42", "GetValue REG_BINARY written as text"
r = lib.GetValue(HKCU, k, "ms", "")
CheckEqual Len(r), CLng(8), "GetValue REG_MULTI_SZ keeps its inner NULs"
CheckEqual Replace(r, Chr(0), "|"), "one|two|", "GetValue REG_MULTI_SZ text"
CheckEqual lib.GetValue(HKCU, k, "expand", ""), sh.Environment("PROCESS")("SystemRoot") & "\x", "GetValue REG_EXPAND_SZ is expanded"
CheckEqual lib.GetValue(HKCU, k, "absent", "dflt"), "dflt", "GetValue of a missing value"
CheckEqual lib.GetValue(HKCU, k, "absent", 7), 7, "the default keeps its type"
Check IsNull(lib.GetValue(HKCU, k & "\Nope", "text", Null)), "GetValue under a missing key gives Null back"
On Error Resume Next
r = lib.GetValue(HKCU, k, "empty", "")
CheckErr 5, "GetValue of an empty REG_SZ"
On Error GoTo 0

CheckEqual lib.GetString(HKCU, k, "text"), "abc", "GetString of REG_SZ"
r = lib.GetString(HKCU, k, "bin3")
CheckEqual Len(r), CLng(2), "GetString of REG_BINARY takes bytes in pairs"
CheckEqual Right(r, 1), "C", "GetString of REG_BINARY: the odd byte and the 0 make the last character"
Check Left(r, 1) <> "A" And Left(r, 1) <> "B", "GetString of REG_BINARY: A and B make one character"
CheckEqual lib.GetString(HKCU, k, "num"), "", "GetString of a REG_DWORD"
CheckEqual lib.GetString(HKCU, k & "\Nope", "text"), "", "GetString under a missing key"
lib.SetValueEx HKCU, "QXGenRtnsScriptBin", 3, "xy"
a = lib.RegQueryStringValue(HKCU, "QXGenRtnsScriptBin")
CheckEqual UBound(a), CLng(3), "RegQueryStringValue REG_BINARY gives bytes 0 to n"
CheckEqual a(0) & "," & a(1) & "," & a(2) & "," & a(3), "120,121,0,0", "RegQueryStringValue bytes"
lib.DeleteValue HKCU, "", "QXGenRtnsScriptBin"
Check IsEmpty(lib.RegQueryStringValue(HKCU, "QXGenRtnsScriptBin")), "RegQueryStringValue of a missing value"
Check IsEmpty(lib.RegQueryStringValue(12345, "x")), "RegQueryStringValue on an invalid handle"
CheckEqual lib.DeleteValue(HKCU, k, "text"), True, "DeleteValue"
CheckEqual lib.DeleteValue(HKCU, k, "text"), False, "DeleteValue of a missing value"
CheckEqual lib.DeleteValue(HKCU, k & "\Nope", "text"), False, "DeleteValue under a missing key"

' ----- GetRegistryInfo -----
info = Empty
lib.GetRegistryInfo info
Check IsArray(info), "GetRegistryInfo gives a script an array"
CheckEqual UBound(info), CLng(3), "four fields"
CheckEqual info(2), sh.RegRead("HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProductName"), "Product"
CheckEqual info(3), sh.RegRead("HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProductId"), "ProductId"
CheckEqual info(0), sh.RegRead("HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\RegisteredOwner"), "RegOwner"
lib.GetRegistryInfo
Pass "GetRegistryInfo without an argument"

CheckEqual lib.DeleteKey(HKCU, k), True, "the suite's key is removed"
Summary
