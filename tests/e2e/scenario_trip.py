"""A channel trips: channel 0 on a 1 MOhm load at 500 V, "trip 0" through the simulator's control
port. The status bar's alarm indicator turns red with one alarm, a click on it opens the event
history, which lists "channel 0 tripped" with the voltage before the trip; "Acknowledge All"
clears the indicator. The entry is in the history file of the module's serial number.
Screenshots of the window with the alarm and of the history."""

import json
import os
import time

import ui
from harness import Failure, read_text, wait_for
from steps import TITLE, connect_tcp, start_panel


def _indicator(panel, main):
    """The status bar's alarm indicator: "No alarms" or "Alarms: <n>"."""
    return wait_for(lambda: next((b for b in panel.find_all(main, "push button")
                                  if ui.name(b) == "No alarms" or ui.name(b).startswith("Alarms:")),
                                 None), 10, "the alarm indicator")


def _rows(panel, table):
    """The history table's rows as lists of cell texts."""
    t = table.queryTable()
    return [[ui.text_of(panel.cell(table, r, c)) for c in range(t.nColumns)]
            for r in range(t.nRows)]


def trip(s):
    sim = s.start_sim("module", "--tcp", "0", "--no-noise", "--control", "0", "--load", "0=1e6")
    panel, main = start_panel(s)
    connect_tcp(s, panel, main, sim)
    indicator = _indicator(panel, main)
    if ui.name(indicator) != "No alarms":
        raise Failure(f'the indicator says "{ui.name(indicator)}" before anything happened')

    panel.key("v")
    panel.enter_number("500", title="Vorn SCPI Control")
    panel.key("o")
    sim.wait_line(lambda l: l.startswith(":VOLT ON,(@0);"), 10, "channel 0 on")
    wait_for(lambda: sim.values(":MEAS:VOLT? (@0-3)")[0] >= 499, 30, "channel 0 at 500 V")
    wait_for(lambda: sim.values(":MEAS:CURR? (@0-3)")[0] > 4e-4, 10, "0.5 mA into the load")

    sim.control("trip 0")
    wait_for(lambda: ui.name(indicator) == "Alarms: 1", 10, 'the indicator "Alarms: 1"')
    s.screenshot("1_alarm")

    panel.click(indicator)
    # A plain tool window is no dialog: look at every top-level node, whatever its role.
    history = wait_for(lambda: next((w for w in ui.children(panel.app)
                                     if "Event History" in ui.name(w) and ui.showing(w)), None),
                       10, 'window "Event History"')
    table = panel.find(history, "table")
    event = panel.column_of(table, "Event")
    voltage = panel.column_of(table, "Voltage")
    row = wait_for(lambda: next((r for r in _rows(panel, table)
                                 if r[event].startswith("channel 0 tripped")), None),
                   10, '"channel 0 tripped" in the history')
    volts = float(row[voltage].split()[0].replace(",", ""))
    if not 490 <= volts <= 510:
        raise Failure(f"the trip entry shows {row[voltage]}, not the 500 V before the trip")
    # One alarm for the trip, on whichever of the status and event words showed it first.
    severity = panel.column_of(table, "Severity")
    source = panel.column_of(table, "Source")
    alarms = [r for r in _rows(panel, table) if r[severity] == "Alarm"]
    if len(alarms) != 1 or "trip" not in alarms[0][event] or alarms[0][source] != "Channel 0":
        raise Failure(f"not one alarm for the trip of channel 0: {alarms}")
    s.screenshot("2_history")

    panel.press(panel.find(history, "push button", "Acknowledge All"))
    wait_for(lambda: ui.name(indicator) == "No alarms", 10, 'the indicator "No alarms"')
    panel.close_window("Event History")
    panel.closed(history)
    time.sleep(0.5)  # not a check: lets the main window's next paint show the cleared marks
    s.screenshot("3_acknowledged")

    serial = sim.query("*IDN?").split(",")[2]
    path = os.path.join(s.home, ".local", "share", "Vornwerk GmbH", "VornScpiControl", "history",
                        f"{serial}.jsonl")
    entries = [json.loads(l) for l in read_text(path).splitlines() if l.strip()]
    tripped = [e for e in entries if e.get("text", "").startswith("channel 0 tripped")]
    if not tripped or "isTRP" not in tripped[0]["rose"] or tripped[0]["channel"] != 0:
        raise Failure(f"no trip entry in {path}: {entries[-5:]}")
    if sum(1 for e in entries if e["severity"] == "alarm") != 1:
        raise Failure(f"not one alarm in {path}: {entries}")
