#!/usr/bin/env python3
"""Runs kbtz-import over the FET examples Debian's fet-data ships and prints
one Markdown table row per file: the file, the result, what was imported and
kept aside, and the import's time. A school file (no timetable yet) is first
given to fet-cl with a short time limit; a *_data_and_timetable.fet is
imported as it is. Every import goes into a new SQLite file, which must be
there after a success and absent after a refusal (no half timetable).

    scripts/fet-table.py [BUILD_DIR] [--limit SECONDS]
"""
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

EXAMPLES = "/usr/share/doc/fet-data/examples"


def weekdays(path):
    text = open(path, encoding="utf-8", errors="replace").read(200000)
    days = len(re.findall(r"<Day>", text.split("</Days_List>")[0]))
    return days // 2 if "<Mode>Mornings_Afternoons</Mode>" in text else days


def import_row(kbtz_import, fet, work, name):
    db = os.path.join(work, name + ".db")
    start = time.monotonic()
    run = subprocess.run([kbtz_import, "--fet", fet, "--db", db], capture_output=True, text=True)
    ms = int((time.monotonic() - start) * 1000)
    out = run.stdout + run.stderr
    if run.returncode == 0 and os.path.exists(db):
        m = re.search(r"(\d+) classes, (\d+) teachers, (\d+) courses, (\d+) plan items", out)
        lessons = re.search(r"(\d+) lessons from", out)
        aside = sum(int(n) for n in re.findall(r"^  [^:\n]+: (\d+)", out.split("kept aside")[-1], re.M))
        return ("imported", f"{m.group(1)} classes, {m.group(2)} teachers, {m.group(4)} plan items, "
                f"{lessons.group(1)} lessons", str(aside), ms)
    if run.returncode == 2 and not os.path.exists(db):
        reason = out.strip().splitlines()[0].split(": ", 2)[-1] if out.strip() else "?"
        return ("refused: " + reason[:90], "", "", ms)
    return (f"FAULT: exit {run.returncode}, database {'left' if os.path.exists(db) else 'absent'}", "", "", ms)


def main():
    args = sys.argv[1:]
    limit = "5"
    if "--limit" in args:
        limit = args[args.index("--limit") + 1]
        del args[args.index("--limit"):args.index("--limit") + 2]
    build = args[0] if args else os.path.join(os.path.dirname(__file__), "..", "build")
    kbtz_import = os.path.join(build, "bin", "kbtz-import")
    work = tempfile.mkdtemp(prefix="kbtz-fet-table.")
    try:
        table(kbtz_import, work, limit)
    finally:
        shutil.rmtree(work, ignore_errors=True)


def table(kbtz_import, work, limit):
    print("| file | result | imported | kept aside | ms |\n|---|---|---|---|---|")
    for n, path in enumerate(sorted(glob.glob(EXAMPLES + "/**/*.fet", recursive=True))):
        rel = os.path.relpath(path, EXAMPLES)
        fet, note = path, ""
        if not path.endswith("_data_and_timetable.fet") and weekdays(path) <= 7:
            out = os.path.join(work, f"gen{n}")
            try:
                subprocess.run(["fet-cl", f"--inputfile={path}", f"--outputdir={out}", f"--timelimitseconds={limit}"],
                               capture_output=True, timeout=int(limit) * 4 + 60)
            except subprocess.TimeoutExpired:
                pass  # fet-cl ended by the timeout: no timetable
            made = glob.glob(out + "/**/*_data_and_timetable.fet", recursive=True)
            if not made:
                print(f"| {rel} | not solved by fet-cl in {limit} s | | | |", flush=True)
                continue
            fet, note = made[0], " (fet-cl)"
        result, imported, aside, ms = import_row(kbtz_import, fet, work, f"db{n}")
        print(f"| {rel}{note} | {result} | {imported} | {aside} | {ms} |", flush=True)


if __name__ == "__main__":
    main()
