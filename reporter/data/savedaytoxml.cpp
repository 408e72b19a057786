#include "savedaytoxml.h"

#include <cmath>

#include "atomicfile.h"
#include "daylogrecord.h"
#include "logtables.h"
#include "textcodec.h"
#include "timetext.h"

namespace ravell {

namespace {

QByteArray TimeText(const RecordTable& table, int record, int field) {
  const qint64 ms = table.IsNull(record, field) ? 0 : table.Int(record, field);
  return ToFileText(FormatTime(FromMilliseconds(ms)));
}

QByteArray FileText(const RecordTable& table, int record, int field) {
  return table.IsNull(record, field) ? QByteArray() : ToFileText(table.Text(record, field));
}

}  // namespace

QByteArray ComposeReporterDayLog(RecordTable& log_records, const QDate& date) {
  using namespace log_field;
  RecordTable& log = log_records;
  const QString order = log.Order();
  log.DisableControls();
  log.CancelRange();
  log.SetOrder(kByTimeStart);
  const QVariantList day = {date.year(), date.month(), date.day()};
  log.SetRange(day, day);
  QByteArray out;
  for (const int record : log.ViewRecords()) {
    DayLogRecord line;
    line.year = date.year();
    line.month = date.month();
    line.day = date.day();
    line.time_start = TimeText(log, record, kTimeStart);
    line.time_end = TimeText(log, record, kTimeEnd);
    line.time_delta = TimeText(log, record, kTimeDelta);
    line.name = FileText(log, record, kName);
    line.project = FileText(log, record, kProject);
    line.task_id = FileText(log, record, kTaskId);
    // nearbyint rounds halves to even in the default rounding mode.
    line.rate = log.IsNull(record, kRate)
                    ? 0
                    : static_cast<qint64>(std::nearbyint(log.Double(record, kRate)));
    out += ComposeDayLogRecord(line, DayLogForm::kReporter);
  }
  log.CancelRange();
  log.SetOrder(order);
  log.EnableControls();
  return out;
}

void SaveDayToXML(RecordTable& log_records, const QString& program_folder, const QDate& date) {
  const QByteArray bytes = ComposeReporterDayLog(log_records, date);
  WriteFileAtomic(DayLogPath(program_folder, date), bytes);
}

}  // namespace ravell
