"""The operator's tools: the SCPI console sends a typed query through the panel's request cycle
and shows the module's answer; the trend window plots the polled channels. Screenshots of both."""

import time

import ui
from harness import Failure, wait_for
from steps import TITLE, connect_tcp, start_panel, wait_polling


def _open_from_module_menu(panel, ups, title):
    """Opens the entry `ups` places above the first one of the Module menu (the menu wraps)."""
    panel.focus(TITLE)
    panel.key("alt+m", *(["Up"] * ups), "Return")
    # Plain tool windows are no dialogs: look at every top-level node, whatever its role.
    return wait_for(lambda: next((w for w in ui.children(panel.app)
                                  if title in ui.name(w) and ui.showing(w)), None),
                    10, f'window "{title}"')


def tools(s):
    sim = s.start_sim("module", "--tcp", "0", "--no-noise")
    panel, main = start_panel(s)
    connect_tcp(s, panel, main, sim)

    console = _open_from_module_menu(panel, 2, "SCPI Console")
    line = wait_for(lambda: next((e for e in panel.find_all(console, "text")
                                  if ui.editable(e) and ui.showing(e)), None), 5,
                    "the console's input line")
    start = len(sim.trace())
    panel.focus("SCPI Console")
    panel.click(line)
    panel.type("*IDN?")
    panel.key("Return")
    sim.wait_line(lambda l: l == "*IDN?", 10, "the console's query on the wire", start)
    wait_for(lambda: any("Vornwerk" in ui.text_of(n) for n in ui.walk(console)), 10,
             "the module's answer in the console")
    wait_polling(sim, len(sim.trace()))
    s.screenshot("1_console")

    # Something to watch: channel 0 ramps up to 300 V while the trend window samples it.
    panel.focus(TITLE)
    panel.key("v")
    panel.enter_number("300", title="Vorn SCPI Control")
    panel.key("o")
    sim.wait_line(lambda l: l.startswith(":VOLT ON,(@0);"), 10, "channel 0 on")
    trend = _open_from_module_menu(panel, 3, "Trend")
    if not ui.showing(trend):
        raise Failure("the trend window is not shown")
    wait_for(lambda: sim.values(":MEAS:VOLT? (@0-3)")[0] >= 100, 20, "channel 0 above 100 V")
    time.sleep(1)  # not a check: lets the plot's next redraw show the ramp in the screenshot
    s.screenshot("2_trend")
