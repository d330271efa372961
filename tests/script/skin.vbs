' Skins on script-made forms: the controls are script classes that answer a
' TypeName property, and the form and its Controls answer Count and Item.
Class Coll
    Private d
    Private Sub Class_Initialize()
        Set d = CreateObject("Scripting.Dictionary")
    End Sub
    Public Sub Add(o)
        d.Add d.Count, o
    End Sub
    Public Function Count()
        Count = d.Count
    End Function
    Public Function Item(i)
        Set Item = d.Item(i)
    End Function
End Class

Class Ctl
    Public TypeName
    Public Tag
    Public BackColor
    Public MaskColor
    Public BackColorFocus
    Public BackColorOver
    Public BackColorDown
    Public BackColorDisabled
    Public ToolTipStyle
    Public Appearance
    Public AppearanceThemes
    Public GradientType
    Public ForeColor
    Public ForeColorFocus
    Public BackStyle
    Public BackColorBkg
    Public Width
    Public Height
    Public Nodes
End Class

' A control with only a background colour and a tag.
Class PlainCtl
    Public TypeName
    Public Tag
    Public BackColor
End Class

' A tree-view node that counts how often its background is set.
Class TreeNode
    Public TypeName
    Public Sets
    Private colour
    Public Property Let BackColor(v)
        colour = v
        Sets = Sets + 1
    End Property
    Public Property Get BackColor()
        BackColor = colour
    End Property
End Class

Class ScriptForm
    Public TypeName
    Public BackColor
    Public ScaleMode
    Public ScaleWidth
    Public ScaleHeight
    Public hdc
    Public Controls
    Private Sub Class_Initialize()
        TypeName = "Form"
        BackColor = &H123456
        ScaleMode = 1
        ScaleWidth = 4800
        ScaleHeight = 3600
        hdc = 0
        Set Controls = New Coll
    End Sub
    Public Function Count()
        Count = Controls.Count
    End Function
    Public Function Item(i)
        Set Item = Controls.Item(i)
    End Function
End Class

Function NewCtl(frm, typ)
    Dim c
    Set c = New Ctl
    c.TypeName = typ
    c.BackColor = 0
    c.ForeColor = 0
    c.BackStyle = 1
    c.BackColorBkg = 0
    frm.Controls.Add c
    Set NewCtl = c
End Function

Function NewPlain(frm, typ, tag)
    Dim c
    Set c = New PlainCtl
    c.TypeName = typ
    c.Tag = tag
    c.BackColor = 0
    frm.Controls.Add c
    Set NewPlain = c
End Function

Function NewTree(frm)
    Dim t, i, nd
    Set t = NewCtl(frm, "TreeView")
    Set t.Nodes = New Coll
    For i = 1 To 2
        Set nd = New TreeNode
        nd.TypeName = "Node"
        nd.Sets = 0
        t.Nodes.Add nd
    Next
    Set NewTree = t
End Function

Dim lib, frm, fancy, plain, lowerType, lbl, txt, tabs
Set lib = CreateObject("QXGenRtns.clsQXGenRtns")

' ----- button and tab colours -----
Set frm = New ScriptForm
Set fancy = NewCtl(frm, "MyButton")
Set plain = NewPlain(frm, "CommandButton", "")
Set lowerType = NewPlain(frm, "commandbutton", "")
Set lbl = NewCtl(frm, "Label")
Set txt = NewCtl(frm, "TextBox")
Set tabs = NewCtl(frm, "SSTab")
lib.ShowButtonTabColor frm, &H804000
CheckEqual fancy.BackColor, &H804000, "a MyButton takes the button colour"
CheckEqual fancy.BackColorOver, &H804064, "its hover colour is the colour plus 100"
CheckEqual fancy.MaskColor, &HFF00FF, "the second mask colour is the one that stays"
CheckEqual fancy.BackColorDown, CLng(&H40C0), "its pressed colour"
CheckEqual fancy.GradientType, CLng(3), "its gradient type"
CheckEqual fancy.Appearance, CLng(9), "its appearance"
CheckEqual plain.BackColor, &H804000, "a plain command button takes what it has"
CheckEqual lowerType.BackColor, 0, "type names are compared exactly"
CheckEqual lbl.BackStyle, 0, "labels become transparent"
CheckEqual txt.BackColor, 0, "other controls are left alone"
CheckEqual txt.BackStyle, 1, "other controls keep their back style"

lib.ShowButtonTabTextColor frm, &HFFFF&
CheckEqual fancy.ForeColor, &HFFFF&, "button text colour"
CheckEqual tabs.ForeColorFocus, &HFFFF&, "tab strip text colour"
CheckEqual lbl.ForeColor, 0, "a label's text colour is not changed"

' ----- form and display colours -----
Dim kept, changed, chk, opt, grid, rich, lv, tree1, tree2, i
Set frm = New ScriptForm
Set kept = NewPlain(frm, "Frame", "NoChange")
Set changed = NewPlain(frm, "Frame", "nochange")
Set chk = NewCtl(frm, "CheckBox")
Set opt = NewCtl(frm, "OptionButton")
Set grid = NewCtl(frm, "MSHFlexGrid")
Set rich = NewCtl(frm, "RichTextBox")
Set lv = NewCtl(frm, "ListView")
Set tree1 = NewTree(frm)
Set tree2 = NewTree(frm)
lib.ShowFormColor frm, &HC08000
CheckEqual frm.BackColor, &HC08000, "the form takes the colour"
CheckEqual kept.BackColor, 0, "a frame tagged NoChange keeps its background"
CheckEqual changed.BackColor, &HC08000, "the tag is compared with regard to case"
CheckEqual chk.Width & "x" & chk.Height, "190x110", "check boxes shrink to the box"
CheckEqual opt.Width & "x" & opt.Height, "190x90", "option buttons shrink to the circle"
CheckEqual grid.BackColor, 0, "a grid is not a container"

lib.ShowDisplayColor frm, &HE0E0E0
CheckEqual grid.BackColorBkg, &HE0E0E0, "grids take the display colour behind their cells"
CheckEqual rich.BackColor, &HE0E0E0, "rich text boxes take the display colour"
CheckEqual lv.BackColor, &HE0E0E0, "list views take the display colour"
CheckEqual tree1.Nodes.Item(1).BackColor, &HE0E0E0, "tree nodes take the display colour"
CheckEqual tree2.Nodes.Item(0).Sets, 2, "every tree view is recoloured once per tree view found"

lib.SetListViewBackColor frm, &H80FF80
CheckEqual lv.BackColor, &H80FF80, "SetListViewBackColor"
CheckEqual rich.BackColor, &HE0E0E0, "SetListViewBackColor leaves other controls"
lib.SetTreeViewBackColor frm, &H8080FF
CheckEqual tree1.Nodes.Item(0).BackColor, &H8080FF, "SetTreeViewBackColor"
CheckEqual tree1.Nodes.Item(0).Sets, 3, "once more per node"

' ----- a whole skin -----
Dim btn
Set frm = New ScriptForm
Set btn = NewCtl(frm, "CommandButton")
Set grid = NewCtl(frm, "MSHFlexGrid")
Set kept = NewPlain(frm, "PictureBox", "")
lib.SkinIt frm, &H804000, &HFFFFFF, &HC0C0C0
CheckEqual frm.BackColor, &H123456, "without a background colour the form keeps its own"
CheckEqual kept.BackColor, &H123456, "and its containers take that colour"
CheckEqual frm.ScaleMode, 1, "the scale mode is what it was"
CheckEqual grid.BackColorBkg, 0, "without a display colour grids are left alone"
CheckEqual btn.BackColor, &H804000, "buttons take the button colour"
CheckEqual btn.ForeColor, &HFFFFFF, "and the text colour"
lib.SkinIt frm, &H804000, &HFFFFFF, &HC0C0C0, &H8000&, -999, &HC0FFC0, 0
CheckEqual frm.BackColor, CLng(&H8000&), "a background colour given"
CheckEqual grid.BackColorBkg, &HC0FFC0, "a display colour given"

' ----- failures are skipped or raised as the routines say -----
Dim bare
Set bare = New PlainCtl
On Error Resume Next
lib.SkinIt bare, 1, 2, 3
CheckErr 0, "an object lacking every member is skipped over"
lib.ShowFormColor Nothing, 1
CheckErr 0, "no form: nothing to do"
Dim r
r = lib.BrowseFolder("C:\", bare)
CheckErr 438, "BrowseFolder needs the form's window handle"
r = lib.BrowseFolder("C:\", Nothing)
CheckErr 91, "BrowseFolder needs a form"
On Error GoTo 0

Summary
