#!/usr/bin/python3
"""Why a line was late: each slow turnaround beside the scheduler's record of the same
moment.

Record a bench under `perf sched record -k CLOCK_MONOTONIC` with ADSL_BENCH_KEEP set
(the modems' timing logs are kept there, named by modem-sim's pid), then:

    python3 bench/late_lines.py perf.data KEEP_FOLDER [--program configurador-adsl]

A gap is the time from a prompt the modem sent to the line the program typed after it
(the turnaround, for a script line; logins and erase commands are gaps too). For
each gap over 1 ms, and under 10 ms (the sequences' own short pauses are longer), it tells
how long within the gap a thread of the program, or that modem's simulator, was
runnable but waiting for a CPU (the scheduler's "sch delay"), and which tasks ran on
the CPUs meanwhile. The timing logs and perf use the same clock (CLOCK_MONOTONIC).
"""

import argparse
import collections
import os
import subprocess
import sys

import timing_log

LATE, PAUSE = 0.001, 0.010


def timehist(data):
    """[(switch-in, switch-out, sch delay, comm, pid, tid)] from perf sched timehist."""
    out = subprocess.run(["perf", "sched", "timehist", "-i", data],
                         capture_output=True, text=True, check=True).stdout
    runs = []
    for line in out.splitlines():
        parts = line.split()
        if len(parts) < 6 or not parts[0][0].isdigit() or "[" not in " ".join(parts[2:-3]):
            continue
        try:
            end, sch, run = float(parts[0]), float(parts[-2]) / 1000, float(parts[-1]) / 1000
        except ValueError:
            continue
        task = " ".join(parts[2:-3])
        name, ids = task.rsplit("[", 1)
        ids = ids.rstrip("]").split("/")
        tid = int(ids[0])
        pid = int(ids[1]) if len(ids) > 1 else tid
        runs.append((end - run, end, sch, name, pid, tid))
    return runs


PROMPTS = (b"> ", b"=>", b"# ")


def gaps(chunks):
    """(prompt time, typed time) for every line typed right after a prompt: what the
    turnaround measures for a script line (logins and erase commands count too)."""
    found, last_sent = [], None
    for t, d, data in chunks:
        if d == "T":
            last_sent = (t, data)
        elif last_sent is not None:
            if last_sent[1].endswith(PROMPTS) and data.endswith(b"\r") and len(data) > 3:
                found.append((last_sent[0], t))
            last_sent = None
    return found


def overlap(a0, a1, b0, b1):
    return max(0.0, min(a1, b1) - max(a0, b0))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("data")
    parser.add_argument("logs")
    parser.add_argument("--program", action="append", default=[],
                        help="the program's process name as perf shows it (default: configurador-adsl and bench-session)")
    args = parser.parse_args()
    programs = tuple(name[:15] for name in (args.program or ["configurador-adsl", "bench-session"]))
    runs = timehist(args.data)
    program_pids = {pid for _, _, _, name, pid, tid in runs if name.startswith(programs) and pid == tid}
    total, late, explained = 0, [], 0
    busy = collections.Counter()
    for log in sorted(os.listdir(args.logs)):
        if not log.endswith(".log"):
            continue
        sim = int(log[:-4])
        for start, end in gaps(timing_log.read(os.path.join(args.logs, log))):
            total += 1
            if not LATE < end - start < PAUSE:
                continue
            waited_program = waited_sim = waited_kernel = ran_program = 0.0
            for r0, r1, sch, name, pid, tid in runs:
                delay0 = r0 - sch
                if pid in program_pids:
                    waited_program = max(waited_program, overlap(delay0, r0, start, end))
                    ran_program += overlap(r0, r1, start, end)
                elif pid == sim:
                    waited_sim = max(waited_sim, overlap(delay0, r0, start, end))
                elif name.startswith("kworker"):
                    # A pseudo-terminal hands the bytes over to the other side in a kernel worker.
                    waited_kernel = max(waited_kernel, overlap(delay0, r0, start, end))
                busy[name.strip()] += overlap(r0, r1, start, end)
            late.append((end - start, waited_program, waited_sim, waited_kernel, ran_program))
            # Explained: the program or its modem waited for a CPU for at least half
            # of what the gap had over a millisecond's worth of work.
            if max(waited_program, waited_sim, waited_kernel) >= (end - start - LATE) / 2:
                explained += 1
    print("%d gaps, %d between 1 and 10 ms" % (total, len(late)))
    for gap, program, sim, kernel, ran in sorted(late, reverse=True):
        print("  %.3f ms: waiting for a CPU: the program %.3f ms, its modem %.3f ms, the kernel's workers %.3f ms; "
              "the program's threads ran %.3f ms" % (gap * 1000, program * 1000, sim * 1000, kernel * 1000, ran * 1000))
    print("%d of %d late gaps had the program, its modem or a kernel worker kept off the CPUs for at least half "
          "the excess" %
          (explained, len(late)))
    if late:
        print("CPU time of other tasks within the late gaps (ms): " +
              ", ".join("%s %.1f" % (name, t * 1000) for name, t in busy.most_common(8)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
