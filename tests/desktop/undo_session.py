#!/usr/bin/python3
"""Undo and redo as a user meets them, in a real X session: change a volume
in the edit dialog, OK, save; the Edit menu names the step; Ctrl+Z, save,
and calyx-cli lists the old volume; Ctrl+Y, save, and it lists the new one.

Run inside an X server and a D-Bus session (see run-editor-session).
"""
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

from session_support import (BIN, check, dialog_named, double_click, enabled, expect_quit, find, finish, make_demo,
                             press, run_menu, screenshot, start, type_volume, wait_for, walk, xdotool)

VLM2 = "drive_c/Jeux/VLM2/Datab/Resson/VLM2Snd.bnm"


def listed_volume(bank, index):
    run = subprocess.run([os.path.join(BIN, "calyx-cli"), "list", bank], capture_output=True, text=True)
    for line in run.stdout.splitlines():
        fields = line.split()
        if fields and fields[0] == str(index):
            return line
    return ""


def edit_menu_items():
    """The Edit menu opened with the real mouse: its items' names and
    whether each is enabled; closed again with Escape."""
    press(wait_for(find("menu item", "Edit", showing=True), "the Edit menu"))
    wait_for(find("menu item", "Cut", showing=True), "the Edit menu's items")
    menu = find("menu item", "Cut", showing=True)().parent
    items = {n.name: enabled(n) for n in walk(menu) if n.getRoleName() == "menu item"}
    screenshot("edit-menu-%d" % len(edit_menu_items.seen))
    edit_menu_items.seen.append(items)
    xdotool("key", "Escape")
    time.sleep(0.3)
    return items


edit_menu_items.seen = []


def save_with_keys():
    xdotool("key", "ctrl+s")
    time.sleep(1)


def main():
    pyatspi.Registry.getDesktop(0).childCount
    with tempfile.TemporaryDirectory() as home:
        prefix = make_demo(home)
        bank = os.path.join(prefix, VLM2)
        before = listed_volume(bank, 0)
        check(" 33 " not in " %s " % before, "EngineIdle's volume is not 33 to begin with: %r" % before)

        process = start(prefix, home, [bank], sound_driver="dummy")
        row = wait_for(find("table cell", "EngineIdle"), "the EngineIdle row")
        items = edit_menu_items()
        check(not items.get("Undo", True) and not items.get("Redo", True),
              "Undo and Redo are greyed before any change: %r" % items)

        double_click(row)
        dialog = dialog_named("Sound 'EngineIdle'")
        type_volume(dialog, "33")
        press(wait_for(find("push button", "OK", dialog), "OK"))
        time.sleep(0.5)
        items = edit_menu_items()
        check(items.get("Undo volume of EngineIdle") is True, "the Edit menu offers to undo the volume: %r" % items)
        check(items.get("Redo") is False, "nothing to redo yet: %r" % items)
        save_with_keys()
        check(" 33 " in " %s " % listed_volume(bank, 0), "the new volume is saved: %r" % listed_volume(bank, 0))

        xdotool("key", "ctrl+z")
        time.sleep(0.5)
        screenshot("after-undo")
        save_with_keys()
        check(listed_volume(bank, 0) == before, "after Ctrl+Z and a save the old volume is listed: %r"
              % listed_volume(bank, 0))
        items = edit_menu_items()
        check(items.get("Redo volume of EngineIdle") is True and items.get("Undo") is False,
              "saves keep the step to redo: %r" % items)

        xdotool("key", "ctrl+y")
        time.sleep(0.5)
        save_with_keys()
        after = listed_volume(bank, 0)
        check(" 33 " in " %s " % after, "after Ctrl+Y and a save the new volume is listed: %r" % after)

        # Ctrl+Shift+Z redoes too: undone by the menu, redone by the keys,
        # the document is back at its saved state and quits without asking.
        run_menu("Edit", "Undo volume of EngineIdle")
        time.sleep(0.3)
        xdotool("key", "ctrl+shift+z")
        time.sleep(0.5)
        screenshot("after-redo")
        run_menu("File", "Exit")
        expect_quit(process, "the editor quits without asking: undo and redo came back to the saved state")
        check(" 33 " in " %s " % listed_volume(bank, 0), "the bank keeps the new volume")
    return finish()


if __name__ == "__main__":
    sys.exit(main())
