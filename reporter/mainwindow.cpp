#include "mainwindow.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QUrl>

namespace ravell {

ReporterWindow::ReporterWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(tr("Ravell Reporter"));
  resize(715, 607);
  setMinimumSize(650, 550);

  QMenu* file_menu = menuBar()->addMenu(tr("&File"));
  file_menu->setObjectName(QStringLiteral("File1"));
  QAction* exit_action = file_menu->addAction(tr("E&xit"), this, &QWidget::close);
  exit_action->setObjectName(QStringLiteral("Exit1"));

  // Filled by the totals and log charts.
  QMenu* view_menu = menuBar()->addMenu(tr("&View"));
  view_menu->setObjectName(QStringLiteral("View1"));

  // "Help" is a command of the menu bar itself, not a menu.
  QAction* help_action = menuBar()->addAction(tr("&Help"), this, &ReporterWindow::ShowHelp);
  help_action->setObjectName(QStringLiteral("Help1"));

  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("WorkArea"));
  setCentralWidget(central);

  status_left_ = new QLabel(this);
  status_left_->setObjectName(QStringLiteral("StatusPanel0"));
  status_left_->setFixedWidth(150);
  status_right_ = new QLabel(this);
  status_right_->setObjectName(QStringLiteral("StatusPanel1"));
  statusBar()->addWidget(status_left_);
  statusBar()->addWidget(status_right_, 1);
}

void ReporterWindow::ShowHelp() {
  const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/Help/ravell.html");
  // The desktop's opener fails silently on a missing file; say so instead.
  if (!QFileInfo::exists(path)) {
    QMessageBox::warning(this, windowTitle(), tr("Help file %1 not found.").arg(path));
    return;
  }
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace ravell
