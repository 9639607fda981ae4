#!/usr/bin/env python3
"""A local network of its own for tests of service discovery: a network namespace with a
veth pair, a private D-Bus system bus and an Avahi daemon that uses only that pair. Runs a
command inside it and removes everything afterwards, whatever happened.

  lan_namespace.py COMMAND ARGS...

Inside, DBUS_SYSTEM_BUS_ADDRESS names the private bus, so the Avahi client library finds the
test's daemon and never the machine's. Needs root (network namespaces); exits 77 (skipped)
when not root. The command's exit status is the script's.
"""
import ctypes
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

DBUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path={socket}</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
"""

AVAHI_CONFIG = """[server]
use-ipv4=yes
use-ipv6=no
allow-interfaces={a},{b}
enable-dbus=yes
ratelimit-interval-usec=0
[wide-area]
enable-wide-area=no
[publish]
publish-hinfo=no
publish-workstation=no
publish-aaaa-on-ipv4=no
"""


def run(*args, check=True):
    return subprocess.run(args, check=check, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          text=True)


def die_with_me():
    """In a daemon's process before it starts: it ends when this script ends, even when the
    script is killed outright and its own clean-up cannot run."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def remove_namespace(ns):
    for pid in run("ip", "netns", "pids", ns, check=False).stdout.split():
        try:
            os.kill(int(pid), signal.SIGKILL)
        except (ProcessLookupError, ValueError):
            pass
    run("ip", "netns", "delete", ns, check=False)


def remove_leftovers():
    """Namespaces of earlier runs that were killed before they could clean up."""
    for line in run("ip", "netns", "list", check=False).stdout.splitlines():
        m = re.match(r"^(bglan(\d+))\b", line)
        if m and not os.path.exists(f"/proc/{m.group(2)}"):
            remove_namespace(m.group(1))
    for name in os.listdir(tempfile.gettempdir()):
        m = re.match(r"^bg-lan-(\d+)-", name)
        if m and not os.path.exists(f"/proc/{m.group(1)}"):
            shutil.rmtree(os.path.join(tempfile.gettempdir(), name), ignore_errors=True)


def wait_for(condition, seconds, what):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if condition():
            return
        time.sleep(0.1)
    raise SystemExit("timed out waiting for " + what)


def main():
    if os.geteuid() != 0:
        print("skipped: a network namespace of the test's own needs root", file=sys.stderr)
        return 77
    for tool in ("ip", "dbus-daemon", "avahi-daemon"):
        if not shutil.which(tool) and not os.path.exists("/usr/sbin/" + tool):
            raise SystemExit(f"{tool} is missing: scripts/bootstrap.sh installs it")
    remove_leftovers()
    pid = os.getpid()
    # Interface names hold at most 15 characters.
    ns, a, b = f"bglan{pid}", f"bg{pid}a", f"bg{pid}b"
    top = tempfile.mkdtemp(prefix=f"bg-lan-{pid}-")
    daemons = []
    namespace_made = False

    def stop(*_):
        raise SystemExit("stopped by a signal")

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    try:
        run("ip", "netns", "add", ns)
        namespace_made = True
        inside = ["ip", "netns", "exec", ns]
        run(*inside, "ip", "link", "set", "lo", "up")
        run(*inside, "ip", "link", "add", a, "type", "veth", "peer", "name", b)
        # Addresses of the test's own, reachable only inside this namespace.
        run(*inside, "ip", "addr", "add", "10.231.77.1/24", "dev", a)
        run(*inside, "ip", "addr", "add", "10.231.77.2/24", "dev", b)
        for dev in (a, b):
            run(*inside, "ip", "link", "set", dev, "up", "multicast", "on")

        bus = os.path.join(top, "system_bus_socket")
        with open(os.path.join(top, "bus.conf"), "w") as f:
            f.write(DBUS_CONFIG.format(socket=bus))
        daemons.append(subprocess.Popen(
            [*inside, "dbus-daemon", "--config-file=" + os.path.join(top, "bus.conf"), "--nofork",
             "--nopidfile"], preexec_fn=die_with_me, stdout=subprocess.DEVNULL, stderr=open(os.path.join(top, "dbus.log"), "w")))
        wait_for(lambda: os.path.exists(bus), 20, "the private system bus")
        address = "unix:path=" + bus

        with open(os.path.join(top, "avahi.conf"), "w") as f:
            f.write(AVAHI_CONFIG.format(a=a, b=b))
        # Its own folder for the pid file and socket: a machine's own daemon keeps its own.
        avahi_log = open(os.path.join(top, "avahi.log"), "w")
        daemons.append(subprocess.Popen(
            [*inside, "unshare", "--mount", "sh", "-c",
             'mount -t tmpfs bg-avahi /run && mkdir -p /run/avahi-daemon && exec avahi-daemon '
             '--no-chroot --no-drop-root --no-rlimits --no-proc-title -f "$1"', "sh",
             os.path.join(top, "avahi.conf")],
            env=dict(os.environ, DBUS_SYSTEM_BUS_ADDRESS=address), preexec_fn=die_with_me,
            stdout=avahi_log, stderr=subprocess.STDOUT))

        def avahi_ready():
            with open(os.path.join(top, "avahi.log")) as log:
                return "Server startup complete" in log.read()
        try:
            wait_for(avahi_ready, 30, "the Avahi daemon")
        except SystemExit:
            with open(os.path.join(top, "avahi.log")) as log:
                print(log.read(), file=sys.stderr)
            raise

        env = dict(os.environ, DBUS_SYSTEM_BUS_ADDRESS=address, BG_LAN_HOST_ADDRESS="10.231.77.1")
        return subprocess.run([*inside, *sys.argv[1:]], env=env, preexec_fn=die_with_me).returncode
    finally:
        for d in reversed(daemons):
            if d.poll() is None:
                d.terminate()
                try:
                    d.wait(10)
                except subprocess.TimeoutExpired:
                    d.kill()
                    d.wait()
        if namespace_made:
            remove_namespace(ns)  # whatever still runs inside goes with it
        shutil.rmtree(top, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
