"""Reads the running program through the accessibility bus, as a screen reader does, and checks it.

Arguments: the typed message and its coded text, which the Encrypt and Decrypt windows' output
fields must give back exactly through the text interface."""
import sys
import time

import pyatspi

MESSAGE, CODED = sys.argv[1], sys.argv[2]

# Each window's controls in tab order, with the role and name a screen reader announces.
WINDOWS = {
    "Quorvel 1.0": [
        ("push button", "Encrypt"), ("push button", "Decrypt"), ("push button", "About"),
        ("image", "Banner: Quorvel 1.0, by Tarnwick & Dravo")],
    "Encrypt Message": [
        ("text", "Message to encrypt"), ("push button", "Encrypt Message"),
        ("text", "Encrypted message"), ("push button", "Copy To Clipboard")],
    "Decrypt Message": [
        ("push button", "Decrypt Message"), ("push button", "Copy To Clipboard"),
        ("text", "Coded text to decrypt"), ("text", "Decrypted message")],
    "About Quorvel 1.0!": [
        ("label", None), ("image", "Picture: Quorvel 1.0 across a field of grey spheres"),
        ("label", "Programmer:"), ("label", "Tarnwick"), ("label", "Graphics:"), ("label", "Dravo"),
        ("label", "Website:"), ("label", "None Currently..."), ("label", "Version:"), ("label", "1.01a")],
}
OUTPUTS = {"Encrypt Message": CODED, "Decrypt Message": MESSAGE}


def program():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Quorvel":
                return app
        time.sleep(0.1)
    sys.exit("FAIL: the program is not on the accessibility bus")


failures = []
frames = {frame.name: frame for frame in program() if frame is not None}
for caption, expected in WINDOWS.items():
    frame = frames.get(caption)
    if frame is None:
        failures.append(f"no window '{caption}' on the bus, only {sorted(frames)}")
        continue
    if frame.getRoleName() != "frame":
        failures.append(f"'{caption}' is a {frame.getRoleName()}, not a frame")
    controls = [child for child in frame if child is not None]
    found = [(child.getRoleName(), child.name) for child in controls]
    # A name given as None is the control's caption, too long to repeat here.
    matches = len(found) == len(expected) and all(
        role == found_role and name in (None, found_name)
        for (role, name), (found_role, found_name) in zip(expected, found))
    if not matches:
        failures.append(f"'{caption}' holds {found}, expected {expected}")
    if any(not name for _, name in found):
        failures.append(f"'{caption}' has a control without a name: {found}")
    if caption in OUTPUTS:
        output = next((c for c in controls if c.name in ("Encrypted message", "Decrypted message")), None)
        text = output.queryText().getText(0, -1) if output is not None else None
        if text != OUTPUTS[caption]:
            failures.append(f"'{caption}' output reads {text!r}, expected {OUTPUTS[caption]!r}")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
