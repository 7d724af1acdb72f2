"""Steps that several scenarios share: starting the panel and connecting it as an operator does."""

import ui
from harness import Failure, wait_for

TITLE = "Vorn SCPI Control 1.0.16"
POLL = ":READ:VOLT? (@0-3)"  # a request of the cyclic sequence of a four-channel module


def start_panel(s, extra_env=None):
    """Starts the panel and returns (panel, main window) once the window is on screen."""
    s.start_app(extra_env)
    panel = ui.Panel(s)
    main = wait_for(lambda: next((w for w in panel.windows() if ui.role(w) == "frame"
                                  and ui.showing(w)), None), 20, "the main window")
    if ui.name(main) != TITLE:
        raise Failure(f'the main window is titled "{ui.name(main)}", not "{TITLE}"')
    panel.main_title = TITLE
    panel.focus(TITLE)
    return panel, main


def wait_status(panel, main, text, timeout):
    return wait_for(lambda: text in panel.status_text(main), timeout, f'status "{text}"')


def select_tab(panel, main, text):
    tab = panel.find(main, "page tab", text)
    panel.click(tab)
    # The tab list is named after its current tab.
    wait_for(lambda: any(ui.name(t) == text for t in panel.find_all(main, "page tab list")),
             5, f'tab "{text}" selected')


def ethernet_fields(panel, main):
    """The address and port fields of the Ethernet tab, by their labels or else by order."""
    edits = [e for e in panel.find_all(main, "text") if ui.showing(e)
             and ui.editable(e)]
    named = {ui.name(e).rstrip(":"): e for e in edits}
    if "IP Address" in named and "TCP Port" in named:
        return named["IP Address"], named["TCP Port"]
    if len(edits) < 2:
        raise Failure(f"Ethernet tab: {len(edits)} text fields instead of address and port")
    return edits[0], edits[1]


def wait_polling(sim, start=0, count=3, timeout=10):
    """Waits until the module has seen `count` cyclic requests after index `start`."""
    wait_for(lambda: sum(1 for l in sim.trace()[start:] if l == POLL) >= count, timeout,
             f'{count} cyclic requests "{POLL}"')


def connect_tcp(s, panel, main, sim):
    """Ethernet tab, the simulator's address and port, Connect; returns when it polls."""
    select_tab(panel, main, "Ethernet (TCP/IP)")
    address, port = ethernet_fields(panel, main)
    panel.set_text(address, "127.0.0.1")
    panel.set_text(port, str(sim.port))
    start = len(sim.trace())
    panel.press(panel.find(main, "push button", "Connect"))
    sim.wait_line(lambda l: l.startswith("*IDN?"), 10, "identity query", start)
    wait_polling(sim, start)
    wait_status(panel, main, "Connected to:", 10)
    panel.focus(TITLE)
    return start
