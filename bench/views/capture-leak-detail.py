#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Captures what the real monitor says about a real leaking process, for the chart's pictures
and for a test that the monitor's own series renders.

Run it by hand from the repository root once both programs are built (not a CI job: it takes
several minutes and holds a few hundred MB):

    python3 bench/views/capture-leak-detail.py --velmora build/bin/velmora \\
        --behaviour build/bench/velmora-behaviour --out tests/data/chart

It starts `velmora ui-backend` with its HOME and XDG folders inside a fresh temporary folder
(nobody's settings or data are touched) and one process per class from
bench/detection/live-check.py (`--classes vm-leak-20,vm-child-grows` by default). Once a class
has reached `--until` ("suspect" by default) and `--settle` more minutes have passed, it opens
that class's detail (select_detail), saves the detail's answer as CLASS.json in the output
folder and closes the detail again. It ends everything it started when every class is saved,
at `--minutes`, on Ctrl-C and on SIGTERM.

The saved file holds the detail (`selectedDetail`), with the series as the monitor sent it, and
the rest of that answer (`snapshot`: the machine's state, the incident, the leak's own row; no
other process's); the gallery renders it with `velmora-gallery --detail FILE`.
"""

import argparse
import importlib.util
import json
import os
import shutil
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def load_live_check():
    path = os.path.join(HERE, "..", "detection", "live-check.py")
    spec = importlib.util.spec_from_file_location("live_check", path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


live = load_live_check()


def parse_args():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--velmora", required=True, help="the velmora executable")
    parser.add_argument("--behaviour", required=True, help="the velmora-behaviour executable")
    parser.add_argument("--out", required=True, help="folder the answers are saved in")
    parser.add_argument("--classes", default="vm-leak-20,vm-child-grows",
                        help="classes of bench/detection/live-check.py to run")
    parser.add_argument("--until", default="suspect", choices=live.VERDICTS[1:],
                        help="the verdict a class must reach before its detail is saved")
    parser.add_argument("--settle", type=float, default=2.0,
                        help="minutes to wait after the verdict, so the chart shows it (2)")
    parser.add_argument("--minutes", type=float, default=20.0,
                        help="give up after this many minutes (20)")
    parser.add_argument("--poll", type=float, default=5.0, help="seconds between snapshots (5)")
    parser.add_argument("--scopes", choices=["auto", "always", "never"], default="auto")
    return parser.parse_args()


def row_key(rows, case):
    for row in rows:
        if live.matches(case, row):
            return row["key"], row["verdict"]
    return None, "normal"


def detail_of(monitor, key):
    """Opens the detail of `key`, reads it and closes it again. Returns the detail and the rest
    of that answer, its rows cut to the one of `key` (the machine's other processes stay out)."""
    line = {"kind": "dispatchAction", "actionId": "select_detail", "targetKey": key}
    snapshot = dict(send(monitor, line).get("snapshot", {}))
    send(monitor, {"kind": "dispatchAction", "actionId": "dismiss_detail", "targetKey": key})
    detail = snapshot.pop("selectedDetail", None)
    snapshot["rows"] = [row for row in snapshot.get("rows", []) if row.get("key") == key]
    return detail, snapshot


def send(monitor, request):
    monitor.proc.stdin.write((json.dumps(request) + "\n").encode())
    monitor.proc.stdin.flush()
    return read_line(monitor)  # the monitor answers every request with one line


def read_line(monitor, timeout=15.0):
    import select
    fd = monitor.proc.stdout.fileno()
    deadline = time.monotonic() + timeout
    while b"\n" not in monitor.buffer:
        left = deadline - time.monotonic()
        if left <= 0:
            raise live.Failure("the monitor did not answer within %.0f s" % timeout)
        ready, _, _ = select.select([fd], [], [], left)
        if ready:
            chunk = os.read(fd, 1 << 20)
            if not chunk:
                raise live.Failure("the monitor closed its output" + monitor.ended())
            monitor.buffer += chunk
    answer, monitor.buffer = monitor.buffer.split(b"\n", 1)
    return json.loads(answer)


def main():
    args = parse_args()
    names = [n for n in args.classes.split(",") if n]
    known = {c.name: c for c in live.classes()}
    unknown = [n for n in names if n not in known]
    if unknown:
        raise live.Failure("unknown classes: %s" % ", ".join(unknown))
    cases = [known[n] for n in names]
    os.makedirs(args.out, exist_ok=True)
    scoped = live.use_scopes(args.scopes)
    run_dir = tempfile.mkdtemp(prefix="velmora-capture-")
    home = os.path.join(run_dir, "home")
    bin_dir = os.path.join(run_dir, "bin")
    os.makedirs(home)
    os.makedirs(bin_dir)
    monitor = None
    watched = []
    live.catch_signals()
    try:
        for case in cases:
            target = os.path.join(bin_dir, case.name)
            shutil.copyfile(args.behaviour, target)
            os.chmod(target, 0o755)
        monitor = live.Monitor(os.path.abspath(args.velmora), home,
                               os.path.join(run_dir, "velmora-stderr.log"))
        monitor.wait_for_first_scan()
        run_id = "%d-%d" % (os.getpid(), int(time.time()))
        for case in cases:
            w = live.Watched(case)
            w.proc = live.start_class(case, os.path.join(bin_dir, case.name), scoped, run_id)
            w.started = time.monotonic()
            watched.append(w)
        reached = {}
        saved = set()
        end = time.monotonic() + args.minutes * 60
        rank = live.RANK[args.until]
        while len(saved) < len(cases) and time.monotonic() < end:
            time.sleep(args.poll)
            rows, _ = live.rows_of(monitor.request())
            now = time.monotonic()
            for w in watched:
                name = w.case.name
                if name in saved:
                    continue
                key, verdict = row_key(rows, w.case)
                if verdict != w.verdict:
                    print("%s  %-15s %s" % (live.clock(now - w.started), name, verdict),
                          flush=True)
                    w.verdict = verdict
                if key and live.RANK[verdict] >= rank and name not in reached:
                    reached[name] = now
                if name in reached and key and now - reached[name] >= args.settle * 60:
                    detail, snapshot = detail_of(monitor, key)
                    if detail and detail.get("memorySeries"):
                        path = os.path.join(args.out, name + ".json")
                        with open(path, "w") as out:
                            json.dump({"selectedDetail": detail, "snapshot": snapshot}, out,
                                      separators=(",", ":"))
                            out.write("\n")
                        print("saved %s (%d bytes)" % (path, os.path.getsize(path)), flush=True)
                        saved.add(name)
        missing = [c.name for c in cases if c.name not in saved]
        if missing:
            print("not saved: %s" % ", ".join(missing))
            return 1
        return 0
    finally:
        live.stop_classes(watched)
        if monitor is not None:
            monitor.stop()
        shutil.rmtree(run_dir, ignore_errors=True)


if __name__ == "__main__":
    live.exit_with(main, "capture-leak-detail")
