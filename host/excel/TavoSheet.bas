Attribute VB_Name = "TavoSheet"
' Tavo: a worksheet read for the drawing, as the workbook host (`tavo
' export`) reads one: the cells that draw something (a value, a border, a
' fill that becomes a solid), the merged areas, the range that is drawn and
' its grid on the paper. TavoCells and TavoShapes draw from what is kept
' here.
Option Explicit

Private Const EDGE_DIAGONAL_DOWN As Long = 5
Private Const XL_NONE As Long = -4142
Private Const XL_AUTOMATIC As Long = -4105
Public Const KIND_EMPTY As Byte = 0
Public Const KIND_TEXT As Byte = 1
Public Const KIND_NUMBER As Byte = 2
Public Const KIND_BOOLEAN As Byte = 3

' The cells that draw, row by row, left to right: place, kind, fill
' (&HRRGGBB, -1 none) and six borders each at 6 * cell + edge - 5 (Excel's
' xlDiagonalDown 5 to xlEdgeRight 10): style 0 to 13, colour -1 automatic.
Public SheetCells As Long
Public SheetCellRow() As Long, SheetCellCol() As Long, SheetCellKind() As Byte, SheetCellFill() As Long
Public SheetBorderStyle() As Byte, SheetBorderColor() As Long
' Merged areas, clipped to the area read.
Public SheetMerges As Long
Public SheetMergeTop() As Long, SheetMergeLeft() As Long, SheetMergeBottom() As Long, SheetMergeRight() As Long
' The drawn range and its grid on the paper: visible ordinals of its rows
' and columns (-1 hidden), and where the grid lines lie on the paper.
Public SheetFirstRow As Long, SheetFirstCol As Long, SheetLastRow As Long, SheetLastCol As Long
Public SheetRowOrd() As Long, SheetColOrd() As Long
Public SheetXs() As Double, SheetYs() As Double, SheetVisibleRows As Long, SheetVisibleCols As Long

Private mSheet As Object
Private mMm As Double
' The area read (the selection, or the used range).
Private mAreaRow As Long, mAreaCol As Long, mAreaRows As Long, mAreaCols As Long
Private mValues As Variant
Private mMergeAt() As Long
' Widths and heights in points from column and row 1 on (0 when hidden),
' read as far as needed.
Private mColWidth() As Double, mColsKnown As Long
Private mRowHeight() As Double, mRowsKnown As Long
Private mPaperLeft As Double, mPaperTop As Double

' Reads the cells of `area` and lays the drawn range out on the paper: the
' area itself when `requested`, else the box round what draws. False when
' the user cancels in the progress dialog; a sheet with nothing to draw, or
' too much, raises an error.
Public Function TavoReadSheet(ByVal sheet As Object, ByVal area As Object, ByVal requested As Boolean, _
        s As TSettings) As Boolean
    Set mSheet = sheet
    mMm = s.DimScale
    mColsKnown = 0
    mRowsKnown = 0
    mAreaRow = area.Row
    mAreaCol = area.Column
    mAreaRows = area.Rows.Count
    mAreaCols = area.Columns.Count
    If mAreaRows > TAVO_MAX_ROWS Or CDbl(mAreaRows) * mAreaCols > TAVO_MAX_CELLS Then
        TavoFail TavoUnescape("\u30B7\u30FC\u30C8 ""%1"" \u306F %2 \u30BB\u30EB\u3042\u3063\u3066\u3001\u63CF\u304F\u306B\u306F" & _
            "\u5E83\u3059\u304E\u307E\u3059\u3002\u63CF\u304F\u7BC4\u56F2\u3092\u9078\u629E\u3057\u3066\u304F\u3060\u3055\u3044\u3002"), _
            sheet.Name, mAreaRows & " x " & mAreaCols
    End If
    If mAreaRows = 1 And mAreaCols = 1 Then
        ReDim mValues(1 To 1, 1 To 1)
        mValues(1, 1) = area.Value
    Else
        mValues = area.Value
    End If
    If Not ReadCells(area, s) Then Exit Function
    If Not FindDrawnRange(requested) Then
        ' The sheet "%1" has nothing to draw.
        TavoFail TavoUnescape("\u30B7\u30FC\u30C8 ""%1"" \u306B\u306F\u63CF\u304F\u3082\u306E\u304C\u3042\u308A\u307E\u305B\u3093\u3002"), sheet.Name, ""
    End If
    LayOutGrid s
    TavoReadSheet = True
End Function

Private Function KindOf(v As Variant) As Byte
    Select Case VarType(v)
        Case vbEmpty, vbNull
            KindOf = KIND_EMPTY
        Case vbBoolean
            KindOf = KIND_BOOLEAN
        Case vbInteger, vbLong, vbSingle, vbDouble, vbCurrency, vbDate, vbDecimal, vbByte
            KindOf = KIND_NUMBER
        Case Else
            KindOf = KIND_TEXT          ' texts and error values
    End Select
End Function

' One border: its style (0 none) and colour (-1 automatic). A property the
' sheet cannot give keeps its default: no border, thin, automatic.
Private Sub ReadBorder(ByVal borders As Object, ByVal edge As Long, style As Byte, rgb As Long)
    Dim b As Object, lineStyle As Long, weight As Long, colorIndex As Long
    style = 0
    rgb = -1
    On Error Resume Next
    Set b = borders.Item(edge)
    lineStyle = XL_NONE
    lineStyle = b.LineStyle
    If lineStyle = XL_NONE Then Exit Sub
    weight = 2
    weight = b.Weight
    style = TavoBorderStyle(lineStyle, weight)
    colorIndex = XL_AUTOMATIC
    colorIndex = b.ColorIndex
    If colorIndex <> XL_AUTOMATIC Then rgb = TavoRgbOf(b.Color)
End Sub

' The fill of a cell as &HRRGGBB, -1 for none (gradients are left out).
Private Function ReadFill(ByVal cell As Object) As Long
    Dim inside As Object
    ReadFill = -1
    On Error Resume Next
    Set inside = cell.Interior
    If inside.ColorIndex = XL_NONE Or inside.Pattern >= 4000 Then Exit Function
    ReadFill = TavoRgbOf(inside.Color)
End Function

' Reads every cell of the area row by row, keeping those that draw: a value,
' a border, or a fill that becomes a solid.
Private Function ReadCells(ByVal area As Object, s As TSettings) As Boolean
    Dim r As Long, c As Long, cell As Object, edges As Object, e As Long, kind As Byte, fill As Long
    Dim style(0 To 5) As Byte, rgb(0 To 5) As Long, draws As Boolean, anyMerged As Boolean
    SheetCells = 0
    SheetMerges = 0
    ReDim SheetCellRow(0 To 63): ReDim SheetCellCol(0 To 63): ReDim SheetCellKind(0 To 63): ReDim SheetCellFill(0 To 63)
    ReDim SheetBorderStyle(0 To 383): ReDim SheetBorderColor(0 To 383)
    anyMerged = True
    On Error Resume Next
    anyMerged = Not (area.MergeCells = False)
    On Error GoTo 0
    If anyMerged Then
        ReDim mMergeAt(1 To mAreaRows, 1 To mAreaCols)
    End If
    For r = 1 To mAreaRows
        If Not TavoProgress(r / mAreaRows, 0) Then Exit Function
        For c = 1 To mAreaCols
            Set cell = area.Cells(r, c)
            kind = KindOf(mValues(r, c))
            Set edges = cell.Borders
            draws = kind <> KIND_EMPTY
            For e = 0 To 5
                ReadBorder edges, e + EDGE_DIAGONAL_DOWN, style(e), rgb(e)
                If style(e) <> 0 Then draws = True
            Next
            fill = -1
            If s.ExchangeSolid <> 0 Then fill = ReadFill(cell)
            If fill >= 0 Then draws = True
            If anyMerged Then ReadMerge cell, r, c
            If draws Then AddCell mAreaRow + r - 1, mAreaCol + c - 1, kind, fill, style, rgb
        Next
    Next
    ReadCells = True
End Function

Private Sub AddCell(ByVal row As Long, ByVal col As Long, ByVal kind As Byte, ByVal fill As Long, style() As Byte, _
        rgb() As Long)
    Dim e As Long
    If SheetCells > UBound(SheetCellRow) Then
        ReDim Preserve SheetCellRow(0 To 2 * SheetCells - 1): ReDim Preserve SheetCellCol(0 To 2 * SheetCells - 1)
        ReDim Preserve SheetCellKind(0 To 2 * SheetCells - 1): ReDim Preserve SheetCellFill(0 To 2 * SheetCells - 1)
        ReDim Preserve SheetBorderStyle(0 To 12 * SheetCells - 1): ReDim Preserve SheetBorderColor(0 To 12 * SheetCells - 1)
    End If
    SheetCellRow(SheetCells) = row
    SheetCellCol(SheetCells) = col
    SheetCellKind(SheetCells) = kind
    SheetCellFill(SheetCells) = fill
    For e = 0 To 5
        SheetBorderStyle(6 * SheetCells + e) = style(e)
        SheetBorderColor(6 * SheetCells + e) = rgb(e)
    Next
    SheetCells = SheetCells + 1
End Sub

' Notes the merged area of a cell, clipped to the area read.
Private Sub ReadMerge(ByVal cell As Object, ByVal r As Long, ByVal c As Long)
    Dim m As Object, top As Long, lft As Long, bottom As Long, rgt As Long, i As Long, j As Long
    If mMergeAt(r, c) <> 0 Then Exit Sub
    If Not cell.MergeCells Then Exit Sub
    Set m = cell.MergeArea
    top = m.Row - mAreaRow + 1
    lft = m.Column - mAreaCol + 1
    bottom = top + m.Rows.Count - 1
    rgt = lft + m.Columns.Count - 1
    If top < 1 Then top = 1
    If lft < 1 Then lft = 1
    If bottom > mAreaRows Then bottom = mAreaRows
    If rgt > mAreaCols Then rgt = mAreaCols
    If top = bottom And lft = rgt Then Exit Sub
    If SheetMerges = 0 Then
        ReDim SheetMergeTop(0 To 15): ReDim SheetMergeLeft(0 To 15)
        ReDim SheetMergeBottom(0 To 15): ReDim SheetMergeRight(0 To 15)
    ElseIf SheetMerges > UBound(SheetMergeTop) Then
        ReDim Preserve SheetMergeTop(0 To 2 * SheetMerges - 1): ReDim Preserve SheetMergeLeft(0 To 2 * SheetMerges - 1)
        ReDim Preserve SheetMergeBottom(0 To 2 * SheetMerges - 1): ReDim Preserve SheetMergeRight(0 To 2 * SheetMerges - 1)
    End If
    SheetMergeTop(SheetMerges) = top + mAreaRow - 1
    SheetMergeLeft(SheetMerges) = lft + mAreaCol - 1
    SheetMergeBottom(SheetMerges) = bottom + mAreaRow - 1
    SheetMergeRight(SheetMerges) = rgt + mAreaCol - 1
    SheetMerges = SheetMerges + 1
    For i = top To bottom
        For j = lft To rgt
            mMergeAt(i, j) = SheetMerges
        Next
    Next
End Sub

' The merged area (its index from 1) holding a cell of the drawn range, 0
' for none.
Public Function TavoMergeAt(ByVal row As Long, ByVal col As Long) As Long
    If SheetMerges = 0 Then Exit Function
    If row < mAreaRow Or col < mAreaCol Or row >= mAreaRow + mAreaRows Or col >= mAreaCol + mAreaCols Then Exit Function
    If Not TavoInRange(row, col) Then Exit Function
    TavoMergeAt = mMergeAt(row - mAreaRow + 1, col - mAreaCol + 1)
End Function

' Whether a cell holds a value.
Public Function TavoCellTaken(ByVal row As Long, ByVal col As Long) As Boolean
    If row < mAreaRow Or col < mAreaCol Or row >= mAreaRow + mAreaRows Or col >= mAreaCol + mAreaCols Then Exit Function
    TavoCellTaken = KindOf(mValues(row - mAreaRow + 1, col - mAreaCol + 1)) <> KIND_EMPTY
End Function

Public Function TavoInRange(ByVal row As Long, ByVal col As Long) As Boolean
    TavoInRange = row >= SheetFirstRow And row <= SheetLastRow And col >= SheetFirstCol And col <= SheetLastCol
End Function

' The drawn range: the area itself when requested, else the box round the
' cells that draw and the drawn shapes, grown by the merged areas it
' touches; False when nothing draws.
Private Function FindDrawnRange(ByVal requested As Boolean) As Boolean
    Dim i As Long, grew As Boolean
    If requested Then
        SheetFirstRow = mAreaRow: SheetFirstCol = mAreaCol
        SheetLastRow = mAreaRow + mAreaRows - 1: SheetLastCol = mAreaCol + mAreaCols - 1
        FindDrawnRange = SheetCells > 0 Or TavoShapesDraw(mSheet)
        Exit Function
    End If
    SheetFirstRow = &H7FFFFFFF: SheetFirstCol = &H7FFFFFFF: SheetLastRow = -1: SheetLastCol = -1
    For i = 0 To SheetCells - 1
        TavoIncludeCell SheetCellRow(i), SheetCellCol(i)
    Next
    TavoIncludeShapes mSheet
    If SheetLastRow < 0 Then Exit Function
    Do
        grew = False
        For i = 0 To SheetMerges - 1
            If SheetMergeBottom(i) >= SheetFirstRow And SheetMergeTop(i) <= SheetLastRow And _
                    SheetMergeRight(i) >= SheetFirstCol And SheetMergeLeft(i) <= SheetLastCol Then
                If SheetMergeTop(i) < SheetFirstRow Or SheetMergeLeft(i) < SheetFirstCol Or _
                        SheetMergeBottom(i) > SheetLastRow Or SheetMergeRight(i) > SheetLastCol Then grew = True
                TavoIncludeCell SheetMergeTop(i), SheetMergeLeft(i)
                TavoIncludeCell SheetMergeBottom(i), SheetMergeRight(i)
            End If
        Next
    Loop While grew
    FindDrawnRange = True
End Function

' Widens the drawn range to hold a cell.
Public Sub TavoIncludeCell(ByVal row As Long, ByVal col As Long)
    If row < SheetFirstRow Then SheetFirstRow = row
    If row > SheetLastRow Then SheetLastRow = row
    If col < SheetFirstCol Then SheetFirstCol = col
    If col > SheetLastCol Then SheetLastCol = col
End Sub

' Sizes in points (0 when hidden) of columns or rows known up to `known`,
' read on to `index` and a little beyond.
Private Sub ReadSizes(ByVal columns As Boolean, sizes() As Double, known As Long, ByVal index As Long)
    Dim i As Long, last As Long, line As Object
    last = index + 63
    If columns Then
        If last > mSheet.Columns.Count Then last = mSheet.Columns.Count
    ElseIf last > mSheet.Rows.Count Then
        last = mSheet.Rows.Count
    End If
    If known = 0 Then
        ReDim sizes(1 To last)
    Else
        ReDim Preserve sizes(1 To last)
    End If
    For i = known + 1 To last
        If columns Then
            Set line = mSheet.Columns(i)
            If Not line.Hidden Then sizes(i) = line.Width
        Else
            Set line = mSheet.Rows(i)
            If Not line.Hidden Then sizes(i) = line.Height
        End If
    Next
    known = last
End Sub

' Width of a column in points, 0 when hidden.
Public Function TavoColumnWidth(ByVal col As Long) As Double
    If col > mColsKnown Then ReadSizes True, mColWidth, mColsKnown, col
    If col >= 1 And col <= mColsKnown Then TavoColumnWidth = mColWidth(col)
End Function

' Height of a row in points, 0 when hidden.
Public Function TavoRowHeight(ByVal row As Long) As Double
    If row > mRowsKnown Then ReadSizes False, mRowHeight, mRowsKnown, row
    If row >= 1 And row <= mRowsKnown Then TavoRowHeight = mRowHeight(row)
End Function

' Visible ordinals of columns (or rows) first..last (-1 hidden) and the
' running offsets of their edges in points; how many are visible.
Private Function LayOutAxis(ByVal columns As Boolean, ByVal first As Long, ByVal last As Long, ords() As Long, _
        edges() As Double) As Long
    Dim i As Long, size As Double, visible As Long
    ReDim ords(first To last): ReDim edges(0 To last - first + 1)
    For i = first To last
        If columns Then
            size = TavoColumnWidth(i)
        Else
            size = TavoRowHeight(i)
        End If
        ords(i) = -1
        If size > 0 Then
            ords(i) = visible
            edges(visible + 1) = edges(visible) + size
            visible = visible + 1
        End If
    Next
    LayOutAxis = visible
End Function

' The drawn range on the paper: hidden rows and columns take no room, and
' the figure sits as PlotOffset says (0 centred, 1 top-left, 2 bottom-left).
Private Sub LayOutGrid(s As TSettings)
    Dim i As Long, paperWidth As Double, paperHeight As Double
    Dim colEdges() As Double, rowEdges() As Double
    SheetVisibleCols = LayOutAxis(True, SheetFirstCol, SheetLastCol, SheetColOrd, colEdges)
    SheetVisibleRows = LayOutAxis(False, SheetFirstRow, SheetLastRow, SheetRowOrd, rowEdges)
    paperWidth = TavoDrawWidth(s.PlotSize)
    paperHeight = paperWidth / Sqr(2#)
    mPaperLeft = 0
    mPaperTop = rowEdges(SheetVisibleRows) * mMm
    If s.PlotOffset = 1 Then
        mPaperTop = paperHeight
    ElseIf s.PlotOffset <> 2 Then
        mPaperLeft = (paperWidth - colEdges(SheetVisibleCols) * mMm) / 2
        mPaperTop = (paperHeight + rowEdges(SheetVisibleRows) * mMm) / 2
    End If
    ReDim SheetXs(0 To SheetVisibleCols)
    For i = 0 To SheetVisibleCols
        SheetXs(i) = mPaperLeft + colEdges(i) * mMm
    Next
    ReDim SheetYs(0 To SheetVisibleRows)
    For i = 0 To SheetVisibleRows
        SheetYs(i) = mPaperTop - rowEdges(i) * mMm
    Next
End Sub

Public Function TavoSheetObject() As Object
    Set TavoSheetObject = mSheet
End Function

Public Function TavoSheetCell(ByVal row As Long, ByVal col As Long) As Object
    Set TavoSheetCell = mSheet.Cells(row, col)
End Function

Public Function TavoMillimetresPerPoint() As Double
    TavoMillimetresPerPoint = mMm
End Function

' Paper coordinates of a place on the sheet given in points from its
' top-left corner.
Public Function TavoPaperX(ByVal points As Double) As Double
    Dim i As Long, before As Double
    For i = 1 To SheetFirstCol - 1
        before = before + TavoColumnWidth(i)
    Next
    TavoPaperX = mPaperLeft + (points - before) * mMm
End Function

Public Function TavoPaperY(ByVal points As Double) As Double
    Dim i As Long, before As Double
    For i = 1 To SheetFirstRow - 1
        before = before + TavoRowHeight(i)
    Next
    TavoPaperY = mPaperTop - (points - before) * mMm
End Function

' The paper rectangle of the visible cells of rows top..bottom and columns
' lft..rgt inside the drawn range; False when none is visible.
Public Function TavoAreaRect(ByVal top As Long, ByVal lft As Long, ByVal bottom As Long, ByVal rgt As Long, _
        boxLeft As Double, boxRight As Double, boxBottom As Double, boxTop As Double) As Boolean
    Dim r0 As Long, r1 As Long, c0 As Long, c1 As Long
    If Not VisibleSpan(SheetColOrd, SheetFirstCol, SheetLastCol, lft, rgt, c0, c1) Then Exit Function
    If Not VisibleSpan(SheetRowOrd, SheetFirstRow, SheetLastRow, top, bottom, r0, r1) Then Exit Function
    boxLeft = SheetXs(c0): boxRight = SheetXs(c1 + 1): boxBottom = SheetYs(r1 + 1): boxTop = SheetYs(r0)
    TavoAreaRect = True
End Function

Private Function VisibleSpan(ords() As Long, ByVal first As Long, ByVal last As Long, ByVal a As Long, ByVal b As Long, _
        lo As Long, hi As Long) As Boolean
    Dim i As Long
    lo = -1: hi = -1
    If a < first Then a = first
    If b > last Then b = last
    For i = a To b
        If ords(i) >= 0 Then
            If lo < 0 Then lo = ords(i)
            hi = ords(i)
        End If
    Next
    VisibleSpan = lo >= 0
End Function
