#!/usr/bin/env python3
"""The native settings dialog under Wine does what the Qt dialog does.

Every scenario of tests/data/config is worked by config_host against the
64-bit DLL under Wine, in an X server of its own (Xvfb), and by the Linux
build's config_script against the Qt dialog. Both must end without a failed
expectation, return the same result code and leave the same "tavo.ini",
byte for byte, but for the settings folder's own path where the dialog
writes it back ("FilePath"). Then a picture of every page of each mode is
kept as OUT/MODE-PAGE.png. With --keys, only dump_keys.txt is worked, on
Windows by real X key events (xdotool) to prove the native keyboard path:
mnemonics, typing, a click on OK.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def x_prefix(prefix):
    """A copy of the tests' prefix whose windows go to X: the tests' own has
    the null driver, and one Wine server has one display driver."""
    xprefix = prefix + "-x"
    if not os.path.exists(os.path.join(xprefix, "user.reg")):
        subprocess.run(["cp", "-a", "--reflink=auto", prefix, xprefix], check=True)
        try:
            os.remove(os.path.join(xprefix, "wineserver"))
        except FileNotFoundError:
            pass
        reg = os.path.join(xprefix, "user.reg")
        with open(reg, encoding="utf-8", errors="surrogateescape") as f:
            lines = [line for line in f if line.rstrip("\n") != '"Graphics"="null"']
        with open(reg, "w", encoding="utf-8", errors="surrogateescape") as f:
            f.writelines(lines)
    return xprefix


def start_xvfb(out):
    read, write = os.pipe()
    log = open(os.path.join(out, "xvfb.log"), "wb")
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x900x24", "-nolisten", "tcp"],
                            pass_fds=(write,), stdout=log, stderr=log)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read, 16)
        if not chunk:
            sys.exit("FAIL: Xvfb did not start: " + open(os.path.join(out, "xvfb.log")).read())
        number += chunk
    os.close(read)
    return xvfb, ":" + number.decode().strip()


def run(cmd, env, timeout=120):
    try:
        p = subprocess.run(cmd, env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=timeout)
        return p.returncode, p.stdout.decode("utf-8", "replace").replace("\r", "")
    except subprocess.TimeoutExpired as e:
        return -1, (e.stdout or b"").decode("utf-8", "replace") + "\n(timed out)"


def result_of(text):
    for line in text.splitlines():
        if line.startswith("result "):
            return line
    return "no result"


def ini_of(folder, own_path):
    """The bytes of "tavo.ini", the settings folder's own path made one."""
    path = os.path.join(folder, "tavo.ini")
    if not os.path.exists(path):
        return None
    data = open(path, "rb").read()
    return data.replace(b"FilePath=" + own_path.encode("cp932") + b"\r\n", b"FilePath=<settings>\r\n")


def first_difference(a, b):
    la, lb = a.split(b"\r\n"), b.split(b"\r\n")
    for i, (x, y) in enumerate(zip(la, lb)):
        if x != y:
            return "line %d: Linux %r, Windows %r" % (i + 1, x.decode("cp932", "replace"), y.decode("cp932", "replace"))
    return "Linux %d lines, Windows %d lines" % (len(la), len(lb))


def compare(name, linux_run, windows_run):
    """The failures of one scenario: (Linux status, output, folder) and the
    same for Windows, the folder's own path last."""
    failures = []
    (ls, lout, ldir, lown), (ws, wout, wdir, wown) = linux_run, windows_run
    if ls != 0:
        failures.append("the Linux run failed (%d): %s" % (ls, lout.strip()))
    if ws != 0:
        failures.append("the Windows run failed (%d): %s" % (ws, wout.strip()))
    if result_of(lout) != result_of(wout):
        failures.append("Linux gave %s, Windows %s" % (result_of(lout), result_of(wout)))
    li, wi = ini_of(ldir, lown), ini_of(wdir, wown)
    if li != wi:
        if li is None or wi is None:
            failures.append("tavo.ini written on %s only" % ("Windows" if li is None else "Linux"))
        else:
            failures.append("tavo.ini differs, " + first_difference(li, wi))
    return ["%s: %s" % (name, f) for f in failures]


def xdotool(env, *args):
    subprocess.run(["xdotool", *args], env=env, timeout=30, check=False)
    time.sleep(0.3)


def typed_by_x(a, wine_env, display, linux_run):
    """The dump dialog worked by X key events as dump_keys.txt works it; its
    "tavo.ini" must be the Linux run's of that scenario."""
    kdir = os.path.join(a.out, "keys")
    os.makedirs(kdir)
    host = subprocess.Popen(["/usr/lib/wine/wine64", a.host, windows_path(a.dll), "keys:dump", windows_path(kdir)],
                            env=wine_env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE)
    where = os.path.join(kdir, "window.txt")
    for _ in range(600):
        if os.path.exists(where) or host.poll() is not None:
            break
        time.sleep(0.05)
    if os.path.exists(where):
        window, x, y = open(where).read().split()
        env = dict(os.environ, DISPLAY=display)
        xdotool(env, "windowfocus", window)
        xdotool(env, "key", "--delay", "80", "alt+n")
        xdotool(env, "type", "--delay", "80", "sub")
        xdotool(env, "key", "--delay", "80", "alt+c")
        xdotool(env, "mousemove", x, y)
        xdotool(env, "click", "1")
    try:
        out = host.communicate(timeout=90)[0]
    except subprocess.TimeoutExpired:
        host.kill()
        out = host.communicate()[0]
    wout = out.decode("utf-8", "replace").replace("\r", "")
    print(wout.strip())
    return compare("dump_keys by X keys", linux_run,
                   (host.returncode, wout, kdir, windows_path(kdir) + "\\"))


def main():
    ap = argparse.ArgumentParser()
    for arg in ("prefix", "host", "dll", "linux", "scenarios", "out"):
        ap.add_argument("--" + arg, required=True)
    ap.add_argument("--only", help="one scenario by name")
    ap.add_argument("--keys", action="store_true", help="only dump_keys, typed as X key events")
    a = ap.parse_args()
    if not shutil.which("Xvfb"):
        sys.exit("FAIL: Xvfb is missing (make deps installs it)")
    shutil.rmtree(a.out, ignore_errors=True)
    os.makedirs(a.out)
    xprefix = x_prefix(a.prefix)
    xvfb, display = start_xvfb(a.out)
    wine_env = dict(os.environ, WINEPREFIX=xprefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                    LOCPATH=os.path.join(xprefix, "unix-locales"), DISPLAY=display, LANG="ja_JP.UTF-8",
                    LC_ALL="ja_JP.UTF-8")
    wine_env.pop("TAVO_SETTINGS_DIR", None)
    linux_env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    linux_env.pop("DISPLAY", None)
    passed, failed, failures, linux_runs = 0, 0, [], {}
    try:
        names = sorted(f[:-4] for f in os.listdir(a.scenarios) if f.endswith(".txt"))
        for name in names:
            if (a.only or a.keys) and name != (a.only or "dump_keys"):
                continue
            scenario = os.path.join(a.scenarios, name + ".txt")
            ldir, wdir = (os.path.join(a.out, side, name) for side in ("linux", "windows"))
            os.makedirs(ldir)
            os.makedirs(wdir)
            ls, lout = run([a.linux, scenario, ldir], linux_env)
            linux_runs[name] = (ls, lout, ldir, ldir + "/")
            if a.keys:
                break
            ws, wout = run(["/usr/lib/wine/wine64", a.host, windows_path(a.dll), windows_path(scenario),
                            windows_path(wdir)], wine_env)
            found = compare(name, linux_runs[name], (ws, wout, wdir, windows_path(wdir) + "\\"))
            print("%s: %s" % (name, "same" if not found else "DIFFERENT"), flush=True)
            failures += found
            passed += not found
            failed += bool(found)
        if a.keys:
            found = typed_by_x(a, wine_env, display, linux_runs["dump_keys"])
            print("dump_keys by X keys: %s" % ("same" if not found else "DIFFERENT"), flush=True)
            failures += found
            passed += not found
            failed += bool(found)
        elif not a.only:
            shots = os.path.join(a.out, "shots")
            os.makedirs(shots)
            status, out = run(["/usr/lib/wine/wine64", a.host, windows_path(a.dll), "shoot", windows_path(shots)],
                              wine_env, timeout=240)
            print(out.strip())
            if status != 0:
                failed += 1
                failures.append("the pictures: " + out.strip())
            for bmp in sorted(os.listdir(shots)):
                png = os.path.join(a.out, bmp[:-4] + ".png")
                subprocess.run([sys.executable, os.path.join(HERE, "bmp_to_png.py"), os.path.join(shots, bmp), png],
                               check=True)
            shutil.rmtree(shots)
            print("pictures: %s" % " ".join(sorted(f for f in os.listdir(a.out) if f.endswith(".png"))))
    finally:
        subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=wine_env, stderr=subprocess.DEVNULL)
        xvfb.terminate()
        xvfb.wait()
    for f in failures:
        print("FAIL: " + f)
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
