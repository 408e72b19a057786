#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <QSplitter>
#include <QVBoxLayout>

#include "barimages.h"
#include "error.h"
#include "daylogviews.h"
#include "plandialog.h"
#include "taskdialog.h"

namespace ravell {

namespace {

QAction* MakeAction(QObject* owner, const char* name, const QString& caption, int image,
                    const QString& hint = QString()) {
  auto* action = new QAction(caption, owner);
  action->setObjectName(QLatin1String(name));
  if (image >= 0) action->setIcon(BarImages16(image));
  if (!hint.isEmpty()) action->setToolTip(hint);
  return action;
}

// Tool buttons get the action's name and keep their caption as accessible
// text even when only the image shows.
void NameButton(QToolBar* bar, QAction* action) {
  if (QWidget* button = bar->widgetForAction(action)) {
    button->setObjectName(action->objectName());
    button->setAccessibleName(action->text());
  }
}

}  // namespace

MainWindow::MainWindow(Tracker& tracker, GuiLink& gui, QWidget* parent)
    : QMainWindow(parent), tracker_(tracker), gui_(gui) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Ravell"));
  resize(645, 352);
  BuildViews();
  BuildActions();
  BuildStatusBar();
  BuildTray();
  tracker_.session().SetUi(this);
  timer1_.setObjectName(QStringLiteral("Timer1"));
  timer1_.setInterval(1000);
  connect(&timer1_, &QTimer::timeout, this, &MainWindow::Timer1Timer);
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildViews() {
  auto* panel3 = new QWidget(this);
  panel3->setObjectName(QStringLiteral("Panel3"));
  auto* splitter2 = new QSplitter(Qt::Vertical, panel3);
  splitter2->setObjectName(QStringLiteral("Splitter2"));
  splitter2->setHandleWidth(3);
  splitter2->setChildrenCollapsible(false);

  auto* panel5 = new QWidget(splitter2);
  panel5->setObjectName(QStringLiteral("Panel5"));
  auto* panel5_layout = new QVBoxLayout(panel5);
  panel5_layout->setContentsMargins(0, 0, 0, 0);
  panel5_layout->setSpacing(0);
  task_model_ = new TaskListModel(tracker_.day_log(), this);
  task_list_ = new TaskListView(panel5);
  task_list_->setModel(task_model_);
  task_list_->setMinimumHeight(50);
  panel5_layout->addWidget(task_list_);
  BuildContextBar();
  panel5_layout->addWidget(context_bar_);

  log_model_ = new LogGridModel(tracker_.day_log(), this);
  log_grid_ = new LogGridView(splitter2);
  log_grid_->setModel(log_model_);
  log_grid_->setMinimumHeight(50);
  splitter2->addWidget(panel5);
  splitter2->addWidget(log_grid_);
  splitter2->setSizes({200, 80});
  splitter2->setStretchFactor(0, 1);

  auto* layout = new QVBoxLayout(panel3);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter2);
  setCentralWidget(panel3);

  total_list_menu_ = new QMenu(this);
  total_list_menu_->setObjectName(QStringLiteral("TotalListMenu"));
  QAction* run = total_list_menu_->addAction(BarImages16(kImageStart), QStringLiteral("Run"));
  run->setObjectName(QStringLiteral("Run1"));
  connect(run, &QAction::triggered, this, &MainWindow::TotalListDblClick);
  QAction* plan = total_list_menu_->addAction(QStringLiteral("Plan time"));
  plan->setObjectName(QStringLiteral("Plantime1"));
  connect(plan, &QAction::triggered, this, &MainWindow::Plantime1Click);
  task_list_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(task_list_, &QWidget::customContextMenuRequested, this, [this, run](const QPoint& at) {
    run->setEnabled(!tracker_.session().commands().pause_down && SelectedItem() >= 0);
    total_list_menu_->popup(task_list_->viewport()->mapToGlobal(at));
  });
  connect(task_list_, &QAbstractItemView::doubleClicked, this, &MainWindow::TotalListDblClick);
  connect(&tracker_.day_log(), &DayLog::StatusChanged, this, &MainWindow::UpdateStatusPanels);
}

void MainWindow::BuildContextBar() {
  context_bar_ = new QToolBar(QStringLiteral("Tasks actions"), this);
  context_bar_->setObjectName(QStringLiteral("ContextBar"));
  context_bar_->setIconSize(QSize(16, 16));
  start_new_button_ = MakeAction(this, "StartNewButton", QStringLiteral("Start new"), kImageStart,
                                 QStringLiteral("Start new task"));
  pause_button_ = MakeAction(this, "PauseButton", QStringLiteral("Pause task"), kImagePause,
                             QStringLiteral("Pause task"));
  pause_button_->setCheckable(true);
  stop_button_ = MakeAction(this, "StopButton", QStringLiteral("Stop task"), kImageStop,
                            QStringLiteral("Stop task"));
  insert_button_ = MakeAction(this, "InsertButton", QStringLiteral("Insert task"), kImageInsert,
                              QStringLiteral("Insert task"));
  connect(start_new_button_, &QAction::triggered, this, &MainWindow::StartNewButtonClick);
  // The button follows the session, not the click.
  connect(pause_button_, &QAction::triggered, this, [this] { PauseButtonClick(); });
  connect(stop_button_, &QAction::triggered, this, &MainWindow::StopButtonClick);
  context_bar_->addAction(start_new_button_);
  context_bar_->addAction(pause_button_);
  context_bar_->addAction(stop_button_);
  context_bar_->addSeparator();
  context_bar_->addAction(insert_button_);
  for (QAction* action : context_bar_->actions()) NameButton(context_bar_, action);
}

void MainWindow::BuildActions() {
  open_db_button_ = MakeAction(this, "OpenDBButton", QStringLiteral("Open Notes DB"), kImageOpenDb,
                               QStringLiteral("Open Notes DB"));
  start_reporter_button_ = MakeAction(this, "StartReporterButton", QStringLiteral("Reporter"),
                                      kImageReporter, QStringLiteral("Start Rv Reporter"));
  options_button_ = MakeAction(this, "ToolButton3", QStringLiteral("Show options"), kImageOptions,
                               QStringLiteral("Show options"));
  exit_button_ = MakeAction(this, "ToolButton2", QStringLiteral("Shut down"), kImageShutDown,
                            QStringLiteral("Shut down"));
  connect(open_db_button_, &QAction::triggered, this, &MainWindow::OpenDBButtonClick);
  connect(start_reporter_button_, &QAction::triggered, this, &MainWindow::StartReporterButtonClick);
  connect(options_button_, &QAction::triggered, this, &MainWindow::Options2Click);
  connect(exit_button_, &QAction::triggered, this, &MainWindow::ExitButtonClick);

  options_bar_ = addToolBar(QStringLiteral("Options"));
  options_bar_->setObjectName(QStringLiteral("OptionsBar"));
  options_bar_->setIconSize(QSize(16, 16));
  options_bar_->addAction(open_db_button_);
  options_bar_->addAction(start_reporter_button_);
  options_bar_->addAction(options_button_);
  options_bar_->addSeparator();
  options_bar_->addAction(exit_button_);
  for (QAction* action : options_bar_->actions()) NameButton(options_bar_, action);

  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("File1"));
  QAction* options2 = file->addAction(BarImages16(kImageOptions), QStringLiteral("Options"));
  options2->setObjectName(QStringLiteral("Options2"));
  connect(options2, &QAction::triggered, this, &MainWindow::Options2Click);
  open_db1_ = file->addAction(BarImages16(kImageOpenDb), QStringLiteral("Open DB"));
  open_db1_->setObjectName(QStringLiteral("OpenDB1"));
  open_db1_->setVisible(false);
  connect(open_db1_, &QAction::triggered, this, &MainWindow::OpenDBButtonClick);
  reporter1_ = file->addAction(BarImages16(kImageReporter), QStringLiteral("Reporter"));
  reporter1_->setObjectName(QStringLiteral("Reporter1"));
  connect(reporter1_, &QAction::triggered, this, &MainWindow::StartReporterButtonClick);
  file->addSeparator();
  QAction* exit2 = file->addAction(BarImages16(kImageShutDown), QStringLiteral("Shut down"));
  exit2->setObjectName(QStringLiteral("Exit2"));
  connect(exit2, &QAction::triggered, this, &MainWindow::ExitButtonClick);

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("Help1"));
  QAction* about = help->addAction(QStringLiteral("About Ravell"));
  about->setObjectName(QStringLiteral("AboutRAV1"));
  connect(about, &QAction::triggered, this, &MainWindow::AboutRAV1Click);
  QAction* help_file = help->addAction(QStringLiteral("Ravell Help"));
  help_file->setObjectName(QStringLiteral("RAVHelp1"));
  help_file->setShortcut(QKeySequence::HelpContents);
  connect(help_file, &QAction::triggered, this, &MainWindow::RAVHelp1Click);
}

void MainWindow::BuildStatusBar() {
  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  statusBar()->setSizeGripEnabled(true);
  const char* texts[] = {" Total time: 0:00:00", " Total rate: 0.00", "Notes user:", "NDB"};
  const int widths[] = {110, 100, 100, 250};
  for (int i = 0; i < Tracker::kStatusPanels; ++i) {
    auto* panel = new QLabel(QLatin1String(texts[i]), statusBar());
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setMinimumWidth(widths[i]);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    if (i == 2) panel->setAlignment(Qt::AlignCenter);
    statusBar()->addWidget(panel, i == 3 ? 1 : 0);
    status_panels_[i] = panel;
  }
  notes_label_ = new QLabel(QStringLiteral("Lotus Notes"), this);
  notes_label_->setObjectName(QStringLiteral("Label9"));
  notes_label_->setAlignment(Qt::AlignCenter);
  notes_label_->setStyleSheet(QStringLiteral(
      "QLabel { color: white; font-weight: bold; background: palette(highlight); padding: 0 4px; }"));
  notes_label_->setFixedHeight(17);
  menuBar()->setCornerWidget(notes_label_, Qt::TopRightCorner);
  notes_label_->hide();
}

void MainWindow::BuildTray() {
  tray_menu_ = new QMenu(this);
  tray_menu_->setObjectName(QStringLiteral("PopupMenu1"));
  start_new1_ = tray_menu_->addAction(BarImages16(kImageStart), QStringLiteral("Start New"));
  start_new1_->setObjectName(QStringLiteral("StartNew1"));
  connect(start_new1_, &QAction::triggered, this, &MainWindow::StartNewButtonClick);
  pause1_ = tray_menu_->addAction(BarImages16(kImagePause), QStringLiteral("Pause"));
  pause1_->setObjectName(QStringLiteral("Pause1"));
  pause1_->setCheckable(true);
  connect(pause1_, &QAction::triggered, this, [this] { PauseButtonClick(); });
  stop1_ = tray_menu_->addAction(BarImages16(kImageStop), QStringLiteral("Stop"));
  stop1_->setObjectName(QStringLiteral("Stop1"));
  connect(stop1_, &QAction::triggered, this, &MainWindow::StopButtonClick);
  tray_menu_->addSeparator();
  QAction* exit1 = tray_menu_->addAction(BarImages16(kImageShutDown), QStringLiteral("Shut down"));
  exit1->setObjectName(QStringLiteral("Exit1"));
  connect(exit1, &QAction::triggered, this, &MainWindow::ExitButtonClick);

  tray_ = new QSystemTrayIcon(BarImages16(kImageTrayIdle), this);
  tray_->setObjectName(QStringLiteral("abcTrayIcon1"));
  tray_->setContextMenu(tray_menu_);
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
    if (why == QSystemTrayIcon::Trigger || why == QSystemTrayIcon::DoubleClick) {
      showNormal();
      raise();
      activateWindow();
    }
  });
  if (auto* library = dynamic_cast<GuiLibrary*>(&gui_)) {
    library->SetTrayMenuHooks([this] { tray_->setContextMenu(nullptr); },
                              [this] { tray_->setContextMenu(tray_menu_); });
  }
}

void MainWindow::FormCreate() {
  tracker_.Start(this);
  ApplyTrackerState();
}

void MainWindow::ApplyTrackerState() {
  if (!tracker_.caption().isEmpty()) setWindowTitle(tracker_.caption());
  for (int i = 2; i < Tracker::kStatusPanels; ++i) {
    if (!tracker_.status_text(i).isEmpty()) status_panels_[i]->setText(tracker_.status_text(i));
    status_panels_[i]->setVisible(!tracker_.status_panel_hidden(i));
  }
  notes_label_->setVisible(tracker_.notes_session_open());
  open_db_button_->setVisible(tracker_.open_notes_db_visible());
  open_db1_->setVisible(tracker_.open_notes_db_visible());
  start_reporter_button_->setVisible(tracker_.reporter_visible());
  reporter1_->setVisible(tracker_.reporter_visible());
  if (tracker_.hide_to_tray() && QSystemTrayIcon::isSystemTrayAvailable()) {
    // No task-bar button while living in the tray.
    setWindowFlag(Qt::Tool, true);
  }
  tray_->setVisible(tracker_.tray_visible());
  task_list_->ApplyRateView(tracker_.day_log().rate_view);
  UpdateStatusPanels();
  CommandsChanged();
  if (tracker_.timer_enabled()) {
    timer1_.start();
  } else {
    timer1_.stop();
  }
}

bool MainWindow::ShouldShowAtStart() const {
  if (tracker_.setup_mode() || tracker_.quit_requested()) return false;
  // Hidden to the tray only when there is a tray to come back from.
  return !tracker_.hide_to_tray() || !QSystemTrayIcon::isSystemTrayAvailable();
}

void MainWindow::Timer1Timer() {
  Tracker::TickAction action = Tracker::TickAction::kNone;
  RunCommand([this, &action] { action = tracker_.Timer1Timer(); });
  if (action == Tracker::TickAction::kRunSetup) {
    timer1_.stop();
    tray_->hide();
    Options2Click();
    CloseForGood();
    return;
  }
  if (!tracker_.timer_enabled()) timer1_.stop();
}

void MainWindow::RunCommand(const std::function<void()>& command) {
  try {
    command();
  } catch (const Error& e) {
    tracker_.messages().Show(e.message(), QString(), MsgIcon::kError);
  }
}

void MainWindow::UpdateStatusPanels() {
  const DayLog& log = tracker_.day_log();
  status_panels_[0]->setText(log.status_time_text());
  status_panels_[1]->setText(log.status_rate_text());
  status_panels_[1]->setVisible(log.rate_view);
}

TaskDialogHooks MainWindow::MakeTaskDialogHooks() {
  TaskDialogHooks hooks;
  hooks.projects = tracker_.TaskDialogProjects();
  hooks.rate_text = [this](const QString& project) {
    return tracker_.projects().RateText(project);
  };
  hooks.new_task = [this](const QString& project, const QString& task) {
    RunCommand([&] { tracker_.session().NewTask(project, task, true); });
  };
  return hooks;
}

void MainWindow::StartNewButtonClick() {
  if (!tracker_.session().commands().start_new) return;
  TaskDialog dialog(MakeTaskDialogHooks(), this);
  dialog.SetMode(QStringLiteral("New"));
  dialog.SetTaskText(QString());
  dialog.exec();
  CommandsChanged();
}

void MainWindow::PauseButtonClick() {
  RunCommand([this] { tracker_.session().PauseButtonClick(); });
  CommandsChanged();
}

void MainWindow::StopButtonClick() {
  RunCommand([this] { tracker_.session().StopButtonClick(); });
  CommandsChanged();
}

int MainWindow::SelectedItem() const {
  const QModelIndex current = task_list_->currentIndex();
  return current.isValid() && task_list_->selectionModel()->isSelected(current) ? current.row()
                                                                                : -1;
}

void MainWindow::TotalListDblClick() {
  const int selected = SelectedItem();
  RunCommand([this, selected] { tracker_.session().TotalListDblClick(selected); });
}

void MainWindow::Plantime1Click() {
  const int selected = SelectedItem();
  if (selected < 0) return;
  const std::optional<QString> plan =
      PlanDialog::AskPlan(this, tracker_.day_log().Item(selected).plan);
  // The item may have gone while the dialog was open.
  if (!plan || selected >= tracker_.day_log().ItemCount()) return;
  tracker_.day_log().SetItemPlan(selected, *plan);
  if (*plan != QLatin1String("-")) tracker_.session().ArmPlanAlarm();
}

PauseAnswer MainWindow::AskPauseTask() {
  TaskDialog dialog(MakeTaskDialogHooks(), this);
  dialog.SetMode(QStringLiteral("Pause"));
  dialog.SetTaskText(QString());
  PauseAnswer answer;
  answer.result = dialog.exec();
  answer.project = dialog.ProjectText();
  answer.task = dialog.TaskText();
  return answer;
}

std::optional<QString> MainWindow::AskPlan(const QString& current_plan) {
  return PlanDialog::AskPlan(this, current_plan);
}

int MainWindow::ShowAlarm(const QString& message, const QString& task, const QString& project) {
  return gui_.ShowAlarm(this, message, task, project);
}

void MainWindow::ShowMainWindow() {
  showNormal();
  raise();
  activateWindow();
}

void MainWindow::TrayImageChanged(TrayImage image) {
  static const int kImages[] = {kImageTrayIdle, kImageTrayRunning, kImageTrayPaused,
                                kImageTraySaving};
  tray_->setIcon(BarImages16(kImages[static_cast<int>(image)]));
}

void MainWindow::CommandsChanged() {
  const CommandStates& c = tracker_.session().commands();
  start_new_button_->setEnabled(c.start_new);
  start_new1_->setEnabled(c.start_new);
  pause_button_->setEnabled(c.pause);
  pause_button_->setChecked(c.pause_down);
  pause1_->setEnabled(c.pause);
  pause1_->setChecked(c.pause_down);
  stop_button_->setEnabled(c.stop);
  stop1_->setEnabled(c.stop);
  insert_button_->setEnabled(c.insert_task);
}

void MainWindow::FocusLogRow(int row) {
  log_grid_->setCurrentIndex(log_model_->index(row, 1));
}

void MainWindow::Options2Click() { gui_.ShowOptions(this, tracker_.setup_mode()); }

void MainWindow::AboutRAV1Click() { gui_.ShowAbout(this); }

void MainWindow::StartReporterButtonClick() {
  // A failed launch gives no message.
  QProcess::startDetached(tracker_.program_folder() + QStringLiteral("/rvreporter"), {},
                          tracker_.program_folder());
}

void MainWindow::OpenDBButtonClick() {
  QDesktopServices::openUrl(QUrl::fromLocalFile(tracker_.notes_database()));
}

void MainWindow::RAVHelp1Click() {
  QDesktopServices::openUrl(
      QUrl::fromLocalFile(tracker_.program_folder() + QStringLiteral("/Help/ravell.html")));
}

void MainWindow::ExitButtonClick() {
  // The window layout is saved here, and only here.
  CloseForGood();
}

void MainWindow::EndSession() { CloseForGood(); }

void MainWindow::CloseForGood() {
  if (closing_) return;
  closing_ = true;
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    // The close box hides the window to the tray; without a tray it would be
    // unreachable, so it is minimised instead.
    event->ignore();
    if (QSystemTrayIcon::isSystemTrayAvailable() && tray_->isVisible()) {
      hide();
    } else {
      showMinimized();
    }
    return;
  }
  timer1_.stop();
  tray_->hide();
  tracker_.Shutdown();
  event->accept();
  QApplication::quit();
}

void MainWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
  QMainWindow::changeEvent(event);
}

void MainWindow::FormActivate() {
  if (tracker_.setup_mode() && !closing_) Options2Click();
}

}  // namespace ravell
