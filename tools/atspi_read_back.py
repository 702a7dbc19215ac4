#!/usr/bin/python3
"""Drives the real sightcheck window through the accessibility bus, as a
screen reader user's tools would: fills in the first worked example through
the fields' accessible text, presses "Calculate" by its accessible action,
reads the worked form back from the accessible text of the printout and
compares it, line by line, with what sightform prints for the same entries.

Run by tools/atspi-check.sh inside its own D-Bus session and X server.
Usage: atspi_read_back.py SIGHTCHECK SIGHTFORM
"""

import subprocess
import sys
import time

import pyatspi

ENTRIES = {
    "GHA degrees": "54", "GHA minutes": "12.3",
    "Dec degrees": "20", "Dec minutes": "15.0",
    "DR L degrees": "40", "DR L minutes": "0",
    "DR Lo degrees": "70", "DR Lo minutes": "0",
}
SIGHTFORM_ARGS = ["--gha", "54", "12.3", "--dec", "N", "20", "15.0",
                  "--lat", "N", "40", "0", "--lon", "W", "70", "0"]


def wait_for(what, find, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    sys.exit("atspi: timed out waiting for " + what)


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def named(root, name, roles):
    return pyatspi.findDescendant(
        root, lambda node: node is not None and node.name == name
        and node.getRole() in roles)


def main():
    sightcheck, sightform = sys.argv[1], sys.argv[2]
    window = subprocess.Popen([sightcheck])
    try:
        app = wait_for("sightcheck on the bus", lambda: application(window.pid))
        surface = wait_for("the worked form", lambda: named(
            app, "Worked form", (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)))
        if surface.queryText().characterCount != 0:
            sys.exit("atspi: the worked form is not empty at start")

        for name, text in ENTRIES.items():
            field = named(app, name, (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY))
            if field is None:
                sys.exit("atspi: no field named " + repr(name))
            field.queryEditableText().setTextContents(text)
            if field.queryText().getText(0, -1) != text:
                sys.exit("atspi: " + name + " did not take " + repr(text))

        calculate = named(app, "Calculate", (pyatspi.ROLE_PUSH_BUTTON,))
        if calculate is None:
            sys.exit("atspi: no button named 'Calculate'")
        action = calculate.queryAction()
        press = [i for i in range(action.nActions) if action.getName(i) == "Press"]
        action.doAction(press[0] if press else 0)

        text = surface.queryText()
        read = wait_for("the printed form", lambda: (
            text.getText(0, -1) if text.characterCount > 0 else None))
        expected = subprocess.run([sightform] + SIGHTFORM_ARGS, check=True,
                                  capture_output=True, text=True).stdout
        if read.split("\n") != expected.rstrip("\n").split("\n"):
            print("read through the accessibility bus:", read, sep="\n")
            print("printed by sightform:", expected, sep="\n")
            sys.exit("atspi: the worked form differs from sightform's")
        description = surface.description
        if "Q(x)" not in description:
            sys.exit("atspi: the description does not name the method: "
                     + repr(description))
        print("atspi: %d lines read back, equal to sightform's (%s)"
              % (len(read.split("\n")), description))
    finally:
        window.terminate()
        window.wait(10)


if __name__ == "__main__":
    main()
