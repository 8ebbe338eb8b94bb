"""One running harness program, seen and driven from outside through AT-SPI.

Everything is found the way a screen reader finds it: the window's controls by
their accessible description (the control's name), dialogs, balloons and
message boxes as top-level children of the application. Every wait is bounded.
"""
import os
import re
import subprocess
import time

import pyatspi

from tracelog import TraceLog
from xwindow import request_close

WAIT_SECONDS = 10.0
MAIN_WINDOW_TITLE = "Testing of core (Please excuse me for bad English)"


class CheckFailed(AssertionError):
    pass


class ProgramEnded(CheckFailed):
    """The program under test is gone: no point in waiting any longer."""


def check(condition, message):
    if not condition:
        raise CheckFailed(message)


def check_equal(actual, expected, what):
    check(actual == expected, f"{what}: expected {expected!r}, got {actual!r}")


def wait_for(what, probe, timeout=WAIT_SECONDS, interval=0.03):
    """Polls probe() until it gives something truthy, which it returns."""
    deadline = time.monotonic() + timeout
    last_error = None
    while time.monotonic() < deadline:
        try:
            found = probe()
        except ProgramEnded:
            raise
        except Exception as e:  # objects come and go while we look
            found, last_error = None, e
        if found:
            return found
        time.sleep(interval)
    raise CheckFailed(f"timed out after {timeout:.0f} s waiting for {what}"
                      + (f" (last error: {last_error})" if last_error else ""))


def wait_equal(what, read, expected, timeout=WAIT_SECONDS):
    """Polls read() until it gives expected; a timeout tells the last value seen."""
    seen = []

    def probe():
        seen[:] = [read()]
        return seen[0] == expected
    try:
        wait_for(what, probe, timeout)
    except CheckFailed as e:
        raise CheckFailed(f"{e}: expected {expected!r}, last saw {seen[0] if seen else None!r}") from None


def parent_pid(pid):
    """The parent of a process, or None when it is gone."""
    try:
        with open(f"/proc/{pid}/stat", encoding="ascii", errors="replace") as f:
            # The name in parentheses may hold spaces; the fields after it do not.
            return int(f.read().rsplit(")", 1)[1].split()[1])
    except (OSError, ValueError, IndexError):
        return None


def find(root, predicate):
    return pyatspi.findDescendant(root, predicate)


def find_all(root, predicate):
    return pyatspi.findAllDescendants(root, predicate)


def is_showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def is_checked(acc):
    return acc.getState().contains(pyatspi.STATE_CHECKED)


def labelled_by(acc):
    for relation in acc.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return relation.getTarget(0).name
    return None


def action_names(acc):
    try:
        action = acc.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def do_action(acc, name):
    names = action_names(acc)
    check(name in names, f"{acc.getRoleName()} {acc.name!r} offers no {name!r} action, only {names}")
    acc.queryAction().doAction(names.index(name))


def text_of(acc):
    text = acc.queryText()
    return text.getText(0, text.characterCount)


def child_button(window, caption):
    button = find(window, lambda o: o.getRole() == pyatspi.ROLE_PUSH_BUTTON and o.name == caption)
    check(button is not None, f"{window.name!r} has no button {caption!r}")
    return button


def label_texts(window):
    return [label.name for label in find_all(window, lambda o: o.getRole() == pyatspi.ROLE_LABEL) if label.name]


def screen_rect(acc):
    extents = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return extents.x, extents.y, extents.width, extents.height


def screen_pixel(x, y):
    """The colour on the X screen at (x, y), as 0x00BBGGRR like the component's colours."""
    out = subprocess.run(["import", "-window", "root", "-crop", f"1x1+{x}+{y}", "+repage", "-depth", "8",
                          "txt:-"], capture_output=True, text=True, timeout=WAIT_SECONDS, check=True).stdout
    match = re.search(r"#([0-9A-Fa-f]{6})", out)
    check(match is not None, f"cannot read the pixel at {x},{y}: {out!r}")
    rgb = int(match.group(1), 16)
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16)


class HarnessApp:
    """Starts a program with --trace and finds it on the accessibility bus."""

    def __init__(self, program, workdir, label, character=None, component_dir=None):
        self.name = os.path.basename(program)
        self.label = label
        self.trace = TraceLog(os.path.join(workdir, label + ".jsonl"))
        self.log_path = os.path.join(workdir, label + ".log")
        args = [program, "--trace", self.trace.path]
        if character is not None:
            args += ["--character", character]
        if component_dir is not None:
            args += ["--component", component_dir]
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        with open(self.log_path, "w") as log:
            # cwd: the file dialogs open there, among the fixtures.
            self.process = subprocess.Popen(args, cwd=workdir, env=env, stdout=log, stderr=subprocess.STDOUT)
        self._app = None
        self._window = None
        self._controls = {}

    # -- process ---------------------------------------------------------

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=5)

    def close(self):
        """Closes the window as a user does; the program must end by itself, with 0."""
        request_close(self.main_window_id())
        try:
            code = self.process.wait(timeout=WAIT_SECONDS)
        except subprocess.TimeoutExpired:
            raise CheckFailed(f"{self.name} still runs {WAIT_SECONDS:.0f} s after its window was closed")
        check_equal(code, 0, f"exit code of {self.name} after closing its window")

    def log_tail(self, lines=15):
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return "".join(f.readlines()[-lines:])

    def check_running(self):
        if self.process.poll() is not None:
            raise ProgramEnded(f"{self.name} ended with exit code {self.process.returncode}")

    # -- finding ---------------------------------------------------------

    def application(self):
        if self._app is None:
            def probe():
                self.check_running()
                desktop = pyatspi.Registry.getDesktop(0)
                return next((a for a in desktop if a is not None and a.get_process_id() == self.process.pid), None)
            self._app = wait_for(f"{self.name} on the accessibility bus", probe)
        return self._app

    def top_levels(self):
        return [w for w in self.application() if w is not None and is_showing(w)]

    def host_applications(self):
        """The component hosts the harness started: applications whose process is its child."""
        desktop = pyatspi.Registry.getDesktop(0)
        return [a for a in desktop if a is not None and parent_pid(a.get_process_id()) == self.process.pid]

    def all_top_levels(self):
        """The harness's windows and those of its component hosts, where the balloon is."""
        windows = self.top_levels()
        for app in self.host_applications():
            windows += [w for w in app if w is not None and is_showing(w)]
        return windows

    def wait_top_level(self, what, predicate, timeout=WAIT_SECONDS, windows=None):
        """The first top-level window that satisfies predicate, among the harness's
        own windows unless another list of windows is given."""
        windows = windows or self.top_levels
        def probe():
            self.check_running()
            return next((w for w in windows() if predicate(w)), None)
        return wait_for(what, probe, timeout)

    def wait_closed(self, what, window):
        def closed():
            self.check_running()
            return all(w != window for w in self.all_top_levels())
        wait_for(f"{what} to close", closed)

    def wait_ready(self):
        """Start-up done: the trace says ready and the window is on the screen."""
        wait_for(f"{self.name} to write ready to its trace", lambda: self.check_running() or self.trace.has_ready())
        return self.main_window()

    def main_window(self):
        if self._window is None:
            self._window = self.wait_top_level("the main window", lambda w: w.name == MAIN_WINDOW_TITLE)
        return self._window

    def control(self, name):
        """A control of the window by its name, e.g. "chkModal" or "optIconType(3)"."""
        if name not in self._controls:
            self._controls[name] = wait_for(
                f"control {name}", lambda: find(self.main_window(), lambda o: o.description == name))
        return self._controls[name]

    # -- acting ----------------------------------------------------------

    def press(self, name):
        do_action(self.control(name), "Press")

    def select_option(self, name):
        radio = self.control(name)
        do_action(radio, "Toggle")
        wait_for(f"{name} to be selected", lambda: is_checked(radio))

    def set_check(self, name, checked):
        box = self.control(name)
        if is_checked(box) != checked:
            do_action(box, "Toggle")
        wait_for(f"{name} to be {'checked' if checked else 'unchecked'}", lambda: is_checked(box) == checked)

    def set_text(self, name, text):
        field = self.control(name)
        field.queryEditableText().setTextContents(text)
        wait_for(f"{name} to hold the new text", lambda: text_of(field) == text)

    def main_window_id(self):
        out = subprocess.run(["xdotool", "search", "--pid", str(self.process.pid), "--name", "^Testing of core"],
                             capture_output=True, text=True, timeout=WAIT_SECONDS).stdout.split()
        check(out, "xdotool cannot find the main window")
        return int(out[0])

    def focus_main_window(self):
        """Gives the window X input focus, which nobody does without a window manager."""
        subprocess.run(["xdotool", "windowfocus", "--sync", str(self.main_window_id())], timeout=WAIT_SECONDS,
                       check=True)
        wait_for("the main window to be active",
                 lambda: self.main_window().getState().contains(pyatspi.STATE_ACTIVE))

    def focus_control(self, name):
        acc = self.control(name)
        # An editable list takes the focus in its text field; the list itself offers no SetFocus.
        target = acc if "SetFocus" in action_names(acc) else find(acc, lambda o: "SetFocus" in action_names(o))
        check(target is not None, f"{name} cannot take the focus")
        target.queryComponent().grabFocus()
        wait_for(f"{name} to have the focus", lambda: target.getState().contains(pyatspi.STATE_FOCUSED))

    # -- balloons --------------------------------------------------------

    def balloon(self, heading):
        """The balloon component's message window, an alert named by its heading, in the
        harness or in the component's host process."""
        return self.wait_top_level(f"a balloon headed {heading!r}",
                                   lambda w: w.getRole() == pyatspi.ROLE_ALERT and w.name == heading,
                                   windows=self.all_top_levels)

    # -- message boxes ---------------------------------------------------

    def message_box(self, title):
        return self.wait_top_level(f"a message box titled {title!r}",
                                   lambda w: w.getRole() == pyatspi.ROLE_ALERT and w.name == title)

    def answer_message_box(self, title):
        """Reads the box's text, presses its OK button, and returns the text."""
        box = self.message_box(title)
        texts = wait_for(f"the text of the {title!r} box", lambda: label_texts(box))
        do_action(child_button(box, "OK"), "Press")
        self.wait_closed(f"the {title!r} box", box)
        check_equal(len(texts), 1, f"texts shown in the {title!r} box")
        return texts[0]
