#include "mainwindow.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextCharFormat>
#include <QUrl>
#include <QVBoxLayout>

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "analysisviews.h"
#include "collapsiblepanels.h"
#include "error.h"
#include "exportpage.h"
#include "gridcopy.h"
#include "progresswindow.h"
#include "qtmessageboxes.h"
#include "recorddialog.h"
#include "recordediting.h"
#include "reportgenerator.h"
#include "reportpage.h"
#include "reportpreview.h"
#include "startup.h"
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

// Message captions are the application's title.
constexpr char kMessageCaption[] = "Rv Reporter";

// Shows a text on one line: the data scope text breaks its lines with LF CR.
QString OneLine(QString text) {
  text.replace(QStringLiteral("\n\r"), QStringLiteral("  "));
  return text;
}

}  // namespace

ReporterWindow::ReporterWindow(QWidget* parent)
    : QMainWindow(parent),
      program_folder_(QCoreApplication::applicationDirPath()),
      analysis_(tables_, this),
      own_messages_(std::make_unique<QtMessageBoxes>(this, QString::fromLatin1(kMessageCaption))),
      messages_(own_messages_.get()) {
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
  // The day view tells the analysis which day the status bar refers to.
  connect(views_, &ReporterViews::DayShown, this, [this](const QDate& day) {
    analysis_.SetDayView(day);
    analysis_.ShowStatusInfo();
  });

  // Editing past records from the log grid, through the one record dialog.
  form3_ = new RecordDialogForm(*messages_, this);
  editing_ =
      std::make_unique<RecordEditing>(tables_, analysis_, *form3_, *messages_, program_folder_);
  views_->BindEditing(editing_.get());

  QWidget* export_tab = Page(QStringLiteral("ExportPage"));
  export_page_ = new ExportPage(tables_, *views_, *messages_, export_tab);
  export_tab->layout()->addWidget(export_page_);
  grid_copy_ = new GridCopy(*views_, this);

  QWidget* report_tab = Page(QStringLiteral("ReportPage"));
  report_page_ = new ReportPage(report_, *messages_, report_tab);
  report_tab->layout()->addWidget(report_page_);
  report_page_->SetDataScope([this] { return analysis_.GetDataScopeStr(); });
  report_page_->SetLayoutPath([this] { return program_folder_ + QStringLiteral("/report.rvr"); });
  connect(report_page_, &ReportPage::GenerateClicked, this, &ReporterWindow::GenerateReportClick);
  apply_report_page_ = [this] { return report_page_->ApplyReportPage(); };
}

void ReporterWindow::SetProgramFolder(const QString& folder) {
  program_folder_ = folder;
  editing_->SetProgramFolder(folder);
}


void ReporterWindow::ShowCalendarDay() { views_->LogCalendarClick(); }

void ReporterWindow::ShowGroupTotals(const TotalsResult& totals) { views_->ShowGroupResult(totals); }

void ReporterWindow::BindReportGroups(const GroupingKey& key) {
  report_.BindReportGroups(key);
  report_page_->SetReportPage(key);
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
  panels_->AddPanel(QStringLiteral("Panel9"), QStringLiteral("Data Filter"), BuildFilterArea());
  panels_->AddPanel(QStringLiteral("Panel12"), QStringLiteral("Data Grouping"),
                    BuildGroupingArea());
  panels_->AddPanel(QStringLiteral("Panel10"), QStringLiteral("Data Tree"), BuildTreeArea());
  connect(panels_, &CollapsiblePanels::Opening, this, [this](int index) {
    if (index == kGroupingPanel) sort_tree_->expandAll();
  });
  layout->addWidget(panels_, 1);
  column->setMinimumWidth(log_calendar_->sizeHint().width());
  return column;
}

QWidget* ReporterWindow::BuildFilterArea() {
  auto* area = new QWidget;
  area->setObjectName(QStringLiteral("FilterArea"));
  auto* grid = new QGridLayout(area);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setVerticalSpacing(3);

  checker_from_to_ = new QCheckBox(QStringLiteral("Period"), area);
  checker_from_to_->setObjectName(QStringLiteral("CheckerFromTo"));
  const QString date_format = QLocale().dateFormat(QLocale::ShortFormat);
  const auto date_picker = [&](const char* name, const char* caption, int row) {
    auto* label = new QLabel(QString::fromLatin1(caption), area);
    auto* picker = new QDateEdit(QDate::currentDate(), area);
    picker->setObjectName(QString::fromLatin1(name));
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(date_format);
    label->setBuddy(picker);
    grid->addWidget(label, row, 0);
    grid->addWidget(picker, row, 1, 1, 2);
    for (QWidget* w : std::initializer_list<QWidget*>{label, picker}) {
      w->setEnabled(false);
      connect(checker_from_to_, &QCheckBox::toggled, w, &QWidget::setEnabled);
    }
    return picker;
  };
  grid->addWidget(checker_from_to_, 0, 0, 1, 3);
  filter_from_ = date_picker("FilterFrom", "From:", 1);
  filter_to_ = date_picker("FilterTo", "To:", 2);

  // A names box: the check box, the read-only text and its picker button.
  const auto names_box = [&](const char* checker_name, const char* checker_caption,
                             const char* text_name, const char* caption, const char* all_text,
                             const char* button_name, int row, QCheckBox** checker,
                             QLineEdit** text, void (ReporterWindow::*pick)()) {
    *checker = new QCheckBox(QString::fromLatin1(checker_caption), area);
    (*checker)->setObjectName(QString::fromLatin1(checker_name));
    auto* label = new QLabel(QString::fromLatin1(caption), area);
    *text = new QLineEdit(QString::fromLatin1(all_text), area);
    (*text)->setObjectName(QString::fromLatin1(text_name));
    (*text)->setReadOnly(true);
    label->setBuddy(*text);
    auto* button = new QToolButton(area);
    button->setObjectName(QString::fromLatin1(button_name));
    button->setText(QStringLiteral("..."));
    button->setAccessibleName(QStringLiteral("Choose ") +
                              QString::fromLatin1(caption).chopped(1).toLower());
    connect(button, &QToolButton::clicked, this, pick);
    grid->addWidget(*checker, row, 0, 1, 3);
    grid->addWidget(label, row + 1, 0);
    grid->addWidget(*text, row + 1, 1);
    grid->addWidget(button, row + 1, 2);
    QLineEdit* edit = *text;
    for (QWidget* w : std::initializer_list<QWidget*>{label, edit, button}) w->setEnabled(false);
    connect(*checker, &QCheckBox::toggled, this, [=](bool on) {
      for (QWidget* w : std::initializer_list<QWidget*>{label, edit, button}) w->setEnabled(on);
      edit->setText(on ? QString() : QString::fromLatin1(all_text));
    });
  };
  names_box("CheckerProjects", "Projects", "FilterProjects", "Projects:", kAllProjects, "Button2",
            3, &checker_projects_, &filter_projects_, &ReporterWindow::Button2Click);
  names_box("CheckerTasks", "Tasks", "FilterTasks", "Tasks:", kAllTasks, "Button3", 5,
            &checker_tasks_, &filter_tasks_, &ReporterWindow::Button3Click);

  auto* apply = new QPushButton(QStringLiteral("Apply"), area);
  apply->setObjectName(QStringLiteral("StartQueryButton"));
  connect(apply, &QPushButton::clicked, this, &ReporterWindow::StartQueryButtonClick);
  grid->addWidget(apply, 7, 1, 1, 2, Qt::AlignRight);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(8, 1);
  return area;
}

QWidget* ReporterWindow::BuildGroupingArea() {
  auto* area = new QWidget;
  area->setObjectName(QStringLiteral("GroupingArea"));
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(4, 4, 4, 4);

  sort_tree_ = new SortTreeWidget(area);
  sort_tree_->setObjectName(QStringLiteral("SortTree"));
  sort_tree_->setAccessibleName(QStringLiteral("Grouping order"));
  connect(sort_tree_, &SortTreeWidget::NodeDropped, this, [this](int node, int target) {
    ShowSortTree(analysis_.Grouping().SortTreeDragDrop(node, target));
  });
  layout->addWidget(sort_tree_, 1);

  auto* moves = new QHBoxLayout;
  const auto move_button = [&](const char* name, const char* caption, Qt::ArrowType arrow,
                               void (ReporterWindow::*click)()) {
    auto* button = new QToolButton(area);
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setText(QString::fromLatin1(caption));
    button->setToolTip(QString::fromLatin1(caption));
    button->setAccessibleName(QString::fromLatin1(caption));
    connect(button, &QToolButton::clicked, this, click);
    moves->addWidget(button);
  };
  move_button("SortUp", "Move up", Qt::UpArrow, &ReporterWindow::SortUpClick);
  move_button("SortDown", "Move down", Qt::DownArrow, &ReporterWindow::SortDownClick);
  moves->addStretch(1);
  layout->addLayout(moves);

  auto* format = new QGroupBox(QStringLiteral(" Date format "), area);
  auto* format_layout = new QHBoxLayout(format);
  radio_expanded_ = new QRadioButton(QStringLiteral("Expanded"), format);
  radio_expanded_->setObjectName(QStringLiteral("RadioDateExpanded"));
  radio_expanded_->setChecked(true);
  radio_short_ = new QRadioButton(QStringLiteral("Short"), format);
  radio_short_->setObjectName(QStringLiteral("RadioDateShort"));
  format_layout->addWidget(radio_expanded_);
  format_layout->addWidget(radio_short_);
  connect(radio_short_, &QRadioButton::clicked, this, [this] {
    analysis_.Grouping().RadioDateShortClick();
    ShowSortTree(sort_tree_->SelectedNode());
  });
  connect(radio_expanded_, &QRadioButton::clicked, this, [this] {
    analysis_.Grouping().RadioDateExpandedClick();
    ShowSortTree(sort_tree_->SelectedNode());
  });
  layout->addWidget(format);

  auto* apply = new QPushButton(QStringLiteral("Apply"), area);
  apply->setObjectName(QStringLiteral("Button4"));
  connect(apply, &QPushButton::clicked, this, &ReporterWindow::StartQueryButtonClick);
  layout->addWidget(apply, 0, Qt::AlignRight);
  ShowSortTree(0);
  return area;
}

QWidget* ReporterWindow::BuildTreeArea() {
  auto* area = new QWidget;
  area->setObjectName(QStringLiteral("TreeArea"));
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(2, 2, 2, 2);
  custom_log_tree_ = new DataTreeView(area);
  custom_log_tree_->setObjectName(QStringLiteral("CustomLogTree"));
  custom_log_tree_->setAccessibleName(QStringLiteral("Data tree"));
  custom_log_tree_->setModel(&analysis_.Tree());
  connect(custom_log_tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { TreeCurrentChanged(current); });
  connect(custom_log_tree_, &DataTreeView::Entered, this, [this] {
    if (analysis_.Tree().Empty()) return;
    analysis_.CustomLogTreeEnter();
    ShowSelectedNode();
  });
  custom_log_tree_->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* expand = new QAction(QStringLiteral("Expand all"), custom_log_tree_);
  expand->setObjectName(QStringLiteral("ExpandAll1"));
  connect(expand, &QAction::triggered, custom_log_tree_, &QTreeView::expandAll);
  auto* collapse = new QAction(QStringLiteral("Collapse all"), custom_log_tree_);
  collapse->setObjectName(QStringLiteral("CollapseAll1"));
  connect(collapse, &QAction::triggered, custom_log_tree_, &QTreeView::collapseAll);
  custom_log_tree_->addAction(expand);
  custom_log_tree_->addAction(collapse);
  layout->addWidget(custom_log_tree_);
  return area;
}

void ReporterWindow::ShowSortTree(int selected) {
  sort_tree_->ShowChain(analysis_.Grouping().Nodes(), selected);
}

void ReporterWindow::SortUpClick() {
  const int node = sort_tree_->SelectedNode();
  if (node >= 0) ShowSortTree(analysis_.Grouping().SortUpClick(node));
}

void ReporterWindow::SortDownClick() {
  const int node = sort_tree_->SelectedNode();
  if (node >= 0) ShowSortTree(analysis_.Grouping().SortDownClick(node));
}

FilterSettings ReporterWindow::CurrentFilter() const {
  FilterSettings settings;
  settings.period = checker_from_to_->isChecked();
  settings.from = filter_from_->date();
  settings.to = filter_to_->date();
  settings.projects = checker_projects_->isChecked();
  settings.projects_text = filter_projects_->text();
  settings.tasks = checker_tasks_->isChecked();
  settings.tasks_text = filter_tasks_->text();
  return settings;
}

void ReporterWindow::StartQueryButtonClick() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  analysis_.StartQueryButtonClick(CurrentFilter());
  ShowSelectedNode();
  views_->RefreshCalendarMarks();
  QApplication::restoreOverrideCursor();
}

// The tree view follows the analysis' selection without selecting again.
void ReporterWindow::ShowSelectedNode() {
  const QModelIndex index = analysis_.Tree().IndexOf(analysis_.SelectedNode());
  showing_selection_ = true;
  if (index.isValid()) {
    custom_log_tree_->expand(analysis_.Tree().IndexOf(0));
    custom_log_tree_->setCurrentIndex(index);
  }
  showing_selection_ = false;
}

void ReporterWindow::TreeCurrentChanged(const QModelIndex& current) {
  if (showing_selection_ || !current.isValid()) return;
  analysis_.CustomLogTreeChange(DataTreeModel::NodeOf(current));
}

void ReporterWindow::Button2Click() {
  QStringList projects;
  analysis_.FillProjects(projects);
  PickerDialog dialog(projects, SplitList(filter_projects_->text(), QStringLiteral(",")), this);
  if (dialog.exec() == QDialog::Accepted) filter_projects_->setText(JoinPicked(dialog.Checked()));
}

void ReporterWindow::Button3Click() {
  const QStringList projects = checker_projects_->isChecked()
                                   ? SplitList(filter_projects_->text(), QStringLiteral(","))
                                   : QStringList();
  QStringList tasks;
  analysis_.FillTasks(tasks, projects);
  PickerDialog dialog(tasks, SplitList(filter_tasks_->text(), QStringLiteral(",")), this);
  if (dialog.exec() == QDialog::Accepted) filter_tasks_->setText(JoinPicked(dialog.Checked()));
}

void ReporterWindow::SetStatusText(int panel, const QString& text) {
  if (panel < 0 || panel > 1) return;
  status_texts_[panel] = text;
  QLabel* label = panel == 0 ? status_left_ : status_right_;
  label->setText(OneLine(text));
  label->setToolTip(text);
}

QString ReporterWindow::StatusText(int panel) const {
  return panel == 0 || panel == 1 ? status_texts_[panel] : QString();
}

void ReporterWindow::SetTitleText(const QString& text) { label1_->setText(text); }
void ReporterWindow::SetTotalTimeText(const QString& text) { label2_->setText(text); }
void ReporterWindow::OpenTreePanel() { panels_->OpenPanel(kTreePanel); }

void ReporterWindow::SetMessages(MessageBoxes* messages) {
  messages_ = messages ? messages : own_messages_.get();
  form3_->SetMessages(*messages_);
  editing_->SetMessages(*messages_);
  export_page_->SetMessages(*messages_);
  report_page_->SetMessages(*messages_);
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

ReporterWindow::~ReporterWindow() {
  // The views listen to the tables, which are members and go before the
  // window's children would.
  delete views_;
  views_ = nullptr;
  // The report page refers to the report and the analysis, also members.
  delete report_page_;
  report_page_ = nullptr;
}

bool ReporterWindow::InitForm1(ProgressWindow& progress) {
  ReporterStartup startup(program_folder_, tables_, *messages_, &progress);
  if (!startup.Run()) return false;

  views_->Bind(tables_);
  export_page_->SetProgramFolder(program_folder_);
  const QDate today = QDate::currentDate();
  log_calendar_->setSelectedDate(today);
  analysis_.SetDayView(today);
  views_->LogCalendarClick();
  label1_->setText(QStringLiteral("Today"));

  QApplication::setOverrideCursor(Qt::WaitCursor);
  analysis_.StartQueryButtonClick(CurrentFilter(), true);
  ShowSelectedNode();
  QApplication::restoreOverrideCursor();
  // The first Apply bound the levels; the saved layout goes over them.
  report_page_->LoadReportClick();

  if (analysis_.FirstDay().isValid()) {
    filter_from_->setDate(analysis_.FirstDay());
    filter_to_->setDate(analysis_.LastDay());
  }
  const QString skipped = startup.SkippedText();
  if (!skipped.isEmpty()) SetStatusText(0, skipped);
  return true;
}

QWidget* ReporterWindow::Page(const QString& object_name) const {
  for (int i = 0; i < pages_->count(); ++i) {
    if (pages_->widget(i)->objectName() == object_name) return pages_->widget(i);
  }
  return nullptr;
}

void ReporterWindow::SetStatusTexts(const QString& panel0, const QString& panel1) {
  SetStatusText(0, panel0);
  SetStatusText(1, panel1);
}

void ReporterWindow::closeEvent(QCloseEvent* event) {
  QMainWindow::closeEvent(event);
  if (event->isAccepted()) emit Closed();
}

void ReporterWindow::SetReportPreview(std::function<void(const ReportDocument&)> show) {
  show_report_ = std::move(show);
}

void ReporterWindow::GenerateReportClick() {
  const auto preview = [this](const ReportDocument& document) {
    if (show_report_) return show_report_(document);
    const ReportElement* title = report_.Element(QStringLiteral("QRTitleText"));
    ReportPreview window(document, title ? title->caption : QString(), *messages_, this);
    window.exec();
  };
  try {
    ReportGenerator generator(report_, analysis_, clock_);
    generator.GenerateReportClick(apply_report_page_, preview);
  } catch (const Error& error) {
    messages_->Show(error.message(), QString(), MsgIcon::kError);
  }
}

void ReporterWindow::ShowHelp() {
  const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/Help/ravell.html");
  // The desktop's opener fails silently on a missing file; say so instead.
  if (!QFileInfo::exists(path)) {
    messages_->Show(QStringLiteral("Help file %1 not found.").arg(path), QString(),
                    MsgIcon::kWarning);
    return;
  }
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace ravell
