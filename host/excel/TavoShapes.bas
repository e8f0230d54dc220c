Attribute VB_Name = "TavoShapes"
' Tavo: the drawn shapes of a worksheet added to the current export drawing
' as the workbook host (`tavo export`) adds them: outlines as lines and arcs
' on SimbolLay, the pen from the line's colour through the palette and
' BColorIndex (an entry of 0 takes SimbolColor), the line type from its
' look through BTypeIndex; arrow heads as two short lines; ellipses as one
' AddCircle with their flatness and tilt; the texts of text boxes on
' MojiLay. Pictures, charts, controls and shapes of other kinds are
' counted, not drawn.
Option Explicit

Public Const SHAPE_LINE As Long = 0         ' corner to corner
Public Const SHAPE_ELBOW As Long = 1        ' across to Adjust of the width, down, across
Public Const SHAPE_RECT As Long = 2
Public Const SHAPE_ROUND_RECT As Long = 3   ' corners rounded by Adjust of the shorter side
Public Const SHAPE_ELLIPSE As Long = 4
Public Const SHAPE_POLYGON As Long = 5      ' PointU, PointV: fractions across and down the box

' A shape as it is drawn: its box on the paper (mm), turned clockwise by
' Rotation degrees about its centre, its outline (a border style, 0 none,
' and colour &HRRGGBB) and its text (lines apart by vbLf).
Public Type TavoShape
    Kind As Long
    BoxLeft As Double
    BoxRight As Double
    BoxBottom As Double
    BoxTop As Double
    Rotation As Double
    FlipH As Boolean
    FlipV As Boolean
    Style As Long
    Rgb As Long
    HeadArrow As Boolean
    TailArrow As Boolean
    ArrowPoints As Double
    Adjust As Double
    Points As Long
    PointU() As Double
    PointV() As Double
    Closed As Boolean
    Text As String
    FontPoints As Double
    TextAlign As Long
    TextAnchor As Long
End Type

' What a sheet holds that is not drawn.
Public ShapesPictures As Long, ShapesCharts As Long, ShapesControls As Long, ShapesOthers As Long

Private Const MSO_CHART As Long = 3
Private Const MSO_FREEFORM As Long = 5
Private Const MSO_GROUP As Long = 6
Private Const MSO_LINE As Long = 9
Private Const MSO_PICTURE As Long = 13
Private Const MSO_TEXT_BOX As Long = 17

' The shape frame of the one being drawn: centre, size and turn.
Private mCx As Double, mCy As Double, mW As Double, mH As Double, mCos As Double, mSin As Double
Private mFlipH As Boolean, mFlipV As Boolean
Private mPen As Byte, mLineType As Byte, mLay As Byte, mTurn As Double, mArrow As Double, mShapeMm As Double

' A point of the frame given in mm from its centre, y up, before the turn.
Private Sub FramePoint(ByVal dx As Double, ByVal dy As Double, x As Double, y As Double)
    x = mCx + dx * mCos + dy * mSin
    y = mCy - dx * mSin + dy * mCos
End Sub

' A point of the frame given as fractions across and down it.
Private Sub UnitPoint(ByVal u As Double, ByVal v As Double, x As Double, y As Double)
    If mFlipH Then u = 1 - u
    If mFlipV Then v = 1 - v
    FramePoint (u - 0.5) * mW, (0.5 - v) * mH, x, y
End Sub

' An angle in degrees brought into [0, 360), as JW_CAD readers take them.
Public Function TavoNormalizedDegrees(ByVal degrees As Double) As Double
    Dim d As Double
    d = degrees - 360# * Fix(degrees / 360#)
    If d < 0 Then d = d + 360
    If d >= 360 Then d = 0
    TavoNormalizedDegrees = d
End Function

Private Sub Segment(ByVal x1 As Double, ByVal y1 As Double, ByVal x2 As Double, ByVal y2 As Double)
    TavoAddLine x1, y1, x2, y2, mPen, mLay, mLineType
End Sub

' Two short lines back from the tip, either side of the line from (fx, fy).
Private Sub Arrow(ByVal tx As Double, ByVal ty As Double, ByVal fx As Double, ByVal fy As Double)
    Dim dx As Double, dy As Double, length As Double, size As Double, a As Double, sign As Long, ux As Double, uy As Double
    dx = fx - tx: dy = fy - ty
    length = Sqr(dx * dx + dy * dy)
    If length <= 0 Then Exit Sub
    size = mArrow * mShapeMm
    For sign = 1 To -1 Step -2
        a = sign * TAVO_ARROW_DEGREES * TavoPi() / 180
        ux = (dx * Cos(a) - dy * Sin(a)) / length
        uy = (dx * Sin(a) + dy * Cos(a)) / length
        Segment tx, ty, tx + ux * size, ty + uy * size
    Next
End Sub

Private Sub Arc(ByVal x As Double, ByVal y As Double, ByVal r As Double, ByVal startDegrees As Double, ByVal endDegrees As Double)
    TavoAddCircle x, y, r, 1, TavoNormalizedDegrees(startDegrees - mTurn), TavoNormalizedDegrees(endDegrees - mTurn), 0, _
        mPen, mLay, mLineType
End Sub

' The sides and corners of a shape (its Points through the frame for the
' line kinds and polygons).
Private Sub DrawOutline(sh As TavoShape)
    Dim xs() As Double, ys() As Double, n As Long, i As Long, hw As Double, hh As Double, r As Double
    Dim ax As Double, ay As Double, bx As Double, by As Double
    Select Case sh.Kind
        Case SHAPE_LINE, SHAPE_ELBOW
            ReDim xs(0 To 3): ReDim ys(0 To 3)
            UnitPoint 0, 0, xs(0), ys(0)
            n = 1
            If sh.Kind = SHAPE_ELBOW Then
                UnitPoint sh.Adjust, 0, xs(1), ys(1)
                UnitPoint sh.Adjust, 1, xs(2), ys(2)
                n = 3
            End If
            UnitPoint 1, 1, xs(n), ys(n)
            For i = 1 To n
                Segment xs(i - 1), ys(i - 1), xs(i), ys(i)
            Next
            If sh.HeadArrow Then Arrow xs(0), ys(0), xs(1), ys(1)
            If sh.TailArrow Then Arrow xs(n), ys(n), xs(n - 1), ys(n - 1)
        Case SHAPE_RECT
            ReDim xs(0 To 3): ReDim ys(0 To 3)
            UnitPoint 0, 0, xs(0), ys(0)
            UnitPoint 1, 0, xs(1), ys(1)
            UnitPoint 1, 1, xs(2), ys(2)
            UnitPoint 0, 1, xs(3), ys(3)
            For i = 1 To 3
                Segment xs(i - 1), ys(i - 1), xs(i), ys(i)
            Next
            Segment xs(3), ys(3), xs(0), ys(0)
        Case SHAPE_ROUND_RECT
            hw = mW / 2: hh = mH / 2
            r = sh.Adjust
            If r < 0 Then r = 0
            If r > 0.5 Then r = 0.5
            If mW < mH Then
                r = r * mW
            Else
                r = r * mH
            End If
            FramePoint -hw + r, hh, ax, ay: FramePoint hw - r, hh, bx, by: Segment ax, ay, bx, by
            FramePoint hw, hh - r, ax, ay: FramePoint hw, -hh + r, bx, by: Segment ax, ay, bx, by
            FramePoint hw - r, -hh, ax, ay: FramePoint -hw + r, -hh, bx, by: Segment ax, ay, bx, by
            FramePoint -hw, -hh + r, ax, ay: FramePoint -hw, hh - r, bx, by: Segment ax, ay, bx, by
            If r <= 0 Then Exit Sub
            FramePoint hw - r, hh - r, ax, ay: Arc ax, ay, r, 0, 90
            FramePoint -hw + r, hh - r, ax, ay: Arc ax, ay, r, 90, 180
            FramePoint -hw + r, -hh + r, ax, ay: Arc ax, ay, r, 180, 270
            FramePoint hw - r, -hh + r, ax, ay: Arc ax, ay, r, 270, 360
        Case SHAPE_ELLIPSE
            If mW <= 0 And mH <= 0 Then Exit Sub
            FramePoint 0, 0, ax, ay
            If mH > mW Then
                TavoAddCircle ax, ay, mH / 2, mW / mH, 0, 0, TavoNormalizedDegrees(-mTurn + 90), mPen, mLay, mLineType
            ElseIf mW > 0 Then
                TavoAddCircle ax, ay, mW / 2, mH / mW, 0, 0, TavoNormalizedDegrees(-mTurn), mPen, mLay, mLineType
            Else
                TavoAddCircle ax, ay, mW / 2, 1, 0, 0, TavoNormalizedDegrees(-mTurn), mPen, mLay, mLineType
            End If
        Case SHAPE_POLYGON
            If sh.Points = 0 Then Exit Sub
            ReDim xs(0 To sh.Points - 1): ReDim ys(0 To sh.Points - 1)
            For i = 0 To sh.Points - 1
                UnitPoint sh.PointU(i), sh.PointV(i), xs(i), ys(i)
                If i > 0 Then Segment xs(i - 1), ys(i - 1), xs(i), ys(i)
            Next
            If sh.Closed And sh.Points > 2 Then Segment xs(sh.Points - 1), ys(sh.Points - 1), xs(0), ys(0)
    End Select
End Sub

' The lines of a text box's text, placed by its alignment inside the box
' less its insets, turned with the box.
Private Sub DrawText(sh As TavoShape, s As TSettings)
    Dim lines() As String, count As Long, i As Long, m As TavoMetrics, mm As Double
    Dim xs() As Double, ys() As Double, lengths() As Double, ax As Double, ay As Double, bx As Double, by As Double
    lines = Split(sh.Text, vbLf)
    count = UBound(lines) + 1
    Do While count > 0
        If Len(Replace(lines(count - 1), " ", "")) > 0 Then Exit Do
        count = count - 1
    Loop
    If count = 0 Then Exit Sub
    mm = mShapeMm
    m = TavoMetricsFor(sh.FontPoints, mm, s)
    TavoPlaceLines lines, count, -mW / 2, mW / 2, -mH / 2, mH / 2, sh.TextAlign, sh.TextAnchor, _
        TAVO_TEXT_BOX_INSET_X * mm, TAVO_TEXT_BOX_INSET_Y * mm, m, xs, ys, lengths
    For i = 0 To count - 1
        FramePoint xs(i), ys(i), ax, ay
        FramePoint xs(i) + lengths(i), ys(i), bx, by
        TavoAddText ax, ay, bx, by, m.Size, s.MojiLay, lines(i)
    Next
End Sub

' Draws one shape: its outline, then its text.
Public Sub TavoDrawShape(sh As TavoShape, s As TSettings)
    Dim a As Double
    mCx = (sh.BoxLeft + sh.BoxRight) / 2: mCy = (sh.BoxTop + sh.BoxBottom) / 2
    mW = sh.BoxRight - sh.BoxLeft: mH = sh.BoxTop - sh.BoxBottom
    a = sh.Rotation * TavoPi() / 180
    mCos = Cos(a): mSin = Sin(a)
    mFlipH = sh.FlipH: mFlipV = sh.FlipV
    mTurn = sh.Rotation
    mArrow = sh.ArrowPoints
    mShapeMm = s.DimScale
    mPen = TavoPen(sh.Rgb, s.SimbolColor, s)
    mLineType = TavoLineType(sh.Style, s)
    mLay = s.SimbolLay
    If sh.Style <> 0 Then DrawOutline sh
    If Len(sh.Text) > 0 Then DrawText sh, s
End Sub

' A property of an object, or `fallback` when the object cannot give it.
Public Function TavoProperty(ByVal obj As Object, ByVal name As String, ByVal fallback As Variant) As Variant
    TavoProperty = fallback
    If obj Is Nothing Then Exit Function
    On Error Resume Next
    TavoProperty = CallByName(obj, name, VbGet)
End Function

Private Function Part(ByVal obj As Object, ByVal name As String) As Object
    Set Part = Nothing
    If obj Is Nothing Then Exit Function
    On Error Resume Next
    Set Part = CallByName(obj, name, VbGet)
End Function

' An arrow head's length in points: short, medium or long
' (MsoArrowheadLength 1 to 3) for a line of `weight` points.
Private Function ArrowLength(ByVal lengthKind As Long, ByVal weight As Double) As Double
    If weight < 1 Then weight = 1
    Select Case lengthKind
        Case 1: ArrowLength = weight * 4
        Case 3: ArrowLength = weight * 8
        Case Else: ArrowLength = weight * 6
    End Select
End Function

' The shape's kind, from its type and AutoShapeType; -1 for one without a
' drawing.
Private Sub ReadKind(ByVal shape As Object, sh As TavoShape)
    Dim shapeType As Long, adjustments As Object
    sh.Kind = -1
    shapeType = TavoProperty(shape, "Type", -1)
    Set adjustments = Part(shape, "Adjustments")
    If shapeType = MSO_LINE Then
        sh.Kind = SHAPE_LINE
    ElseIf TavoProperty(shape, "Connector", False) Then
        sh.Kind = SHAPE_LINE
        If TavoProperty(Part(shape, "ConnectorFormat"), "Type", 1) = 2 Then     ' elbow
            sh.Kind = SHAPE_ELBOW
            If TavoProperty(adjustments, "Count", 0) = 0 Then
                SetPoints sh, Array(0#, 1#, 1#), Array(0#, 0#, 1#), False
            Else
                sh.Adjust = adjustments(1)
            End If
        End If
    ElseIf shapeType = MSO_TEXT_BOX Then
        sh.Kind = SHAPE_RECT
    ElseIf shapeType = MSO_FREEFORM Then
        ReadVertices shape, sh
    Else
        Select Case TavoProperty(shape, "AutoShapeType", -1)
            Case 1                                   ' rectangle
                sh.Kind = SHAPE_RECT
            Case 5                                   ' rounded rectangle
                sh.Kind = SHAPE_ROUND_RECT
                If TavoProperty(adjustments, "Count", 0) > 0 Then sh.Adjust = adjustments(1)
            Case 9                                   ' oval
                sh.Kind = SHAPE_ELLIPSE
            Case 7                                   ' isosceles triangle
                SetPoints sh, Array(0.5, 1#, 0#), Array(0#, 1#, 1#), True
            Case 8                                   ' right triangle
                SetPoints sh, Array(0#, 1#, 0#), Array(0#, 1#, 1#), True
            Case 4                                   ' diamond
                SetPoints sh, Array(0.5, 1#, 0.5, 0#), Array(0#, 0.5, 1#, 0.5), True
        End Select
    End If
End Sub

' A freeform's corners as fractions of its box; closed when it ends where it
' starts.
Private Sub ReadVertices(ByVal shape As Object, sh As TavoShape)
    Dim nodes As Variant, i As Long, n As Long, first As Long, us() As Double, vs() As Double
    nodes = TavoProperty(shape, "Vertices", Empty)
    If Not IsArray(nodes) Then Exit Sub
    first = LBound(nodes, 1)
    n = UBound(nodes, 1) - first + 1
    If n < 2 Or shape.Width <= 0 Or shape.Height <= 0 Then Exit Sub
    sh.Kind = SHAPE_POLYGON
    sh.Points = n
    sh.Closed = False
    ReDim us(0 To n - 1): ReDim vs(0 To n - 1)
    For i = 0 To n - 1
        us(i) = (nodes(first + i, LBound(nodes, 2)) - shape.Left) / shape.Width
        vs(i) = (nodes(first + i, LBound(nodes, 2) + 1) - shape.Top) / shape.Height
    Next
    sh.PointU = us
    sh.PointV = vs
    If n > 2 And us(0) = us(n - 1) And vs(0) = vs(n - 1) Then
        sh.Points = n - 1
        sh.Closed = True
    End If
End Sub

' Reads a shape of the sheet into `sh`, its box in points from the sheet's
' top-left corner; False for a kind without a drawing.
Private Function ReadShape(ByVal shape As Object, sh As TavoShape) As Boolean
    Dim lineFormat As Object, weight As Double
    sh.Adjust = 0.5
    sh.Closed = True
    sh.FontPoints = 11
    sh.Rgb = -1
    sh.Points = 0
    ReadKind shape, sh
    If sh.Kind < 0 Then Exit Function
    sh.BoxLeft = TavoProperty(shape, "Left", 0)
    sh.BoxTop = TavoProperty(shape, "Top", 0)
    sh.BoxRight = sh.BoxLeft + TavoProperty(shape, "Width", 0)
    sh.BoxBottom = sh.BoxTop + TavoProperty(shape, "Height", 0)
    sh.Rotation = TavoProperty(shape, "Rotation", 0)
    sh.FlipH = TavoProperty(shape, "HorizontalFlip", 0) <> 0
    sh.FlipV = TavoProperty(shape, "VerticalFlip", 0) <> 0
    Set lineFormat = Part(shape, "Line")
    If TavoProperty(lineFormat, "Visible", 0) <> 0 Then
        weight = TavoProperty(lineFormat, "Weight", 0.75)
        sh.Style = TavoShapeLineStyle(TavoProperty(lineFormat, "DashStyle", 1), weight, TavoProperty(lineFormat, "Style", 1) > 1)
        sh.Rgb = TavoRgbOf(TavoProperty(Part(lineFormat, "ForeColor"), "RGB", 0))
        sh.HeadArrow = TavoProperty(lineFormat, "BeginArrowheadStyle", 1) > 1
        sh.TailArrow = TavoProperty(lineFormat, "EndArrowheadStyle", 1) > 1
        If sh.TailArrow Then
            sh.ArrowPoints = ArrowLength(TavoProperty(lineFormat, "EndArrowheadLength", 2), weight)
        Else
            sh.ArrowPoints = ArrowLength(TavoProperty(lineFormat, "BeginArrowheadLength", 2), weight)
        End If
    End If
    ReadShapeText shape, sh
    ReadShape = True
End Function

' A polygon of the points (us(i), vs(i)), fractions across and down the box.
Private Sub SetPoints(sh As TavoShape, us As Variant, vs As Variant, ByVal closed As Boolean)
    Dim i As Long, u() As Double, v() As Double
    sh.Kind = SHAPE_POLYGON
    sh.Points = UBound(us) - LBound(us) + 1
    ReDim u(0 To sh.Points - 1): ReDim v(0 To sh.Points - 1)
    For i = 0 To sh.Points - 1
        u(i) = us(LBound(us) + i)
        v(i) = vs(LBound(vs) + i)
    Next
    sh.PointU = u
    sh.PointV = v
    sh.Closed = closed
End Sub

Private Sub ReadShapeText(ByVal shape As Object, sh As TavoShape)
    Dim text As String, range2 As Object, size As Variant
    Set range2 = Part(Part(shape, "TextFrame2"), "TextRange")
    If range2 Is Nothing Then
        text = TavoProperty(Part(Part(shape, "TextFrame"), "Characters"), "Text", "")
    Else
        text = TavoProperty(range2, "Text", "")
    End If
    text = Replace(Replace(Replace(Replace(text, vbCrLf, vbLf), vbCr, vbLf), Chr$(11), vbLf), vbTab, " ")
    Do While Right$(text, 1) = vbLf
        text = Left$(text, Len(text) - 1)
    Loop
    sh.Text = text
    If Len(text) = 0 Then Exit Sub
    size = Empty
    On Error Resume Next
    If range2 Is Nothing Then
        size = shape.TextFrame.Characters(1, 1).Font.Size
    Else
        size = range2.Characters(1, 1).Font.Size
    End If
    On Error GoTo 0
    If Not IsEmpty(size) And Not IsNull(size) Then sh.FontPoints = size
    sh.TextAlign = TAVO_LEFT
    Select Case TavoProperty(Part(range2, "ParagraphFormat"), "Alignment", 1)
        Case 2: sh.TextAlign = TAVO_CENTER
        Case 3: sh.TextAlign = TAVO_RIGHT
    End Select
    sh.TextAnchor = TAVO_TOP
    Select Case TavoProperty(Part(shape, "TextFrame2"), "VerticalAnchor", 1)
        Case 3: sh.TextAnchor = TAVO_MIDDLE
        Case 4: sh.TextAnchor = TAVO_BOTTOM
    End Select
End Sub

' What a shape that is no drawing is: counted among pictures, charts or
' controls; True for those that may draw.
Private Function Countable(ByVal shape As Object, ByVal counting As Boolean) As Boolean
    Select Case TavoProperty(shape, "Type", -1)
        Case MSO_PICTURE, 11                         ' picture, linked picture
            If counting Then ShapesPictures = ShapesPictures + 1
        Case MSO_CHART
            If counting Then ShapesCharts = ShapesCharts + 1
        Case 7, 8, 10, 12                            ' embedded and linked objects, form and ActiveX controls
            If counting Then ShapesControls = ShapesControls + 1
        Case 4                                       ' a comment: not a drawing of the sheet
        Case Else
            Countable = True
    End Select
End Function

Private Function IsVisible(ByVal shape As Object) As Boolean
    IsVisible = TavoProperty(shape, "Visible", -1) <> 0
End Function

' The shapes of one sheet shape (the members of a group), read.
Private Function Members(ByVal shape As Object, items() As TavoShape, ByVal counting As Boolean) As Long
    Dim i As Long, group As Object, n As Long
    If Not IsVisible(shape) Then Exit Function
    If Not Countable(shape, counting) Then Exit Function
    If TavoProperty(shape, "Type", -1) = MSO_GROUP Then
        Set group = Part(shape, "GroupItems")
        If group Is Nothing Then
            If counting Then ShapesOthers = ShapesOthers + 1
            Exit Function
        End If
        For i = 1 To group.Count
            If IsVisible(group(i)) And Countable(group(i), counting) Then AddMember group(i), items, n, counting
        Next
    Else
        AddMember shape, items, n, counting
    End If
    Members = n
End Function

Private Sub AddMember(ByVal shape As Object, items() As TavoShape, count As Long, ByVal counting As Boolean)
    Dim sh As TavoShape
    If Not ReadShape(shape, sh) Then
        If counting Then ShapesOthers = ShapesOthers + 1
        Exit Sub
    End If
    If sh.Style = 0 And Len(sh.Text) = 0 Then Exit Sub
    If count = 0 Then
        ReDim items(0 To 7)
    ElseIf count > UBound(items) Then
        ReDim Preserve items(0 To 2 * count - 1)
    End If
    items(count) = sh
    count = count + 1
End Sub

' The column (or row) that holds a place `points` from the sheet's left (or
' top) edge; a place on the edge between two belongs to the second.
Private Function LineAt(ByVal columns As Boolean, ByVal points As Double) As Long
    Dim edge As Double, index As Long
    index = 1
    Do
        If columns Then
            edge = edge + TavoColumnWidth(index)
        Else
            edge = edge + TavoRowHeight(index)
        End If
        If edge > points + 0.01 Or index >= 1048576 Or (columns And index >= 16384) Then Exit Do
        index = index + 1
    Loop
    LineAt = index
End Function

' Widens the drawn range to the cells under each shape that draws.
Public Sub TavoIncludeShapes(ByVal sheet As Object)
    Dim i As Long, items() As TavoShape, shape As Object
    For i = 1 To sheet.Shapes.Count
        Set shape = sheet.Shapes(i)
        If Members(shape, items, False) > 0 Then
            TavoIncludeCell LineAt(False, shape.Top), LineAt(True, shape.Left)
            TavoIncludeCell LineAt(False, shape.Top + shape.Height), LineAt(True, shape.Left + shape.Width)
        End If
    Next
End Sub

' Whether the sheet has a shape that draws.
Public Function TavoShapesDraw(ByVal sheet As Object) As Boolean
    Dim i As Long, items() As TavoShape
    For i = 1 To sheet.Shapes.Count
        If Members(sheet.Shapes(i), items, False) > 0 Then
            TavoShapesDraw = True
            Exit Function
        End If
    Next
End Function

' Adds the sheet's shapes, after its cells; a shape wholly beyond the drawn
' range is left out.
Public Sub TavoDrawShapes(s As TSettings)
    Dim sheet As Object, i As Long, k As Long, n As Long, items() As TavoShape, sh As TavoShape
    Dim rangeLeft As Double, rangeRight As Double, rangeBottom As Double, rangeTop As Double
    ShapesPictures = 0: ShapesCharts = 0: ShapesControls = 0: ShapesOthers = 0
    Set sheet = TavoSheetObject()
    rangeLeft = SheetXs(0): rangeRight = SheetXs(SheetVisibleCols)
    rangeTop = SheetYs(0): rangeBottom = SheetYs(SheetVisibleRows)
    For i = 1 To sheet.Shapes.Count
        n = Members(sheet.Shapes(i), items, True)
        For k = 0 To n - 1
            sh = items(k)
            sh.BoxLeft = TavoPaperX(sh.BoxLeft): sh.BoxRight = TavoPaperX(sh.BoxRight)
            sh.BoxTop = TavoPaperY(sh.BoxTop): sh.BoxBottom = TavoPaperY(sh.BoxBottom)
            If sh.BoxRight >= rangeLeft And sh.BoxLeft <= rangeRight And sh.BoxBottom <= rangeTop _
                    And sh.BoxTop >= rangeBottom Then TavoDrawShape sh, s
        Next
    Next
End Sub
