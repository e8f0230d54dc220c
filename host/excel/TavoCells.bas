Attribute VB_Name = "TavoCells"
' Tavo: the cells TavoSheet read, added to the current export drawing as
' the workbook host (`tavo export`) adds them: filled cells as solids
' (ExchangeSolid), borders as lines on SenLay, texts on MojiLay, then the
' drawn shapes (TavoShapes).
Option Explicit

Private Const BORDER_DOWN As Long = 0       ' xlDiagonalDown - 5, and so on
Private Const BORDER_UP As Long = 1
Private Const BORDER_LEFT As Long = 2
Private Const BORDER_TOP As Long = 3
Private Const BORDER_BOTTOM As Long = 4
Private Const BORDER_RIGHT As Long = 5

' Adds what TavoReadSheet read; False when the user cancels.
Public Function TavoDrawSheet(s As TSettings) As Boolean
    If s.ExchangeSolid <> 0 Then DrawSolids s
    DrawBorders s
    If Not DrawCellTexts(s) Then Exit Function
    TavoDrawShapes s
    TavoDrawSheet = True
End Function

Private Function InRange(ByVal i As Long) As Boolean
    InRange = TavoInRange(SheetCellRow(i), SheetCellCol(i))
End Function

' The area a cell of the drawn range draws in: its merged area when it
' leads one; False for the other cells of a merged area and hidden cells.
Private Function CellArea(ByVal i As Long, boxLeft As Double, boxRight As Double, boxBottom As Double, _
        boxTop As Double) As Boolean
    Dim m As Long, row As Long, col As Long
    row = SheetCellRow(i)
    col = SheetCellCol(i)
    m = TavoMergeAt(row, col)
    If m > 0 Then
        If row <> SheetMergeTop(m - 1) Or col <> SheetMergeLeft(m - 1) Then Exit Function
        CellArea = TavoAreaRect(row, col, SheetMergeBottom(m - 1), SheetMergeRight(m - 1), boxLeft, boxRight, boxBottom, boxTop)
    ElseIf SheetRowOrd(row) >= 0 And SheetColOrd(col) >= 0 Then
        CellArea = TavoAreaRect(row, col, row, col, boxLeft, boxRight, boxBottom, boxTop)
    End If
End Function

' A line of a border; a double border is two lines DoubleSenPitch apart,
' one each side of the grid line.
Private Sub DrawBorderLine(ByVal x1 As Double, ByVal y1 As Double, ByVal x2 As Double, ByVal y2 As Double, _
        ByVal style As Long, ByVal rgb As Long, s As TSettings)
    Dim pen As Byte, lineType As Byte, length As Double, half As Double, nx As Double, ny As Double, side As Long
    pen = TavoPen(rgb, s.SenColor, s)
    lineType = TavoLineType(style, s)
    If style <> TAVO_STYLE_DOUBLE Then
        TavoAddLine x1, y1, x2, y2, pen, s.SenLay, lineType
        Exit Sub
    End If
    length = Sqr((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1))
    If length <= 0 Then Exit Sub
    half = CDbl(s.DoubleSenPitch) / 2#
    nx = -(y2 - y1) / length * half
    ny = (x2 - x1) / length * half
    For side = 1 To -1 Step -2
        TavoAddLine x1 + side * nx, y1 + side * ny, x2 + side * nx, y2 + side * ny, pen, s.SenLay, lineType
    Next
End Sub

' Keeps one cell side on a grid edge: the heavier style wins, then the later
' cell (to the right or below).
Private Sub KeepEdge(styles() As Byte, colors() As Long, ByVal lineNo As Long, ByVal unit As Long, ByVal i As Long, _
        ByVal side As Long)
    Dim style As Byte
    style = SheetBorderStyle(6 * i + side)
    If style = 0 Or style < styles(lineNo, unit) Then Exit Sub
    styles(lineNo, unit) = style
    colors(lineNo, unit) = SheetBorderColor(6 * i + side)
End Sub

' The last unit of the stretch that starts at `unit` along a grid line:
' neighbouring edges of one style and colour.
Private Function StretchEnd(styles() As Byte, colors() As Long, ByVal lineNo As Long, ByVal unit As Long, _
        ByVal units As Long) As Long
    StretchEnd = unit
    If styles(lineNo, unit) = 0 Then Exit Function
    Do While StretchEnd + 1 < units
        If styles(lineNo, StretchEnd + 1) <> styles(lineNo, unit) Or colors(lineNo, StretchEnd + 1) <> colors(lineNo, unit) Then Exit Do
        StretchEnd = StretchEnd + 1
    Loop
End Function

' The borders as the fewest lines: an edge two cells share is drawn once,
' sides inside merged areas are left out, and neighbouring edges of one
' style and colour along a grid line are one line. Level lines first, top
' to bottom, then upright ones, then the diagonals cell by cell.
Private Sub DrawBorders(s As TSettings)
    Dim hStyle() As Byte, hColor() As Long, vStyle() As Byte, vColor() As Long
    Dim i As Long, r As Long, c As Long, m As Long, last As Long
    Dim x0 As Double, x1 As Double, y0 As Double, y1 As Double
    If SheetVisibleRows = 0 Or SheetVisibleCols = 0 Then Exit Sub
    ReDim hStyle(0 To SheetVisibleRows, 0 To SheetVisibleCols - 1): ReDim hColor(0 To SheetVisibleRows, 0 To SheetVisibleCols - 1)
    ReDim vStyle(0 To SheetVisibleCols, 0 To SheetVisibleRows - 1): ReDim vColor(0 To SheetVisibleCols, 0 To SheetVisibleRows - 1)
    For i = 0 To SheetCells - 1
        If InRange(i) Then
            r = SheetRowOrd(SheetCellRow(i))
            c = SheetColOrd(SheetCellCol(i))
            If r >= 0 And c >= 0 Then
                m = TavoMergeAt(SheetCellRow(i), SheetCellCol(i)) - 1
                If m < 0 Then
                    KeepEdge hStyle, hColor, r, c, i, BORDER_TOP
                    KeepEdge hStyle, hColor, r + 1, c, i, BORDER_BOTTOM
                    KeepEdge vStyle, vColor, c, r, i, BORDER_LEFT
                    KeepEdge vStyle, vColor, c + 1, r, i, BORDER_RIGHT
                Else
                    If SheetCellRow(i) = SheetMergeTop(m) Then KeepEdge hStyle, hColor, r, c, i, BORDER_TOP
                    If SheetCellRow(i) = SheetMergeBottom(m) Then KeepEdge hStyle, hColor, r + 1, c, i, BORDER_BOTTOM
                    If SheetCellCol(i) = SheetMergeLeft(m) Then KeepEdge vStyle, vColor, c, r, i, BORDER_LEFT
                    If SheetCellCol(i) = SheetMergeRight(m) Then KeepEdge vStyle, vColor, c + 1, r, i, BORDER_RIGHT
                End If
            End If
        End If
    Next
    For r = 0 To SheetVisibleRows
        c = 0
        Do While c < SheetVisibleCols
            last = StretchEnd(hStyle, hColor, r, c, SheetVisibleCols)
            If hStyle(r, c) <> 0 Then DrawBorderLine SheetXs(c), SheetYs(r), SheetXs(last + 1), SheetYs(r), hStyle(r, c), hColor(r, c), s
            c = last + 1
        Loop
    Next
    For c = 0 To SheetVisibleCols
        r = 0
        Do While r < SheetVisibleRows
            last = StretchEnd(vStyle, vColor, c, r, SheetVisibleRows)
            If vStyle(c, r) <> 0 Then DrawBorderLine SheetXs(c), SheetYs(r), SheetXs(c), SheetYs(last + 1), vStyle(c, r), vColor(c, r), s
            r = last + 1
        Loop
    Next
    For i = 0 To SheetCells - 1
        If SheetBorderStyle(6 * i + BORDER_UP) <> 0 Or SheetBorderStyle(6 * i + BORDER_DOWN) <> 0 Then
            If InRange(i) Then
                If CellArea(i, x0, x1, y0, y1) Then
                    If SheetBorderStyle(6 * i + BORDER_UP) <> 0 Then DrawBorderLine x0, y0, x1, y1, _
                        SheetBorderStyle(6 * i + BORDER_UP), SheetBorderColor(6 * i + BORDER_UP), s
                    If SheetBorderStyle(6 * i + BORDER_DOWN) <> 0 Then DrawBorderLine x0, y1, x1, y0, _
                        SheetBorderStyle(6 * i + BORDER_DOWN), SheetBorderColor(6 * i + BORDER_DOWN), s
                End If
            End If
        End If
    Next
End Sub

' Filled cells as few rectangles: neighbours in a row of one colour join,
' and so do equal runs in consecutive rows; merged areas stand alone, after
' the others.
Private Sub DrawSolids(s As TSettings)
    Dim i As Long, k As Long, r As Long, c As Long, found As Long, runs As Long, rects As Long, opened As Long
    Dim runRow() As Long, runFirst() As Long, runLast() As Long, runRgb() As Long, openRect() As Long
    Dim rectTop() As Long, rectBottom() As Long, rectFirst() As Long, rectLast() As Long, rectRgb() As Long
    Dim x0 As Double, x1 As Double, y0 As Double, y1 As Double
    If SheetCells = 0 Then Exit Sub
    ReDim runRow(0 To SheetCells - 1): ReDim runFirst(0 To SheetCells - 1)
    ReDim runLast(0 To SheetCells - 1): ReDim runRgb(0 To SheetCells - 1)
    ' The cells come row by row, left to right: a run grows as they come.
    For i = 0 To SheetCells - 1
        If SheetCellFill(i) >= 0 Then
            If InRange(i) Then
                If TavoMergeAt(SheetCellRow(i), SheetCellCol(i)) = 0 Then
                    r = SheetRowOrd(SheetCellRow(i))
                    c = SheetColOrd(SheetCellCol(i))
                    If r >= 0 And c >= 0 Then
                        If runs > 0 Then
                            If runRow(runs - 1) = r And runLast(runs - 1) + 1 = c And runRgb(runs - 1) = SheetCellFill(i) Then
                                runLast(runs - 1) = c
                                c = -1
                            End If
                        End If
                        If c >= 0 Then
                            runRow(runs) = r: runFirst(runs) = c: runLast(runs) = c: runRgb(runs) = SheetCellFill(i)
                            runs = runs + 1
                        End If
                    End If
                End If
            End If
        End If
    Next
    ' A run carries on the rectangle of the same columns and colour that
    ' reached the row above; rectangles come out in the order they start.
    If runs > 0 Then
        ReDim rectTop(0 To runs - 1): ReDim rectBottom(0 To runs - 1): ReDim rectFirst(0 To runs - 1)
        ReDim rectLast(0 To runs - 1): ReDim rectRgb(0 To runs - 1): ReDim openRect(0 To runs - 1)
    End If
    For i = 0 To runs - 1
        If i = 0 Then
            opened = 0
        ElseIf runRow(i) <> runRow(i - 1) Then
            ' Only rectangles that reached the row above stay open.
            k = 0
            For c = 0 To opened - 1
                If rectBottom(openRect(c)) = runRow(i) - 1 Then
                    openRect(k) = openRect(c)
                    k = k + 1
                End If
            Next
            opened = k
        End If
        found = -1
        For c = 0 To opened - 1
            k = openRect(c)
            If rectBottom(k) = runRow(i) - 1 And rectFirst(k) = runFirst(i) And rectLast(k) = runLast(i) _
                    And rectRgb(k) = runRgb(i) Then found = k
        Next
        If found >= 0 Then
            rectBottom(found) = runRow(i)
        Else
            rectTop(rects) = runRow(i): rectBottom(rects) = runRow(i): rectFirst(rects) = runFirst(i)
            rectLast(rects) = runLast(i): rectRgb(rects) = runRgb(i)
            openRect(opened) = rects
            opened = opened + 1
            rects = rects + 1
        End If
    Next
    For k = 0 To rects - 1
        TavoAddSolid SheetXs(rectFirst(k)), SheetYs(rectTop(k)), SheetXs(rectLast(k) + 1), SheetYs(rectBottom(k) + 1), _
            rectRgb(k), s.SenLay
    Next
    For i = 0 To SheetCells - 1
        If SheetCellFill(i) >= 0 Then
            If InRange(i) Then
                If TavoMergeAt(SheetCellRow(i), SheetCellCol(i)) > 0 Then
                    If CellArea(i, x0, x1, y0, y1) Then TavoAddSolid x0, y1, x1, y0, SheetCellFill(i), s.SenLay
                End If
            End If
        End If
    Next
End Sub

' The texts of the cells that hold a value, row by row.
Private Function DrawCellTexts(s As TSettings) As Boolean
    Dim i As Long, x0 As Double, x1 As Double, y0 As Double, y1 As Double, lastRow As Long
    lastRow = -1
    For i = 0 To SheetCells - 1
        If SheetCellKind(i) <> KIND_EMPTY Then
            If InRange(i) Then
                If SheetCellRow(i) <> lastRow Then
                    lastRow = SheetCellRow(i)
                    If Not TavoProgress(1, (lastRow - SheetFirstRow + 1) / (SheetLastRow - SheetFirstRow + 1)) Then Exit Function
                End If
                If CellArea(i, x0, x1, y0, y1) Then TavoDrawCellText SheetCellRow(i), SheetCellCol(i), SheetCellKind(i), _
                    x0, x1, y0, y1, s
            End If
        End If
    Next
    DrawCellTexts = True
End Function

' How a cell's text is set: size, alignment (TAVO_GENERAL, TAVO_LEFT...),
' stacked or turned.
Private Type CellLook
    FontPoints As Double
    HAlign As Long
    VAlign As Long
    Vertical As Boolean
    Rotation As Double
End Type

' The cell's look; what the sheet cannot give keeps the sheet's default:
' 11 points, general alignment, bottom, level.
Private Function ReadLook(ByVal cell As Object) As CellLook
    Const xlGeneral As Long = 1, xlLeft As Long = -4131, xlCenter As Long = -4108, xlRight As Long = -4152
    Const xlFill As Long = 5, xlJustify As Long = -4130, xlCenterAcrossSelection As Long = 7, xlDistributed As Long = -4117
    Const xlTop As Long = -4160, xlHorizontal As Long = -4128, xlVertical As Long = -4166, xlUpward As Long = -4171
    Const xlDownward As Long = -4170
    Dim look As CellLook, v As Variant
    look.FontPoints = 11
    On Error Resume Next
    v = Empty
    v = cell.Font.Size
    If IsNull(v) Then v = cell.Characters(1, 1).Font.Size
    If Not IsEmpty(v) And Not IsNull(v) Then look.FontPoints = v
    v = xlGeneral
    v = cell.HorizontalAlignment
    Select Case v
        Case xlLeft, xlFill, xlJustify: look.HAlign = TAVO_LEFT
        Case xlCenter, xlCenterAcrossSelection, xlDistributed: look.HAlign = TAVO_CENTER
        Case xlRight: look.HAlign = TAVO_RIGHT
        Case Else: look.HAlign = TAVO_GENERAL
    End Select
    v = Empty
    v = cell.VerticalAlignment
    Select Case v
        Case xlTop: look.VAlign = TAVO_TOP
        Case xlCenter, xlJustify, xlDistributed: look.VAlign = TAVO_MIDDLE
        Case Else: look.VAlign = TAVO_BOTTOM
    End Select
    v = xlHorizontal
    v = cell.Orientation
    Select Case v
        Case xlVertical: look.Vertical = True
        Case xlUpward: look.Rotation = 90
        Case xlDownward: look.Rotation = -90
        Case xlHorizontal
        Case -90 To 90: look.Rotation = v
    End Select
    ReadLook = look
End Function

' 1 superscript, 2 subscript, 0 neither, -1 when it differs from character to
' character (or the sheet cannot say).
Private Function ScriptOf(ByVal font As Object) As Long
    Dim sup As Variant, subs As Variant
    ScriptOf = -1
    On Error Resume Next
    sup = Null: subs = Null
    sup = font.Superscript
    subs = font.Subscript
    If IsNull(sup) Or IsNull(subs) Then Exit Function
    If sup Then
        ScriptOf = 1
    ElseIf subs Then
        ScriptOf = 2
    Else
        ScriptOf = 0
    End If
End Function

' The lines of the text a cell shows; with ExchangeCaret, raised and lowered
' characters each after "^u" or "^d". Lines of blanks at the end are left out.
Private Function CellLines(ByVal cell As Object, ByVal shown As String, ByVal carets As Boolean, lines() As String) As Long
    Dim pieces() As String, piece As String, i As Long, k As Long, at As Long, whole As Long, script As Long
    Dim ch As String
    pieces = Split(shown, vbLf)
    ReDim lines(0 To UBound(pieces))
    If carets Then whole = ScriptOf(cell.Font)
    at = 1
    For i = 0 To UBound(pieces)
        piece = pieces(i)
        If Right$(piece, 1) = vbCr Then piece = Left$(piece, Len(piece) - 1)
        If carets And whole <> 0 Then
            For k = 1 To Len(piece)
                ch = Mid$(piece, k, 1)
                script = whole
                If script < 0 Then script = ScriptOf(cell.Characters(at + k - 1, 1).Font)
                If script = 1 Then
                    ch = "^u" & ch
                ElseIf script = 2 Then
                    ch = "^d" & ch
                End If
                lines(i) = lines(i) & ch
            Next
        Else
            lines(i) = piece
        End If
        at = at + Len(pieces(i)) + 1
    Next
    CellLines = UBound(pieces) + 1
    Do While CellLines > 0
        If Len(Replace(lines(CellLines - 1), " ", "")) > 0 Then Exit Do
        CellLines = CellLines - 1
    Loop
End Function

' Where a text may run past its cell, in points: into empty neighbours of its
' row, up to a cell that holds something or a merged area; beyond the drawn
' range nothing stands in the way. `need` is the room wanted on that side.
Private Function Reach(ByVal row As Long, ByVal col As Long, ByVal stepBy As Long, ByVal need As Double) As Double
    Dim c As Long, got As Double
    c = col + stepBy
    Do While got < need
        If c < SheetFirstCol Or c > SheetLastCol Then
            Reach = need
            Exit Function
        End If
        If TavoCellTaken(row, c) Or TavoMergeAt(row, c) > 0 Then Exit Do
        got = got + TavoColumnWidth(c)
        c = c + stepBy
    Loop
    If got < need Then
        Reach = got
    Else
        Reach = need
    End If
End Function

' Points a text (its cell `own` points wide), aligned `h`, may take when it
' needs `wanted`.
Private Function Room(ByVal row As Long, ByVal col As Long, ByVal own As Double, ByVal h As Long, ByVal wanted As Double) As Double
    Dim rightRoom As Double, leftRoom As Double
    Room = own
    If wanted <= own Or TavoMergeAt(row, col) > 0 Then Exit Function
    If h = TAVO_LEFT Then
        Room = own + Reach(row, col, 1, wanted - own)
    ElseIf h = TAVO_RIGHT Then
        Room = own + Reach(row, col, -1, wanted - own)
    Else
        rightRoom = Reach(row, col, 1, (wanted - own) / 2)
        leftRoom = Reach(row, col, -1, (wanted - own) / 2)
        If rightRoom < leftRoom Then
            Room = own + 2 * rightRoom
        Else
            Room = own + 2 * leftRoom
        End If
    End If
End Function

' A cell's text, one AddText for each line (AddTextV for stacked text),
' placed by its alignment in the cell's area (left, right, bottom, top).
Public Sub TavoDrawCellText(ByVal row As Long, ByVal col As Long, ByVal kind As Byte, ByVal boxLeft As Double, _
        ByVal boxRight As Double, ByVal boxBottom As Double, ByVal boxTop As Double, s As TSettings)
    Dim cell As Object, look As CellLook, shown As String, lines() As String, count As Long, i As Long
    Dim m As TavoMetrics, mm As Double, margin As Double, h As Long, cx As Double, cy As Double, n As Double
    Dim length As Double, block As Double, x As Double, y As Double, top As Double, a As Double
    Dim ux As Double, uy As Double, shift As Double, own As Double, wanted As Double, space As Double
    Dim xs() As Double, ys() As Double, lengths() As Double
    Set cell = TavoSheetCell(row, col)
    shown = cell.Text
    If Len(Trim$(Replace(Replace(Replace(shown, vbTab, " "), vbCr, " "), vbLf, " "))) = 0 Then Exit Sub
    count = CellLines(cell, shown, s.ExchangeCaret <> 0, lines)
    If count = 0 Then Exit Sub
    look = ReadLook(cell)
    mm = TavoMillimetresPerPoint()
    m = TavoMetricsFor(look.FontPoints, mm, s)
    margin = TAVO_CELL_MARGIN_POINTS * mm
    n = count
    h = look.HAlign
    If h = TAVO_GENERAL Then
        If look.Vertical Or look.Rotation <> 0 Or kind = KIND_BOOLEAN Then
            h = TAVO_CENTER
        ElseIf kind = KIND_NUMBER Then
            h = TAVO_RIGHT
        Else
            h = TAVO_LEFT
        End If
    End If
    cx = (boxLeft + boxRight) / 2
    cy = (boxBottom + boxTop) / 2
    If look.Vertical Then
        ' Columns right to left, each one character wide, written downward.
        For i = 0 To count - 1
            length = TavoLineLength(lines(i), m)
            block = m.Width + (n - 1) * m.LineStep
            If h = TAVO_LEFT Then
                x = boxLeft + margin
            ElseIf h = TAVO_RIGHT Then
                x = boxRight - margin - block
            Else
                x = cx - block / 2
            End If
            x = x + (n - 1 - i) * m.LineStep
            If look.VAlign = TAVO_TOP Then
                top = boxTop - margin
            ElseIf look.VAlign = TAVO_BOTTOM Then
                top = boxBottom + margin + length
            Else
                top = cy + length / 2
            End If
            TavoAddTextV x, top, x, top - length, m.Size, s.MojiLay, lines(i)
        Next
        Exit Sub
    End If
    If look.Rotation <> 0 Then
        ' Centred on the cell, turned about its centre.
        a = look.Rotation * TavoPi() / 180
        ux = Cos(a): uy = Sin(a)
        For i = 0 To count - 1
            length = TavoLineLength(lines(i), m)
            shift = ((n - 1) / 2 - i) * m.LineStep - m.Height / 2
            x = cx - length / 2 * ux + shift * -uy
            y = cy - length / 2 * uy + shift * ux
            TavoAddText x, y, x + length * ux, y + length * uy, m.Size, s.MojiLay, lines(i)
        Next
        Exit Sub
    End If
    If kind = KIND_TEXT Then
        ' A line longer than its cell runs into empty neighbours, and is cut
        ' where the sheet cuts it.
        own = (boxRight - boxLeft) / mm
        For i = 0 To count - 1
            wanted = TavoSheetTextPoints(lines(i), look.FontPoints) + TAVO_CELL_PADDING_POINTS
            space = Room(row, col, own, h, wanted)
            If wanted > space Then lines(i) = TavoCutText(lines(i), look.FontPoints, space - TAVO_CELL_PADDING_POINTS, h)
        Next
    End If
    TavoPlaceLines lines, count, boxLeft, boxRight, boxBottom, boxTop, h, look.VAlign, margin, margin, m, xs, ys, lengths
    For i = 0 To count - 1
        TavoAddText xs(i), ys(i), xs(i) + lengths(i), ys(i), m.Size, s.MojiLay, lines(i)
    Next
End Sub
