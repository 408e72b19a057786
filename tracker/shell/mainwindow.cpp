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

#include "barimages.h"

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
  setCentralWidget(new QWidget(this));
  centralWidget()->setObjectName(QStringLiteral("Panel3"));
  BuildActions();
  BuildStatusBar();
  BuildTray();
  timer1_.setObjectName(QStringLiteral("Timer1"));
  timer1_.setInterval(1000);
  connect(&timer1_, &QTimer::timeout, this, &MainWindow::Timer1Timer);
}

MainWindow::~MainWindow() = default;

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
  if (tracker_.Timer1Timer() == Tracker::TickAction::kRunSetup) {
    timer1_.stop();
    tray_->hide();
    Options2Click();
    CloseForGood();
    return;
  }
  if (!tracker_.timer_enabled()) timer1_.stop();
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
