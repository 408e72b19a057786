"""End-to-end run of the real tracker and reporter in a copy of the program
folder, driven through their windows. Run by run.sh inside its own X server
and session bus."""

import datetime
import faulthandler
import os
import re
import shutil
import sys
import tempfile
import time

import desktop as d

RECORD = re.compile(r"<TaskInstance>(.*?)</TaskInstance>", re.S)


def field(record, tag):
    m = re.search(r"<%s>(.*?)</%s>" % (tag, tag), record, re.S)
    return m.group(1).strip() if m else None


def seconds(text):
    h, m, s = (int(x) for x in text.split(":"))
    return h * 3600 + m * 60 + s


def day_log(folder, day):
    # Numbers without leading zeros, as both programs name the files.
    return os.path.join(folder, "Log", str(day.year), str(day.month),
                        "%d_%d_%d.tl" % (day.year, day.month, day.day))


def read_records(path):
    with open(path, "rb") as f:
        text = f.read().decode("utf-8", "replace")
    return [{tag: field(r, tag) for tag in ("Name", "Project", "TimeStart", "TimeEnd",
                                             "TimeDelta", "TaskId")}
            for r in RECORD.findall(text)]


def make_program_folder(bin_dir):
    folder = tempfile.mkdtemp(prefix="ravell-e2e-")
    for name in os.listdir(bin_dir):
        source = os.path.join(bin_dir, name)
        if name in ("ravell", "rvreporter") or name.endswith(".so"):
            shutil.copy2(source, folder)
        elif name == "Help":
            shutil.copytree(source, os.path.join(folder, name))
    with open(os.path.join(folder, "ravell.ini"), "wb") as f:
        f.write(b"[Storage]\r\nTarget=Log\r\n")
    return folder


class Steps:
    def __init__(self):
        self.began = time.monotonic()

    def __call__(self, text):
        print("%6.2f s  %s" % (time.monotonic() - self.began, text), flush=True)


def new_task(tracker, main, project, task):
    d.click(d.need(main, "push button", "Start new"))
    dialog = tracker.window("dialog", "New task")
    d.set_text(d.combo_text_field(d.labelled(dialog, "Project:", "combo box")), project)
    d.set_text(d.combo_text_field(d.labelled(dialog, "Task:", "combo box")), task)
    d.press(d.need(dialog, "push button", "OK"))
    tracker.gone("dialog", "New task")


def log_names(main):
    return [row for row in d.table_rows(d.need(main, "table", "Today's log"))]


def tracker_day(folder, step):
    today = datetime.date.today()
    tracker = d.Program(folder, "ravell", "Ravell")
    main = d.wait_for("main window", lambda: tracker.app[0])
    step("tracker started")

    new_task(tracker, main, "Alpha", "Report")
    step("started Report under Alpha")
    time.sleep(1.5)
    new_task(tracker, main, "Alpha", "Review")
    step("switched to Review")
    time.sleep(1.5)

    d.click(d.need(main, "check box", "Pause task"))
    step("paused")
    time.sleep(1.2)
    d.click(d.need(main, "check box", "Pause task"))
    pause = tracker.window("dialog", "Create pause task")
    d.press(d.need(pause, "push button", "Skip this time"))
    tracker.gone("dialog", "Create pause task")
    step("pause ended, skipped")
    time.sleep(1.2)

    d.click(d.need(main, "push button", "Stop task"))
    step("stopped")
    rows = log_names(main)
    assert any("Report" in r for r in rows) and any("Review" in r for r in rows), rows

    d.click(d.need(main, "push button", "Shut down"))
    status = tracker.wait_exit()
    step("shut down, exit status %d" % status)
    assert status == 0, status

    records = read_records(day_log(folder, today))
    names = [(r["Name"], r["Project"]) for r in records]
    assert ("Report", "Alpha") in names and ("Review", "Alpha") in names, names
    for r in records:
        assert seconds(r["TimeDelta"]) == (seconds(r["TimeEnd"]) - seconds(r["TimeStart"])) % 86400 \
            or abs(seconds(r["TimeDelta"]) - (seconds(r["TimeEnd"]) - seconds(r["TimeStart"]))) <= 1, r
    review = [r for r in records if r["Name"] == "Review"]
    # The skipped pause is not recorded: Review holds about 1.5 s + 1.2 s, not
    # the 1.2 s of the pause as well.
    total = sum(seconds(r["TimeDelta"]) for r in review)
    assert 1 <= total <= 5, review
    for before, after in zip(records, records[1:]):
        assert seconds(before["TimeEnd"]) <= seconds(after["TimeStart"]), (before, after)
    step("day log holds %d records: %s" % (len(records), names))


def tracker_terminated(folder, step):
    """The desktop session ends while a task runs: the running interval is saved."""
    today = datetime.date.today()
    before = len(read_records(day_log(folder, today)))
    tracker = d.Program(folder, "ravell", "Ravell")
    main = d.wait_for("main window", lambda: tracker.app[0])
    new_task(tracker, main, "Beta", "Night shift")
    time.sleep(1.5)
    tracker.process.terminate()
    status = tracker.wait_exit()
    step("SIGTERM while Night shift runs, exit status %d" % status)
    records = read_records(day_log(folder, today))
    assert len(records) == before + 1, records
    last = records[-1]
    assert (last["Name"], last["Project"]) == ("Night shift", "Beta"), last
    assert seconds(last["TimeDelta"]) >= 1, last
    step("the running interval was saved: %s" % last["TimeDelta"])


PAST_DAY_RECORDS = [
    # start, end, delta, task, project, id
    ("9:00:00", "10:30:00", "1:30:00", "Draft", "Gamma", "01"),
    ("11:00:00", "11:15:00", "0:15:00", "Check", "Gamma", "02"),
]


def write_past_day(folder, day):
    """A day the tracker wrote earlier, in its own form."""
    lines = []
    for start, end, delta, task, project, suffix in PAST_DAY_RECORDS:
        lines.append(
            "<TaskInstance><Prolog></Prolog><Year>%d</Year><Month>%d</Month><Day>%d</Day>"
            "<TimeStart>%s</TimeStart><TimeEnd>%s</TimeEnd><TimeDelta>%s</TimeDelta>\t"
            "<Name>%s</Name>\t<Project>%s</Project>\t<TaskId>%04d%02d%02d0000%s</TaskId>\t"
            "<Rate>1250</Rate></TaskInstance>\r\n"
            % (day.year, day.month, day.day, start, end, delta, task, project,
               day.year, day.month, day.day, suffix))
    path = day_log(folder, day)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write("".join(lines).encode("utf-8"))


def calendar_cell(calendar, day, today):
    """The cell of day in the calendar's month page. A month page also shows
    days of the months around it: days up to 14 are taken from the front,
    later days from the back, and a day of the previous month from the front."""
    view = d.wait_for("calendar days", lambda: [
        n for n in d.walk(calendar) if n is not calendar and d.role(n) == "table"][0])
    t = view.queryTable()
    cells = [t.getAccessibleAt(r, c) for r in range(t.nRows) for c in range(t.nColumns)]
    matches = [c for c in cells if c is not None and c.name == str(day.day)]
    from_front = day.month != today.month or day.day <= 14
    return matches[0] if from_front else matches[-1]


def reporter_edit_and_export(folder, step):
    today = datetime.date.today()
    past = today - datetime.timedelta(days=1)
    write_past_day(folder, past)
    reporter = d.Program(folder, "rvreporter", "rvreporter")
    main = reporter.window("frame", "Ravell Reporter")
    step("reporter started")

    calendar = d.need(main, "table", "Calendar of recorded days")
    d.click(calendar_cell(calendar, past, today))
    d.press(d.need(main, "page tab", "View Log"))
    grid = d.need(main, "table", "Log records")

    def draft_cell():
        # The row's first cell: the task column may lie beyond the grid's
        # visible width.
        t = grid.queryTable()
        for r in range(t.nRows):
            for c in range(t.nColumns):
                cell = t.getAccessibleAt(r, c)
                if cell is not None and cell.name == "Draft":
                    return t.getAccessibleAt(r, 0)
        return None
    cell = d.wait_for("the past day's Draft record in the log grid", draft_cell)
    step("found %s in the log grid" % past.isoformat())

    d.click(cell, double=True)
    dialog = reporter.window("dialog", "Change record")
    d.set_text(d.combo_text_field(d.labelled(dialog, "Task:", "combo box")), "Draft v2")
    d.press(d.need(dialog, "push button", "OK"))
    reporter.gone("dialog", "Change record")
    records = read_records(day_log(folder, past))
    names = sorted(r["Name"] for r in records)
    assert names == ["Check", "Draft v2"], records
    changed = [r for r in records if r["Name"] == "Draft v2"][0]
    assert (changed["TimeStart"], changed["TimeEnd"], changed["TimeDelta"]) == \
        ("9:00:00", "10:30:00", "1:30:00"), changed
    step("changed Draft to Draft v2; the day's file was rewritten")

    export_file = os.path.join(folder, "e2e-export.txt")
    d.press(d.need(main, "page tab", "Data Export"))
    d.press(d.need(main, "page tab", "Scope"))
    d.click(d.need(main, "radio button", "Selected records"))
    d.click(d.need(main, "radio button", "Log records"))
    d.press(d.need(main, "page tab", "Destination"))
    d.click(d.need(main, "radio button", "Text file"))
    path_fields = [n for n in d.find_all(main, "text")
                   if n.getState().contains(d.pyatspi.STATE_ENABLED)
                   and n.queryText().getText(0, -1).endswith("report.txt")]
    assert len(path_fields) == 1, [n.name for n in path_fields]
    d.set_text(path_fields[0], export_file)
    open_box = d.need(main, "check box", "Open composed text file")
    if open_box.getState().contains(d.pyatspi.STATE_CHECKED):
        d.click(open_box)
    d.click(d.need(main, "push button", "Export"))
    d.wait_for("the exported text file", lambda: os.path.exists(export_file))
    with open(export_file, "rb") as f:
        exported = f.read().decode("utf-8")
    lines = exported.split("\r\n")
    assert any("Draft v2" in line and "9:00:00" in line for line in lines), exported
    step("exported the day's log records to a text file (%d lines)" % len([l for l in lines if l]))

    reporter.process.terminate()
    reporter.wait_exit()

    # A fresh start consolidates the rewritten file: the change is there.
    reporter = d.Program(folder, "rvreporter", "rvreporter")
    main = reporter.window("frame", "Ravell Reporter")
    calendar = d.need(main, "table", "Calendar of recorded days")
    d.click(calendar_cell(calendar, past, today))
    d.press(d.need(main, "page tab", "View Log"))
    grid = d.need(main, "table", "Log records")
    d.wait_for("Draft v2 after a restart",
               lambda: any("Draft v2" in row for row in d.table_rows(grid)))
    reporter.process.terminate()
    reporter.wait_exit()
    step("after a restart the reporter shows Draft v2")


def main():
    bin_dir = sys.argv[1]
    # A call into a program that hangs shows where, instead of a silent timeout.
    faulthandler.dump_traceback_later(float(os.environ.get("RAVELL_E2E_WATCHDOG", "240")), exit=True,
                                      file=sys.stdout)
    step = Steps()
    d.start_accessibility_bus()
    folder = make_program_folder(bin_dir)
    try:
        tracker_day(folder, step)
        tracker_terminated(folder, step)
        reporter_edit_and_export(folder, step)
    finally:
        if os.environ.get("RAVELL_E2E_KEEP"):
            print("program folder kept:", folder)
        else:
            shutil.rmtree(folder, ignore_errors=True)
    step("all steps passed")


if __name__ == "__main__":
    try:
        main()
    except BaseException:
        # stdout: stderr goes through a filter that may lose its last lines.
        import traceback
        traceback.print_exc(file=sys.stdout)
        sys.exit(1)
