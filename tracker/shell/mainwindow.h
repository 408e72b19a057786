#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <memory>

#include "guilayout.h"
#include "guilink.h"
#include "menurules.h"
#include "tasksession.h"
#include "tracker.h"

class QAction;
class QActionGroup;
class QMenu;
class QSplitter;
class QToolBar;
class QTreeWidget;
class QWidget;

namespace ravell {

class LogGridModel;
class LogGridView;
class PlanningDialogs;
class TaskListModel;
class TaskListView;
class ToDoTreeView;

// The tracker's main window Form1: a thin shell over Tracker. Handlers keep
// the names of the commands they run.
class MainWindow : public QMainWindow, private SessionUi {
  Q_OBJECT
 public:
  // The window's size as created, before the layout grows it by its panes.
  static constexpr int kCreatedWidth = 645;
  static constexpr int kCreatedHeight = 352;
  static constexpr int kSplitterWidth = 3;

  MainWindow(Tracker& tracker, GuiLink& gui, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Runs the start-up sequence and shows its outcome.
  void FormCreate();
  // Shown at start unless setup mode, or hidden to the tray (only when a tray exists).
  bool ShouldShowAtStart() const;

  Tracker& tracker() { return tracker_; }
  QSystemTrayIcon* tray_icon() { return tray_; }
  QTimer* timer() { return &timer1_; }
  LogGridView* log_grid() { return log_grid_; }
  TaskListView* task_list() { return task_list_; }
  QTreeWidget* todo_tree() { return todo_tree_; }
  ToDoTreeView* todo_tree_view() { return todo_tree_view_; }
  PlanningDialogs* planning_dialogs() { return planning_dialogs_.get(); }
  // The task list's selected item, or -1.
  int SelectedItem() const;
  // The log grid's current row; the first row when none was chosen.
  int CurrentLogRow() const;
  // The widths and heights the panes have when shown.
  int todo_width() const { return todo_width_; }
  int log_height() const { return log_height_; }

  void Timer1Timer();
  void ExitButtonClick();
  void Options2Click();
  void AboutRAV1Click();
  void StartReporterButtonClick();
  void OpenDBButtonClick();
  void RAVHelp1Click();
  void StartNewButtonClick();
  void PauseButtonClick();
  void StopButtonClick();
  void TotalListDblClick();
  void Plantime1Click();
  // End of the desktop session or a termination signal: the shutdown sequence
  // without saving the window layout.
  void EndSession();

  // Enabling rules.
  void UpdateMenuStatus();
  void PopupMenu1Popup();
  void PopupMenu2Popup();
  void TotalListMenuPopup();
  void PopupMenu3Popup();

  // Copy commands.
  void Record1Click();
  void TimeStart1Click();
  void TimeEnd1Click();
  void TimeDelta1Click();
  void Task1Click();
  void Project1Click();
  void Entirerow1Click();
  void Copy3Click(int column);

  void TotalListColumnClick(int column);

  // View switches.
  void ToDo1Click();
  void Log1Click();
  void ShowRateButtonClick();
  void Rate1Click();
  void Tasksactions1Click();
  void Options1Click();
  void Showtoggles1Click();

  // The tray icon's hint, kept current while the icon shows.
  void abcTrayIcon1MouseMove();

  // Window layout in ravell.ini.
  void SaveGUI();
  void LoadGUI();
  void SetBar(QToolBar* bar);
  void OptionsBarContextPopup();
  void VisBarContextPopup();
  void ContextBarContextPopup();
  void ToolBarsPopupPopup();
  void Hide1Click();
  void Showcaptions1Click();
  void Listcaptions1Click();

  // The to-do tree, project and log editing commands.
  void Addnew1Click();
  void Rate2Click();
  void Delete3Click();
  void AddToDo1Click();
  void RunToDoClick();
  void Insert2Click();
  void Delete1Click();
  void Expandall1Click();
  void Collapseall1Click();
  void ReloadToDotree1Click();
  void InsertTaskButClick();
  void Insert3Click();
  void Inserttolog1Click();
  void Delete2Click();
  void Edit1Click();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 public:
  void setVisible(bool visible) override;

 private:
  // SessionUi: what the task session asks of the window.
  PauseAnswer AskPauseTask() override;
  std::optional<QString> AskPlan(const QString& current_plan) override;
  int ShowAlarm(const QString& message, const QString& task, const QString& project) override;
  void ShowMainWindow() override;
  void TrayImageChanged(TrayImage image) override;
  void CommandsChanged() override;
  void FocusLogRow(int row) override;

  // Runs a command; an error it raises ends it with its message.
  void RunCommand(const std::function<void()>& command);
  // Runs a log editing command and selects the row it gives (none when < 0).
  void RunLogEdit(const std::function<int()>& command);
  void BuildViews();
  void BuildToolBars();
  void BuildMainMenu();
  void BuildPopupMenus();
  void BuildToolBarsPopup();
  void BuildStatusBar();
  void BuildTray();
  void ApplyTrackerState();
  void UpdateStatusPanels();
  void CloseForGood();
  void FormActivate();
  void CopyLogRow(LogCopyPart part);
  void RebuildSwitchTo();
  MenuContext CurrentMenuContext() const;
  TreeNodeKind SelectedNodeKind() const;
  // Shows or hides a pane with its splitter; the window grows or shrinks by both.
  void SwitchPane(bool show, QAction* item, QAction* button, QWidget* pane, QSize change);
  void ApplyRateView();
  void FitPanes();
  // The tool bars: index into bars_.
  int BarIndex(const QToolBar* bar) const;
  void ApplyBarStyle(int index);
  void ToggleBar(int index);
  void SyncBarChecks();
  BarFlags FlagsOf(int index) const;

  Tracker& tracker_;
  GuiLink& gui_;
  QTimer timer1_;
  bool closing_ = false;
  bool shown_once_ = false;
  FocusedControl focus_ = FocusedControl::kOther;

  // Panes and their remembered sizes.
  QSplitter* splitter1_ = nullptr;
  QSplitter* splitter2_ = nullptr;
  QWidget* panel2_ = nullptr;
  QWidget* panel4_ = nullptr;
  int todo_width_ = 145;
  int log_height_ = 80;
  bool todo_checked_ = true;
  bool log_checked_ = true;
  bool rate_checked_ = true;

  QTreeWidget* todo_tree_ = nullptr;
  ToDoTreeView* todo_tree_view_ = nullptr;  // owned by the tree widget
  std::unique_ptr<PlanningDialogs> planning_dialogs_;
  LogGridModel* log_model_ = nullptr;
  TaskListModel* task_model_ = nullptr;
  LogGridView* log_grid_ = nullptr;
  TaskListView* task_list_ = nullptr;
  QMainWindow* panel5_ = nullptr;  // holds the task list and its tool bar

  QLabel* status_panels_[Tracker::kStatusPanels] = {};
  QLabel* notes_label_ = nullptr;  // Label9

  // Tool bars: ContextBar, OptionsBar, VisBar, in this order.
  enum { kContextBar, kOptionsBar, kVisBar, kBarCount };
  QToolBar* bars_[kBarCount] = {};
  BarFlags bar_flags_[kBarCount];             // captions and list; visibility is the bar's own
  QAction* bar_menu_items_[kBarCount] = {};   // View, Tool bars
  QAction* bar_popup_items_[kBarCount] = {};  // ToolBarsPopup, Toolbars
  QToolBar* current_bar_ = nullptr;
  QMenu* tool_bars_popup_ = nullptr;
  QAction* show_captions1_ = nullptr;
  QAction* list_captions1_ = nullptr;

  QAction* start_new_button_ = nullptr;
  QAction* pause_button_ = nullptr;
  QAction* stop_button_ = nullptr;
  QAction* insert_button_ = nullptr;
  QAction* open_db_button_ = nullptr;
  QAction* start_reporter_button_ = nullptr;
  QAction* show_todo_button_ = nullptr;
  QAction* show_log_button_ = nullptr;
  QAction* show_rate_button_ = nullptr;

  // Main menu.
  QAction* open_db1_ = nullptr;
  QAction* reporter1_ = nullptr;
  QAction* todo2_ = nullptr;
  QAction* log2_ = nullptr;
  QAction* rate1_ = nullptr;
  QAction* rate3_ = nullptr;
  QAction* delete4_ = nullptr;
  QAction* startnew3_ = nullptr;
  QAction* pause2_ = nullptr;
  QAction* stop2_ = nullptr;
  QAction* deletefromproject1_ = nullptr;
  QAction* deletefromlog1_ = nullptr;
  QAction* changelogrecord1_ = nullptr;

  // Tray menu PopupMenu1.
  QMenu* tray_menu_ = nullptr;
  QAction* start_new1_ = nullptr;
  QAction* pause1_ = nullptr;
  QAction* stop1_ = nullptr;
  QAction* insert1_ = nullptr;
  QMenu* switch_to1_ = nullptr;
  QActionGroup* switch_group_ = nullptr;

  // To-do tree menu PopupMenu2.
  QMenu* popup_menu2_ = nullptr;
  QAction* rate2_ = nullptr;
  QAction* delete3_ = nullptr;
  QAction* start_new2_ = nullptr;
  QAction* insert2_ = nullptr;
  QAction* delete1_ = nullptr;
  QAction* reload_todo_tree1_ = nullptr;

  // Task list menu TotalListMenu.
  QMenu* total_list_menu_ = nullptr;
  QAction* insert3_ = nullptr;

  // Log grid menu PopupMenu3.
  QMenu* popup_menu3_ = nullptr;
  QAction* edit1_ = nullptr;
  QAction* delete2_ = nullptr;

  QSystemTrayIcon* tray_ = nullptr;
};

}  // namespace ravell
