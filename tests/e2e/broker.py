"""The control room's other side: a mosquitto broker of the scenario's own on a free loopback
port, and the module bridge publishing the simulator's modules on it.

Both are processes of the session, so Session.close() ends them also when a check fails.
"""

import os
import pwd
import signal
import socket
import subprocess
import time

from harness import Failure


def free_port():
    """A TCP port that is free on 127.0.0.1 right now."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def _accepts(port):
    with socket.socket() as s:
        s.settimeout(0.2)
        return s.connect_ex(("127.0.0.1", port)) == 0


class Broker:
    """mosquitto on 127.0.0.1 only, anonymous clients allowed, nothing kept on disk."""

    def __init__(self, session):
        self.log_path = os.path.join(session.out, f"{session.scenario}_broker.log")
        log = open(self.log_path, "wb")
        for _ in range(5):  # someone may take the port between the look and the start
            self.port = free_port()
            config = os.path.join(session.tmp, "mosquitto.conf")
            with open(config, "w", encoding="utf-8") as f:
                # Started by root it would become its own user, who cannot read our files.
                f.write(f"user {pwd.getpwuid(os.geteuid()).pw_name}\n"
                        f"listener {self.port} 127.0.0.1\nallow_anonymous true\n"
                        "persistence false\nlog_dest stderr\nlog_type error\n"
                        "log_type warning\n")
            self.proc = session.spawn([session.broker_path, "-c", config], stdout=log,
                                      stderr=log)
            deadline = time.monotonic() + 10
            while self.proc.poll() is None and time.monotonic() < deadline:
                if _accepts(self.port):
                    return
                time.sleep(0.05)
        raise Failure(f"the broker did not start (see {self.log_path})")


class Bridge:
    """vorn-module-bridge over the simulator's modules, commands on, a sequence folder, one
    polling cycle a second. Its sections are "m1" ... "mN" for the simulator's ports."""

    def __init__(self, session, broker, ports, prefix, sequences):
        self.session = session
        self.client_id = "e2e-bridge"
        text = (f"[broker]\nhost = 127.0.0.1\nport = {broker.port}\nprefix = {prefix}\n"
                f"client-id = {self.client_id}\ninsecure-commands = local-only\n"
                "[defaults]\ncycle = 1s\n")
        for number, port in enumerate(ports, 1):
            text += (f"[module m{number}]\ntcp = 127.0.0.1:{port}\ncommands = on\n"
                     f"sequences = {sequences}\n")
        self.config = os.path.join(session.tmp, "bridge.conf")
        # The bridge refuses a file that others can change.
        fd = os.open(self.config, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600)
        with os.fdopen(fd, "w", encoding="utf-8") as f:
            f.write(text)
        self.log_path = os.path.join(session.out, f"{session.scenario}_bridge.log")
        self.log = open(self.log_path, "wb")
        checked = subprocess.run([session.bridge_path, "--check", self.config],
                                 capture_output=True, text=True, timeout=20)
        if checked.returncode != 0:
            raise Failure(f"the bridge refuses its file: {checked.stdout}{checked.stderr}")
        self.proc = session.spawn([session.bridge_path, self.config], stdout=self.log,
                                  stderr=subprocess.STDOUT)

    def log_text(self):
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def stop(self, timeout=10):
        """SIGTERM, as the service manager stops it; its exit code."""
        os.kill(self.proc.pid, signal.SIGTERM)
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the bridge did not end within {timeout:g} s of SIGTERM") from None


def sequence_folder(session, files):
    """A folder of sequence files as the bridge trusts it: ours, written by us alone."""
    folder = os.path.join(session.tmp, "sequences")
    os.mkdir(folder, 0o755)
    os.chmod(folder, 0o755)
    for name, text in files.items():
        path = os.path.join(folder, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        os.chmod(path, 0o644)
    return folder
