#include "logtables.h"

#include <QDate>
#include <string>
#include <string_view>
#include <unordered_map>

#include "consolidation.h"
#include "datetime.h"
#include "daylogrecord.h"
#include "error.h"
#include "money.h"
#include "textcodec.h"
#include "timetext.h"

namespace ravell {

namespace {

const char* const kMonthNames[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};

const QString kUndefined = QStringLiteral("Undefined");

FieldDef Field(const char* name, FieldType type, const char* label, int size = 0, int decimals = -1,
               bool derived = false) {
  return {QString::fromLatin1(name), type, QString::fromLatin1(label), size, decimals, derived};
}

QList<FieldDef> LogRecordsFields() {
  return {
      Field("Prolog", FieldType::kText, "Prolog", 32),
      Field("Year", FieldType::kInt, "Year"),
      Field("Month", FieldType::kInt, "Month"),
      Field("Day", FieldType::kInt, "Day"),
      Field("TimeStart", FieldType::kTime, "Start time"),
      Field("TimeEnd", FieldType::kTime, "End time"),
      Field("TimeDelta", FieldType::kTime, "Spent time"),
      Field("Name", FieldType::kText, "Task", 256),
      Field("Project", FieldType::kText, "Project", 256),
      Field("TaskId", FieldType::kText, "TaskId", 20),
      Field("Rate", FieldType::kDouble, "Rate"),
      Field("Seconds", FieldType::kInt, "Seconds", 0, -1, true),
      Field("RecordDate", FieldType::kDate, "Date", 0, -1, true),
      Field("dRate", FieldType::kDouble, "Rate", 0, 2, true),
      Field("Days", FieldType::kInt, "Days", 0, -1, true),
  };
}

QList<FieldDef> DisplayLogFields() {
  return {
      Field("Prolog", FieldType::kText, "Prolog", 32),
      Field("Year", FieldType::kInt, "Year"),
      Field("Month", FieldType::kInt, "Month"),
      Field("TimeEnd", FieldType::kTime, "End time"),
      Field("Day", FieldType::kInt, "Day"),
      Field("TimeStart", FieldType::kTime, "Start time"),
      Field("TimeDelta", FieldType::kTime, "Spent time"),
      Field("Name", FieldType::kText, "Task", 256),
      Field("Project", FieldType::kText, "Project", 256),
      Field("TaskId", FieldType::kText, "TaskId", 20),
      Field("Rate", FieldType::kDouble, "Rate"),
      Field("Seconds", FieldType::kInt, "Seconds", 0, -1, true),
      Field("RecordDate", FieldType::kDate, "Date", 0, -1, true),
      Field("dRate", FieldType::kDouble, "Rate", 0, 2, true),
      Field("sMonth", FieldType::kText, "Month", 20, -1, true),
  };
}

QList<FieldDef> TasksTotalFields() {
  return {
      Field("Name", FieldType::kText, "Task", 256),
      Field("Project", FieldType::kText, "Project", 256),
      Field("TotalTime", FieldType::kTime, "Spent time"),
      Field("Year", FieldType::kInt, "Year"),
      Field("Month", FieldType::kText, "Month", 20),
      Field("Day", FieldType::kInt, "Day"),
      Field("Seconds", FieldType::kInt, "Seconds"),
      Field("TotalTimeS", FieldType::kText, "Spent time", 20),
      Field("Hours", FieldType::kDouble, "Hours"),
      Field("Rate", FieldType::kDouble, "Rate", 0, 2),
      Field("RecordDate", FieldType::kDate, "Date"),
  };
}

void DefineLevelSums(RecordTable& table) {
  for (int level = 1; level <= 5; ++level) {
    table.DefineGroupSum(QStringLiteral("SumTime%1").arg(level), QStringLiteral("Seconds"), level);
    table.DefineGroupSum(QStringLiteral("SumRate%1").arg(level), QStringLiteral("dRate"), level);
  }
}

// The derived fields both record tables share; field numbers differ.
struct CalcLayout {
  int year, month, day, time_delta, rate, seconds, record_date, d_rate;
};

QDate CalcShared(RecordTable::Buffer& record, const CalcLayout& f) {
  if (record.IsNull(f.time_delta)) {
    record.SetNull(f.seconds);
  } else {
    record.SetInt(f.seconds, record.Int(f.time_delta) / 1000);
  }
  if (record.IsNull(f.rate) || record.IsNull(f.time_delta)) {
    record.SetNull(f.d_rate);
  } else {
    const double seconds = static_cast<double>(record.Int(f.time_delta)) / 1000.0;
    record.SetDouble(f.d_rate, seconds * (record.Double(f.rate) / 3600) / 100);
  }
  QDate date;
  if (!record.IsNull(f.year) && !record.IsNull(f.month) && !record.IsNull(f.day)) {
    date = QDate(static_cast<int>(record.Int(f.year)), static_cast<int>(record.Int(f.month)),
                 static_cast<int>(record.Int(f.day)));
  }
  if (date.isValid()) {
    record.SetInt(f.record_date, date.toJulianDay());
  } else {
    record.SetNull(f.record_date);
  }
  return date;
}

}  // namespace

QString MonthToName(int month) {
  // Built once: every record stored in DisplayLog asks for its month's name.
  static const QList<QString> names = [] {
    QList<QString> list;
    for (const char* name : kMonthNames) list << QString::fromLatin1(name);
    return list;
  }();
  return month >= 1 && month <= 12 ? names[month - 1] : kUndefined;
}

QString NameToMonth(const QString& name) {
  for (int month = 1; month <= 12; ++month) {
    if (name == QLatin1String(kMonthNames[month - 1])) return QString::number(month);
  }
  return QStringLiteral("0");
}

void LogRecordsCalcFields(RecordTable::Buffer& record) {
  using namespace log_field;
  const QDate date =
      CalcShared(record, {kYear, kMonth, kDay, kTimeDelta, kRate, kSeconds, kRecordDate, kDRate});
  if (date.isValid()) {
    record.SetInt(kDays, static_cast<qint64>(EncodeDate(date)));
  } else {
    record.SetNull(kDays);
  }
}

void DisplayLogCalcFields(RecordTable::Buffer& record) {
  using namespace display_field;
  CalcShared(record, {kYear, kMonth, kDay, kTimeDelta, kRate, kSeconds, kRecordDate, kDRate});
  record.SetText(kSMonth,
                 MonthToName(record.IsNull(kMonth) ? 0 : static_cast<int>(record.Int(kMonth))));
}

ReporterTables::ReporterTables()
    : log_records(QStringLiteral("LogRecords"), LogRecordsFields()),
      display_log(QStringLiteral("DisplayLog"), DisplayLogFields()),
      tasks_total(QStringLiteral("TasksTotal"), TasksTotalFields()) {
  const QStringList by_time_start = {QStringLiteral("Year"), QStringLiteral("Month"),
                                     QStringLiteral("Day"), QStringLiteral("TimeStart")};
  const QStringList by_date_project = {QStringLiteral("Year"), QStringLiteral("Month"),
                                       QStringLiteral("Day"), QStringLiteral("Project"),
                                       QStringLiteral("Name")};
  log_records.DefineOrder(kTasksByProject, by_date_project);
  log_records.DefineOrder(kByTimeStart, by_time_start);
  log_records.DefineOrder(
      kProjectsByDate, {QStringLiteral("Project"), QStringLiteral("Name"), QStringLiteral("Year"),
                        QStringLiteral("Month"), QStringLiteral("Day")});
  log_records.SetOrder(kTasksByProject);
  log_records.SetCalcFields(&LogRecordsCalcFields);
  DefineLevelSums(log_records);

  display_log.DefineOrder(kCustom, by_date_project);
  display_log.DefineOrder(kByTimeStart, by_time_start);
  display_log.SetOrder(kCustom);
  display_log.SetCalcFields(&DisplayLogCalcFields);
  DefineLevelSums(display_log);

  tasks_total.DefineGroupSum(QStringLiteral("SumTime"), QStringLiteral("Seconds"), 0);
  tasks_total.DefineGroupSum(QStringLiteral("SumRate"), QStringLiteral("Rate"), 0);
}

namespace {

struct ViewHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

// Names repeat on thousands of records: each distinct escaped text is
// decoded once.
class TextCache {
 public:
  TextCache(RecordTable& table, int field) : table_(table), field_(field) {}
  int Id(QByteArrayView escaped) {
    const std::string_view key(escaped.data(), static_cast<size_t>(escaped.size()));
    const auto found = ids_.find(key);
    if (found != ids_.end()) return found->second;
    const QString text = FromFileText(UnescapeText(escaped.toByteArray()));
    const int id = DecodedId(text);
    ids_.emplace(std::string(key), id);
    return id;
  }

 private:
  int DecodedId(const QString& text) { return table_.InternText(field_, text); }
  RecordTable& table_;
  int field_;
  std::unordered_map<std::string, int, ViewHash, std::equal_to<>> ids_;
};

bool ReadInt(QByteArrayView text, qint64* value) {
  bool ok = false;
  *value = text.trimmed().toLongLong(&ok);
  return ok;
}

bool ReadRate(QByteArrayView text, double* value) {
  qint64 whole = 0;
  if (ReadInt(text, &whole)) {
    *value = static_cast<double>(whole);
    return true;
  }
  return ParseNumber(QString::fromLatin1(text.trimmed()), value);
}

}  // namespace

LoadStats LoadLogRecords(const QByteArray& data, RecordTable& log_records, ProgressMeter* meter) {
  using namespace log_field;
  static const char* const kTags[] = {"Prolog",    "Year",    "Month",     "Day",
                                      "TimeStart", "TimeEnd", "TimeDelta", "Name",
                                      "Project",   "TaskId",  "Rate"};
  constexpr int kTagCount = 11;
  static const QByteArrayView kStart = "<TaskInstance>";

  LoadStats stats;
  log_records.DisableControls();
  log_records.Clear();
  log_records.Reserve(static_cast<int>(data.size() / 160));  // about one record per line
  TextCache prolog(log_records, kProlog), names(log_records, kName),
      projects(log_records, kProject);
  const QByteArrayView all(data);
  qsizetype at = all.indexOf(kStart);
  while (at >= 0) {
    const qsizetype from = at + kStart.size();
    at = all.indexOf(kStart, from);
    DayLogScanner scan(all.sliced(from, (at < 0 ? all.size() : at) - from));
    QByteArrayView values[kTagCount];
    bool present[kTagCount];
    for (int t = 0; t < kTagCount; ++t) {
      const qsizetype mark = scan.pos();
      present[t] = scan.SkipToTag(kTags[t]) && scan.ReadTagValue(kTags[t], &values[t]);
      if (!present[t]) scan.set_pos(mark);  // absent: the next element may still be there
    }

    RecordTable::Buffer& record = log_records.Append();
    bool readable = present[kYear] && present[kMonth] && present[kDay] && present[kTimeStart] &&
                    present[kTimeEnd] && present[kTimeDelta];
    qint64 year = 0, month = 0, day = 0;
    readable =
        readable && ReadInt(values[kYear], &year) && ReadInt(values[kMonth], &month) &&
        ReadInt(values[kDay], &day) &&
        QDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)).isValid();
    if (readable) {
      try {
        record.SetInt(kTimeStart, ParseTimeMilliseconds(values[kTimeStart]));
        record.SetInt(kTimeEnd, ParseTimeMilliseconds(values[kTimeEnd]));
        record.SetInt(kTimeDelta, ParseTimeMilliseconds(values[kTimeDelta]));
      } catch (const ConvertError&) {
        readable = false;
      }
    }
    if (!readable) {
      log_records.Cancel();
      ++stats.skipped;
      continue;
    }
    record.SetInt(kYear, year);
    record.SetInt(kMonth, month);
    record.SetInt(kDay, day);
    record.SetTextId(kProlog, prolog.Id(present[kProlog] ? values[kProlog] : QByteArrayView()));
    // Ids differ from record to record: no use caching them.
    record.SetText(kTaskId, present[kTaskId]
                                ? FromFileText(UnescapeText(values[kTaskId].toByteArray()))
                                : QString());
    const auto name_or_project = [&](int field, TextCache& cache) {
      if (!present[field] || values[field].isEmpty()) {
        record.SetText(field, kUndefined);
        return;
      }
      record.SetTextId(field, cache.Id(values[field]));
      ++stats.decoded;
      if (meter) meter->Advance();
    };
    name_or_project(kName, names);
    name_or_project(kProject, projects);
    double rate = 0;
    if (present[kRate] && ReadRate(values[kRate], &rate)) record.SetDouble(kRate, rate);
    log_records.Post();
    ++stats.records;
  }
  log_records.SetOrder(kTasksByProject);
  log_records.First();
  log_records.EnableControls();
  return stats;
}

}  // namespace ravell
