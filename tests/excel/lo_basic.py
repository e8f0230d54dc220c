#!/usr/bin/python3
r"""Runs the spreadsheet macros under headless LibreOffice for the tests.

lo_basic.py JOBS.json RESULTS

JOBS.json:
  {"profile": folder for LibreOffice's profile of this run (made here),
   "declarations": host/excel/Tavo.bas, "modules": [the macro modules],
   "jobs": [{"name": ..., "book": a workbook, or null for a new one,
             "columns": [[index from 0, points], ...], "rows": [[index, points], ...],
             "select": "B2:D5" or null,
             "real_declarations": true to join the declarations module itself
               instead of the stand-in (a check that everything compiles),
             "calls": [["Procedure", [arguments]], ...],
             "read_sheet": true to hand back the active sheet's cells at the end}]}

One LibreOffice runs every job, with a profile of its own whose macro
security lets documents run their macros; each job's workbook gets the
joined module (tests/excel/standin.py), and the widths and heights given
(those the workbook shows in Excel) before its calls run. The folder
RESULTS gets per job: NAME.I, the result of call I (none when its Basic
stopped at an error LibreOffice does not report, or did not compile);
NAME.seconds, each call's time; NAME.sheet, the active sheet's cells a row
a line, apart by tabs (numbers as Python writes them, texts with \uXXXX
for a backslash, a tab and a line break); NAME.error when the job failed.
"""
import json
import os
import subprocess
import sys
import time

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.script import ModuleInfo

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import standin  # noqa: E402

# Documents may run their macros: the profile's macro security at low.
SECURITY = """<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema"
 xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Common/Security/Scripting"><prop oor:name="MacroSecurityLevel" oor:op="fuse"><value>0</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Security/Scripting"><prop oor:name="DisableMacrosExecution" oor:op="fuse"><value>false</value></prop></item>
</oor:items>
"""


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


class Office:
    def __init__(self, profile):
        os.makedirs(os.path.join(profile, "user"), exist_ok=True)
        with open(os.path.join(profile, "user", "registrymodifications.xcu"), "w") as f:
            f.write(SECURITY)
        self.pipe = "tavo_basic_%d" % os.getpid()
        self.process = subprocess.Popen(
            ["soffice", "--headless", "--norestore", "--nologo", "--nodefault", "--nolockcheck",
             "-env:UserInstallation=" + uno.systemPathToFileUrl(os.path.abspath(profile)),
             "--accept=pipe,name=%s;urp;StarOffice.ComponentContext" % self.pipe],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        started = time.time()
        while True:
            try:
                context = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % self.pipe)
                break
            except Exception:
                if self.process.poll() is not None or time.time() - started > 90:
                    raise SystemExit("LibreOffice (soffice, libreoffice-calc-nogui) did not start")
                time.sleep(0.2)
        self.desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)

    def open(self, book):
        args = (prop("Hidden", True), prop("MacroExecutionMode", 4))
        url = uno.systemPathToFileUrl(os.path.abspath(book)) if book else "private:factory/scalc"
        return self.desktop.loadComponentFromURL(url, "_blank", 0, args)

    def close(self):
        try:
            self.desktop.terminate()
        except Exception:
            pass
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()


def hundredths_of_mm(points):
    return int(round(points * 2540.0 / 72.0))


def run_job(office, code, real_code, classes, job):
    doc = office.open(job.get("book"))
    try:
        sheet = doc.CurrentController.ActiveSheet
        for index, points in job.get("columns", []):
            column = sheet.Columns.getByIndex(index)
            if points > 0:
                column.Width = hundredths_of_mm(points)
        for index, points in job.get("rows", []):
            row = sheet.Rows.getByIndex(index)
            if points > 0:
                row.Height = hundredths_of_mm(points)
        if job.get("select"):
            doc.CurrentController.select(sheet.getCellRangeByName(job["select"]))
        libraries = doc.BasicLibraries
        if not libraries.hasByName("Standard"):
            libraries.createLibrary("Standard")
        library = libraries.getByName("Standard")
        if job.get("real_declarations"):
            code = real_code
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
        results, seconds = [], []
        for procedure, arguments in job["calls"]:
            script = provider.getScript("vnd.sun.star.script:Standard.TavoJoined.%s?language=Basic&location=document"
                                        % procedure)
            started = time.time()
            value = script.invoke(tuple(arguments), (), ())[0]
            seconds.append(time.time() - started)
            results.append(value)
        out = {"results": results, "seconds": seconds}
        if job.get("read_sheet"):
            active = doc.CurrentController.ActiveSheet
            cursor = active.createCursor()
            cursor.gotoEndOfUsedArea(False)
            end = cursor.RangeAddress
            cells = active.getCellRangeByPosition(0, 0, end.EndColumn, end.EndRow).DataArray
            out["sheet"] = {"name": active.Name, "cells": [list(row) for row in cells]}
        return out
    finally:
        doc.close(True)


def escaped(text):
    return "".join("\\u%04X" % ord(c) if c in "\\\t\r\n" else c for c in text)


def write_results(folder, name, out):
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, name)
    if "error" in out:
        with open(path + ".error", "w", encoding="utf-8") as f:
            f.write(out["error"])
        return
    for i, value in enumerate(out["results"]):
        if value is not None:
            with open("%s.%d" % (path, i), "w", encoding="utf-8", newline="") as f:
                f.write(str(value))
    with open(path + ".seconds", "w") as f:
        f.write("\n".join("%.3f" % t for t in out["seconds"]) + "\n")
    if "sheet" in out:
        with open(path + ".sheet", "w", encoding="utf-8", newline="") as f:
            for row in out["sheet"]["cells"]:
                f.write("\t".join(repr(v) if isinstance(v, float) else escaped(v) for v in row) + "\n")


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        spec = json.load(f)
    with open(spec["declarations"], encoding="ascii") as f:
        declarations = f.read()
    modules = []
    for path in spec["modules"]:
        with open(path, encoding="ascii") as f:
            modules.append(f.read())
    code = standin.joined(declarations, modules)
    real_code = standin.joined(declarations, modules, stand_in=False)
    classes = {}
    for path in spec.get("classes", []):
        with open(path, encoding="ascii") as f:
            classes[os.path.splitext(os.path.basename(path))[0]] = f.read()
    if spec.get("joined"):
        with open(spec["joined"], "w", encoding="utf-8") as f:
            f.write(code)
    office = Office(spec["profile"])
    try:
        for job in spec["jobs"]:
            try:
                out = run_job(office, code, real_code, classes, job)
            except Exception as e:  # the job's own failure; the others still run
                out = {"error": "%s: %s" % (type(e).__name__, e)}
            write_results(sys.argv[2], job["name"], out)
    finally:
        office.close()


if __name__ == "__main__":
    main()
