"""The spreadsheet modules made ready for LibreOffice's Basic, for the tests.

- The declarations module (host/excel/Tavo.bas) becomes a stand-in of the
  same names: every call of the library is kept in a log, and what a call
  hands back comes from replies the test gives. LibreOffice cannot load
  tavo.dll from Basic on Linux.
- LibreOffice's Basic knows a Type only in the module that declares it, so
  the stand-in and the macro modules are joined into one module (their
  names are unique across the modules, which the static check keeps so).
- The stand-in reads the texts of the replies with the macros' own
  TavoUnescape.
- A message box or a file dialog under headless LibreOffice shows nothing
  and returns at once; the joined module's MsgBox and Application's file
  dialogs go to the stand-in, which logs them and answers from the replies.
- LibreOffice 7.4 reads every cell border as continuous; a cell's Borders
  come from the class modules StandInBorders and StandInBorder instead,
  which read LibreOffice's own border properties.

Log lines: NAME<TAB>argument..., numbers as Basic's Str$ writes them,
texts with \\uXXXX for a backslash, a tab, a line break and every
character beyond ASCII. Replies: lines NAME<TAB>value...; a reply under
NAME:FIRST answers only a call whose first argument is FIRST, one under
NAME@PREVIOUS only a call right after a call of PREVIOUS; replies of one
key are used in turn, the last one again and again.
"""
import re

# Answers when the test gives none: the dialogs closed with OK, the user
# never cancels.
DEFAULT_ANSWERS = {"ShowExportForm": "1", "ShowDumpForm": "1", "ShowBuildForm": "1", "Progress": "-1",
                   "ShowJwBrws": "1", "ShowJwBrwsFromJwc": "1"}

UI_CALLS = {"MsgBox": "StandInMsgBox", "Application.GetSaveAsFilename": "StandInGetSaveAsFilename",
            "Application.GetOpenFilename": "StandInGetOpenFilename"}

# A cell's Borders as Excel documents them (class modules StandInBorders and
# StandInBorder, tests/excel/*.cls): LibreOffice 7.4's emulation reads every
# border as continuous.
BORDERS = re.compile(r"\b(\w+)\.Borders\b")

HELPERS_DECLARATIONS = '''Private gLog() As String, gLogCount As Long, gLast As String, gFirst As String, gPrevious As String
Private gKeys() As String, gValues() As String, gKeyCount As Long'''

HELPERS = r'''
' Takes the replies for the calls to come and empties the log.
Public Function StandInStart(ByVal replies As String) As String
    Dim lines() As String, i As Long, tabAt As Long, key As String, k As Long
    gLogCount = 0
    gLast = ""
    ReDim gLog(0 To 1023)
    gKeyCount = 0
    ReDim gKeys(0 To 0): ReDim gValues(0 To 0)
    lines = Split(replies, vbLf)
    For i = 0 To UBound(lines)
        If Len(lines(i)) > 0 Then
            tabAt = InStr(lines(i) & vbTab, vbTab)
            key = Left$(lines(i), tabAt - 1)
            k = StandInKey(key)
            If k < 0 Then
                ReDim Preserve gKeys(0 To gKeyCount): ReDim Preserve gValues(0 To gKeyCount)
                gKeys(gKeyCount) = key
                gValues(gKeyCount) = ""
                k = gKeyCount
                gKeyCount = gKeyCount + 1
            End If
            gValues(k) = gValues(k) & Mid$(lines(i), tabAt + 1) & vbLf
        End If
    Next
    StandInStart = "started"
End Function

' The log, one call a line.
Public Function StandInFinish() As String
    If gLogCount = 0 Then Exit Function
    ReDim Preserve gLog(0 To gLogCount - 1)
    StandInFinish = Join(gLog, vbLf)
End Function

Private Function StandInKey(ByVal key As String) As Long
    Dim k As Long
    StandInKey = -1
    For k = 0 To gKeyCount - 1
        If gKeys(k) = key Then StandInKey = k: Exit Function
    Next
End Function

Public Function StandInText(ByVal v As Variant) As String
    Dim i As Long, c As Long, out As String
    Select Case VarType(v)
        Case vbString
            For i = 1 To Len(v)
                c = AscW(Mid$(v, i, 1)) And &HFFFF&
                If c < 32 Or c > 126 Or c = 92 Then
                    out = out & "\u" & Right$("000" & Hex$(c), 4)
                Else
                    out = out & Mid$(v, i, 1)
                End If
            Next
            StandInText = out
        Case vbBoolean
            StandInText = CStr(CInt(v))
        Case vbEmpty
            StandInText = ""
        Case Else
            StandInText = Trim$(Str$(CDbl(v)))
    End Select
End Function


Private Sub StandInCall(ByVal name As String, args As Variant)
    Dim line As String, i As Long
    line = name
    For i = LBound(args) To UBound(args)
        line = line & vbTab & StandInText(args(i))
    Next
    If gLogCount > UBound(gLog) Then
        ReDim Preserve gLog(0 To 2 * gLogCount - 1)
    End If
    gLog(gLogCount) = line
    gLogCount = gLogCount + 1
    gFirst = ""
    If UBound(args) >= LBound(args) Then gFirst = StandInText(args(LBound(args)))
    gPrevious = gLast
    gLast = name
End Sub

' The values of the reply to the call just logged, False when there is none.
Private Function StandInReply(ByVal name As String, values() As String) As Boolean
    Dim k As Long, rest As String, cut As Long
    k = StandInKey(name & ":" & gFirst)
    If k < 0 Then k = StandInKey(name & "@" & gPrevious)
    If k < 0 Then k = StandInKey(name)
    If k < 0 Then Exit Function
    rest = gValues(k)
    cut = InStr(rest, vbLf)
    If cut < Len(rest) Then gValues(k) = Mid$(rest, cut + 1)
    values = Split(Left$(rest, cut - 1), vbTab)
    StandInReply = True
End Function

Private Function StandInAnswer(ByVal name As String, ByVal fallback As String) As String
    Dim values() As String
    StandInAnswer = fallback
    If StandInReply(name, values) Then
        If UBound(values) >= 0 Then StandInAnswer = TavoUnescape(values(0)) Else StandInAnswer = ""
    End If
End Function

Private Function StandInField(values() As String, ByVal i As Long) As Double
    If i <= UBound(values) Then StandInField = Val(values(i))
End Function

Public Function StandInBordersOf(ByVal cell As Object) As Object
    Dim b As New StandInBorders
    b.Init cell.Row, cell.Column, cell.Worksheet.Name
    Set StandInBordersOf = b
End Function

Public Function StandInMsgBox(ByVal Prompt As String, Optional ByVal Buttons As Long = 0, Optional ByVal Title As String = "") As Long
    StandInCall "MsgBox", Array(Title, Prompt)
    StandInMsgBox = 1
End Function

Public Function StandInGetSaveAsFilename(Optional ByVal InitialFileName As Variant, Optional ByVal FileFilter As Variant, _
        Optional ByVal FilterIndex As Variant, Optional ByVal Title As Variant) As Variant
    StandInCall "GetSaveAsFilename", Array(Title)
    StandInGetSaveAsFilename = False
    If StandInKey("GetSaveAsFilename") >= 0 Then StandInGetSaveAsFilename = StandInAnswer("GetSaveAsFilename", "")
End Function

Public Function StandInGetOpenFilename(Optional ByVal FileFilter As Variant, Optional ByVal FilterIndex As Variant, _
        Optional ByVal Title As Variant) As Variant
    StandInCall "GetOpenFilename", Array(Title)
    StandInGetOpenFilename = False
    If StandInKey("GetOpenFilename") >= 0 Then StandInGetOpenFilename = StandInAnswer("GetOpenFilename", "")
End Function
'''


def logical_lines(text):
    """Lines with their continuations joined and comments dropped."""
    text = re.sub(r" _\r?\n\s*", " ", text)
    return [line.split("'")[0].rstrip() for line in text.splitlines()]


def types_of(lines):
    """Type name -> its declaration lines and its fields flattened: [(name, vb type)]."""
    types, current = {}, None
    for line in lines:
        m = re.match(r"^\s*(?:Public |Private )?Type (\w+)$", line)
        if m:
            current = m.group(1)
            types[current] = ([line.strip()], [])
        elif current and line.strip() == "End Type":
            types[current][0].append("End Type")
            current = None
        elif current and line.strip():
            types[current][0].append("    " + line.strip())
            f = re.fullmatch(r"\s*(\w+)(?:\((\d+) To (\d+)\))? As (\w+)", line)
            if f.group(2):
                for i in range(int(f.group(2)), int(f.group(3)) + 1):
                    types[current][1].append((f"{f.group(1)}({i})", f.group(4)))
            else:
                types[current][1].append((f.group(1), f.group(4)))
    return types


def declares_of(lines):
    """The VBA7 branch's Declare statements: (name, Sub/Function, result type, [(by, name, type)])."""
    out, branch = [], None
    for line in lines:
        s = line.strip()
        if s == "#If VBA7 Then":
            branch = "VBA7"
        elif s in ("#Else", "#End If"):
            branch = None
        m = re.fullmatch(r'Public Declare PtrSafe (Sub|Function) (\w+) Lib "tavo\.dll" \((.*?)\)(?: As (\w+))?', s)
        if m and branch == "VBA7":
            args = [re.fullmatch(r"\s*(ByVal|ByRef) (\w+) As (\w+)\s*", a).groups() for a in m.group(3).split(",") if a.strip()]
            out.append((m.group(2), m.group(1), m.group(4), args))
    return out


def functions_of(lines):
    """The declarations module's own public functions: (name, arguments, result type)."""
    return [m.groups() for m in (re.fullmatch(r"Public Function (\w+)\((.*)\) As (\w+)", line.strip()) for line in lines) if m]


def standin(declarations):
    """The stand-in module's code for the declarations module's text."""
    lines = logical_lines(declarations)
    types = types_of(lines)
    out = ["' Stand-in for the declarations module Tavo: the calls are logged, the answers replayed."]
    for name, (decl, _) in types.items():
        out += decl
    out.append(HELPERS_DECLARATIONS)
    out.append(HELPERS)
    for name, kind, result, args in declares_of(lines):
        params = ", ".join(f"{by} {arg} As {vbtype}" for by, arg, vbtype in args)
        head = f"Public {kind} {name}({params})" + (f" As {result}" if result else "")
        body = [f"    StandInCall \"{name}\", Array({', '.join(arg for by, arg, vbtype in args if vbtype not in types)})"]
        for by, arg, vbtype in args:
            if vbtype in types:  # a record the library fills
                body.append("    Dim values() As String")
                body.append(f"    If StandInReply(\"{name}\", values) Then")
                for i, (field, ftype) in enumerate(types[vbtype][1]):
                    body.append(f"        {arg}.{field} = StandInField(values, {i})")
                body.append("    End If")
        if result:
            fallback = DEFAULT_ANSWERS.get(name, "")
            if result == "String":
                body.append(f"    {name} = StandInAnswer(\"{name}\", \"{fallback}\")")
            else:
                body.append(f"    {name} = Val(StandInAnswer(\"{name}\", \"{fallback or 0}\"))")
        out += [head] + body + [f"End {kind}", ""]
    for name, params, result in functions_of(lines):
        args = [re.fullmatch(r"\s*(?:ByVal |ByRef )?(\w+).*", a).group(1) for a in params.split(",") if a.strip()]
        out += [f"Public Function {name}({params}) As {result}", f"    StandInCall \"{name}\", Array({', '.join(args)})",
                f"End Function", ""]
    return "\n".join(out)


PROCEDURE = re.compile(r"^(?:(?:Public|Private|Friend) )?(?:Static )?(Sub|Function|Property) ")


def split_module(text):
    """A module's declarations and its procedures, without its name
    attribute and options."""
    declarations, procedures, inside = [], [], None
    for line in text.replace("\r\n", "\n").split("\n"):
        if line.startswith("Attribute ") or line.startswith("Option "):
            continue
        m = PROCEDURE.match(line)
        if inside is None and m:
            inside = m.group(1)
        (procedures if inside else declarations).append(line)
        if inside and re.match(r"^End " + inside + r"\b", line):
            inside = None
    return declarations, procedures


def joined(declarations, modules, stand_in=True):
    """The one module LibreOffice runs: the stand-in, then the macro modules
    with their dialogs going to the stand-in; every module's declarations
    first, as the language wants them before the procedures. Without
    `stand_in`, the declarations module itself and the macro modules as they
    are, with a function StandInCompiled that hands back "compiled"."""
    heads, bodies = [], []
    first = standin(declarations) if stand_in else declarations
    for i, text in enumerate([first] + list(modules)):
        head, body = split_module(text)
        body = "\n".join(body)
        if i > 0 and stand_in:
            for call, replacement in UI_CALLS.items():
                body = re.sub(r"(?<![\w.])" + re.escape(call) + r"\b", replacement, body)
            body = BORDERS.sub(r"StandInBordersOf(\1)", body)
        heads.append("\n".join(head))
        bodies.append(body)
    if not stand_in:
        bodies.append('Public Function StandInCompiled() As String\n    StandInCompiled = "compiled"\nEnd Function')
    return "Option VBASupport 1\nOption Explicit\n" + "\n".join(heads) + "\n" + "\n".join(bodies) + "\n"
