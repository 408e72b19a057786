#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>

#include "guilink.h"
#include "tasksession.h"
#include "tracker.h"

class QAction;
class QMenu;
class QToolBar;
class QToolButton;

namespace ravell {

struct TaskDialogHooks;
class LogGridModel;
class LogGridView;
class TaskListModel;
class TaskListView;

// The tracker's main window Form1: a thin shell over Tracker. Handlers keep
// the names of the commands they run.
class MainWindow : public QMainWindow, private SessionUi {
  Q_OBJECT
 public:
  MainWindow(Tracker& tracker, GuiLink& gui, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Runs the start-up sequence and shows its outcome.
  void FormCreate();
  // Shown at start unless setup mode, or hidden to the tray (only when a tray exists).
  bool ShouldShowAtStart() const;

  Tracker& tracker() { return tracker_; }
  QSystemTrayIcon* tray_icon() { return tray_; }
  QTimer* timer() { return &timer1_; }

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
  // The task list's selected item, or -1.
  int SelectedItem() const;
  LogGridView* log_grid() { return log_grid_; }
  TaskListView* task_list() { return task_list_; }
  // End of the desktop session or a termination signal: the shutdown sequence
  // without saving the window layout.
  void EndSession();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

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
  TaskDialogHooks MakeTaskDialogHooks();
  void BuildViews();
  void BuildContextBar();
  void UpdateStatusPanels();
  void BuildActions();
  void BuildStatusBar();
  void BuildTray();
  void ApplyTrackerState();
  void CloseForGood();
  void FormActivate();

  Tracker& tracker_;
  GuiLink& gui_;
  QTimer timer1_;
  bool closing_ = false;
  bool shown_once_ = false;

  QLabel* status_panels_[Tracker::kStatusPanels] = {};
  QLabel* notes_label_ = nullptr;  // Label9
  QToolBar* options_bar_ = nullptr;
  QAction* open_db_button_ = nullptr;
  QAction* start_reporter_button_ = nullptr;
  QAction* options_button_ = nullptr;
  QAction* exit_button_ = nullptr;
  QAction* open_db1_ = nullptr;
  QAction* reporter1_ = nullptr;
  QMenu* tray_menu_ = nullptr;  // PopupMenu1
  QAction* start_new_button_ = nullptr;
  QAction* pause_button_ = nullptr;
  QAction* stop_button_ = nullptr;
  QAction* insert_button_ = nullptr;
  QAction* start_new1_ = nullptr;  // tray menu
  QAction* pause1_ = nullptr;
  QAction* stop1_ = nullptr;
  QToolBar* context_bar_ = nullptr;
  LogGridModel* log_model_ = nullptr;
  TaskListModel* task_model_ = nullptr;
  LogGridView* log_grid_ = nullptr;
  TaskListView* task_list_ = nullptr;
  QMenu* total_list_menu_ = nullptr;  // TotalListMenu
  QSystemTrayIcon* tray_ = nullptr;
};

}  // namespace ravell
