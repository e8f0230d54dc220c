"""Tavo from Python: every export of the library, with its C types (ctypes).

    import tavo
    tavo.JwcCreate(3, 100)
    tavo.AddMoji(10, 10, 40, 10, 3, 0, 0, "平面図")
    tavo.JwcSaveTo("plan.jwc")
    tavo.check()                       # raises TavoError after a failure

Names and argument orders are those of tavo.h, with three conveniences:
- strings in take bytes (Shift-JIS, passed unchanged), str (encoded as
  code page 932) or None (the empty text);
- strings out are returned as bytes, exactly the library's Shift-JIS; the
  block is freed here (decode with .decode("cp932") where a str is wanted);
- a record the library fills is not passed in but returned:
  GetSen(index) -> TavoSenRecord, ReadInifile() -> TavoSettings.
`lib` is the loaded library itself, with the argument and result types of
every export declared, for callers who want the plain C calls.

The library is found through $TAVO_LIBRARY, then beside an installed copy of
this module, then by the system's search (libtavo.so.0).
"""

import ctypes
import os
import sys
from ctypes import POINTER, c_char_p, c_float, c_int16, c_int32, c_uint8, c_uint16, c_uint32, c_void_p

# Set when the module is installed: the library, relative to this file.
_INSTALLED_LIBRARY = "@TAVO_PYTHON_TO_LIBRARY@"


class TavoError(Exception):
    """The message of the last failure (TavoGetLastError), decoded."""


class TavoSenRecord(ctypes.Structure):
    _fields_ = [("X1", c_float), ("Y1", c_float), ("X2", c_float), ("Y2", c_float),
                ("LineType", c_uint8), ("Color", c_uint8), ("Lay", c_uint8), ("SpareByte", c_uint8),
                ("SpareWord", c_uint16), ("Padding", c_uint8 * 2)]


class TavoEnkoRecord(ctypes.Structure):
    _fields_ = [("X", c_float), ("Y", c_float), ("R", c_float), ("Flatness", c_uint16),
                ("Padding1", c_uint8 * 2), ("StartAngle", c_int32), ("EndAngle", c_int32), ("Tilt", c_int32),
                ("LineType", c_uint8), ("Color", c_uint8), ("Lay", c_uint8), ("SpareByte", c_uint8),
                ("SpareWord", c_uint16), ("Padding2", c_uint8 * 2)]


class TavoMojiRecord(ctypes.Structure):
    _fields_ = [("X1", c_float), ("Y1", c_float), ("X2", c_float), ("Y2", c_float),
                ("MojiNo", c_uint8), ("Lay", c_uint8), ("Flags", c_uint16)]


class TavoTenRecord(ctypes.Structure):
    _fields_ = [("X", c_float), ("Y", c_float), ("Lay", c_uint8), ("Color", c_uint8), ("SpareWord", c_uint16)]


class TavoMojiTableRow(ctypes.Structure):
    _fields_ = [("PenNo", c_uint16), ("Width", c_uint16), ("Height", c_uint16), ("Spacing", c_uint16)]


class TavoSettings(ctypes.Structure):
    """TSettings: the library reads and writes its first 202 bytes."""
    _fields_ = [("PenNo", c_uint8 * 10), ("MojiWidth", c_int16 * 10), ("MojiHeight", c_int16 * 10),
                ("MojiPitch", c_int16 * 10), ("Gap70", c_uint8 * 2), ("DimScale", c_float),
                ("JwcScale", c_int16), ("PlotSize", c_int16), ("SenLay", c_uint8), ("SenColor", c_uint8),
                ("Gap82", c_uint8 * 2), ("DoubleSenPitch", c_float), ("MojiLay", c_uint8), ("SimbolLay", c_uint8),
                ("SimbolColor", c_uint8), ("ExportTarget", c_uint8), ("PlotOffset", c_uint8), ("Gap93", c_uint8),
                ("IsSameScale", c_int16), ("GroupScale", c_int16 * 16), ("BColorIndex", c_uint8 * 56),
                ("BTypeIndex", c_uint8 * 13), ("Gap197", c_uint8), ("ExchangeCaret", c_int16),
                ("ExchangeSolid", c_int16)]


class TavoDumpChecks(ctypes.Structure):
    """TDumpChecks: dump lines, arcs, texts, points (0 false, -1 true)."""
    _fields_ = [("Line", c_int16), ("Circle", c_int16), ("String", c_int16), ("Dot", c_int16)]


TSettings = TavoSettings
TDumpChecks = TavoDumpChecks

# The layouts of tavo.h; a mismatch would corrupt the host's memory.
for _record, _size in ((TavoSenRecord, 24), (TavoEnkoRecord, 36), (TavoMojiRecord, 20), (TavoTenRecord, 12),
                       (TavoMojiTableRow, 8), (TavoSettings, 204), (TavoDumpChecks, 8)):
    assert ctypes.sizeof(_record) == _size, _record.__name__
assert TavoEnkoRecord.StartAngle.offset == 16 and TavoEnkoRecord.LineType.offset == 28
assert TavoSettings.DimScale.offset == 72 and TavoSettings.IsSameScale.offset == 94
assert TavoSettings.BColorIndex.offset == 128 and TavoSettings.ExchangeSolid.offset == 200


class _StringIn:
    """A string in: the address of a variable holding the text's address."""
    ctype = POINTER(c_char_p)


class _StringOut:
    """A string out: a block the caller frees with TavoFreeString."""


class _RecordOut:
    """A record the library fills: made here and returned."""

    def __init__(self, record):
        self.record = record
        self.ctype = POINTER(record)


S_IN = _StringIn()
S_OUT = _StringOut()
i16, u8, u16, i32, f32 = c_int16, c_uint8, c_uint16, c_int32, c_float

# Every export: name, result, arguments, as declared in tavo.h.
SIGNATURES = [
    # JWC drawing
    ("JwcCreate", None, [i16, i16]),
    ("JwcCreateByInifile", None, []),
    ("JwcDestroy", None, []),
    ("JwcSaveTo", None, [S_IN]),
    ("JwcLoadFrom", None, [S_IN]),
    ("SetComment", None, [S_IN, S_IN]),
    ("SetMojiTable", None, [i16, u16, u16, u16, u16]),
    ("AddSen", None, [f32, f32, f32, f32, u8, u8, u8, u8, u16]),
    ("AddEnko", None, [f32, f32, f32, u16, i32, i32, i32, u8, u8, u8, u8, u16]),
    ("AddMoji", None, [f32, f32, f32, f32, u8, u8, u16, S_IN]),
    ("AddTen", None, [f32, f32, u8, u8, u16]),
    ("GetSenCount", i32, []),
    ("GetEnkoCount", i32, []),
    ("GetMojiCount", i32, []),
    ("GetTenCount", i32, []),
    ("GetSen", None, [_RecordOut(TavoSenRecord), i16]),
    ("GetEnko", None, [_RecordOut(TavoEnkoRecord), i16]),
    ("GetMoji", None, [_RecordOut(TavoMojiRecord), i16]),
    ("GetTen", None, [_RecordOut(TavoTenRecord), i16]),
    ("GetMojiString", S_OUT, [i16]),
    ("GetTable", None, [_RecordOut(TavoMojiTableRow), i16]),
    ("DrawWidth", i32, [i16]),
    ("CopyToAsJwt", None, []),
    # Progress
    ("ProgressCreate", None, [i16, i16]),
    ("Progress", i32, [i16, i16]),
    ("ProgressDestroy", None, []),
    # Export drawing
    ("ObjCreateByInifile", None, []),
    ("ObjDestroy", None, []),
    ("SetObjComment", None, [S_IN, S_IN]),
    ("AddLine", None, [f32, f32, f32, f32, u8, u8, u8]),
    ("AddText", None, [f32, f32, f32, f32, u8, u8, S_IN]),
    ("AddTextV", None, [f32, f32, f32, f32, u8, u8, S_IN]),
    ("AddCircle", None, [f32, f32, f32, f32, f32, f32, f32, u8, u8, u8]),
    ("AddSolid", None, [f32, f32, f32, f32, i32, u8]),
    ("ObjSaveToJwcFile", None, [S_IN]),
    ("ObjSaveToTxtFile", None, [S_IN]),
    ("ObjSaveToDxfFile", None, [S_IN]),
    ("ObjCopyToAsJwt", None, []),
    # Viewer
    ("ShowJwBrws", i32, [S_IN]),
    ("ShowJwBrwsFromJwc", i16, [S_IN]),
    # Settings
    ("ReadInifile", None, [_RecordOut(TavoSettings)]),
    ("WriteInifile", None, [POINTER(TavoSettings)]),
    ("ReadIniString", S_OUT, [i16]),
    ("WriteIniString", None, [i16, S_IN]),
    ("ReadIniDump", None, [_RecordOut(TavoDumpChecks)]),
    ("WriteIniDump", None, [POINTER(TavoDumpChecks)]),
    ("ShowExportForm", i16, []),
    ("ShowDumpForm", i16, []),
    ("ShowBuildForm", i16, []),
    # Strings handed out, the last failure, the clipboard
    ("TavoFreeString", None, [c_void_p]),
    ("TavoStringByteLen", c_uint32, [c_void_p]),
    ("TavoGetLastError", S_OUT, []),
    ("TavoGetClipboardText", S_OUT, []),
    # Extension: 32-bit indexes
    ("TavoGetSenEx", None, [_RecordOut(TavoSenRecord), i32]),
    ("TavoGetEnkoEx", None, [_RecordOut(TavoEnkoRecord), i32]),
    ("TavoGetMojiEx", None, [_RecordOut(TavoMojiRecord), i32]),
    ("TavoGetTenEx", None, [_RecordOut(TavoTenRecord), i32]),
    ("TavoGetMojiStringEx", S_OUT, [i32]),
    # Extension: DXF versions (0 R12 for JW_CAD, 2000, 2018)
    ("TavoObjSaveToDxfFileEx", None, [S_IN, i32]),
]


def _candidates():
    named = os.environ.get("TAVO_LIBRARY")
    if named:
        return [named]
    found = []
    if not _INSTALLED_LIBRARY.startswith("@"):
        found.append(os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), _INSTALLED_LIBRARY)))
    found.append("tavo.dll" if sys.platform == "win32" else "libtavo.so.0")
    return found


def _load():
    # 32-bit Windows exports use stdcall.
    loader = ctypes.WinDLL if sys.platform == "win32" and ctypes.sizeof(c_void_p) == 4 else ctypes.CDLL
    errors = []
    for path in _candidates():
        try:
            return loader(path)
        except OSError as e:
            errors.append(str(e))
    raise OSError("libtavo not found (set TAVO_LIBRARY): " + "; ".join(errors))


lib = _load()


def _string_in(value):
    if value is None:
        return None  # the library reads a null pointer as the empty text
    if isinstance(value, str):
        value = value.encode("cp932")
    return ctypes.byref(c_char_p(bytes(value)))


def _take_string(address):
    """The bytes of a string the library handed out; frees it."""
    if not address:
        return b""
    try:
        return ctypes.string_at(address, lib.TavoStringByteLen(address))
    finally:
        lib.TavoFreeString(address)


def _declare(name, result, arguments):
    function = getattr(lib, name)
    function.restype = c_void_p if result is S_OUT else result
    function.argtypes = [a.ctype if isinstance(a, (_StringIn, _RecordOut)) else a for a in arguments]
    records = [(i, a.record) for i, a in enumerate(arguments) if isinstance(a, _RecordOut)]
    strings = [i for i, a in enumerate(arguments) if a is S_IN]
    if not records and not strings and result is not S_OUT:
        return function

    def call(*args):
        args = list(args)
        made = []
        for i, record in records:
            made.append(record())
            args.insert(i, ctypes.byref(made[-1]))
        for i in strings:
            args[i] = _string_in(args[i])
        value = function(*args)
        if result is S_OUT:
            return _take_string(value)
        if made:
            return made[0]
        return value

    call.__name__ = name
    call.__doc__ = "%s(%s)" % (name, ", ".join(getattr(a, "__name__", type(a).__name__) for a in arguments))
    return call


# Exports the loaded library lacks (an older build) are left out.
for _name, _result, _arguments in SIGNATURES:
    if hasattr(lib, _name):
        globals()[_name] = _declare(_name, _result, _arguments)


def last_error():
    """The message of the last failure, empty when the last export succeeded."""
    return TavoGetLastError().decode("cp932", errors="replace")


def check():
    """Raises TavoError when the last export failed."""
    message = last_error()
    if message:
        raise TavoError(message)
