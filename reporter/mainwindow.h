#pragma once

#include <QMainWindow>

class QCalendarWidget;
class QLabel;
class QSplitter;
class QTabWidget;

namespace ravell {

class CollapsiblePanels;
class ProgressWindow;
class ReporterViews;

// The reporter's main window (Form1): the top bar with the title and the
// totals, the left column with the calendar and the three collapsible panels,
// and the pages. The pages and panels are empty frames here; the filter,
// grouping, totals, report and export fill them.
class ReporterWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Indexes of the collapsible panels, in their order.
  enum Panel { kFilterPanel = 0, kGroupingPanel = 1, kTreePanel = 2 };

  explicit ReporterWindow(QWidget* parent = nullptr);

  // The start-up work behind the progress window: true when the window can
  // be shown, false when there is nothing to show and the program ends.
  bool InitForm1(ProgressWindow& progress);

  // Opens Help/ravell.html of the program folder with the desktop's viewer.
  void ShowHelp();

  QLabel* Label1() const { return label1_; }
  QLabel* Label2() const { return label2_; }
  QLabel* RateLabel() const { return rate_label_; }
  QCalendarWidget* LogCalendar() const { return log_calendar_; }
  CollapsiblePanels* Panels() const { return panels_; }
  QTabWidget* Pages() const { return pages_; }
  QWidget* Page(const QString& object_name) const;
  void SetStatusTexts(const QString& panel0, const QString& panel1);
  QMenu* ViewMenu() const { return view_menu_; }
  ReporterViews* Views() const { return views_; }

 signals:
  // The window closed: the program ends with it.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildTopBar();
  QWidget* BuildLeftColumn();
  QTabWidget* BuildPages();

  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* rate_label_ = nullptr;
  QCalendarWidget* log_calendar_ = nullptr;
  CollapsiblePanels* panels_ = nullptr;
  QTabWidget* pages_ = nullptr;
  QMenu* view_menu_ = nullptr;
  QLabel* status_left_ = nullptr;
  QLabel* status_right_ = nullptr;
  ReporterViews* views_ = nullptr;
};

}  // namespace ravell
