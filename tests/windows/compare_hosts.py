#!/usr/bin/env python3
"""The same host calls, made through the Linux library and through the
64-bit DLL under Wine, write the same files with the same bytes: .jwc files
and their .bak, JWW coordinate and DXF files, tavo.ini, the JWT text the
clipboard got, the records handed back and the messages of failures.

compare_hosts.py LINUX_HOST LINUX_LIBRARY WINE_RUN PREFIX WINDOWS_HOST DLL
"""
import os
import subprocess
import sys
import tempfile


def files_of(folder, names_in_cp932):
    """Every file under `folder` by its name as text. Linux keeps the
    host's Shift-JIS bytes as the name; Windows turns them into characters,
    which Wine stores as UTF-8."""
    found = {}
    root = os.fsencode(folder)
    for path, _, names in os.walk(root):
        for name in names:
            full = os.path.join(path, name)
            relative = os.path.relpath(full, root)
            text = relative.decode("cp932" if names_in_cp932 else "utf-8").replace("\\", "/")
            with open(full, "rb") as f:
                found[text] = f.read()
    return found


def main():
    linux_host, linux_library, wine_run, prefix, windows_host, dll = sys.argv[1:7]
    with tempfile.TemporaryDirectory() as work:
        linux = os.path.join(work, "linux")
        windows = os.path.join(work, "windows")
        os.mkdir(linux)
        os.mkdir(windows)
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        subprocess.run([linux_host, linux_library], cwd=linux, env=env, check=True)
        dll_path = "Z:" + os.path.abspath(dll).replace("/", "\\")
        subprocess.run([wine_run, prefix, windows_host, dll_path], cwd=windows, check=True)

        a = files_of(linux, True)
        b = files_of(windows, False)
        failed = False
        if sorted(a) != sorted(b):
            print("files only from Linux:", sorted(set(a) - set(b)))
            print("files only from Windows:", sorted(set(b) - set(a)))
            failed = True
        for name in sorted(set(a) & set(b)):
            if a[name] != b[name]:
                at = next((i for i, (x, y) in enumerate(zip(a[name], b[name])) if x != y), min(len(a[name]), len(b[name])))
                print(f"{name}: differs at byte {at} ({len(a[name])} bytes from Linux, {len(b[name])} from Windows)")
                print("  Linux:  ", a[name][max(0, at - 20):at + 40])
                print("  Windows:", b[name][max(0, at - 20):at + 40])
                failed = True
        for name in sorted(a):
            print(f"{'same' if b.get(name) == a[name] else 'DIFF'} {len(a[name]):7d} {name}")
        if len(a) < 12:
            print("fewer files than the roads write")
            failed = True
        return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
