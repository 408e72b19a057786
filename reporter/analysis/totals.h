#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "logtables.h"

namespace ravell {

// Hours without leading zeros, then two-digit minutes and seconds; never
// wraps at 24 hours (90000 is "25:00:00").
QString DurationText(qint64 seconds);

// A chart value as "#,##0.##": grouped thousands, at most two decimals.
QString ChartNumberText(double value);
// Seconds as h:mm on a time axis, past 24 hours too.
QString ChartTimeText(qint64 seconds);

// "Today", "Yesterday" or the day's short date.
QString DayTitle(const QDate& day, const QDate& today);

// The days the views refer to; both invalid when nothing was shown yet.
struct ShownPeriod {
  QDate first;
  QDate last;
  bool IsEmpty() const { return !first.isValid() || !last.isValid(); }
  bool operator==(const ShownPeriod&) const = default;
};

// What a totals computation leaves for the grid, the chart and the top bar.
struct TotalsResult {
  ShownPeriod period;                    // invalid when the view had no record
  QList<int> shown_fields;               // of TasksTotal's Year ... RecordDate
  bool time_text = false;                // TotalTimeS shown instead of TotalTime
  int label_field = total_field::kName;  // names the bars
  bool hours = false;                    // the time series takes Hours, not TotalTime
  qint64 seconds = 0;                    // SumTime of TasksTotal
  double rate = 0;                       // SumRate of TasksTotal
};

// TasksTotal filled from LogRecords' current view, one row per group at
// `level` of "TasksByProject"; the grid shows `visible_fields` and TotalTime.
TotalsResult SetTotals(ReporterTables& tables, int level, const QList<int>& visible_fields);

// TasksTotal filled from DisplayLog's current view in order "Custom" (the
// selected node's range stays), one row per group at level node_level + 1.
// key_fields is the grouping key, level 1 first.
TotalsResult SetTasksTotal(ReporterTables& tables, int node_level, const QStringList& key_fields);

// The day view's data: LogRecords restricted to the day, its totals per
// project and task, LogRecords left in "ByTimeStart" on the same day. A day
// without records is still the shown period, so the log chart and the status
// bar refer to the chosen day.
TotalsResult ShowDayTotals(ReporterTables& tables, const QDate& day);

// The group view's data after the node's range was set on DisplayLog (order
// "Custom"): the totals, then DisplayLog in "ByTimeStart" over the shown
// period (no range for the root, node_level 0), as the log grid lists it.
TotalsResult ShowGroupTotals(ReporterTables& tables, int node_level, const QStringList& key_fields);

// The year of a month the calendar draws around the page it shows: the
// neighbouring months may lie in the year before or after.
int CalendarMonthYear(int page_year, int page_month, int month);

// Days of `month` that have records, for the calendar's bold marks. The
// calendar shows page_year/page_month and asks for that month and its
// neighbours; LogRecords is left in its former order on current_day.
QList<int> LogCalendarGetMonthInfo(RecordTable& log_records, int page_year, int page_month,
                                   int month, const QDate& current_day);

// The log chart's day axis in Julian day numbers, downwards.
struct DayAxis {
  qint64 min = 0;
  qint64 max = 0;
  bool scroll_visible = false;
  int scroll_max = 0;  // range 0 .. scroll_max, in days
  bool operator==(const DayAxis&) const = default;
};

// Whole days the chart's height holds: (height - 20) / 30 rounded half to
// even, minus one, never below 0.
int GantRows(int chart_height);
// Fits the axis to the shown period and the chart's height.
DayAxis GantResize(const ShownPeriod& period, int chart_height);
// The axis at a scroll position; the scroll bar itself stays as it is.
DayAxis ScrollBar1Scroll(const ShownPeriod& period, int chart_height, int position);

// The view position of the first record of the day whose TimeStart is
// start_ms; -1 when there is none. Works on LogRecords and DisplayLog.
int FindLogBar(const RecordTable& table, const QDate& day, qint64 start_ms);

}  // namespace ravell
