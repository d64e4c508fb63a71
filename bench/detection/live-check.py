#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Live detection check: real processes with known memory behaviour, watched by the real
monitor (`velmora ui-backend`) under its default settings.

Run it by hand from the repository root once both programs are built (it is not a CI job;
it holds a few GiB of memory and a little CPU for the length of the run):

    python3 bench/detection/live-check.py --velmora build/bin/velmora \\
        --behaviour build/bench/velmora-behaviour --minutes 20

With `--shm-workload build/bench/velmora-shm-workload` it also runs memory kept in shared
memory (a memfd mapped, a memfd held by its descriptor only, /dev/shm; a large flat segment and
a buffer pool that are not leaks) and a program started through a shell launcher that execs it
(workloads/launch-exec.sh), whose row must carry the program's name, not the shell's.

`--minutes 3` is a smoke run of the plumbing: the monitor rates growth only after several
minutes of data, so every family stays "normal" in so short a run and no deadline is judged.

What it does:
  * copies velmora-behaviour to one file per class in a fresh temporary folder
    (vm-leak-20, vm-warmup, ...): the monitor titles a family by its executable's base name,
    and /proc/PID/exe resolves symlinks, so each class needs its own real file;
  * starts `velmora ui-backend` with HOME, XDG_CONFIG_HOME and XDG_DATA_HOME inside that
    folder, so nobody's configuration changes the defaults and nobody's data is touched;
  * starts one process (one family of five for the family class) per class, asks the
    monitor for a snapshot every few seconds and reads each row's title and verdict. A row
    belongs to the class whose executable name is its title; a class with no row is
    "normal" (the snapshot lists families at "watch" and above only, 12 at most);
  * prints a line whenever a class's verdict changes, a table line every minute (the worst
    verdict of each class in that minute and its footprint), and at the end:
      - recall: leaks that reached "suspect" or above,
      - each leak's time to "suspect" against its deadline (from the process start, or
        from the onset for the late leak),
      - false alarms: a non-leak at "suspect" or above at any moment, and when (for growth
        that stops by itself, "probable" or above: it would notify),
      - noise: a non-leak at "watch" at any moment, and when;
  * ends everything it started at the end, on Ctrl-C and on SIGTERM (the behaviour
    processes also die with this script, whatever kills it).

Exit status: 0 when there is no false alarm and no missed deadline, 1 when there is one
(a deadline counts only when the run lasted that long), 2 when the check itself could not
run (a program missing or dying, too little memory), 130 when interrupted.

Memory: at most about 5.5 GiB in all, reached at the 20-minute mark; leaks level off at their
20-minute size, so longer runs stay there. `--skip vm-saw-leak,vm-leak-3` trims it.

Families: the monitor first groups processes by the systemd user-session unit in
/proc/PID/cgroup. When this script runs inside an application's unit (app-*.scope, as some
terminals start their shells), all classes would fold into that application's row, so each
class is then started in a scope of its own through `systemd-run --user --scope`
(`--scopes auto`, the default; `always` or `never` force the choice).
"""

import argparse
import json
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field

VERDICTS = ["normal", "watch", "suspect", "probable", "criticalRunaway"]
RANK = {name: i for i, name in enumerate(VERDICTS)}
SUSPECT = RANK["suspect"]
PROBABLE = RANK["probable"]
WATCH = RANK["watch"]
CELL_CODE = {"normal": "-", "watch": "watch", "suspect": "SUSP", "probable": "PROB",
             "criticalRunaway": "CRIT"}
# A row without a verdict: the verdict its severity implies.
SEVERITY_VERDICT = {"allClear": "normal", "watch": "watch", "suspect": "suspect",
                    "critical": "criticalRunaway"}


@dataclass
class Case:
    """One class of memory behaviour and the truth about it."""
    name: str          # executable name, and so the family's title
    leak: bool
    args: list         # velmora-behaviour arguments
    about: str
    deadline: float = None  # minutes from the process start by which a leak must be suspect
    onset: float = 0.0      # minutes of flat start before a late leak begins
    peak: object = None     # minutes -> MiB held at most by then (planning only)
    program: str = "behaviour"  # which program runs it: "behaviour" or "shm" (the workload)
    launcher: bool = False  # started through workloads/launch-exec.sh, which execs it
    # Not a leak but growth that stops by itself: suspect while it grows is fair, "probable"
    # (which notifies) is the false alarm.
    bounded: bool = False


def classes():
    def leak_peak(base, rate, cap, onset=0.0):
        return lambda m: min(cap, base + rate * max(0.0, m - onset))

    # Each process climbs to its first size over a start-up of its own (--startup-sec), as
    # real programs do; deadlines count from the process's birth and follow the monitor's rules:
    # steady growth of 2 MB/min that has added 5 % over 6 minutes is suspect 2 minutes later,
    # stairs by their fifth step, a late onset within 8 minutes.
    return [
        Case("vm-leak-20", True,
             ["leak", "--base-mb", "50", "--rate", "20", "--max-mb", "450", "--busy", "3",
              "--startup-sec", "5"],
             "leaks 20 MB/min from 50 MB, busy", deadline=7,
             peak=leak_peak(50, 20, 450)),
        Case("vm-leak-3", True,
             ["leak", "--base-mb", "400", "--rate", "3", "--max-mb", "460", "--startup-sec", "20"],
             "leaks 3 MB/min on 400 MB, idle", deadline=9.1,
             peak=leak_peak(400, 3, 460)),
        Case("vm-leak-late", True,
             ["leak", "--base-mb", "100", "--rate", "10", "--onset-sec", "300", "--max-mb", "250",
              "--busy", "3", "--startup-sec", "10"],
             "flat 100 MB for 5 min, then leaks 10 MB/min", deadline=13.2, onset=5.2,
             peak=leak_peak(100, 10, 250, onset=5)),
        Case("vm-family-leak", True,
             ["family", "--children", "4", "--child-mb", "20", "--root-mb", "20", "--leaker",
              "2", "--rate", "10", "--max-mb", "220", "--busy", "2"],
             "5 processes of 20 MB, one child leaks 10 MB/min", deadline=8,
             peak=lambda m: 80 + min(220, 20 + 10 * m)),
        Case("vm-saw-leak", True,
             ["sawtooth", "--floor-mb", "120", "--rise-mb", "60", "--period-sec", "240",
              "--floor-rate", "5", "--max-floor-mb", "220", "--busy", "3", "--seed", "7",
              "--startup-sec", "10"],
             "collector sawtooth whose floor rises 5 MB/min", deadline=15,
             peak=lambda m: min(220, 120 + 5 * m) + 72),
        Case("vm-stairs", True,
             ["stairs", "--base-mb", "300", "--step-mb", "30", "--every-sec", "180",
              "--max-mb", "660", "--startup-sec", "15"],
             "keeps +30 MB every 3 min on 300 MB, never gives any back", deadline=16.3,
             peak=lambda m: min(660, 300 + 30 * int(max(0.0, m - 0.25) / 3))),
        Case("vm-big-slow", True,
             ["leak", "--base-mb", "1024", "--rate", "6", "--max-mb", "1180", "--startup-sec",
              "30"],
             "leaks 6 MB/min on 1 GB", deadline=11,
             peak=leak_peak(1024, 6, 1180)),
        Case("vm-flat", False, ["flat", "--mb", "300", "--startup-sec", "10"],
             "flat 300 MB, idle", peak=lambda m: 300),
        Case("vm-warmup", False,
             ["warmup", "--mb", "400", "--start-mb", "20", "--tau-sec", "60", "--busy", "3"],
             "warms up to a 400 MB plateau (95% in 3 min)", peak=lambda m: 400),
        Case("vm-slow-warmup", False,
             ["warmup", "--mb", "600", "--start-mb", "100", "--tau-sec", "480", "--busy", "3",
              "--startup-sec", "10"],
             "warms up to 600 MB ever more slowly (95% in 24 min)", peak=lambda m: 600),
        Case("vm-gc", False,
             ["sawtooth", "--floor-mb", "200", "--rise-mb", "80", "--period-sec", "240",
              "--busy", "4", "--seed", "3", "--startup-sec", "10"],
             "collector sawtooth: 200 MB floor, +80 MB over ~4 min", peak=lambda m: 296),
        Case("vm-walk", False,
             ["walk", "--low-mb", "150", "--high-mb", "350", "--step-mb", "4", "--every-sec",
              "2", "--busy", "3", "--seed", "5"],
             "random walk between 150 and 350 MB", peak=lambda m: 350),
        Case("vm-step", False,
             ["step", "--from-mb", "100", "--to-mb", "400", "--at-sec", "120"],
             "steps from 100 to 400 MB at 2 min, idle", peak=lambda m: 400 if m > 2 else 100),
    ] + churning_classes() + bounded_classes()


def churning_classes():
    """Families whose members come and go, with and without one long-lived member that grows."""
    churn = ["--every-sec", "30", "--life-low-sec", "30", "--life-high-sec", "60",
             "--max-alive", "2"]
    return [
        Case("vm-parent-grows", True,
             ["churn", "--base-mb", "40", "--rate", "10", "--max-mb", "260", "--child-mb", "80",
              "--busy", "2"] + churn,
             "parent leaks 10 MB/min from 40 MB; 80 MB children come and go", deadline=8,
             peak=lambda m: min(260, 40 + 10 * m) + 200),
        Case("vm-child-grows", True,
             ["churn", "--base-mb", "100", "--rate", "0", "--child-mb", "80", "--grower-rate",
              "10", "--grower-mb", "60", "--grower-max-mb", "260"] + churn,
             "one child leaks 10 MB/min from 60 MB; siblings come and go", deadline=8,
             peak=lambda m: 100 + min(260, 60 + 10 * m) + 200),
        Case("vm-churn-flat", False,
             ["churn", "--base-mb", "150", "--rate", "0", "--child-mb", "200"] + churn,
             "flat 150 MB parent; 200 MB children come and go", peak=lambda m: 150 + 460),
        Case("vm-spawner", False,
             ["churn", "--base-mb", "60", "--rate", "0", "--child-mb", "200", "--climb", "1",
              "--every-sec", "10", "--life-low-sec", "15", "--life-high-sec", "25",
              "--max-alive", "3"],
             "spawns children that climb to 200 MB over 20 s and end", peak=lambda m: 60 + 600),
        Case("vm-prefork", False,
             ["churn", "--base-mb", "30", "--rate", "0", "--child-mb", "120", "--child-tau-sec",
              "40", "--every-sec", "20", "--life-low-sec", "120", "--life-high-sec", "240",
              "--max-alive", "5"],
             "5 workers warm up to 120 MB and are recycled every 2-4 min",
             peak=lambda m: 30 + 5 * 140),
    ]


def bounded_classes():
    """Growth that stops by itself: probable before it stops would notify for nothing."""
    return [
        Case("vm-grow-10min", False,
             ["leak", "--base-mb", "60", "--rate", "3", "--max-mb", "90", "--startup-sec", "5"],
             "60 MB growing 3 MB/min for 10 min, then flat", peak=lambda m: 90, bounded=True),
        Case("vm-logistic", False,
             ["logistic", "--mb", "300", "--start-mb", "20", "--mid-sec", "360", "--width-sec",
              "90", "--busy", "2"],
             "logistic warm-up to 300 MB", peak=lambda m: 300, bounded=True),
        Case("vm-job", False,
             ["job", "--base-mb", "50", "--rate", "12", "--for-sec", "360", "--startup-sec", "5"],
             "grows 12 MB/min for 6 min, then frees it all", peak=lambda m: 122, bounded=True),
        Case("vm-cache-bound", False,
             ["leak", "--base-mb", "100", "--rate", "15", "--max-mb", "250", "--startup-sec", "5"],
             "cache filling at 15 MB/min to its 250 MB bound", peak=lambda m: 250, bounded=True),
    ]


def shared_memory_classes():
    """Memory kept in shared memory (velmora-shm-workload), and a launcher that execs."""
    def grows(base, rate, cap):
        return lambda m: min(cap, base + rate * m)

    return [
        Case("vm-shm-mapped", True,
             ["memfd-mapped", "--heap-mb", "8", "--base-mb", "32", "--step-mb", "1",
              "--every-sec", "6", "--max-mb", "260"],
             "a 1 MB memfd mapped and kept every 6 s from 40 MB", deadline=8,
             peak=grows(40, 10, 268), program="shm"),
        Case("vm-shm-held", True,
             ["memfd-held", "--heap-mb", "8", "--base-mb", "32", "--step-mb", "1",
              "--every-sec", "6", "--max-mb", "260"],
             "a 1 MB memfd kept by its descriptor only every 6 s from 40 MB", deadline=8,
             peak=grows(40, 10, 268), program="shm"),
        Case("vm-shm-devshm", True,
             ["devshm", "--heap-mb", "60", "--base-mb", "90", "--step-mb", "4",
              "--every-sec", "30", "--max-mb", "330"],
             "a 4 MB /dev/shm segment mapped and kept every 30 s on 150 MB", deadline=8,
             peak=grows(150, 8, 390), program="shm"),
        Case("vm-shm-flat", False, ["flat", "--heap-mb", "60", "--shm-mb", "1024"],
             "1 GB of shared memory, flat", peak=lambda m: 1084, program="shm"),
        Case("vm-shm-pool", False,
             ["pool", "--heap-mb", "60", "--buffer-mb", "8", "--min", "16", "--max", "40"],
             "a pool of 8 MB memfd buffers between 16 and 40 of them", peak=lambda m: 380,
             program="shm"),
        Case("vm-launched", True,
             ["leak", "--base-mb", "50", "--rate", "10", "--max-mb", "300", "--startup-sec", "5"],
             "a shell launcher that execs a program leaking 10 MB/min", deadline=8,
             peak=lambda m: min(300, 50 + 10 * m), launcher=True),
    ]


class Failure(Exception):
    """The check itself cannot go on."""


class Stop(Exception):
    """A signal asked this script to end."""


def catch_signals():
    """Ctrl-C raises KeyboardInterrupt, even when started with SIGINT ignored, and SIGTERM and
    SIGHUP raise Stop, so a run ends with its figures so far and ends what it started."""
    def on_signal(number, frame):
        raise Stop()

    signal.signal(signal.SIGINT, signal.default_int_handler)
    signal.signal(signal.SIGTERM, on_signal)
    signal.signal(signal.SIGHUP, on_signal)


def say_interrupted(reason):
    print("\nInterrupted." if isinstance(reason, KeyboardInterrupt) else "\nStopped by a signal.")


def ignore_signals():
    """While ending what it started, nothing interrupts the script."""
    for number in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(number, signal.SIG_IGN)


def exit_with(main, name):
    """Runs main and exits with its status, or with 2 when the check itself could not run."""
    try:
        sys.exit(main())
    except Failure as failure:
        print("%s: %s" % (name, failure), file=sys.stderr)
        sys.exit(2)


def clock(seconds):
    seconds = max(0, int(round(seconds)))
    return "%d:%02d" % (seconds // 60, seconds % 60)


def read_text(path):
    try:
        with open(path, "rb") as f:
            return f.read().decode("utf-8", "replace")
    except OSError:
        return None


# ---------------------------------------------------------------------------------------------
# /proc helpers

def descendants(pid):
    """pid and every live process below it."""
    found, todo = [], [pid]
    while todo:
        p = todo.pop()
        found.append(p)
        # Each thread lists the children it started: a program may fork from any of them.
        try:
            threads = os.listdir("/proc/%d/task" % p)
        except OSError:
            continue
        for t in threads:
            text = read_text("/proc/%d/task/%s/children" % (p, t)) or ""
            todo.extend(int(c) for c in text.split())
    return found


def footprint_mib(pid):
    """Anonymous resident memory, shared memory and swap of a process and its descendants, in
    MiB (shared memory mapped here in full, memory held by descriptor only not at all)."""
    total_kib = 0
    for p in descendants(pid):
        text = read_text("/proc/%d/status" % p) or ""
        for line in text.splitlines():
            if line.startswith(("RssAnon:", "RssShmem:", "VmSwap:")):
                total_kib += int(line.split()[1])
    return total_kib / 1024.0


def app_id_from_cgroup(text):
    """The application unit a process runs in, as the monitor reads /proc/PID/cgroup."""
    paths = []
    for line in (text or "").splitlines():
        if line.startswith("0::"):
            paths.insert(0, line[3:])
        elif ":name=systemd:" in line:
            paths.append(line.split(":name=systemd:", 1)[1])
    for path in paths:
        unit = path.rstrip("/").rsplit("/", 1)[-1]
        if len(path) <= 1 or not unit:
            continue
        if unit.endswith(".scope") and unit.startswith("app-"):
            return unit
        if unit.endswith(".service") and not unit.startswith(("user@", "user-runtime-dir@")):
            return unit
    return None


def processes_named(names):
    """Live processes of this user whose executable has one of these base names."""
    found = []
    uid = os.getuid()
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            if os.stat("/proc/" + entry).st_uid != uid:
                continue
            exe = os.readlink("/proc/%s/exe" % entry)
        except OSError:
            continue
        base = os.path.basename(exe.removesuffix(" (deleted)"))
        if base in names:
            found.append((int(entry), base))
    return found


def mem_available_mib():
    for line in (read_text("/proc/meminfo") or "").splitlines():
        if line.startswith("MemAvailable:"):
            return int(line.split()[1]) / 1024.0
    return None


# ---------------------------------------------------------------------------------------------
# The monitor

class Monitor:
    def __init__(self, exe, home, log_path):
        env = dict(os.environ)
        env.update({
            "HOME": home,
            "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
            "XDG_STATE_HOME": os.path.join(home, ".local", "state"),
            "XDG_CACHE_HOME": os.path.join(home, ".cache"),
        })
        # No desktop to open folders on: nothing here should reach one.
        env.pop("DISPLAY", None)
        env.pop("WAYLAND_DISPLAY", None)
        self.log_path = log_path
        self.log = open(log_path, "wb")
        try:
            self.proc = subprocess.Popen([exe, "ui-backend"], stdin=subprocess.PIPE,
                                         stdout=subprocess.PIPE, stderr=self.log, cwd=home,
                                         env=env, start_new_session=True)
        except OSError as error:
            self.log.close()
            raise Failure("cannot start %s: %s" % (exe, error))
        self.buffer = b""

    def request(self, kind="getSnapshot", timeout=15.0):
        line = json.dumps({"kind": kind}) + "\n"
        try:
            self.proc.stdin.write(line.encode())
            self.proc.stdin.flush()
        except (BrokenPipeError, OSError):
            raise Failure("the monitor stopped reading requests" + self.ended())
        fd = self.proc.stdout.fileno()
        deadline = time.monotonic() + timeout
        while b"\n" not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0:
                raise Failure("the monitor did not answer within %.0f s" % timeout)
            ready, _, _ = select.select([fd], [], [], left)
            if ready:
                chunk = os.read(fd, 1 << 20)
                if not chunk:
                    raise Failure("the monitor closed its output" + self.ended())
                self.buffer += chunk
        answer, self.buffer = self.buffer.split(b"\n", 1)
        try:
            return json.loads(answer)
        except ValueError as error:
            raise Failure("the monitor answered a line that is not JSON: %s" % error)

    def wait_for_first_scan(self, timeout=15.0):
        """Asks for snapshots until the monitor's first scan of running processes is over."""
        answer = self.request()
        rows_of(answer)
        wait_until = time.monotonic() + timeout
        while (answer["snapshot"].get("bootstrapScan", {}).get("active")
               and time.monotonic() < wait_until):
            time.sleep(0.5)
            answer = self.request()

    def ended(self):
        try:
            code = self.proc.wait(timeout=2)
        except subprocess.TimeoutExpired:
            return ""
        self.log.flush()
        tail = (read_text(self.log_path) or "").strip().splitlines()[-5:]
        return " (exit status %s)%s" % (code, "".join("\n    " + t for t in tail))

    def stop(self):
        if self.proc.poll() is None:
            try:
                self.proc.stdin.close()  # end of input ends the monitor
            except OSError:
                pass
            try:
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.proc.terminate()
                try:
                    self.proc.wait(timeout=3)
                except subprocess.TimeoutExpired:
                    self.proc.kill()
                    self.proc.wait()
        self.log.close()


def rows_of(answer):
    if answer.get("kind") != "snapshot" or not isinstance(answer.get("snapshot"), dict):
        raise Failure("the monitor answered something other than a snapshot: %.200s" % answer)
    rows = []
    for row in answer["snapshot"].get("rows", []):
        verdict = row.get("verdict") or SEVERITY_VERDICT.get(row.get("severity"), "watch")
        if verdict not in RANK:
            verdict = "watch"
        rows.append({"key": row.get("key", ""), "title": row.get("title", ""), "verdict": verdict,
                     "rate": row.get("rate", ""), "confidence": row.get("confidencePillLabel", "")})
    return rows, answer["snapshot"]


# ---------------------------------------------------------------------------------------------
# One class under watch

@dataclass
class Watched:
    case: Case
    proc: subprocess.Popen = None
    started: float = 0.0          # monotonic
    verdict: str = "normal"       # at the latest poll
    minute_worst: str = "normal"  # the worst since the last table line
    footprint: float = 0.0        # MiB, at the latest poll
    first: dict = field(default_factory=dict)     # verdict rank -> first time reached (s)
    time_at: dict = field(default_factory=dict)   # verdict rank -> seconds spent (at least)
    peak: str = "normal"
    seconds_lived: float = 0.0
    split_noted: bool = False

    def note(self, verdict, at, step):
        """Records the verdict of one poll `at` seconds from the start; True when it changed."""
        rank = RANK[verdict]
        for r in range(1, rank + 1):
            self.first.setdefault(r, at)
        if rank:
            self.time_at[rank] = self.time_at.get(rank, 0.0) + step
        if rank > RANK[self.peak]:
            self.peak = verdict
        if rank > RANK[self.minute_worst]:
            self.minute_worst = verdict
        changed = verdict != self.verdict
        self.verdict = verdict
        return changed

    def seconds_at_least(self, rank):
        return sum(t for r, t in self.time_at.items() if r >= rank)


def matches(case, row):
    return row["title"] == case.name or row["key"].startswith("proc:%s:" % case.name)


# ---------------------------------------------------------------------------------------------

def parse_args():
    parser = argparse.ArgumentParser(
        description="Watch real leaking and non-leaking processes with the real monitor.",
        formatter_class=argparse.RawDescriptionHelpFormatter,
        epilog="\n\n".join(__doc__.split("\n\n")[1:4]))
    parser.add_argument("--velmora", required=True, help="the velmora executable")
    parser.add_argument("--behaviour", required=True, help="the velmora-behaviour executable")
    parser.add_argument("--shm-workload",
                        help="the velmora-shm-workload executable (its classes run only with it)")
    parser.add_argument("--minutes", type=float, default=20.0, help="length of the run (20)")
    parser.add_argument("--poll", type=float, default=5.0,
                        help="seconds between snapshot requests (5)")
    parser.add_argument("--skip", default="", help="comma-separated classes to leave out")
    parser.add_argument("--only", default="", help="comma-separated classes to run alone")
    parser.add_argument("--scopes", choices=["auto", "always", "never"], default="auto",
                        help="start each class in its own systemd user scope (auto)")
    parser.add_argument("--log", help="also write every poll as tab-separated lines to this file")
    parser.add_argument("--keep", action="store_true",
                        help="keep the temporary folder (the monitor's data and log)")
    parser.add_argument("--force", action="store_true",
                        help="run even when memory looks too short")
    return parser.parse_args()


def select_classes(args):
    cases = classes() + (shared_memory_classes() if args.shm_workload else [])
    names = {s.name for s in cases}
    only = [n for n in args.only.split(",") if n]
    skip = [n for n in args.skip.split(",") if n]
    unknown = [n for n in only + skip if n not in names]
    if unknown:
        raise Failure("unknown class %s; the classes are %s"
                      % (", ".join(unknown), ", ".join(s.name for s in cases)))
    if only:
        cases = [s for s in cases if s.name in only]
    return [s for s in cases if s.name not in skip]


def use_scopes(choice):
    if choice == "never":
        return False
    if choice == "always":
        if not shutil.which("systemd-run"):
            raise Failure("--scopes always needs systemd-run")
        return True
    unit = app_id_from_cgroup(read_text("/proc/self/cgroup"))
    if unit is None:
        return False
    if shutil.which("systemd-run") and subprocess.run(
            ["systemd-run", "--user", "--scope", "--quiet", "true"], stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL).returncode == 0:
        print("This script runs inside %s; each class gets a scope of its own." % unit)
        return True
    print("warning: this script runs inside %s and systemd-run --user does not work here:\n"
          "         the monitor may fold every class into that application's row." % unit)
    return False


LAUNCHER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "workloads", "launch-exec.sh")


def start_class(case, exe, scoped, run_id):
    command = ([LAUNCHER] if case.launcher else []) + [exe] + case.args
    if scoped:
        unit = "velmora-live-%s-%s" % (case.name, run_id)
        command = ["systemd-run", "--user", "--scope", "--quiet", "--collect", "--unit", unit,
                   "--"] + command
    env = dict(os.environ, VELMORA_BEHAVIOUR_PARENT=str(os.getpid()))
    # A session of its own: Ctrl-C reaches this script only, which then ends everything in order.
    try:
        return subprocess.Popen(command, stdin=subprocess.DEVNULL, env=env,
                                start_new_session=True)
    except OSError as error:
        raise Failure("cannot start %s: %s (is the temporary folder mounted noexec? set TMPDIR)"
                      % (case.name, error))


def stop_classes(watched):
    live = [w for w in watched if w.proc is not None and w.proc.poll() is None]
    groups = {w.proc.pid: descendants(w.proc.pid) for w in live}
    for w in live:
        try:
            w.proc.terminate()
        except ProcessLookupError:
            pass
    deadline = time.monotonic() + 6
    for w in live:
        try:
            w.proc.wait(timeout=max(0.1, deadline - time.monotonic()))
        except subprocess.TimeoutExpired:
            pass
    # Whatever is left, including children whose parent already went.
    for pid, members in groups.items():
        for p in members:
            try:
                if p == pid or os.getpgid(p) == pid:
                    os.kill(p, signal.SIGKILL)
            except (ProcessLookupError, PermissionError):
                pass
    for w in live:
        try:
            w.proc.wait(timeout=2)
        except subprocess.TimeoutExpired:
            pass


def print_header(watched):
    print()
    print("Worst verdict of each class in each minute (- normal, watch, SUSP suspect, "
          "PROB probable, CRIT critical) and its footprint in MiB:")
    cells = []
    for w in watched:
        cells.append("%11s" % w.case.name.removeprefix("vm-")[:11])
    print("  time " + " ".join(cells))


def print_minute(minute, watched):
    cells = []
    for w in watched:
        cells.append("%5s %5.0f" % (CELL_CODE[w.minute_worst], w.footprint))
        w.minute_worst = w.verdict
    print("%6s " % clock(minute * 60) + " ".join(cells), flush=True)


def report(watched, others, elapsed, polls):
    """Prints the figures; returns True when the run passes."""
    print()
    print("After %s of watching (%d snapshots):" % (clock(elapsed), polls))
    passed = True
    leaks = [w for w in watched if w.case.leak]
    clean = [w for w in watched if not w.case.leak]
    if leaks:
        print()
        print("Leaks (flagged = suspect or above; times from the process start):")
        flagged = 0
        judged_missing = 0
        for w in leaks:
            s = w.case
            lived = w.seconds_lived
            first = w.first.get(SUSPECT)
            deadline = s.deadline * 60
            def after_onset(seconds):
                return " (%s after onset)" % clock(seconds - s.onset * 60) if s.onset else ""

            if first is not None:
                flagged += 1
                status = "ok" if first <= deadline else "LATE"
                what = "flagged at %s%s" % (clock(first), after_onset(first))
            elif lived >= deadline:
                status = "MISSED"
                what = "never flagged"
            else:
                status = "not judged (the run ended first)"
                what = "not flagged"
            if status in ("LATE", "MISSED"):
                passed = False
                judged_missing += 1
            watch = w.first.get(WATCH)
            extra = "" if watch is None or watch == first else ", watch from %s" % clock(watch)
            print("  %-15s %s" % (s.name, s.about))
            print("  %-15s %s%s; deadline %s%s: %s; peak verdict %s"
                  % ("", what, extra, clock(deadline), after_onset(deadline), status, w.peak))
        print("  Recall: %d of %d leaks reached suspect%s" % (
            flagged, len(leaks),
            "" if not judged_missing else "; %d missed the deadline" % judged_missing))
    if clean:
        print()
        print("Not leaks:")
        alarms, noise = [], []
        for w in clean:
            s = w.case
            level = PROBABLE if s.bounded else SUSPECT
            sus = w.first.get(level)
            wat = w.first.get(WATCH)
            if sus is not None:
                alarms.append("%s at %s" % (s.name, clock(sus)))
                passed = False
                what = "FALSE ALARM: %s or above from %s (about %s in all), peak %s" % (
                    VERDICTS[level], clock(sus), clock(w.seconds_at_least(level)), w.peak)
            elif s.bounded and w.first.get(SUSPECT) is not None:
                what = "suspect from %s while it grew (about %s in all), never probable" % (
                    clock(w.first.get(SUSPECT)), clock(w.seconds_at_least(SUSPECT)))
            elif wat is not None:
                what = "noise: watch from %s (about %s in all)" % (
                    clock(wat), clock(w.seconds_at_least(WATCH)))
            else:
                what = "clean"
            if wat is not None:
                noise.append("%s at %s" % (s.name, clock(wat)))
            print("  %-15s %-50s %s" % (s.name, s.about, what))
        print("  False alarms: %d%s" % (len(alarms), "" if not alarms else
                                        " (" + ", ".join(alarms) + ")"))
        print("  Noise (watch or above): %d%s" % (len(noise), "" if not noise else
                                                  " (" + ", ".join(noise) + ")"))
    if others:
        print()
        print("Other families in the rows (not part of this check):")
        for title, peak in sorted(others.items()):
            print("  %-30s peak %s" % (title, peak))
    return passed


def main():
    args = parse_args()
    cases = select_classes(args)
    if not cases:
        raise Failure("no class left to run")
    velmora = os.path.abspath(args.velmora)
    behaviour = os.path.abspath(args.behaviour)
    programs = {"behaviour": behaviour}
    if args.shm_workload:
        programs["shm"] = os.path.abspath(args.shm_workload)
    for path in [velmora] + list(programs.values()):
        if not (os.path.isfile(path) and os.access(path, os.X_OK)):
            raise Failure("%s is not an executable file" % path)
    if args.minutes <= 0 or args.poll <= 0:
        raise Failure("--minutes and --poll must be positive")

    leftovers = processes_named({s.name for s in cases})
    if leftovers:
        raise Failure("processes of an earlier run are still alive, their rows would mix with "
                      "this run's: " + ", ".join("%s (PID %d)" % (n, p) for p, n in leftovers))
    planned = sum(s.peak(args.minutes) + 4 * (5 if s.args[0] == "family" else 1) for s in cases)
    available = mem_available_mib()
    print("Classes: %d, planned peak memory %.1f GiB, available %.1f GiB."
          % (len(cases), planned / 1024, (available or 0) / 1024))
    if available is not None and available < planned + 1024 and not args.force:
        raise Failure("too little memory for this run (need %.1f GiB with a margin); use --skip "
                      "or --force" % ((planned + 1024) / 1024))
    scoped = use_scopes(args.scopes)

    run_dir = tempfile.mkdtemp(prefix="velmora-live-")
    home = os.path.join(run_dir, "home")
    os.makedirs(home)
    bin_dir = os.path.join(run_dir, "bin")
    os.makedirs(bin_dir)
    watched = []
    monitor = None
    log = open(args.log, "w") if args.log else None
    if log:
        log.write("# seconds\tclass\tverdict\tfootprint_mib\trate\n")
    interrupted = False
    failure = None
    others = {}
    polls = 0
    full_rows = 0
    t0 = end = time.monotonic()

    catch_signals()
    try:
        for s in cases:
            target = os.path.join(bin_dir, s.name)
            shutil.copyfile(programs[s.program], target)
            os.chmod(target, 0o755)

        monitor = Monitor(velmora, home, os.path.join(run_dir, "velmora-stderr.log"))
        monitor.wait_for_first_scan()
        print("Monitor %s started (PID %d), its data in %s"
              % (velmora, monitor.proc.pid, home))

        print()
        print("%-15s %-6s %-9s %s" % ("class", "truth", "deadline", "behaviour"))
        run_id = "%d-%d" % (os.getpid(), int(time.time()))
        for s in cases:
            w = Watched(s)
            w.proc = start_class(s, os.path.join(bin_dir, s.name), scoped, run_id)
            w.started = time.monotonic()
            watched.append(w)
            print("%-15s %-6s %-9s %s" % (s.name, "leak" if s.leak else "-",
                                          clock(s.deadline * 60) if s.deadline else "", s.about))
        t0 = min(w.started for w in watched)
        # Every class gets the whole run, so the last poll judges a deadline equal to it.
        end = max(w.started for w in watched) + args.minutes * 60
        time.sleep(1.0)
        for w in watched:
            if w.proc.poll() is not None:
                raise Failure("%s ended at once (status %s)" % (w.case.name, w.proc.returncode))
            unit = app_id_from_cgroup(read_text("/proc/%d/cgroup" % w.proc.pid))
            if unit:
                print("warning: %s runs in %s; its row may carry that application's title"
                      % (w.case.name, unit))
        print_header(watched)

        next_poll = time.monotonic()
        next_minute = 1
        last_poll = None
        while True:
            time.sleep(max(0.0, min(next_poll, end) - time.monotonic()))
            now = time.monotonic()
            next_poll += args.poll
            rows, _ = rows_of(monitor.request())
            polls += 1
            full_rows = max(full_rows, len(rows))
            step = args.poll if last_poll is None else now - last_poll
            last_poll = now
            for w in watched:
                if w.proc.poll() is not None:
                    raise Failure("%s ended by itself (status %s)"
                                  % (w.case.name, w.proc.returncode))
                at = now - w.started
                w.seconds_lived = at
                w.footprint = footprint_mib(w.proc.pid)
                mine = [r for r in rows if matches(w.case, r)]
                if len(mine) > 1 and not w.split_noted:
                    w.split_noted = True
                    print("  note: %s is in %d rows: %s" % (
                        w.case.name, len(mine), ", ".join(r["key"] for r in mine)))
                row = max(mine, key=lambda r: RANK[r["verdict"]], default=None)
                verdict = row["verdict"] if row else "normal"
                rate = row["rate"] if row else ""
                before = w.verdict
                if w.note(verdict, at, step):
                    print("  %6s %-15s %s -> %s%s" % (
                        clock(at), w.case.name, before, verdict,
                        "" if row is None else "  (" + ", ".join(
                            t for t in (rate, row["confidence"]) if t) + ")"),
                        flush=True)
                if log:
                    log.write("%.1f\t%s\t%s\t%.1f\t%s\n"
                              % (now - t0, w.case.name, verdict, w.footprint, rate))
            for r in rows:
                if not any(matches(w.case, r) for w in watched):
                    seen = others.get(r["title"])
                    if seen is None or RANK[r["verdict"]] > RANK[seen]:
                        if seen is None:
                            print("  %6s (other family) %s: %s" % (clock(now - t0), r["title"],
                                                                 r["verdict"]))
                        others[r["title"]] = r["verdict"]
            if log:
                log.flush()
            while now - t0 >= next_minute * 60:
                print_minute(next_minute, watched)
                next_minute += 1
            if now >= end:
                break
    except Failure as error:
        failure = error
    except (KeyboardInterrupt, Stop) as reason:
        interrupted = True
        say_interrupted(reason)
    finally:
        ignore_signals()
        stop_classes(watched)
        if monitor is not None:
            monitor.stop()
        if log:
            log.close()
        if args.keep:
            print("Kept %s" % run_dir)
        else:
            shutil.rmtree(run_dir, ignore_errors=True)

    if watched:
        passed = report(watched, others, min(time.monotonic(), end) - t0, polls)
        if full_rows >= 12:
            print("\nnote: the snapshot held %d rows at one point; it lists 12 families at most, "
                  "so a class missing from it then may have been hidden, not normal." % full_rows)
    if failure is not None:
        raise failure
    if interrupted:
        return 130
    print()
    print("PASS" if passed else "FAIL")
    return 0 if passed else 1


if __name__ == "__main__":
    exit_with(main, "live-check")
