' Control state and centring on script-class forms and controls: the library
' reaches them late-bound, through a Count/Item collection or a collection it
' enumerates (a dictionary keyed by the controls).

Class ScriptControl
    Public TypeName
    Public Left
    Public Top
    Public Width
    Public Height
    Public Enabled
    Public Tag
End Class

' A control whose host grows it by one whenever it is moved.
Class GrowingControl
    Public TypeName
    Public Left
    Public Width
    Public Height
    Private mTop
    Public Property Get Top
        Top = mTop
    End Property
    Public Property Let Top(v)
        mTop = v
        Height = Height + 1
        Width = Width + 1
    End Property
End Class

' Drawn without a window: no Enabled, no position.
Class ScriptLine
    Public TypeName
End Class

Class ScriptControls
    Private mItems()
    Private mCount
    Private Sub Class_Initialize
        mCount = 0
        ReDim mItems(0)
    End Sub
    Public Sub Add(c)
        ReDim Preserve mItems(mCount)
        Set mItems(mCount) = c
        mCount = mCount + 1
    End Sub
    Public Property Get Count
        Count = mCount
    End Property
    Public Function Item(i)
        Set Item = mItems(i)
    End Function
End Class

Class ScriptForm
    Public TypeName
    Public Name
    Public Left
    Public Top
    Public Width
    Public Height
    Public MousePointer
    Public Controls
End Class

Class IndexedForm
    Public TypeName
    Public Name
    Public Index
    Public Controls
End Class

Function NewControl(enabled)
    Dim c
    Set c = New ScriptControl
    c.TypeName = "CommandButton"
    c.Left = 0
    c.Top = 0
    c.Width = 100
    c.Height = 100
    c.Enabled = enabled
    c.Tag = ""
    Set NewControl = c
End Function

Function NewForm(name, coll)
    Dim f
    Set f = New ScriptForm
    f.TypeName = "Form"
    f.Name = name
    f.Left = 0
    f.Top = 0
    f.Width = 6000
    f.Height = 4000
    f.MousePointer = 0
    Set f.Controls = coll
    Set NewForm = f
End Function

Dim lib, coll, frm, a, b, ln, c
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")

' ----- enable and disable all -----
Set coll = New ScriptControls
Set a = NewControl(False)
Set ln = New ScriptLine
ln.TypeName = "Line"
Set b = NewControl(False)
coll.Add a
coll.Add ln
coll.Add b
Set frm = NewForm("frmMain", coll)

On Error Resume Next
lib.EnableAllControls frm
CheckErr 0, "EnableAllControls passes over a control without Enabled"
On Error GoTo 0
CheckEqual a.Enabled, True, "EnableAllControls enables the first control"
CheckEqual b.Enabled, True, "EnableAllControls reaches the control after the line"
lib.DisableAllControls frm
CheckEqual a.Enabled, False, "DisableAllControls disables the first control"
CheckEqual b.Enabled, False, "DisableAllControls disables the last control"

' A form without Controls, and an object that is no form: nothing raised.
On Error Resume Next
lib.EnableAllControls ln
CheckErr 0, "EnableAllControls on an object without Controls"
lib.RestoreSavedControls ln
CheckErr 0, "RestoreSavedControls on an object without Controls"
On Error GoTo 0

' ----- save and restore -----
a.Enabled = True
b.Enabled = False
lib.DisableSaveControls frm
CheckEqual a.Enabled, False, "DisableSaveControls disables an enabled control"
lib.DisableSaveControls frm
lib.RestoreSavedControls frm
CheckEqual a.Enabled, True, "a second save keeps the first state"
CheckEqual b.Enabled, False, "a control disabled before the save stays disabled"
lib.DisableAllControls frm
lib.RestoreSavedControls frm
CheckEqual a.Enabled, False, "a restored state is forgotten"

Dim other, oa
Set oa = NewControl(True)
Set coll = New ScriptControls
coll.Add oa
Set other = NewForm("frmNever", coll)
lib.RestoreSavedControls other
CheckEqual oa.Enabled, True, "RestoreSavedControls on a form never saved changes nothing"

' Forms of a set: the same Name, told apart by Index.
Dim f1, f2, c1, c2
Set f1 = New IndexedForm
Set f2 = New IndexedForm
f1.Name = "frmDoc"
f2.Name = "frmDoc"
f1.Index = 1
f2.Index = 2
Set c1 = NewControl(True)
Set c2 = NewControl(False)
Set coll = New ScriptControls
coll.Add c1
Set f1.Controls = coll
Set coll = New ScriptControls
coll.Add c2
Set f2.Controls = coll
lib.DisableSaveControls f1
lib.DisableSaveControls f2
lib.RestoreSavedControls f2
CheckEqual c1.Enabled, False, "restoring form 2 leaves form 1 alone"
lib.RestoreSavedControls f1
CheckEqual c1.Enabled, True, "form 1 gets its own state back"
' Without Index the key is the Name alone: frmMain's state reaches a second frmMain.
Dim twin, tc
Set tc = NewControl(False)
Set coll = New ScriptControls
coll.Add tc
Set twin = NewForm("frmMain", coll)
a.Enabled = True
lib.DisableSaveControls frm
lib.RestoreSavedControls twin
CheckEqual tc.Enabled, True, "two forms of one Name share a saved state"

' A collection the library enumerates rather than indexes.
Dim dict, d1, d2
Set dict = CreateObject("Scripting.Dictionary")
Set d1 = NewControl(True)
Set d2 = NewControl(False)
dict.Add d1, 0
dict.Add d2, 1
Set frm = NewForm("frmDict", dict)
lib.DisableSaveControls frm
CheckEqual d1.Enabled, False, "an enumerated collection is disabled"
lib.RestoreSavedControls frm
CheckEqual d1.Enabled, True, "an enumerated collection is restored, first control"
CheckEqual d2.Enabled, False, "an enumerated collection is restored, second control"

' ----- centring -----
Dim small, big
Set small = NewForm("frmSmall", New ScriptControls)
Set big = NewForm("frmBig", New ScriptControls)
small.Height = 4001
small.Width = 3000
big.Height = 6001
big.Width = 5000
lib.CenterObject small
lib.CenterObject big
Check small.Top - big.Top = 1000, "CenterObject: half the difference in height (" & small.Top & ", " & big.Top & ")"
Check small.Left - big.Left = 1000, "CenterObject: half the difference in width"
CheckEqual TypeName(small.Top), "Double", "the position is handed over unrounded"
Check small.Top - Int(small.Top) = 0.5, "an odd height leaves half a twip (" & small.Top & ")"

Dim host, obj
Set host = NewControl(True)
host.Left = 1000
host.Top = 500
host.Width = 3000
host.Height = 2000
Set obj = New GrowingControl
obj.Left = 0
obj.Top = 0
obj.Height = 600
obj.Width = 1000
lib.CenterInControl obj, host
Check obj.Top = 1200, "CenterInControl Top (" & obj.Top & ")"
' Setting Top grew the control by one: Left is worked out from the grown width.
Check obj.Left = 1999.5, "CenterInControl Left (" & obj.Left & ")"
CheckEqual obj.Height, CLng(600), "CenterInControl puts the height back"
CheckEqual obj.Width, CLng(1000), "CenterInControl puts the width back"
lib.CenterInForm obj, big
Check obj.Top = big.Top + 2700.5, "CenterInForm Top (" & obj.Top & ")"
Check obj.Left = big.Left + 1999.5, "CenterInForm Left (" & obj.Left & ")"
CheckEqual obj.Height, CLng(600), "CenterInForm puts the height back"

On Error Resume Next
lib.CenterObject ln
CheckErr 438, "CenterObject on an object without a position raises 438"
lib.CenterInControl obj, ln
CheckErr 438, "CenterInControl on a control without a position raises 438"
lib.CenterInForm obj, Nothing
CheckErr 91, "CenterInForm on Nothing raises 91"
On Error GoTo 0

Summary
