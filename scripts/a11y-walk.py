#!/usr/bin/python3
"""Walks the client's accessibility tree through AT-SPI and drives it by actions only (run by
scripts/a11y-names, on the accessibility bus it starts)."""
import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def wait_for(find, what, seconds=20.0):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    sys.exit(f"a11y-names: no {what}")


def client():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and (app.get_name() or "").lower() == "znclient":
            return app
    return None


def nodes(node, depth=0):
    if node is None or depth > 40:
        return
    yield node, depth
    for i in range(node.get_child_count()):
        yield from nodes(node.get_child_at_index(i), depth + 1)


def showing(node):
    return node.get_state_set().contains(Atspi.StateType.SHOWING)


def find(root, role, name):
    for node, _ in nodes(root):
        if node.get_role_name() == role and (node.get_name() or "") == name:
            return node
    return None


def window(app, name):
    for i in range(app.get_child_count()):
        w = app.get_child_at_index(i)
        if w is not None and (w.get_name() or "") == name and showing(w):
            return w
    return None


def act(node):
    # An action that opens a modal box answers only when the box closes: its reply is not awaited.
    try:
        Atspi.Action.do_action(node, 0)
    except gi.repository.GLib.Error:
        pass
    time.sleep(0.4)


def answer_input(app, text):
    """Types into the input box that is open and presses its OK button."""
    def box():
        for i in range(app.get_child_count()):
            w = app.get_child_at_index(i)
            if w is not None and w.get_role_name() == "dialog" and showing(w):
                return w
        return None
    dialog = wait_for(box, "input box")
    edit = next(n for n, _ in nodes(dialog) if n.get_role_name() == "text")
    Atspi.EditableText.set_text_contents(edit, text)
    ok = next(n for n, _ in nodes(dialog) if n.get_role_name() == "push button" and n.get_name() in ("OK", "&OK"))
    act(ok)


def press(node, keysym):
    """Gives node the keyboard focus and types one key (the pointer rests on its window: no window
    manager gives the focus here)."""
    extents = Atspi.Component.get_extents(node, Atspi.CoordType.SCREEN)
    Atspi.generate_mouse_event(extents.x + 2, extents.y + 2, "abs")
    Atspi.Component.grab_focus(node)
    time.sleep(0.3)
    Atspi.generate_keyboard_event(keysym, None, Atspi.KeySynthType.SYM)
    time.sleep(0.5)


def dump(title, root):
    print(f"== {title}")
    for node, depth in nodes(root):
        if depth > 0 and not showing(node):
            continue
        role = node.get_role_name()
        if role in ("table cell", "list item") and not node.get_name():
            continue
        desc = node.get_description() or ""
        line = "  " * depth + f"[{role}] \"{node.get_name() or ''}\""
        print(line + (f"  ({desc})" if desc else ""))
    print()


def main():
    Atspi.set_timeout(3000, 3000)
    app = wait_for(client, "client on the accessibility bus")
    club = wait_for(lambda: window(app, "Zenit Tarokk Klub"), "club window")
    dump("Club window, connect page", club)

    act(wait_for(lambda: find(club, "push button", "Bejelentkezés"), "connect button"))
    wait_for(lambda: window(app, "Társalgó"), "lobby")
    lobby = window(app, "Társalgó")
    act(find(lobby, "menu item", "Új terem létrehozás"))
    answer_input(app, "Asztal")
    rooms = wait_for(lambda: find(window(app, "Társalgó"), "list", "Kettős kattintás beléptet a terembe"), "room list")
    wait_for(lambda: rooms.get_child_count() >= 2, "new room")
    # A double click on the new room enters it.
    item = rooms.get_child_at_index(1)
    box = Atspi.Component.get_extents(item, Atspi.CoordType.SCREEN)
    Atspi.generate_mouse_event(box.x + box.width // 2, box.y + box.height // 2, "b1d")
    time.sleep(1)
    room = wait_for(lambda: window(app, "Asztal terem"), "room page")
    act(find(room, "menu item", "<< Induló 1"))
    for _ in range(3):
        act(find(room, "menu item", "Robot ültetés"))
        time.sleep(0.5)
    act(find(room, "menu item", "Számozott osztás"))
    answer_input(app, "1")
    table = wait_for(lambda: window(app, "Zenit Tarokk"), "table window")
    wait_for(lambda: find(table, "label", "Hírek") is None, "first announcement", 10)
    time.sleep(1)
    dump("Club window, room page", window(app, "Asztal terem"))
    dump("Table window, bid page", table)

    # Large print from the View menu; then the bidding passed with "Mehet" until the cards are played.
    act(find(window(app, "Asztal terem"), "menu item", "Nagy betűk"))
    shot("large-bid")
    go = find(table, "push button", "Mehet")
    hand = find(table, "panel", "Saját lapok") or find(table, "filler", "Saját lapok")
    trick = find(table, "filler", "Ütés") or find(table, "panel", "Ütés")
    for _ in range(40):
        if trick is not None and showing(trick):
            break
        if go is not None and go.get_state_set().contains(Atspi.StateType.ENABLED):
            act(go)
        time.sleep(0.5)
    time.sleep(1)
    shot("large-play")
    # The own hand takes the keys: Space plays the card the focus starts on, Enter goes on.
    if hand is not None:
        for keysym in (0x20, 0xFF0D, 0x20):  # space, Return, space
            press(hand, keysym)
            time.sleep(1.0)
    shot("large-trick")
    dump("Table window, play page", table)


def shot(name):
    folder = os.environ.get("ZN_SHOTS")
    if not folder:
        return
    time.sleep(0.5)
    path = os.path.join(folder, name + ".png")
    subprocess.run(["import", "-window", "root", path], check=False)
    print(f"(screenshot {path})")


main()
