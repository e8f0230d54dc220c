Attribute VB_Name = "RuleProbe"
' Test module: the macros' rules called one by one, so that the tests can
' hold each answer against the workbook host's own function.
Option Explicit

' One answer a line for each line of `inputs`: a rule's name, then its
' arguments apart by tabs (texts with \uXXXX), with the stand-in's settings.
Public Function ProbeRules(ByVal inputs As String) As String
    Dim lines() As String, a() As String, i As Long, s As TSettings, answer As String
    ReadInifile s
    lines = Split(inputs, vbLf)
    For i = 0 To UBound(lines)
        If Len(lines(i)) > 0 Then
            a = Split(lines(i), vbTab)
            Select Case a(0)
                Case "palette": answer = TavoPaletteIndex(Val(a(1)))
                Case "shapeline": answer = TavoShapeLineStyle(Val(a(1)), Val(a(2)), Val(a(3)) <> 0)
                Case "textsize": answer = TavoTextSize(Val(a(1)), Val(a(2)), s)
                Case "points": answer = Trim$(Str$(TavoSheetTextPoints(TavoUnescape(a(1)), Val(a(2)))))
                Case "cut": answer = StandInText(TavoCutText(TavoUnescape(a(1)), Val(a(2)), Val(a(3)), Val(a(4))))
                Case "cells": answer = TavoTextCells(TavoUnescape(a(1)))
                Case Else: answer = "?"
            End Select
            ProbeRules = ProbeRules & answer & vbLf
        End If
    Next
End Function

' Draws one shape from its record, given as tabbed fields: kind, box left,
' right, bottom, top (paper mm), rotation, flipH, flipV, style, colour
' (&HRRGGBB, -1 automatic), head and tail arrow, arrow points, adjust,
' closed, font points, text align, text anchor, text (\uXXXX), then the
' polygon's points u and v in turn.
Public Function ProbeShape(ByVal fields As String) As String
    Dim a() As String, sh As TavoShape, s As TSettings, i As Long, u() As Double, v() As Double
    ReadInifile s
    a = Split(fields, vbTab)
    sh.Kind = Val(a(0)): sh.BoxLeft = Val(a(1)): sh.BoxRight = Val(a(2)): sh.BoxBottom = Val(a(3)): sh.BoxTop = Val(a(4))
    sh.Rotation = Val(a(5)): sh.FlipH = Val(a(6)) <> 0: sh.FlipV = Val(a(7)) <> 0: sh.Style = Val(a(8)): sh.Rgb = Val(a(9))
    sh.HeadArrow = Val(a(10)) <> 0: sh.TailArrow = Val(a(11)) <> 0: sh.ArrowPoints = Val(a(12)): sh.Adjust = Val(a(13))
    sh.Closed = Val(a(14)) <> 0: sh.FontPoints = Val(a(15)): sh.TextAlign = Val(a(16)): sh.TextAnchor = Val(a(17))
    sh.Text = TavoUnescape(a(18))
    sh.Points = (UBound(a) - 18) \ 2
    If sh.Points > 0 Then
        ReDim u(0 To sh.Points - 1)
        ReDim v(0 To sh.Points - 1)
        For i = 0 To sh.Points - 1
            u(i) = Val(a(19 + 2 * i)) : v(i) = Val(a(20 + 2 * i))
        Next
        sh.PointU = u : sh.PointV = v
    End If
    TavoDrawShape sh, s
    ProbeShape = "drawn"
End Function

' Makes the named sheet the active one: a job's macro runs on several sheets.
Public Function ProbeSheet(ByVal name As String) As String
    Worksheets(name).Activate
    ProbeSheet = ActiveSheet.Name
End Function

' The export's read of the active sheet alone, for the benchmark.
Public Function ProbeReadSheet() As String
    Dim s As TSettings
    ReadInifile s
    If TavoReadSheet(ActiveSheet, ActiveSheet.UsedRange, False, s) Then ProbeReadSheet = "read " & SheetCells
End Function

' One property read of every cell of the used range, for the benchmark
' ("borders-libreoffice": LibreOffice's own emulation); "add" makes as many AddText calls.
Public Function ProbeProperty(ByVal which As String) As String
    Dim area As Object, cell As Object, r As Long, c As Long, v As Variant, n As Long
    Set area = ActiveSheet.UsedRange
    For r = 1 To area.Rows.Count
        For c = 1 To area.Columns.Count
            Set cell = area.Cells(r, c)
            Select Case which
                Case "value": v = cell.Value
                Case "text": v = cell.Text
                Case "interior": v = cell.Interior.ColorIndex
                Case "merge": v = cell.MergeCells
                Case "borders": v = cell.Borders.Item(9).LineStyle
                Case "borders-libreoffice": v = CallByName(cell, "Borders", VbGet).Item(9).LineStyle
                Case "font": v = cell.Font.Size
                Case "alignment": v = TavoProperty(cell, "HorizontalAlignment", 1)
                Case "add": TavoAddText 1, 2, 3, 4, 5, 240, "text"
            End Select
            n = n + 1
        Next
    Next
    ProbeProperty = which & " " & n
End Function
