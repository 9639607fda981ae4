#!/usr/bin/env python3
"""The program as a user meets it after `cmake --install`: the program, its menu entry and its
icon land in the usual places under the prefix; run by an ordinary user from a folder that user
cannot write, it keeps its tally (and settings) in the user's configuration folder, and they
are still there for the next run.

  installed_test.py BUILD_DIR SOURCE_DIR
Exits 77 (skipped) when not run as root (it needs to run the program as another user).
"""
import os
import pwd
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tally_test  # noqa: E402  (the raw host client, the tally file's format)


def main():
    build, source = sys.argv[1], sys.argv[2]
    if os.geteuid() != 0:
        sys.exit(77)
    user = pwd.getpwnam("nobody")
    top = tempfile.mkdtemp(prefix="bg-installed-")
    try:
        os.chmod(top, 0o755)
        prefix = os.path.join(top, "usr")
        subprocess.run(["cmake", "--install", build, "--prefix", prefix], check=True,
                       stdout=subprocess.DEVNULL)
        binary = os.path.join(prefix, "games", "backgammon")
        for path in (binary, os.path.join(prefix, "share/applications/backgammon.desktop"),
                     os.path.join(prefix, "share/icons/hicolor/scalable/apps/backgammon.svg"),
                     os.path.join(prefix, "share/man/man6/backgammon.6.gz"),
                     os.path.join(prefix, "share/metainfo/example.veskor.backgammon.metainfo.xml"),
                     os.path.join(prefix, "share/doc/backgammon-chat/copyright")):
            assert os.path.isfile(path), path
        # The sound output, loaded with the first sound, from the games library folder.
        modules = [os.path.join(d, f) for d, _, fs in os.walk(os.path.join(prefix, "lib"))
                   for f in fs if f == "backgammon-sound.so"]
        assert modules == [os.path.join(prefix, "lib/games/backgammon/backgammon-sound.so")], modules
        entry = open(os.path.join(prefix, "share/applications/backgammon.desktop")).read()
        for line in ("Type=Application", "Exec=backgammon", "Icon=backgammon", "Name=Backgammon"):
            assert line in entry.splitlines(), line
        for dirpath, dirnames, filenames in os.walk(prefix):
            for name in dirnames:
                os.chmod(os.path.join(dirpath, name), 0o555)
        os.chmod(prefix, 0o555)

        home = os.path.join(top, "home")
        os.makedirs(home)
        os.chown(home, user.pw_uid, user.pw_gid)
        config = os.path.join(home, ".config", "Backgammon")

        # The tally of an opponent chosen earlier, where an installed program keeps it.
        os.makedirs(config)
        for d in (os.path.dirname(config), config):
            os.chown(d, user.pw_uid, user.pw_gid)
        tally = os.path.join(config, tally_test.TALLY)
        with open(tally, "wb") as f:
            f.write(tally_test.pack_stored(tally_test.grid_text(
                [["0", "0", "0", "0", "0", "0", "0", "0", "0"],
                 ["Rival", "0", "0", "0", "0", "0", "0", "0", "0"]])))
        os.chown(tally, user.pw_uid, user.pw_gid)

        # The tally test's run, with the installed program started as that user, without a
        # forced settings folder.
        real_popen = subprocess.Popen

        def as_user(args, env=None, **kw):
            if args and args[0] == binary:
                env = {k: v for k, v in (env or os.environ).items() if k != "BG_CONFIG_DIR"}
                env.update(HOME=home, XDG_RUNTIME_DIR=runtime)
                env.pop("XDG_CONFIG_HOME", None)
                args = ["setpriv", "--reuid", str(user.pw_uid), "--regid", str(user.pw_gid),
                        "--clear-groups", "--"] + list(args)
            return real_popen(args, env=env, **kw)

        runtime = os.path.join(top, "run")
        os.makedirs(runtime, mode=0o700)
        os.chown(runtime, user.pw_uid, user.pw_gid)
        subprocess.Popen = as_user
        try:
            # The host itself is the build's program; the player is the installed one.
            tally_test.run_with(os.path.join(build, "backgammon"), binary, top, True)
            after = tally_test.grid(tally_test.unpack(open(tally, "rb").read()))
            assert after[1][:4] == ["Rival", "1", "0", "1"], after
            tally_test.run_with(os.path.join(build, "backgammon"), binary, top, False)
            again = tally_test.grid(tally_test.unpack(open(tally, "rb").read()))
            assert again[1][:4] == ["Rival", "1", "0", "1"], again
        finally:
            subprocess.Popen = real_popen
        assert not os.path.exists(os.path.join(prefix, "games", tally_test.TALLY))
        assert not os.path.exists(os.path.join(prefix, "games", "vesklobby.ini"))
        print("ok:", sorted(os.listdir(config)))
    finally:
        for dirpath, dirnames, _ in os.walk(top):
            for name in dirnames:
                os.chmod(os.path.join(dirpath, name), 0o755)
        shutil.rmtree(top, ignore_errors=True)


if __name__ == "__main__":
    main()
