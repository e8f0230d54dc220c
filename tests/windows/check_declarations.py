#!/usr/bin/env python3
"""Checks the spreadsheet module host/excel/Tavo.bas against include/tavo.h:
every function (but the two a macro never needs) declared in both branches,
64-bit-able (#If VBA7, PtrSafe) and older, as Sub or Function with the same
result and arguments in order (names, widths, by value or by reference); every
record type with the fields of its C struct, same names, widths and offsets
(the host aligns to 4 bytes, as tavo.h packs them on Windows) and size.

check_declarations.py Tavo.bas tavo.h
"""
import re
import sys

# What a macro needs no declaration for: it frees strings itself.
C_ONLY = {"TavoFreeString", "TavoStringByteLen"}

# The module's names for the records of tavo.h.
RECORDS = {
    "TavoSenRecord": "TSen", "TavoEnkoRecord": "TEnko", "TavoMojiRecord": "TMoji", "TavoTenRecord": "TTen",
    "TavoMojiTableRow": "TMojiTableRow", "TavoSettings": "TSettings", "TavoDumpChecks": "TDumpChecks",
}
# Fields whose C name is a reserved word of the host's language.
FIELD_NAMES = {("TavoDumpChecks", "Line"): "CeckLine", ("TavoDumpChecks", "Circle"): "CeckCircle",
               ("TavoDumpChecks", "String"): "CeckString", ("TavoDumpChecks", "Dot"): "CeckDot"}

C_WIDTH = {"uint8_t": 1, "int16_t": 2, "uint16_t": 2, "int32_t": 4, "uint32_t": 4, "float": 4}
VB_WIDTH = {"Byte": 1, "Integer": 2, "Boolean": 2, "Long": 4, "Single": 4}
# By-value arguments and results: the host's type for each C type.
VB_VALUE = {"uint8_t": "Byte", "int16_t": "Integer", "uint16_t": "Integer", "int32_t": "Long", "uint32_t": "Long",
            "float": "Single", "TavoString": "String"}


def c_structs(text):
    """Struct name -> [(field, type, count)]."""
    structs = {}
    for body, name in re.findall(r"typedef struct \w+ \{(.*?)\} (\w+);", text, flags=re.S):
        fields = []
        for ctype, names in re.findall(r"^\s*([\w ]+?)\s+([^;]+);", body, flags=re.M):
            for declarator in names.split(","):
                m = re.fullmatch(r"\s*(\w+)(?:\[(\d+)\])?\s*", declarator)
                fields.append((m.group(1), ctype.strip(), int(m.group(2) or 1)))
        structs[name] = fields
    return structs


def layout(fields, width_of):
    """Offsets and size with each field aligned to its width, at most 4."""
    offset, align, placed = 0, 1, []
    for name, ftype, count in fields:
        width = width_of(ftype)
        a = min(width, 4)
        offset = (offset + a - 1) // a * a
        placed.append((name, ftype, count, offset, width))
        offset += width * count
        align = max(align, a)
    return placed, (offset + align - 1) // align * align


def c_functions(text):
    """Name -> (result type, [(argument, type)])."""
    return {name: (result.strip(), [tuple(reversed(re.fullmatch(r"\s*(.*?)\s*(\w+)\s*", arg).groups()))
                                    for arg in args.split(",") if args.strip() not in ("", "void")])
            for result, name, args in re.findall(r"TAVO_API\s+([\w ]+?\*?)\s*TAVO_CALL\s+(\w+)\s*\(([^)]*)\)\s*;", text)}


def vb_lines(text):
    """Logical lines: continuations joined, comments dropped."""
    text = re.sub(r" _\r?\n\s*", " ", text)
    return [line.split("'")[0].rstrip() for line in text.splitlines()]


def vb_types(lines):
    types, current = {}, None
    for line in lines:
        m = re.match(r"^\s*(?:Public |Private )?Type (\w+)$", line)
        if m:
            current = types.setdefault(m.group(1), [])
        elif line.strip() == "End Type":
            current = None
        elif current is not None and line.strip():
            m = re.fullmatch(r"\s*(\w+)(?:\(0 To (\d+)\))? As (\w+)", line)
            if not m:
                raise SystemExit(f"cannot read the field {line!r}")
            current.append((m.group(1), m.group(3), int(m.group(2)) + 1 if m.group(2) else 1))
    return types


def vb_declares(lines):
    """Branch ("VBA7" or "older") -> name -> (PtrSafe, Sub/Function, result, [(by, name, type)])."""
    branches = {"VBA7": {}, "older": {}}
    branch = None
    for line in lines:
        s = line.strip()
        if s == "#If VBA7 Then":
            branch = "VBA7"
        elif s == "#Else":
            branch = "older"
        elif s == "#End If":
            branch = None
        m = re.fullmatch(r'(?:Public|Private) Declare (PtrSafe )?(Sub|Function) (\w+) Lib "tavo\.dll" \((.*?)\)(?: As (\w+))?',
                         s)
        if not m:
            continue
        if branch is None:
            raise SystemExit(f"a declaration outside #If VBA7: {s}")
        arguments = []
        if m.group(4).strip():
            for arg in m.group(4).split(","):
                a = re.fullmatch(r"\s*(ByVal|ByRef) (\w+) As (\w+)\s*", arg)
                if not a:
                    raise SystemExit(f"{m.group(3)}: every argument says ByVal or ByRef and its type: {arg!r}")
                arguments.append(a.groups())
        branches[branch][m.group(3)] = (bool(m.group(1)), m.group(2), m.group(5), arguments)
    return branches


def expected_argument(ctype):
    """(ByVal/ByRef, host type) for a C argument type."""
    if ctype == "TavoStringIn":
        return "ByRef", "String"
    m = re.fullmatch(r"(?:const )?(\w+)\s*\*", ctype)
    if m and m.group(1) in RECORDS:
        return "ByRef", RECORDS[m.group(1)]
    if ctype in VB_VALUE:
        return "ByVal", VB_VALUE[ctype]
    raise SystemExit(f"no host type for {ctype}")


def main():
    bas_path, header_path = sys.argv[1:3]
    bas = open(bas_path, encoding="ascii", newline="").read()
    header = re.sub(r"/\*.*?\*/", "", open(header_path, encoding="ascii").read(), flags=re.S)
    problems = []
    if "\r\n" not in bas or re.search(r"(?<!\r)\n", bas):
        problems.append(f"{bas_path}: the host imports modules with CR LF line ends only")
    lines = vb_lines(bas)

    structs = c_structs(header)
    types = vb_types(lines)
    for cname, vname in RECORDS.items():
        if cname not in structs or vname not in types:
            problems.append(f"record {cname} / {vname} missing")
            continue
        c_placed, c_size = layout(structs[cname], lambda t: C_WIDTH[t])
        v_placed, v_size = layout(types[vname], lambda t: VB_WIDTH[t])
        if len(c_placed) != len(v_placed):
            problems.append(f"{vname}: {len(v_placed)} fields, {cname} has {len(c_placed)}")
        for c, v in zip(c_placed, v_placed):
            want = FIELD_NAMES.get((cname, c[0]), c[0])
            if (want, c[2], c[3], c[4]) != (v[0], v[2], v[3], v[4]):
                problems.append(f"{vname}.{v[0]}: {v[2]} x {v[4]} bytes at {v[3]}, "
                                f"{cname}.{c[0]} is {c[2]} x {c[4]} bytes at {c[3]}")
        if c_size != v_size:
            problems.append(f"{vname} is {v_size} bytes, {cname} {c_size}")

    functions = {n: f for n, f in c_functions(header).items() if n not in C_ONLY}
    if len(functions) < 40:
        problems.append(f"only {len(functions)} functions found in {header_path}")
    for branch, declares in vb_declares(lines).items():
        for name in sorted(set(functions) - set(declares)):
            problems.append(f"{branch}: {name} is not declared")
        for name in sorted(set(declares) - set(functions)):
            problems.append(f"{branch}: {name} is not in tavo.h")
        for name in sorted(set(functions) & set(declares)):
            result, arguments = functions[name]
            ptrsafe, kind, vresult, varguments = declares[name]
            if ptrsafe != (branch == "VBA7"):
                problems.append(f"{branch}: {name} {'needs' if branch == 'VBA7' else 'must not have'} PtrSafe")
            want = ("Sub", None) if result == "void" else ("Function", VB_VALUE.get(result))
            if (kind, vresult) != want:
                problems.append(f"{branch}: {name} is {kind} As {vresult}, should be {want[0]} As {want[1]}")
            expected = [(*expected_argument(ctype), cname) for cname, ctype in arguments]
            got = [(by, vtype, vname) for by, vname, vtype in varguments]
            if expected != got:
                problems.append(f"{branch}: {name} takes {got}, tavo.h says {expected}")

    for p in problems:
        print(p)
    print(f"{bas_path}: {len(functions)} functions and {len(RECORDS)} records checked against {header_path}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
