"""What each model's session costs at the least: the pauses its loading sequence
takes with a modem that answers at once, and the time the line needs for the bytes
that nothing can overlap.

The pauses are the sequence's own (blocking sleeps before reads, half-second
wake-ups, the Office's settling pause), counted for a modem that is on before the
power-on question is answered, needs no time to think, restores its defaults and
reboots at once:
  - the first-prompt wait sends a wake-up line after each half-second pause and reads
    at once; the prompt that answers the first wake-up is read in the second pass;
  - after a reboot the console's banner arrives during the first pass's pause, so
    that wait takes one pass;
  - an answer read after a pause has arrived within the pause (true of the simulated
    consoles: each such answer crosses the line in less than its pause).
"""

import timing_log

PASSWORD = "tarnimol"


def _first_end(text, words):
    ends = [text.find(word) + len(word) for word in words if word in text]
    return min(ends) if ends else 0


class Model:
    def __init__(self, name, label, baud, pauses_ms, wait_words, last_awaited, lines_before=()):
        self.name = name                  # modem-sim's and bench-session's name
        self.label = label
        self.baud = baud
        self.pauses_ms = pauses_ms        # (milliseconds, where) in sequence order
        self.wait_words = wait_words      # what ends a command's wait
        self.last_awaited = last_awaited  # whether the last line's answer is waited for
        self.lines_before = list(lines_before)  # lines the sequence sends before the file's

    @property
    def seconds_per_byte(self):
        return 10.0 / self.baud  # 8N1: start bit, eight data bits, stop bit

    def pauses_seconds(self):
        return sum(ms for ms, _ in self.pauses_ms) / 1000.0

    def ends_wait(self, text):
        return _first_end(text.decode("latin-1"), self.wait_words)

    def script_lines(self, file_lines):
        return [line.encode("cp1252") for line in self.lines_before + file_lines]

    def lower_bound(self, chunks, commands):
        """(seconds, pauses, bytes) the session cannot go below: the pauses, plus the
        bytes the line must carry while the program can do nothing but wait for them:
        each script line and the part of its answer that ends the wait (for a last
        line whose answer is not awaited, its first byte and that byte's echo).

        Bytes sent before a pause cross the line during the pause (a pseudo-terminal
        takes them at once, as a serial driver's buffer does), and so do the answers
        read after a pause; they add nothing."""
        times = timing_log.find_commands(chunks, commands)
        answers = timing_log.answer_bytes(chunks, commands, times, self.ends_wait,
                                          self.seconds_per_byte, self.last_awaited)
        lines = [len(command) + 1 for command in commands]
        if not self.last_awaited and lines:
            lines[-1] = 2
        carried = sum(lines) + answers
        return self.pauses_seconds() + carried * self.seconds_per_byte, self.pauses_seconds(), carried

FIRST_WAIT = [(500, "first prompt, pass 1"), (500, "first prompt, pass 2")]

MODELS = [
    Model("efficient", "Efficient SS5660", 38400,
          FIRST_WAIT + [(100, "login"), (100, '"default all"'), (100, '"reboot"'),
                        (500, "prompt after the reboot"), (1000, '"set password"'),
                        (1000, "new password"), (500, "repeated password")],
          ["Command", "Password", "default"], last_awaited=False),
    Model("office", "Speed Touch Office", 9600,
          FIRST_WAIT + [(10000, "settling"), (100, "login"), (100, '"erase all"'),
                        (500, "prompt after the reboot"), (10000, "settling"), (100, "login")],
          ["#"], last_awaited=False, lines_before=["system admin " + PASSWORD]),
    Model("pro", "Speed Touch Pro", 9600,
          FIRST_WAIT + [(100, '"config erase"'), (500, "prompt after the reboot"),
                        (100, "password")],
          ["\r\n\r\n=>"], last_awaited=True),
]


def by_name(name):
    return next(model for model in MODELS if model.name == name)
