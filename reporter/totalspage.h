#pragma once

#include <QWidget>

class QSplitter;
class QTabBar;
class QTableView;

namespace ravell {

class BarChart;

// The page "View Totals": the totals grid DBGrid2 and below it, behind a
// splitter, the chart area with the tabs "Time" and "Rate" around DBChart1.
class TotalsPage : public QWidget {
  Q_OBJECT

 public:
  explicit TotalsPage(QWidget* parent = nullptr);

  QTableView* DBGrid2() const { return grid_; }
  QTabBar* TabControl1() const { return tabs_; }
  BarChart* DBChart1() const { return chart_; }
  QWidget* ChartArea() const { return chart_area_; }
  QSplitter* Splitter() const { return splitter_; }

 private:
  QSplitter* splitter_;
  QTableView* grid_;
  QWidget* chart_area_;
  QTabBar* tabs_;
  BarChart* chart_;
};

}  // namespace ravell
