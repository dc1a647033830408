#!/usr/bin/python3
"""Prints the accessibility tree (AT-SPI) of the running Morvane Astro window as a screen reader
sees it, and lists every control a user can operate that has no name.

Run by scripts/accessibility-tree.sh, which starts the application on a private display and
accessibility bus. Exit status: 0 when every operable control has a name, 1 otherwise, 2 when
the application was not found on the bus.
"""
import sys
import time

import pyatspi

# Roles a user operates; each must carry a name a screen reader can say.
OPERABLE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_ENTRY, pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT,
    pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_CHECK_MENU_ITEM, pyatspi.ROLE_RADIO_MENU_ITEM,
    pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_TABLE, pyatspi.ROLE_LIST,
}


def find_application(name, seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name and name.lower() in app.name.lower():
                return app
        time.sleep(0.5)
    return None


def walk(node, depth, out, missing, path):
    try:
        role = node.getRole()
        role_name = node.getRoleName()
        name = node.name or ""
        description = node.description or ""
        states = node.getState()
    except Exception:  # a node that went away while we walked
        return
    showing = states.contains(pyatspi.STATE_SHOWING)
    line = "  " * depth + f"[{role_name}] {name!r}"
    if description:
        line += f"  — {description!r}"
    if not showing:
        line += "  (hidden)"
    out.append(line)
    here = path + [f"{role_name}:{name}"]
    if role in OPERABLE and showing and not name.strip():
        missing.append(" > ".join(here[-3:]))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, out, missing, here)


def main():
    app = find_application(sys.argv[1] if len(sys.argv) > 1 else "morvane", 30)
    if app is None:
        print("the application did not appear on the accessibility bus", file=sys.stderr)
        return 2
    out, missing = [], []
    walk(app, 0, out, missing, [])
    print("\n".join(out))
    print()
    if missing:
        print(f"{len(missing)} operable controls without a name:")
        for item in missing:
            print("  " + item)
        return 1
    print("every operable control that is showing has a name")
    return 0


if __name__ == "__main__":
    sys.exit(main())
