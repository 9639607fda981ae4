#!/usr/bin/env python3
"""The headless host seen from a raw TCP client.

  serve_test.py BINARY login   the host greets a new connection with CMD_sendlogininfo+1
  serve_test.py BINARY game    a client starts a game, presses start and only watches:
                               the bot plays both seats until CMD_winner
  serve_test.py BINARY strong  the same with Botabilities=2 ("Strong") in the settings file
"""
import os
import socket
import subprocess
import sys
import tempfile
import time

TERMINATOR = b"\xff"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def start_host(binary, port, config_dir):
    env = dict(os.environ, BG_CONFIG_DIR=config_dir, BG_BOT_DELAY_MS="5", BG_TICK_MS="20",
               QT_QPA_PLATFORM="offscreen")
    env.pop("DISPLAY", None)
    host = subprocess.Popen([binary, "--serve", "--port", str(port)], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    deadline = time.time() + 20
    while time.time() < deadline:
        try:
            return host, socket.create_connection(("127.0.0.1", port), timeout=5)
        except OSError:
            time.sleep(0.05)
    host.kill()
    raise SystemExit("host never listened")


class Lines:
    def __init__(self, sock):
        self.sock, self.rest = sock, b""

    def next(self, timeout):
        self.sock.settimeout(timeout)
        while TERMINATOR not in self.rest:
            chunk = self.sock.recv(65536)
            if not chunk:
                raise SystemExit("host closed the connection")
            self.rest += chunk
        line, self.rest = self.rest.split(TERMINATOR, 1)
        return line.decode("latin-1")


def send(sock, text):
    sock.sendall(text.encode("latin-1") + TERMINATOR)


def main():
    binary, mode = sys.argv[1], sys.argv[2]
    port = free_port()
    with tempfile.TemporaryDirectory() as config_dir:
        if mode == "strong":
            with open(os.path.join(config_dir, "vesklobby.ini"), "w") as ini:
                ini.write("[Backgammon]\nBotabilities=2\n")
        host, sock = start_host(binary, port, config_dir)
        try:
            lines = Lines(sock)
            first = lines.next(10)
            assert first == "CMD_sendlogininfo+1", first
            if mode in ("game", "strong"):
                send(sock, "CMD_logininfo+1+1.0.4+Watcher")
                send(sock, "CMD_startgame+Watcher+120+0+")
                send(sock, "CMD_pressstart+1+")
                send(sock, "CMD_justwatch+1+1")
                seen, moves = [], 0
                while True:
                    line = lines.next(60)
                    seen.append(line)
                    if line.startswith(("CMD_movehispiece+", "CMD_pounce+", "CMD_gothome+")):
                        moves += 1
                    if line.startswith("CMD_winner+"):
                        break
                assert "CMD_justwatching+1+1" in seen, seen[:10]
                assert any(l.startswith("CMD_firstroll+") for l in seen)
                assert moves >= 15, moves
                assert line in ("CMD_winner+Watcher+", "CMD_winner+Zobo+"), line
                print(f"game over after {moves} moves: {line}")
        finally:
            sock.close()
            host.send_signal(2)  # Ctrl+C
            try:
                code = host.wait(10)
            except subprocess.TimeoutExpired:
                host.kill()
                raise SystemExit("host did not end on Ctrl+C")
        assert code == 0, f"host exited with {code}: {host.stderr.read().decode()}"
    print("ok")


if __name__ == "__main__":
    main()
