#!/usr/bin/python3
"""The editor in a real X session, as a person meets it: found through the
desktop's accessibility bus, driven with the real mouse (xdotool).

Run inside an X server and a D-Bus session (see run-editor-session). Needs
the built editor and demo maker (CALYX_BIN_DIR). With CALYX_SCREENSHOT_DIR
set, pictures of the screen are saved there at each step.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

BIN = os.environ["CALYX_BIN_DIR"]
SHOTS = os.environ.get("CALYX_SCREENSHOT_DIR")
failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what, flush=True)
    if not condition:
        failures.append(what)


def screenshot(name):
    if SHOTS and shutil.which("import"):
        subprocess.run(["import", "-window", "root", os.path.join(SHOTS, name + ".png")], check=False)


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def wait_for(find, what, timeout=20):
    end = time.time() + timeout
    while time.time() < end:
        try:
            found = find()
        except Exception:  # the tree changes while it is read
            found = None
        if found is not None:
            return found
        time.sleep(0.2)
    raise AssertionError("not found: " + what)


def calyx_app():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Calyx":
            return app
    return None


def find(role, name=None, within=None):
    def search():
        root = within or calyx_app()
        if root is None:
            return None
        for node in walk(root):
            if node.getRoleName() == role and (name is None or node.name == name):
                return node
        return None
    return search


def names(role, within):
    return [n.name for n in walk(within) if n.getRoleName() == role]


def enabled(node):
    return node.getState().contains(pyatspi.STATE_ENABLED)


def press(node):
    """Clicks a widget with the real mouse, where the desktop says it is."""
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2),
                    "click", "1"], check=True)


def hover(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2)], check=True)


def run_menu(menu_name, item_name):
    press(wait_for(find("menu item", menu_name), "menu " + menu_name))
    press(wait_for(find("menu item", item_name), "menu item " + item_name))


def start(prefix, home):
    env = dict(os.environ, WINEPREFIX=prefix, HOME=home, QT_QPA_PLATFORM="xcb",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", XDG_CONFIG_HOME=os.path.join(home, ".config"),
               SDL_AUDIODRIVER="none")  # no sound device: the start-up message shows
    return subprocess.Popen([os.path.join(BIN, "calyx")], env=env, stderr=subprocess.DEVNULL)


def dismiss_driver_message(expected_text):
    # The first window of a fresh session: the accessibility bus may take a while.
    box = wait_for(find("dialog", "CalyxSound"), "the sound driver message", timeout=60)
    texts = [n.name for n in walk(box) if n.getRoleName() == "text"]
    check(texts == [expected_text], "sound driver message says %r (saw %r)" % (expected_text, texts))
    buttons = [n for n in walk(box) if n.getRoleName() == "push button" and n.name]
    check([b.name for b in buttons] == ["OK"], "the driver message has one OK button")
    screenshot("driver-message")
    press(buttons[0])


def quit_editor(process, quit_item):
    run_menu(menu_names_now()[0], quit_item)
    try:
        process.wait(timeout=10)
        check(process.returncode == 0, "the editor quits from the File menu")
    except subprocess.TimeoutExpired:
        process.kill()
        check(False, "the editor quits from the File menu")


def menu_names_now():
    bar = wait_for(find("menu bar"), "the menu bar")
    return [n.name for n in walk(bar) if n.getRoleName() == "menu item" and n.parent.getRoleName() == "menu bar"]


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
    prefix = os.path.join(home, "demo")
    subprocess.run([os.path.join(BIN, "calyx-make-demo"), prefix], check=True, stdout=subprocess.DEVNULL)
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
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
