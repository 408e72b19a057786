#pragma once

#include <QDate>
#include <QList>
#include <QObject>
#include <memory>

#include "clock.h"
#include "logtables.h"
#include "totals.h"

class QAction;
class QCalendarWidget;
class QLabel;
class QMenu;

namespace ravell {

class LogPage;
class RecordGridModel;
class TotalsPage;

// The controls of the main window that the totals, charts and calendar use.
struct ReporterViewsWidgets {
  QWidget* totals_page = nullptr;  // gets the "View Totals" content
  QWidget* log_page = nullptr;     // gets the "View Log" content
  QLabel* title = nullptr;         // Label1
  QLabel* total_time = nullptr;    // Label2
  QLabel* total_rate = nullptr;
  QCalendarWidget* calendar = nullptr;  // LogCalendar
  QMenu* view_menu = nullptr;
};

// Binds the pages "View Totals" and "View Log", the top bar's totals and the
// calendar to the record tables: the day view of a calendar day, the group
// view of a data tree node, the charts and the calendar's bold days.
class ReporterViews : public QObject {
  Q_OBJECT

 public:
  ReporterViews(const ReporterViewsWidgets& widgets, QObject* parent = nullptr);
  ~ReporterViews() override;

  // The tables are loaded at start-up; until then the views show nothing.
  void Bind(ReporterTables& tables);
  void SetClock(const Clock* clock) { clock_ = clock ? clock : &system_clock_; }

  // The day view of the calendar's day.
  void LogCalendarClick();
  // The group view of a data tree node (level 0: the root) whose range is
  // already set on DisplayLog in order "Custom"; key_fields is the grouping
  // key. Leaves DisplayLog in "ByTimeStart" over the shown period.
  TotalsResult ShowGroupView(int node_level, const QStringList& key_fields);
  // Shows group totals computed elsewhere (the data tree's selection).
  void ShowGroupResult(const TotalsResult& result);
  // The bold days of the months the calendar draws; again after the records
  // changed.
  void RefreshCalendarMarks();

  bool DayView() const { return day_view_; }
  // Whether the log grid's commands have a record to act on: in the group
  // view any record of the log, in the day view one of the chosen day.
  bool LogHasRecordToActOn() const;
  const ShownPeriod& Period() const { return period_; }
  TotalsPage* Totals() const { return totals_page_; }
  LogPage* Log() const { return log_page_; }
  QAction* ShowTotalsChart() const { return show_totals_chart_; }
  QAction* ShowLogChart() const { return show_log_chart_; }
  RecordGridModel* TotalsModel() const { return totals_model_.get(); }
  RecordGridModel* LogModel() const;

  // Handlers of the controls.
  void TabControl1Change(int index);
  void DBChart1ClickSeries(int index);
  void DBChart2ClickSeries(int index);
  void GantResize();
  void ScrollBar1Scroll(int position);
  void ShowTotalsChartExecute(bool checked);
  void ShowLogChartExecute(bool checked);

 signals:
  // The day view showed a day (for the status bar and the shown period).
  void DayShown(const QDate& day);

 private:
  void ShowTotals(const TotalsResult& result);
  void FillTotalsChart();
  void FillLogChart();
  void SetLogTable(bool display_log);
  QDate CalendarDay() const;

  ReporterViewsWidgets widgets_;
  SystemClock system_clock_;
  const Clock* clock_ = &system_clock_;
  ReporterTables* tables_ = nullptr;
  TotalsPage* totals_page_ = nullptr;
  LogPage* log_page_ = nullptr;
  std::unique_ptr<RecordGridModel> totals_model_;
  std::unique_ptr<RecordGridModel> log_records_model_;
  std::unique_ptr<RecordGridModel> display_log_model_;
  bool log_on_display_ = false;
  QAction* show_totals_chart_ = nullptr;
  QAction* show_log_chart_ = nullptr;

  bool day_view_ = true;
  ShownPeriod period_;
  TotalsResult shown_;  // how TasksTotal was last filled
  QDate shown_day_;
  QList<QDate> bold_days_;
};

}  // namespace ravell
