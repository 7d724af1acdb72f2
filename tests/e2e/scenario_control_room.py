"""The control room in front of a lab: a mosquitto broker of its own, the module bridge polling
20 simulated modules (serial numbers 5001 to 5020, "m1" ... "m20" in the bridge's file, one
cycle a second, commands and a sequence folder), and vorn-control-room started on the broker.

The operator sees the 20 modules online; switches channel 0 of m7 on with the Module tab's
buttons; a trip on the module (the simulator's control port) is in the alarm list within 2 s,
with the status bar's red alarm count; an emergency off for m7 from the control room reaches
that module's wire; a sequence is chosen, run on m8 and aborted from the Sequences tab; the
bridge stopped (SIGTERM) turns every module stale at once; the control room started again under
a German locale speaks German. A screenshot after each of these."""

import subprocess
import time

import ui
from broker import Bridge, Broker, sequence_folder
from harness import Failure, wait_for

TITLE = "Vorn Control Room"
PREFIX = "e2e"
MODULES = 20
FIRST_SERIAL = 5001
GERMAN = {"LANG": "de_DE.UTF-8", "LC_ALL": "de_DE.UTF-8", "LANGUAGE": "de"}
# How much later than the 2 s of the alarm path a poll over the accessibility bus may see it.
POLL_TOLERANCE = 0.3

# A few steps with holds: it runs for about 10 s when nobody stops it; the abort ramps down.
STEPS = """{ "version": 1, "name": "Three steps (test)", "channels": "all",
  "steps": [ { "voltage": 200, "rampSpeed": 200, "hold": 2 },
             { "voltage": 400, "hold": 2 },
             { "voltage": 600, "hold": 20 } ],
  "safety": { "rampDownSpeed": 1000, "abort": "rampDown" } }
"""
# A second file, so that the choice in the list is one.
RAMP_DOWN = """{ "version": 1, "name": "Down (test)", "channels": "all",
  "steps": [ { "voltage": 0, "rampSpeed": 500, "hold": 0 } ] }
"""


def check(condition, message):
    if not condition:
        raise Failure(message)


class Room:
    """The control room's window as the scenario reaches it over the accessibility bus."""

    def __init__(self, panel, main):
        self.panel = panel
        self.main = main
        self.tree = panel.find(main, "tree")
        self.alarms = panel.find(main, "table")  # the one table: the alarm list
        self.filter = panel.find(main, "text")  # the one line edit: the overview's search

    def rows(self):
        """The overview's top-level rows as lists of cell texts (module rows, and channel
        rows where a module is expanded)."""
        t = self.tree.queryTable()
        return [[ui.text_of(t.getAccessibleAt(r, c)) for c in range(t.nColumns)]
                for r in range(t.nRows)]

    def column(self, header):
        t = self.tree.queryTable()
        for c in range(t.nColumns):
            if t.getColumnDescription(c) == header:
                return c
        raise Failure(f'no column "{header}" in the overview')

    def cell(self, row, column):
        return self.tree.queryTable().getAccessibleAt(row, column)

    def alarm_rows(self):
        t = self.alarms.queryTable()
        return [[ui.text_of(t.getAccessibleAt(r, c)) for c in range(t.nColumns)]
                for r in range(t.nRows)]

    def alarm_count(self):
        return self.alarms.queryTable().nRows

    def status_labels(self):
        """The status bar's labels: [alarm count, connection]."""
        bar = self.panel.find(self.main, "status bar")
        return [ui.text_of(n) for n in ui.walk(bar) if ui.role(n) == "label"]

    def label_after(self, button):
        """The first label after the push button named `button`: the Module tab's answer
        (after "Emergency off"), the Sequences tab's progress (after "Abort")."""
        seen = False
        for n in ui.walk(self.main):
            if ui.role(n) == "push button" and ui.name(n) == button:
                seen = True
            elif seen and ui.role(n) == "label":
                return n
        raise Failure(f'no label after the button "{button}"')

    def button(self, name):
        return self.panel.find(self.main, "push button", name)

    def tab(self, name):
        tab = self.panel.find(self.main, "page tab", name)
        self.panel.click(tab)
        wait_for(lambda: any(ui.name(t) == name
                             for t in self.panel.find_all(self.main, "page tab list")),
                 5, f'tab "{name}" shown')

    def search(self, text):
        """Types into the overview's search field, as an operator does, and waits until the
        overview shows only the matching module."""
        self.panel.click(self.filter)
        self.panel.key("ctrl+a", "BackSpace")
        if text:
            self.panel.type(text)
        want = 1 if text else MODULES
        serial = self.column("Serial")
        # Module rows have a serial number; the channel rows of an open module have none.
        modules = lambda: [r for r in self.rows() if r[serial]]
        wait_for(lambda: len(modules()) == want
                 and (not text or modules()[0][serial] == text), 5,
                 f'the overview filtered to "{text}"')


def start_room(s, broker, extra_env=None, log_name=None):
    s.start_app(extra_env, ["--broker", f"127.0.0.1:{broker.port}", "--prefix", PREFIX],
                log_name)
    panel = ui.Panel(s)
    main = wait_for(lambda: next((w for w in panel.windows() if ui.role(w) == "frame"
                                  and ui.showing(w)), None), 20, "the control room's window")
    panel.main_title = ui.name(main)
    panel.focus(panel.main_title)
    return panel, main


def red_behind(s, picture, node):
    """The mean colour (0 ... 1 each) of the screenshot where `node` is."""
    ext = node.queryComponent().getExtents(ui.pyatspi.DESKTOP_COORDS)
    out = subprocess.run(
        ["convert", picture, "-crop", f"{ext.width}x{ext.height}+{ext.x}+{ext.y}", "+repage",
         "-format", "%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]", "info:"],
        capture_output=True, text=True, timeout=20).stdout.split()
    return [float(v) for v in out] if len(out) == 3 else None


def _status_words(sim, module):
    """The channels' status words of the module counted from 0."""
    return [int(v) for v in sim.values(":READ:CHAN:STAT? (@0-3)", module)]


ON, EMERGENCY = 1 << 3, 1 << 5


def _done(answer, sent):
    """Whether the Module tab's answer line says `sent` and that the module shows it done."""
    text = ui.text_of(answer)
    return text.startswith(sent) and text.endswith("the module shows it done.")


def control_room(s):
    broker = Broker(s)
    sim = s.start_sim("modules", "--tcp", "0", "--modules", str(MODULES), "--serial-number",
                      str(FIRST_SERIAL), "--channels", "4", "--no-noise", "--control", "0")
    folder = sequence_folder(s, {"steps.json": STEPS, "down.json": RAMP_DOWN})
    bridge = Bridge(s, broker, sim.ports, PREFIX, folder)

    # 1. The window, connected, with the 20 modules online.
    panel, main = start_room(s, broker)
    check(ui.name(main) == TITLE, f'the window is titled "{ui.name(main)}", not "{TITLE}"')
    room = Room(panel, main)
    connected = f"Connected to 127.0.0.1:{broker.port}, prefix {PREFIX}"
    wait_for(lambda: connected in room.status_labels(), 10, f'status "{connected}"')
    serial, state = room.column("Serial"), room.column("State")
    want = [str(FIRST_SERIAL + m) for m in range(MODULES)]
    try:
        wait_for(lambda: sorted(r[serial] for r in room.rows()) == want
                 and all(r[state] == "online" for r in room.rows()), 30,
                 f"{MODULES} modules online in the overview")
    except Failure as failure:
        raise Failure(f"{failure}; rows: {room.rows()}") from None
    s.screenshot("1_overview")

    # 2. Channel 0 of m7 to 500 V and on with the Module tab's buttons; a trip on the module.
    # In the whole overview: the search keeps the rows that match it, and a channel row of
    # m7 does not match "5007".
    check(room.rows()[6][serial] == "5007", f"the overview's seventh row: {room.rows()[6]}")
    panel.click(room.cell(6, 0))
    module_label = next(n for n in ui.walk(main) if ui.role(n) == "label"
                        and ui.text_of(n).startswith(("Module ", "Select ")))
    try:
        wait_for(lambda: ui.text_of(module_label)
                 == "Module m7 (KA2F840p, serial 5007), all channels", 5, "m7 chosen")
        panel.key("plus", "Down")  # open the module, down to its channel 0
        wait_for(lambda: ui.text_of(module_label)
                 == "Module m7 (KA2F840p, serial 5007), channel 0", 5, "channel 0 of m7 chosen")
    except Failure as failure:
        raise Failure(f'{failure}; the module tab says "{ui.text_of(module_label)}"') from None
    room.tab("Module")
    answer = room.label_after("Emergency off")
    panel.click(room.button("Set voltage..."))
    panel.enter_number("500", title="Set voltage")
    wait_for(lambda: _done(answer, "Sent set voltage 500 V to module 5007, channel 0"), 10,
             "the set voltage shown done")
    check(sim.values(":READ:VOLT? (@0-3)", 6)[0] == 500, "m7's channel 0 is not set to 500 V")
    panel.press(room.button("On"))
    wait_for(lambda: _status_words(sim, 6)[0] & ON, 10, "m7's channel 0 on in the module")
    wait_for(lambda: _done(answer, "Sent on to module 5007, channel 0"), 10,
             "the on shown done")
    check(not any(_status_words(sim, m)[0] & ON for m in (5, 7)),
          "the on reached another module than m7")
    room.tab("Alarms")
    check(room.alarm_count() == 0, f"alarms before the trip: {room.alarm_rows()}")
    check(room.status_labels()[0] == "", f'the status bar says "{room.status_labels()[0]}" '
          "before any alarm")

    tripped = time.monotonic()
    sim.control("@6 trip 0")
    wait_for(lambda: room.alarm_count() > 0, 10, "the trip in the alarm list")
    delay = time.monotonic() - tripped
    print(f"the trip reached the alarm list after {delay:.2f} s", flush=True)
    check(delay <= 2 + POLL_TOLERANCE, f"the trip took {delay:.2f} s to the alarm list")
    rows = room.alarm_rows()
    check(len(rows) == 1 and rows[0][1] == "5007" and rows[0][2] == "0"
          and rows[0][3].startswith("channel 0 tripped") and rows[0][4] == "yes",
          f"the alarm list after the trip: {rows}")
    wait_for(lambda: room.status_labels()[0] == "1 alarm", 5, 'the status bar "1 alarm"')
    time.sleep(0.3)  # not a check: lets the status bar's next paint show the colour
    picture = s.screenshot("2_alarm")
    count = next(n for n in ui.walk(panel.find(main, "status bar")) if ui.role(n) == "label")
    colour = red_behind(s, picture, count)
    check(colour and colour[0] > 0.6 and colour[1] < 0.5 and colour[2] < 0.5,
          f"the alarm count is not on red: mean colour {colour}")

    # 3. Emergency off for the whole of m7: the module found by its serial number, chosen.
    room.search("5007")
    panel.click(room.cell(0, 0))
    wait_for(lambda: ui.text_of(module_label)
             == "Module m7 (KA2F840p, serial 5007), all channels", 5, "m7 chosen")
    room.tab("Module")
    start = len(sim.trace())
    panel.press(room.button("Emergency off"))
    line = sim.wait_line(lambda l: l.startswith(":VOLT EMCY OFF,"), 10,
                         "the emergency off on the wire", start)
    check("(@0-3)" in line.split(";")[0], f"the emergency off is not for all channels: {line}")
    wait_for(lambda: all(w & EMERGENCY for w in _status_words(sim, 6)), 10,
             "m7's channels in emergency off")
    check(not any(w & EMERGENCY for m in (5, 7) for w in _status_words(sim, m)),
          "the emergency off reached another module than m7")
    check(sum(1 for l in sim.trace()[start:] if "EMCY" in l) == 1,
          "more than one emergency off on the wire")
    wait_for(lambda: _done(answer, "Sent emergency off to module 5007, all channels"), 10,
             "the emergency off shown done")
    # Each channel's emergency off is an alarm of its own, besides the trip.
    try:
        wait_for(lambda: sorted(r[3] for r in room.alarm_rows() if r[1] == "5007"
                                and "emergency off" in r[3])
                 == [f"channel {c} emergency off" for c in range(4)], 10,
                 "the emergency offs in the alarm list")
    except Failure as failure:
        raise Failure(f"{failure}: {room.alarm_rows()}") from None
    wait_for(lambda: room.status_labels()[0] == "5 alarms", 5, 'the status bar "5 alarms"')
    s.screenshot("3_emergency_off")
    # The trend of m7 from its measured topics: channel 0 up at 500 V, down after the trip.
    room.tab("Trend")
    trend = next(n for n in ui.walk(main) if ui.role(n) == "label"
                 and ui.text_of(n).startswith("Measured values of module "))
    check(ui.text_of(trend).startswith("Measured values of module 5007 (m7), all channels"),
          f'the trend says "{ui.text_of(trend)}"')
    s.screenshot("3_trend")

    # 4. A sequence on m8, chosen from the bridge's files, run and aborted.
    room.search("5008")
    panel.click(room.cell(0, 0))
    wait_for(lambda: ui.text_of(module_label)
             == "Module m8 (KA2F840p, serial 5008), all channels", 5, "m8 chosen")
    room.tab("Sequences")
    combo = panel.find(main, "combo box")
    wait_for(lambda: ui.name(combo) in ("down.json", "steps.json"), 10,
             "the bridge's sequence files in the list")
    panel.click(combo)
    item = wait_for(lambda: next((n for n in ui.walk(combo) if ui.role(n) == "list item"
                                  and ui.name(n) == "steps.json" and ui.showing(n)), None),
                    5, '"steps.json" in the open list')
    panel.click(item)
    wait_for(lambda: ui.name(combo) == "steps.json", 5, '"steps.json" chosen')
    progress = room.label_after("Abort")
    start = len(sim.trace())
    panel.press(room.button("Run"))
    wait_for(lambda: ui.text_of(progress).startswith("steps.json: running, step 2 of 3"), 20,
             "the sequence running in step 2")
    wait_for(lambda: sim.values(":READ:VOLT? (@0-3)", 7) == [400] * 4, 5,
             "m8's channels set to 400 V in step 2")
    s.screenshot("4_sequence_running")
    panel.press(room.button("Abort"))
    wait_for(lambda: ui.text_of(progress).startswith("steps.json: aborted"), 20,
             "the sequence aborted")
    check(not any(w & ON for w in _status_words(sim, 7)), "m8's channels still on after the abort")
    check(any(l.startswith(":VOLT 0,(@0-3)") for l in sim.trace()[start:]),
          "no ramp down to 0 V on the wire")
    s.screenshot("5_sequence_aborted")

    # 5. The bridge stops: every module stale at once, since the bridge's state topic says
    # offline (well before the 10 s without values after which a module is stale anyway).
    room.search("")
    stopped = time.monotonic()
    code = bridge.stop()
    check(code == 0, f"the bridge ended with {code}")
    try:
        wait_for(lambda: all(r[state].startswith("stale since ") for r in room.rows()
                             if r[serial]), 5, "every module stale")
    except Failure as failure:
        raise Failure(f"{failure}; states: {[r[state] for r in room.rows()]}") from None
    print(f"stale {time.monotonic() - stopped:.2f} s after SIGTERM", flush=True)
    panel.click(room.cell(6, 0))
    room.tab("Module")
    check(not ui.enabled(room.button("On")), "On is enabled for a stale module")
    s.screenshot("6_stale")

    # 6. Quit, and again under a German locale.
    panel.focus(panel.main_title)
    panel.key("ctrl+q")
    check(s.wait_exit(10) == 0, "the control room did not end cleanly on Ctrl+Q")
    wait_for(lambda: not any(ui.name(a) == "vorn-control-room"
                             for a in ui.children(ui.pyatspi.Registry.getDesktop(0))), 10,
             "the first control room off the accessibility bus")
    panel, main = start_room(s, broker, GERMAN, "control_room_de")
    check(ui.name(main) == "Vorn-Leitstand", f'the German window is titled "{ui.name(main)}"')
    room = Room(panel, main)
    connected = f"Verbunden mit 127.0.0.1:{broker.port}, Präfix {PREFIX}"
    wait_for(lambda: connected in room.status_labels(), 10, f'status "{connected}"')
    tabs = [ui.name(t) for t in panel.find_all(main, "page tab")]
    check(tabs == ["Alarme", "Modul", "Trend", "Sequenzen"], f"the German tabs: {tabs}")
    state = room.column("Zustand")
    wait_for(lambda: len(room.rows()) == MODULES
             and all(r[state].startswith("veraltet seit ") for r in room.rows()), 10,
             f'{MODULES} modules "veraltet seit" in the German overview')
    s.screenshot("7_german")
