"""A host in Python through python/tavo.py (ctypes): every export declared, strings in as str,
bytes or None, records and strings out, floats, the settings record, failures raised by check().
Usage: python_host_test.py TAVO_H FOLDER, with TAVO_LIBRARY naming the library."""
import os
import re
import sys

import tavo

header, folder = sys.argv[1], sys.argv[2]
os.environ["TAVO_SETTINGS_DIR"] = os.path.join(folder, "settings")

declared = set(re.findall(r"^TAVO_API .* TAVO_CALL (\w+)\(", open(header).read(), re.M))
missing = {name for name in declared if not hasattr(tavo, name)}
assert not missing, "not declared in tavo.py: %s" % sorted(missing)

plan = os.path.join(folder, "plan.jwc")
tavo.JwcCreate(3, 100)
tavo.SetComment("平面図", None)
tavo.AddSen(0.0, 0.0, 420.0, 0.0, 2, 0xF1, 1, 0, 7)
tavo.AddMoji(10, 10, 40, 10, 3, 0xF0, 32, "部屋")
tavo.AddMoji(10, 20, 40, 20, 3, 0xF0, 0, b"\x83e")
tavo.JwcSaveTo(plan)
tavo.JwcCreate(3, 1)
tavo.JwcLoadFrom(plan.encode())
tavo.check()
sen = tavo.GetSen(0)
assert (sen.X2, sen.Color, sen.Lay, sen.LineType, sen.SpareWord) == (518.0, 2, 0xF1, 1, 7), "line record"
assert tavo.GetMoji(0).Flags == 32 and tavo.TavoGetSenEx(0).X2 == 518.0, "text record, extension export"
assert (tavo.GetMojiString(0), tavo.TavoGetMojiStringEx(1)) == ("部屋".encode("cp932"), b"\x83e"), "texts"
tavo.JwcDestroy()

# Floats reach the export drawing as declared: 10.5 mm at 1:100.
tavo.ObjCreateByInifile()
tavo.AddLine(0, 0, 10.5, 0, 1, 0xF1, 1)
tavo.ObjSaveToTxtFile(os.path.join(folder, "sheet.txt"))
tavo.check()
assert b" 1.050000E+003 0.000000E+000\r\n" in open(os.path.join(folder, "sheet.txt"), "rb").read(), "line in mm"
tavo.ObjDestroy()

# The settings record with the library's layout, in and out.
settings = tavo.ReadInifile()
assert settings.JwcScale == 100 and list(settings.PenNo) == [1, 1, 2, 2, 3, 3, 4, 4, 5, 5], "factory settings"
settings.JwcScale = 250
tavo.WriteInifile(settings)
assert tavo.ReadInifile().JwcScale == 250 and tavo.ReadIniDump().Line == -1, "settings written"

# A failure is reported, never raised by the library itself.
tavo.JwcCreate(3, 1)
tavo.JwcLoadFrom(os.path.join(folder, "missing.jwc"))
try:
    tavo.check()
    sys.exit("no error for a missing file")
except tavo.TavoError as e:
    assert "missing.jwc" in str(e), str(e)
tavo.JwcDestroy()
