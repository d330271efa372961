' The routines that work on the host's forms, given script-class forms and
' controls that the library reaches late-bound: members read and assigned by
' name, a control's kind from its TypeName property, the controls through
' Count and Item or through a collection it enumerates.

Class Ctl
    Public TypeName
    Public Left
    Public Top
    Public Width
    Public Height
    Public Enabled
    Public Tag
    Public BackColor
    Public ForeColor
    Public BackColorBkg
    Public Nodes
    Public Sub Move(l, t, w, h)
        Left = l : Top = t : Width = w : Height = h
    End Sub
End Class

' Drawn without a window: no Enabled, no position, no Move.
Class Bare
    Public TypeName
End Class

Class Coll
    Private d
    Private Sub Class_Initialize()
        Set d = CreateObject("Scripting.Dictionary")
    End Sub
    Public Sub Add(o)
        d.Add d.Count, o
    End Sub
    Public Property Get Count()
        Count = d.Count
    End Property
    Public Function Item(i)
        Set Item = d.Item(CLng(i))
    End Function
End Class

Class ScriptForm
    Public TypeName
    Public Name
    Public Left
    Public Top
    Public Width
    Public Height
    Public ScaleMode
    Public BackColor
    Public Controls
    Public Function Count()
        Count = Controls.Count
    End Function
    Public Function Item(i)
        Set Item = Controls.Item(i)
    End Function
End Class

Function NewCtl(typ, l, t, w, h)
    Set NewCtl = New Ctl
    NewCtl.TypeName = typ
    NewCtl.Left = l : NewCtl.Top = t : NewCtl.Width = w : NewCtl.Height = h
    NewCtl.Enabled = True
    NewCtl.Tag = ""
    NewCtl.BackColor = 0
    NewCtl.BackColorBkg = 0
End Function

Function NewForm(name, items)
    Dim i
    Set NewForm = New ScriptForm
    NewForm.TypeName = "Form"
    NewForm.Name = name
    NewForm.Left = 0 : NewForm.Top = 0 : NewForm.Width = 10000 : NewForm.Height = 8000
    NewForm.ScaleMode = 1
    NewForm.BackColor = &H123456
    Set NewForm.Controls = New Coll
    For Each i In items
        NewForm.Controls.Add i
    Next
End Function

Dim lib, frm, a, b, ln, dict, r
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")
Set ln = New Bare
ln.TypeName = "Line"

' ----- enable, disable, save and restore -----
Set a = NewCtl("CommandButton", 0, 0, 100, 100)
Set b = NewCtl("CommandButton", 0, 0, 100, 100)
b.Enabled = False
Set frm = NewForm("frmMain", Array(a, ln, b))
lib.EnableAllControls frm
Check a.Enabled And b.Enabled, "EnableAllControls passes over a control without Enabled"
lib.DisableAllControls frm
Check Not a.Enabled And Not b.Enabled, "DisableAllControls"
a.Enabled = True
lib.DisableSaveControls frm
Check Not a.Enabled, "DisableSaveControls disables an enabled control"
lib.RestoreSavedControls frm
Check a.Enabled And Not b.Enabled, "RestoreSavedControls; a disabled control stays disabled"

' A collection the library enumerates rather than indexes.
Set dict = CreateObject("Scripting.Dictionary")
dict.Add a, 0
dict.Add b, 1
Set frm.Controls = dict
lib.DisableSaveControls frm
Check Not a.Enabled, "an enumerated collection is disabled"
lib.RestoreSavedControls frm
Check a.Enabled And Not b.Enabled, "an enumerated collection is restored"

' ----- centring -----
Dim small, big
Set small = NewForm("frmSmall", Array())
Set big = NewForm("frmBig", Array())
small.Height = 4001 : small.Width = 3000
big.Height = 6001 : big.Width = 5000
lib.CenterObject small
lib.CenterObject big
Check small.Top - big.Top = 1000 And small.Left - big.Left = 1000, "CenterObject centres on the screen"
Set a = NewCtl("PictureBox", 1000, 500, 3000, 2000)
Set b = NewCtl("CommandButton", 0, 0, 1000, 600)
lib.CenterInControl b, a
Check b.Top = 1200 And b.Left = 2000, "CenterInControl (" & b.Left & ", " & b.Top & ")"
lib.CenterInForm b, big
Check b.Top = big.Top + 2700.5, "CenterInForm centres on the form, unrounded (" & b.Top & ")"
On Error Resume Next
lib.CenterObject ln
CheckErr 438, "CenterObject on an object without a position raises 438"
lib.CenterInForm b, Nothing
CheckErr 91, "CenterInForm on Nothing raises 91"
On Error GoTo 0

' ----- resizing -----
Dim rz, wide
Set wide = NewCtl("CommandButton", 9000, 0, 3000, 500)
Set frm = NewForm("frmResize", Array(wide, ln))
Set rz = CreateObject("QXGenRtns.clsQXResizeForm")
rz.InitResizeArray frm
On Error Resume Next
rz.ResizeControls frm
CheckErr 0, "a control without Move raises nothing"
On Error GoTo 0
' Right edge 12000 on a form 10000 wide: 0.83 across.
CheckEqual wide.Left & "," & wide.Width, "7470,2490", "ResizeControls moves a control through its Move"

' ----- colours -----
Dim btn, lv, grid, tree, node
Set btn = NewCtl("CommandButton", 0, 0, 1, 1)
Set lv = NewCtl("ListView", 0, 0, 1, 1)
Set grid = NewCtl("MSHFlexGrid", 0, 0, 1, 1)
Set tree = NewCtl("TreeView", 0, 0, 1, 1)
Set node = NewCtl("Node", 0, 0, 1, 1)
Set tree.Nodes = New Coll
tree.Nodes.Add node
Set frm = NewForm("frmSkin", Array(btn, lv, grid, tree))
lib.ShowButtonTabColor frm, &H804000
CheckEqual btn.BackColor, &H804000, "ShowButtonTabColor"
lib.ShowButtonTabTextColor frm, &HFFFF&
CheckEqual btn.ForeColor, &HFFFF&, "ShowButtonTabTextColor"
lib.ShowFormColor frm, &HC08000
CheckEqual frm.BackColor, &HC08000, "ShowFormColor"
lib.ShowDisplayColor frm, &HE0E0E0
CheckEqual grid.BackColorBkg, &HE0E0E0, "ShowDisplayColor"
lib.SetListViewBackColor frm, &H80FF80
CheckEqual lv.BackColor, &H80FF80, "SetListViewBackColor"
lib.SetTreeViewBackColor frm, &H8080FF
CheckEqual node.BackColor, &H8080FF, "SetTreeViewBackColor colours the nodes"

' Colours left out are -999: the form keeps its own background.
grid.BackColorBkg = 0
lib.SkinIt frm, &H804001, &HFFFFFF, &HC0C0C0
Check btn.BackColor = &H804001 And frm.BackColor = &HC08000, "SkinIt with its optional colours left out"
CheckEqual grid.BackColorBkg, 0, "without a display colour grids are left alone"
lib.SkinIt frm, &H804000, &HFFFFFF, &HC0C0C0, &H8000&, -999, &HC0FFC0
CheckEqual frm.BackColor & "," & grid.BackColorBkg, CStr(&H8000&) & "," & CStr(&HC0FFC0), "SkinIt with colours given"

On Error Resume Next
r = lib.BrowseFolder("C:\", ln)
CheckErr 438, "BrowseFolder needs the form's window handle"
r = lib.BrowseFolder("C:\", Nothing)
CheckErr 91, "BrowseFolder needs a form"
On Error GoTo 0

Summary
