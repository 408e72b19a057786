#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

#include "analysis.h"
#include "clock.h"
#include "logtables.h"
#include "messages.h"
#include "quickreport.h"
#include "reportengine.h"

class QCalendarWidget;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace ravell {

class CollapsiblePanels;
class DataTreeView;
class ExportPage;
class GridCopy;
class ProgressWindow;
class ReportPage;
class QtMessageBoxes;
class RecordDialogForm;
class RecordEditing;
class SortTreeWidget;
class ReporterViews;

// The reporter's main window (Form1): the top bar with the title and the
// totals, the left column with the calendar and the three collapsible panels
// (filter, grouping order, data tree), and the pages. The analysis behind the
// panels lives in ReporterAnalysis; the window binds its controls to it.
class ReporterWindow : public QMainWindow, private AnalysisView {
  Q_OBJECT

 public:
  // Indexes of the collapsible panels, in their order.
  enum Panel { kFilterPanel = 0, kGroupingPanel = 1, kTreePanel = 2 };

  explicit ReporterWindow(QWidget* parent = nullptr);
  ~ReporterWindow() override;

  // Where the day logs and ravtotal.xml are; the program's folder unless set.
  void SetProgramFolder(const QString& folder);
  // Message boxes for the start-up; the window's own dialogs unless set.
  void SetMessages(MessageBoxes* messages);

  // The start-up work behind the progress window: true when the window can
  // be shown, false when there is nothing to show and the program ends.
  bool InitForm1(ProgressWindow& progress);

  // Apply, from either "Apply" button.
  void StartQueryButtonClick();
  void Button2Click();
  void Button3Click();

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
  QString StatusText(int panel) const;
  QMenu* ViewMenu() const { return view_menu_; }
  ReporterTables& Tables() { return tables_; }
  ReporterAnalysis& Analysis() { return analysis_; }
  ReporterViews* Views() const { return views_; }
  // The report QuickRep1: bound to the grouping at every Apply.
  QuickReport& Report() { return report_; }
  RecordDialogForm* Form3() const { return form3_; }
  ExportPage* Export() const { return export_page_; }
  GridCopy* Copy() const { return grid_copy_; }
  // The settings of the "Create Report" page.
  ReportPage* ReportSettingsPage() const { return report_page_; }

  // "Generate": applies the report settings, lays the report out over the
  // selected node and shows it in the modal preview.
  void GenerateReportClick();
  // Where a generated report is shown; the modal preview unless set.
  void SetReportPreview(std::function<void(const ReportDocument&)> show);

 signals:
  // The window closed: the program ends with it.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildTopBar();
  QWidget* BuildLeftColumn();
  QWidget* BuildFilterArea();
  QWidget* BuildGroupingArea();
  QWidget* BuildTreeArea();
  QTabWidget* BuildPages();

  FilterSettings CurrentFilter() const;
  void ShowSortTree(int selected);
  void ShowSelectedNode();
  void TreeCurrentChanged(const QModelIndex& current);
  void SortUpClick();
  void SortDownClick();

  // AnalysisView
  void SetStatusText(int panel, const QString& text) override;
  void SetTitleText(const QString& text) override;
  void SetTotalTimeText(const QString& text) override;
  void OpenTreePanel() override;
  void ShowCalendarDay() override;
  void ShowGroupTotals(const TotalsResult& totals) override;
  void BindReportGroups(const GroupingKey& key) override;

  QString program_folder_;
  ReporterTables tables_;
  ReporterAnalysis analysis_;
  QuickReport report_;
  SystemClock clock_;
  // Step 1 of "Generate"; false stops it.
  std::function<bool()> apply_report_page_;
  std::function<void(const ReportDocument&)> show_report_;
  std::unique_ptr<QtMessageBoxes> own_messages_;
  MessageBoxes* messages_;
  bool showing_selection_ = false;

  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* rate_label_ = nullptr;
  QCalendarWidget* log_calendar_ = nullptr;
  CollapsiblePanels* panels_ = nullptr;
  QTabWidget* pages_ = nullptr;
  QMenu* view_menu_ = nullptr;
  QLabel* status_left_ = nullptr;
  QLabel* status_right_ = nullptr;
  QString status_texts_[2];

  QCheckBox* checker_from_to_ = nullptr;
  QDateEdit* filter_from_ = nullptr;
  QDateEdit* filter_to_ = nullptr;
  QCheckBox* checker_projects_ = nullptr;
  QLineEdit* filter_projects_ = nullptr;
  QCheckBox* checker_tasks_ = nullptr;
  QLineEdit* filter_tasks_ = nullptr;
  SortTreeWidget* sort_tree_ = nullptr;
  QRadioButton* radio_expanded_ = nullptr;
  QRadioButton* radio_short_ = nullptr;
  DataTreeView* custom_log_tree_ = nullptr;
  ReporterViews* views_ = nullptr;
  RecordDialogForm* form3_ = nullptr;
  std::unique_ptr<RecordEditing> editing_;
  ExportPage* export_page_ = nullptr;
  GridCopy* grid_copy_ = nullptr;
  ReportPage* report_page_ = nullptr;
};

}  // namespace ravell
