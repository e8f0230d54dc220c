Attribute VB_Name = "TavoHost"
' Tavo: the three tasks of the spreadsheet, one macro each.
'
'   TavoExportSheet  the active sheet (or the selected cells, when more than
'                    one is selected) to the target of the settings: the
'                    preview, the clipboard, a .jwc or a JWW coordinate file
'   TavoDumpJwc      a .jwc file into a new sheet, one row per record
'   TavoBuildJwc     a .jwc file from the rows of the active sheet, laid out
'                    as TavoDumpJwc writes them
' (the last two in TavoJwc).
'
' Each opens the settings dialog of its task first; Cancel there ends it.
' Every failure the library reports is shown in a message box titled with
' the task, and the task stops there; the library's saves keep the old file
' until the new one is whole.
'
' Needs the modules Tavo (the declarations of tavo.dll), TavoJwc,
' TavoRules, TavoSheet, TavoCells and TavoShapes in the same project.
Option Explicit

Public Const TAVO_ERROR As Long = -2147221477     ' vbObjectError + 27

' Text given with \uXXXX for the characters beyond ASCII, so that the
' modules are plain ASCII, which the macro editor imports alike in any code
' page.
Public Function TavoUnescape(ByVal escaped As String) As String
    Dim at As Long, found As Long
    at = 1
    Do
        found = InStr(at, escaped, "\u", vbBinaryCompare)
        If found = 0 Or found + 5 > Len(escaped) Then Exit Do
        TavoUnescape = TavoUnescape & Mid$(escaped, at, found - at) & ChrW$(CLng("&H" & Mid$(escaped, found + 2, 4)))
        at = found + 6
    Loop
    TavoUnescape = TavoUnescape & Mid$(escaped, at)
End Function

' Raises the task's error with a message; %1 and %2 in it stand for `a`, `b`.
Public Sub TavoFail(ByVal message As String, ByVal a As String, ByVal b As String)
    Err.Raise TAVO_ERROR, "Tavo", Replace(Replace(message, "%1", a), "%2", b)
End Sub

' Raises the library's last failure, if the last call had one.
Public Sub TavoCheck()
    Dim message As String
    message = TavoGetLastError()
    If Len(message) > 0 Then Err.Raise TAVO_ERROR, "tavo.dll", message
End Sub

' The progress dialog's bars at the given fractions; False once the user
' has pressed Cancel. A dialog that cannot show does not stop the task.
Public Function TavoProgress(ByVal lineDone As Double, ByVal textDone As Double) As Boolean
    TavoProgress = Progress(CInt(lineDone * 1000), CInt(textDone * 1000)) <> 0
End Function

' Loads tavo.dll from where the installation puts it: beside the add-in
' that holds the macros, else in %APPDATA%\Tavo (PERSONAL.XLSB's folder,
' XLSTART, is no place for it: Excel opens every file there). Without it
' there, Windows looks for it on the DLL search path.
Public Sub TavoLoadBeside()
    Dim folder As String
    On Error Resume Next
    folder = ThisWorkbook.Path
    If Len(folder) > 0 Then
        If TavoLoad(folder) Then Exit Sub
    End If
    folder = Environ$("APPDATA")
    If Len(folder) > 0 Then TavoLoad folder & "\Tavo"
End Sub

Public Function TavoDrawWidth(ByVal plotSize As Integer) As Double
    TavoDrawWidth = DrawWidth(plotSize)
End Function

' The export drawing's add calls, in millimetres on the paper.
Public Sub TavoAddLine(ByVal x1 As Double, ByVal y1 As Double, ByVal x2 As Double, ByVal y2 As Double, _
        ByVal pen As Byte, ByVal lay As Byte, ByVal lineType As Byte)
    AddLine CSng(x1), CSng(y1), CSng(x2), CSng(y2), pen, lay, lineType
    TavoCheck
End Sub

Public Sub TavoAddText(ByVal x1 As Double, ByVal y1 As Double, ByVal x2 As Double, ByVal y2 As Double, _
        ByVal size As Long, ByVal lay As Byte, ByVal text As String)
    AddText CSng(x1), CSng(y1), CSng(x2), CSng(y2), CByte(size), lay, text
    TavoCheck
End Sub

Public Sub TavoAddTextV(ByVal x1 As Double, ByVal y1 As Double, ByVal x2 As Double, ByVal y2 As Double, _
        ByVal size As Long, ByVal lay As Byte, ByVal text As String)
    AddTextV CSng(x1), CSng(y1), CSng(x2), CSng(y2), CByte(size), lay, text
    TavoCheck
End Sub

Public Sub TavoAddCircle(ByVal x As Double, ByVal y As Double, ByVal r As Double, ByVal flatness As Double, _
        ByVal startAngle As Double, ByVal endAngle As Double, ByVal tilt As Double, ByVal pen As Byte, ByVal lay As Byte, _
        ByVal lineType As Byte)
    AddCircle CSng(x), CSng(y), CSng(r), CSng(flatness), CSng(startAngle), CSng(endAngle), CSng(tilt), pen, lay, lineType
    TavoCheck
End Sub

' A filled rectangle in colour &HRRGGBB, handed over as a Windows colour.
Public Sub TavoAddSolid(ByVal x1 As Double, ByVal y1 As Double, ByVal x2 As Double, ByVal y2 As Double, _
        ByVal rgb As Long, ByVal lay As Byte)
    AddSolid CSng(x1), CSng(y1), CSng(x2), CSng(y2), TavoRgbOf(rgb), lay
    TavoCheck
End Sub

Public Function TavoTaskName(ByVal which As String) As String
    TavoTaskName = "Tavo " & TavoUnescape(which)
End Function

' Whether the settings dialog was closed with OK; one that could not show
' says why.
Public Function TavoAccepted(ByVal result As Integer, ByVal task As String) As Boolean
    Dim message As String
    If result = 1 Then
        TavoAccepted = True
    Else
        message = TavoGetLastError()
        If Len(message) > 0 Then MsgBox message, vbExclamation, task
    End If
End Function

' A file name for the task's output: the stored one, else one the user
' picks; "" when the user declines.
Public Function TavoOutputName(ByVal stored As String, ByVal filter As String, ByVal title As String) As String
    Dim picked As Variant
    TavoOutputName = stored
    If Len(stored) > 0 And Right$(stored, 1) <> "\" Then Exit Function
    picked = Application.GetSaveAsFilename(stored, TavoUnescape(filter), 1, TavoUnescape(title))
    If VarType(picked) = vbString Then
        TavoOutputName = picked
    Else
        TavoOutputName = ""
    End If
End Function

' The cells to draw: the selection when it is more than one cell (or one
' merged area) of the active sheet, else the sheet's used range.
Private Sub PickArea(ByVal sheet As Object, area As Object, requested As Boolean)
    Dim picked As Object
    Set area = sheet.UsedRange
    requested = False
    On Error Resume Next
    If TypeName(Selection) <> "Range" Then Exit Sub
    If Selection.Worksheet.Name <> sheet.Name Then Exit Sub
    Set picked = Selection.Areas(1)
    If picked.Cells.Count < 2 Or picked.Address = picked.Cells(1, 1).MergeArea.Address Then Exit Sub
    Set area = picked
    requested = True
End Sub

Private Function NotDrawnNote() As String
    ' "Not drawn: pictures %, charts %, controls %, other shapes %"
    If ShapesPictures + ShapesCharts + ShapesControls + ShapesOthers = 0 Then Exit Function
    NotDrawnNote = vbLf & TavoUnescape("\u63CF\u304B\u306A\u304B\u3063\u305F\u3082\u306E: \u753B\u50CF ") & ShapesPictures & _
        TavoUnescape("\u3001\u30B0\u30E9\u30D5 ") & ShapesCharts & TavoUnescape("\u3001\u30B3\u30F3\u30C8\u30ED\u30FC\u30EB ") & _
        ShapesControls & TavoUnescape("\u3001\u305D\u306E\u307B\u304B\u306E\u56F3\u5F62 ") & ShapesOthers
End Function

' Sends the current export drawing where the settings say.
Private Sub SendDrawing(s As TSettings, ByVal task As String)
    Dim fileName As String
    fileName = ReadIniString(3)
    TavoCheck
    Select Case s.ExportTarget
        Case 0
            ShowJwBrws fileName
            TavoCheck
        Case 1
            ObjCopyToAsJwt
            TavoCheck
            ' Copied to the clipboard.
            MsgBox TavoUnescape("\u30AF\u30EA\u30C3\u30D7\u30DC\u30FC\u30C9\u306B\u30B3\u30D4\u30FC\u3057\u307E\u3057\u305F") & _
                NotDrawnNote(), vbInformation, task
        Case Else
            If s.ExportTarget = 3 Then
                fileName = TavoOutputName(fileName, "\u5EA7\u6A19\u30D5\u30A1\u30A4\u30EB (*.txt),*.txt", _
                    "\u4FDD\u5B58\u5148\u306E\u5EA7\u6A19\u30D5\u30A1\u30A4\u30EB")
                If Len(fileName) = 0 Then Exit Sub
                ObjSaveToTxtFile fileName
            Else
                fileName = TavoOutputName(fileName, "JWC \u30D5\u30A1\u30A4\u30EB (*.jwc),*.jwc", "\u4FDD\u5B58\u5148\u306E JWC \u30D5\u30A1\u30A4\u30EB")
                If Len(fileName) = 0 Then Exit Sub
                ObjSaveToJwcFile fileName
            End If
            TavoCheck
            ' The drawing was saved to %1.
            MsgBox Replace(TavoUnescape("\u5909\u63DB\u30C7\u30FC\u30BF\u3092 %1 \u306B\u4FDD\u5B58\u3057\u307E\u3057\u305F"), "%1", fileName) & _
                NotDrawnNote(), vbInformation, task
    End Select
End Sub

' Exports the active sheet, or the selected cells, as the settings say.
Public Sub TavoExportSheet()
    Dim s As TSettings, sheet As Object, area As Object, requested As Boolean, task As String, message As String
    Dim created As Boolean, progressShown As Boolean, comment1 As String, comment2 As String
    task = TavoTaskName("\u30A8\u30AF\u30B9\u30DD\u30FC\u30C8")
    TavoLoadBeside
    On Error GoTo failed
    If Not TavoAccepted(ShowExportForm(), task) Then Exit Sub
    ReadInifile s
    TavoCheck
    Set sheet = ActiveSheet
    PickArea sheet, area, requested
    ProgressCreate 1000, 1000
    progressShown = True
    If TavoReadSheet(sheet, area, requested, s) Then
        ObjCreateByInifile
        TavoCheck
        created = True
        If TavoDrawSheet(s) Then
            ProgressDestroy
            progressShown = False
            comment1 = ReadIniString(1)
            comment2 = ReadIniString(2)
            SetObjComment comment1, comment2
            TavoCheck
            SendDrawing s, task
        End If
    End If
    If progressShown Then ProgressDestroy
    If created Then ObjDestroy
    Exit Sub
failed:
    message = Err.Description
    On Error Resume Next
    If progressShown Then ProgressDestroy
    If created Then ObjDestroy
    MsgBox message, vbExclamation, task
End Sub
