"""The broken example crashes in ShowVellix with ButtonsType 11. Driven as a
person would: the harness stays, one report names the call and the signal,
and the next ShowVellix shows a balloon from the restarted component with
the options that were set before the crash."""
import os

from harnessapp import check, check_equal

HEADING = "Проверка после сбоя 🎈"


def run(r):
    broken = os.path.join(os.path.dirname(r.program), "examples", "broken")
    check(os.path.isdir(broken), f"the broken example is not built in {broken}")
    app = r.start("crash", character="", component_dir=broken)
    app.wait_ready()

    r.step("options set by hand, then ButtonsType 11")
    app.set_text("txtCaption", HEADING)
    app.select_option("optIconType(3)")
    app.set_check("chkModal", False)
    app.select_option("optbuttontype(11)")
    app.trace.mark()
    app.press("cmbMsgShow")

    r.step("one report, naming the call and how the component ended")
    report = app.answer_message_box("Component crashed")
    check("ShowVellix(" in report, f"the report does not name ShowVellix: {report!r}")
    # Under the address sanitizer the fault ends by the sanitizer's report.
    check(any(end in report for end in ("signal SIGSEGV", "signal SIGABRT", "exit code 1")),
          f"the report does not say how it ended: {report!r}")
    events = [e["event"] for e in app.trace.new()]
    check("component-crashed" in events, f"no crash line in the trace: {events}")
    app.check_running()

    r.step("the next ShowVellix reaches the restarted component, with the options as set")
    app.select_option("optbuttontype(0)")
    app.trace.mark()
    app.press("cmbMsgShow")
    app.balloon(HEADING)
    shown = app.trace.new_dispatches("Vellix1", "ShowVellix", "method")
    check_equal(len(shown), 1, "ShowVellix calls after the restart")
    args = shown[0]["args"]
    check_equal(args[0], HEADING, "the caption passed")
    check_equal(args[2], 3, "the icon type passed")
    check_equal(args[4], 0, "the buttons type passed")
    check_equal(args[5], False, "the modal flag passed")
    # The modeless call's answer, reported at once.
    check_equal(app.answer_message_box(app.name), "0", "report box")
    app.close()
