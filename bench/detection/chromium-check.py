#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Live check with a real browser: Chromium started after the monitor, one tab leaking while
other tabs open and close, watched by the real monitor (`velmora ui-backend`) under its default
settings.

It installs nothing; Chromium comes from Debian (`apt-get install chromium`). Run it by hand
from the repository root once the monitor is built (it is not a CI job; it takes about
15 minutes and 1 GiB of memory):

    python3 bench/detection/chromium-check.py --velmora build/bin/velmora --minutes 14

What it does:
  * starts `velmora ui-backend` first, with HOME and the XDG folders in a fresh temporary
    folder (as live-check.py does), and waits for its first scan;
  * serves two pages on 127.0.0.1 (an ephemeral port): a leaking page that keeps 40 MiB at
    load, then 10 MiB more a minute in an array of filled typed arrays (its timer catches up
    with the clock, so throttled timers still give the same growth), and a plain page that
    holds 80 MiB while open. The plain page is asked for as "localhost", another site, so
    the browser never puts it in the leaking tab's process;
  * starts Chromium through /usr/bin/chromium, Debian's launcher script that execs the browser
    (so the monitor has to follow the exec), headless, with a fresh profile, no sandbox (it runs
    as root), no network of its own, and its DevTools HTTP endpoint on a free local port;
  * opens the leaking tab, finds its renderer process, then every 15 s opens a plain tab that
    it closes 40 s later;
  * asks the monitor for a snapshot every few seconds, prints a line whenever the browser's
    row changes (a row is the browser's when its family's top process is one of the browser's
    processes, or its title names the browser), and a line every minute with the leaking tab's
    footprint;
  * at the end prints how many rows the browser's processes made (there must be one: one
    family), the row's title (it must name the browser, not the launcher's shell), and the
    time from the leaking renderer's birth to "suspect" against its deadline: growth of
    2 MB/min that has added 5 % of the footprint over at least 6 minutes is suspect 2 minutes
    later (8 minutes for this tab);
  * ends everything it started at the end, on Ctrl-C and on SIGTERM.

Exit status: 0 when the check passes, 1 when it fails, 2 when it could not run (Chromium
missing, the browser or the monitor dying, the leaking tab not growing), 130 when interrupted.
A run shorter than the deadline judges only the rows and the title.
"""

import argparse
import importlib.util
import json
import os
import signal
import socket
import sys
import tempfile
import threading
import time
import shutil
import subprocess
import urllib.error
import urllib.parse
import urllib.request
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from types import SimpleNamespace

HERE = os.path.dirname(os.path.abspath(__file__))


def load_live_check():
    spec = importlib.util.spec_from_file_location("live_check",
                                                  os.path.join(HERE, "live-check.py"))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


live = load_live_check()
Failure = live.Failure
Stop = live.Stop
clock = live.clock
read_text = live.read_text
RANK = live.RANK
SUSPECT = live.SUSPECT

LEAK_BASE_MIB = 40
LEAK_RATE_MIB = 10      # per minute
PLAIN_MIB = 80
OPEN_EVERY_SEC = 15
PLAIN_LIFE_SEC = 40
SHELL_TITLES = {"sh", "dash", "bash", "chromium.sh"}

# Each page fills what it keeps, so the pages are resident, and shows how much it holds in its
# title, which /json/list reports.
LEAK_PAGE = """<!doctype html><title>leak 0</title><body>leaking</body><script>
const kept = [];
const start = performance.now();
function keep() {
  const want = %d + %d * (performance.now() - start) / 60000;
  while (kept.length < want) {
    const block = new Uint8Array(1 << 20);
    block.fill(1 + kept.length %% 250);
    kept.push(block);
  }
  document.title = "leak " + kept.length;
}
keep();
setInterval(keep, 1000);
</script>""" % (LEAK_BASE_MIB, LEAK_RATE_MIB)

PLAIN_PAGE = """<!doctype html><title>plain</title><body>plain</body><script>
const kept = [];
for (let i = 0; i < %d; i++) {
  const block = new Uint8Array(1 << 20);
  block.fill(1 + i %% 250);
  kept.push(block);
}
document.title = "plain " + kept.length;
</script>""" % PLAIN_MIB


class Pages(BaseHTTPRequestHandler):
    def do_GET(self):
        body = {"/leak": LEAK_PAGE, "/plain": PLAIN_PAGE}.get(self.path)
        if body is None:
            self.send_error(404)
            return
        data = body.encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(data)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(data)

    def log_message(self, format, *args):
        pass


def serve_pages():
    server = ThreadingHTTPServer(("127.0.0.1", 0), Pages)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


# ---------------------------------------------------------------------------------------------
# The browser and its DevTools HTTP endpoint

class Browser:
    def __init__(self, launcher, run_dir, scoped):
        self.port = free_port()
        self.profile = profile = os.path.join(run_dir, "profile")
        command = [launcher, "--headless=new", "--no-sandbox", "--disable-gpu",
                   "--disable-quic", "--no-first-run", "--disable-background-networking",
                   "--disable-component-update", "--disable-sync", "--no-proxy-server",
                   "--user-data-dir=" + profile,
                   "--remote-debugging-port=%d" % self.port, "about:blank"]
        if scoped:
            command = ["systemd-run", "--user", "--scope", "--quiet", "--collect", "--unit",
                       "velmora-chromium-%d" % os.getpid(), "--"] + command
        self.log_path = os.path.join(run_dir, "chromium.log")
        self.log = open(self.log_path, "wb")
        # The loopback endpoint needs no proxy, whatever the environment says.
        self.http = urllib.request.build_opener(urllib.request.ProxyHandler({}))
        try:
            self.proc = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=self.log,
                                         stderr=self.log, start_new_session=True)
        except OSError as error:
            raise Failure("cannot start %s: %s" % (launcher, error))
        self.pids = {self.proc.pid}  # every process of the browser seen so far

    def call(self, path, method="GET"):
        request = urllib.request.Request("http://127.0.0.1:%d%s" % (self.port, path),
                                         method=method)
        with self.http.open(request, timeout=10) as answer:
            text = answer.read().decode("utf-8", "replace")
        try:
            return json.loads(text)
        except ValueError:
            return text

    def wait_ready(self, timeout=40.0):
        until = time.monotonic() + timeout
        while time.monotonic() < until:
            self.check_alive()
            try:
                return self.call("/json/version")
            except (urllib.error.URLError, OSError):
                time.sleep(0.5)
        raise Failure("Chromium's DevTools endpoint did not answer within %.0f s%s"
                      % (timeout, self.log_tail()))

    def open_tab(self, url):
        return self.call("/json/new?" + urllib.parse.quote(url, safe=":/?=&"), "PUT")["id"]

    def close_tab(self, tab):
        try:
            self.call("/json/close/" + tab)
        except (urllib.error.URLError, OSError):
            pass

    def tab_title(self, tab):
        for target in self.call("/json/list"):
            if target.get("id") == tab:
                return target.get("title", "")
        return None

    def check_alive(self):
        if self.proc.poll() is not None:
            raise Failure("Chromium ended (status %s)%s" % (self.proc.returncode,
                                                             self.log_tail()))

    def log_tail(self):
        self.log.flush()
        tail = (read_text(self.log_path) or "").strip().splitlines()[-5:]
        return "".join("\n    " + t for t in tail)

    def processes(self):
        """The browser's live processes, remembered in self.pids."""
        if self.proc.poll() is None:
            self.pids.update(live.descendants(self.proc.pid))
        return [p for p in self.pids if os.path.exists("/proc/%d" % p)]

    def renderers(self):
        found = []
        for p in self.processes():
            # The browser rewrites its processes' command lines as one string.
            args = (read_text("/proc/%d/cmdline" % p) or "").replace("\0", " ").split()
            if "--type=renderer" in args and "--extension-process" not in args:
                found.append(p)
        return found

    def stop(self):
        live.stop_classes([SimpleNamespace(proc=self.proc)])
        # Whatever left the tree: the crash handlers go to a session of their own, so they are
        # found by the profile folder on their command line.
        for p in processes_mentioning(self.profile):
            try:
                os.kill(p, signal.SIGKILL)
            except (ProcessLookupError, PermissionError):
                pass
        self.log.close()


def processes_mentioning(text):
    found = []
    for entry in os.listdir("/proc"):
        if entry.isdigit() and text in (read_text("/proc/%s/cmdline" % entry) or ""):
            found.append(int(entry))
    return found


def birth_monotonic(pid):
    """The monotonic time at which a process started."""
    stat = read_text("/proc/%d/stat" % pid)
    uptime = read_text("/proc/uptime")
    if not stat or not uptime:
        raise Failure("process %d ended before it could be measured" % pid)
    started = int(stat.rsplit(")", 1)[1].split()[19]) / os.sysconf("SC_CLK_TCK")
    return time.monotonic() - (float(uptime.split()[0]) - started)


def steady_growth_deadline(base_mib, rate_mib):
    """Minutes from birth by which steady growth must be suspect: growth that has added 5 % of
    the footprint over at least 6 minutes is suspect 2 minutes later."""
    to_five_percent = 0.05 * base_mib / (0.95 * rate_mib)
    return max(6.0, to_five_percent) + 2.0


# ---------------------------------------------------------------------------------------------

class Watch:
    """What the browser's rows did over the run."""

    def __init__(self):
        self.keys = {}         # row key -> its titles
        self.state = None      # (key, title, verdict) of each browser row at the last poll
        self.first_suspect = None  # monotonic time
        self.suspect_title = None
        self.peak = "normal"

    def belongs(self, row, pids):
        parts = row["key"].split(":")
        if parts[0] == "proc" and len(parts) >= 3 and parts[-2].isdigit():
            if int(parts[-2]) in pids:
                return True
        return "chrom" in row["title"].lower()

    def note(self, rows, pids, now):
        mine = [r for r in rows if self.belongs(r, pids)]
        for r in mine:
            self.keys.setdefault(r["key"], set()).add(r["title"])
            if RANK[r["verdict"]] > RANK[self.peak]:
                self.peak = r["verdict"]
            if RANK[r["verdict"]] >= SUSPECT and self.first_suspect is None:
                self.first_suspect = now
                self.suspect_title = r["title"]
        state = sorted((r["key"], r["title"], r["verdict"], r["rate"]) for r in mine)
        changed = state != self.state
        self.state = state
        return changed, mine


def parse_args():
    parser = argparse.ArgumentParser(
        description="Watch a real Chromium with one leaking tab with the real monitor.",
        formatter_class=argparse.RawDescriptionHelpFormatter,
        epilog="\n\n".join(__doc__.split("\n\n")[1:3]))
    parser.add_argument("--velmora", default="build/bin/velmora",
                        help="the velmora executable (build/bin/velmora)")
    parser.add_argument("--chromium", default="/usr/bin/chromium",
                        help="the launcher that starts the browser (/usr/bin/chromium)")
    parser.add_argument("--minutes", type=float, default=14.0,
                        help="length of the run from the leaking tab's opening (14)")
    parser.add_argument("--poll", type=float, default=5.0,
                        help="seconds between snapshot requests (5)")
    parser.add_argument("--keep", action="store_true",
                        help="keep the temporary folder (the monitor's and the browser's logs)")
    return parser.parse_args()


def find_leaking_renderer(browser, tab, timeout=30.0):
    """Waits for the leaking page to hold its first memory; its renderer is then the largest."""
    until = time.monotonic() + timeout
    while time.monotonic() < until:
        browser.check_alive()
        title = browser.tab_title(tab) or ""
        if title.startswith("leak ") and int(title.split()[1] or 0) >= LEAK_BASE_MIB:
            renderers = browser.renderers()
            if renderers:
                return max(renderers, key=live.footprint_mib)
        time.sleep(0.5)
    raise Failure("the leaking page did not load within %.0f s" % timeout)


def run(args, run_dir, started):
    """The run itself; returns its figures for the report."""
    velmora = os.path.abspath(args.velmora)
    home = os.path.join(run_dir, "home")
    os.makedirs(home)
    scoped = live.use_scopes("auto")
    server = serve_pages()
    port = server.server_address[1]
    started["server"] = server

    monitor = live.Monitor(velmora, home, os.path.join(run_dir, "velmora-stderr.log"))
    started["monitor"] = monitor
    monitor.wait_for_first_scan()
    print("Monitor %s started (PID %d), its data in %s" % (velmora, monitor.proc.pid, home))

    browser = Browser(args.chromium, run_dir, scoped)
    started["browser"] = browser
    version = browser.wait_ready()
    print("Browser %s started through %s (PID %d), DevTools on port %d"
          % (version.get("Browser", "?") if isinstance(version, dict) else "?",
             args.chromium, browser.proc.pid, browser.port))

    leak_tab = browser.open_tab("http://127.0.0.1:%d/leak" % port)
    leaker = find_leaking_renderer(browser, leak_tab)
    born = birth_monotonic(leaker)
    base = live.footprint_mib(leaker)
    deadline = steady_growth_deadline(base, LEAK_RATE_MIB) * 60
    print("Leaking tab in renderer PID %d, %.0f MiB at %s after its birth; it keeps %d MiB/min "
          "more; deadline %s from its birth" % (leaker, base, clock(time.monotonic() - born),
                                                LEAK_RATE_MIB, clock(deadline)))
    print("Plain tabs of %d MiB: one opens every %d s and closes %d s later."
          % (PLAIN_MIB, OPEN_EVERY_SEC, PLAIN_LIFE_SEC))
    print()

    watch = Watch()
    plain = []  # (close at, tab)
    opened = 0
    end = born + args.minutes * 60
    next_open = time.monotonic()
    next_poll = time.monotonic()
    next_minute = 1
    footprint = base
    polls = 0
    while True:
        now = time.monotonic()
        if now >= end:
            break
        browser.check_alive()
        for close_at, tab in [p for p in plain if p[0] <= now]:
            browser.close_tab(tab)
            plain.remove((close_at, tab))
        if now >= next_open:
            plain.append((now + PLAIN_LIFE_SEC,
                          browser.open_tab("http://localhost:%d/plain" % port)))
            opened += 1
            next_open += OPEN_EVERY_SEC
        if now >= next_poll:
            next_poll += args.poll
            rows, _ = live.rows_of(monitor.request())
            polls += 1
            pids = set(browser.processes()) | browser.pids
            if not os.path.exists("/proc/%d" % leaker):
                raise Failure("the leaking tab's renderer (PID %d) ended" % leaker)
            footprint = live.footprint_mib(leaker)
            changed, mine = watch.note(rows, pids, now)
            if changed:
                text = "; ".join("%s %r %s%s" % (r["key"], r["title"], r["verdict"],
                                                 " (" + r["rate"] + ")" if r["rate"] else "")
                                 for r in mine) or "no row (normal)"
                print("  %6s browser: %s" % (clock(now - born), text), flush=True)
            while now - born >= next_minute * 60:
                print("  %6s leaking tab %.0f MiB, %d browser processes, %d plain tabs open"
                      % (clock(next_minute * 60), footprint, len(browser.processes()),
                         len(plain)), flush=True)
                next_minute += 1
        time.sleep(max(0.05, min(next_poll, next_open, end,
                                 min((p[0] for p in plain), default=end)) - time.monotonic()))

    lived = time.monotonic() - born
    return SimpleNamespace(watch=watch, born=born, deadline=deadline, lived=lived, base=base,
                           footprint=footprint, opened=opened, polls=polls, leaker=leaker,
                           leak_title=browser.tab_title(leak_tab))


def report(r):
    """Prints the figures; returns True when the run passes."""
    w = r.watch
    print()
    print("After %s from the leaking renderer's birth (%d snapshots, %d plain tabs opened):"
          % (clock(r.lived), r.polls, r.opened))
    grew = (r.footprint - r.base) / max(1e-9, r.lived / 60)
    print("  leaking tab: %.0f MiB -> %.0f MiB (about %.1f MiB/min; its page says %r)"
          % (r.base, r.footprint, grew, r.leak_title))
    passed = True
    rows = len(w.keys)
    one = rows == 1
    print("  rows of the browser's processes: %d%s -- %s" % (
        rows, "".join("\n      %s titled %s" % (k, ", ".join(sorted(t)))
                      for k, t in sorted(w.keys.items())),
        "ok" if one else "FAIL (must be one family)"))
    passed &= one
    titles = set().union(*w.keys.values()) if w.keys else set()
    named = bool(titles) and all("chrom" in t.lower() and t not in SHELL_TITLES for t in titles)
    print("  title: %s -- %s" % (", ".join(sorted(titles)) or "(no row)",
                                 "ok" if named else "FAIL (must name the browser)"))
    passed &= named
    if w.first_suspect is not None:
        at = w.first_suspect - r.born
        status = "ok" if at <= r.deadline else "LATE"
        print("  suspect at %s from the renderer's birth (row %r); deadline %s -- %s"
              % (clock(at), w.suspect_title, clock(r.deadline), status))
        passed &= at <= r.deadline
    elif r.lived >= r.deadline:
        print("  never suspect (peak %s); deadline %s -- MISSED" % (w.peak, clock(r.deadline)))
        passed = False
    else:
        print("  not suspect before the run ended (peak %s); deadline %s -- not judged"
              % (w.peak, clock(r.deadline)))
    if grew < LEAK_RATE_MIB / 2:
        raise Failure("the leaking tab grew only %.1f MiB/min: the check proves nothing" % grew)
    return passed


def main():
    args = parse_args()
    if not (os.path.isfile(args.chromium) and os.access(args.chromium, os.X_OK)):
        raise Failure("%s is missing: install Chromium first (apt-get install chromium)"
                      % args.chromium)
    if not (os.path.isfile(args.velmora) and os.access(args.velmora, os.X_OK)):
        raise Failure("%s is not an executable file" % args.velmora)
    if args.minutes <= 0 or args.poll <= 0:
        raise Failure("--minutes and --poll must be positive")
    if live.processes_named({"chromium"}):
        print("warning: a Chromium is already running; its rows may mix with this run's")

    run_dir = tempfile.mkdtemp(prefix="velmora-chromium-")
    started = {}
    figures = None
    interrupted = False

    live.catch_signals()
    try:
        figures = run(args, run_dir, started)
    except (KeyboardInterrupt, Stop) as reason:
        interrupted = True
        live.say_interrupted(reason)
    finally:
        live.ignore_signals()
        if "browser" in started:
            started["browser"].stop()
        if "monitor" in started:
            started["monitor"].stop()
        if "server" in started:
            started["server"].shutdown()
        if args.keep:
            print("Kept %s" % run_dir)
        else:
            shutil.rmtree(run_dir, ignore_errors=True)
    if interrupted:
        return 130
    passed = report(figures)
    print()
    print("PASS" if passed else "FAIL")
    return 0 if passed else 1


if __name__ == "__main__":
    live.exit_with(main, "chromium-check")
