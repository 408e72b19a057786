#include "daylogfile.h"

#include <QFile>
#include <QFileInfo>

#include "atomicfile.h"
#include "daylog.h"
#include "daylogrecord.h"
#include "error.h"
#include "projectlist.h"
#include "textcodec.h"
#include "timetext.h"

namespace ravell {

QByteArray ComposeDayLog(const DayLog& log, const ProjectList& projects, const QDate& today) {
  QByteArray out;
  if (log.Row(0).task.isEmpty()) return out;
  for (int i = 0; i < log.RowCount(); ++i) {
    const LogRow& row = log.Row(i);
    // The row of an unresolved pause has no task yet; it is not a record.
    if (row.task.isEmpty() || row.project.isEmpty() || row.task_id.isEmpty()) continue;
    DayLogRecord record;
    record.year = today.year();
    record.month = today.month();
    record.day = today.day();
    QString start = ParseTimeString(row.time_frame, QStringLiteral("TimeStart"));
    QString end = ParseTimeString(row.time_frame, QStringLiteral("TimeEnd"));
    QString delta = ParseTimeString(row.time_frame, QStringLiteral("TimeDelta"));
    if (start.isEmpty()) start = FormatTime(log.interval_start.local);
    if (end.isEmpty()) end = FormatTime(log.last_save_time.local);
    if (delta.isEmpty()) delta = FormatTime(Elapsed(log.interval_start, log.last_save_time));
    record.time_start = ToFileText(start);
    record.time_end = ToFileText(end);
    record.time_delta = ToFileText(delta);
    record.name = ToFileText(row.task);
    record.project = ToFileText(row.project);
    record.task_id = ToFileText(row.task_id);
    record.rate = projects.StoredRate(row.project);
    out += ComposeDayLogRecord(record, DayLogForm::kTracker);
  }
  return out;
}

DayLogLoad LoadDayLog(const QByteArray& data, DayLog& log, const QDate& day) {
  DayLogLoad result;
  const DayLogContents contents = ReadDayLogRecords(data);
  // On the file's day, so a change of the clock that day counts in the durations.
  const DateTime date = EncodeDate(day);
  for (int i = 0; i < contents.dropped; ++i) {
    result.problems << QStringLiteral("a record is incomplete");
  }
  for (const DayLogRecord& record : contents.records) {
    try {
      const DateTime start = date + ParseTime(FromFileText(record.time_start));
      const DateTime end = date + ParseTime(FromFileText(record.time_end));
      log.InsertSavedTask(FromFileText(record.project), FromFileText(record.name), end, start,
                          FromFileText(record.task_id));
      ++result.loaded;
    } catch (const ConvertError& e) {
      result.problems << e.message();
    }
  }
  return result;
}

DayLogLoad FillDayLog(const QString& path, DayLog& log, const QDate& day) {
  if (!QFileInfo::exists(path)) return {};
  const QByteArray data = ReadWholeFile(path);
  DayLogLoad result = LoadDayLog(data, log, day);
  if (!result.problems.isEmpty()) {
    // The next save rewrites the file from what could be read; keep the original.
    result.backup_path = path + QStringLiteral(".bak");
    try {
      WriteFileAtomic(result.backup_path, data);
    } catch (const FileError& e) {
      result.backup_path.clear();
      result.problems << e.message();
    }
  }
  return result;
}

}  // namespace ravell
