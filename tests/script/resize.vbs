' clsQXResizeForm on a script-class form: the factors from the farthest edge,
' controls marked "NoResize" in any case, repeated scaling, and nothing raised
' for controls the class cannot move.

Class ResizeControl
    Public TypeName
    Public Left
    Public Top
    Public Width
    Public Height
    Public Tag
    Public Sub Move(l, t, w, h)
        Left = l
        Top = t
        Width = w
        Height = h
    End Sub
End Class

' A control without Move (a timer, say).
Class FixedControl
    Public TypeName
    Public Left
    Public Top
    Public Width
    Public Height
    Public Tag
End Class

Class ResizeControls
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

Class ResizeForm
    Public TypeName
    Public Width
    Public Height
    Public ScaleMode
    Public Controls
End Class

Function Ctl(cls, l, t, w, h, tag)
    Dim c
    If cls = "fixed" Then
        Set c = New FixedControl
    Else
        Set c = New ResizeControl
    End If
    c.TypeName = "CommandButton"
    c.Left = l
    c.Top = t
    c.Width = w
    c.Height = h
    c.Tag = tag
    Set Ctl = c
End Function

Dim rz, frm, coll, wide, marked, fixed, plain
Set coll = New ResizeControls
Set wide = Ctl("", 9000, 0, 3000, 500, "")
Set marked = Ctl("", 1000, 1000, 1000, 1000, "noresize")
Set fixed = Ctl("fixed", 500, 500, 100, 100, "")
Set plain = Ctl("", 100, 6000, 2000, 1000, "")
coll.Add wide
coll.Add marked
coll.Add fixed
coll.Add plain
Set frm = New ResizeForm
frm.TypeName = "Form"
frm.Width = 10000
frm.Height = 8000
frm.ScaleMode = 1
Set frm.Controls = coll

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
CheckEqual wide.Top, CLng(0), "Top keeps factor 1"
CheckEqual plain.Top, CLng(6000), "a layout that fits downwards keeps its tops"
CheckEqual plain.Left, CLng(83), "Left 100 becomes 83"
CheckEqual marked.Left, 1000, "a control tagged noresize keeps its position"
CheckEqual marked.Width, 1000, "a control tagged noresize keeps its size"
CheckEqual fixed.Left, 500, "a control without Move keeps its position"
CheckEqual frm.ScaleMode, 1, "the scale mode of the measuring is put back"

' A factor of 0.5 both ways, applied twice: a quarter.
Dim far, q
Set coll = New ResizeControls
Set q = Ctl("", 4000, 4000, 2000, 2000, "")
Set far = Ctl("", 18000, 14000, 2000, 2000, "")
coll.Add q
coll.Add far
Set frm.Controls = coll
rz.InitResizeArray frm
rz.ResizeControls frm
rz.ResizeControls frm
CheckEqual q.Left, CLng(1000), "two calls at 0.5 give a quarter (Left)"
CheckEqual q.Height, CLng(500), "two calls at 0.5 give a quarter (Height)"
' Halves go to the even neighbour: 1000 x 0.5 is exact, 4001 x 0.5 = 2000.5 -> 2000.
q.Left = 4001
q.Top = 4003
rz.ResizeControls frm
CheckEqual q.Left, CLng(2000), "2000.5 rounds to 2000"
CheckEqual q.Top, CLng(2002), "2001.5 rounds to 2002"

' Fewer controls than were measured, and a form without controls: no error.
Set coll = New ResizeControls
coll.Add q
Set frm.Controls = coll
On Error Resume Next
rz.ResizeControls frm
CheckErr 0, "fewer controls than at the measuring"
rz.ResizeControls New FixedControl
CheckErr 0, "an object without Controls"
rz.InitResizeArray New FixedControl
CheckErr 0, "InitResizeArray on an object without Controls"
On Error GoTo 0

Summary
