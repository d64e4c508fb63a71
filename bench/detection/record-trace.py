#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Record the memory footprint of a real program family into a labelled trace file.

Usage:
  record-trace.py --name NAME --class CLASS --truth notLeak|leak
                  [--deadline SECONDS] [--onset SECONDS] [--seconds N]
                  [--source TEXT] --out FILE -- command args...

Runs the command and, once a second until it exits (or until --seconds N have elapsed,
after which its process group is terminated), records for the family made of the
command's process and all its live descendants:

  footprint KiB = (statm resident - statm shared) * page size / 1024 + VmSwap KiB
  cpu ticks     = sum of utime + stime of the live members (clock ticks)

Descendants are found each second by walking the ppid links of /proc/*/stat, so
processes that appear later are included. A process that was once seen in the family
and got re-parented (its parent exited) is kept while it lives. Processes that have
exited simply drop out. Processes vanishing while being read are skipped silently.

The trace is written to FILE.partial while recording and renamed to FILE at the end.
Standard library only.
"""

import argparse
import os
import signal
import subprocess
import sys
import time

PAGE_KIB = os.sysconf("SC_PAGE_SIZE") // 1024
HEADER = "# velmora memory trace"


def read_text(path):
    with open(path, "rb") as f:
        return f.read().decode("utf-8", "replace")


def read_stat(pid):
    """(ppid, ticks, starttime) of a process, or None if it is gone or unreadable."""
    try:
        text = read_text("/proc/%d/stat" % pid)
    except OSError:
        return None
    # The command name may contain spaces and parentheses: split after the last ')'.
    close = text.rfind(")")
    if close < 0:
        return None
    fields = text[close + 2:].split()
    # fields[0] is the state (field 3 of stat); field N of stat is fields[N - 3].
    try:
        ppid = int(fields[1])
        utime = int(fields[11])
        stime = int(fields[12])
        starttime = int(fields[19])
    except (IndexError, ValueError):
        return None
    return ppid, utime + stime, starttime


def read_footprint_kib(pid):
    """Footprint of one process in KiB, or None if it is gone or unreadable."""
    try:
        statm = read_text("/proc/%d/statm" % pid).split()
        resident = int(statm[1])
        shared = int(statm[2])
    except (OSError, IndexError, ValueError):
        return None
    swap = 0
    try:
        for line in read_text("/proc/%d/status" % pid).splitlines():
            if line.startswith("VmSwap:"):
                swap = int(line.split()[1])
                break
    except (OSError, IndexError, ValueError):
        return None
    return max(resident - shared, 0) * PAGE_KIB + swap


def all_processes():
    """{pid: (ppid, ticks, starttime)} for every readable process."""
    table = {}
    try:
        names = os.listdir("/proc")
    except OSError:
        return table
    for name in names:
        if not name.isdigit():
            continue
        pid = int(name)
        info = read_stat(pid)
        if info is not None:
            table[pid] = info
    return table


class Family:
    """The root process and its descendants, identified by (pid, starttime)."""

    def __init__(self, root_pid):
        self.root_pid = root_pid
        self.known = {}  # pid -> starttime of members seen before

    def sample(self):
        table = all_processes()
        children = {}
        for pid, (ppid, _, _) in table.items():
            children.setdefault(ppid, []).append(pid)

        members = set()
        stack = []
        if self.root_pid in table:
            stack.append(self.root_pid)
        # Members seen before whose parent exited were re-parented away from the family;
        # they are still ours while the same process (same start time) lives.
        for pid, start in self.known.items():
            if pid in table and table[pid][2] == start:
                stack.append(pid)
        while stack:
            pid = stack.pop()
            if pid in members:
                continue
            members.add(pid)
            stack.extend(children.get(pid, ()))

        self.known = {pid: table[pid][2] for pid in members}

        footprint = 0
        ticks = 0
        for pid in members:
            kib = read_footprint_kib(pid)
            if kib is None:
                continue  # vanished between the walk and the read
            footprint += kib
            ticks += table[pid][1]
        return footprint, ticks, len(members)


def terminate_group(proc):
    try:
        os.killpg(proc.pid, signal.SIGTERM)
    except OSError:
        pass
    try:
        proc.wait(timeout=10)
    except subprocess.TimeoutExpired:
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except OSError:
            pass
        proc.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--name", required=True)
    parser.add_argument("--class", dest="klass", required=True)
    parser.add_argument("--truth", required=True, choices=["notLeak", "leak"])
    parser.add_argument("--deadline", type=int, default=0)
    parser.add_argument("--onset", type=int, default=0)
    parser.add_argument("--seconds", type=int, default=0,
                        help="stop after this many seconds and terminate the command")
    parser.add_argument("--source", default="",
                        help="one-line description of the command and what it does")
    parser.add_argument("--out", required=True)
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()

    command = args.command
    if command and command[0] == "--":
        command = command[1:]
    if not command:
        parser.error("no command given after --")
    for text in (args.name, args.klass, args.source):
        if "\n" in text:
            parser.error("name, class and source must be single lines")

    source = args.source or " ".join(command)
    partial = args.out + ".partial"
    out_dir = os.path.dirname(os.path.abspath(args.out))
    os.makedirs(out_dir, exist_ok=True)

    stop_requested = []

    def on_signal(signum, _frame):
        stop_requested.append(signum)

    signal.signal(signal.SIGINT, on_signal)
    signal.signal(signal.SIGTERM, on_signal)

    with open(partial, "w") as out:
        out.write(HEADER + "\n")
        out.write("# name: %s\n" % args.name)
        out.write("# class: %s\n" % args.klass)
        out.write("# truth: %s\n" % args.truth)
        out.write("# deadline: %d\n" % args.deadline)
        out.write("# onset: %d\n" % args.onset)
        out.write("# source: recorded on this machine: %s\n" % source)
        out.write("# columns: seconds footprint_kib cpu_ticks\n")
        out.flush()

        proc = subprocess.Popen(command, start_new_session=True)
        family = Family(proc.pid)
        start = time.monotonic()
        second = 0
        timed_out = False
        max_members = 0
        written = 0
        while True:
            footprint, ticks, count = family.sample()
            max_members = max(max_members, count)
            if proc.poll() is not None:
                break  # the command exited before this sample was complete: drop it
            out.write("%d %d %d\n" % (second, footprint, ticks))
            out.flush()
            written += 1
            if stop_requested:
                terminate_group(proc)
                break
            if args.seconds and second >= args.seconds:
                timed_out = True
                terminate_group(proc)
                break
            second += 1
            # Sleep to the next whole second, polling so that an exit ends the trace soon.
            while True:
                now = time.monotonic()
                remaining = start + second - now
                if remaining <= 0 or proc.poll() is not None or stop_requested:
                    break
                time.sleep(min(remaining, 0.1))
            if proc.poll() is not None:
                break

    os.replace(partial, args.out)
    status = proc.returncode
    how = "stopped after %d s" % args.seconds if timed_out else "exited with %s" % status
    print("record-trace: %s: %d samples, command %s, up to %d processes"
          % (args.out, written, how, max_members),
          file=sys.stderr)
    return 0 if timed_out or status == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
