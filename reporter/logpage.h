#pragma once

#include <QWidget>

class QAction;
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
  // The log grid's context menu and its record commands.
  QMenu* DBGridPopup() const { return popup_; }
  QAction* Edit1() const { return edit_; }
  QAction* Insert1() const { return insert_; }
  QAction* Delete1() const { return delete_; }

 private:
  QSplitter* splitter_;
  QTableView* grid_;
  QWidget* panel_;
  GanttChart* chart_;
  QScrollBar* scroll_bar_;
  QMenu* popup_;
  QAction* edit_;
  QAction* insert_;
  QAction* delete_;
};

}  // namespace ravell
