#!/usr/bin/env python3
"""Files a second of `configurador-adsl generar --lote` on a list of 10,000 subscribers.

Writes a semicolon list in Windows-1252, as a spreadsheet exports it (the six model
and mode pairs in turn, every row good), then times the command into a fresh
application folder on each run, from its start to its exit. Each file is written
and flushed to disk before it replaces anything, so the figure depends on the disk
under the folder (--base chooses it; the default is the system's temporary folder).
"""

import argparse
import os
import resource
import statistics
import subprocess
import tempfile
import time

PAIRS = [("office", "dhcp"), ("office", "napt"), ("pro", "dhcp"),
         ("pro", "napt"), ("efficient", "dhcp"), ("efficient", "napt")]


def write_list(path, rows):
    lines = ["Teléfono;Modelo;Modo;IP usuario;Máscara usuario;IP módem;Máscara módem;Modalidad"]
    for i in range(rows):
        model, mode = PAIRS[i % len(PAIRS)]
        user = "10.%d.%d.%d" % (i // 4096 % 256, i // 16 % 256, i % 16 * 16 + 1)
        modem = "192.168.%d.%d;255.255.255.252" % (i // 64 % 256, i % 64 * 4 + 2) if mode == "dhcp" else ";"
        lines.append("%d;%s;%s;%s;255.255.255.240;%s;Estándar" % (900000000 + i, model, mode, user, modem))
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", default=os.path.join(root, "build", "src", "configurador-adsl"))
    parser.add_argument("--rows", type=int, default=10000)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--base", default=None, help="folder under which the runs write")
    args = parser.parse_args()

    times, cpus = [], []
    with tempfile.TemporaryDirectory(dir=args.base) as scratch:
        listing = os.path.join(scratch, "abonados.csv")
        write_list(listing, args.rows)
        for run in range(args.runs):
            folder = os.path.join(scratch, "run%d" % run)
            os.mkdir(folder)
            before = resource.getrusage(resource.RUSAGE_CHILDREN)
            start = time.monotonic()
            done = subprocess.run([args.program, "generar", "--lote", listing, "--dir", folder],
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
            elapsed = time.monotonic() - start
            after = resource.getrusage(resource.RUSAGE_CHILDREN)
            written = len(os.listdir(os.path.join(folder, "Configuraciones")))
            if done.returncode != 0 or written != args.rows:
                raise SystemExit("run %d: exit %d, %d files\n%s" % (run, done.returncode, written, done.stderr))
            times.append(elapsed)
            cpus.append(after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime)
            print("run %d: %.2f s, %.0f files/s, CPU %.2f s" % (run, elapsed, args.rows / elapsed, cpus[-1]))
    median = statistics.median(times)
    print("median of %d runs: %.2f s for %d rows, %.0f files/s, CPU %.2f s"
          % (args.runs, median, args.rows, args.rows / median, statistics.median(cpus)))


if __name__ == "__main__":
    main()
