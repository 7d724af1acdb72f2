"""The panel as a person sees it: widgets found by role and name over the accessibility bus,
key presses and clicks through the X server.

Actions that open a modal dialog are triggered by their shortcut key (xdotool), because an
accessibility action call only returns once such a dialog has closed.
"""

import os
import subprocess

import xlib
from harness import Failure, wait_for

pyatspi = None  # imported once the X server and its display are known


def _import_atspi(display):
    global pyatspi
    os.environ["DISPLAY"] = display
    if pyatspi is None:
        import pyatspi as module
        pyatspi = module


def exact(title):
    """An X window name pattern that matches exactly this title."""
    return "^" + title.replace(".", "\\.") + "$"


def _safe(fn, default=None):
    try:
        return fn()
    except Exception:  # a widget that vanished while we looked at it
        return default


def name(node):
    return _safe(lambda: node.name, "")


def role(node):
    return _safe(lambda: node.getRoleName(), "")


def children(node):
    return [c for c in _safe(lambda: list(node), []) if c is not None]


def walk(node):
    """All descendants, depth first, without the cells of tables and trees."""
    for child in children(node):
        yield child
        if role(child) not in ("table", "tree"):
            yield from walk(child)


def showing(node):
    return _safe(lambda: node.getState().contains(pyatspi.STATE_SHOWING), False)


def enabled(node):
    return _safe(lambda: node.getState().contains(pyatspi.STATE_ENABLED), False)


def editable(node):
    return _safe(lambda: node.getState().contains(pyatspi.STATE_EDITABLE), False)


def checked(node):
    return _safe(lambda: node.getState().contains(pyatspi.STATE_CHECKED), False)


def text_of(node):
    """The text a widget shows: its text content, else its accessible name."""
    value = _safe(lambda: node.queryText().getText(0, -1))
    return value if value is not None else name(node)


class Panel:
    """The running vorn-scpi-control, reached through the accessibility bus and the X server."""

    def __init__(self, session, timeout=20):
        self.session = session
        self.main_title = None
        _import_atspi(session.env["DISPLAY"])
        binary = os.path.basename(session.app_path)
        self.app = wait_for(lambda: next(
            (a for a in children(pyatspi.Registry.getDesktop(0)) if name(a) == binary), None),
            timeout, "the panel on the accessibility bus")

    # --- finding -------------------------------------------------------------------------
    def windows(self):
        return [w for w in children(self.app) if role(w) in ("frame", "dialog", "window", "alert")]

    def window(self, title, timeout=10):
        """A top-level window (main window or dialog) whose title contains `title`."""
        return wait_for(lambda: next((w for w in self.windows()
                                      if title in name(w) and showing(w)), None),
                        timeout, f'window "{title}"')

    def dialog(self, timeout=10, title=None):
        return wait_for(lambda: next((w for w in self.windows() if role(w) != "frame"
                                      and showing(w) and (title is None or title in name(w))),
                                     None), timeout, f'dialog "{title or ""}"')

    def closed(self, window, timeout=10):
        wait_for(lambda: not showing(window) or window not in self.windows(), timeout,
                 f'window "{name(window)}" closed')

    def find_all(self, root, role_name, name_text=None):
        return [n for n in walk(root) if role(n) == role_name
                and (name_text is None or name(n).replace("&", "") == name_text)]

    def find(self, root, role_name, name_text=None, timeout=10):
        return wait_for(lambda: next(iter(self.find_all(root, role_name, name_text)), None),
                        timeout, f'{role_name} "{name_text or ""}"')

    # --- acting --------------------------------------------------------------------------
    def xdo(self, *args):
        subprocess.run(["xdotool", *args], env=self.session.env, check=True, timeout=10,
                       stdout=subprocess.DEVNULL)

    def focus(self, title):
        """Gives the keyboard focus to the X window with this title (there is no window
        manager to do it)."""
        self.xdo("search", "--sync", "--limit", "1", "--name", exact(title), "windowfocus",
                 "--sync")

    def key(self, *keys):
        self.xdo("key", "--delay", "40", *keys)

    def type(self, text):
        self.xdo("type", "--delay", "20", text)

    def press(self, node):
        """Presses a button (or ticks a box) through its accessible action."""
        action = node.queryAction()
        for i in range(action.nActions):
            if action.getName(i) in ("Press", "press", "click", "Toggle", "toggle"):
                action.doAction(i)
                return
        action.doAction(0)

    def center(self, node):
        ext = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return ext.x + ext.width // 2, ext.y + ext.height // 2

    def click(self, node):
        x, y = self.center(node)
        self.xdo("mousemove", "--sync", str(x), str(y), "click", "1")

    def set_text(self, node, text):
        node.queryEditableText().setTextContents(text)

    def enter_number(self, value, timeout=10, title=None):
        """Types a number into the input dialog that is open and confirms it with Return."""
        dialog = self.dialog(timeout, title)
        self.key("ctrl+a")
        self.type(str(value))
        self.key("Return")
        self.closed(dialog, timeout)
        if self.main_title:  # without a window manager nobody hands the focus back
            self.focus(self.main_title)
        return dialog

    # --- the main window -----------------------------------------------------------------
    def table(self, main):
        """The channel table: the table with a "Vset" column."""
        for table in self.find_all(main, "table"):
            if _safe(lambda: self.column_of(table, "Vset")) is not None:
                return table
        raise Failure('no table with a "Vset" column')

    def cell(self, table, row, column):
        return table.queryTable().getAccessibleAt(row, column)

    def column_of(self, table, header):
        """Index of the column whose header starts with `header` (e.g. "Vset")."""
        t = table.queryTable()
        for c in range(t.nColumns):
            if (t.getColumnDescription(c) or name(t.getColumnHeader(c) or table)).startswith(
                    header):
                return c
        raise Failure(f'no column "{header}" in the channel table')

    def status_text(self, main):
        """The texts of the main window's labels (status bar included), joined."""
        return " | ".join(text_of(n) for n in walk(main) if role(n) == "label")

    def close_window(self, title):
        """Asks the window to close, as a window manager does for the title bar's close
        button: a WM_DELETE_WINDOW message."""
        wid = subprocess.run(["xdotool", "search", "--limit", "1", "--name", exact(title)],
                             env=self.session.env, capture_output=True, text=True,
                             timeout=10).stdout.split()
        if not wid:
            raise Failure(f'no X window "{title}"')
        xlib.send_delete_window(self.session.env["DISPLAY"], int(wid[0]))
