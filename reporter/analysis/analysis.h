#pragma once

#include <QDate>
#include <QString>

#include "datatree.h"
#include "filter.h"
#include "grouping.h"
#include "logtables.h"
#include "totals.h"

namespace ravell {

// What the main window shows of the analysis. Every call has a default that
// does nothing, so tests and the start-up bench override only what they read.
class AnalysisView {
 public:
  virtual ~AnalysisView() = default;
  virtual void SetStatusText(int /*panel*/, const QString& /*text*/) {}
  virtual void SetTitleText(const QString& /*text*/) {}
  virtual void SetTotalTimeText(const QString& /*text*/) {}
  virtual void OpenTreePanel() {}
  // The day view shows the calendar's day again, with its order and range.
  virtual void ShowCalendarDay() {}
  // The report's group levels follow a new grouping key.
  virtual void BindReportGroups(const GroupingKey& /*key*/) {}
  // The group view's totals are ready: grids, charts and the top bar show them.
  virtual void ShowGroupTotals(const TotalsResult& /*totals*/) {}
};

enum class ViewMode { kDay, kGroup };

// The filter, the grouping order and the data tree of the main window,
// without widgets: Apply, selecting a node, the shown period and the texts.
class ReporterAnalysis {
 public:
  explicit ReporterAnalysis(ReporterTables& tables, AnalysisView* view = nullptr);
  void SetView(AnalysisView* view) { view_ = view ? view : &no_view_; }

  // StartQueryButtonClick. The initial flag forces the copy and the key;
  // true when DisplayLog was copied anew.
  bool StartQueryButtonClick(const FilterSettings& settings, bool initial = false);

  // CustomLogTreeChange: the group view of a node (-1: none, the tree empty).
  void CustomLogTreeChange(int node);
  void CustomLogTreeEnter();
  void CustomTreeSetRange();
  QString GetDataScopeStr();
  void ShowStatusInfo();

  // The day view (the calendar's day), for what reads the view mode.
  void SetDayView(const QDate& day);
  // The day view shows its day again after LogRecords was walked or changed.
  void ShowCalendarDay() { view_->ShowCalendarDay(); }

  void FillProjects(QStringList& list);
  void FillTasks(QStringList& list, const QStringList& projects);

  GroupingOrder& Grouping() { return grouping_; }
  DataTreeModel& Tree() { return tree_; }
  const TCurFilter& CurFilter() const { return cur_filter_; }
  ReporterTables& Tables() { return tables_; }
  int SelectedNode() const { return selected_; }
  int Levels() const { return levels_; }
  ViewMode Mode() const { return mode_; }
  QDate FirstDay() const { return first_day_; }
  QDate LastDay() const { return last_day_; }

 private:
  void SetShownPeriodFromView(const RecordTable& table);

  ReporterTables& tables_;
  AnalysisView no_view_;
  AnalysisView* view_;
  TCurFilter cur_filter_;
  GroupingOrder grouping_;
  DataTreeModel tree_;
  int levels_ = 5;
  int selected_ = -1;
  ViewMode mode_ = ViewMode::kDay;
  QDate first_day_, last_day_;
};

}  // namespace ravell
