"""Start-up of the real configurador-adsl executable, measured from outside.

Under Xvfb, `xev -root -event substructure` reports every top-level window the
moment the X server maps it. The time runs from just before the program is started
to the MapNotify of its first window (the main menu). Peak memory is the process's
VmHWM (peak resident set) read from /proc one second after the menu is shown.
"""

import os
import queue
import shutil
import signal
import statistics
import subprocess
import tempfile
import threading
import time

MENU_TITLE = "Configuración Módems Zelvora ADSL"


class XServer:
    """An Xvfb of its own, on a display number it picks itself, and a watcher of the
    windows mapped on it."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-noreset",
                                        "-nolisten", "tcp"], pass_fds=(write_end,),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as display:
            self.display = ":" + display.readline().strip()
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.maps = queue.Queue()
        self.watcher = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"],
                                        env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                        text=True)
        threading.Thread(target=self._watch, daemon=True).start()
        time.sleep(0.5)

    def _watch(self):
        for line in self.watcher.stdout:
            if line.startswith("MapNotify"):
                mapped = time.monotonic()
                # "    event 0x..., window 0x..., override NO": the mapped window.
                detail = self.watcher.stdout.readline()
                self.maps.put((mapped, detail.split("window ")[-1].split(",")[0]))

    def next_map(self, timeout):
        try:
            return self.maps.get(timeout=timeout)
        except queue.Empty:
            return None, ""

    def window_name(self, window):
        out = subprocess.run(["xwininfo", "-id", window], env=self.env, capture_output=True, text=True)
        return out.stdout

    def close(self):
        for process in (self.watcher, self.server):
            process.terminate()
            process.wait()


def _status(pid, field):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith(field + ":"):
                return int(line.split()[1]) * 1024
    return 0


def _one_run(x, binary):
    with tempfile.TemporaryDirectory() as folder:
        # A portable folder of its own: the program keeps its files beside itself.
        program = shutil.copy(binary, folder)
        while not x.maps.empty():
            x.maps.get()
        started = time.monotonic()
        app = subprocess.Popen([program], env=x.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        mapped, window = x.next_map(timeout=30)
        try:
            if mapped is None:
                return None
            time.sleep(1.0)
            return {"seconds": mapped - started, "peak": _status(app.pid, "VmHWM"),
                    "menu": MENU_TITLE in x.window_name(window)}
        finally:
            app.send_signal(signal.SIGTERM)
            app.wait()


def measure_program(binary, runs):
    """Median time to the menu's map and median peak memory over `runs` starts,
    after one start that warms the caches."""
    x = XServer()
    try:
        results = [_one_run(x, binary) for _ in range(runs + 1)][1:]
    finally:
        x.close()
    results = [r for r in results if r is not None and r["menu"]]
    if not results:
        return None
    return {"seconds": statistics.median(r["seconds"] for r in results),
            "peak": statistics.median(r["peak"] for r in results), "runs": len(results)}


def measure_peer(python, runs):
    """The peer has no window: the time until the interpreter has loaded pexpect,
    and its peak memory."""
    times, peaks = [], []
    for _ in range(runs + 1):
        started = time.monotonic()
        child = subprocess.Popen([python, "-c", "import pexpect, pexpect.fdpexpect"])
        _, _, usage = os.wait4(child.pid, 0)
        times.append(time.monotonic() - started)
        peaks.append(usage.ru_maxrss * 1024)
    return {"seconds": statistics.median(times[1:]), "peak": statistics.median(peaks[1:]), "runs": runs}
