"""Module menu -> Sequence...: the shipped example, shortened by a test file (four 250 V steps
held 2 s each and until stable), is loaded through the file dialog and run; a screenshot
mid-run shows the progress. A second run is aborted by a trip on the module: the channels ramp
down and go off."""

import json
import os

import ui
from harness import Failure, wait_for
from steps import TITLE, connect_tcp, start_panel

EXAMPLE = os.path.join(os.path.dirname(__file__), "..", "..", "sequence", "examples",
                       "condition-2kv.json")
WINDOW = "Sequence"


def _shortened(s):
    """The example with four steps, faster ramps and short holds, written for the dialog."""
    with open(EXAMPLE, encoding="utf-8") as f:
        sequence = json.load(f)
    sequence["name"] = "Condition to 1 kV (test)"
    sequence["steps"] = sequence["steps"][:4]
    for step in sequence["steps"]:
        step.update(rampSpeed=250, hold=2, window=1, currentChange=1e-6, timeout=60)
    sequence["safety"]["rampDownSpeed"] = 500
    path = os.path.join(s.workdir, "short.json")
    with open(path, "w", encoding="utf-8") as f:
        json.dump(sequence, f, indent=4)
    return path


def _labels(window):
    return " | ".join(ui.text_of(n) for n in ui.walk(window) if ui.role(n) == "label")


def _open_window(panel):
    panel.focus(TITLE)
    panel.key("alt+m", "Up", "Return")  # the last entry of the Module menu
    return wait_for(lambda: next((w for w in ui.children(panel.app)
                                  if ui.name(w) == WINDOW and ui.showing(w)), None),
                    10, f'window "{WINDOW}"')


def _load(s, panel, window, path):
    panel.focus(WINDOW)
    panel.key("alt+l")
    dialog = panel.dialog(title="Load Sequence")
    panel.key("ctrl+a")
    panel.type(path)
    panel.key("Return")
    panel.closed(dialog)
    panel.focus(WINDOW)
    wait_for(lambda: "Loaded short.json" in " ".join(
        ui.text_of(n) for n in ui.walk(window)), 10, "the journal's entry for the file")


def sequence(s):
    sim = s.start_sim("module", "--tcp", "0", "--no-noise", "--control", "0",
                      "--load", "all=1e6")
    panel, main = start_panel(s)
    connect_tcp(s, panel, main, sim)
    window = _open_window(panel)
    _load(s, panel, window, _shortened(s))
    start_button = panel.find(window, "push button", "Start")

    start = len(sim.trace())
    panel.press(start_button)
    wait_for(lambda: "Step 2 of 4" in _labels(window) and "holding" in _labels(window), 30,
             "step 2 of 4 holding")
    s.screenshot("1_running")
    wait_for(lambda: "Finished." in _labels(window), 60, "the sequence finished")
    trace = sim.trace()[start:]
    targets = [l.split(",")[0] for l in trace if l.startswith(":VOLT ") and "(@0-3);" in l
               and l.split(",")[0][6:].replace(".", "").isdigit()]
    if targets != [":VOLT 250", ":VOLT 500", ":VOLT 750", ":VOLT 1000"]:
        raise Failure(f"set voltages on the wire: {targets}")
    s.screenshot("2_finished")

    # Again, and a trip during the first step: the example ramps everything down, then off.
    start = len(sim.trace())
    panel.press(start_button)
    sim.wait_line(lambda l: l.startswith(":VOLT 250,(@0-3);"), 10, "the first step", start)
    sim.control("trip 2")
    wait_for(lambda: "Aborted:" in _labels(window), 30, "the sequence aborted")
    sim.wait_line(lambda l: l.startswith(":VOLT OFF,(@0-3);"), 10, "all channels off", start)
    trace = sim.trace()[start:]
    down = next((i for i, l in enumerate(trace) if l.startswith(":VOLT 0,(@0-3);")), None)
    off = next(i for i, l in enumerate(trace) if l.startswith(":VOLT OFF,(@0-3);"))
    if down is None or down > off:
        raise Failure("no ramp to 0 V before the channels went off")
    if "trip on channel 2" not in " ".join(ui.text_of(n) for n in ui.walk(window)):
        raise Failure("the journal does not name the trip")
    s.screenshot("3_aborted_by_trip")
