Attribute VB_Name = "TavoRules"
' Tavo: the rules a sheet is drawn by, shared by TavoSheet and TavoShapes:
' border styles, the palette and pens, text sizes, and how wide a text is
' as the sheet shows it. The block between the GENERATED lines is written
' from the workbook host's own tables (tests/excel/basic_rules.cpp), so that
' the macro and `tavo export` draw a sheet alike; a test keeps it current.
Option Explicit

' Horizontal and vertical placement of a text.
Public Const TAVO_GENERAL As Long = 0
Public Const TAVO_LEFT As Long = 1
Public Const TAVO_CENTER As Long = 2
Public Const TAVO_RIGHT As Long = 3
Public Const TAVO_BOTTOM As Long = 0
Public Const TAVO_MIDDLE As Long = 1
Public Const TAVO_TOP As Long = 2

' The size a text is drawn at: the row of the text-size table, its
' character width, height and spacing in paper mm, and the distance from
' one line to the next.
Public Type TavoMetrics
    Size As Long
    Width As Double
    Height As Double
    Pitch As Double
    LineStep As Double
End Type

' BEGIN GENERATED
Public Const TAVO_STYLE_HAIR As Long = 1
Public Const TAVO_STYLE_DOTTED As Long = 2
Public Const TAVO_STYLE_DASH_DOT_DOT As Long = 3
Public Const TAVO_STYLE_DASH_DOT As Long = 4
Public Const TAVO_STYLE_DASHED As Long = 5
Public Const TAVO_STYLE_THIN As Long = 6
Public Const TAVO_STYLE_MEDIUM_DASH_DOT_DOT As Long = 7
Public Const TAVO_STYLE_SLANT_DASH_DOT As Long = 8
Public Const TAVO_STYLE_MEDIUM_DASH_DOT As Long = 9
Public Const TAVO_STYLE_MEDIUM_DASHED As Long = 10
Public Const TAVO_STYLE_MEDIUM As Long = 11
Public Const TAVO_STYLE_THICK As Long = 12
Public Const TAVO_STYLE_DOUBLE As Long = 13
Public Const TAVO_CELL_MARGIN_POINTS As Double = 1.5
Public Const TAVO_CELL_PADDING_POINTS As Double = 3.75
Public Const TAVO_LINE_SPACING As Double = 1.3
Public Const TAVO_TEXT_BOX_INSET_X As Double = 7.2
Public Const TAVO_TEXT_BOX_INSET_Y As Double = 3.6
Public Const TAVO_ARROW_DEGREES As Double = 25
Public Const TAVO_MAX_ROWS As Long = 65536
Public Const TAVO_MAX_CELLS As Long = 500000
Private Const TAVO_DIGIT_POINTS As Double = 0.4772727272727273
Private Const TAVO_ASCII_DIGITS As String = "0.5,0.5,1,1,1,1,1,0.5,0.6,0.6,1,1,0.5,0.6,0.5,0.6,1,1,1,1,1,1,1," & _
    "1,1,1,0.5,0.5,1,1,1,1,1,1,1,1,1,1,1,1,1,0.5,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,0.6," & _
    "1,1,0.5,0.5,1,0.5,1,1,1,1,1,0.6,1,0.6,1,1,1,1,1,1,1,0.5,1,1"
Private Const TAVO_KANA_DIGITS As Double = 1
Private Const TAVO_WIDE_DIGITS As Double = 2
Private Const TAVO_PALETTE As String = "1:000000,2:FFFFFF,3:FF0000,4:00FF00,5:0000FF,6:FFFF00,7:FF00FF," & _
    "8:00FFFF,9:800000,10:008000,11:000080,12:808000,13:800080,14:008080,15:C0C0C0,16:808080,33:00CCFF," & _
    "34:CCFFFF,35:CCFFCC,36:FFFF99,37:99CCFF,38:FF99CC,39:CC99FF,40:FFCC99,41:3366FF,42:33CCCC,43:99CC00," & _
    "44:FFCC00,45:FF9900,46:FF6600,47:666699,48:969696,49:003366,50:339966,51:003300,52:333300,53:993300," & _
    "54:993366,55:333399,56:333333,17:9999FF,18:993366,19:FFFFCC,20:CCFFFF,21:660066,22:FF8080,23:0066CC," & _
    "24:CCCCFF,25:000080,26:FF00FF,27:FFFF00,28:00FFFF,29:800080,30:800000,31:008080,32:0000FF"
' END GENERATED

Private mLoaded As Boolean
Private mAsciiDigits(32 To 126) As Double
Private mPaletteIndex(0 To 55) As Long
Private mPaletteRgb(0 To 55) As Long

Private Sub LoadRules()
    Dim parts() As String, i As Long, pair() As String
    If mLoaded Then Exit Sub
    parts = Split(TAVO_ASCII_DIGITS, ",")
    For i = 32 To 126
        mAsciiDigits(i) = Val(parts(i - 32))
    Next
    parts = Split(TAVO_PALETTE, ",")
    For i = 0 To 55
        pair = Split(parts(i), ":")
        mPaletteIndex(i) = CLng(pair(0))
        mPaletteRgb(i) = CLng("&H" & pair(1))
    Next
    mLoaded = True
End Sub

Public Function TavoPi() As Double
    TavoPi = 4 * Atn(1)
End Function

' An Excel colour value (red in the lowest byte) as &HRRGGBB.
Public Function TavoRgbOf(ByVal excelColor As Long) As Long
    TavoRgbOf = (excelColor And &HFF&) * &H10000 + (excelColor And &HFF00&) + ((excelColor \ &H10000) And &HFF&)
End Function

' The colour index (1 to 56) of the palette colour nearest to &HRRGGBB; on a
' tie the index the palette lists first wins (one with a swatch in the
' settings dialog).
Public Function TavoPaletteIndex(ByVal rgb As Long) As Long
    Dim i As Long, d As Long, best As Long, dr As Long, dg As Long, db As Long
    LoadRules
    best = -1
    For i = 0 To 55
        dr = ((rgb \ &H10000) And &HFF&) - ((mPaletteRgb(i) \ &H10000) And &HFF&)
        dg = ((rgb \ &H100&) And &HFF&) - ((mPaletteRgb(i) \ &H100&) And &HFF&)
        db = (rgb And &HFF&) - (mPaletteRgb(i) And &HFF&)
        d = dr * dr + dg * dg + db * db
        If best < 0 Or d < best Then
            best = d
            TavoPaletteIndex = mPaletteIndex(i)
        End If
    Next
End Function

' The pen of a line in colour &HRRGGBB (or -1, the sheet's automatic
' colour): its palette entry of BColorIndex; automatic, or an entry JW_CAD
' has no pen for (0 in a colour without a swatch), takes `fallback`
' (SenColor for borders, SimbolColor for shapes), and pen 1 when that too
' names none: JW_CAD refuses a drawing with such a pen.
Public Function TavoPen(ByVal rgb As Long, ByVal fallback As Byte, s As TSettings) As Byte
    Dim pen As Byte
    TavoPen = 1
    If fallback >= 1 And fallback <= 9 Then TavoPen = fallback
    If rgb < 0 Then Exit Function
    pen = s.BColorIndex(TavoPaletteIndex(rgb) - 1)
    If pen >= 1 And pen <= 9 Then TavoPen = pen
End Function

' The JW_CAD line type of a border style (1 to 13) through BTypeIndex; 1
' where the settings name a type JW_CAD does not know (1 to 9 in the low
' four bits).
Public Function TavoLineType(ByVal style As Long, s As TSettings) As Byte
    TavoLineType = 1
    If style >= 1 And style <= 13 Then
        If (s.BTypeIndex(style - 1) And 15) >= 1 And (s.BTypeIndex(style - 1) And 15) <= 9 Then
            TavoLineType = s.BTypeIndex(style - 1)
        End If
    End If
End Function

' The border style (1 to 13, 0 none) of an Excel border's LineStyle and
' Weight.
Public Function TavoBorderStyle(ByVal lineStyle As Long, ByVal weight As Long) As Long
    Const xlContinuous As Long = 1, xlDash As Long = -4115, xlDashDot As Long = 4, xlDashDotDot As Long = 5
    Const xlDot As Long = -4118, xlDouble As Long = -4119, xlSlantDashDot As Long = 13
    Const xlHairline As Long = 1, xlMedium As Long = -4138, xlThick As Long = 4
    Dim heavy As Boolean
    heavy = weight = xlMedium Or weight = xlThick
    Select Case lineStyle
        Case xlContinuous
            If weight = xlHairline Then
                TavoBorderStyle = TAVO_STYLE_HAIR
            ElseIf weight = xlThick Then
                TavoBorderStyle = TAVO_STYLE_THICK
            ElseIf weight = xlMedium Then
                TavoBorderStyle = TAVO_STYLE_MEDIUM
            Else
                TavoBorderStyle = TAVO_STYLE_THIN
            End If
        Case xlDot
            TavoBorderStyle = TAVO_STYLE_DOTTED
        Case xlDash
            TavoBorderStyle = IIf(heavy, TAVO_STYLE_MEDIUM_DASHED, TAVO_STYLE_DASHED)
        Case xlDashDot
            TavoBorderStyle = IIf(heavy, TAVO_STYLE_MEDIUM_DASH_DOT, TAVO_STYLE_DASH_DOT)
        Case xlDashDotDot
            TavoBorderStyle = IIf(heavy, TAVO_STYLE_MEDIUM_DASH_DOT_DOT, TAVO_STYLE_DASH_DOT_DOT)
        Case xlSlantDashDot
            TavoBorderStyle = TAVO_STYLE_SLANT_DASH_DOT
        Case xlDouble
            TavoBorderStyle = TAVO_STYLE_DOUBLE
        Case Else
            TavoBorderStyle = 0
    End Select
End Function

' The border style a drawn line looks like, from its DashStyle
' (MsoLineDashStyle), its width in points and whether it is a compound line.
Public Function TavoShapeLineStyle(ByVal dashStyle As Long, ByVal weightPoints As Double, ByVal compound As Boolean) As Long
    Dim medium As Boolean
    medium = weightPoints > 1.1
    If compound Then
        TavoShapeLineStyle = TAVO_STYLE_DOUBLE
        Exit Function
    End If
    Select Case dashStyle
        Case 3, 11                  ' round dot, system dot
            TavoShapeLineStyle = TAVO_STYLE_DOTTED
        Case 2, 4, 7, 10            ' square dot, dash, long dash, system dash
            TavoShapeLineStyle = IIf(medium, TAVO_STYLE_MEDIUM_DASHED, TAVO_STYLE_DASHED)
        Case 5, 8, 12               ' dash dot, long dash dot, system dash dot
            TavoShapeLineStyle = IIf(medium, TAVO_STYLE_MEDIUM_DASH_DOT, TAVO_STYLE_DASH_DOT)
        Case 6, 9                   ' dash dot dot, long dash dot dot
            TavoShapeLineStyle = IIf(medium, TAVO_STYLE_MEDIUM_DASH_DOT_DOT, TAVO_STYLE_DASH_DOT_DOT)
        Case Else
            If weightPoints < 0.4 Then
                TavoShapeLineStyle = TAVO_STYLE_HAIR
            ElseIf weightPoints > 2.1 Then
                TavoShapeLineStyle = TAVO_STYLE_THICK
            Else
                TavoShapeLineStyle = IIf(medium, TAVO_STYLE_MEDIUM, TAVO_STYLE_THIN)
            End If
    End Select
End Function

' The text size (1 to 10) whose height in the settings is nearest to the
' font's height on the paper; the smaller size wins a tie.
Public Function TavoTextSize(ByVal fontPoints As Double, ByVal mm As Double, s As TSettings) As Long
    Dim n As Long, d As Double, best As Double
    best = -1
    For n = 1 To 10
        d = Abs(s.MojiHeight(n - 1) / 10# - fontPoints * mm)
        If best < 0 Or d < best Then
            best = d
            TavoTextSize = n
        End If
    Next
End Function

Public Function TavoMetricsFor(ByVal fontPoints As Double, ByVal mm As Double, s As TSettings) As TavoMetrics
    Dim m As TavoMetrics
    m.Size = TavoTextSize(fontPoints, mm, s)
    m.Width = s.MojiWidth(m.Size - 1) / 10#
    m.Height = s.MojiHeight(m.Size - 1) / 10#
    m.Pitch = s.MojiPitch(m.Size - 1) / 10#
    If m.Height > fontPoints * mm Then
        m.LineStep = m.Height * TAVO_LINE_SPACING
    Else
        m.LineStep = fontPoints * mm * TAVO_LINE_SPACING
    End If
    TavoMetricsFor = m
End Function

' Bytes of a character in Shift-JIS: one for ASCII and half-width katakana.
Private Function SjisBytes(ByVal ch As String) As Long
    Dim code As Long
    code = AscW(ch) And &HFFFF&
    If code < &H80 Or (code >= &HFF61& And code <= &HFF9F&) Then
        SjisBytes = 1
    Else
        SjisBytes = 2
    End If
End Function

' Bytes of a text in Shift-JIS.
Public Function TavoSjisLength(ByVal text As String) As Long
    Dim i As Long
    For i = 1 To Len(text)
        TavoSjisLength = TavoSjisLength + SjisBytes(Mid$(text, i, 1))
    Next
End Function

' Half-width cells the text takes on the paper, as JW_CAD lays it out:
' "^u", "^d" and "^c" take nothing themselves, "^o", "^b" and "^B" take
' nothing and neither does the character after them.
Public Function TavoTextCells(ByVal text As String) As Long
    Dim i As Long, n As Long, mode As Long, m As Long
    n = Len(text)
    i = 1
    Do While i <= n
        m = 0
        If Mid$(text, i, 1) = "^" And i < n Then m = InStr(1, "udcobB", Mid$(text, i + 1, 1), vbBinaryCompare)
        If m > 0 Then
            mode = m
            i = i + 2
        Else
            If mode <= 3 Then TavoTextCells = TavoTextCells + SjisBytes(Mid$(text, i, 1))
            mode = 0
            i = i + 1
        End If
    Loop
End Function

' Length of a line's base line on the paper.
Public Function TavoLineLength(ByVal text As String, m As TavoMetrics) As Double
    TavoLineLength = TavoTextCells(text) * (m.Width + m.Pitch) * 0.5
End Function

Private Function IsMark(ByVal text As String, ByVal i As Long) As Boolean
    IsMark = Mid$(text, i, 1) = "^" And (Mid$(text, i + 1, 1) = "u" Or Mid$(text, i + 1, 1) = "d")
End Function

Private Function CharDigits(ByVal ch As String) As Double
    Dim code As Long
    LoadRules
    code = AscW(ch) And &HFFFF&
    If code >= 32 And code <= 126 Then
        CharDigits = mAsciiDigits(code)
    ElseIf code < &H80 Or (code >= &HFF61& And code <= &HFF9F&) Then
        CharDigits = TAVO_KANA_DIGITS
    Else
        CharDigits = TAVO_WIDE_DIGITS
    End If
End Function

' The width of a line as the sheet's fonts draw it, in points; "^u" and
' "^d" marks take no room.
Public Function TavoSheetTextPoints(ByVal text As String, ByVal fontPoints As Double) As Double
    Dim i As Long, n As Long, digits As Double
    n = Len(text)
    i = 1
    Do While i <= n
        If i < n And IsMark(text, i) Then
            i = i + 2
        Else
            digits = digits + CharDigits(Mid$(text, i, 1))
            i = i + 1
        End If
    Loop
    TavoSheetTextPoints = digits * TAVO_DIGIT_POINTS * fontPoints
End Function

' A line cut to `widthPoints` of the sheet, keeping its start, its end or
' its middle as it is aligned, and always one character (a mark stays with
' the character it raises).
Public Function TavoCutText(ByVal text As String, ByVal fontPoints As Double, ByVal widthPoints As Double, _
        ByVal align As Long) As String
    Dim starts() As Long, count As Long, i As Long, first As Long, past As Long
    ReDim starts(0 To Len(text))
    i = 1
    Do While i <= Len(text)
        starts(count) = i
        count = count + 1
        If i + 2 <= Len(text) And IsMark(text, i) Then
            i = i + 3
        Else
            i = i + 1
        End If
    Loop
    starts(count) = Len(text) + 1
    first = 0
    past = count
    Do While past - first > 1
        If TavoSheetTextPoints(Mid$(text, starts(first), starts(past) - starts(first)), fontPoints) <= widthPoints Then Exit Do
        If align = TAVO_RIGHT Or (align = TAVO_CENTER And (past - first) Mod 2 = 0) Then
            first = first + 1
        Else
            past = past - 1
        End If
    Loop
    If count = 0 Then
        TavoCutText = text
    Else
        TavoCutText = Mid$(text, starts(first), starts(past) - starts(first))
    End If
End Function

' Base lines of lines of text inside a box (left, right, bottom, top),
' `marginX` and `marginY` from its edges, placed by their alignment: the
' start x, y and length of each, left to right.
Public Sub TavoPlaceLines(lines() As String, ByVal count As Long, ByVal boxLeft As Double, ByVal boxRight As Double, _
        ByVal boxBottom As Double, ByVal boxTop As Double, ByVal h As Long, ByVal v As Long, ByVal marginX As Double, _
        ByVal marginY As Double, m As TavoMetrics, xs() As Double, ys() As Double, lengths() As Double)
    Dim i As Long, n As Double, block As Double, first As Double
    n = count
    block = m.Height + (n - 1) * m.LineStep
    If v = TAVO_TOP Then
        first = boxTop - marginY - m.Height
    ElseIf v = TAVO_BOTTOM Then
        first = boxBottom + marginY + (n - 1) * m.LineStep
    Else
        first = (boxBottom + boxTop) / 2 + block / 2 - m.Height
    End If
    ReDim xs(0 To count - 1)
    ReDim ys(0 To count - 1)
    ReDim lengths(0 To count - 1)
    For i = 0 To count - 1
        lengths(i) = TavoLineLength(lines(i), m)
        If h = TAVO_RIGHT Then
            xs(i) = boxRight - marginX - lengths(i)
        ElseIf h = TAVO_CENTER Then
            xs(i) = (boxLeft + boxRight) / 2 - lengths(i) / 2
        Else
            xs(i) = boxLeft + marginX
        End If
        ys(i) = first - i * m.LineStep
    Next
End Sub
