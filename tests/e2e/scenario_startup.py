"""Start-up: the character dialog cancelled, answered on the command line, and
answered in the real file dialog; each reaches the window and its trace's ready."""
import pyatspi

from harnessapp import (check, check_equal, child_button, do_action, find, is_checked, labelled_by, screen_pixel,
                        screen_rect, wait_equal, wait_for)

CHARACTER_DIALOG_TITLE = "Select the file with the character..."
BUILT_IN_CHARACTER = "Robo"
# The name the fixture writer gives its character.
FIXTURE_CHARACTER = "Bench"
SWATCH_COLOURS = {
    "lblBackColor": "BalloonColor", "lblCaptionColor": "CaptionColor", "lblTextColor": "TextColor",
    "lblFrameColor": "FrameColor", "lblLineColor": "LineColor", "lblButtonColor": "ButtonColor",
    "lblButtonTextColor": "ButtonCaptionColor",
}


def check_loaded(app, load_args, character_name):
    loads = [e["args"] for e in app.trace.new_dispatches("msa", "Characters.Load")]
    check_equal(loads, [load_args], "Characters.Load calls")
    app.wait_top_level(f"the character {character_name!r} on the screen", lambda w: w.name == character_name)


def swatch_colour(app, name):
    x, y, width, height = screen_rect(app.control(name))
    return screen_pixel(x + width // 2, y + height // 2)


def check_window_shows_start_values(app):
    """What start-up read from the component is what the window shows."""
    selected = {e["member"]: e["result"] for e in app.trace.new_dispatches("Vellix1", kind="get")}
    for member, group in (("VAlignmentCaption", "optAlignCaptionType"), ("HAlignmentText", "optAlignTextType"),
                          ("BalloonPlace", "optBalloonPlace")):
        radio = app.control(f"{group}({selected[member]})")
        check(radio.getState().contains(pyatspi.STATE_CHECKED), f"{group}({selected[member]}) is not selected")
    for swatch, member in SWATCH_COLOURS.items():
        wait_equal(f"{swatch} to show the {member} read", lambda: swatch_colour(app, swatch), selected[member])
    check_equal(is_checked(app.control("chkLineSeparator")), selected["LineSeparator"], "separator line box")
    check_equal(app.control("cdLanguage").name, "English", "language list")
    language = app.trace.new_dispatches("Vellix1", "Language", "put")
    check_equal([e["args"] for e in language], [[200]], "Language written at start-up")


def run_cancelled(r):
    app = r.start("cancelled", character="")
    app.wait_ready()
    check_loaded(app, ["Default"], BUILT_IN_CHARACTER)
    check_window_shows_start_values(app)
    app.close()


def run_character_option(r):
    acs = r.character_file()
    app = r.start("option", character=acs)
    app.wait_ready()
    check_loaded(app, ["Default", acs], FIXTURE_CHARACTER)
    app.close()


def character_dialog(app):
    dialog = app.wait_top_level("the character file dialog",
                                lambda w: w.getRole() == pyatspi.ROLE_DIALOG and w.name == CHARACTER_DIALOG_TITLE)
    check(not app.trace.has_ready(), "ready written while the character dialog is open")
    return dialog


def run_file_dialog_cancelled(r):
    app = r.start("dialog cancelled")
    dialog = character_dialog(app)
    do_action(child_button(dialog, "Cancel"), "Press")
    app.wait_closed("the character file dialog", dialog)
    app.wait_ready()
    check_loaded(app, ["Default"], BUILT_IN_CHARACTER)
    app.close()


def run_file_dialog(r):
    acs = r.character_file()
    app = r.start("dialog")
    dialog = character_dialog(app)
    file_types = find(dialog, lambda o: o.getRole() == pyatspi.ROLE_COMBO_BOX and o.name.startswith("Files of"))
    check(file_types is not None, "the dialog offers no 'Files of the characters' filter")
    check_equal(file_types.name, "Files of the characters (*.acs)", "file type filter")
    r.step("type the file name into the dialog")
    name_field = find(dialog, lambda o: o.getRole() == pyatspi.ROLE_TEXT and labelled_by(o) == "File name:")
    check(name_field is not None, "the dialog has no 'File name:' field")
    name_field.queryEditableText().setTextContents(acs)
    open_button = child_button(dialog, "Open")
    # The button takes actions only once it is enabled by the typed name.
    wait_for("the Open button to be enabled", lambda: open_button.getState().contains(pyatspi.STATE_ENABLED))
    do_action(open_button, "Press")
    app.wait_closed("the character file dialog", dialog)
    app.wait_ready()
    check_loaded(app, ["Default", acs], FIXTURE_CHARACTER)
    app.close()


def run(r):
    run_cancelled(r)
    run_character_option(r)
    run_file_dialog_cancelled(r)
    run_file_dialog(r)
