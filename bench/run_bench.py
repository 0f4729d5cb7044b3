#!/usr/bin/python3
"""Benchmarks of configurador-adsl beside a pexpect peer (scripts/bench.sh runs this).

Every session runs through a real serial port stack against tools/modem-sim on a
pseudo-terminal: the program as bench-session (the real loading screen, QSerialPort,
the real clock), the peer as peer_pexpect.py. Times on the line are taken at the
modem's side of the pseudo-terminal from modem-sim's timing log, so neither side is
instrumented. See docs/performance.md for the method and the results.

With --platform xcb the program's window is a real one, on an Xvfb of the run's own
(painting on), instead of Qt's offscreen platform.
"""

import argparse
import concurrent.futures
import os
import platform
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import models
import startup
import timing_log

HERE = os.path.dirname(os.path.abspath(__file__))
PEER = os.path.join(HERE, "peer_pexpect.py")
PYTHON = "/usr/bin/python3"  # Debian's, with python3-pexpect
PHONE = "900123456"
POWER_ON = "Por favor, encienda o reinicie el módem ADSL"
CONFIGURED = "Se ha realizado con éxito la configuración del módem ADSL"
NO_MODEM = "No se ha podido conectar con el módem ADSL"

# The environment the program's window runs in: offscreen, or a real X server.
WINDOW_ENV = dict(os.environ, QT_QPA_PLATFORM="offscreen")


class Tools:
    def __init__(self, build):
        self.sim = os.path.join(build, "tools", "modem-sim")
        self.session = os.path.join(build, "bench", "bench-session")
        self.program = os.path.join(build, "src", "configurador-adsl")


class Modem:
    """modem-sim in its own application directory, serving Com1 there."""

    def __init__(self, tools, model, options):
        self.folder = tempfile.TemporaryDirectory()
        self.dir = self.folder.name
        self.log = os.path.join(self.dir, "timing.log")
        self.process = subprocess.Popen(
            [tools.sim, "--model", model, "--app-dir", self.dir, "--com", "1", "--timing-log", self.log] + options,
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.port = self.process.stdout.readline().strip()
        if not self.port:
            raise RuntimeError("modem-sim --model %s: %s" % (model, self.process.stderr.read().strip()))
        # The modem is on before the session starts: its banner is out (and dropped
        # when the port opens), so the first prompt answers a wake-up, every time.
        time.sleep(0.5)

    def stop(self):
        self.process.send_signal(signal.SIGTERM)
        self.process.wait()
        chunks = timing_log.read(self.log)
        keep_timing_log(self.log, self.process.pid)
        self.folder.cleanup()
        return chunks


def keep_timing_log(path, pid):
    """With ADSL_BENCH_KEEP set, the modem's timing log is copied into that folder as
    <modem-sim pid>.log, for bench/late_lines.py."""
    folder = os.environ.get("ADSL_BENCH_KEEP")
    if folder and os.path.exists(path):
        os.makedirs(folder, exist_ok=True)
        shutil.copy(path, os.path.join(folder, "%d.log" % pid))


def parse_events(output):
    """[(event, seconds, cpu seconds, text)] from bench-session or the peer."""
    events = []
    for line in output.splitlines():
        parts = line.split(" ", 3)
        if len(parts) >= 3:
            events.append((parts[0], float(parts[1]), float(parts[2]), parts[3] if len(parts) > 3 else ""))
    return events


def find(events, name, text=""):
    return next((e for e in events if e[0] == name and text in e[3]), None)


def config_path(folder):
    return os.path.join(folder, "Configuraciones", PHONE + ".cfg")


def config_lines(folder):
    """The command lines of the subscriber's file, as the sequences send them."""
    with open(config_path(folder), "rb") as config:
        lines = config.read().decode("cp1252").split("\r\n")
    body = lines[lines.index("--Inicio") + 3:]
    return [line for line in body if line and not line.startswith("#")]


def example_file(tools, model, mode, folder):
    """Writes the subscriber's file into the folder, as bench-session would; its path."""
    subprocess.run([tools.session, "--app-dir", folder, "--model", model, "--mode", mode, "--write-only"],
                   env=dict(os.environ, QT_QPA_PLATFORM="offscreen"), check=True, capture_output=True)
    return config_path(folder)


def run_program(tools, model, mode, options):
    """One session of the program: (events, timing chunks, the file's command lines)."""
    modem = Modem(tools, model, options)
    env = WINDOW_ENV
    try:
        out = subprocess.run([tools.session, "--app-dir", modem.dir, "--model", model, "--mode", mode],
                             env=env, capture_output=True, text=True, timeout=300)
        lines = config_lines(modem.dir)
    finally:
        chunks = modem.stop()
    return parse_events(out.stdout), chunks, lines


def run_peer(tools, config, options, wait_only=False):
    modem = Modem(tools, "efficient", options)
    try:
        out = subprocess.run([PYTHON, PEER, "--port", modem.port, "--file", config] +
                             (["--wait-only"] if wait_only else []),
                             capture_output=True, text=True, timeout=300)
    finally:
        chunks = modem.stop()
    return parse_events(out.stdout), chunks


def instant(model):
    return ["--instant", "--line-rate", str(model.baud)]


class Results:
    def __init__(self):
        self.rows = []    # (measure, program, peer, goal, met)
        self.notes = []

    def add(self, measure, program, peer, goal, met):
        self.rows.append((measure, program, peer, goal, "yes" if met else ("no" if met is not None else "-")))


def idle_wait(tools, config, results):
    """Both sides against a silent modem at once: nothing runs but their waits."""
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        ours = pool.submit(run_program, tools, "efficient", "dhcp", ["--behaviour", "silent"])
        theirs = pool.submit(run_peer, tools, config, ["--behaviour", "silent"], True)
        events, _, _ = ours.result()
        peer_events, _ = theirs.result()
    shares = []
    for begin, end in ((find(events, "box", POWER_ON), find(events, "box", NO_MODEM)),
                       (find(peer_events, "start"), find(peer_events, "no-prompt"))):
        if begin is None or end is None:
            shares.append(None)
            continue
        cpu, wall = end[2] - begin[2], end[1] - begin[1]
        shares.append((100.0 * cpu / wall, cpu, wall))
    text = ["%.3f %% (%.1f ms CPU in %.1f s)" % (s[0], s[1] * 1000, s[2]) if s else "failed" for s in shares]
    met = shares[0] is not None and shares[0][0] <= 0.1
    results.add("First-prompt wait, silent modem: CPU share", text[0], text[1], "<= 0.1 %", met)


def session_figures(model, events, chunks, lines, begin_name, begin_text, end_name, end_text):
    begin, end = find(events, begin_name, begin_text), find(events, end_name, end_text)
    if begin is None or end is None:
        return None
    commands = model.script_lines(lines)
    bound, pauses, carried = model.lower_bound(chunks, commands)
    times = timing_log.find_commands(chunks, commands)
    return {"seconds": end[1] - begin[1], "bound": bound, "pauses": pauses, "bytes": carried,
            "turnarounds": timing_log.turnarounds(chunks, times), "cpu": end[2] - begin[2]}


def peer_session(tools, model, mode, lines):
    with tempfile.TemporaryDirectory() as folder:
        config = example_file(tools, model.name, mode, folder)
        events, chunks = run_peer(tools, config, instant(model))
    return session_figures(model, events, chunks, lines, "start", "", "configured", "")


def model_sessions(tools, model, mode, runs, results):
    """Runs of one model and mode, the peer's alternating with the program's for the
    Efficient: ([program's figures], [peer's figures])."""
    ours, theirs = [], []
    for _ in range(runs):
        events, chunks, lines = run_program(tools, model.name, mode, instant(model))
        figures = session_figures(model, events, chunks, lines, "box", POWER_ON, "box", CONFIGURED)
        if figures is None:
            results.notes.append("%s %s: the program's session did not succeed." % (model.label, mode))
            break
        ours.append(figures)
        if model.name == "efficient":
            peer = peer_session(tools, model, mode, lines)
            if peer is not None:
                theirs.append(peer)
    return ours, theirs


def sessions(tools, runs, results, available):
    turnarounds = {"program": [], "peer": []}
    for model in models.MODELS:
        if model.name not in available:
            results.notes.append("%s: no simulated console or no loading sequence yet; not measured."
                                 % model.label)
            continue
        for mode in ("dhcp", "napt"):
            ours, theirs = model_sessions(tools, model, mode, runs, results)
            if not ours:
                continue
            add_session_row(results, model, mode, ours, theirs)
            key = "program" if model.name == "efficient" else model.name
            turnarounds.setdefault(key, []).extend(t for f in ours for t in f["turnarounds"])
            turnarounds["peer"].extend(t for f in theirs for t in f["turnarounds"])
    add_turnaround_rows(results, turnarounds)


def describe_session(figures):
    """Median time and median excess over the bound, over the runs."""
    seconds = timing_log.median([f["seconds"] for f in figures])
    over = timing_log.median([100.0 * (f["seconds"] / f["bound"] - 1.0) for f in figures])
    return over, "%.3f s, L + %.1f %%" % (seconds, over)


def add_session_row(results, model, mode, ours, theirs):
    over, text = describe_session(ours)
    peer_text = describe_session(theirs)[1] if theirs else "-"
    bound = timing_log.median([f["bound"] for f in ours])
    measure = "%s session (%s), instant modem at %d baud: L = %.3f s (%.1f s pauses + %d bytes)" % (
        model.label, mode.upper(), model.baud, bound, ours[0]["pauses"], ours[0]["bytes"])
    results.add(measure, text + " (median of %d)" % len(ours), peer_text, "<= L + 5 %", over <= 5.0)


def add_turnaround_rows(results, samples):
    def describe(values):
        if not values:
            return "-", None, None
        median, p99 = timing_log.median(values) * 1000, timing_log.percentile(values, 0.99) * 1000
        over = sum(1 for value in values if value > 0.001)
        text = "%.3f ms / %.3f ms (%d lines, %d over 1 ms)" % (median, p99, len(values), over)
        return text, median, p99

    ours, median, p99 = describe(samples["program"])
    peer, peer_median, _ = describe(samples["peer"])
    met = median is not None and peer_median is not None and median <= peer_median and p99 <= 1.0
    results.add("Turnaround prompt -> next line, Efficient script: median / p99", ours, peer,
                "median <= peer's, p99 <= 1 ms", met)
    for name in ("office", "pro"):
        if samples.get(name):
            text, _, p99 = describe(samples[name])
            results.add("Turnaround, %s script: median / p99" % models.by_name(name).label, text, "-",
                        "p99 <= 1 ms", p99 <= 1.0)


def start_up(tools, runs, results):
    ours = startup.measure_program(tools.program, runs)
    theirs = startup.measure_peer(PYTHON, runs)
    if ours is None:
        results.notes.append("Start-up: the main menu was not seen under Xvfb.")
        return
    results.add("Start-up: launch to main menu mapped (Xvfb; peer: interpreter with pexpect loaded)",
                "%.0f ms" % (ours["seconds"] * 1000), "%.0f ms" % (theirs["seconds"] * 1000), "-", None)
    results.add("Peak memory (VmHWM; peer: ru_maxrss)", "%.1f MiB" % (ours["peak"] / 2**20),
                "%.1f MiB" % (theirs["peak"] / 2**20), "-", None)


def models_available(tools):
    """The models modem-sim can play; one the loader cannot load shows as a failed session."""
    help_text = subprocess.run([tools.sim, "--help"], capture_output=True, text=True).stdout
    return [m.name for m in models.MODELS if m.name in help_text]


def machine():
    cpu = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo") if line.startswith("model name")),
               platform.processor())
    load = open("/proc/loadavg").read().split()[:3]
    return "%s, %d CPUs, %s; load average %s" % (cpu, os.cpu_count(), platform.platform(), " ".join(load))


def print_table(results):
    print()
    print("| Measure | configurador-adsl | pexpect peer | Goal | Met |")
    print("|---|---|---|---|---|")
    for row in results.rows:
        print("| " + " | ".join(row) + " |")
    for note in results.notes:
        print("\n- " + note)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(HERE, "..", "build-bench"))
    parser.add_argument("--runs", type=int, default=5, help="sessions per model and mode (default 5)")
    parser.add_argument("--skip", action="append", default=[], choices=["idle", "sessions", "startup"])
    parser.add_argument("--session", help="a bench-session of another build, to compare before and after")
    parser.add_argument("--platform", choices=["offscreen", "xcb"], default="offscreen",
                        help="where the program's window is: Qt's offscreen platform or a real X server (Xvfb)")
    args = parser.parse_args()
    global WINDOW_ENV
    x_server = None
    if args.platform == "xcb":
        x_server = startup.XServer()
        WINDOW_ENV = dict(x_server.env, QT_QPA_PLATFORM="xcb")
    tools = Tools(os.path.abspath(args.build))
    if args.session:
        tools.session = os.path.abspath(args.session)
    results = Results()
    print("Machine: " + machine(), flush=True)
    print("Window: " + ("a real X server (Xvfb %s, xcb)" % x_server.display if x_server else "offscreen"),
          flush=True)
    with tempfile.TemporaryDirectory() as folder:
        if "sessions" not in args.skip:
            print("Sessions against an instant modem...", flush=True)
            sessions(tools, args.runs, results, models_available(tools))
        if "idle" not in args.skip:
            print("First-prompt wait against a silent modem (50 s)...", flush=True)
            idle_wait(tools, example_file(tools, "efficient", "dhcp", folder), results)
        if "startup" not in args.skip:
            print("Start-up under Xvfb...", flush=True)
            start_up(tools, args.runs, results)
    print("Load average after: " + " ".join(open("/proc/loadavg").read().split()[:3]))
    print_table(results)
    if x_server:
        x_server.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
