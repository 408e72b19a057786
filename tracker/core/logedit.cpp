#include "logedit.h"

#include <algorithm>

#include "daylog.h"
#include "error.h"
#include "recordid.h"
#include "timetext.h"
#include "tracker.h"

namespace ravell {
namespace {

QString Part(const LogRow& row, const char* name) {
  return ParseTimeString(row.time_frame, QLatin1String(name));
}

// A record needs both names: a row without them is never written to the day log.
QString TaskOrDefault(const QString& task) {
  return task.isEmpty() ? QStringLiteral("Working at project") : task;
}
QString ProjectOrDefault(const QString& project) {
  return project.isEmpty() ? QStringLiteral("Undefined project") : project;
}

}  // namespace

LogEdit::LogEdit(Tracker& tracker) : tracker_(tracker) {}

void LogEdit::ReportError(const QString& text) {
  tracker_.messages().Show(text, QString(), MsgIcon::kError);
}

QDate LogEdit::LogDay() const {
  const QDate day = tracker_.session().log_date();
  return day.isValid() ? day : tracker_.clock().TodayDate();
}

DateTime LogEdit::OnLogDay(QTime time) const { return EncodeDate(LogDay()) + EncodeTime(time); }

int LogEdit::FindPlace(DateTime start) const {
  const DayLog& log = tracker_.day_log();
  const qint64 start_ms = ToMilliseconds(ParseTime(FormatTime(start)));
  for (int i = 0; i < log.RowCount(); ++i) {
    const QString row_start = Part(log.Row(i), "TimeStart");
    if (row_start.isEmpty()) return i;
    if (ToMilliseconds(ParseTime(row_start)) > start_ms) return i;
  }
  return log.RowCount();
}

RecordFields LogEdit::InsertPresets(const QString& project, const QString& task, QTime now) {
  RecordFields fields;
  fields.project = project.isEmpty() ? QStringLiteral("Undefined") : project;
  fields.task = task;
  // An hour back from shortly after midnight would be a record of today in
  // the evening, ending before it starts.
  const QTime whole(now.hour(), now.minute(), now.second());
  fields.start = whole.hour() == 0 ? QTime(0, 0) : whole.addSecs(-3600);
  fields.end = fields.start.addSecs(3600);
  return fields;
}

int LogEdit::InputInsertTask(const QString& project, const QString& task) {
  if (!ui_) return -1;
  const RecordFields preset = InsertPresets(project, task, TimeOf(tracker_.clock().Now()));
  const std::optional<RecordFields> fields = ui_->AskInsert(preset);
  if (!fields) return -1;
  try {
    return InsertTask(fields->project, fields->task, OnLogDay(fields->start),
                      OnLogDay(fields->end));
  } catch (const Error& e) {
    ReportError(e.message());
    return -1;
  }
}

int LogEdit::InsertTask(const QString& project_text, const QString& task_text, DateTime start,
                        DateTime end) {
  DayLog& log = tracker_.day_log();
  const QString task_id = NewTaskId(LogDay());
  const QString task = TaskOrDefault(task_text);
  const QString project = ProjectOrDefault(project_text);
  log.RecountTotalTask(project, task);
  const LogRow record{TimeFrameText(start, end), task, project, task_id};
  int place = 0;
  if (log.Row(0).time_frame.isEmpty()) {
    log.SetRow(0, record);
  } else {
    place = FindPlace(start);
    // The session's own row stays last, running or paused.
    if (log.stop_enabled) place = std::min(place, log.RowCount() - 1);
    log.InsertRow(place, record);
  }
  log.RecountTotalTask(project, task);
  log.RecountTotalRate();
  tracker_.session().SaveTask(task, project, end, start, task_id);
  return place;
}

bool LogEdit::CanChange(int row) const {
  const DayLog& log = tracker_.day_log();
  return !log.stop_enabled && row >= 0 && row < log.RowCount() &&
         !Part(log.Row(row), "TimeEnd").isEmpty();
}

bool LogEdit::CanDelete(int row) const {
  const DayLog& log = tracker_.day_log();
  if (row < 0 || row >= log.RowCount() || log.Row(row).task.isEmpty()) return false;
  return !(log.stop_enabled && row == log.RowCount() - 1);
}

int LogEdit::Edit1Click(int r) {
  if (!ui_ || !CanChange(r)) return -1;
  DayLog& log = tracker_.day_log();
  const LogRow old = log.Row(r);
  int selected = r;
  try {
    RecordFields preset;
    preset.project = old.project;
    preset.task = old.task;
    preset.start = TimeOf(ParseTime(Part(old, "TimeStart")));
    preset.end = TimeOf(ParseTime(Part(old, "TimeEnd")));
    const std::optional<RecordFields> fields = ui_->AskChange(preset);
    // The nested loop of the dialog runs ticks; the row must still be the same record.
    if (fields && r < log.RowCount() && log.Row(r) == old && !log.stop_enabled) {
      const DateTime s = OnLogDay(fields->start);
      const DateTime e = OnLogDay(fields->end);
      const QString task = TaskOrDefault(fields->task);
      const QString project = ProjectOrDefault(fields->project);
      const int p = FindPlace(s);
      if (p > r + 1) {
        selected = p - 1;
      } else if (p < r) {
        selected = p;
      }
      if (selected != r) log.MoveRow(r, selected);
      log.SetRow(selected, {TimeFrameText(s, e), task, project, old.task_id});

      // A task new to the list gets its item first, then its time.
      if (log.FindTask(project, task) < 0) log.RecountTotalTask(project, task);
      log.RecountTotalTask(project, task);
      if (project != old.project || task != old.task) log.RecountTotalTask(old.project, old.task);
      log.RecountTotalRate();
      tracker_.session().Tick();
      tracker_.session().SaveTask(task, project, e, s, old.task_id);
    }
  } catch (const Error& e) {
    ReportError(e.message());
  }
  try {
    log.RecountTotalTime();
  } catch (const Error& e) {
    ReportError(e.message());
  }
  return selected;
}

int LogEdit::Delete2Click(int r) {
  if (!CanDelete(r)) return -1;
  DayLog& log = tracker_.day_log();
  const LogRow old = log.Row(r);
  log.RemoveRow(r);
  try {
    log.RecountTotalTask(old.project, old.task);
    log.RecountTotalRate();
  } catch (const Error& e) {
    ReportError(e.message());
  }
  // Each store is told on its own, so one failing does not keep the other behind.
  const StorageTarget target = tracker_.storage_target();
  if (UsesNotes(target) && !old.task_id.isEmpty()) tracker_.DeleteRecordFromNotes(old.task_id);
  if (tracker_.WritesDayLog()) {
    try {
      tracker_.SaveToXML(LogDay());
    } catch (const Error& e) {
      ReportError(e.message());
    }
  }
  tracker_.session().Tick();
  return std::min(r, log.RowCount() - 1);
}

}  // namespace ravell
