#!/usr/bin/env python3
"""Idle cost and start-up cost of the program, side by side in one run.

  bench/startup_idle.py [BUILD_DIR] [--idle-seconds N] [--runs N]

Prints the CPU that a solo window left alone uses, and that an idle `backgammon --serve`
uses (both measured over the same seconds), then the time to the first paint of the main
window and the peak memory of the program against a bare Qt window built with the project
(BUILD_DIR/bench/bare_window), each the median of several alternating starts.

Runs under the current DISPLAY, or starts its own Xvfb when there is none. Goals: idle window
at most 0.2% of a core, idle --serve at most 0.1%, start-up at most 2 times the bare window's
time and 1.5 times its peak memory.
"""
import argparse
import os
import shutil
import socket
import statistics
import subprocess
import tempfile
import time

TICKS = os.sysconf("SC_CLK_TCK")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def wakeups(pid):
    """Context switches of all the process's threads so far."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/status") as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        total += int(line.split()[1])
        except FileNotFoundError:
            pass  # a thread that ended meanwhile
    return total


def own_display():
    """An Xvfb of our own when no display is set; returns (process, env) or (None, env)."""
    env = dict(os.environ)
    if env.get("DISPLAY"):
        return None, env
    if not shutil.which("Xvfb"):
        raise SystemExit("no DISPLAY and no Xvfb")
    for number in range(90, 140):
        if not os.path.exists(f"/tmp/.X11-unix/X{number}") and not os.path.exists(f"/tmp/.X{number}-lock"):
            break
    xvfb = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.time() + 10
    while not os.path.exists(f"/tmp/.X11-unix/X{number}") and time.time() < deadline:
        time.sleep(0.05)
    env["DISPLAY"] = f":{number}"
    env.pop("QT_QPA_PLATFORM", None)
    return xvfb, env


def fresh_env(base, top, name):
    runtime = os.path.join(top, "run-" + name)
    config = os.path.join(top, "cfg-" + name)
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    os.makedirs(config, exist_ok=True)
    return dict(base, XDG_RUNTIME_DIR=runtime, BG_CONFIG_DIR=config, BG_PORT=str(free_port()))


def idle_cpu(build, base, top, seconds):
    window = subprocess.Popen([os.path.join(build, "backgammon")], env=fresh_env(base, top, "window"),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    serve = subprocess.Popen([os.path.join(build, "backgammon"), "--serve", "--port", str(free_port())],
                             env=fresh_env(base, top, "serve"),
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(3)  # past start-up: logged in, settings read, everything drawn
        procs = {"window": window, "--serve": serve}
        before = {k: (cpu_ticks(p.pid), wakeups(p.pid)) for k, p in procs.items()}
        start = time.time()
        time.sleep(seconds)
        elapsed = time.time() - start
        result = {}
        for k, p in procs.items():
            ticks, wakes = cpu_ticks(p.pid), wakeups(p.pid)
            result[k] = (100.0 * (ticks - before[k][0]) / TICKS / elapsed,
                         (wakes - before[k][1]) / elapsed)
        return result
    finally:
        for p in (window, serve):
            p.terminate()
            try:
                p.wait(10)
            except subprocess.TimeoutExpired:
                p.kill()


def one_start(binary, env):
    """Milliseconds to the first paint, and peak memory in KiB."""
    env = dict(env, BG_STARTUP_PROBE="1")
    begin = time.time_ns()
    proc = subprocess.Popen([binary], env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    line = proc.stdout.readline().decode()
    _, status, usage = os.wait4(proc.pid, 0)
    proc.returncode = status
    if not line.startswith("painted "):
        raise SystemExit(f"{binary} reported no paint: {line!r}")
    return (int(line.split()[1]) - begin) / 1e6, usage.ru_maxrss


def startup(build, base, top, runs):
    times = {"backgammon": [], "bare window": []}
    peaks = {"backgammon": [], "bare window": []}
    binaries = {"backgammon": os.path.join(build, "backgammon"),
                "bare window": os.path.join(build, "bench", "bare_window")}
    for i in range(runs):
        for name, binary in binaries.items():  # alternating, so both see the same machine
            ms, kib = one_start(binary, fresh_env(base, top, f"start{i}"))
            times[name].append(ms)
            peaks[name].append(kib)
    return ({k: statistics.median(v) for k, v in times.items()},
            {k: statistics.median(v) / 1024 for k, v in peaks.items()})


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--idle-seconds", type=float, default=20)
    parser.add_argument("--runs", type=int, default=7)
    args = parser.parse_args()
    xvfb, base = own_display()
    try:
        with tempfile.TemporaryDirectory() as top:
            idle = idle_cpu(args.build, base, top, args.idle_seconds)
            times, peaks = startup(args.build, base, top, args.runs)
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
    print(f"idle over {args.idle_seconds:g} s            CPU of a core   wake-ups/s   goal")
    print(f"  window (solo game)       {idle['window'][0]:8.3f} %   {idle['window'][1]:9.1f}   <= 0.2 %")
    print(f"  backgammon --serve       {idle['--serve'][0]:8.3f} %   {idle['--serve'][1]:9.1f}   <= 0.1 %")
    print(f"start-up, median of {args.runs}      first paint      peak memory")
    print(f"  backgammon               {times['backgammon']:8.1f} ms   {peaks['backgammon']:8.1f} MiB")
    print(f"  bare Qt window           {times['bare window']:8.1f} ms   {peaks['bare window']:8.1f} MiB")
    print(f"  ratio                    {times['backgammon'] / times['bare window']:8.2f} x    "
          f"{peaks['backgammon'] / peaks['bare window']:8.2f} x     goal <= 2 x time, <= 1.5 x memory")


if __name__ == "__main__":
    main()
