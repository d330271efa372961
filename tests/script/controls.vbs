' Control state, centring and resizing on script-class forms and controls,
' which the library reaches late-bound: through a Count/Item collection, or a
' collection it enumerates (a dictionary keyed by the controls).

Class ScriptControl
    Public TypeName
    Public Left
    Public Width
    Public Height
    Public Enabled
    Public Tag
    Public Grows
    Private mTop
    Public Property Get Top
        Top = mTop
    End Property
    ' A host may resize a control it moves; Grows makes this one do so.
    Public Property Let Top(v)
        mTop = v
        If Grows Then Height = Height + 1 : Width = Width + 1
    End Property
    Public Sub Move(l, t, w, h)
        Left = l : mTop = t : Width = w : Height = h
    End Sub
End Class

' Drawn without a window: no Enabled, no position, no Move.
Class ScriptLine
    Public TypeName
End Class

Class ScriptControls
    Private mItems
    Private Sub Class_Initialize
        Set mItems = CreateObject("Scripting.Dictionary")
    End Sub
    Public Sub Add(c)
        mItems.Add mItems.Count, c
    End Sub
    Public Property Get Count
        Count = mItems.Count
    End Property
    Public Function Item(i)
        Set Item = mItems.Item(CLng(i))
    End Function
End Class

' Index left Empty adds nothing to the form's key.
Class ScriptForm
    Public TypeName
    Public Name
    Public Index
    Public Left
    Public Top
    Public Width
    Public Height
    Public ScaleMode
    Public Controls
End Class

Function NewControl(l, t, w, h, enabled)
    Set NewControl = New ScriptControl
    NewControl.TypeName = "CommandButton"
    NewControl.Left = l : NewControl.Top = t : NewControl.Width = w : NewControl.Height = h
    NewControl.Enabled = enabled
    NewControl.Tag = ""
End Function

Function NewForm(name, items)
    Dim i
    Set NewForm = New ScriptForm
    NewForm.TypeName = "Form"
    NewForm.Name = name
    NewForm.Left = 0 : NewForm.Top = 0 : NewForm.Width = 10000 : NewForm.Height = 8000
    NewForm.ScaleMode = 1
    Set NewForm.Controls = New ScriptControls
    For Each i In items
        NewForm.Controls.Add i
    Next
End Function

Dim lib, frm, a, b, ln
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set ln = New ScriptLine
ln.TypeName = "Line"

' ----- enable, disable, save and restore -----
Set a = NewControl(0, 0, 100, 100, True)
Set b = NewControl(0, 0, 100, 100, False)
Set frm = NewForm("frmMain", Array(a, ln, b))
On Error Resume Next
lib.EnableAllControls frm
CheckErr 0, "EnableAllControls passes over a control without Enabled"
On Error GoTo 0
Check a.Enabled And b.Enabled, "EnableAllControls enables every control"
lib.DisableAllControls frm
Check Not a.Enabled And Not b.Enabled, "DisableAllControls disables every control"

a.Enabled = True
lib.DisableSaveControls frm
Check Not a.Enabled, "DisableSaveControls disables an enabled control"
lib.DisableSaveControls frm
lib.RestoreSavedControls frm
Check a.Enabled And Not b.Enabled, "a second save keeps the first state; a disabled control stays disabled"
lib.DisableAllControls frm
lib.RestoreSavedControls frm
Check Not a.Enabled, "a restored state is forgotten"

' A collection the library enumerates rather than indexes.
Dim dict, d1, d2
Set dict = CreateObject("Scripting.Dictionary")
Set d1 = NewControl(0, 0, 1, 1, True)
Set d2 = NewControl(0, 0, 1, 1, False)
dict.Add d1, 0
dict.Add d2, 1
Set frm.Controls = dict
frm.Name = "frmDict"
lib.DisableSaveControls frm
Check Not d1.Enabled, "an enumerated collection is disabled"
lib.RestoreSavedControls frm
Check d1.Enabled And Not d2.Enabled, "an enumerated collection is restored"

On Error Resume Next
lib.EnableAllControls ln
lib.RestoreSavedControls ln
CheckErr 0, "control routines on an object without Controls raise nothing"
On Error GoTo 0

' ----- centring -----
Dim small, big, obj, host
Set small = NewForm("frmSmall", Array())
Set big = NewForm("frmBig", Array())
small.Height = 4001 : small.Width = 3000
big.Height = 6001 : big.Width = 5000
lib.CenterObject small
lib.CenterObject big
Check small.Top - big.Top = 1000 And small.Left - big.Left = 1000, "CenterObject centres on the screen"

Set host = NewControl(1000, 500, 3000, 2000, True)
Set obj = NewControl(0, 0, 1000, 600, True)
obj.Grows = True
lib.CenterInControl obj, host
Check obj.Top = 1200, "CenterInControl Top (" & obj.Top & ")"
' Setting Top grew the control by one: Left is worked out from the grown width.
Check obj.Left = 1999.5, "CenterInControl Left (" & obj.Left & ")"
Check obj.Height = 600 And obj.Width = 1000, "CenterInControl puts the size back"
lib.CenterInForm obj, big
Check obj.Top = big.Top + 2700.5 And obj.Height = 600, "CenterInForm centres on the form, unrounded"

On Error Resume Next
lib.CenterObject ln
CheckErr 438, "CenterObject on an object without a position raises 438"
lib.CenterInForm obj, Nothing
CheckErr 91, "CenterInForm on Nothing raises 91"
On Error GoTo 0

' ----- resizing -----
Dim rz, wide, marked, plain
Set wide = NewControl(9000, 0, 3000, 500, True)
Set marked = NewControl(1000, 1000, 1000, 1000, True)
marked.Tag = "noresize"
Set plain = NewControl(101, 6000, 2000, 1000, True)
Set frm = NewForm("frmResize", Array(wide, marked, ln, plain))
Set rz = CreateObject("QXGenRtns.clsQXResizeForm")
rz.ResizeControls frm
CheckEqual wide.Left, 9000, "ResizeControls before InitResizeArray does nothing"
rz.InitResizeArray frm
frm.ScaleMode = 3
On Error Resume Next
rz.ResizeControls frm
CheckErr 0, "a control without Move raises nothing"
On Error GoTo 0
' Right edge 12000 on a form 10000 wide: 0.83 across; nothing reaches past the bottom.
CheckEqual wide.Left, CLng(7470), "Left scaled by 0.83"
CheckEqual wide.Width, CLng(2490), "Width scaled by 0.83"
CheckEqual plain.Top, CLng(6000), "tops keep factor 1"
CheckEqual plain.Left, CLng(84), "83.83 rounds to 84"
Check marked.Left = 1000 And marked.Width = 1000, "a control tagged noresize keeps its place"
CheckEqual frm.ScaleMode, 1, "the scale mode of the measuring is put back"

Summary
