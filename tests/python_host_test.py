"""A host in Python: the exports through python/tavo.py (ctypes).

Usage: python_host_test.py TAVO_H FOLDER, with TAVO_LIBRARY naming the library.
"""
import os
import re
import sys

import tavo

header, folder = sys.argv[1], sys.argv[2]
os.environ["TAVO_SETTINGS_DIR"] = os.path.join(folder, "settings")
failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)


# Every export of tavo.h is declared in the module, and present.
declared = set(re.findall(r"^TAVO_API .* TAVO_CALL (\w+)\(", open(header).read(), re.M))
known = {name for name, _, _ in tavo.SIGNATURES}
expect(declared <= known, "not declared in tavo.py: %s" % sorted(declared - known))
for name in declared:
    expect(hasattr(tavo, name), "not exported: " + name)

# Build a drawing with str, bytes and None for its strings, save and load it.
plan = os.path.join(folder, "plan.jwc")
tavo.JwcCreate(3, 100)
tavo.SetComment("平面図", None)
tavo.AddSen(0.0, 0.0, 420.0, 0.0, 2, 0xF1, 1, 0, 7)
tavo.AddMoji(10, 10, 40, 10, 3, 0xF0, 32, "部屋")
tavo.AddMoji(10, 20, 40, 20, 3, 0xF0, 0, b"\x83e")
tavo.JwcSaveTo(plan)
tavo.check()
tavo.JwcCreate(3, 1)
tavo.JwcLoadFrom(plan.encode())
tavo.check()
expect(tavo.GetSenCount() == 1 and tavo.GetMojiCount() == 2, "counts after loading")
sen = tavo.GetSen(0)
expect(isinstance(sen, tavo.TavoSenRecord), "GetSen returns the record")
expect((sen.X2, sen.Color, sen.Lay, sen.LineType, sen.SpareWord) == (518.0, 2, 0xF1, 1, 7), "line record")
expect(tavo.GetMoji(0).Flags == 32, "text record")
expect(tavo.GetMojiString(0) == "部屋".encode("cp932"), "text out as Shift-JIS bytes")
expect(tavo.TavoGetMojiStringEx(1) == b"\x83e", "bytes in, unchanged")
expect(tavo.TavoGetSenEx(0).X2 == 518.0, "extension export")
expect(tavo.GetMojiString(-1) == b" " and tavo.TavoGetMojiStringEx(1 << 20) == b" ", "no such text")
expect(tavo.GetTable(11).PenNo == 0, "row out of range")
expect(tavo.DrawWidth(0) == 1189, "DrawWidth")
tavo.JwcDestroy()

# Floats and bytes reach the export drawing as declared: 10.5 mm at 1:100.
tavo.ObjCreateByInifile()
tavo.AddLine(0, 0, 10.5, 0, 1, 0xF1, 1)
tavo.ObjSaveToTxtFile(os.path.join(folder, "sheet.txt"))
tavo.check()
coordinates = open(os.path.join(folder, "sheet.txt"), "rb").read()
expect(b" 0.000000E+000 0.000000E+000 1.050000E+003 0.000000E+000\r\n" in coordinates, "line in millimetres")
tavo.TavoObjSaveToDxfFileEx(os.path.join(folder, "sheet.dxf"), 2018)
tavo.check()
expect(b"\r\nAC1032\r\n" in open(os.path.join(folder, "sheet.dxf"), "rb").read(), "DXF in the version asked for")
tavo.ObjDestroy()

# Settings: the record in and out, the strings with None and line breaks.
settings = tavo.ReadInifile()
expect(settings.JwcScale == 100 and list(settings.PenNo) == [1, 1, 2, 2, 3, 3, 4, 4, 5, 5], "factory settings")
settings.JwcScale = 250
tavo.WriteInifile(settings)
expect(tavo.ReadInifile().JwcScale == 250, "settings written")
tavo.WriteIniString(1, "一行目\r\n二行目")
expect(tavo.ReadIniString(1).decode("cp932") == "一行目 二行目", "line break in a value")
tavo.WriteIniString(1, None)
tavo.check()
expect(tavo.ReadIniString(1) == b"", "None is the empty text")
checks = tavo.ReadIniDump()
expect(checks.Line == -1, "dump flags")

# A failure is reported, never raised by the library itself.
tavo.JwcCreate(3, 1)
tavo.JwcLoadFrom(os.path.join(folder, "missing.jwc"))
try:
    tavo.check()
    failures.append("no error for a missing file")
except tavo.TavoError as e:
    expect("missing.jwc" in str(e), "the message names the file: " + str(e))
tavo.JwcDestroy()

for failure in failures:
    print("failed:", failure)
sys.exit(1 if failures else 0)
