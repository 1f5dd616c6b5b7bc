#!/usr/bin/python3
"""The editor in a real X session, as a person meets it: found through the
desktop's accessibility bus, driven with the real mouse (xdotool).

Run inside an X server and a D-Bus session (see run-editor-session). Needs
the built editor and demo maker (CALYX_BIN_DIR). With CALYX_SCREENSHOT_DIR
set, pictures of the screen are saved there at each step.
"""
import os
import subprocess
import sys
import tempfile

import pyatspi

from session_support import (BIN, check, dismiss_driver_message, enabled, find, finish, hover, make_demo,
                             menu_names_now, names, press, quit_editor, run_menu, screenshot, start, wait_for, walk)


def french_session(home):
    process = start(os.path.join(home, "no-prefix"), home)
    dismiss_driver_message("impossible d'initialiser le driver son")
    frame = wait_for(find("frame", "Calyx"), "the main window")
    check(menu_names_now() == ["Fichier", "Affichage", "?"], "French menus: %r" % menu_names_now())
    items = names("menu item", frame)
    check("Nouveau" in items and "Ouvrir..." in items and "A propos de Calyx..." in items,
          "French menu items are named")
    toolbar = wait_for(find("tool bar"), "the toolbar")
    buttons = [n.name for n in walk(toolbar) if n.getRoleName() == "push button"]
    check(buttons == ["Ouvrir", "Enregistrer", "Couper", "Copier", "Coller", "Imprimer", "A propos de Calyx",
                      "Aide contextuelle"], "toolbar buttons are named: %r" % buttons)
    status_bar = wait_for(find("status bar"), "the status bar")
    check(names("label", status_bar)[-3:] == ["MAJ", "NUM", "DEF"], "the lock panes are there")
    caps = wait_for(find("label", "MAJ"), "the caps lock pane")
    check(not enabled(caps), "MAJ is greyed while Caps Lock is off")
    subprocess.run(["xdotool", "key", "Caps_Lock"], check=True)
    wait_for(lambda: caps if enabled(caps) else None, "MAJ lit once Caps Lock is on", timeout=5)
    screenshot("caps-lock-on")
    subprocess.run(["xdotool", "key", "Caps_Lock"], check=True)
    wait_for(lambda: caps if not enabled(caps) else None, "MAJ greyed again", timeout=5)
    screenshot("french-main-window")

    run_menu("?", "A propos de Calyx...")
    about = wait_for(find("dialog", "A propos de Calyx"), "the about box")
    check("Auteur:" in names("label", about), "the about box names its author")
    screenshot("about-french")
    press(wait_for(find("push button", "OK", about), "the about box's OK"))
    quit_editor(process, "Quitter")


def english_session(home):
    prefix = make_demo(home)
    process = start(prefix, home)
    dismiss_driver_message("The sound device cannot be opened")
    frame = wait_for(find("frame", "Calyx"), "the main window")
    check(menu_names_now() == ["File", "View", "Help"], "English menus: %r" % menu_names_now())
    check("Nouveau" not in names("menu item", frame) and "New" not in names("menu item", frame),
          "no New command with the game's texts")

    save = wait_for(find("push button", "Save"), "the save button")
    hover(save)
    tip = wait_for(find("tool tip"), "the save button's tooltip", timeout=10)
    check(tip.name == "Save", "the save button's tooltip is %r" % tip.name)
    status = [n.name for n in walk(wait_for(find("status bar"), "status bar")) if n.getRoleName() == "label"]
    screenshot("tooltip-save")
    check("Ready" in status, "the idle status bar says Ready: %r" % status)

    run_menu("Help", "About Calyx...")
    about = wait_for(find("dialog", "About Calyx"), "the English about box")
    check("Author:" in names("label", about), "the about box's author label is the game's text")
    screenshot("about-english")
    press(wait_for(find("push button", "OK", about), "the about box's OK"))
    quit_editor(process, "Exit")


def main():
    # Brings the accessibility registry up before the editor connects to it.
    pyatspi.Registry.getDesktop(0).childCount
    with tempfile.TemporaryDirectory() as home:
        french_session(home)
        english_session(home)
    return finish()


if __name__ == "__main__":
    sys.exit(main())
