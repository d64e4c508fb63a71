#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Soak of the tray app: velmora-ui under Xvfb with a tray host and the scripted soak backend
replaying a changing day at the fastest polling (500 ms). The popover is opened and closed
through the tray icon every few seconds (xdotool), and the app's soak driver
(--soak-drive-seconds) walks the surfaces in a loop: a row's detail opened and closed, the
advanced history, one offender's detail, back to the live rows. So the visible popover, both
detail views, the history list and the hidden re-renders are all exercised. Anonymous memory (smaps_rollup "Anonymous:") and CPU
time are sampled every minute; after the warm-up the least-squares slope and the change over
the measured window are printed with PASS when memory changes by less than 1 MB over the hour.

  bench/soak/ui-soak.py --ui build/bin/velmora-ui --backend build/bench/soak_backend \
      [--warmup-min 10] [--measure-min 60] [--sample-s 60] [--click-s 7] [--csv out.csv]

Runs itself under xvfb-run when DISPLAY is unset. Needs Xvfb, trayer and xdotool; standard
library only. The app keeps one instance per executable path, so two soaks at once need two
copies of the binary. The backend is bench/soak/soak_backend.cpp (built with the benchmarks);
it answers the history requests with the scenario library's offenders and their details.
"""
import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

LIMIT_KB_PER_HOUR = 1024


def anonymous_kb(pid):
    with open(f"/proc/{pid}/smaps_rollup") as f:
        for line in f:
            if line.startswith("Anonymous:"):
                return int(line.split()[1])
    return 0


def rss_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def slope_per_minute(points):
    n = len(points)
    if n < 2:
        return 0.0
    mx = sum(x for x, _ in points) / n
    my = sum(y for _, y in points) / n
    sxx = sum((x - mx) ** 2 for x, _ in points)
    sxy = sum((x - mx) * (y - my) for x, y in points)
    return sxy / sxx if sxx else 0.0


def tray_icon_window(env):
    """The tray icon's embedded window, found as the child of trayer's window."""
    try:
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", "velmora"],
                             env=env, capture_output=True, text=True, timeout=5).stdout.split()
        return out[0] if out else None
    except (OSError, subprocess.TimeoutExpired):
        return None


def click(env, window):
    subprocess.run(["xdotool", "mousemove", "--window", window, "5", "5", "click", "1"],
                   env=env, capture_output=True, timeout=5)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--ui", required=True)
    parser.add_argument("--backend", required=True)
    parser.add_argument("--warmup-min", type=float, default=10)
    parser.add_argument("--measure-min", type=float, default=60)
    parser.add_argument("--sample-s", type=float, default=60)
    parser.add_argument("--click-s", type=float, default=7,
                        help="open or close the popover this often (0: never)")
    parser.add_argument("--drive-s", type=int, default=3,
                        help="seconds between the soak driver's steps (0: no driver)")
    parser.add_argument("--csv")
    parser.add_argument("--wrapper", default="", help="command prefix, e.g. 'heaptrack -o out'")
    args = parser.parse_args()

    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1366x768x24",
                               sys.executable, os.path.abspath(__file__)] + sys.argv[1:])

    home = tempfile.mkdtemp(prefix="velmora-soak-")
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=f"{home}/.config",
               XDG_DATA_HOME=f"{home}/.local/share", XDG_CACHE_HOME=f"{home}/.cache",
               VELMORA_BACKEND_BIN=os.path.abspath(args.backend))
    runtime = f"{home}/run"
    os.makedirs(runtime, mode=0o700)
    env["XDG_RUNTIME_DIR"] = runtime

    tray = subprocess.Popen(["trayer", "--edge", "top", "--align", "right", "--widthtype",
                             "request", "--height", "24"], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(2)
    command = args.wrapper.split() + [os.path.abspath(args.ui)]
    if args.drive_s:
        command += ["--soak-drive-seconds", str(args.drive_s)]
    ui = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                          stderr=open(f"{home}/ui.log", "w"))
    pid = ui.pid
    if args.wrapper:
        # The wrapper starts the app as its child: measure the app itself.
        deadline = time.time() + 20
        while time.time() < deadline:
            children = open(f"/proc/{ui.pid}/task/{ui.pid}/children").read().split()
            names = [(c, open(f"/proc/{c}/comm").read().strip()) for c in children
                     if os.path.exists(f"/proc/{c}/comm")]
            found = [c for c, name in names if name.startswith("velmora-ui")]
            if found:
                pid = int(found[0])
                break
            time.sleep(0.5)

    csv = open(args.csv, "w") if args.csv else None
    if csv:
        csv.write("minute,anonymous_kb,rss_kb,cpu_s\n")
    print(f"velmora-ui pid {pid}, home {home}; warm-up {args.warmup_min} min, "
          f"measured {args.measure_min} min", flush=True)
    start = time.time()
    end = start + 60 * (args.warmup_min + args.measure_min)
    next_sample = start
    next_click = start + 5
    icon = None
    samples = []
    previous_cpu = None
    try:
        while time.time() < end:
            if ui.poll() is not None:
                print(f"FAIL: velmora-ui ended with status {ui.returncode}", flush=True)
                return 1
            now = time.time()
            if args.click_s and now >= next_click:
                icon = icon or tray_icon_window(env)
                if icon:
                    click(env, icon)
                next_click = now + args.click_s
            if now >= next_sample:
                minute = (now - start) / 60
                anon, rss, cpu = anonymous_kb(pid), rss_kb(pid), cpu_seconds(pid)
                cpu_share = ""
                if previous_cpu:
                    cpu_share = f" cpu {100 * (cpu - previous_cpu[1]) / (now - previous_cpu[0]):5.1f} %"
                previous_cpu = (now, cpu)
                samples.append((minute, anon, rss, cpu))
                phase = "warm-up" if minute < args.warmup_min else "measured"
                print(f"{minute:7.2f} min  anonymous {anon:7d} kB  rss {rss:7d} kB  "
                      f"cpu time {cpu:8.1f} s{cpu_share}  ({phase})", flush=True)
                if csv:
                    csv.write(f"{minute:.3f},{anon},{rss},{cpu:.2f}\n")
                    csv.flush()
                next_sample += args.sample_s
            time.sleep(min(1.0, max(0.05, min(next_sample, next_click) - time.time())))
    finally:
        ui.send_signal(signal.SIGTERM)
        try:
            ui.wait(timeout=30)
        except subprocess.TimeoutExpired:
            ui.kill()
        tray.terminate()
        tray.wait()
        if csv:
            csv.close()

    measured = [(m, a) for m, a, _, _ in samples if m >= args.warmup_min]
    if len(measured) < 2:
        print("FAIL: too few samples after the warm-up")
        return 1
    slope = slope_per_minute(measured)
    span = measured[-1][0] - measured[0][0]
    change = measured[-1][1] - measured[0][1]
    per_hour = slope * 60
    cpu_total = samples[-1][3] - samples[0][3]
    wall = 60 * (samples[-1][0] - samples[0][0])
    print(f"after warm-up: {len(measured)} samples over {span:.1f} min; "
          f"slope {slope:+.1f} kB/min = {per_hour / 1024:+.3f} MB/hour; "
          f"change {change:+d} kB (first {measured[0][1]} kB, last {measured[-1][1]} kB, "
          f"min {min(a for _, a in measured)} kB, max {max(a for _, a in measured)} kB); "
          f"mean CPU {100 * cpu_total / wall if wall else 0:.1f} %")
    passed = abs(per_hour) < LIMIT_KB_PER_HOUR and abs(change) * 60 / max(span, 60) < LIMIT_KB_PER_HOUR
    print(("PASS" if passed else "FAIL") + ": anonymous memory must change by less than 1 MB per hour")
    shutil.rmtree(home, ignore_errors=True)
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
