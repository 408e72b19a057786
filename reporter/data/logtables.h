#pragma once

#include <QByteArray>
#include <QString>

#include "recordtable.h"
#include "startupprogress.h"

namespace ravell {

// "January" ... "December"; "Undefined" for any other number.
QString MonthToName(int month);
// "1" ... "12" for the exact month names, "0" for any other text.
QString NameToMonth(const QString& name);

// Fields of LogRecords, in table order.
namespace log_field {
enum : int {
  kProlog,
  kYear,
  kMonth,
  kDay,
  kTimeStart,
  kTimeEnd,
  kTimeDelta,
  kName,
  kProject,
  kTaskId,
  kRate,
  kSeconds,
  kRecordDate,
  kDRate,
  kDays,
};
}  // namespace log_field

// Fields of DisplayLog, in table order.
namespace display_field {
enum : int {
  kProlog,
  kYear,
  kMonth,
  kTimeEnd,
  kDay,
  kTimeStart,
  kTimeDelta,
  kName,
  kProject,
  kTaskId,
  kRate,
  kSeconds,
  kRecordDate,
  kDRate,
  kSMonth,
};
}  // namespace display_field

// Fields of TasksTotal, in table order.
namespace total_field {
enum : int {
  kName,
  kProject,
  kTotalTime,
  kYear,
  kMonth,
  kDay,
  kSeconds,
  kTotalTimeS,
  kHours,
  kRate,
  kRecordDate,
};
}  // namespace total_field

inline constexpr char kTasksByProject[] = "TasksByProject";
inline constexpr char kByTimeStart[] = "ByTimeStart";
inline constexpr char kProjectsByDate[] = "ProjectsByDate";
inline constexpr char kCustom[] = "Custom";

// The reporter's three record tables, alive for the whole run.
struct ReporterTables {
  ReporterTables();
  RecordTable log_records;  // LogRecords: every record of the consolidated log
  RecordTable display_log;  // DisplayLog: the records that pass the filter
  RecordTable tasks_total;  // TasksTotal: one row per group of the totals
};

// Derived fields of a record being stored.
void LogRecordsCalcFields(RecordTable::Buffer& record);
void DisplayLogCalcFields(RecordTable::Buffer& record);

struct LoadStats {
  int records = 0;  // loaded
  int skipped = 0;  // TaskInstance elements that could not be read
  int decoded = 0;  // Name and Project elements that held text
};

// Fills LogRecords from the consolidated log's bytes: every TaskInstance
// element becomes a record, in file order, with its derived fields. The
// element's values end at their own closing tags, so "<", ">" and "&" in
// names do no harm. A record whose date is not a calendar date or whose
// times do not parse is skipped and counted. Leaves the order
// "TasksByProject" active.
LoadStats LoadLogRecords(const QByteArray& data, RecordTable& log_records,
                         ProgressMeter* meter = nullptr);

}  // namespace ravell
