"""Reads the JSON-lines trace a harness program writes with --trace."""
import json
import os


class TraceLog:
    def __init__(self, path):
        self.path = path
        self._mark = 0

    def events(self):
        if not os.path.exists(self.path):
            return []
        with open(self.path, encoding="utf-8") as f:
            # The program flushes whole lines; a line still being written has no newline yet.
            return [json.loads(line) for line in f.read().split("\n")[:-1] if line.strip()]

    def mark(self):
        """Later calls to new() only see what is written from now on."""
        self._mark = len(self.events())

    def new(self):
        return self.events()[self._mark:]

    def new_dispatches(self, control=None, member=None, kind=None):
        return [e for e in self.new() if e["event"] == "dispatch"
                and (control is None or e["control"] == control)
                and (member is None or e["member"] == member)
                and (kind is None or e["kind"] == kind)]

    def new_message_boxes(self):
        return [e for e in self.new() if e["event"] == "messagebox"]

    def has_ready(self):
        return any(e["event"] == "ready" for e in self.events())

    def tail(self, lines=25):
        if not os.path.exists(self.path):
            return "(no trace written)"
        with open(self.path, encoding="utf-8", errors="replace") as f:
            return "".join(f.readlines()[-lines:])
