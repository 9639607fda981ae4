#!/usr/bin/env python3
"""The tally file across whole runs of the program. A headless host, a raw client "Rival" in
seat 1 and the program as "Tester" in seat 2, who tallies Rival: Rival starts a game and
concedes it, the host ends, the program closes, and its tally file holds the game. A second
run starts the since-start columns at 0 again. A damaged tally file is moved aside, the
program still starts, and the damaged file is still there after it ends.

  tally_test.py BINARY
"""
import os
import socket
import subprocess
import sys
import tempfile
import time

TERMINATOR = b"\xff"
TALLY = "Backgammontally.tld"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def pack_stored(data):
    """The tally file format with stored blocks only, which every reader must accept."""
    out = b"WRZL" + len(data).to_bytes(4, "little")
    for at in range(0, len(data) + 1, 32768):
        chunk = data[at:at + 32768]
        out += (len(chunk) + 1).to_bytes(2, "little") + b"\x80" + chunk
    return out


def unpack(packed):
    assert packed[:4] == b"WRZL", packed[:4]
    expected, x, out = int.from_bytes(packed[4:8], "little"), 8, bytearray()
    while True:
        length = int.from_bytes(packed[x:x + 2], "little")
        s, x = packed[x + 2:x + 2 + length], x + 2 + length
        start = len(out)
        if length > 1 and s[0] == 0x80:
            out += s[1:]
        elif length > 1:
            control, bits, i = (s[1] << 8) | s[2], 16, 3
            while i < length:
                if bits == 0:
                    control, bits, i = (s[i] << 8) | s[i + 1], 16, i + 2
                if control & 0x8000 == 0:
                    out.append(s[i])
                    i += 1
                elif (s[i] << 4) | (s[i + 1] >> 4) == 0:
                    out += bytes([s[i + 3]]) * (((s[i + 1] << 8) | s[i + 2]) + 16)
                    i += 4
                else:
                    pos = (s[i] << 4) | (s[i + 1] >> 4)
                    for _ in range((s[i + 1] & 15) + 3):
                        out.append(out[-pos])
                    i += 2
                control, bits = (control << 1) & 0xFFFF, bits - 1
        if len(out) - start < 32768:
            break
    assert len(out) == expected
    return bytes(out)


def grid(text):
    lines = text.decode().split("\r\n")
    cols, rows = int(lines[0]), int(lines[1])
    cells = lines[2:2 + cols * rows]
    return [[cells[c * rows + r] for c in range(cols)] for r in range(rows)]


def grid_text(rows):
    cols = len(rows[0])
    lines = [str(cols), str(len(rows))] + [row[c] for c in range(cols) for row in rows]
    return ("\r\n".join(lines) + "\r\n").encode()


class Lines:
    def __init__(self, sock):
        self.sock, self.rest = sock, b""

    def until(self, prefix, timeout=30):
        self.sock.settimeout(timeout)
        while True:
            while TERMINATOR not in self.rest:
                chunk = self.sock.recv(65536)
                if not chunk:
                    raise SystemExit("host closed the connection")
                self.rest += chunk
            line, self.rest = self.rest.split(TERMINATOR, 1)
            line = line.decode("latin-1")
            if line.startswith(prefix):
                return line


def send(sock, text):
    sock.sendall(text.encode("latin-1") + TERMINATOR)


def run(binary, top, config, game):
    """One run of the program as Tester in seat 2 of a headless host; `game` plays a game."""
    run_with(binary, binary, top, game, config)


def run_with(host_binary, binary, top, game, config=None):
    """As run(), with the host and the player started from two binaries; without `config` the
    player finds its own folder for the settings and tally files."""
    port = free_port()
    env = dict(os.environ, BG_CONFIG_DIR=os.path.join(top, "host"), QT_QPA_PLATFORM="offscreen")
    host = subprocess.Popen([host_binary, "--serve", "--port", str(port)], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    program = None
    try:
        deadline = time.time() + 20
        while True:
            try:
                rival = socket.create_connection(("127.0.0.1", port), timeout=5)
                break
            except OSError:
                if time.time() > deadline:
                    raise SystemExit("host never listened")
                time.sleep(0.05)
        lines = Lines(rival)
        assert lines.until("CMD_sendlogininfo+") == "CMD_sendlogininfo+1"
        send(rival, "CMD_logininfo+1+1.0.4+Rival")
        runtime = os.path.join(top, "run")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", BG_PORT=str(port),
                   XDG_RUNTIME_DIR=runtime, XDG_DATA_HOME=runtime)
        if config:
            env["BG_CONFIG_DIR"] = config
        program = subprocess.Popen([binary, "Tester", "127.0.0.1", "false"], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        lines.until("CMD_newplayerinfo+2+Tester")
        if game:
            send(rival, "CMD_startgame+Rival+120+0+")
            send(rival, "CMD_concede+1+")
            assert lines.until("CMD_winner+") == "CMD_winner+Tester+"
        time.sleep(1.0)  # the program handles what it was sent
        assert program.poll() is None, "the program ended early"
        rival.close()
    finally:
        host.send_signal(2)  # the host ends; the program's connection closes and it ends too
        try:
            host.wait(20)
            code = program.wait(20) if program else 0
        except subprocess.TimeoutExpired:
            for p in (host, program):
                if p and p.poll() is None:
                    p.kill()
            raise SystemExit("the program did not end with its host")
    assert code == 0, code


def main():
    binary = sys.argv[1]
    with tempfile.TemporaryDirectory() as top:
        config = os.path.join(top, "tester")
        os.makedirs(config)
        path = os.path.join(config, TALLY)
        before = [["0", "4", "1", "0", "0", "0", "0", "0", "0"],
                  ["Rival", "4", "3", "1", "0", "2", "2", "0", "0"]]
        with open(path, "wb") as f:
            f.write(pack_stored(grid_text(before)))

        run(binary, top, config, game=True)
        after = grid(unpack(open(path, "rb").read()))
        assert after == [["0", "5", "2", "0", "0", "0", "0", "0", "0"],
                         ["Rival", "5", "3", "2", "0", "1", "0", "1", "0"]], after
        assert not os.path.exists(path + ".new")

        run(binary, top, config, game=False)
        again = grid(unpack(open(path, "rb").read()))
        assert again[1] == ["Rival", "5", "3", "2", "0", "0", "0", "0", "0"], again

        damaged = b"WRZL\x40\x00\x00\x00 not a tally"
        with open(path, "wb") as f:
            f.write(damaged)
        run(binary, top, config, game=True)
        assert open(path + ".damaged", "rb").read() == damaged
        fresh = grid(unpack(open(path, "rb").read()))
        assert fresh == [["0", "1", "1", "0", "0", "0", "0", "0", "0"]], fresh
    print("ok")


if __name__ == "__main__":
    main()
