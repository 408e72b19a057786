#include "totals.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace ravell {

namespace {

// Field numbers of a source table (LogRecords or DisplayLog) by name.
struct SourceFields {
  explicit SourceFields(const RecordTable& table)
      : year(table.FieldIndex(QStringLiteral("Year"))),
        month(table.FieldIndex(QStringLiteral("Month"))),
        day(table.FieldIndex(QStringLiteral("Day"))),
        name(table.FieldIndex(QStringLiteral("Name"))),
        project(table.FieldIndex(QStringLiteral("Project"))),
        record_date(table.FieldIndex(QStringLiteral("RecordDate"))),
        time_start(table.FieldIndex(QStringLiteral("TimeStart"))) {}
  int year, month, day, name, project, record_date, time_start;
};

void CopyInt(const RecordTable& from, int record, int field, RecordTable::Buffer& row, int to) {
  if (from.IsNull(record, field)) {
    row.SetNull(to);
  } else {
    row.SetInt(to, from.Int(record, field));
  }
}

// Appends the TasksTotal row of the source's current record and its group
// at `level`; fields both views fill.
RecordTable::Buffer& AppendGroupRow(RecordTable& source, const SourceFields& f, int level,
                                    RecordTable& totals, qint64* seconds) {
  const int record = source.Current();
  const double rate = source.GroupSum(QStringLiteral("SumRate%1").arg(level));
  *seconds = std::llround(source.GroupSum(QStringLiteral("SumTime%1").arg(level)));
  RecordTable::Buffer& row = totals.Append();
  CopyInt(source, record, f.year, row, total_field::kYear);
  CopyInt(source, record, f.day, row, total_field::kDay);
  row.SetText(total_field::kName, source.DisplayText(record, f.name));
  row.SetText(total_field::kProject, source.DisplayText(record, f.project));
  row.SetText(
      total_field::kMonth,
      MonthToName(source.IsNull(record, f.month) ? 0
                                                 : static_cast<int>(source.Int(record, f.month))));
  row.SetDouble(total_field::kRate, rate);
  row.SetInt(total_field::kSeconds, *seconds);
  return row;
}

void ReadTotals(const RecordTable& totals, TotalsResult& result) {
  result.seconds = std::llround(totals.GroupSum(QStringLiteral("SumTime")));
  result.rate = totals.GroupSum(QStringLiteral("SumRate"));
}

QDate RecordDate(const RecordTable& table, int record, int field) {
  return table.IsNull(record, field) ? QDate() : QDate::fromJulianDay(table.Int(record, field));
}

// The TasksTotal column that shows a grouping key field.
int TotalsFieldOf(const QString& key_field) {
  static const struct {
    const char* key;
    int field;
  } kMap[] = {{"Year", total_field::kYear}, {"Month", total_field::kMonth},
              {"Day", total_field::kDay},   {"Project", total_field::kProject},
              {"Name", total_field::kName}, {"RecordDate", total_field::kRecordDate}};
  for (const auto& entry : kMap) {
    if (key_field == QLatin1String(entry.key)) return entry.field;
  }
  return -1;
}

QVariantList DayKey(const QDate& day) { return {day.year(), day.month(), day.day()}; }

}  // namespace

QString DurationText(qint64 seconds) {
  if (seconds < 0) seconds = 0;
  return QStringLiteral("%1:%2:%3")
      .arg(seconds / 3600)
      .arg(seconds % 3600 / 60, 2, 10, QLatin1Char('0'))
      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString ChartNumberText(double value) {
  QString text = QLocale().toString(value, 'f', 2);
  const QChar point = QLocale().decimalPoint().at(0);
  if (text.contains(point)) {
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(point)) text.chop(1);
  }
  return text;
}

QString ChartTimeText(qint64 seconds) {
  const bool negative = seconds < 0;
  const qint64 minutes = (negative ? -seconds : seconds) / 60;
  return QStringLiteral("%1%2:%3")
      .arg(negative ? QStringLiteral("-") : QString())
      .arg(minutes / 60)
      .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString DayTitle(const QDate& day, const QDate& today) {
  if (day == today) return QStringLiteral("Today");
  if (day == today.addDays(-1)) return QStringLiteral("Yesterday");
  return QLocale().toString(day, QLocale::ShortFormat);
}

TotalsResult SetTotals(ReporterTables& tables, int level, const QList<int>& visible_fields) {
  RecordTable& log = tables.log_records;
  RecordTable& totals = tables.tasks_total;
  const SourceFields f(log);
  TotalsResult result;
  result.shown_fields = visible_fields;
  result.label_field = total_field::kName;

  totals.DisableControls();
  totals.Clear();
  log.First();
  if (!log.Eof()) result.period.first = RecordDate(log, log.Current(), f.record_date);
  for (; !log.Eof(); log.Next()) {
    if (!log.IsFirstInGroup(level)) continue;
    qint64 seconds = 0;
    RecordTable::Buffer& row = AppendGroupRow(log, f, level, totals, &seconds);
    // Milliseconds, like every time field; the grid writes it as a duration.
    row.SetInt(total_field::kTotalTime, seconds * 1000);
    totals.Post();
  }
  log.Last();
  if (!log.Eof()) result.period.last = RecordDate(log, log.Current(), f.record_date);
  ReadTotals(totals, result);
  totals.EnableControls();
  return result;
}

TotalsResult SetTasksTotal(ReporterTables& tables, int node_level, const QStringList& key_fields) {
  RecordTable& display = tables.display_log;
  RecordTable& totals = tables.tasks_total;
  const SourceFields f(display);
  const int level = std::clamp(node_level + 1, 1, 5);
  const int field = TotalsFieldOf(key_fields.value(level - 1));
  TotalsResult result;
  if (field >= 0) result.shown_fields = {field};
  result.time_text = true;
  result.hours = true;
  result.label_field = field >= 0 ? field : total_field::kName;

  display.SetOrder(kCustom);
  totals.DisableControls();
  totals.Clear();
  for (display.First(); !display.Eof(); display.Next()) {
    const int record = display.Current();
    const QDate date = RecordDate(display, record, f.record_date);
    if (date.isValid()) {
      if (!result.period.first.isValid() || date < result.period.first) result.period.first = date;
      if (!result.period.last.isValid() || date > result.period.last) result.period.last = date;
    }
    if (!display.IsFirstInGroup(level)) continue;
    qint64 seconds = 0;
    RecordTable::Buffer& row = AppendGroupRow(display, f, level, totals, &seconds);
    CopyInt(display, record, f.record_date, row, total_field::kRecordDate);
    row.SetText(total_field::kTotalTimeS, DurationText(seconds));
    row.SetDouble(total_field::kHours, static_cast<double>(seconds) / 3600);
    totals.Post();
  }
  ReadTotals(totals, result);
  totals.EnableControls();
  return result;
}

TotalsResult ShowDayTotals(ReporterTables& tables, const QDate& day) {
  RecordTable& log = tables.log_records;
  log.DisableControls();
  log.SetOrder(kTasksByProject);
  log.SetRange(DayKey(day), DayKey(day));
  TotalsResult result = SetTotals(tables, 5, {total_field::kProject, total_field::kName});
  if (result.period.IsEmpty()) result.period = {day, day};
  log.SetOrder(kByTimeStart);
  log.SetRange(DayKey(day), DayKey(day));
  log.First();
  log.EnableControls();
  return result;
}

TotalsResult ShowGroupTotals(ReporterTables& tables, int node_level,
                             const QStringList& key_fields) {
  RecordTable& display = tables.display_log;
  display.DisableControls();
  TotalsResult result = SetTasksTotal(tables, node_level, key_fields);
  display.SetOrder(kByTimeStart);
  if (node_level <= 0) {
    display.CancelRange();
  } else if (result.period.IsEmpty()) {
    // An empty group lists nothing, not every record.
    display.SetRange({0}, {0});
  } else {
    display.SetRange(DayKey(result.period.first), DayKey(result.period.last));
  }
  display.First();
  display.EnableControls();
  return result;
}

int CalendarMonthYear(int page_year, int page_month, int month) {
  if (month == 1 && page_month == 12) return page_year + 1;
  if (month == 12 && page_month == 1) return page_year - 1;
  return page_year;
}

QList<int> LogCalendarGetMonthInfo(RecordTable& log_records, int page_year, int page_month,
                                   int month, const QDate& current_day) {
  const int year = CalendarMonthYear(page_year, page_month, month);

  const QString noted = log_records.Order();
  log_records.DisableControls();
  log_records.SetOrder(kTasksByProject);
  log_records.SetRange({year, month}, {year, month});
  const int day_field = log_records.FieldIndex(QStringLiteral("Day"));
  QList<int> days;
  for (log_records.First(); !log_records.Eof() && days.size() < 31; log_records.Next()) {
    if (log_records.IsFirstInGroup(3) && !log_records.IsNull(log_records.Current(), day_field)) {
      days << static_cast<int>(log_records.Int(log_records.Current(), day_field));
    }
  }
  log_records.SetOrder(noted);
  // Only orders led by the date take a day's range; the day view uses those.
  if (noted == QLatin1String(kTasksByProject) || noted == QLatin1String(kByTimeStart)) {
    log_records.SetRange(DayKey(current_day), DayKey(current_day));
  }
  log_records.First();
  log_records.EnableControls();
  return days;
}

int GantRows(int chart_height) {
  const double rows = std::nearbyint((chart_height - 20) / 30.0) - 1;
  return std::max(0, static_cast<int>(rows));
}

DayAxis GantResize(const ShownPeriod& period, int chart_height) {
  DayAxis axis;
  if (period.IsEmpty()) return axis;
  const qint64 lo = period.first.toJulianDay() - 1;
  const qint64 hi = period.last.toJulianDay() + 1;
  const int rows = GantRows(chart_height);
  axis.min = lo;
  if (lo + rows >= hi) {
    axis.max = hi;
    return axis;
  }
  axis.max = lo + rows;
  axis.scroll_visible = true;
  axis.scroll_max = static_cast<int>(hi - lo - rows);
  return axis;
}

DayAxis ScrollBar1Scroll(const ShownPeriod& period, int chart_height, int position) {
  DayAxis axis = GantResize(period, chart_height);
  if (period.IsEmpty()) return axis;
  axis.min = period.first.toJulianDay() + position - 1;
  axis.max = axis.min + GantRows(chart_height);
  return axis;
}

int FindLogBar(const RecordTable& table, const QDate& day, qint64 start_ms) {
  const SourceFields f(table);
  const std::vector<int>& view = table.ViewRecords();
  for (size_t i = 0; i < view.size(); ++i) {
    const int record = view[i];
    if (RecordDate(table, record, f.record_date) == day && !table.IsNull(record, f.time_start) &&
        table.Int(record, f.time_start) == start_ms) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace ravell
