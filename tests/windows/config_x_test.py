#!/usr/bin/env python3
"""The native settings dialog under Wine does what the Qt dialog does.

Run by wine_run.sh --x. Every scenario of tests/data/config is worked by
config_host against the 64-bit DLL under Wine and by the Linux build's
config_script against the Qt dialog. Both must end without a failed
expectation, return the same result code and leave the same "tavo.ini",
byte for byte, but for the settings folder's own path ("FilePath"). Then
dump_keys.txt is worked on Windows by real X key events (xdotool), to prove
the native keyboard path: mnemonics, typing, a click on OK.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor

WINE = "/usr/lib/wine/wine64"


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def output(p):
    return p.decode("utf-8", "replace").replace("\r", "")


def linux_run(a, name, folder):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "LANG", "LC_ALL", "LOCPATH")}
    p = subprocess.run([a.linux, os.path.join(a.scenarios, name + ".txt"), folder], env=dict(env, QT_QPA_PLATFORM="offscreen"),
                       stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
    return p.returncode, output(p.stdout)


def result_of(text):
    return next((line for line in text.splitlines() if line.startswith("result ")), "no result")


def ini_of(folder, own_path):
    """The bytes of "tavo.ini", the settings folder's own path made one."""
    path = os.path.join(folder, "tavo.ini")
    if not os.path.exists(path):
        return None
    data = open(path, "rb").read()
    return data.replace(b"FilePath=" + own_path.encode("cp932") + b"\r\n", b"FilePath=<settings>\r\n")


def compare(name, linux, windows):
    """The failures of one scenario; each side (status, output, folder)."""
    (ls, lout, ldir), (ws, wout, wdir) = linux, windows
    lown, wown = ldir + "/", windows_path(wdir) + "\\"
    failures = ["the %s run failed (%d): %s" % (side, s, out.strip())
                for side, s, out in (("Linux", ls, lout), ("Windows", ws, wout)) if s]
    if result_of(lout) != result_of(wout):
        failures.append("Linux gave %s, Windows %s" % (result_of(lout), result_of(wout)))
    li, wi = ini_of(ldir, lown), ini_of(wdir, wown)
    if li != wi:
        lines = list(zip((li or b"").split(b"\r\n"), (wi or b"").split(b"\r\n")))
        at = next((i for i, (x, y) in enumerate(lines) if x != y), len(lines))
        failures.append("tavo.ini differs at line %d: Linux %r, Windows %r" % (
            at + 1, li and li.split(b"\r\n")[at:at + 1], wi and wi.split(b"\r\n")[at:at + 1]))
    return ["%s: %s" % (name, f) for f in failures]


def typed_by_x(a, folder):
    """The dump dialog worked by X key events as dump_keys.txt works it."""
    host = subprocess.Popen([WINE, a.host, windows_path(a.dll), "keys:dump", windows_path(folder)],
                            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE)
    where = os.path.join(folder, "window.txt")
    for _ in range(600):
        if os.path.exists(where) or host.poll() is not None:
            break
        time.sleep(0.05)
    if os.path.exists(where):
        window, x, y = open(where).read().split()
        for args in (["windowfocus", window], ["key", "--delay", "80", "alt+n"], ["type", "--delay", "80", "sub"],
                     ["key", "--delay", "80", "alt+c"], ["mousemove", x, y], ["click", "1"]):
            subprocess.run(["xdotool", *args], timeout=30, check=False)
            time.sleep(0.1)
    try:
        out = host.communicate(timeout=90)[0]
    except subprocess.TimeoutExpired:
        host.kill()
        out = host.communicate()[0]
    return host.returncode, output(out)


def main():
    ap = argparse.ArgumentParser()
    for arg in ("host", "dll", "linux", "scenarios", "out"):
        ap.add_argument("--" + arg, required=True)
    a = ap.parse_args()
    shutil.rmtree(a.out, ignore_errors=True)
    names = sorted(f[:-4] for f in os.listdir(a.scenarios) if f.endswith(".txt"))
    folder = {(side, n): os.path.join(a.out, side, n) for side in ("linux", "windows", "keys") for n in names}
    for path in folder.values():
        os.makedirs(path)
    # The Linux runs go on while Windows works its scenarios, all in one host.
    with ThreadPoolExecutor(2) as pool:
        linux = {n: pool.submit(linux_run, a, n, folder["linux", n]) for n in names}
        command = [WINE, a.host, windows_path(a.dll)]
        for n in names:
            command += [windows_path(os.path.join(a.scenarios, n + ".txt")), windows_path(folder["windows", n])]
        p = subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, timeout=600)
        sections = dict((s.split("\n", 1) + [""])[:2] for s in ("\n" + output(p.stdout)).split("\nscenario ")[1:])
        keys = typed_by_x(a, folder["keys", "dump_keys"])
        print(keys[1].strip())
        linux = {n: f.result() for n, f in linux.items()}
    runs = {}
    for n in names:
        out = sections.get(windows_path(folder["windows", n]))
        runs[n] = (int(out is None or "error:" in out), out or "no output", folder["windows", n])
    runs["dump_keys by X keys"] = keys + (folder["keys", "dump_keys"],)
    failures = [] if sections or not p.returncode else ["config_host ended with %d: %s" % (p.returncode, output(p.stderr))]
    for label, windows in runs.items():
        n = label.split()[0]
        found = compare(label, linux[n] + (folder["linux", n],), windows)
        print("%s: %s" % (label, "same" if not found else "DIFFERENT"))
        failures += found
    for f in failures:
        print("FAIL: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
