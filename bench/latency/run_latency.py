#!/usr/bin/env python3
"""Latency guard: every tool's read, run by the real CLI against the real virtual printer.

Each read is timed end to end on real clocks over TCP, a pseudo-terminal (COM1:) and the
fake USB device, and set beside the waits its tool must take before reading and the CLI's
own start-up. A read may take at most 3 x (waits + 100 ms) + start-up: generous for a
loaded machine, yet a read that waits out its deadline (seconds) can never pass.

    run_latency.py BUILD_DIR [--markdown]

Exit status 0 when every read is within its bound, 1 otherwise.
"""
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

# (command words, waits in ms its tool takes before reading, interfaces it applies to)
ALL = ("tcp", "pty", "usb")
READS = [
    (["info"], 40, ALL),
    (["get", "paper-width"], 10, ALL),
    (["get", "paper-length"], 10, ALL),
    (["get", "gap-length"], 10, ALL),
    (["get", "h-margin"], 10, ALL),
    (["get", "v-margin"], 10, ALL),
    (["get", "density"], 10, ALL),
    (["get", "strobe"], 10, ALL),
    (["get", "speed"], 10, ALL),
    (["get", "offset"], 10, ALL),
    (["get", "tear-off"], 10, ALL),
    (["get", "gap-detect"], 10, ALL),
    (["switch", "read", "2"], 10, ALL),
    (["serial", "get"], 10, ALL),
    (["language", "get"], 100, ALL),
    (["hwinfo", "get", "version"], 100, ALL),
    (["hwinfo", "get", "serial"], 1000, ALL),
    (["hwinfo", "get", "id"], 100, ALL),
    (["status", "cp"], 50, ALL),
    (["status", "cu"], 50, ALL),
    (["status", "cps"], 50, ALL),
    (["status", "ee"], 30, ("pty",)),
    (["rfid", "config", "get"], 700, ALL),
    # The feed time is the reply's deadline, not a wait: the distribution is taken as soon
    # as its 64 bytes are in. Ethernet has no calibration.
    (["calibrate", "check", "--length", "30"], 0, ("pty", "usb")),
    (["pcx", "info"], 0, ALL),
]

# A fleet's reads run at once: eight printers at --jobs 8 take the waits of one.
FLEET_SIZE = 8
FLEET_READS = [
    (["info"], 40),
    (["inventory"], 40 + 1000 + 100 + 50),
]

SLACK_MS = 100
FACTOR = 3
TRIES = int(os.environ.get("LATENCY_TRIES", "3"))  # a read over its bound is tried again: the best of three counts


def start_printer(build, workdir):
    printer = os.path.join(build, "src", "printer", "quillmark-printer")
    link = os.path.join(workdir, "com1")
    usb = os.path.join(workdir, "usb")
    proc = subprocess.Popen(
        [printer, "--listen", "127.0.0.1:0", "--serial", link, "--usb", usb],
        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    env = {}
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline and len(env) < 4:
        line = proc.stdout.readline()
        if not line:
            break
        if m := re.match(r"listening on (\S+)", line):
            env["tcp"] = m.group(1)
        if "QUILLMARK_COM1=" in line:
            env["QUILLMARK_COM1"] = link
        if m := re.search(r"QUILLMARK_SYSFS_ROOT=(\S+) QUILLMARK_DEV_ROOT=(\S+)\)", line):
            env["QUILLMARK_SYSFS_ROOT"], env["QUILLMARK_DEV_ROOT"] = m.group(1), m.group(2)
    if len(env) < 4:
        proc.kill()
        raise SystemExit("latency: the virtual printer did not start: %r" % env)
    return proc, env


def start_fleet(build, count):
    printer = os.path.join(build, "src", "printer", "quillmark-printer")
    procs, hosts = [], []
    for _ in range(count):
        proc = subprocess.Popen([printer, "--listen", "127.0.0.1:0"], stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, text=True)
        procs.append(proc)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            line = proc.stdout.readline()
            if not line:
                break
            if m := re.match(r"listening on (\S+)", line):
                hosts.append("tcp://" + m.group(1))
                break
    if len(hosts) < count:
        for proc in procs:
            proc.kill()
        raise SystemExit("latency: the fleet's printers did not start")
    return procs, hosts


def timed(argv, env):
    began = time.monotonic()
    run = subprocess.run(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, timeout=60)
    return (time.monotonic() - began) * 1000, run.returncode, run.stderr.strip()


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    markdown = "--markdown" in sys.argv
    if len(args) != 1:
        raise SystemExit(__doc__)
    build = args[0]
    cli = os.path.join(build, "src", "cli", "quillmark-cli")
    with tempfile.TemporaryDirectory(prefix="quillmark-latency-") as workdir:
        printer, found = start_printer(build, workdir)
        try:
            env = dict(os.environ)
            env.update({k: v for k, v in found.items() if k.startswith("QUILLMARK_")})
            ports = {"tcp": ["--port", "tcp://" + found["tcp"]], "pty": ["--port", "COM1:", "--no-divert"],
                     "usb": ["--port", "USB"]}
            startup = statistics.median(timed([cli, "--version"], env)[0] for _ in range(5))
            rows, failed = [], 0
            for words, waits, kinds in READS:
                for kind in kinds:
                    bound = FACTOR * (waits + SLACK_MS) + startup
                    best, status, err = None, 0, ""
                    for _ in range(TRIES):
                        ms, status, err = timed([cli, *ports[kind], *words], env)
                        best = ms if best is None else min(best, ms)
                        if best <= bound and status == 0:
                            break
                    ok = best <= bound and status == 0
                    failed += not ok
                    rows.append((" ".join(words), kind, best, waits, bound, ok, status, err))
            fleet, hosts = start_fleet(build, FLEET_SIZE)
            try:
                hosts_file = os.path.join(workdir, "hosts")
                with open(hosts_file, "w") as f:
                    f.write("\n".join(hosts) + "\n")
                for words, waits in FLEET_READS:
                    bound = FACTOR * (waits + SLACK_MS) + startup
                    best, status, err = None, 0, ""
                    for _ in range(TRIES):
                        ms, status, err = timed([cli, "--hosts", hosts_file, "--jobs", str(FLEET_SIZE), *words], env)
                        best = ms if best is None else min(best, ms)
                        if best <= bound and status == 0:
                            break
                    ok = best <= bound and status == 0
                    failed += not ok
                    rows.append((" ".join(words) + " (%d printers)" % FLEET_SIZE, "tcp", best, waits, bound, ok, status, err))
            finally:
                for proc in fleet:
                    proc.terminate()
                    proc.wait(timeout=10)
        finally:
            printer.terminate()
            printer.wait(timeout=10)

    if markdown:
        print("| read | waits | TCP | pty (COM1:) | USB | bound |")
        print("|---|---:|---:|---:|---:|---:|")
        by_read = {}
        for name, kind, ms, waits, bound, ok, status, err in rows:
            by_read.setdefault(name, {"waits": waits, "bound": bound})[kind] = ms
        for name, r in by_read.items():
            cells = ["%.0f" % r[k] if k in r else "n/a" for k in ALL]
            print("| `%s` | %d | %s | %.0f |" % (name, r["waits"], " | ".join(cells), r["bound"]))
        print("\nAll times in ms; CLI start-up (`--version`) %.0f ms." % startup)
    else:
        print("%-28s %-4s %8s %8s %8s" % ("read", "port", "wall ms", "waits", "bound"))
        for name, kind, ms, waits, bound, ok, status, err in rows:
            note = "" if ok else ("  OVER" if status == 0 else "  exit %d: %s" % (status, err))
            print("%-28s %-4s %8.0f %8d %8.0f%s" % (name, kind, ms, waits, bound, note))
        print("CLI start-up %.0f ms" % startup)
        print("latency: %d passed, %d failed" % (len(rows) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
