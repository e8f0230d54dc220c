#!/usr/bin/env python3
"""Checks tavo.dll by its tables, as a host that declares the exports
itself relies on them:
- the PE kind: PE32 for i386, PE32+ for x86-64;
- the exports: exactly the functions of tavo.h, by their plain names;
- the module-definition file: every function of tavo.h with the bytes of
  its arguments (@N, four per argument, every argument takes one 32-bit
  slot), which the 32-bit link holds to the compiled functions;
- 32-bit: each export's code removes exactly those bytes from the stack
  (every "ret" of it is "ret $N", or a plain "ret" for none);
- the imports: system DLLs only.

check_dll.py --objdump OBJDUMP --dll DLL --header tavo.h --def tavo.def
"""
import argparse
import re
import subprocess
import sys

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll", "shell32.dll",
    "advapi32.dll", "imm32.dll", "oleaut32.dll", "msvcrt.dll", "ucrtbase.dll",
}


def declared_functions(header):
    """Name -> number of arguments, for every function of tavo.h."""
    text = re.sub(r"/\*.*?\*/", "", open(header, encoding="ascii").read(), flags=re.S)
    found = {}
    for name, args in re.findall(r"TAVO_API\s+[^;{}]*?TAVO_CALL\s+(\w+)\s*\(([^)]*)\)\s*;", text, flags=re.S):
        args = args.strip()
        found[name] = 0 if args in ("", "void") else len(args.split(","))
    return found


def def_entries(path):
    """Name -> the @N of its decorated name."""
    entries = {}
    in_exports = False
    for line in open(path, encoding="ascii"):
        line = line.split(";")[0].strip()
        if line == "EXPORTS":
            in_exports = True
        elif in_exports and line:
            m = re.fullmatch(r"(\w+)\s*=\s*(\w+)@(\d+)", line)
            if not m or m.group(1) != m.group(2):
                raise SystemExit(f"{path}: unexpected entry {line!r}")
            entries[m.group(1)] = int(m.group(3))
    return entries


def run(objdump, *args):
    return subprocess.run([objdump, *args], check=True, capture_output=True, text=True).stdout


def export_table(private):
    """Name -> RVA, from objdump -p."""
    rvas = {}
    for index, rva in re.findall(r"^\s*\[\s*(\d+)\] \+base\[\s*\d+\] ([0-9a-f]+) Export RVA", private, re.M):
        rvas[int(index)] = int(rva, 16)
    names = {}
    table = private.split("[Ordinal/Name Pointer] Table", 1)
    if len(table) == 2:
        for index, name in re.findall(r"^\s*\[\s*(\d+)\] (\w+)\s*$", table[1], re.M):
            names[name] = rvas.get(int(index))
    return names


def stack_cleanup(disassembly):
    """Decorated function name -> the operands of every ret of it, its
    out-of-line (.cold) part included; and the address of each."""
    rets, addresses = {}, {}
    current = None
    for line in disassembly.splitlines():
        m = re.match(r"^([0-9a-f]+) <_(\w+@\d+)(\.cold)?>:$", line)
        if m:
            current = m.group(2)
            if not m.group(3):
                addresses[current] = int(m.group(1), 16)
            rets.setdefault(current, [])
            continue
        if re.match(r"^[0-9a-f]+ <", line):
            current = None
            continue
        if current:
            m = re.search(r"\tret\s*(\$0x[0-9a-f]+)?\s*$", line)
            if m:
                rets[current].append(int(m.group(1)[3:], 16) if m.group(1) else 0)
    return rets, addresses


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--dll", required=True)
    parser.add_argument("--header", required=True)
    parser.add_argument("--def", dest="deffile", required=True)
    a = parser.parse_args()
    problems = []

    functions = declared_functions(a.header)
    if len(functions) < 40:
        problems.append(f"only {len(functions)} functions found in {a.header}")

    private = run(a.objdump, "-p", a.dll)
    magic = re.search(r"^Magic\s+(\w+)", private, re.M).group(1)
    header = run(a.objdump, "-f", a.dll)
    is32 = "file format pei-i386" in header
    if is32 != (magic == "010b") or (not is32 and ("pei-x86-64" not in header or magic != "020b")):
        problems.append(f"unexpected kind: magic {magic}, {header.strip()}")

    exports = export_table(private)
    if set(exports) != set(functions):
        problems.append(f"exported but not in tavo.h: {sorted(set(exports) - set(functions))}; "
                        f"in tavo.h but not exported: {sorted(set(functions) - set(exports))}")

    entries = def_entries(a.deffile)
    for name, count in functions.items():
        if entries.get(name) != 4 * count:
            problems.append(f"{a.deffile}: {name} should be {name}@{4 * count}, is {entries.get(name)}")
    for name in set(entries) - set(functions):
        problems.append(f"{a.deffile}: {name} is not in tavo.h")

    imports = {n.lower() for n in re.findall(r"DLL Name: (\S+)", private)}
    imports = {n for n in imports if not n.startswith("api-ms-win-crt-")}
    if imports - SYSTEM_DLLS:
        problems.append(f"imports DLLs that are not the system's: {sorted(imports - SYSTEM_DLLS)}")

    if is32:
        image_base = int(re.search(r"^ImageBase\s+([0-9a-f]+)", private, re.M).group(1), 16)
        rets, addresses = stack_cleanup(run(a.objdump, "-d", "--no-show-raw-insn", a.dll))
        for name, count in functions.items():
            decorated = f"{name}@{4 * count}"
            if decorated not in rets:
                problems.append(f"no function {decorated} in the DLL")
                continue
            if addresses.get(decorated) != image_base + (exports.get(name) or 0):
                problems.append(f"export {name} is not the code of {decorated}")
            if not rets[decorated] or any(r != 4 * count for r in rets[decorated]):
                problems.append(f"{name} removes {rets[decorated]} bytes from the stack, not {4 * count}")

    for p in problems:
        print(p)
    kind = "PE32 i386" if is32 else "PE32+ x86-64"
    print(f"{a.dll}: {kind}, {len(exports)} exports by plain name, imports {', '.join(sorted(imports))}"
          + (", stack cleanup of every export matches its arguments" if is32 else ""))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
