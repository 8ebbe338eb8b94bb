"""The three message kinds in a modal and in a modeless balloon of the real
balloon component, answered by pressing its buttons; the report boxes are read
back through AT-SPI and matched against the trace."""
import subprocess

import pyatspi

from harnessapp import (WAIT_SECONDS, check, check_equal, child_button, do_action, find, find_all, is_checked,
                        is_showing, text_of, wait_equal, wait_for)

BUSY_TEXT = "Window of the message already on the screen."
# Button numbers of the component's answer.
OK, CANCEL, YES, NO = 1, 2, 6, 7
LABELS = ["alpha", "бета", "", "gamma 🎈"]
METHOD_IDS = {
    "fennick": {"ShowVellix": "0x60030013", "MsgLabels": "0x60030014", "MsgInput": "0x60030015"},
    "morrowby": {"ShowVellix": "0x60030014", "MsgLabels": "0x60030015", "MsgInput": "0x60030016"},
}


def utf16_length(text):
    return len(text.encode("utf-16-le")) // 2


def method_calls(app, member):
    return app.trace.new_dispatches("Vellix1", member, "method")


def report_box(app, text):
    """The harness's answer box: no title of its own, so the program's name on screen and null in the trace."""
    check_equal(app.answer_message_box(app.name), text, "report box")
    check_equal(app.trace.new_message_boxes()[-1:], [{"event": "messagebox", "title": None, "style": 0, "text": text}],
                "traced report box")


def busy_box(app, member):
    check_equal(app.answer_message_box("Error"), BUSY_TEXT, "box for a second message")
    check_equal(app.trace.new_message_boxes()[-1:],
                [{"event": "messagebox", "title": "Error", "style": 16, "text": BUSY_TEXT}], "traced busy box")
    check_equal(method_calls(app, member)[-1]["result"]["Status"], 1, f"Status of the refused {member}")


def start_message(r, app, button, heading):
    """Sets the heading, presses a message button and returns the balloon that appears."""
    r.step(f"{button}: {heading!r}")
    app.set_text("txtCaption", heading)
    app.trace.mark()
    app.press(button)
    balloon = app.balloon(heading)
    check_equal([label.name for label in find_all(balloon, lambda o: o.getRole() == pyatspi.ROLE_LABEL)][:1],
                [heading], "the balloon's heading")
    return balloon


def close_balloon(app, balloon, caption):
    do_action(child_button(balloon, caption), "Press")
    app.wait_closed(f"the balloon {balloon.name!r}", balloon)


def check_call(app, member, heading, second, result):
    calls = method_calls(app, member)
    check_equal(len(calls), 1, f"{member} calls")
    check_equal(calls[0]["id"], METHOD_IDS[app.name][member], f"{member} identifier")
    args = calls[0]["args"]
    check_equal(args[:2], [heading, second], f"{member} heading and text")
    check_equal(calls[0]["result"], result, f"{member} result")
    return args[2:]


def select_label(balloon, index):
    items = find_all(balloon, lambda o: o.getRole() == pyatspi.ROLE_LIST_ITEM)
    check_equal([item.name for item in items], LABELS, "labels in the balloon")
    do_action(items[index], "Toggle")
    wait_for(f"label {index} to be selected", lambda: items[index].getState().contains(pyatspi.STATE_SELECTED))


def message_text(app):
    return text_of(app.control("txtText")).replace("\n", "\r\n")


def run_modal(r):
    app = r.start("modal", character="")
    app.wait_ready()
    check(is_checked(app.control("chkModal")), "Modal is not checked at start")
    app.select_option("optbuttontype(13)")  # Yes, No, Cancel
    text = message_text(app)

    balloon = start_message(r, app, "cmbMsgShow", "Plain, modal")
    shown = find(balloon, lambda o: o.getRole() == pyatspi.ROLE_TEXT)
    check_equal(text_of(shown), text.replace("\r\n", "\n"), "the balloon's text")
    # The start-up text fits: all of it readable without scrolling.
    bars = find_all(shown, lambda o: o.getRole() == pyatspi.ROLE_SCROLL_BAR and is_showing(o))
    check_equal(len(bars), 0, "scroll bars beside the balloon's text")
    check_equal([b.name for b in find_all(balloon, lambda o: o.getRole() == pyatspi.ROLE_PUSH_BUTTON)],
                ["Yes", "No", "Cancel"], "the balloon's buttons")
    check_equal(method_calls(app, "ShowVellix"), [], "ShowVellix returned while its modal balloon is up")
    close_balloon(app, balloon, "No")
    report_box(app, str(NO))
    state = check_call(app, "ShowVellix", "Plain, modal", text, {"Button": NO, "Label": -1, "Text": "", "Status": 0})
    check_equal(state, [0, 0, 13, True, True], "IconType, MsgType, ButtonsType, ModalFlag, OnTopFlag")

    heading = "Ввод ✓"
    balloon = start_message(r, app, "cmbMsgInput", heading)
    field = find(balloon, lambda o: o.getRole() == pyatspi.ROLE_TEXT and o.name == "Input")
    check(field is not None, "the input balloon has no 'Input' field")
    # A modal balloon takes the keyboard focus into its field: type there for real.
    # xdotool types only what the keymap holds reliably; it remaps keys for other
    # letters and the program can read them under the old map, so Cyrillic and
    # emoji go in through the field's editable text.
    wait_for("the input field to have the focus", lambda: field.getState().contains(pyatspi.STATE_FOCUSED))
    subprocess.run(["xdotool", "type", "--delay", "5", "Typed text,"], timeout=WAIT_SECONDS, check=True)
    wait_equal("the typed text in the field", lambda: text_of(field), "Typed text,")
    # Qt takes positions and lengths in UTF-16 units; with an emoji they differ from characters.
    field.queryEditableText().insertText(utf16_length("Typed text,"), " Привет 👋", utf16_length(" Привет 👋"))
    typed = "Typed text, Привет 👋"
    wait_equal("the inserted text in the field", lambda: text_of(field), typed)
    close_balloon(app, balloon, "Yes")
    report_box(app, f"You have entered the text: {typed} Button: {YES}")
    check_call(app, "MsgInput", heading, text, {"Button": YES, "Label": -1, "Text": typed, "Status": 0})

    app.set_text("txtText", "\n".join(LABELS))
    balloon = start_message(r, app, "cmbLabelsShow", "Labels, modal")
    select_label(balloon, 3)
    close_balloon(app, balloon, "Cancel")
    report_box(app, f"Label selected: 3 Button: {CANCEL}")
    check_call(app, "MsgLabels", "Labels, modal", LABELS, {"Button": CANCEL, "Label": 3, "Text": "", "Status": 0})
    app.close()


def run_modeless(r):
    app = r.start("modeless", character="")
    app.wait_ready()
    app.set_check("chkModal", False)
    app.select_option("optbuttontype(8)")  # Ok, Cancel
    text = message_text(app)
    at_once = {"Button": 0, "Label": -1, "Text": "", "Status": 0}

    balloon = start_message(r, app, "cmbMsgShow", "Plain, modeless")
    report_box(app, "0")
    check(is_showing(balloon), "the modeless balloon went away with the report")
    state = check_call(app, "ShowVellix", "Plain, modeless", text, at_once)
    check_equal(state, [0, 0, 8, False, True], "IconType, MsgType, ButtonsType, ModalFlag, OnTopFlag")
    r.step("ShowVellix again while the balloon is up")
    app.trace.mark()
    app.press("cmbMsgShow")
    busy_box(app, "ShowVellix")
    check(is_showing(balloon), "the refused call closed the balloon")
    close_balloon(app, balloon, "Ok")
    check_equal(app.trace.new_message_boxes()[1:], [], "boxes after closing a modeless balloon")

    balloon = start_message(r, app, "cmbMsgInput", "Input, modeless")
    report_box(app, "You have entered the text:  Button: 0")
    check_call(app, "MsgInput", "Input, modeless", text, at_once)
    field = find(balloon, lambda o: o.getRole() == pyatspi.ROLE_TEXT and o.name == "Input")
    field.queryEditableText().setTextContents("too late")
    r.step("MsgLabels while the input balloon is up")
    app.trace.mark()
    app.press("cmbLabelsShow")
    busy_box(app, "MsgLabels")
    close_balloon(app, balloon, "Cancel")

    app.set_text("txtText", "\n".join(LABELS))
    balloon = start_message(r, app, "cmbLabelsShow", "Labels, modeless")
    report_box(app, "Label selected: -1 Button: 0")
    check_call(app, "MsgLabels", "Labels, modeless", LABELS, at_once)
    select_label(balloon, 1)
    r.step("MsgInput while the labels balloon is up")
    app.trace.mark()
    app.press("cmbMsgInput")
    busy_box(app, "MsgInput")
    close_balloon(app, balloon, "Ok")
    app.close()
