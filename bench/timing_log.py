"""Reads modem-sim's timing log and measures a session from the modem's side.

Each line of the log is "<monotonic seconds> <R|T> <hex bytes>": R for bytes the
modem received (the program's typing), T for bytes it sent. The modem sees both
directions, so the program under test needs no instrumentation.
"""

import statistics


def read(path):
    """The log as a list of (seconds, direction, bytes)."""
    chunks = []
    with open(path, encoding="ascii") as log:
        for line in log:
            stamp, direction, data = (line.split(" ") + [""])[:3]
            chunks.append((float(stamp), direction, bytes.fromhex(data.strip())))
    return chunks


def _received_stream(chunks):
    """Every received byte with the time of the chunk that brought it."""
    stream, times = bytearray(), []
    for t, d, data in chunks:
        if d == "R":
            stream += data
            times += [t] * len(data)
    return bytes(stream), times


def find_commands(chunks, commands):
    """The time each command line's first byte reached the modem, in order.

    Commands are looked for one after the other (a command followed by its CR), so
    a word typed earlier in the session is not mistaken for a script line."""
    stream, times = _received_stream(chunks)
    found, position = [], 0
    for command in commands:
        at = stream.find(command + b"\r", position)
        if at < 0:
            break
        found.append(times[at])
        position = at + len(command) + 1
    return found


def turnarounds(chunks, command_times):
    """For each command but the first: from the last byte the modem sent before it
    (the prompt the program was waiting for) to its first byte, in seconds."""
    sent = [t for t, d, _ in chunks if d == "T"]
    samples = []
    for first_byte in command_times[1:]:
        before = [t for t in sent if t < first_byte]
        if before:
            samples.append(first_byte - before[-1])
    return samples


def answer_bytes(chunks, commands, command_times, ends_wait, seconds_per_byte, last_awaited):
    """Bytes of the commands' answers that the program must have received before it
    may go on, and that could not cross the line while it was still typing.

    Per command: what the modem sent once it had the whole line (an echo sent while
    the line came in overlaps the typing and is left out), up to the end of the text
    that ends the wait; ends_wait(text) gives that end, 0 when nothing in the text
    ends it. The last command counts only when its answer is awaited."""
    total = 0
    bounds = command_times + [float("inf")]
    for index, (command, start, end) in enumerate(zip(commands, bounds, bounds[1:])):
        if index == len(commands) - 1 and not last_awaited:
            break
        line_in = start + (len(command) + 1) * seconds_per_byte
        answer = b"".join(data for t, d, data in chunks
                          if d == "T" and line_in + seconds_per_byte / 2 < t < end)
        total += ends_wait(answer)
    return total


def percentile(samples, share):
    """The nearest-rank percentile: the smallest sample with at least `share` of
    the samples at or below it."""
    ordered = sorted(samples)
    rank = max(1, -(-len(ordered) * share // 1))
    return ordered[int(rank) - 1]


def median(samples):
    return statistics.median(samples)
