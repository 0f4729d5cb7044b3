#!/usr/bin/python3
"""The peer: the Efficient SS5660 dialogue written as a short pexpect script.

It talks to the same simulated modem through the same kind of port, with the same
pauses as the program (half-second wake-ups, the 100, 1000 and 500 ms pauses before
reading answers), so that the two can be compared side by side. It prints one line
per event, "<event> <monotonic s> <process CPU s>", as bench-session does:

  peer_pexpect.py --port /dev/pts/N --file 900123456.cfg            # a whole session
  peer_pexpect.py --port /dev/pts/N --file 900123456.cfg --wait-only  # first wait only
"""

import argparse
import os
import sys
import termios
import time
import tty

import pexpect
import pexpect.fdpexpect

PASSWORD = "tarnimol"
FIRST_PROMPT = ["Command", "Password"]


def event(name):
    print("%s %.6f %.6f" % (name, time.monotonic(), time.process_time()), flush=True)


def open_port(path):
    fd = os.open(path, os.O_RDWR | os.O_NOCTTY)
    tty.setraw(fd)
    attributes = termios.tcgetattr(fd)
    attributes[4] = attributes[5] = termios.B38400
    termios.tcsetattr(fd, termios.TCSANOW, attributes)
    termios.tcflush(fd, termios.TCIOFLUSH)  # what came before opening is nobody's
    return pexpect.fdpexpect.fdspawn(fd, encoding="latin-1", timeout=5)


class Session:
    def __init__(self, modem):
        self.modem = modem

    def send(self, line):
        self.modem.send(line + "\r")

    def answer(self, pause, patterns, timeout=5.0):
        """After the pause, the first of the patterns within the timeout; None if
        none came. Only what arrives in this step counts."""
        time.sleep(pause)
        self.modem.buffer = ""
        try:
            return self.modem.expect(patterns, timeout=timeout)
        except pexpect.TIMEOUT:
            return None

    def first_prompt(self, limit=50):
        """A wake-up line every half second until the console shows a prompt."""
        deadline = round(time.monotonic() + limit)
        self.modem.buffer = ""
        while True:
            time.sleep(0.5)
            self.modem.send("\r\n\r")
            try:
                found = self.modem.expect(FIRST_PROMPT, timeout=0)
            except pexpect.TIMEOUT:
                found = None
            if time.monotonic() > deadline:
                return None
            if found is not None:
                return FIRST_PROMPT[found]

    def login(self, prompt):
        if prompt == "Password":
            for _ in range(2):
                self.send(PASSWORD)
                if self.answer(0.1, ["Command"]) is not None:
                    return True
            return False
        self.send("set password")
        if self.answer(1.0, ["New password :"]) is None:
            return False
        self.send(PASSWORD)
        if self.answer(1.0, ["New password :"]) is None:
            return False
        self.send(PASSWORD)
        return self.answer(0.5, ["Command->"]) is not None

    def restore_and_reboot(self):
        self.send("default all")
        if self.answer(0.1, ["Command"], timeout=40) is None:
            return False
        self.send("reboot")
        if self.answer(0.1, ["sure"]) is None:
            return False
        self.send("y")
        return True

    def script(self, commands):
        for index, command in enumerate(commands):
            self.send(command)
            self.modem.buffer = ""
            last = index == len(commands) - 1
            try:
                if last:
                    self.modem.read_nonblocking(1, timeout=5)  # one read, as the program
                else:
                    self.modem.expect(["Command", "Password", "default"], timeout=5)
            except pexpect.TIMEOUT:
                return False
        return True


def commands_of(path):
    with open(path, "rb") as config:
        lines = config.read().decode("cp1252").split("\r\n")
    body = lines[lines.index("--Inicio") + 3:]
    return [line for line in body if line and not line.startswith("#")]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", required=True)
    parser.add_argument("--file", required=True)
    parser.add_argument("--wait-only", action="store_true")
    args = parser.parse_args()
    commands = commands_of(args.file)
    session = Session(open_port(args.port))
    event("start")
    prompt = session.first_prompt()
    if prompt is None:
        event("no-prompt")
        return 0
    if args.wait_only:
        event("prompt")
        return 0
    steps = [lambda: session.login(prompt), session.restore_and_reboot]
    for step in steps:
        if not step():
            event("failed")
            return 1
    prompt = session.first_prompt()
    if prompt is None or not session.login(prompt) or not session.script(commands):
        event("failed")
        return 1
    event("configured")
    return 0


if __name__ == "__main__":
    sys.exit(main())
