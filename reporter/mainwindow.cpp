#include "mainwindow.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextCharFormat>
#include <QUrl>
#include <QVBoxLayout>

#include "collapsiblepanels.h"
#include "reporterviews.h"

namespace ravell {
namespace {

QWidget* NamedPage(const char* name, QWidget* parent) {
  auto* page = new QWidget(parent);
  page->setObjectName(QString::fromLatin1(name));
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(2, 2, 2, 2);
  return page;
}

}  // namespace

ReporterWindow::ReporterWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Ravell Reporter"));
  resize(715, 607);
  setMinimumSize(650, 550);

  QMenu* file_menu = menuBar()->addMenu(QStringLiteral("&File"));
  file_menu->setObjectName(QStringLiteral("File1"));
  QAction* exit_action = file_menu->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
  exit_action->setObjectName(QStringLiteral("Exit1"));

  // Filled by the totals and log charts.
  view_menu_ = menuBar()->addMenu(QStringLiteral("&View"));
  view_menu_->setObjectName(QStringLiteral("View1"));

  // "Help" is a command of the menu bar itself, not a menu.
  QAction* help_action =
      menuBar()->addAction(QStringLiteral("&Help"), this, &ReporterWindow::ShowHelp);
  help_action->setObjectName(QStringLiteral("Help1"));

  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("WorkArea"));
  auto* central_layout = new QVBoxLayout(central);
  central_layout->setContentsMargins(2, 2, 2, 2);
  central_layout->setSpacing(2);
  central_layout->addWidget(BuildTopBar());

  auto* splitter = new QSplitter(Qt::Horizontal, central);
  splitter->setObjectName(QStringLiteral("Splitter1"));
  splitter->setChildrenCollapsible(false);
  splitter->addWidget(BuildLeftColumn());
  splitter->addWidget(BuildPages());
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  central_layout->addWidget(splitter, 1);
  setCentralWidget(central);

  status_left_ = new QLabel(this);
  status_left_->setObjectName(QStringLiteral("StatusPanel0"));
  status_left_->setFixedWidth(150);
  status_right_ = new QLabel(this);
  status_right_->setObjectName(QStringLiteral("StatusPanel1"));
  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  statusBar()->addWidget(status_left_);
  statusBar()->addWidget(status_right_, 1);

  // The totals and log pages, the top bar's totals and the calendar's days;
  // they show data once bound to the loaded tables.
  views_ = new ReporterViews({Page(QStringLiteral("TotalsPage")), Page(QStringLiteral("LogPage")),
                              label1_, label2_, rate_label_, log_calendar_, view_menu_},
                             this);
}

QWidget* ReporterWindow::BuildTopBar() {
  auto* bar = new QFrame(this);
  bar->setObjectName(QStringLiteral("TopBar"));
  bar->setFrameShape(QFrame::StyledPanel);
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(8, 4, 8, 4);

  label1_ = new QLabel(QStringLiteral("Today"), bar);
  label1_->setObjectName(QStringLiteral("Label1"));
  QFont title_font = label1_->font();
  title_font.setBold(true);
  title_font.setPointSizeF(title_font.pointSizeF() * 1.25);
  label1_->setFont(title_font);
  layout->addWidget(label1_, 1);

  auto* time_caption = new QLabel(QStringLiteral("Total time:"), bar);
  label2_ = new QLabel(QStringLiteral("0:00:00"), bar);
  label2_->setObjectName(QStringLiteral("Label2"));
  time_caption->setBuddy(label2_);
  auto* rate_caption = new QLabel(QStringLiteral("Total rate:"), bar);
  rate_label_ = new QLabel(QStringLiteral("0.00"), bar);
  rate_label_->setObjectName(QStringLiteral("TotalRate"));
  rate_caption->setBuddy(rate_label_);
  QFont value_font = label2_->font();
  value_font.setBold(true);
  label2_->setFont(value_font);
  rate_label_->setFont(value_font);
  layout->addWidget(time_caption);
  layout->addWidget(label2_);
  layout->addSpacing(16);
  layout->addWidget(rate_caption);
  layout->addWidget(rate_label_);
  return bar;
}

QWidget* ReporterWindow::BuildLeftColumn() {
  auto* column = new QWidget(this);
  column->setObjectName(QStringLiteral("LeftColumn"));
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);

  log_calendar_ = new QCalendarWidget(column);
  log_calendar_->setObjectName(QStringLiteral("LogCalendar"));
  log_calendar_->setAccessibleName(QStringLiteral("Calendar of recorded days"));
  log_calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  log_calendar_->setSelectedDate(QDate::currentDate());
  // No "today" mark: the calendar draws today like any other day.
  log_calendar_->setDateTextFormat(QDate::currentDate(), QTextCharFormat());
  layout->addWidget(log_calendar_);

  panels_ = new CollapsiblePanels(column);
  panels_->setObjectName(QStringLiteral("LeftPanels"));
  auto* filter = new QWidget;
  filter->setObjectName(QStringLiteral("FilterArea"));
  auto* grouping = new QWidget;
  grouping->setObjectName(QStringLiteral("GroupingArea"));
  auto* tree = new QWidget;
  tree->setObjectName(QStringLiteral("TreeArea"));
  for (QWidget* area : {filter, grouping, tree}) {
    auto* area_layout = new QVBoxLayout(area);
    area_layout->setContentsMargins(2, 2, 2, 2);
  }
  panels_->AddPanel(QStringLiteral("Panel9"), QStringLiteral("Data Filter"), filter);
  panels_->AddPanel(QStringLiteral("Panel12"), QStringLiteral("Data Grouping"), grouping);
  panels_->AddPanel(QStringLiteral("Panel10"), QStringLiteral("Data Tree"), tree);
  layout->addWidget(panels_, 1);
  column->setMinimumWidth(log_calendar_->sizeHint().width());
  return column;
}

QTabWidget* ReporterWindow::BuildPages() {
  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("PageControl1"));
  pages_->addTab(NamedPage("TotalsPage", pages_), QStringLiteral("View Totals"));
  pages_->addTab(NamedPage("LogPage", pages_), QStringLiteral("View Log"));
  const int maket = pages_->addTab(NamedPage("Maket", pages_), QStringLiteral("Maket"));
  pages_->addTab(NamedPage("ReportPage", pages_), QStringLiteral("Create Report"));
  pages_->addTab(NamedPage("ExportPage", pages_), QStringLiteral("Data Export"));
  // The report layout page exists for the report engine only.
  pages_->setTabVisible(maket, false);
  pages_->setCurrentIndex(0);
  return pages_;
}

bool ReporterWindow::InitForm1(ProgressWindow& progress) {
  (void)progress;
  return true;
}

QWidget* ReporterWindow::Page(const QString& object_name) const {
  for (int i = 0; i < pages_->count(); ++i) {
    if (pages_->widget(i)->objectName() == object_name) return pages_->widget(i);
  }
  return nullptr;
}

void ReporterWindow::SetStatusTexts(const QString& panel0, const QString& panel1) {
  status_left_->setText(panel0);
  status_right_->setText(panel1);
}

void ReporterWindow::closeEvent(QCloseEvent* event) {
  QMainWindow::closeEvent(event);
  if (event->isAccepted()) emit Closed();
}

void ReporterWindow::ShowHelp() {
  const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/Help/ravell.html");
  // The desktop's opener fails silently on a missing file; say so instead.
  if (!QFileInfo::exists(path)) {
    QMessageBox::warning(this, windowTitle(), QStringLiteral("Help file %1 not found.").arg(path));
    return;
  }
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace ravell
