#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QSystemTrayIcon>
#include <QTimer>

#include "guilink.h"
#include "tracker.h"

class QAction;
class QMenu;
class QToolBar;
class QToolButton;

namespace ravell {

// The tracker's main window Form1: a thin shell over Tracker. Handlers keep
// the names of the commands they run.
class MainWindow : public QMainWindow {
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
  // End of the desktop session or a termination signal: the shutdown sequence
  // without saving the window layout.
  void EndSession();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
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
  QSystemTrayIcon* tray_ = nullptr;
};

}  // namespace ravell
