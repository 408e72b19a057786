"""Drives the real programs through their windows, as a user does.

Everything goes through the accessibility bus (pyatspi): controls are found by
role and accessible name, texts are set through EditableText, and buttons
that open a modal dialog are clicked with xdotool, because an accessibility
action only returns once that dialog has closed.
"""

import os
import subprocess
import time

import pyatspi

TIMEOUT = 20.0


class DriverError(AssertionError):
    pass


def start_accessibility_bus():
    subprocess.run(
        ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
         "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
        stdout=subprocess.DEVNULL, check=True)


def wait_for(what, probe, timeout=TIMEOUT):
    end = time.monotonic() + timeout
    while True:
        try:
            result = probe()
        except DriverError:
            raise
        except Exception:  # the tree changes under us while windows open
            result = None
        if result:
            return result
        if time.monotonic() > end:
            raise DriverError("timed out waiting for " + what)
        time.sleep(0.05)


def role(node):
    return node.getRoleName()


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def find(root, role_name, name=None, visible=True):
    for node in walk(root):
        if role(node) == role_name and (name is None or node.name == name) and (
                not visible or showing(node)):
            return node
    return None


def find_all(root, role_name, visible=True):
    return [n for n in walk(root) if role(n) == role_name and (not visible or showing(n))]


def need(root, role_name, name=None):
    return wait_for("%s %r" % (role_name, name), lambda: find(root, role_name, name))


def click(node, button=1, double=False):
    extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    x = extents.x + extents.width // 2
    y = extents.y + extents.height // 2
    # No --sync: it waits for pointer motion, which never comes when the
    # pointer already rests on the spot.
    args = ["xdotool", "mousemove", str(x), str(y), "click"]
    if double:
        args += ["--repeat", "2", "--delay", "80"]
    subprocess.run(args + [str(button)], check=True)


def press(node):
    """An action that returns at once (no modal dialog opens from it)."""
    node.queryAction().doAction(0)


def set_text(node, text):
    node.queryEditableText().setTextContents(text)


def combo_text_field(combo):
    for child in combo:
        if child is not None and role(child) == "text":
            return child
    raise DriverError("combo box %r has no text field" % combo.name)


def labelled(window, label_text, role_name):
    """The input joined to a label: its label-for target (setBuddy), else the
    next node of role_name after it."""
    for node in walk(window):
        if role(node) == "label" and node.name == label_text and showing(node):
            for relation in node.getRelationSet():
                if relation.getRelationType() == pyatspi.RELATION_LABEL_FOR:
                    for i in range(relation.getNTargets()):
                        target = relation.getTarget(i)
                        if target is not None and role(target) == role_name:
                            return target
    seen_label = False
    for node in walk(window):
        if role(node) == "label" and node.name == label_text and showing(node):
            seen_label = True
        elif seen_label and role(node) == role_name and showing(node):
            return node
    raise DriverError("no %s after label %r" % (role_name, label_text))


def table_rows(table):
    t = table.queryTable()
    return [[(t.getAccessibleAt(r, c).name if t.getAccessibleAt(r, c) else "")
             for c in range(t.nColumns)] for r in range(t.nRows)]


class Program:
    """One real program started in its folder with accessibility on."""

    def __init__(self, folder, executable, app_name):
        self.folder = folder
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        env.pop("QT_QPA_PLATFORM", None)
        self.process = subprocess.Popen([os.path.join(folder, executable)], cwd=folder, env=env)
        self.app = wait_for("application " + app_name, lambda: self._started(app_name))

    def _started(self, name):
        if self.process.poll() is not None:
            raise DriverError("program ended at start with status %d" % self.process.returncode)
        return self._find_app(name)

    def _find_app(self, name):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name and app.childCount > 0:
                return app
        return None

    def window(self, role_name, title, timeout=TIMEOUT):
        def probe():
            for w in self.app:
                if w is not None and role(w) == role_name and w.name == title and showing(w):
                    return w
            return None
        return wait_for("%s %r" % (role_name, title), probe, timeout)

    def gone(self, role_name, title):
        def probe():
            # A dialog kept for reuse stays in the tree, hidden.
            return all(w is None or not (role(w) == role_name and w.name == title and showing(w))
                       for w in self.app)
        try:
            wait_for("%s %r to close" % (role_name, title), probe)
        except DriverError as error:
            raise DriverError("%s; open: %s" % (error, self.describe_windows()))

    def describe_windows(self):
        """The program's shown windows with their texts, for a failure report."""
        shown = []
        for w in self.app:
            if w is None or not showing(w):
                continue
            texts = [n.name for n in walk(w) if role(n) == "label" and n.name]
            shown.append("%s %r %s" % (role(w), w.name, texts))
        return "; ".join(shown)

    def wait_exit(self, timeout=TIMEOUT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise DriverError("program did not end")

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
