#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What watching costs on a real /proc: the real monitor over real idle processes.

Run it by hand from the repository root once the programs are built (it is not a CI job):

    cmake --build build --target velmora velmora-idle-crowd velmora-naive-reader
    python3 bench/monitor/real-cost.py ui --processes 300 1000
    python3 bench/monitor/real-cost.py serve --processes 5000 10000
    cmake --build build --target monitor_pass_split
    python3 bench/monitor/real-cost.py split --processes 300 1000 10000

It starts `velmora-idle-crowd` so that /proc holds the given number of processes in all
(families of five, each family an executable of its own, every process asleep), then for each
count and each repeat:

  ui     starts `velmora ui-backend` (1 s tick, the current user's processes) and, beside it,
         `velmora-naive-reader` (every second, open, read and close every process's stat and
         statm); after a warm-up it reads both programs' CPU time over the measured window and
         prints each as milliseconds per second and the monitor's as a multiple of the
         reader's;
  serve  starts `velmora serve --all-users` at its 10 s tick on a free local port, scrapes
         /metrics every 10 s as Prometheus would, and prints its CPU time as a share of one
         core, its resident memory at the end and the scrapes' latency;
  split  runs `monitor_pass_split` (the sampler in this process, phase by phase) once per
         count: at 1 s over the current user's processes, and with --all-users at the given
         --interval over everyone's.

Each line is one run; the last line of each count is the median of the runs. The machine's
load average is printed first and last: other work on the machine makes CPU figures noisy, so
compare figures measured back to back. HOME and the XDG folders point at a fresh temporary
folder, so nobody's configuration or history is touched.
"""

import argparse
import os
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.request

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def process_count():
    return sum(1 for name in os.listdir("/proc") if name.isdigit())


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def resident_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0.0


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def load():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


class Crowd:
    """Idle processes up to `total` processes in /proc (none when there are already as many)."""

    def __init__(self, program, total, family_size):
        self.proc = None
        self.before = process_count()
        missing = total - self.before
        if missing <= 0:
            return
        self.proc = subprocess.Popen(
            [program, "--processes", str(missing), "--family-size", str(family_size)],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        line = self.proc.stdout.readline().split()
        if line[:1] != ["ready"] or line[1] == "0":
            self.close()
            sys.exit(f"velmora-idle-crowd could not start {missing} processes")

    def close(self):
        if self.proc is not None:
            self.proc.stdin.close()
            self.proc.wait()
            self.proc = None
            # Thousands of processes take a while to go: count again only once they have.
            deadline = time.monotonic() + 60
            while process_count() > self.before + 50 and time.monotonic() < deadline:
                time.sleep(0.5)


def isolated_environment(folder):
    env = dict(os.environ)
    env.update(HOME=folder, XDG_CONFIG_HOME=f"{folder}/config", XDG_DATA_HOME=f"{folder}/data",
               XDG_STATE_HOME=f"{folder}/state", XDG_CACHE_HOME=f"{folder}/cache")
    return env


def stop(proc):
    if proc.poll() is None:
        if proc.stdin:
            proc.stdin.close()
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def run_ui(args, velmora, folder):
    env = isolated_environment(folder)
    monitor = subprocess.Popen([velmora, "ui-backend"], stdin=subprocess.PIPE,
                               stdout=subprocess.DEVNULL, env=env)
    naive = subprocess.Popen([args.naive], stdin=subprocess.PIPE)
    try:
        time.sleep(args.warmup)
        watched = process_count()
        m0, n0 = cpu_seconds(monitor.pid), cpu_seconds(naive.pid)
        time.sleep(args.seconds)
        m1, n1 = cpu_seconds(monitor.pid), cpu_seconds(naive.pid)
    finally:
        stop(monitor)
        stop(naive)
    monitor_ms = (m1 - m0) / args.seconds * 1000
    naive_ms = (n1 - n0) / args.seconds * 1000
    ratio = monitor_ms / naive_ms if naive_ms > 0 else float("nan")
    print(f" {watched} processes: monitor {monitor_ms:.2f} ms/s, naive reader "
          f"{naive_ms:.2f} ms/s, ratio {ratio:.2f}", flush=True)
    return {"monitor ms/s": monitor_ms, "naive ms/s": naive_ms, "ratio": ratio}


def scrape(port):
    start = time.monotonic()
    with urllib.request.urlopen(f"http://127.0.0.1:{port}/metrics", timeout=10) as answer:
        size = len(answer.read())
    return (time.monotonic() - start) * 1000, size


def run_serve(args, velmora, folder):
    env = isolated_environment(folder)
    port = free_port()
    monitor = subprocess.Popen(
        [velmora, "serve", "--all-users", "--interval", str(args.interval), "--listen",
         f"127.0.0.1:{port}"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL, env=env)
    latencies = []
    size = 0
    try:
        time.sleep(args.warmup)
        watched = process_count()
        c0 = cpu_seconds(monitor.pid)
        start = time.monotonic()
        scrapes = max(1, int(args.seconds // args.interval))
        for i in range(scrapes):
            # Halfway between two passes, as a scraper that knows nothing of them would.
            time.sleep(max(0.0, start + (i + 0.5) * args.interval - time.monotonic()))
            latency, size = scrape(port)
            latencies.append(latency)
        time.sleep(max(0.0, start + args.seconds - time.monotonic()))
        c1 = cpu_seconds(monitor.pid)
        elapsed = time.monotonic() - start
        rss = resident_mib(monitor.pid)
    finally:
        stop(monitor)
    share = (c1 - c0) / elapsed * 100
    median = statistics.median(latencies)
    print(f" {watched} processes: {share:.3f} % of one core, {rss:.1f} MiB resident, scrape "
          f"({size} bytes) median {median:.1f} ms, worst {max(latencies):.1f} ms", flush=True)
    return {"% of a core": share, "MiB": rss, "scrape ms": median}


def run_split(args, total):
    command = [args.split, "--passes", str(args.passes), "--warmup", str(args.split_warmup),
               "--interval", str(args.interval if args.all_users else 1)]
    if args.all_users:
        command.append("--all-users")
    print(f"at {total} processes:", flush=True)
    subprocess.run(command, check=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("mode", choices=["ui", "serve", "split"])
    parser.add_argument("--processes", type=int, nargs="+", default=[300])
    parser.add_argument("--family-size", type=int, default=5)
    parser.add_argument("--velmora", nargs="+", default=["build/bin/velmora"],
                        help="one monitor, or several to compare run by run")
    parser.add_argument("--crowd", default="build/bench/velmora-idle-crowd")
    parser.add_argument("--naive", default="build/bench/velmora-naive-reader")
    parser.add_argument("--split", default="build/bench/monitor_pass_split")
    parser.add_argument("--passes", type=int, default=20, help="split's measured passes")
    parser.add_argument("--split-warmup", type=int, default=3,
                        help="split's passes before measuring (a minute and more of them to "
                        "measure once idle processes are quiet)")
    parser.add_argument("--all-users", action="store_true", help="split as serve samples")
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--warmup", type=float, default=None,
                        help="seconds before measuring (ui 15, serve 35)")
    parser.add_argument("--seconds", type=float, default=60, help="measured seconds per run")
    parser.add_argument("--interval", type=float, default=10, help="serve's tick")
    args = parser.parse_args()
    if args.warmup is None:
        args.warmup = 15 if args.mode == "ui" else 35
    run = run_ui if args.mode == "ui" else run_serve
    print(f"load average {load()}; {os.cpu_count()} CPUs", flush=True)
    for total in args.processes:
        crowd = Crowd(args.crowd, total, args.family_size)
        try:
            if args.mode == "split":
                run_split(args, total)
                continue
            results = {program: [] for program in args.velmora}
            for _ in range(args.repeat):
                # Each program in turn, so that they share the machine's conditions.
                for program in args.velmora:
                    with tempfile.TemporaryDirectory(prefix="velmora-real-cost-") as folder:
                        print(f"  {program}:", end="", flush=True)
                        results[program].append(run(args, program, folder))
            for program, runs in results.items():
                medians = {key: statistics.median(r[key] for r in runs) for key in runs[0]}
                print(f"median of {len(runs)} at {total} processes, {program}: " +
                      ", ".join(f"{key} {value:.3f}" for key, value in medians.items()),
                      flush=True)
        finally:
            crowd.close()
    print(f"load average {load()}", flush=True)


if __name__ == "__main__":
    main()
