"""End-to-end run of the real tracker and reporter in a copy of the program
folder, driven through their windows. Run by run.sh inside its own X server
and session bus."""

import datetime
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
    return os.path.join(folder, "Log", "%04d" % day.year, "%02d" % day.month,
                        "%04d_%02d_%02d.tl" % (day.year, day.month, day.day))


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


def main():
    bin_dir = sys.argv[1]
    step = Steps()
    d.start_accessibility_bus()
    folder = make_program_folder(bin_dir)
    try:
        tracker_day(folder, step)
        tracker_terminated(folder, step)
    finally:
        if os.environ.get("RAVELL_E2E_KEEP"):
            print("program folder kept:", folder)
        else:
            shutil.rmtree(folder, ignore_errors=True)
    step("all steps passed")


if __name__ == "__main__":
    main()
