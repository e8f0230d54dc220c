Attribute VB_Name = "TavoJwc"
' Tavo: a .jwc file and a sheet of its records, both ways.
'
'   TavoDumpJwc      a .jwc file into a new sheet, one row per record, with
'                    the columns of `tavo dump`
'   TavoBuildJwc     a .jwc file from the rows of the active sheet in that
'                    same layout, as `tavo build` makes it
'
' Coordinates are drawing units as the file stores them (518 across the
' paper's long side), angles degrees x 65536, Flatness the axis ratio x
' 10000. Needs TavoHost and the declarations module Tavo.
Option Explicit

' The shortest decimal that reads back as the same single-precision value,
' as `tavo dump` writes its numbers.
Public Function TavoShortest(ByVal v As Single) As Double
    Dim digits As Long, exponent As Long, scaled As Double
    If v = 0 Then Exit Function
    exponent = Int(Log(Abs(CDbl(v))) / Log(10#))
    For digits = 1 To 9
        If digits - 1 - exponent >= 0 Then
            scaled = 10# ^ (digits - 1 - exponent)
            TavoShortest = Round(CDbl(v) * scaled) / scaled
        Else
            scaled = 10# ^ (exponent - digits + 1)
            TavoShortest = Round(CDbl(v) / scaled) * scaled
        End If
        If CSng(TavoShortest) = v Then Exit Function
    Next
    TavoShortest = v
End Function

Private Function Unsigned16(ByVal v As Integer) As Long
    Unsigned16 = v
    If v < 0 Then Unsigned16 = Unsigned16 + 65536
End Function

' The file's header: its title block and header line 1, 400 bytes.
Private Sub ReadHeader(ByVal fileName As String, bytes() As Byte)
    Dim file As Integer
    ReDim bytes(0 To 399)
    file = FreeFile
    Open fileName For Binary Access Read As #file
    Get #file, 1, bytes
    Close #file
End Sub

' Text of `count` bytes from `first` up to the first NUL, blanks and control
' characters round it removed.
Private Function HeaderText(bytes() As Byte, ByVal first As Long, ByVal count As Long) As String
    Dim chunk() As Byte, n As Long
    Do While n < count
        If bytes(first + n) = 0 Then Exit Do
        n = n + 1
    Loop
    If n = 0 Then Exit Function
    ReDim chunk(0 To n - 1)
    For n = 0 To UBound(chunk)
        chunk(n) = bytes(first + n)
    Next
    HeaderText = StrConv(chunk, vbUnicode)
    Do While Len(HeaderText) > 0
        If AscW(Left$(HeaderText, 1)) > 32 Then Exit Do
        HeaderText = Mid$(HeaderText, 2)
    Loop
    Do While Len(HeaderText) > 0
        If AscW(Right$(HeaderText, 1)) > 32 Then Exit Do
        HeaderText = Left$(HeaderText, Len(HeaderText) - 1)
    Loop
End Function

' Field `index` of header line 1 as an integer, `fallback` when missing or
' no integer. Commas, and runs of blanks, separate the fields.
Private Function HeaderField(ByVal line As String, ByVal index As Long, ByVal fallback As Long) As Long
    Dim fields() As String, text As String
    line = Replace(Replace(line, vbTab, " "), """", "")
    Do While InStr(line, "  ") > 0
        line = Replace(line, "  ", " ")
    Loop
    fields = Split(Replace(Replace(Replace(Trim$(line), " ,", ","), ", ", ","), " ", ","), ",")
    HeaderField = fallback
    If index > UBound(fields) Then Exit Function
    text = fields(index)
    If Len(text) = 0 Or Len(text) > 11 Then Exit Function
    If Not (text Like "#*" Or text Like "[-+]#*") Or Mid$(text, 2) Like "*[!0-9]*" Then Exit Function
    If CDbl(text) < -2147483648# Or CDbl(text) > 2147483647# Then Exit Function
    HeaderField = CLng(text)
End Function

' One row of the dump: its kind and values (bytes as Long: a Byte in a Variant
' is written to a LibreOffice sheet as a signed number).
Private Sub PutRow(rows() As Variant, row As Long, ParamArray values() As Variant)
    Dim i As Long
    For i = 0 To UBound(values)
        rows(row, i + 1) = values(i)
    Next
    row = row + 1
End Sub

' Writes a .jwc file into a new sheet, one row per record, with the columns
' of `tavo dump`: a Drawing row, a Comment row, the 11 Table rows, then the
' Sen, Enko, Moji and Ten records that the dump settings ask for.
Public Sub TavoDumpJwc()
    Dim task As String, message As String, fileName As String, checks As TDumpChecks, created As Boolean
    Dim header() As Byte, line1 As String, counts(0 To 3) As Long, total As Long, rows() As Variant, row As Long
    Dim i As Long, sen As TSen, enko As TEnko, moji As TMoji, ten As TTen, table As TMojiTableRow, text As String
    Dim wide As Boolean, sheet As Object, firstMoji As Long, picked As Variant
    task = TavoTaskName("\u30C0\u30F3\u30D7")
    TavoLoadBeside
    On Error GoTo failed
    If Not TavoAccepted(ShowDumpForm(), task) Then Exit Sub
    ReadIniDump checks
    TavoCheck
    fileName = ReadIniString(5)
    TavoCheck
    If Len(fileName) = 0 Or Right$(fileName, 1) = "\" Then
        picked = Application.GetOpenFilename(TavoUnescape("JWC \u30D5\u30A1\u30A4\u30EB (*.jwc),*.jwc"), 1, _
            TavoUnescape("\u30C0\u30F3\u30D7\u3059\u308B JWC \u30D5\u30A1\u30A4\u30EB"))
        If VarType(picked) <> vbString Then Exit Sub
        fileName = picked
    End If
    JwcCreate 3, 100
    TavoCheck
    created = True
    JwcLoadFrom fileName
    TavoCheck
    ReadHeader fileName, header
    For i = 0 To 199
        If header(200 + i) = 0 Then Exit For
        line1 = line1 & Chr$(header(200 + i))
    Next
    If checks.CeckLine Then counts(0) = GetSenCount()
    If checks.CeckCircle Then counts(1) = GetEnkoCount()
    If checks.CeckString Then counts(2) = GetMojiCount()
    If checks.CeckDot Then counts(3) = GetTenCount()
    TavoCheck
    total = 7 + 13 + counts(0) + counts(1) + counts(2) + counts(3)
    wide = counts(0) > 32767 Or counts(1) > 32767 Or counts(2) > 32767 Or counts(3) > 32767
    ReDim rows(1 To total, 1 To 13)
    PutRow rows, 1, "# Drawing", "PaperSize", "Scale"
    row = 2
    PutRow rows, row, "# Comment", "Comment1", "Comment2"
    PutRow rows, row, "# Table", "Row", "PenNo", "Width", "Height", "Spacing"
    PutRow rows, row, "# Sen", "X1", "Y1", "X2", "Y2", "LineType", "Color", "Lay", "SpareByte", "SpareWord"
    PutRow rows, row, "# Enko", "X", "Y", "R", "Flatness", "StartAngle", "EndAngle", "Tilt", "LineType", "Color", "Lay", _
        "SpareByte", "SpareWord"
    PutRow rows, row, "# Moji", "X1", "Y1", "X2", "Y2", "MojiNo", "Lay", "Flags", "Text"
    PutRow rows, row, "# Ten", "X", "Y", "Lay", "Color", "SpareWord"
    PutRow rows, row, "Drawing", HeaderField(line1, 11, 1), HeaderField(line1, 9, 1)
    PutRow rows, row, "Comment", HeaderText(header, 40, 32), HeaderText(header, 72, 32)
    For i = 0 To 10
        GetTable table, i
        PutRow rows, row, "Table", i, Unsigned16(table.PenNo), Unsigned16(table.Width), Unsigned16(table.Height), _
            Unsigned16(table.Spacing)
    Next
    For i = 0 To counts(0) - 1
        If wide Then
            TavoGetSenEx sen, i
        Else
            GetSen sen, i
        End If
        PutRow rows, row, "Sen", TavoShortest(sen.X1), TavoShortest(sen.Y1), TavoShortest(sen.X2), TavoShortest(sen.Y2), _
            CLng(sen.LineType), CLng(sen.Color), CLng(sen.Lay), CLng(sen.SpareByte), Unsigned16(sen.SpareWord)
    Next
    For i = 0 To counts(1) - 1
        If wide Then
            TavoGetEnkoEx enko, i
        Else
            GetEnko enko, i
        End If
        PutRow rows, row, "Enko", TavoShortest(enko.X), TavoShortest(enko.Y), TavoShortest(enko.R), Unsigned16(enko.Flatness), _
            enko.StartAngle, enko.EndAngle, enko.Tilt, CLng(enko.LineType), CLng(enko.Color), CLng(enko.Lay), CLng(enko.SpareByte), _
            Unsigned16(enko.SpareWord)
    Next
    firstMoji = row
    For i = 0 To counts(2) - 1
        If wide Then
            TavoGetMojiEx moji, i
            text = TavoGetMojiStringEx(i)
        Else
            GetMoji moji, i
            text = GetMojiString(i)
        End If
        PutRow rows, row, "Moji", TavoShortest(moji.X1), TavoShortest(moji.Y1), TavoShortest(moji.X2), TavoShortest(moji.Y2), _
            CLng(moji.MojiNo), CLng(moji.Lay), Unsigned16(moji.Flags), text
    Next
    For i = 0 To counts(3) - 1
        If wide Then
            TavoGetTenEx ten, i
        Else
            GetTen ten, i
        End If
        PutRow rows, row, "Ten", TavoShortest(ten.X), TavoShortest(ten.Y), CLng(ten.Lay), CLng(ten.Color), Unsigned16(ten.SpareWord)
    Next
    TavoCheck
    JwcDestroy
    created = False
    Set sheet = ActiveWorkbook.Worksheets.Add(After:=ActiveSheet)
    NameSheet sheet, fileName
    ' Texts stay texts, whatever they look like.
    sheet.Range(sheet.Cells(9, 2), sheet.Cells(9, 3)).NumberFormat = "@"
    If row > firstMoji Then sheet.Range(sheet.Cells(firstMoji, 9), sheet.Cells(row - 1, 9)).NumberFormat = "@"
    sheet.Range(sheet.Cells(1, 1), sheet.Cells(total, 13)).Value = rows
    Exit Sub
failed:
    message = Err.Description
    On Error Resume Next
    If created Then JwcDestroy
    MsgBox message, vbExclamation, task
End Sub

' Names a new sheet after the file, when the name is free and allowed.
Private Sub NameSheet(ByVal sheet As Object, ByVal fileName As String)
    Dim name As String, c As Variant
    name = Mid$(fileName, InStrRev(Replace(fileName, "/", "\"), "\") + 1)
    If InStrRev(name, ".") > 1 Then name = Left$(name, InStrRev(name, ".") - 1)
    For Each c In Array("[", "]", ":", "*", "?", "/", "\")
        name = Replace(name, c, "_")
    Next
    On Error Resume Next
    sheet.Name = Left$(name, 31)
End Sub

' The rows of the sheet being built from, and the row being read.
Private mBuildRows As Variant
Private mBuildRow As Long
Private mBuildSheet As String
Private mBuildFirstRow As Long

' Stops the build at the row being read: "sheet "%1", row %2: %3".
Private Sub RowFails(ByVal problem As String)
    TavoFail Replace(TavoUnescape("\u30B7\u30FC\u30C8 ""%1"" \u306E %2 \u884C\u76EE: %3"), "%3", problem), mBuildSheet, _
        CStr(mBuildFirstRow + mBuildRow - 1)
End Sub

Private Function RowValue(ByVal col As Long) As Variant
    If col <= UBound(mBuildRows, 2) Then RowValue = mBuildRows(mBuildRow, col)
End Function

' Column `col` of the row as a number.
Private Function RowNumber(ByVal col As Long) As Double
    Dim v As Variant
    v = RowValue(col)
    Select Case VarType(v)
        Case vbInteger, vbLong, vbSingle, vbDouble, vbCurrency, vbDecimal, vbByte
            RowNumber = v
        Case vbString
            If Not IsNumeric(v) Then RowFails Replace(Replace(TavoUnescape( _
                "%1 \u5217\u76EE ""%2"" \u306F\u6570\u5024\u3067\u306F\u3042\u308A\u307E\u305B\u3093"), "%1", col), "%2", v)
            RowNumber = CDbl(v)
        Case Else
            ' Column %1 "%2" is no number.
            RowFails Replace(Replace(TavoUnescape( _
                "%1 \u5217\u76EE ""%2"" \u306F\u6570\u5024\u3067\u306F\u3042\u308A\u307E\u305B\u3093"), "%1", col), "%2", v & "")
    End Select
End Function

' Column `col` as a whole number from `low` to `high`.
Private Function RowWhole(ByVal col As Long, ByVal low As Double, ByVal high As Double) As Double
    RowWhole = RowNumber(col)
    If RowWhole <> Int(RowWhole) Or RowWhole < low Or RowWhole > high Then
        ' Column %1 "%2" is no whole number from %3 to %4.
        RowFails Replace(Replace(Replace(Replace(TavoUnescape("%1 \u5217\u76EE ""%2"" \u306F %3 \u304B\u3089 %4 " & _
            "\u307E\u3067\u306E\u6574\u6570\u3067\u306F\u3042\u308A\u307E\u305B\u3093"), "%1", col), "%2", RowValue(col) & ""), _
            "%3", low), "%4", high)
    End If
End Function

Private Function RowText(ByVal col As Long) As String
    RowText = RowValue(col) & ""
End Function

Private Function RowKind() As String
    RowKind = LCase$(Trim$(RowText(1)))
End Function

' Millimetres on the paper that the library turns back into exactly `units`
' drawing units, dividing by the unit divisor in single precision (a
' neighbour of the plain product when that one misses).
Public Function TavoPaperMm(ByVal units As Single, ByVal divisor As Single) As Single
    Dim mm As Double, ulp As Double, k As Long, candidate As Single
    mm = CSng(CDbl(units) * divisor)
    TavoPaperMm = mm
    If mm = 0 Or CSng(mm / divisor) = units Then Exit Function
    ulp = 2# ^ (Int(Log(Abs(mm)) / Log(2#)) - 23)
    For k = 1 To 4
        candidate = CSng(mm + k * ulp)
        If CSng(CDbl(candidate) / divisor) = units Then
            TavoPaperMm = candidate
            Exit Function
        End If
        candidate = CSng(mm - k * ulp)
        If CSng(CDbl(candidate) / divisor) = units Then
            TavoPaperMm = candidate
            Exit Function
        End If
    Next
End Function

' Creates the drawing: from the sheet's Drawing row (paper size, scale),
' else from the stored settings. Returns the unit divisor.
Private Function CreateDrawing(s As TSettings) As Single
    Dim paper As Integer, scale As Integer, found As Boolean
    paper = s.PlotSize
    For mBuildRow = 1 To UBound(mBuildRows, 1)
        If RowKind() = "drawing" Then
            paper = RowWhole(2, 0, 4)
            scale = RowWhole(3, 1, 1000)
            found = True
        End If
    Next
    If found Then
        JwcCreate paper, scale
    Else
        JwcCreateByInifile
    End If
    TavoCheck
    CreateDrawing = CSng(TavoDrawWidth(paper) / 518)
End Function

' Hands one row to the drawing through the JWC family's add calls.
Private Sub BuildRow(ByVal d As Single)
    Dim comment1 As String, comment2 As String, text As String
    Select Case RowKind()
        Case "", "drawing"
        Case "comment"
            comment1 = RowText(2)
            comment2 = RowText(3)
            If TavoSjisLength(comment1) > 32 Or TavoSjisLength(comment2) > 32 Then
                ' A comment holds at most 32 bytes.
                RowFails TavoUnescape("\u30B3\u30E1\u30F3\u30C8\u306F 32 \u30D0\u30A4\u30C8\u307E\u3067\u3067\u3059")
            End If
            SetComment comment1, comment2
        Case "table"
            SetMojiTable RowWhole(2, 0, 10), Signed16(RowWhole(3, 0, 65535)), Signed16(RowWhole(4, 0, 65535)), _
                Signed16(RowWhole(5, 0, 65535)), Signed16(RowWhole(6, 0, 65535))
        Case "sen"
            AddSen TavoPaperMm(RowNumber(2), d), TavoPaperMm(RowNumber(3), d), TavoPaperMm(RowNumber(4), d), _
                TavoPaperMm(RowNumber(5), d), RowWhole(7, 0, 255), RowWhole(8, 0, 255), RowWhole(6, 0, 255), _
                RowWhole(9, 0, 255), Signed16(RowWhole(10, 0, 65535))
        Case "enko"
            AddEnko TavoPaperMm(RowNumber(2), d), TavoPaperMm(RowNumber(3), d), TavoPaperMm(RowNumber(4), d), _
                Signed16(RowWhole(5, 0, 65535)), RowWhole(6, -2147483648#, 2147483647#), _
                RowWhole(7, -2147483648#, 2147483647#), RowWhole(8, -2147483648#, 2147483647#), RowWhole(10, 0, 255), _
                RowWhole(11, 0, 255), RowWhole(9, 0, 255), RowWhole(12, 0, 255), Signed16(RowWhole(13, 0, 65535))
        Case "moji"
            text = RowText(9)
            AddMoji TavoPaperMm(RowNumber(2), d), TavoPaperMm(RowNumber(3), d), TavoPaperMm(RowNumber(4), d), _
                TavoPaperMm(RowNumber(5), d), RowWhole(6, 0, 255), RowWhole(7, 0, 255), Signed16(RowWhole(8, 0, 65535)), text
        Case "ten"
            AddTen TavoPaperMm(RowNumber(2), d), TavoPaperMm(RowNumber(3), d), RowWhole(5, 0, 255), RowWhole(4, 0, 255), _
                Signed16(RowWhole(6, 0, 65535))
        Case Else
            If Left$(RowKind(), 1) = "#" Then Exit Sub
            ' Kind "%1" is none of Drawing, Comment, ...
            RowFails Replace(TavoUnescape("\u7A2E\u985E ""%1"" \u306F Drawing, Comment, Table, Sen, Enko, Moji, Ten " & _
                "\u306E\u3069\u308C\u3067\u3082\u3042\u308A\u307E\u305B\u3093"), "%1", RowText(1))
    End Select
    TavoCheck
End Sub

' A 16-bit value from 0 to 65535 as the Integer the declarations pass.
Private Function Signed16(ByVal v As Double) As Integer
    If v > 32767 Then v = v - 65536
    Signed16 = v
End Function

' Builds a .jwc file from the rows of the active sheet, laid out as
' TavoDumpJwc writes them (drawing units as stored), and sends it where the
' build settings say: the preview, the clipboard or the file.
Public Sub TavoBuildJwc()
    Dim s As TSettings, task As String, message As String, created As Boolean, d As Single, fileName As String
    Dim used As Object
    task = TavoTaskName("\u30D3\u30EB\u30C9")
    TavoLoadBeside
    On Error GoTo failed
    If Not TavoAccepted(ShowBuildForm(), task) Then Exit Sub
    ReadInifile s
    TavoCheck
    Set used = ActiveSheet.UsedRange
    ' From column A, where the kinds are, to the used range's far corner.
    Set used = ActiveSheet.Range(ActiveSheet.Cells(1, 1), used.Cells(used.Rows.Count, used.Columns.Count))
    mBuildSheet = ActiveSheet.Name
    mBuildFirstRow = 1
    If used.Rows.Count = 1 And used.Columns.Count = 1 Then
        ReDim mBuildRows(1 To 1, 1 To 1)
        mBuildRows(1, 1) = used.Value
    Else
        mBuildRows = used.Value
    End If
    d = CreateDrawing(s)
    created = True
    For mBuildRow = 1 To UBound(mBuildRows, 1)
        BuildRow d
    Next
    fileName = ReadIniString(3)
    TavoCheck
    Select Case s.ExportTarget
        Case 0
            ShowJwBrwsFromJwc fileName
            TavoCheck
        Case 1
            CopyToAsJwt
            TavoCheck
            MsgBox TavoUnescape("\u30AF\u30EA\u30C3\u30D7\u30DC\u30FC\u30C9\u306B\u30B3\u30D4\u30FC\u3057\u307E\u3057\u305F"), vbInformation, task
        Case Else
            fileName = TavoOutputName(fileName, "JWC \u30D5\u30A1\u30A4\u30EB (*.jwc),*.jwc", "\u4FDD\u5B58\u5148\u306E JWC \u30D5\u30A1\u30A4\u30EB")
            If Len(fileName) > 0 Then
                JwcSaveTo fileName
                TavoCheck
                MsgBox Replace(TavoUnescape("\u5909\u63DB\u30C7\u30FC\u30BF\u3092 %1 \u306B\u4FDD\u5B58\u3057\u307E\u3057\u305F"), _
                    "%1", fileName), vbInformation, task
            End If
    End Select
    JwcDestroy
    Exit Sub
failed:
    message = Err.Description
    On Error Resume Next
    If created Then JwcDestroy
    MsgBox message, vbExclamation, task
End Sub
