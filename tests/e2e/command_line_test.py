#!/usr/bin/env python3
"""The program's command line on a machine with no desktop: `--help` and `--version` answer
and exit 0, the window's command lines say in one line that a desktop is needed (exit 1, not the
toolkit's abort), and `--serve` still hosts.

  command_line_test.py BINARY VERSION
"""
import os
import shutil
import socket
import subprocess
import sys
import tempfile


def no_display_env():
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        env.pop(name, None)
    return env


def run(binary, *args, env=None):
    return subprocess.run([binary, *args], env=env or no_display_env(), capture_output=True,
                          text=True, timeout=30)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    binary, version = sys.argv[1], sys.argv[2]

    for args in (["--help"], ["--help", "--serve"]):
        r = run(binary, *args)
        assert r.returncode == 0, (args, r.returncode, r.stderr)
        assert r.stdout.startswith("Usage: backgammon"), r.stdout
        for word in ("--serve", "--port", "--version", "backgammon(6)"):
            assert word in r.stdout, (word, r.stdout)
        assert r.stderr == "", r.stderr

    r = run(binary, "--version")
    assert (r.returncode, r.stdout, r.stderr) == (0, f"backgammon {version}\n", ""), r

    # The window's command lines, and the asking words anywhere but first: a player's name.
    for args in ([], ["Alice", "127.0.0.1", "true"], ["Bob", "--help", "false"]):
        r = run(binary, *args)
        assert r.returncode == 1, (args, r.returncode, r.stderr)
        lines = r.stderr.splitlines()
        assert len(lines) == 1, (args, r.stderr)
        assert "desktop" in lines[0] and "--serve" in lines[0], lines
        assert r.stdout == "", r.stdout

    # A desktop platform named without its display is no display either.
    env = no_display_env()
    env["QT_QPA_PLATFORM"] = "xcb"
    r = run(binary, env=env)
    assert r.returncode == 1 and "desktop" in r.stderr, (r.returncode, r.stderr)

    # The headless host needs none.
    port = free_port()
    env = no_display_env()
    env["BG_CONFIG_DIR"] = tempfile.mkdtemp(prefix="bg-cli-")
    host = subprocess.Popen([binary, "--serve", "--port", str(port)], env=env,
                            stderr=subprocess.PIPE, text=True)
    try:
        line = host.stderr.readline()
        assert line.strip() == f"backgammon: hosting on port {port}", line
        with socket.create_connection(("127.0.0.1", port), timeout=10):
            pass
    finally:
        host.terminate()
        host.wait(timeout=30)
        shutil.rmtree(env["BG_CONFIG_DIR"], ignore_errors=True)
    print("command line answers without a display")


if __name__ == "__main__":
    main()
