#!/usr/bin/python3
r"""Runs the spreadsheet macros (host/excel) under headless LibreOffice for the tests.

lo_basic.py JOBS.json RESULTS (tests/excel_macro_support.h): one LibreOffice opens each job's workbook, sizes
its columns and rows as Excel shows them, joins the modules and runs the calls; RESULTS gets per job NAME.I
(call I's result; none when its Basic stopped), NAME.seconds, NAME.sheet (the active sheet, when asked) or
NAME.error. LibreOffice cannot load tavo.dll from Basic on Linux, and its Basic knows a Type only in its own
module: the declarations become a stand-in of the same names, joined into one module with the macros, that
logs every call and answers from the test's replies; MsgBox and the save dialog go to the stand-in too, a
cell's Borders to the class module StandInBorders.

Log lines: NAME<TAB>argument..., numbers as Str$ writes them, texts with \\uXXXX for a backslash, a control
and every character beyond ASCII. Replies: lines NAME<TAB>value...; NAME:FIRST answers only a call whose
first argument is FIRST, NAME@PREVIOUS only a call right after PREVIOUS; replies of one key are used in
turn, the last one again and again.
"""
import json
import os
import re
import subprocess
import sys
import time

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.script import ModuleInfo

# Documents may run their macros: the profile's macro security at low.
SECURITY = """<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema"
 xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">%s</oor:items>
""" % "".join('<item oor:path="/org.openoffice.Office.Common/Security/Scripting"><prop oor:name="%s" oor:op="fuse">'
              '<value>%s</value></prop></item>\n' % p for p in (("MacroSecurityLevel", 0), ("DisableMacrosExecution", "false")))

MODULES = ["host/excel/Tavo%s.bas" % m for m in ("Host", "Jwc", "Rules", "Sheet", "Cells", "Shapes")] + ["tests/excel/RuleProbe.bas"]
CLASSES = ["StandInBorders"]

# Answers when the test gives none: the dialogs closed with OK, the user never cancels.
DEFAULT_ANSWERS = {"ShowExportForm": "1", "ShowDumpForm": "1", "ShowBuildForm": "1", "Progress": "-1",
                   "ShowJwBrws": "1", "ShowJwBrwsFromJwc": "1"}

UI_CALLS = {"MsgBox": "StandInMsgBox", "Application.GetSaveAsFilename": "StandInGetSaveAsFilename"}

# A cell's Borders as Excel documents them (tests/excel/*.cls): LibreOffice 7.4's emulation reads every
# border as continuous.
BORDERS = re.compile(r"\b(\w+)\.Borders\b")

HELPERS = r'''
Private gLog() As String, gLogCount As Long, gLast As String, gFirst As String, gPrevious As String, gReplies As String

' Takes the replies for the calls to come and empties the log.
Public Function StandInStart(ByVal replies As String) As String
    gReplies = vbLf & replies & vbLf : gLogCount = 0 : gLast = ""
    ReDim gLog(0 To 1023)
    StandInStart = "started"
End Function

' The log, one call a line.
Public Function StandInFinish() As String
    If gLogCount = 0 Then Exit Function
    ReDim Preserve gLog(0 To gLogCount - 1)
    StandInFinish = Join(gLog, vbLf)
End Function

Public Function StandInText(ByVal v As Variant) As String
    Dim i As Long, c As Long
    Select Case VarType(v)
        Case vbString
            For i = 1 To Len(v)
                c = AscW(Mid$(v, i, 1)) And &HFFFF&
                StandInText = StandInText & IIf(c < 32 Or c > 126 Or c = 92, "\u" & Right$("000" & Hex$(c), 4), Mid$(v, i, 1))
            Next
        Case vbBoolean: StandInText = CStr(CInt(v))
        Case vbEmpty
        Case Else: StandInText = Trim$(Str$(CDbl(v)))
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
    gLog(gLogCount) = line : gLogCount = gLogCount + 1 : gPrevious = gLast : gLast = name : gFirst = ""
    If UBound(args) >= LBound(args) Then gFirst = StandInText(args(LBound(args)))
End Sub

' The values of the reply to the call just logged, False when there is none;
' a reply is used up when another of its key follows.
Private Function StandInReply(ByVal name As String, values() As String) As Boolean
    Dim key As Variant, at As Long, ends As Long
    For Each key In Array(name & ":" & gFirst, name & "@" & gPrevious, name)
        at = InStr(gReplies, vbLf & key & vbTab)
        If at > 0 Then
            ends = InStr(at + 1, gReplies, vbLf)
            values = Split(Mid$(gReplies, at + Len(key) + 2, ends - at - Len(key) - 2), vbTab)
            If InStr(ends, gReplies, vbLf & key & vbTab) > 0 Then gReplies = Left$(gReplies, at) & Mid$(gReplies, ends + 1)
            StandInReply = True : Exit Function
        End If
    Next
End Function

Private Function StandInAnswer(ByVal name As String, ByVal fallback As String) As String
    Dim values() As String
    StandInAnswer = fallback
    If StandInReply(name, values) Then StandInAnswer = TavoUnescape(Join(values, vbTab))
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
    StandInCall "MsgBox", Array(Title, Prompt) : StandInMsgBox = 1
End Function

Public Function StandInGetSaveAsFilename(Optional ByVal InitialFileName As Variant, Optional ByVal FileFilter As Variant, _
        Optional ByVal FilterIndex As Variant, Optional ByVal Title As Variant) As Variant
    StandInCall "GetSaveAsFilename", Array(Title) : StandInGetSaveAsFilename = False
    If InStr(gReplies, vbLf & "GetSaveAsFilename" & vbTab) Then StandInGetSaveAsFilename = StandInAnswer("GetSaveAsFilename", "")
End Function
'''


def types_of(lines):
    """Type name -> its declaration lines and its fields flattened: [(name, vb type)]."""
    types, current = {}, None
    for line in (line.strip() for line in lines):
        m = re.match(r"^(?:Public |Private )?Type (\w+)$", line)
        f = re.fullmatch(r"(\w+)(?:\((\d+) To (\d+)\))? As (\w+)", line)
        if m:
            current = m.group(1)
            types[current] = ([line], [])
        elif current and line:
            types[current][0].append(line)
            if not f:
                current = None  # End Type
            else:
                types[current][1].extend([(f"{f.group(1)}({i})" if f.group(2) else f.group(1), f.group(4))
                                          for i in range(int(f.group(2) or 0), int(f.group(3) or 0) + 1)])
    return types


def declares_of(lines):
    """The VBA7 branch's Declare statements: (name, Sub/Function, result type, [(by, name, type)])."""
    out, branch = [], None
    for s in (line.strip() for line in lines):
        branch = "VBA7" if s == "#If VBA7 Then" else None if s in ("#Else", "#End If") else branch
        m = re.fullmatch(r'Public Declare PtrSafe (Sub|Function) (\w+) Lib "tavo\.dll" \((.*?)\)(?: As (\w+))?', s)
        if m and branch:
            args = [re.fullmatch(r"\s*(ByVal|ByRef) (\w+) As (\w+)\s*", a).groups() for a in m.group(3).split(",") if a.strip()]
            out.append((m.group(2), m.group(1), m.group(4), args))
    return out


def standin(declarations):
    """The stand-in module's code for the declarations module's text: calls logged, answers replayed."""
    lines = [line.split("'")[0].rstrip() for line in re.sub(r" _\r?\n\s*", " ", declarations).splitlines()]
    types = types_of(lines)
    out = [line for decl, _ in types.values() for line in decl] + [HELPERS]
    for name, kind, result, args in declares_of(lines):
        params = ", ".join(f"{by} {arg} As {vbtype}" for by, arg, vbtype in args)
        out += [f"Public {kind} {name}({params})" + (f" As {result}" if result else ""),
                f"    StandInCall \"{name}\", Array({', '.join(arg for _, arg, vbtype in args if vbtype not in types)})"]
        for _, arg, vbtype in (a for a in args if a[2] in types):  # a record the library fills
            out += ["    Dim values() As String", f"    If StandInReply(\"{name}\", values) Then"]
            out += [f"        {arg}.{field} = StandInField(values, {i})" for i, (field, _) in enumerate(types[vbtype][1])]
            out.append("    End If")
        fallback = DEFAULT_ANSWERS.get(name, "")
        if result:
            out.append(f"    {name} = StandInAnswer(\"{name}\", \"{fallback}\")" if result == "String" else
                       f"    {name} = Val(StandInAnswer(\"{name}\", \"{fallback or 0}\"))")
        out += [f"End {kind}", ""]
    for name, params, result in (m.groups() for m in (re.fullmatch(r"Public Function (\w+)\((.*)\) As (\w+)", line.strip())
                                                     for line in lines) if m):
        args = [re.fullmatch(r"\s*(?:ByVal |ByRef )?(\w+).*", a).group(1) for a in params.split(",") if a.strip()]
        out += [f"Public Function {name}({params}) As {result}", f"    StandInCall \"{name}\", Array({', '.join(args)})",
                "End Function", ""]
    return "\n".join(out)


PROCEDURE = re.compile(r"^(?:(?:Public|Private|Friend) )?(?:Static )?(Sub|Function|Property) ")


def joined(declarations, modules, stand_in=True):
    """The one module LibreOffice runs: the stand-in, then the macro modules with their dialogs going to the
    stand-in; every module's declarations first, as the language wants them before the procedures (their
    name attributes and options dropped). Without `stand_in`, the declarations module itself and the macro
    modules as they are, with a function StandInCompiled that hands back "compiled"."""
    heads, bodies = [], []
    for i, text in enumerate([standin(declarations) if stand_in else declarations] + modules):
        inside = None
        for line in text.replace("\r\n", "\n").split("\n"):
            if line.startswith(("Attribute ", "Option ")):
                continue
            m = PROCEDURE.match(line)
            inside = inside or (m and m.group(1))
            (bodies if inside else heads).append(line if not (inside and i and stand_in) else BORDERS.sub(
                r"StandInBordersOf(\1)", re.sub(r"(?<![\w.])(MsgBox|Application\.GetSaveAsFilename)\b",
                                                lambda c: UI_CALLS[c[1]], line)))
            if inside and re.match(r"^End " + inside + r"\b", line):
                inside = None
    if not stand_in:
        bodies.append('Public Function StandInCompiled() As String\n    StandInCompiled = "compiled"\nEnd Function')
    return "Option VBASupport 1\nOption Explicit\n" + "\n".join(heads) + "\n" + "\n".join(bodies) + "\n"


def start_office(profile):
    os.makedirs(os.path.join(profile, "user"), exist_ok=True)
    with open(os.path.join(profile, "user", "registrymodifications.xcu"), "w") as f:
        f.write(SECURITY)
    url = "uno:pipe,name=tavo_basic_%d;urp;StarOffice.ComponentContext" % os.getpid()
    process = subprocess.Popen(
        ["soffice", "--headless", "--norestore", "--nologo", "--nodefault", "--nolockcheck",
         "-env:UserInstallation=" + uno.systemPathToFileUrl(os.path.abspath(profile)), "--accept=" + url[4:]],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    started = time.time()
    while True:
        try:
            context = resolver.resolve(url)
            return process, context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)
        except Exception:
            if process.poll() is not None or time.time() - started > 90:
                raise SystemExit("LibreOffice (soffice, libreoffice-calc-nogui) did not start")
            time.sleep(0.2)


def run_job(desktop, code, classes, job):
    url = uno.systemPathToFileUrl(os.path.abspath(job["book"])) if job.get("book") else "private:factory/scalc"
    doc = desktop.loadComponentFromURL(url, "_blank", 0, (PropertyValue(Name="Hidden", Value=True), PropertyValue(Name="MacroExecutionMode", Value=4)))
    try:
        sheet = doc.CurrentController.ActiveSheet
        for lines, sizes, attribute in ((sheet.Columns, "columns", "Width"), (sheet.Rows, "rows", "Height")):
            for index, points in job[sizes]:
                if points > 0:
                    setattr(lines.getByIndex(index), attribute, int(round(points * 2540.0 / 72.0)))
        libraries = doc.BasicLibraries
        if not libraries.hasByName("Standard"):
            libraries.createLibrary("Standard")
        library = libraries.getByName("Standard")
        for name, text in list(classes.items()) + [("TavoJoined", code)]:
            if library.hasByName(name):
                library.removeByName(name)
            if name in classes:
                info = ModuleInfo()
                info.ModuleType = uno.getConstantByName("com.sun.star.script.ModuleType.CLASS")
                try:
                    libraries.insertModuleInfo(name, info)
                except Exception:
                    pass  # the module's Option ClassModule says the same
            library.insertByName(name, text)
        provider = doc.getScriptProvider()
        out = {"results": [], "seconds": []}
        for procedure, arguments in job["calls"]:
            script = provider.getScript("vnd.sun.star.script:Standard.TavoJoined.%s?language=Basic&location=document" % procedure)
            started = time.time()
            out["results"].append(script.invoke(tuple(arguments), (), ())[0])
            out["seconds"].append(time.time() - started)
        if job["read_sheet"]:
            active = doc.CurrentController.ActiveSheet
            cursor = active.createCursor()
            cursor.gotoEndOfUsedArea(False)
            end = cursor.RangeAddress
            out["sheet"] = active.getCellRangeByPosition(0, 0, end.EndColumn, end.EndRow).DataArray
        return out
    finally:
        doc.close(True)


def write_results(folder, name, out):
    def write(suffix, text):
        with open(os.path.join(folder, name + suffix), "w", encoding="utf-8", newline="") as f:
            f.write(text)
    if "error" in out:
        return write(".error", out["error"])
    for i, value in enumerate(out["results"]):
        if value is not None:
            write(".%d" % i, str(value))
    write(".seconds", "".join("%.3f\n" % t for t in out["seconds"]))
    if "sheet" in out:
        write(".sheet", "".join("\t".join(repr(v) if isinstance(v, float) else re.sub(r"[\\\t\r\n]", lambda m: "\\u%04X" % ord(m[0]), v)
                                          for v in row) + "\n" for row in out["sheet"]))


def main():
    spec = json.load(open(sys.argv[1], encoding="utf-8"))

    read = lambda path: open(os.path.join(spec["source"], path), encoding="ascii").read()
    declarations, modules = read("host/excel/Tavo.bas"), [read(path) for path in MODULES]
    code = {False: joined(declarations, modules), True: joined(declarations, modules, stand_in=False)}
    classes = {name: read("tests/excel/%s.cls" % name) for name in CLASSES}
    os.makedirs(sys.argv[2], exist_ok=True)
    process, desktop = start_office(spec["profile"])
    try:
        for job in spec["jobs"]:
            try:
                out = run_job(desktop, code[job["real_declarations"]], classes, job)
            except Exception as e:  # the job's own failure; the others still run
                out = {"error": "%s: %s" % (type(e).__name__, e)}
            write_results(sys.argv[2], job["name"], out)
    finally:
        try:
            desktop.terminate()
            process.wait(timeout=30)
        except Exception:
            process.kill()


if __name__ == "__main__":
    main()
