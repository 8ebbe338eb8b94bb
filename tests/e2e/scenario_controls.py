"""One control of each family, checked on the screen and in the trace: an
option group, a check box, the language list, a colour button with a picked and
a cancelled colour in the real colour dialog, and the custom icon button with a
real icon file and with a cancel."""
import subprocess

import pyatspi

from harnessapp import (WAIT_SECONDS, check, check_equal, child_button, do_action, find, is_checked, labelled_by,
                        screen_pixel, screen_rect, text_of, wait_equal, wait_for)
from scenario_startup import swatch_colour

COLOUR_DIALOG_TITLE = "Select Color"
ICON_DIALOG_TITLE = "Select the icon file..."
PICKED_RGB = (0x12, 0x34, 0x56)
RED = 0x0000FF  # 0x00BBGGRR


def colour_ref(rgb):
    red, green, blue = rgb
    return (blue << 16) | (green << 8) | red


def puts(app, member, kind="put"):
    return [e["args"] for e in app.trace.new_dispatches("Vellix1", member, kind)]


def check_option_group(r, app):
    r.step("option group: text alignment 'right'")
    app.trace.mark()
    app.select_option("optAlignTextType(1)")
    check(not is_checked(app.control("optAlignTextType(0)")), "'left' still selected beside 'right'")
    wait_for("HAlignmentText written", lambda: puts(app, "HAlignmentText"))
    check_equal(puts(app, "HAlignmentText"), [[1]], "HAlignmentText puts after clicking 'right'")

    r.step("option group: icon 'warning' is harness state only")
    app.trace.mark()
    app.select_option("optIconType(3)")
    check(not is_checked(app.control("optIconType(0)")), "'none' still selected beside 'warning'")
    check(is_checked(app.control("optMsgType(0)")), "the window type group lost its selection")
    check_equal(app.trace.new_dispatches("Vellix1"), [], "component calls after clicking 'warning'")


def check_check_box(r, app):
    r.step("check box: separator line off through its Toggle action")
    app.trace.mark()
    app.set_check("chkLineSeparator", False)
    wait_for("LineSeparator written", lambda: puts(app, "LineSeparator"))
    check_equal(puts(app, "LineSeparator"), [[False]], "LineSeparator puts")

    r.step("check box: separator line on with the space bar")
    app.trace.mark()
    app.focus_main_window()
    app.focus_control("chkLineSeparator")
    subprocess.run(["xdotool", "key", "space"], timeout=WAIT_SECONDS, check=True)
    box = app.control("chkLineSeparator")
    wait_for("separator line to be checked", lambda: is_checked(box))
    wait_for("LineSeparator written", lambda: puts(app, "LineSeparator"))
    check_equal(puts(app, "LineSeparator"), [[True]], "LineSeparator puts")


def check_language_list(r, app):
    r.step("language list: pick 'Русский' with the keyboard")
    language = app.control("cdLanguage")
    check_equal(labelled_by(language), "Language", "the language list's label")
    items = [i.name for i in pyatspi.findAllDescendants(language, lambda o: o.getRole() == pyatspi.ROLE_LIST_ITEM)]
    check_equal(items, ["Русский", "English"], "language list items")
    app.trace.mark()
    app.focus_main_window()
    app.focus_control("cdLanguage")
    subprocess.run(["xdotool", "key", "Up"], timeout=WAIT_SECONDS, check=True)
    wait_for("the list to show 'Русский'", lambda: language.name == "Русский")
    wait_for("Language written", lambda: puts(app, "Language"))
    check_equal(puts(app, "Language"), [[100]], "Language puts after picking 'Русский'")


def open_colour_dialog(app, button):
    app.press(button)
    return app.wait_top_level("the colour dialog",
                              lambda w: w.getRole() == pyatspi.ROLE_DIALOG and w.name == COLOUR_DIALOG_TITLE)


def check_colour_picked(r, app):
    r.step("colour: pick #123456 for the window colour")
    app.trace.mark()
    dialog = open_colour_dialog(app, "cmbBackColor")
    for field, value in zip(("Red:", "Green:", "Blue:"), PICKED_RGB):
        spin = find(dialog, lambda o: o.getRole() == pyatspi.ROLE_SPIN_BUTTON and o.name == field)
        check(spin is not None, f"the colour dialog has no {field!r} field")
        spin.queryValue().currentValue = value
        wait_for(f"{field} to read {value}", lambda: int(spin.queryValue().currentValue) == value)
    html = find(dialog, lambda o: o.getRole() == pyatspi.ROLE_TEXT and labelled_by(o) == "HTML:")
    wait_for("the dialog to show #123456", lambda: html.queryText().getText(0, -1).lower() == "#123456")
    do_action(child_button(dialog, "OK"), "Press")
    app.wait_closed("the colour dialog", dialog)
    wanted = colour_ref(PICKED_RGB)
    wait_for("BalloonColor read back", lambda: len(puts(app, "BalloonColor", "get")) == 2)
    check_equal(puts(app, "BalloonColor"), [[wanted]], "BalloonColor puts")
    wait_equal("the window colour swatch", lambda: swatch_colour(app, "lblBackColor"), wanted)


def check_colour_cancelled(r, app):
    r.step("colour: cancel the text colour")
    before = swatch_colour(app, "lblTextColor")
    app.trace.mark()
    dialog = open_colour_dialog(app, "cmbTextColor")
    spin = find(dialog, lambda o: o.getRole() == pyatspi.ROLE_SPIN_BUTTON and o.name == "Red:")
    spin.queryValue().currentValue = 200  # changed in the dialog, then thrown away
    do_action(child_button(dialog, "Cancel"), "Press")
    app.wait_closed("the colour dialog", dialog)
    wait_for("TextColor read back", lambda: len(puts(app, "TextColor", "get")) == 2)
    check_equal(app.trace.new_dispatches("Vellix1", "TextColor", "get")[0]["result"], before,
                "TextColor read before the dialog, against the swatch")
    check_equal(puts(app, "TextColor"), [[before]], "TextColor puts after a cancel")
    check_equal(swatch_colour(app, "lblTextColor"), before, "text colour swatch after a cancel")


def icon_dialog(app):
    app.press("cmbCustomIcon")
    return app.wait_top_level("the icon file dialog",
                              lambda w: w.getRole() == pyatspi.ROLE_DIALOG and w.name == ICON_DIALOG_TITLE)


def icon_centre_colour(app):
    x, y, width, height = screen_rect(app.control("imgCustomIcon"))
    return screen_pixel(x + 16, y + 16)


def check_icon_chosen(r, app):
    r.step("custom icon: choose a red .ico file")
    icon = r.icon_file()
    check(icon_centre_colour(app) != RED, "the default custom icon is already red in its middle")
    app.trace.mark()
    dialog = icon_dialog(app)
    file_types = find(dialog, lambda o: o.getRole() == pyatspi.ROLE_COMBO_BOX and "ico" in o.name)
    check_equal(file_types.name if file_types else None, "Icons (*.ico)", "icon file filter")
    name_field = find(dialog, lambda o: o.getRole() == pyatspi.ROLE_TEXT and labelled_by(o) == "File name:")
    name_field.queryEditableText().setTextContents(icon)
    open_button = child_button(dialog, "Open")
    wait_for("the Open button to be enabled", lambda: open_button.getState().contains(pyatspi.STATE_ENABLED))
    do_action(open_button, "Press")
    app.wait_closed("the icon file dialog", dialog)
    wait_for("CustomIcon assigned", lambda: puts(app, "CustomIcon", "putref"))
    check_equal(puts(app, "CustomIcon", "putref"), [[f"<picture {icon} 32x32>"]], "CustomIcon assignments")
    check_equal(app.trace.new_message_boxes(), [], "message boxes after choosing an icon")
    wait_equal("the middle of the custom icon picture", lambda: icon_centre_colour(app), RED)


def check_icon_cancelled(r, app):
    r.step("custom icon: cancel")
    icon = r.icon_file()
    app.trace.mark()
    dialog = icon_dialog(app)
    do_action(child_button(dialog, "Cancel"), "Press")
    app.wait_closed("the icon file dialog", dialog)
    check_equal(app.answer_message_box("Error"), "You have not chosen a icon!", "the box after a cancel")
    wait_for("CustomIcon assigned", lambda: puts(app, "CustomIcon", "putref"))
    check_equal(app.trace.new_message_boxes(),
                [{"event": "messagebox", "title": "Error", "style": 16, "text": "You have not chosen a icon!"}],
                "traced message boxes")
    check_equal(puts(app, "CustomIcon", "putref"), [[f"<picture {icon} 32x32>"]],
                "CustomIcon after a cancel: the picture chosen before")
    check_equal(icon_centre_colour(app), RED, "custom icon picture after a cancel")


def check_balloon_shows_them(r, app):
    """The picked colour, icon and language reach the balloon the component draws."""
    r.step("the balloon shows the picked colour and the custom icon")
    app.select_option("optIconType(6)")  # custom
    app.select_option("optbuttontype(7)")  # Ok
    app.trace.mark()
    app.press("cmbMsgShow")
    balloon = app.balloon(text_of(app.control("txtCaption")))
    icon = wait_for("the icon in the balloon", lambda: find(balloon, lambda o: screen_rect(o)[2:] == (32, 32)))
    x, y, width, height = screen_rect(icon)
    wait_equal("the middle of the balloon's icon", lambda: screen_pixel(x + width // 2, y + height // 2), RED)
    # Between the icon and the heading there is only the balloon's own colour.
    wait_equal("the balloon's colour", lambda: screen_pixel(x + width + 4, y + height // 2), colour_ref(PICKED_RGB))
    # In Russian, picked from the language list above.
    do_action(child_button(balloon, "ОК"), "Press")
    app.wait_closed("the balloon", balloon)
    check_equal(app.answer_message_box(app.name), "1", "report box")
    call = app.trace.new_dispatches("Vellix1", "ShowVellix", "method")
    check_equal([c["args"][2:5] for c in call], [[6, 0, 7]], "IconType, MsgType, ButtonsType passed")


def run(r):
    app = r.start("controls", character="")
    app.wait_ready()
    check_option_group(r, app)
    check_check_box(r, app)
    check_language_list(r, app)
    check_colour_picked(r, app)
    check_colour_cancelled(r, app)
    check_icon_chosen(r, app)
    check_icon_cancelled(r, app)
    check_balloon_shows_them(r, app)
    app.close()
