"""The panel under a German locale, as a German operator sees it: German labels and status
line, numbers with a decimal comma; a screenshot of the connected window."""

import ui
from harness import Failure, wait_for
from steps import ethernet_fields, select_tab, start_panel, wait_polling, wait_status

GERMAN = {"LANG": "de_DE.UTF-8", "LC_ALL": "de_DE.UTF-8", "LANGUAGE": "de"}


def german(s):
    sim = s.start_sim("module", "--tcp", "0", "--no-noise")
    panel, main = start_panel(s, GERMAN)
    s.screenshot("1_disconnected")
    select_tab(panel, main, "Ethernet (TCP/IP)")
    address, port = ethernet_fields(panel, main)
    panel.set_text(address, "127.0.0.1")
    panel.set_text(port, str(sim.port))
    panel.press(panel.find(main, "push button", "Verbinden"))
    wait_polling(sim)
    wait_status(panel, main, "Verbunden mit:", 10)
    table = panel.table(main)
    cell = panel.cell(table, 0, panel.column_of(table, "Vnominal"))
    text = wait_for(lambda: ui.text_of(cell) or None, 5, "the nominal voltage of channel 0")
    if text != "6.000,00":
        raise Failure(f'nominal voltage of channel 0 shown as "{text}", not "6.000,00"')
    s.screenshot("2_connected")
