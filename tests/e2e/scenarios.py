"""The scenarios: each drives the panel as an operator and checks what reached the outside world
(the module's trace and state, the settings file, the log file, the exit code)."""

import os
import signal
import time

import ui
from harness import Failure, read_text, wait_for
from steps import TITLE, connect_tcp, select_tab, start_panel, wait_polling, wait_status

SIM = ("--tcp", "0", "--no-noise")


def check(condition, message):
    if not condition:
        raise Failure(message)


def first_start(s):
    sim = s.start_sim("module", *SIM)
    panel, main = start_panel(s)
    check(ui.enabled(panel.find(main, "push button", "Connect"))
          and not ui.enabled(panel.find(main, "push button", "Disconnect")),
          "Connect and Disconnect buttons in the wrong state at start")
    s.screenshot("1_disconnected")
    start = connect_tcp(s, panel, main, sim)
    trace = sim.trace()[start:]
    identity = trace.index("*IDN?;:READ:MOD:CHAN?")
    firmware = trace.index(":READ:FIRM:NAME?;REL?")
    check(identity < firmware < trace.index(":READ:VOLT? (@0-3)", firmware),
          "identity, configuration and polling came in the wrong order")
    s.screenshot("2_polling")
    try:
        settings = wait_for(lambda: (lambda v: v if v.get("SelectedTab") == "1" else None)(
            s.settings()), 10, "SelectedTab=1 in the settings file")
    except Failure as failure:
        raise Failure(f"{failure}; settings: {s.settings()}, files: {s.config_files()}")
    check(settings.get("IpAddress") == "127.0.0.1", f"IpAddress stored: {settings}")
    check(settings.get("TcpPort") == str(sim.port), f"TcpPort stored: {settings}")


def _channel_on(sim, channel):
    return int(sim.values(":READ:CHAN:STAT? (@0-3)")[channel]) & 8 != 0


def commands(s):
    sim = s.start_sim("module", *SIM)
    panel, main = start_panel(s)
    connect_tcp(s, panel, main, sim)

    panel.key("v")
    panel.dialog(title="Vorn SCPI Control")
    s.screenshot("1_set_voltage_dialog")
    panel.enter_number("1234.5", title="Vorn SCPI Control")
    sim.wait_line(lambda l: l.startswith(":VOLT 1234.5,(@0);"), 10, "set voltage of channel 0")
    wait_for(lambda: sim.values(":READ:VOLT? (@0-3)")[0] == 1234.5, 10, "module Vset 1234.5 V")

    panel.key("o")
    sim.wait_line(lambda l: l.startswith(":VOLT ON,(@0);"), 10, "channel 0 on")
    wait_for(lambda: _channel_on(sim, 0), 10, "channel 0 is on in the module")

    panel.key("ctrl+o")
    sim.wait_line(lambda l: l.startswith(":VOLT ON,(@0-3);"), 10, "all channels on")
    wait_for(lambda: all(_channel_on(sim, c) for c in range(4)), 10, "all channels on")
    s.screenshot("2_all_on")
    panel.key("ctrl+f")
    sim.wait_line(lambda l: l.startswith(":VOLT OFF,(@0-3);"), 10, "all channels off")
    wait_for(lambda: not any(_channel_on(sim, c) for c in range(4)), 10, "all channels off")

    table = panel.table(main)
    panel.click(panel.cell(table, 1, panel.column_of(table, "Vset")))
    panel.key("F2")
    panel.key("ctrl+a")
    panel.type("2222")
    panel.key("Return")
    sim.wait_line(lambda l: l.startswith(":VOLT 2222,(@1);"), 10, "Vset cell of channel 1")
    wait_for(lambda: sim.values(":READ:VOLT? (@0-3)")[1] == 2222, 10, "module Vset 2222 V")
    vset = panel.column_of(table, "Vset")
    wait_for(lambda: ui.text_of(panel.cell(table, 1, vset)).replace(",", "").startswith("2222"),
             5, "the table shows 2222 V for channel 1")
    s.screenshot("3_table_edit")


def statistic(s):
    sim = s.start_sim("module", *SIM)
    panel, main = start_panel(s)
    connect_tcp(s, panel, main, sim)
    panel.key("v")
    panel.enter_number("800", title="Vorn SCPI Control")
    panel.key("o")
    wait_for(lambda: sim.values(":MEAS:VOLT? (@0-3)")[0] == 800, 30, "channel 0 ramped to 800 V")

    panel.press(panel.find(main, "menu item", "Statistic..."))
    dialog = panel.window("Statistic")
    path = os.path.join(s.workdir, "measurement.csv")
    edit = next(e for e in panel.find_all(dialog, "text") if ui.editable(e))
    panel.set_text(edit, path)
    s.screenshot("1_dialog")
    panel.press(panel.find(dialog, "push button", "Start"))
    wait_for(lambda: len(read_text(path).splitlines()) >= 6, 15, "5 data lines in the file")
    s.screenshot("2_logging")
    panel.press(panel.find(dialog, "push button", "Stop"))
    wait_for(lambda: ui.enabled(panel.find(dialog, "push button", "Start")), 10, "Start again")

    lines = read_text(path).splitlines()
    header = lines[0].split(";")
    check(header[:3] == ["Date", "Time", "Serial no."] and header[-1] == "Temperature",
          f"header: {lines[0]}")
    check(sum(1 for l in lines if l.startswith("Date;")) == 1, "more than one header")
    measured = sim.values(":MEAS:VOLT? (@0-3)")
    serial = sim.query("*IDN?").split(",")[2]
    for line in lines[1:]:
        fields = dict(zip(header, line.split(";")))
        check(len(line.split(";")) == len(header), f"field count: {line}")
        check(fields["Serial no."] == serial, f"serial number: {line}")
        for c in range(4):
            check(abs(float(fields[f"Vmeasure{c}"]) - measured[c]) < 0.01,
                  f"Vmeasure{c} {fields[f'Vmeasure{c}']} V, module {measured[c]} V")


def status_dialogs(s):
    sim = s.start_sim("module", *SIM)
    panel, main = start_panel(s)
    connect_tcp(s, panel, main, sim)
    panel.key("ctrl+s")
    module_dialog = panel.window("Module Status / Control")
    wait_for(lambda: any(ui.checked(b) for b in panel.find_all(module_dialog, "check box")),
             5, "module status boxes filled in")
    s.screenshot("1_module_dialog")
    panel.focus(TITLE)
    panel.key("s")
    dialog = panel.window("Channel 0 Status / Control")
    s.screenshot("2_channel_dialog")
    box = panel.find(dialog, "check box", "Mask End Of Ramp")
    before = int(sim.values(":READ:CHAN:EV:MASK? (@0-3)")[0])
    want = before ^ 0x10
    panel.press(box)
    wait_for(lambda: ui.checked(box) == bool(want & 0x10), 10, "mask box toggled")
    start = len(sim.trace())
    panel.press(panel.find(dialog, "push button", "Set Mask"))
    sim.wait_line(lambda l: l.startswith(f":CONF:CHAN:EV:MASK {want},(@0);"), 5,
                  f"mask {want} for channel 0", start)
    wait_for(lambda: int(sim.values(":READ:CHAN:EV:MASK? (@0-3)")[0]) == want, 5,
             f"module channel 0 event mask {want}")
    s.screenshot("3_mask_sent")


def lost_module(s):
    sim = s.start_sim("module", *SIM)
    panel, main = start_panel(s)
    connect_tcp(s, panel, main, sim)
    s.screenshot("1_polling")
    os.killpg(sim.proc.pid, signal.SIGSTOP)  # the module stops answering, the line stays open
    stopped = time.monotonic()
    wait_status(panel, main, "Not connected.", 10)
    took = time.monotonic() - stopped
    check(took < 7, f"not connected only after {took:.1f} s (watchdog 4 s)")
    check("Connection lost due to timeout while requesting" in s.log(), "no trace in the log")
    s.screenshot("2_lost")
    os.killpg(sim.proc.pid, signal.SIGCONT)
    start = len(sim.trace())
    panel.press(panel.find(main, "push button", "Connect"))
    sim.wait_line(lambda l: l.startswith("*IDN?"), 10, "identity query again", start)
    wait_polling(sim, start)
    wait_status(panel, main, "Connected to:", 10)
    s.screenshot("3_reconnected")


def gpib(s):
    bus = os.path.join(s.tmp, "bus.sock")
    sim = s.start_sim("bus", "--gpib", "17", "--gpib-socket", bus, "--no-noise")
    panel, main = start_panel(s, {"LD_LIBRARY_PATH": s.gpib_dir, "VORN_GPIB_SOCKET": bus})
    select_tab(panel, main, "GPIB (IEEE-488)")
    combo = wait_for(lambda: next((c for c in panel.find_all(main, "combo box")
                                   if ui.showing(c) and ui.name(c).startswith("17 ")), None),
                     10, 'GPIB list entry "17 ..."')
    check("Vornwerk" in ui.name(combo), f"GPIB entry: {ui.name(combo)}")
    s.screenshot("1_gpib_list")
    start = len(sim.trace())
    panel.press(panel.find(main, "push button", "Connect"))
    sim.wait_line(lambda l: l.startswith("17 *IDN?;:READ:MOD:CHAN?"), 10, "identity", start)
    wait_for(lambda: sum(1 for l in sim.trace()[start:] if l == "17 :READ:VOLT? (@0-3)") >= 3,
             15, "GPIB polling")
    wait_status(panel, main, "Connected to:", 10)
    s.screenshot("2_polling")
    wait_for(lambda: s.settings().get("SelectedTab") == "2", 10, "SelectedTab=2 stored")
    check(s.settings().get("GpibAddress") == "17", f"GpibAddress: {s.settings()}")


def close_ramp_down(s):
    sim = s.start_sim("module", *SIM)
    panel, main = start_panel(s)
    connect_tcp(s, panel, main, sim)
    panel.key("ctrl+o")
    wait_for(lambda: all(_channel_on(sim, c) for c in range(4)), 10, "all channels on")
    panel.close_window(TITLE)
    question = wait_for(lambda: next((w for w in panel.windows() if ui.showing(w) and any(
        "Ramp down all high voltages?" in ui.text_of(n) for n in ui.walk(w))), None),
        5, 'question "Ramp down all high voltages?"')
    s.screenshot("1_question")
    start = len(sim.trace())
    panel.click(panel.find(question, "push button", "Yes"))
    answered = time.monotonic()
    code = s.wait_exit(5)
    took = time.monotonic() - answered
    check(code == 0, f"exit code {code}")
    check(took < 3, f"the panel needed {took:.1f} s to exit")
    check(any(l.startswith(":VOLT OFF,(@0-3);") for l in sim.trace()[start:]),
          "no all-channels-off command")
    check(not any(_channel_on(sim, c) for c in range(4)), "channels still on in the module")


SCENARIOS = {f.__name__: f for f in (first_start, commands, statistic, status_dialogs,
                                     lost_module, gpib, close_ramp_down)}

from scenario_german import german  # noqa: E402  (the German scenario lives in its own file)

SCENARIOS[german.__name__] = german

from scenario_tools import tools  # noqa: E402

SCENARIOS[tools.__name__] = tools

from scenario_trip import trip  # noqa: E402

SCENARIOS[trip.__name__] = trip

from scenario_sequence import sequence  # noqa: E402

SCENARIOS[sequence.__name__] = sequence

from scenario_control_room import control_room  # noqa: E402

SCENARIOS[control_room.__name__] = control_room
