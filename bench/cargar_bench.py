#!/usr/bin/python3
"""Several modems loaded at once by `configurador-adsl cargar`, each on its own
pseudo-terminal against tools/modem-sim (an instant modem at the model's line rate).

Each session is timed from its power-on step (the plain progress line on standard
output) to its success message (standard error), as the reader of both pipes sees
them; its lower bound L and its turnarounds come from that modem's timing log, as in
run_bench.py. CPU is the whole program's user + system time divided by the sessions.
See docs/performance.md.
"""

import argparse
import os
import resource
import selectors
import subprocess
import sys
import tempfile
import time

import models
import run_bench
import timing_log

GENERATE = {
    "efficient": ["--ip-usuario", "192.0.2.13", "--mascara-usuario", "255.255.255.248",
                  "--ip-modem", "10.1.1.6", "--mascara-modem", "255.255.255.252"],
    "office": ["--ip-usuario", "192.0.2.66", "--mascara-usuario", "255.255.255.248",
               "--ip-modem", "198.51.100.42", "--mascara-modem", "255.255.255.252"],
    "pro": ["--ip-usuario", "192.0.2.66", "--mascara-usuario", "255.255.255.248",
            "--ip-modem", "198.51.100.42", "--mascara-modem", "255.255.255.252"],
}


def phone(port):
    return "9001000%02d" % port


def start_modem(tools, model, folder, port):
    log = os.path.join(folder, "timing%d.log" % port)
    process = subprocess.Popen([tools.sim, "--model", model.name, "--app-dir", folder, "--com", str(port),
                                "--timing-log", log] + run_bench.instant(model),
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if not process.stdout.readline().strip():
        raise RuntimeError("modem-sim: " + process.stderr.read().strip())
    return process, log


def run_cargar(tools, folder, count):
    """{port: (begin, end)} in monotonic seconds, the exit status and the CPU seconds."""
    args = [tools.program, "cargar", "--encendidos", "--dir", folder]
    for port in range(1, count + 1):
        args += ["--puerto", "%d=%s" % (port, phone(port))]
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    process = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    selector = selectors.DefaultSelector()
    selector.register(process.stdout, selectors.EVENT_READ)
    selector.register(process.stderr, selectors.EVENT_READ)
    begins, ends, open_pipes = {}, {}, 2
    while open_pipes:
        for key, _ in selector.select():
            line = key.fileobj.readline()
            now = time.monotonic()
            if not line:
                selector.unregister(key.fileobj)
                open_pipes -= 1
                continue
            text = line.decode("utf-8", "replace")
            if not text.startswith("Com "):
                continue
            port = int(text.split()[1])
            if "Esperando a que se encienda" in text:
                begins.setdefault(port, now)
            elif run_bench.CONFIGURED in text:
                ends[port] = now
    status = process.wait()
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return {p: (begins[p], ends[p]) for p in ends if p in begins}, status, cpu


def command_lines(path):
    with open(path, "rb") as config:
        lines = config.read().decode("cp1252").split("\r\n")
    body = lines[lines.index("--Inicio") + 3:]
    return [line for line in body if line and not line.startswith("#")]


def bench_model(tools, model, count):
    with tempfile.TemporaryDirectory() as folder:
        modems = []
        try:
            for port in range(1, count + 1):
                subprocess.run([tools.program, "generar", "--dir", folder, "--modelo", model.name, "--modo", "dhcp",
                                "--telefono", phone(port)] + GENERATE[model.name], check=True, capture_output=True)
                modems.append(start_modem(tools, model, folder, port))
            time.sleep(0.5)  # every modem on, its banner out, before the sessions start
            times, status, cpu = run_cargar(tools, folder, count)
        finally:
            for process, log in modems:
                process.terminate()
                process.wait()
                run_bench.keep_timing_log(log, process.pid)
        rows, all_turnarounds = [], []
        for port in range(1, count + 1):
            if port not in times:
                rows.append((port, None))
                continue
            chunks = timing_log.read(modems[port - 1][1])
            commands = model.script_lines(command_lines(
                os.path.join(folder, "Configuraciones", phone(port) + ".cfg")))
            bound, _, _ = model.lower_bound(chunks, commands)
            turnarounds = timing_log.turnarounds(chunks, timing_log.find_commands(chunks, commands))
            all_turnarounds += turnarounds
            seconds = times[port][1] - times[port][0]
            rows.append((port, (seconds, bound, 100.0 * (seconds / bound - 1.0),
                                timing_log.percentile(turnarounds, 0.99) * 1000 if turnarounds else None)))
        return rows, status, cpu, all_turnarounds


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(run_bench.HERE, "..", "build"))
    parser.add_argument("--modems", type=int, default=8)
    parser.add_argument("--model", action="append", choices=[m.name for m in models.MODELS])
    args = parser.parse_args()
    tools = run_bench.Tools(os.path.abspath(args.build))
    print("Machine: " + run_bench.machine(), flush=True)
    print("\n| Model | Sessions | Loaded | Worst session vs L | Worst turnaround p99 | "
          "Turnaround p99, all | CPU per session |")
    print("|---|---|---|---|---|---|---|")
    for model in models.MODELS:
        if args.model and model.name not in args.model:
            continue
        rows, status, cpu, turnarounds = bench_model(tools, model, args.modems)
        done = [r for _, r in rows if r is not None]
        worst = max(done, key=lambda r: r[2]) if done else None
        worst_p99 = max((r[3] for r in done if r[3] is not None), default=None)
        print("| %s (%d baud) | %d | %d (exit %d) | %s | %s | %s | %.0f ms |" % (
            model.label, model.baud, args.modems, len(done), status,
            "%.3f s, L + %.1f %% (L = %.3f s)" % (worst[0], worst[2], worst[1]) if worst else "-",
            "%.3f ms" % worst_p99 if worst_p99 is not None else "-",
            "%.3f ms (%d lines, %d over 1 ms)" % (timing_log.percentile(turnarounds, 0.99) * 1000, len(turnarounds),
                                                  sum(1 for t in turnarounds if t > 0.001)) if turnarounds else "-",
            1000.0 * cpu / args.modems), flush=True)
        for port, r in rows:
            if r is not None:
                print("  Com %d: %.3f s, L = %.3f s, L + %.1f %%, p99 %s" % (
                    port, r[0], r[1], r[2], "%.3f ms" % r[3] if r[3] is not None else "-"), file=sys.stderr)
    print("Load average after: " + " ".join(open("/proc/loadavg").read().split()[:3]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
