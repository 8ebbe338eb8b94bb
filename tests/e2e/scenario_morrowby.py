"""Morrowby where it differs from Fennick: start-up with a character file, its
own method identifiers, Russian balloon buttons after picking "Русский", and
the Russian icon file filter."""
import pyatspi

from harnessapp import check, check_equal, child_button, do_action, find, find_all
from scenario_controls import check_language_list, icon_dialog
from scenario_messages import NO, YES, check_call, close_balloon, message_text, report_box, start_message
from scenario_startup import FIXTURE_CHARACTER, check_loaded, check_window_shows_start_values


def run(r):
    acs = r.character_file()
    app = r.start("morrowby", character=acs)
    app.wait_ready()
    check_loaded(app, ["Default", acs], FIXTURE_CHARACTER)
    check_window_shows_start_values(app)
    check_language_list(r, app)
    app.select_option("optbuttontype(14)")  # Yes, No
    text = message_text(app)

    balloon = start_message(r, app, "cmbMsgShow", "Сообщение")
    captions = [b.name for b in find_all(balloon, lambda o: o.getRole() == pyatspi.ROLE_PUSH_BUTTON)]
    check_equal(captions, ["Да", "Нет"], "balloon buttons in Russian")
    close_balloon(app, balloon, "Нет")
    report_box(app, str(NO))
    check_call(app, "ShowVellix", "Сообщение", text, {"Button": NO, "Label": -1, "Text": "", "Status": 0})

    balloon = start_message(r, app, "cmbMsgInput", "Ввод")
    field = find(balloon, lambda o: o.getRole() == pyatspi.ROLE_TEXT and o.name == "Input")
    field.queryEditableText().setTextContents("ответ")
    close_balloon(app, balloon, "Да")
    report_box(app, f"You have entered the text: ответ Button: {YES}")
    check_call(app, "MsgInput", "Ввод", text, {"Button": YES, "Label": -1, "Text": "ответ", "Status": 0})

    r.step("custom icon: the Russian filter, then cancel")
    app.trace.mark()
    dialog = icon_dialog(app)
    file_types = find(dialog, lambda o: o.getRole() == pyatspi.ROLE_COMBO_BOX and "ico" in o.name)
    check(file_types is not None and file_types.name.startswith("Файлы значков (**.ico)"),
          f"icon file filter: {file_types.name if file_types else None!r}")
    do_action(child_button(dialog, "Cancel"), "Press")
    app.wait_closed("the icon file dialog", dialog)
    check_equal(app.answer_message_box("Error"), "You have not chosen a icon!", "the box after a cancel")
    app.close()
