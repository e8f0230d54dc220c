#!/usr/bin/env python3
"""Checks tavo.dll by its tables, as a host that declares the exports itself
relies on them: PE32 for i386, PE32+ for x86-64; exactly the functions of
tavo.h exported by their plain names; the module-definition file giving each
the bytes of its arguments (@N, four per argument); on 32 bits, every "ret"
of each export's code removing exactly those bytes; system DLLs only imported.

check_dll.py --objdump OBJDUMP --dll DLL --header tavo.h --def tavo.def
"""
import argparse
import re
import subprocess
import sys

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll", "shell32.dll",
               "advapi32.dll", "imm32.dll", "oleaut32.dll", "msvcrt.dll", "ucrtbase.dll"}


def declared_functions(header):
    """Name -> number of arguments, for every function of tavo.h."""
    text = re.sub(r"/\*.*?\*/", "", open(header, encoding="ascii").read(), flags=re.S)
    return {name: 0 if args.strip() in ("", "void") else len(args.split(","))
            for name, args in re.findall(r"TAVO_API\s+[^;{}]*?TAVO_CALL\s+(\w+)\s*\(([^)]*)\)\s*;", text, flags=re.S)}


def def_entries(path):
    """Name -> the @N of its decorated name."""
    entries = {}
    for line in open(path, encoding="ascii").read().split("EXPORTS", 1)[1].splitlines():
        line = line.split(";")[0].strip()
        m = re.fullmatch(r"(\w+)\s*=\s*\1@(\d+)", line)
        if line and not m:
            raise SystemExit(f"{path}: unexpected entry {line!r}")
        if m:
            entries[m.group(1)] = int(m.group(2))
    return entries


def stack_cleanup(disassembly):
    """Decorated name -> (address, the operands of every ret of it, its .cold part included)."""
    found, current = {}, None
    for line in disassembly.splitlines():
        m = re.match(r"^([0-9a-f]+) <(?:_(\w+@\d+)(\.cold)?>:$)?", line)
        if m:
            current = m.group(2)
            if current:
                address, rets = found.get(current, (None, []))
                found[current] = (address if m.group(3) else int(m.group(1), 16), rets)
        elif current and (r := re.search(r"\tret\s*(\$0x[0-9a-f]+)?\s*$", line)):
            found[current][1].append(int(r.group(1)[3:], 16) if r.group(1) else 0)
    return found


def main():
    parser = argparse.ArgumentParser()
    for option in ("--objdump", "--dll", "--header", "--def"):
        parser.add_argument(option, required=True)
    a = parser.parse_args()
    run = lambda *args: subprocess.run([a.objdump, *args, a.dll], check=True, capture_output=True, text=True).stdout
    functions = declared_functions(a.header)
    problems = [f"only {len(functions)} functions found in {a.header}"] if len(functions) < 40 else []

    private = run("-p")
    magic = re.search(r"^Magic\s+(\w+)", private, re.M).group(1)
    is32 = "file format pei-i386" in run("-f")
    if magic != ("010b" if is32 else "020b") or not (is32 or "pei-x86-64" in run("-f")):
        problems.append(f"unexpected kind: magic {magic}")
    rvas = {int(i): int(r, 16) for i, r in re.findall(r"^\s*\[\s*(\d+)\] \+base\[\s*\d+\] ([0-9a-f]+) Export RVA", private, re.M)}
    table = (private.split("[Ordinal/Name Pointer] Table", 1) + [""])[1]
    exports = {name: rvas.get(int(i)) for i, name in re.findall(r"^\s*\[\s*(\d+)\] (\w+)\s*$", table, re.M)}
    if set(exports) != set(functions):
        problems.append(f"exported but not in tavo.h: {sorted(set(exports) - set(functions))}; "
                        f"in tavo.h but not exported: {sorted(set(functions) - set(exports))}")
    entries = def_entries(getattr(a, "def"))
    if entries != {name: 4 * count for name, count in functions.items()}:
        problems.append(f"tavo.def differs from tavo.h: {sorted(set(entries.items()) ^ {(n, 4 * c) for n, c in functions.items()})}")
    imports = {n.lower() for n in re.findall(r"DLL Name: (\S+)", private) if not n.startswith("api-ms-win-crt-")}
    if imports - SYSTEM_DLLS:
        problems.append(f"imports DLLs that are not the system's: {sorted(imports - SYSTEM_DLLS)}")
    if is32:
        image_base = int(re.search(r"^ImageBase\s+([0-9a-f]+)", private, re.M).group(1), 16)
        code = stack_cleanup(run("-d", "--no-show-raw-insn"))
        for name, count in functions.items():
            address, rets = code.get(f"{name}@{4 * count}", (None, []))
            if address != image_base + (exports.get(name) or 0):
                problems.append(f"export {name} is not the code of {name}@{4 * count}")
            if not rets or any(r != 4 * count for r in rets):
                problems.append(f"{name} removes {rets} bytes from the stack, not {4 * count}")
    for p in problems:
        print(p)
    print(f"{a.dll}: {'PE32 i386' if is32 else 'PE32+ x86-64'}, {len(exports)} exports by plain name, "
          f"imports {', '.join(sorted(imports))}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
