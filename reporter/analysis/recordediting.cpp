#include "recordediting.h"

#include <cmath>
#include <optional>

#include "datetime.h"
#include "error.h"
#include "filter.h"
#include "money.h"
#include "recordid.h"
#include "savedaytoxml.h"
#include "timetext.h"

namespace ravell {

namespace {

const qint64 kDayMs = static_cast<qint64>(kMsPerDay);

QTime WrapTime(qint64 ms) {
  ms %= kDayMs;
  if (ms < 0) ms += kDayMs;
  return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
}

qint64 Ms(const QTime& time) { return time.isValid() ? time.msecsSinceStartOfDay() : 0; }

QString TextOf(const RecordTable& table, int record, int field) {
  return table.IsNull(record, field) ? QString() : table.Text(record, field);
}

int TaskIdField(const RecordTable& table) { return table.FieldIndex(QStringLiteral("TaskId")); }

// View position of the record with the id; -1 when the view lacks it.
int ViewPositionOf(const RecordTable& table, const QString& task_id) {
  const int field = TaskIdField(table);
  const std::vector<int>& view = table.ViewRecords();
  for (size_t i = 0; i < view.size(); ++i) {
    if (TextOf(table, view[i], field) == task_id) return static_cast<int>(i);
  }
  return -1;
}

// On the record with the id, or on the first one when the view lacks it.
void PutCursor(RecordTable& table, const QString& task_id) {
  table.SetPosition(std::max(0, ViewPositionOf(table, task_id)));
}

QDate DateOfRecord(const RecordTable& table, int record) {
  const int field = table.FieldIndex(QStringLiteral("RecordDate"));
  return table.IsNull(record, field) ? QDate() : QDate::fromJulianDay(table.Int(record, field));
}

QTime TimeOfRecord(const RecordTable& table, int record, int field) {
  return WrapTime(table.IsNull(record, field) ? 0 : table.Int(record, field));
}

QString RateText(const RecordTable& table, int record) {
  const int field = table.FieldIndex(QStringLiteral("Rate"));
  return table.IsNull(record, field) ? QStringLiteral("0.00")
                                     : MoneyText(table.Double(record, field) / 100);
}

// Whole seconds, as a time text holds them.
qint64 StoredTime(const QTime& time) {
  return ToMilliseconds(ParseTime(FormatTime(FromMilliseconds(Ms(time)))));
}

}  // namespace

RecordCheck CheckRecordInput(RecordDialogValues& values, const QDate& today) {
  if (values.rate.isEmpty()) values.rate = QStringLiteral("0");
  double rate = 0;
  if (!ParseNumber(values.rate, &rate)) {
    return {RecordField::kRate, QString::fromLatin1(kBadRateText)};
  }
  if (values.date == today) return {RecordField::kDate, QString::fromLatin1(kTodayDateText)};
  if (values.project.isEmpty()) {
    return {RecordField::kProject, QString::fromLatin1(kNoProjectText)};
  }
  if (values.task.isEmpty()) return {RecordField::kTask, QString::fromLatin1(kNoTaskText)};
  return {};
}

LinkedTimes TimeStartChange(LinkedTimes times) {
  times.end = WrapTime(Ms(times.start) + Ms(times.delta));
  times.delta = WrapTime(Ms(times.end) - Ms(times.start));
  return times;
}

LinkedTimes TimeEndChange(LinkedTimes times) {
  times.delta = WrapTime(Ms(times.end) - Ms(times.start));
  return times;
}

LinkedTimes TimeDeltaChange(LinkedTimes times) {
  times.end = WrapTime(Ms(times.start) + Ms(times.delta));
  return times;
}

RecordEditing::RecordEditing(ReporterTables& tables, ReporterAnalysis& analysis,
                             RecordDialog& dialog, MessageBoxes& messages, QString program_folder)
    : tables_(tables),
      analysis_(analysis),
      dialog_(dialog),
      messages_(&messages),
      program_folder_(std::move(program_folder)) {}

RecordTable& RecordEditing::Shown() {
  return DayView() ? tables_.log_records : tables_.display_log;
}

std::optional<QString> RecordEditing::CursorTaskId() {
  RecordTable& shown = Shown();
  const int record = shown.Current();
  if (record < 0) return std::nullopt;
  return TextOf(shown, record, TaskIdField(shown));
}

bool RecordEditing::FindAgain(const QString& task_id) {
  RecordTable& log = tables_.log_records;
  log.CancelRange();
  const int position = ViewPositionOf(log, task_id);
  if (position < 0) {
    messages_->Show(QString::fromLatin1(kNoLinkedRecordText), QString(), MsgIcon::kWarning);
    return false;
  }
  log.SetPosition(position);
  return true;
}

bool RecordEditing::FindLogRecord(const QString& task_id) {
  // The day view's grid shows LogRecords: its current record is the one.
  if (DayView()) return tables_.log_records.Current() >= 0;
  return FindAgain(task_id);
}

bool RecordEditing::Refuse(const QDate& date, const char* text) {
  if (date != clock_->TodayDate()) return false;
  messages_->Show(QString::fromLatin1(text), QString(), MsgIcon::kWarning);
  return true;
}

RecordDialogValues RecordEditing::DialogValues(const QString& caption, int record) {
  RecordTable& log = tables_.log_records;
  RecordDialogValues values;
  values.caption = caption;
  values.rate = RateText(log, record);
  values.date = DateOfRecord(log, record);
  values.clock = clock_;
  values.tasks_of = [&log](const QString& project) {
    QStringList tasks;
    FillTasksOne(log, tasks, project);
    return tasks;
  };
  return values;
}

bool RecordEditing::RunDialog(RecordDialogValues& values, const QString& task_id) {
  const bool ok = dialog_.Execute(values);
  // The lists walked LogRecords, which the day view's grid shows.
  RestoreDayView(task_id);
  if (!ok) return false;
  // The dialog checked the input; the clock may have passed midnight since.
  const RecordCheck check = CheckRecordInput(values, clock_->TodayDate());
  if (check.field != RecordField::kNone) {
    messages_->Show(check.message, QString(), MsgIcon::kWarning);
    return false;
  }
  return true;
}

void RecordEditing::StoreValues(RecordTable& table, RecordTable::Buffer& buffer,
                                const RecordDialogValues& values, const QString& task_id) {
  const auto field = [&table](const char* name) {
    return table.FieldIndex(QString::fromLatin1(name));
  };
  buffer.SetText(field("Project"), values.project);
  buffer.SetText(field("Name"), values.task);
  buffer.SetInt(field("Year"), values.date.year());
  buffer.SetInt(field("Month"), values.date.month());
  buffer.SetInt(field("Day"), values.date.day());
  buffer.SetInt(field("TimeStart"), StoredTime(values.start));
  buffer.SetInt(field("TimeEnd"), StoredTime(values.end));
  buffer.SetInt(field("TimeDelta"), StoredTime(values.delta));
  double rate = 0;
  ParseNumber(values.rate, &rate);
  // Two decimals, kept in hundredths.
  buffer.SetDouble(field("Rate"), std::nearbyint(rate * 100));
  buffer.SetText(field("TaskId"), task_id);
  if (buffer.IsNull(field("Prolog"))) buffer.SetText(field("Prolog"), QString());
}

void RecordEditing::RefreshGroupView(const std::optional<QString>& cursor_task_id) {
  analysis_.CustomLogTreeChange(analysis_.SelectedNode());
  RecordTable& display = tables_.display_log;
  if (cursor_task_id && display.Count() > 0) PutCursor(display, *cursor_task_id);
}

void RecordEditing::RestoreDayView(const std::optional<QString>& cursor_task_id) {
  if (!DayView()) return;
  analysis_.ShowCalendarDay();
  RecordTable& log = tables_.log_records;
  if (cursor_task_id && log.Count() > 0) PutCursor(log, *cursor_task_id);
}

void RecordEditing::SaveDays(const QList<QDate>& dates) {
  try {
    for (const QDate& date : dates) SaveDayToXML(tables_.log_records, program_folder_, date);
  } catch (const FileError& error) {
    messages_->Show(error.message(), QString(), MsgIcon::kError);
  }
}

void RecordEditing::Edit1Click() {
  const std::optional<QString> id = CursorTaskId();
  if (!id || !FindLogRecord(*id)) return;
  RecordTable& log = tables_.log_records;
  const int record = log.Current();
  const QDate old_date = DateOfRecord(log, record);
  if (Refuse(old_date, kNoChangeTodayText)) return;

  RecordDialogValues values = DialogValues(QString::fromLatin1(kChangeRecordCaption), record);
  values.project = TextOf(log, record, log_field::kProject);
  values.task = TextOf(log, record, log_field::kName);
  values.start = TimeOfRecord(log, record, log_field::kTimeStart);
  values.end = TimeOfRecord(log, record, log_field::kTimeEnd);
  values.delta = TimeOfRecord(log, record, log_field::kTimeDelta);
  FillProjects(log, values.projects);
  FillTasksOne(log, values.tasks, values.project);
  if (!RunDialog(values, *id) || !FindAgain(*id)) return;
  // The old date may have become today while the dialog was open.
  if (Refuse(DateOfRecord(log, log.Current()), kNoChangeTodayText)) return;

  StoreValues(log, log.Edit(), values, *id);
  log.Post();
  if (!DayView()) {
    RecordTable& display = tables_.display_log;
    const int position = ViewPositionOf(display, *id);
    if (position >= 0) {
      display.SetPosition(position);
      StoreValues(display, display.Edit(), values, *id);
      display.Post();
    }
    RefreshGroupView(id);
  }
  // The new date first: a failure then leaves the record in both files
  // rather than in neither.
  QList<QDate> dates = {values.date};
  if (old_date != values.date) dates << old_date;
  SaveDays(dates);
  RestoreDayView(id);
  PutCursor(log, *id);
}

void RecordEditing::Insert1Click() {
  const std::optional<QString> id = CursorTaskId();
  if (!id || !FindLogRecord(*id)) return;
  RecordTable& log = tables_.log_records;
  RecordDialogValues values =
      DialogValues(QString::fromLatin1(kInsertRecordCaption), log.Current());
  values.start = TimeOf(clock_->TimeOfDay());
  values.delta = QTime(1, 0);
  values.end = TimeDeltaChange({values.start, QTime(), values.delta}).end;
  FillProjects(log, values.projects);
  values.project = values.projects.value(0);
  FillTasksOne(log, values.tasks, values.project);
  values.task = values.tasks.value(0);
  if (!RunDialog(values, *id) || !FindAgain(*id)) return;

  const QString new_id = NewTaskId(values.date);
  StoreValues(log, log.Append(), values, new_id);
  log.Post();
  if (!DayView()) {
    RecordTable& display = tables_.display_log;
    StoreValues(display, display.Append(), values, new_id);
    display.Post();
    RefreshGroupView(new_id);
  }
  SaveDays({values.date});
  RestoreDayView(new_id);
}

void RecordEditing::Delete1Click() {
  const std::optional<QString> id = CursorTaskId();
  if (!id || !FindLogRecord(*id)) return;
  // The grid's next record, or the one before the last.
  RecordTable& shown = Shown();
  const std::vector<int>& view = shown.ViewRecords();
  const int position = shown.Position();
  std::optional<QString> neighbour;
  const int field = TaskIdField(shown);
  if (position + 1 < static_cast<int>(view.size())) {
    neighbour = TextOf(shown, view[static_cast<size_t>(position + 1)], field);
  } else if (position > 0) {
    neighbour = TextOf(shown, view[static_cast<size_t>(position - 1)], field);
  }

  RecordTable& log = tables_.log_records;
  const QDate date = DateOfRecord(log, log.Current());
  if (Refuse(date, kNoDeleteTodayText)) return;
  log.Delete();
  if (!DayView()) {
    RecordTable& display = tables_.display_log;
    const int shown_position = ViewPositionOf(display, *id);
    if (shown_position >= 0) {
      display.SetPosition(shown_position);
      display.Delete();
    }
    RefreshGroupView(neighbour);
  }
  SaveDays({date});
  RestoreDayView(neighbour);
}

}  // namespace ravell
