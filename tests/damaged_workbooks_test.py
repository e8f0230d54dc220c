#!/usr/bin/env python3
"""Damaged copies of the corpus books through `tavo export`: each ends in
status 0 or 1 within the memory a book of up to 10 MB may take, with one
line naming the file on stderr, never a crash, a hang or a message with
control characters. (Books past the limits are refused in the workbook
host's own tests.)

Usage: damaged_workbooks_test.py TAVO BOOK... [--sanitized]
Under the sanitizers the memory is not checked."""
import io
import os
import random
import re
import subprocess
import sys
import tempfile
import threading
import zipfile

MAX_MIB = 256
KILL_SECONDS = 60  # a hang

args = [a for a in sys.argv[1:] if a and not a.startswith('--')]
sanitized = '--sanitized' in sys.argv
tavo, book_paths = args[0], args[1:]
failures = []


def zipped(parts):
    out = io.BytesIO()
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:
        for name, body in parts:
            z.writestr(name, body)
    return out.getvalue()


def flipped(data, rng, count):
    b = bytearray(data)
    for _ in range(count):
        b[rng.randrange(len(b))] = rng.randrange(256)
    return bytes(b)


def damages(data, rng):
    """(what, bytes) for each way a copy of the book is damaged: the archive
    cut and flipped; in every part the reader reads, numbers past any
    range, and the part left out; the largest part cut short and flipped."""
    yield 'cut at half', data[:len(data) // 2]
    yield 'bytes flipped in the zip', flipped(data, rng, 8)
    with zipfile.ZipFile(io.BytesIO(data)) as z:
        parts = [(i.filename, z.read(i.filename)) for i in z.infolist()]
    read = [i for i, (name, _) in enumerate(parts)
            if name.endswith(('.xml', '.rels')) and not name.startswith('docProps/') and name != 'meta.xml']
    for i in read:
        part, body = parts[i]
        copy = list(parts)
        copy[i] = (part, re.sub(rb'="(-?\d+(\.\d+)?)"', lambda m: b'="' + rng.choice(
            [b'99999999999999999999', b'-2147483649', b'1e308', b'NaN', b'-1', b'4294967296']) + b'"', body))
        yield f'huge numbers in the attributes of {part}', zipped(copy)
        yield f'{part} removed', zipped(parts[:i] + parts[i + 1:])
    i = max(read, key=lambda k: len(parts[k][1]))
    part, body = parts[i]
    for what, damaged in (('cut short', body[:len(body) * 2 // 3]), ('flipped', flipped(body, rng, 16))):
        yield f'{part} {what}', zipped(parts[:i] + [(part, damaged)] + parts[i + 1:])


def check(label, data):
    # Each in a folder of its own: the peak is the process's own.
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, 'book' + ('.ods' if b'opendocument' in data[:200] else '.xlsx'))
        with open(path, 'wb') as f:
            f.write(data)
        p = subprocess.Popen([tavo, 'export', path, '-o', path + '.jwc'], stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE, env=dict(os.environ, TAVO_SETTINGS_DIR=folder))
        watchdog = threading.Timer(KILL_SECONDS, p.kill)
        watchdog.start()
        text = p.stderr.read().decode('utf-8', 'replace')
        _, status, usage = os.wait4(p.pid, 0)
        hung = not watchdog.is_alive()
        watchdog.cancel()
    code = os.WEXITSTATUS(status) if os.WIFEXITED(status) else 128 + os.WTERMSIG(status)
    lines = [l for l in text.split('\n') if l]
    problems = []
    if hung:
        problems.append(f'ran past {KILL_SECONDS} s')
    elif code not in (0, 1):
        problems.append(f'status {code}')
    if code == 1 and (len(lines) != 1 or not lines[0].startswith(f'tavo: {path}: ')):
        problems.append(f'not one line naming the file: {text!r}')
    if re.search(r'[\x00-\x08\x0b-\x1f\x7f]', text):
        problems.append(f'control characters: {text!r}')
    if not sanitized and usage.ru_maxrss / 1024 > MAX_MIB:
        problems.append(f'{usage.ru_maxrss / 1024:.0f} MiB')
    if problems:
        failures.append(f'{label}: ' + '; '.join(problems))


def main():
    rng = random.Random(7)
    count = 0
    for path in book_paths:
        with open(path, 'rb') as f:
            data = f.read()
        for what, copy in damages(data, rng):
            check(f'{os.path.basename(path)}: {what}', copy)
            count += 1
    for f in failures:
        print('FAIL: ' + f)
    print(f'{count} damaged books, {len(failures)} failures')
    return 1 if failures else 0


sys.exit(main())
