#!/usr/bin/python3
"""The editor from the keyboard alone, in a real X session: xdotool key
events only, no mouse event at all. Ctrl+O opens a bank whose path is typed
in the file dialog; Ctrl+F and a few letters find a sound; Enter opens its
edit dialog; Tab reaches the volume box, the new volume is typed and Enter
is OK; Ctrl+S saves; Escape twice and the Menu key show the row's menu, whose
Edit... opens the dialog again (Escape cancels it); Alt+F and X quit. calyx-cli list then shows the new
volume. The accessibility bus is only read (which window is up, which
widget has the focus, what the list shows).

Run inside an X server and a D-Bus session (see run-editor-session).
"""
import json
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

from session_support import (BIN, check, dialogs, dialog_named, expect_quit, find, finish, make_demo, screenshot,
                             start, wait_for, walk, xdotool)

VLM2 = "drive_c/Jeux/VLM2/Datab/Resson/VLM2Snd.bnm"
NEW_VOLUME = "77"


def key(*keys):
    xdotool("key", "--delay", 80, *keys)
    time.sleep(0.3)


def focused():
    """The widget of the editor that has the keyboard focus (the innermost
    one: the window that holds it says it is focused too)."""
    found = None
    for root in [find("frame", "Calyx")()] + dialogs():
        for node in walk(root) if root is not None else ():
            if node.getState().contains(pyatspi.STATE_FOCUSED):
                found = node
    return found


def listing(bank):
    run = subprocess.run([os.path.join(BIN, "calyx-cli"), "list", bank, "--json"], capture_output=True, text=True)
    return json.loads(run.stdout) if run.returncode == 0 else []


def main():
    pyatspi.Registry.getDesktop(0).childCount
    with tempfile.TemporaryDirectory() as home:
        prefix = make_demo(home)
        bank = os.path.join(prefix, VLM2)
        horn = next(s for s in listing(bank) if s["name"] == "Horn")
        check(str(horn["volume"]) != NEW_VOLUME, "Horn's volume is %s before" % horn["volume"])

        process = start(prefix, home, sound_driver="dummy")
        wait_for(find("frame", "Calyx"), "the main window", timeout=60)
        window = wait_for(lambda: subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Calyx$"], capture_output=True,
                                                 text=True).stdout.split() or None, "the main window's X id")[0]

        def focus_main():
            # No window manager here gives the keyboard back to the main
            # window when a dialog closes: it is given as a desktop would.
            xdotool("windowfocus", "--sync", window)
            time.sleep(0.5)

        focus_main()

        key("ctrl+o")
        wait_for(lambda: dialogs() or None, "the file dialog")
        time.sleep(0.5)
        xdotool("type", "--delay", 20, bank)
        key("Return")
        wait_for(find("frame", "VLM2Snd.bnm"), "the bank's window")
        time.sleep(0.5)
        focus_main()
        screenshot("keyboard-bank-open")

        key("ctrl+f")
        box = wait_for(lambda: focused() if focused() is not None and focused().name == "Find a sound" else None,
                       "the find box with the focus")
        xdotool("type", "--delay", 60, "horn")
        time.sleep(0.5)
        count = "1 of %d" % len(listing(bank))
        wait_for(find("label", count), "the count of the sounds shown, " + count)
        check(box.queryText().getText(0, -1) == "horn", "the box holds what was typed")
        cells = [n.name for n in walk(find("frame", "VLM2Snd.bnm")()) if n.getRoleName() == "table cell"]
        check("Horn" in cells and "EngineIdle" not in cells, "the list shows Horn and not the others: %r" % cells)
        screenshot("keyboard-found")

        key("Return")
        dialog = dialog_named("Sound 'Horn'")
        screenshot("keyboard-dialog")
        for _ in range(20):
            now = focused()
            if now is not None and now.name == "Volume" and now.getRoleName() == "text":
                break
            key("Tab")
        check(focused() is not None and focused().name == "Volume", "Tab reaches the volume box")
        key("ctrl+a")
        xdotool("type", "--delay", 60, NEW_VOLUME)
        screenshot("keyboard-volume-typed")
        key("Return")
        wait_for(lambda: None if any(d.name.startswith("Sound 'Horn'") for d in dialogs()) else True,
                 "the dialog closed by Enter (OK)")
        focus_main()
        wait_for(find("table cell", NEW_VOLUME, find("frame", "VLM2Snd.bnm")()), "the new volume in Horn's row")
        screenshot("keyboard-after-ok")

        key("ctrl+s")
        time.sleep(1.5)
        screenshot("keyboard-saved")

        # Escape empties the find box, again goes to the list, whose row has
        # its menu on the Menu key.
        key("Escape")
        key("Escape")
        wait_for(find("label", "%d of %d" % (len(listing(bank)), len(listing(bank)))), "every row shown again")
        key("Menu")
        time.sleep(0.5)
        screenshot("keyboard-row-menu")
        # Its first item, Edit..., chosen with the keys: Horn's dialog again;
        # Escape cancels it.
        key("Down")
        key("Return")
        dialog_named("Sound 'Horn'")
        check(True, "the Menu key's row menu opens Horn's dialog with Down and Enter")
        key("Escape")
        wait_for(lambda: None if any(d.name.startswith("Sound 'Horn'") for d in dialogs()) else True,
                 "the dialog closed by Escape")
        focus_main()
        key("alt+f")
        wait_for(find("menu item", "Exit", showing=True), "the File menu, open")
        key("x")
        expect_quit(process, "the editor quits from the keyboard (nothing left unsaved)")

        after = next(s for s in listing(bank) if s["name"] == "Horn")
        check(str(after["volume"]) == NEW_VOLUME, "calyx-cli list shows Horn's volume %s: %s" % (NEW_VOLUME,
                                                                                         after["volume"]))
    return finish()


if __name__ == "__main__":
    sys.exit(main())
