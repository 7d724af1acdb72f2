"""Processes of one end-to-end run: an X server, the module simulator and the panel.

Every process started here is ended by Session.close(), also when a check fails. Waiting is
always for an event with a bound (wait_for); a fixed pause never decides a check.
"""

import configparser
import os
import select
import shutil
import signal
import socket
import subprocess
import tempfile
import time


class Failure(Exception):
    """A scenario check that did not hold."""


def wait_for(predicate, timeout, what, interval=0.05):
    """Returns the first true value of predicate(), or fails after `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"{what}: not seen within {timeout:g} s")
        time.sleep(interval)


def read_text(path):
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read()
    except FileNotFoundError:
        return ""


class Simulator:
    """A running vorn-module-sim with its command trace."""

    def __init__(self, session, name, options):
        self.trace_path = os.path.join(session.tmp, f"{name}.trace")
        self.log_path = os.path.join(session.out, f"{session.scenario}_{name}.log")
        self.log = open(self.log_path, "wb")
        self.proc = session.spawn(
            [session.sim_path, "--trace", self.trace_path, *options],
            stdout=subprocess.PIPE, stderr=self.log, bufsize=0)  # unbuffered: select() sees
        # each line that is not read yet
        ready, _, _ = select.select([self.proc.stdout], [], [], 10)
        line = self.proc.stdout.readline().decode().strip() if ready else ""
        if not line:
            raise Failure(f"simulator {name} did not report ready (see {self.log_path})")
        self.kind, _, self.where = line.partition(" ")
        # With --modules N the ready line names the first and the last port: "tcp ADDR:A-B".
        ports = self.where.rsplit(":", 1)[1].split("-") if self.kind == "tcp" else []
        self.ports = list(range(int(ports[0]), int(ports[-1]) + 1)) if ports else []
        self.port = self.ports[0] if ports else None
        self.control_port = None
        if "--control" in options:  # its line follows the ready line
            ready, _, _ = select.select([self.proc.stdout], [], [], 10)
            control = self.proc.stdout.readline().decode().strip() if ready else ""
            if not control.startswith("control "):
                raise Failure(f"simulator {name} did not name its control port: {control!r}")
            self.control_port = int(control.rsplit(":", 1)[1])

    def trace(self):
        """The request lines received so far."""
        return read_text(self.trace_path).splitlines()

    def wait_line(self, predicate, timeout, what, start=0):
        """Waits for a trace line (from index `start` on) that satisfies predicate."""
        return wait_for(lambda: next(
            (l for l in self.trace()[start:] if predicate(l)), None), timeout, what)

    @staticmethod
    def _exchange(port, line):
        """Sends one line to a port of the simulator and returns the answer line."""
        with socket.create_connection(("127.0.0.1", port), timeout=3) as s:
            s.sendall(line.encode() + b"\r\n")
            answer = b""
            while not answer.endswith(b"\n"):
                chunk = s.recv(4096)
                if not chunk:
                    break
                answer += chunk
        return answer.decode().strip()

    def query(self, line, module=0):
        """Asks the module (with --modules: the one counted from 0) over a second TCP
        connection, as a second client would."""
        return self._exchange(self.ports[module], line)

    def control(self, command):
        """Sends one line to the control port (--control); fails unless it answers "ok"."""
        answer = self._exchange(self.control_port, command)
        if answer != "ok":
            raise Failure(f'control "{command}": {answer}')
        return answer

    def values(self, line, module=0):
        """The numbers of an answer such as "1.00000E2V,0.00000E0V"."""
        return [float(v.rstrip("VAs%")) for v in self.query(line, module).split(",")]


class Session:
    """One scenario's X server, simulators and panel, with its throw-away settings folder."""

    def __init__(self, scenario, app_path, sim_path, out, gpib_dir=None, bridge_path=None,
                 broker_path=None):
        self.scenario = scenario
        self.app_path = app_path
        self.sim_path = sim_path
        self.bridge_path = bridge_path
        self.broker_path = broker_path
        self.out = out
        self.gpib_dir = gpib_dir
        self.tmp = tempfile.mkdtemp(prefix=f"vorn-e2e-{scenario}-")
        self.home = os.path.join(self.tmp, "home")
        self.config = os.path.join(self.tmp, "config")
        self.workdir = os.path.join(self.tmp, "work")
        self.runtime = os.path.join(self.tmp, "runtime")
        for d in (self.home, self.config, self.workdir, self.runtime):
            os.makedirs(d, mode=0o700)
        for old in os.listdir(out):  # pictures of an earlier run would mislead
            if old.startswith(f"{scenario}_") and old.endswith(".png"):
                os.remove(os.path.join(out, old))
        self.procs = []
        self.app = None
        self.started = time.monotonic()
        self.env = dict(os.environ)
        try:
            self.start_x()
        except Failure:
            self.close()
            raise

    def spawn(self, argv, **kwargs):
        proc = subprocess.Popen(argv, env=self.env, start_new_session=True, **kwargs)
        self.procs.append(proc)
        return proc

    def start_x(self):
        """Starts Xvfb on the first free display from :90 on (another run may take a number
        at the same time: then the server ends and the next number is tried)."""
        for number in range(90, 400):
            if any(os.path.exists(p) for p in (f"/tmp/.X{number}-lock",
                                                f"/tmp/.X11-unix/X{number}")):
                continue
            log = open(os.path.join(self.out, f"{self.scenario}_x.log"), "ab")
            proc = self.spawn(["Xvfb", f":{number}", "-screen", "0", "1280x900x24",
                               "-nolisten", "tcp", "-noreset"], stderr=log)
            if self._x_ready(proc, f"/tmp/.X11-unix/X{number}"):
                self.env["DISPLAY"] = f":{number}"
                self._own_accessibility_bus()
                return
        raise Failure("the X server did not start")

    def _own_accessibility_bus(self):
        """Gives the accessibility bus that the session bus starts on demand this run's
        display and runtime folder. Without them its socket is ~/.cache/at-spi/bus for every
        run of the user, and runs at the same time (other build folders) take each other's
        socket: a program then registers on another run's bus and is never found."""
        if "DBUS_SESSION_BUS_ADDRESS" not in self.env:
            return
        from gi.repository import Gio, GLib
        bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                      "UpdateActivationEnvironment",
                      GLib.Variant("(a{ss})", ({"DISPLAY": self.env["DISPLAY"],
                                                "XDG_RUNTIME_DIR": self.runtime},)),
                      None, Gio.DBusCallFlags.NONE, 5000, None)

    @staticmethod
    def _x_ready(proc, path):
        deadline = time.monotonic() + 15
        while proc.poll() is None and time.monotonic() < deadline:
            with socket.socket(socket.AF_UNIX) as s:
                if s.connect_ex(path) == 0:
                    return True
            time.sleep(0.05)
        return False

    def start_sim(self, name, *options):
        return Simulator(self, name, list(options))

    def start_app(self, extra_env=None, args=(), log_name=None):
        """Starts the program under test (the panel, or the control room with `args`) with the
        scenario's settings folder, fresh at the first start; its output goes to
        <scenario>.log, or <log_name>.log."""
        env = dict(self.env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   QT_ACCESSIBILITY="1", HOME=self.home, XDG_CONFIG_HOME=self.config,
                   XDG_RUNTIME_DIR=self.runtime,
                   LANG="C.UTF-8", LC_ALL="C.UTF-8", LANGUAGE="",
                   QT_LOGGING_RULES="qt.accessibility.atspi=false")
        # Under the sanitizers the scenario judges behaviour; leak checks of a whole X and
        # accessibility client are left to the unit tests (their reports change the exit code).
        if "ASAN_OPTIONS" in env:
            env["ASAN_OPTIONS"] += ":detect_leaks=0"
        env.update(extra_env or {})
        self.log_path = os.path.join(self.out, f"{log_name or self.scenario}.log")
        self.app_log = open(self.log_path, "wb")
        self.app = subprocess.Popen([self.app_path, *args], env=env, cwd=self.workdir,
                                    stdout=self.app_log, stderr=subprocess.STDOUT,
                                    start_new_session=True)
        self.procs.append(self.app)
        return self.app

    def log(self):
        return read_text(self.log_path)

    def settings(self, application="VornScpiControl"):
        """The panel's settings file as a flat dict (keys of [General] without prefix)."""
        # IniFormat names the file .ini, the native format on Linux .conf; both are INI.
        base = os.path.join(self.config, "Vornwerk GmbH", application)
        path = base + ".ini" if os.path.exists(base + ".ini") else base + ".conf"
        parser = configparser.ConfigParser(interpolation=None)
        parser.optionxform = str
        try:
            parser.read(path, encoding="utf-8")
        except configparser.Error:
            return {}
        return {(k if s == "General" else f"{s}/{k}"): v
                for s in parser.sections() for k, v in parser[s].items()}

    def config_files(self):
        return [os.path.relpath(os.path.join(d, f), self.config)
                for d, _, files in os.walk(self.config) for f in files]

    def screenshot(self, step):
        print(f"{time.monotonic() - self.started:6.1f} s  {self.scenario}_{step}", flush=True)
        path = os.path.join(self.out, f"{self.scenario}_{step}.png")
        subprocess.run(["import", "-display", self.env["DISPLAY"], "-window", "root", path],
                       env=self.env, check=False, timeout=20,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path

    def wait_exit(self, timeout):
        """The panel's exit code, once it has ended within `timeout` seconds."""
        try:
            return self.app.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the panel did not exit within {timeout:g} s") from None

    def close(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                try:
                    os.killpg(proc.pid, signal.SIGTERM)
                    os.killpg(proc.pid, signal.SIGCONT)  # a stopped simulator must see it
                except ProcessLookupError:
                    pass
        for proc in reversed(self.procs):
            try:
                proc.wait(3)
            except subprocess.TimeoutExpired:
                os.killpg(proc.pid, signal.SIGKILL)
                proc.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)
