#pragma once

#include <QWidget>

class QMenu;
class QScrollBar;
class QSplitter;
class QTableView;

namespace ravell {

class GanttChart;

// The page "View Log": the log grid DBGrid1 and below it, behind a splitter,
// the panel Panel4 with the log chart DBChart2 and its scroll bar ScrollBar1.
class LogPage : public QWidget {
  Q_OBJECT

 public:
  explicit LogPage(QWidget* parent = nullptr);

  QTableView* DBGrid1() const { return grid_; }
  GanttChart* DBChart2() const { return chart_; }
  QScrollBar* ScrollBar1() const { return scroll_bar_; }
  QWidget* Panel4() const { return panel_; }
  QSplitter* Splitter() const { return splitter_; }
  // The log grid's context menu.
  QMenu* DBGridPopup() const { return popup_; }

 private:
  QSplitter* splitter_;
  QTableView* grid_;
  QWidget* panel_;
  GanttChart* chart_;
  QScrollBar* scroll_bar_;
  QMenu* popup_;
};

}  // namespace ravell
