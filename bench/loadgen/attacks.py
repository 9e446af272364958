#!/usr/bin/env python3
"""What a hostile member with many loopback addresses tries against a znserver, each attack bounded
in time, and whether an honest newcomer from a fresh address still gets in during it:

  idle    1,000 logged-in members from 63 addresses who then do nothing
  rooms   84 fresh nicknames from one address creating rooms
  chat    15 members sending 4 kB chat lines, 18 a second each (under the command rate)
  churn   connect, log in, close, as fast as 8 addresses can, for 10 s (log growth is measured)
  burst   1,100 connections from one address at once

  attacks.py --port P --log FILE [--only NAME ...]

Prints one line per attack; exits 1 when a newcomer was kept out. Only 127.0.0.0/8 is used.
"""
import argparse, asyncio, os, sys, time

NOTICE_FULL = "A klub megtelt".encode("cp1250")


async def connect(port, source):
    return await asyncio.open_connection("127.0.0.1", port, local_addr=(source, 0))


async def lines_until(reader, want, seconds):
    """Reads until a line starting with want arrives; returns (found, all bytes read)."""
    seen = b""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            data = await asyncio.wait_for(reader.read(65536), end - time.monotonic())
        except asyncio.TimeoutError:
            break
        if not data:
            break
        seen += data
        if any(l.startswith(want) for l in seen.split(b"#")[1:]):
            return True, seen
    return False, seen


async def newcomer(port, nick, source="127.0.9.1"):
    """An honest member: logs in and waits for the lobby line."""
    try:
        reader, writer = await connect(port, source)
    except OSError:
        return False
    writer.write(b"N" + nick.encode())
    ok, _ = await lines_until(reader, b"I", 5)
    writer.close()
    return ok


async def login(port, source, nick):
    reader, writer = await connect(port, source)
    writer.write(b"N" + nick.encode())
    ok, _ = await lines_until(reader, b"I", 5)
    return reader, writer, ok


async def attack_idle(port):
    held, tasks = [], []
    for a in range(2, 65):
        for i in range(16):
            tasks.append(login(port, f"127.0.0.{a}", f"idle{a:02d}{i:02d}"))
    for r in await asyncio.gather(*tasks, return_exceptions=True):
        if not isinstance(r, Exception):
            held.append(r)
    inside = sum(1 for r in held if r[2])
    ok = await newcomer(port, "honest1")
    for _, w, _ in held:
        w.close()
    return f"idle: {inside} idle members logged in from 63 addresses", ok


async def attack_rooms(port):
    created = 0
    for i in range(84):
        try:
            reader, writer, _ = await login(port, "127.0.1.2", f"roomer{i:02d}")
        except OSError:
            continue
        writer.write(f"Rr{i:03d}terem".encode())
        ok, seen = await lines_until(reader, b"I", 3)
        if ok and f"r{i:03d}terem".encode() in seen:
            created += 1
        writer.close()
    reader, writer, _ = await login(port, "127.0.9.2", "honest2")
    writer.write(b"Rbecsuletes")
    ok, seen = await lines_until(reader, b"I", 4)
    writer.close()
    return f"rooms: 84 nicknames of one address created {created} rooms", ok and b"becsuletes" in seen


async def attack_chat(port):
    listener_r, listener_w, _ = await login(port, "127.0.2.1", "olvaso")
    senders = [await login(port, f"127.0.2.{10 + i}", f"csevego{i:02d}") for i in range(15)]
    received = 0

    async def listen(stop):
        nonlocal received
        while not stop.is_set():
            try:
                data = await asyncio.wait_for(listener_r.read(65536), 0.5)
            except asyncio.TimeoutError:
                continue
            if not data:
                return
            received += len(data)

    stop = asyncio.Event()
    reading = asyncio.ensure_future(listen(stop))
    start = time.monotonic()
    big, small = b"M" + b"x" * 4096, b"M" + b"y" * 400
    while time.monotonic() - start < 10:
        for _, w, _ in senders:
            w.write(big if int(time.monotonic() - start) % 2 == 0 else small)
        await asyncio.sleep(1 / 18)
    per_second = received / (time.monotonic() - start)
    ok = await newcomer(port, "honest3")
    stop.set()
    await reading
    for _, w, _ in senders + [(None, listener_w, None)]:
        w.close()
    return f"chat: a lobby member received {per_second / 1024:.1f} kB/s of 15 members' floods", ok


async def attack_churn(port, log):
    before = os.path.getsize(log)
    cycles = 0
    start = time.monotonic()

    async def churn(source, n):
        nonlocal cycles
        while time.monotonic() - start < 10:
            try:
                reader, writer = await connect(port, source)
            except OSError:
                await asyncio.sleep(0.01)
                continue
            writer.write(b"Nchurn" + str(n).encode())
            await lines_until(reader, b"I", 0.2)
            writer.close()
            cycles += 1
            n += 8

    await asyncio.gather(*(churn(f"127.0.3.{a}", a) for a in range(1, 9)))
    ok = await newcomer(port, "honest4")
    grown = os.path.getsize(log) - before
    return f"churn: {cycles} cycles in 10 s from 8 addresses grew the log by {grown} bytes", ok


async def attack_burst(port):
    held = []

    async def one():
        try:
            held.append(await connect(port, "127.0.4.1"))
        except OSError:
            pass

    burst = asyncio.gather(*(one() for _ in range(1100)))
    ok = await newcomer(port, "honest5")
    await burst
    for _, w in held:
        w.close()
    return f"burst: {len(held)} of 1,100 connections from one address opened", ok


async def main():
    p = argparse.ArgumentParser()
    p.add_argument("--port", type=int, required=True)
    p.add_argument("--log", required=True)
    p.add_argument("--only", nargs="*")
    a = p.parse_args()
    attacks = {
        "idle": lambda: attack_idle(a.port),
        "rooms": lambda: attack_rooms(a.port),
        "chat": lambda: attack_chat(a.port),
        "churn": lambda: attack_churn(a.port, a.log),
        "burst": lambda: attack_burst(a.port),
    }
    kept_out = 0
    for name, run in attacks.items():
        if a.only and name not in a.only:
            continue
        what, ok = await run()
        print(f"{what}; a newcomer {'got in' if ok else 'was KEPT OUT'}", flush=True)
        kept_out += not ok
        await asyncio.sleep(1)
    return 1 if kept_out else 0


if __name__ == "__main__":
    sys.exit(asyncio.run(main()))
