#!/usr/bin/python3
"""Runs one scenario against a built harness program through AT-SPI.

Started by session.sh inside the scenario's own D-Bus session:
  drive.py SCENARIO PROGRAM WORK_DIR ARTIFACT_DIR ACS_WRITER
On a failure it keeps a screenshot and the traces in ARTIFACT_DIR and prints
the trace's tail; every program it started is stopped in any case.
"""
import os
import shutil
import subprocess
import sys
import time
import traceback

import scenario_controls
import scenario_crash
import scenario_messages
import scenario_morrowby
import scenario_startup
from harnessapp import WAIT_SECONDS, HarnessApp

SCENARIOS = {
    "startup": scenario_startup.run,
    "controls": scenario_controls.run,
    "modal": scenario_messages.run_modal,
    "modeless": scenario_messages.run_modeless,
    "basics": scenario_morrowby.run,
    "crash": scenario_crash.run,
}


class Run:
    """What a scenario gets: the program, a work folder, fixtures, and steps."""

    def __init__(self, program, workdir, acs_writer):
        self.program = program
        self.program_name = os.path.basename(program)
        self.workdir = workdir
        self.acs_writer = acs_writer
        self.apps = []
        self.started = time.monotonic()

    def step(self, what):
        print(f"[{time.monotonic() - self.started:6.2f}s] {what}", flush=True)

    def start(self, label, character=None, component_dir=None):
        self.step(f"start {self.program_name} ({label})")
        app = HarnessApp(self.program, self.workdir, label, character, component_dir)
        self.apps.append(app)
        return app

    def stop_all(self):
        for app in self.apps:
            app.stop()

    def character_file(self):
        """A small real character file, written by the project's own writer."""
        path = os.path.join(self.workdir, "fixture character.acs")
        if not os.path.exists(path):
            if not self.acs_writer or not os.access(self.acs_writer, os.X_OK):
                raise SystemExit("no character file writer given (agent_write_character)")
            subprocess.run([self.acs_writer, path, "4"], check=True, timeout=WAIT_SECONDS,
                           stdout=subprocess.DEVNULL)
        return path

    def icon_file(self):
        path = os.path.join(self.workdir, "red icon.ico")
        if not os.path.exists(path):
            subprocess.run(["convert", "-size", "32x32", "xc:red", path], check=True, timeout=WAIT_SECONDS)
        return path


def keep_artifacts(run, artifacts):
    os.makedirs(artifacts, exist_ok=True)
    shot = os.path.join(artifacts, "screen.png")
    try:
        subprocess.run(["import", "-window", "root", shot], timeout=WAIT_SECONDS, check=True)
        print(f"screenshot: {shot}")
    except (subprocess.SubprocessError, OSError) as e:
        print(f"no screenshot: {e}")
    for app in run.apps:
        for path in (app.trace.path, app.log_path):
            if os.path.exists(path):
                shutil.copy(path, artifacts)
                print(f"kept: {os.path.join(artifacts, os.path.basename(path))}")
    if run.apps:
        last = run.apps[-1]
        print(f"--- tail of the trace of {last.label} ---\n{last.trace.tail()}--- end of trace ---")
        print(f"--- tail of the output of {last.label} ---\n{last.log_tail()}--- end of output ---")


def main():
    scenario, program, workdir, artifacts, acs_writer = sys.argv[1:6]
    run = Run(program, workdir, acs_writer)
    try:
        SCENARIOS[scenario](run)
        run.step("passed")
        return 0
    except Exception:
        traceback.print_exc()
        keep_artifacts(run, artifacts)
        return 1
    finally:
        run.stop_all()


if __name__ == "__main__":
    sys.exit(main())
