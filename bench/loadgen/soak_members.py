#!/usr/bin/env python3
"""Scripted club members for scripts/soak: logins, chat, rooms, seats, robots, watching,
introductions, random disconnects and 5% garbage against a znserver on loopback. Meanwhile it
samples the server's memory and open descriptors and the p99 of a "G" ping every 5 s, and judges.

  soak_members.py --port P --pid PID --members N --seconds S [--garbage 0.05]

Prints one line per sample and a summary; exits 1 when memory grew by more than 20% after the
first minute, descriptors leaked, or the server stopped answering.
"""
import argparse, asyncio, os, random, sys, time

def rss_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0

def fds(pid):
    return len(os.listdir(f"/proc/{pid}/fd"))

class Stats:
    def __init__(self):
        self.sent = self.lines = self.reconnects = self.refused = 0

async def member(i, a, stats, stop):
    nick = f"sm{i:04d}"
    rng = random.Random(i)
    rooms = 1
    while not stop.is_set():
        try:
            reader, writer = await asyncio.open_connection("127.0.0.1", a.port)
        except OSError:
            await asyncio.sleep(1)
            continue
        async def read():
            # Lines are "#" + line; a read cut in a line only spoils a statistic here.
            nonlocal rooms
            while True:
                data = await reader.read(65536)
                if not data:
                    return
                for line in data.split(b"#")[1:]:
                    stats.lines += 1
                    if line.startswith(b"I"):
                        try:
                            rooms = max(1, int(line[1:].split(b" ")[0]))
                        except ValueError:
                            pass
                    elif line.startswith(b"Q"):  # the client answers an introduction on its own
                        asker = line[1:].split(b" ")[0]
                        writer.write(b"W" + asker + b" " + nick.encode() + b" 0 0 0 0 ")
        reading = asyncio.ensure_future(read())
        def send(cmd):
            writer.write(cmd)
            stats.sent += 1
        send(b"N" + nick.encode())
        try:
            for _ in range(rng.randint(20, 200)):
                if stop.is_set() or reading.done():
                    break
                await asyncio.sleep(rng.uniform(0.3, 2.5))
                r = rng.random()
                if r < a.garbage:
                    send(bytes(rng.randrange(256) for _ in range(rng.randint(1, 300))))
                elif r < 0.25:
                    send(("M szia %d #%d" % (i, rng.randrange(100))).encode())
                elif r < 0.40:
                    send(b"E%d" % rng.randrange(rooms))
                elif r < 0.45:
                    send(b"E0")
                elif r < 0.48:
                    send(b"R" + ("t%05d" % rng.randrange(100000)).encode())
                elif r < 0.60:
                    send(b"S%d" % rng.choice([0, 1, 2, 3, 4, -2, -3, -4]))
                elif r < 0.65:
                    send(b"K%d" % rng.randrange(2))
                elif r < 0.70:
                    send(b"A%d" % rng.randrange(2))
                elif r < 0.75:
                    send(("Q%s sm%04d" % (nick, rng.randrange(a.members))).encode())
                elif r < 0.80:
                    send(b"D%d" % rng.randrange(1, 2000))
                elif r < 0.85:
                    send(b"L")
                else:
                    send(b"G")
                await writer.drain()
        except (ConnectionError, OSError):
            pass
        finally:
            # Also when the soak ends and cancels this task: an open socket here would count as
            # a descriptor the server leaked.
            writer.close()
            reading.cancel()
        stats.reconnects += 1  # a random disconnect, or the server closed it
        await asyncio.sleep(rng.uniform(0.1, 3))

async def pinger(a, samples, stop, failures):
    reader, writer = await asyncio.open_connection("127.0.0.1", a.port)
    writer.write(b"Nsoakping")
    await asyncio.sleep(0.5)
    await reader.read(1 << 20)
    while not stop.is_set():
        t = time.monotonic()
        writer.write(b"G")
        buf = b""
        try:
            while not buf.endswith(b"#G") and b"#G#" not in buf:
                data = await asyncio.wait_for(reader.read(65536), 5)
                if not data:
                    raise ConnectionError("closed")
                buf += data
        except (asyncio.TimeoutError, ConnectionError) as e:
            failures.append(f"no answer to G: {e!r}")
            stop.set()
            return
        samples.append((time.monotonic() - t) * 1000)
        await asyncio.sleep(0.1)  # well under the command rate

async def main(a):
    stats, stop, failures, pings = Stats(), asyncio.Event(), [], []
    base_fds = fds(a.pid)
    tasks = [asyncio.ensure_future(pinger(a, pings, stop, failures))]
    for i in range(a.members):
        tasks.append(asyncio.ensure_future(member(i, a, stats, stop)))
        if i % 100 == 99:
            await asyncio.sleep(0.1)
    start = time.monotonic()
    first_minute_kb, peak_kb = None, 0
    while time.monotonic() - start < a.seconds and not stop.is_set():
        await asyncio.sleep(5)
        if not os.path.exists(f"/proc/{a.pid}"):
            failures.append("server died")
            break
        kb, n = rss_kb(a.pid), fds(a.pid)
        window, pings[:] = sorted(pings), []
        p99 = window[int(len(window) * 0.99) - 1] if window else float("nan")
        t = time.monotonic() - start
        print(f"t={t:5.0f}s rss_kb={kb} fds={n} p99_ms={p99:.2f} pings={len(window)} "
              f"sent={stats.sent} lines={stats.lines} reconnects={stats.reconnects}", flush=True)
        if t >= 60:
            if first_minute_kb is None:
                first_minute_kb = kb
            peak_kb = max(peak_kb, kb)
    stop.set()
    for task in tasks:
        task.cancel()
    await asyncio.gather(*tasks, return_exceptions=True)
    await asyncio.sleep(4)  # the server sees every close
    if os.path.exists(f"/proc/{a.pid}"):
        end_fds = fds(a.pid)
        print(f"descriptors: {base_fds} before, {end_fds} after the members left")
        if end_fds > base_fds + 2:
            failures.append(f"descriptors leak: {base_fds} -> {end_fds}")
    if first_minute_kb:
        growth = (peak_kb - first_minute_kb) * 100.0 / first_minute_kb
        print(f"memory: {first_minute_kb} kB after the first minute, peak {peak_kb} kB later ({growth:+.1f}%)")
        if growth > 20:
            failures.append(f"memory grew by {growth:.1f}%")
    for f in failures:
        print("FAIL:", f)
    return 1 if failures else 0

if __name__ == "__main__":
    p = argparse.ArgumentParser()
    p.add_argument("--port", type=int, required=True)
    p.add_argument("--pid", type=int, required=True)
    p.add_argument("--members", type=int, default=2000)
    p.add_argument("--seconds", type=float, default=600)
    p.add_argument("--garbage", type=float, default=0.05)
    sys.exit(asyncio.run(main(p.parse_args())))
