#include "mainwindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFocusEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "barimages.h"
#include "daylogviews.h"
#include "error.h"
#include "logedit.h"
#include "plandialog.h"
#include "planning.h"
#include "planningdialogs.h"
#include "taskdialog.h"
#include "todotree.h"
#include "todotreeview.h"

namespace ravell {

namespace {

constexpr int kPaneMinimum = 50;

QAction* MakeAction(QObject* owner, const char* name, const QString& caption, int image,
                    const QString& hint = QString()) {
  auto* action = new QAction(caption, owner);
  action->setObjectName(QLatin1String(name));
  if (image >= 0) action->setIcon(BarImages16(image));
  if (!hint.isEmpty()) action->setToolTip(hint);
  return action;
}

QAction* AddItem(QMenu* menu, const char* name, const QString& caption, int image = -1) {
  QAction* action = MakeAction(menu, name, caption, image);
  menu->addAction(action);
  return action;
}

QMenu* AddSubmenu(QMenu* menu, const char* name, const QString& caption) {
  QMenu* sub = menu->addMenu(caption);
  sub->setObjectName(QLatin1String(name));
  return sub;
}

// Tool buttons get the action's name and keep their caption as accessible
// text even when only the image shows.
void NameButtons(QToolBar* bar) {
  for (QAction* action : bar->actions()) {
    if (QWidget* button = bar->widgetForAction(action)) {
      button->setObjectName(action->objectName());
      button->setAccessibleName(action->text());
    }
  }
}

QToolBar* MakeBar(QWidget* owner, const char* name, const QString& title) {
  auto* bar = new QToolBar(title, owner);
  bar->setObjectName(QLatin1String(name));
  bar->setIconSize(QSize(16, 16));
  bar->setMovable(true);
  bar->setFloatable(true);
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  bar->setContextMenuPolicy(Qt::CustomContextMenu);
  return bar;
}

void AddSeparator16(QToolBar* bar) {
  auto* gap = new QWidget(bar);
  gap->setFixedWidth(16);
  bar->addWidget(gap);
}

}  // namespace

MainWindow::MainWindow(Tracker& tracker, GuiLink& gui, QWidget* parent)
    : QMainWindow(parent), tracker_(tracker), gui_(gui) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Ravell"));
  // Qt's own tool bar menu would stand beside ToolBarsPopup.
  setContextMenuPolicy(Qt::NoContextMenu);
  resize(kCreatedWidth, kCreatedHeight);
  BuildViews();
  BuildToolBars();
  BuildMainMenu();
  BuildPopupMenus();
  BuildToolBarsPopup();
  BuildStatusBar();
  BuildTray();
  tracker_.session().SetUi(this);
  planning_dialogs_ = std::make_unique<PlanningDialogs>(this, tracker_);
  timer1_.setObjectName(QStringLiteral("Timer1"));
  timer1_.setInterval(1000);
  connect(&timer1_, &QTimer::timeout, this, &MainWindow::Timer1Timer);
  UpdateMenuStatus();
}

MainWindow::~MainWindow() {
  // The session outlives the window in tests; it must not call back into it.
  tracker_.session().SetUi(nullptr);
  planning_dialogs_.reset();
  // Children still send focus events while they are destroyed; the window's
  // members are gone by then.
  todo_tree_->removeEventFilter(this);
  log_grid_->removeEventFilter(this);
}

void MainWindow::BuildViews() {
  auto* panel3 = new QWidget(this);
  panel3->setObjectName(QStringLiteral("Panel3"));
  auto* layout = new QVBoxLayout(panel3);
  layout->setContentsMargins(0, 0, 0, 0);
  splitter1_ = new QSplitter(Qt::Horizontal, panel3);
  splitter1_->setObjectName(QStringLiteral("Splitter1"));
  splitter1_->setHandleWidth(kSplitterWidth);
  splitter1_->setChildrenCollapsible(false);
  splitter1_->setOpaqueResize(true);
  layout->addWidget(splitter1_);
  setCentralWidget(panel3);

  panel2_ = new QWidget(splitter1_);
  panel2_->setObjectName(QStringLiteral("Panel2"));
  panel2_->setMinimumWidth(kPaneMinimum);
  auto* panel2_layout = new QVBoxLayout(panel2_);
  panel2_layout->setContentsMargins(0, 0, 0, 0);
  todo_tree_ = new QTreeWidget(panel2_);
  todo_tree_->setObjectName(QStringLiteral("ToDoTree"));
  todo_tree_->setAccessibleName(QStringLiteral("To-do tree"));
  // The binder sets the tree's looks, fills it and selects on a right click.
  todo_tree_view_ = new ToDoTreeView(todo_tree_, tracker_.todo_tree());
  panel2_layout->addWidget(todo_tree_);

  auto* panel1 = new QWidget(splitter1_);
  panel1->setObjectName(QStringLiteral("Panel1"));
  panel1->setMinimumWidth(kPaneMinimum);
  auto* panel1_layout = new QVBoxLayout(panel1);
  panel1_layout->setContentsMargins(0, 0, 0, 0);
  splitter2_ = new QSplitter(Qt::Vertical, panel1);
  splitter2_->setObjectName(QStringLiteral("Splitter2"));
  splitter2_->setHandleWidth(kSplitterWidth);
  splitter2_->setChildrenCollapsible(false);
  panel1_layout->addWidget(splitter2_);
  splitter1_->addWidget(panel2_);
  splitter1_->addWidget(panel1);
  // A wider window widens the lists, not the to-do panel.
  splitter1_->setStretchFactor(0, 0);
  splitter1_->setStretchFactor(1, 1);

  // The task list above its tool bar; a window of its own so that the bar
  // can be moved and floated like the others.
  panel5_ = new QMainWindow(splitter2_);
  // QMainWindow makes itself a window; this one is a pane.
  panel5_->setWindowFlags(Qt::Widget);
  panel5_->setObjectName(QStringLiteral("Panel5"));
  panel5_->setContextMenuPolicy(Qt::NoContextMenu);
  panel5_->setMinimumHeight(kPaneMinimum);
  task_model_ = new TaskListModel(tracker_.day_log(), this);
  task_list_ = new TaskListView(panel5_);
  task_list_->setModel(task_model_);
  task_list_->setToolTip(QString());
  panel5_->setCentralWidget(task_list_);

  panel4_ = new QFrame(splitter2_);
  panel4_->setObjectName(QStringLiteral("Panel4"));
  static_cast<QFrame*>(panel4_)->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  panel4_->setMinimumHeight(kPaneMinimum);
  auto* panel4_layout = new QVBoxLayout(panel4_);
  panel4_layout->setContentsMargins(1, 1, 1, 1);
  log_model_ = new LogGridModel(tracker_.day_log(), this);
  log_grid_ = new LogGridView(panel4_);
  log_grid_->setModel(log_model_);
  panel4_layout->addWidget(log_grid_);
  splitter2_->addWidget(panel5_);
  splitter2_->addWidget(panel4_);
  splitter2_->setStretchFactor(0, 1);
  splitter2_->setStretchFactor(1, 0);

  connect(splitter1_, &QSplitter::splitterMoved, this,
          [this] { todo_width_ = splitter1_->sizes().value(0, todo_width_); });
  connect(splitter2_, &QSplitter::splitterMoved, this,
          [this] { log_height_ = splitter2_->sizes().value(1, log_height_); });

  // Other bindings.
  connect(task_list_, &QAbstractItemView::doubleClicked, this, &MainWindow::TotalListDblClick);
  connect(task_list_->header(), &QHeaderView::sectionClicked, this,
          &MainWindow::TotalListColumnClick);
  connect(log_grid_, &QAbstractItemView::doubleClicked, this, &MainWindow::Edit1Click);
  connect(todo_tree_, &QTreeWidget::itemDoubleClicked, this, &MainWindow::RunToDoClick);
  // The menus read the model's selection, which the view sets after the widget's.
  connect(&tracker_.todo_tree(), &ToDoTree::SelectionChanged, this, &MainWindow::UpdateMenuStatus);
  connect(&tracker_.todo_tree(), &ToDoTree::Changed, this, &MainWindow::UpdateMenuStatus);
  todo_tree_->installEventFilter(this);
  log_grid_->installEventFilter(this);
  connect(&tracker_.day_log(), &DayLog::StatusChanged, this, &MainWindow::UpdateStatusPanels);
}

void MainWindow::BuildToolBars() {
  QToolBar* context = bars_[kContextBar] =
      MakeBar(panel5_, "ContextBar", QStringLiteral("Tasks actions"));
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
  connect(insert_button_, &QAction::triggered, this, &MainWindow::InsertTaskButClick);
  context->addAction(start_new_button_);
  context->addAction(pause_button_);
  context->addAction(stop_button_);
  AddSeparator16(context);
  context->addAction(insert_button_);
  panel5_->addToolBar(Qt::BottomToolBarArea, context);

  QToolBar* options = bars_[kOptionsBar] = MakeBar(this, "OptionsBar", QStringLiteral("Options"));
  open_db_button_ = MakeAction(this, "OpenDBButton", QStringLiteral("Open Notes DB"), kImageOpenDb,
                               QStringLiteral("Open Notes DB"));
  start_reporter_button_ = MakeAction(this, "StartReporterButton", QStringLiteral("Reporter"),
                                      kImageReporter, QStringLiteral("Start Rv Reporter"));
  QAction* options_button = MakeAction(this, "ToolButton3", QStringLiteral("Show options"),
                                       kImageOptions, QStringLiteral("Show options"));
  QAction* exit_button = MakeAction(this, "ToolButton2", QStringLiteral("Shut down"),
                                    kImageShutDown, QStringLiteral("Shut down"));
  connect(open_db_button_, &QAction::triggered, this, &MainWindow::OpenDBButtonClick);
  connect(start_reporter_button_, &QAction::triggered, this, &MainWindow::StartReporterButtonClick);
  connect(options_button, &QAction::triggered, this, &MainWindow::Options2Click);
  connect(exit_button, &QAction::triggered, this, &MainWindow::ExitButtonClick);
  open_db_button_->setVisible(false);
  options->addAction(open_db_button_);
  options->addAction(start_reporter_button_);
  options->addAction(options_button);
  AddSeparator16(options);
  options->addAction(exit_button);

  QToolBar* vis = bars_[kVisBar] = MakeBar(this, "VisBar", QStringLiteral("Show switches"));
  show_todo_button_ = MakeAction(this, "ShowToDoButton", QStringLiteral("To Do list visible"),
                                 kImageToDoPanel, QStringLiteral("Projects list visible"));
  show_log_button_ = MakeAction(this, "ShowLogButton", QStringLiteral("Log visible"),
                                kImageLogPanel, QStringLiteral("Log visible"));
  show_rate_button_ = MakeAction(this, "ShowRateButton", QStringLiteral("Show rate"), kImageRate,
                                 QStringLiteral("Show rate"));
  for (QAction* check : {show_todo_button_, show_log_button_, show_rate_button_}) {
    check->setCheckable(true);
    check->setChecked(true);
    vis->addAction(check);
  }
  connect(show_todo_button_, &QAction::triggered, this, &MainWindow::ToDo1Click);
  connect(show_log_button_, &QAction::triggered, this, &MainWindow::Log1Click);
  connect(show_rate_button_, &QAction::triggered, this, &MainWindow::ShowRateButtonClick);

  // The top band: VisBar, then OptionsBar beside it.
  addToolBar(Qt::TopToolBarArea, vis);
  addToolBar(Qt::TopToolBarArea, options);
  connect(context, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    ContextBarContextPopup();
    tool_bars_popup_->popup(bars_[kContextBar]->mapToGlobal(at));
  });
  connect(options, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    OptionsBarContextPopup();
    tool_bars_popup_->popup(bars_[kOptionsBar]->mapToGlobal(at));
  });
  connect(vis, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    VisBarContextPopup();
    tool_bars_popup_->popup(bars_[kVisBar]->mapToGlobal(at));
  });
  for (QToolBar* bar : bars_) NameButtons(bar);
}

void MainWindow::BuildMainMenu() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("File1"));
  connect(AddItem(file, "Options2", QStringLiteral("Options"), kImageOptions), &QAction::triggered,
          this, &MainWindow::Options2Click);
  open_db1_ = AddItem(file, "OpenDB1", QStringLiteral("Open DB"), kImageOpenDb);
  open_db1_->setVisible(false);
  connect(open_db1_, &QAction::triggered, this, &MainWindow::OpenDBButtonClick);
  reporter1_ = AddItem(file, "Reporter1", QStringLiteral("Reporter"), kImageReporter);
  connect(reporter1_, &QAction::triggered, this, &MainWindow::StartReporterButtonClick);
  file->addSeparator();
  connect(AddItem(file, "Exit2", QStringLiteral("Shut down"), kImageShutDown), &QAction::triggered,
          this, &MainWindow::ExitButtonClick);

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  view->setObjectName(QStringLiteral("View1"));
  todo2_ = AddItem(view, "ToDo2", QStringLiteral("Projects"));
  log2_ = AddItem(view, "Log2", QStringLiteral("Log"));
  rate1_ = AddItem(view, "Rate1", QStringLiteral("Rate"));
  connect(todo2_, &QAction::triggered, this, &MainWindow::ToDo1Click);
  connect(log2_, &QAction::triggered, this, &MainWindow::Log1Click);
  connect(rate1_, &QAction::triggered, this, &MainWindow::Rate1Click);
  QMenu* bars = AddSubmenu(view, "Toolbars1", QStringLiteral("Tool bars"));
  bar_menu_items_[kContextBar] = AddItem(bars, "Tasksactions1", QStringLiteral("Tasks actions"));
  bar_menu_items_[kOptionsBar] = AddItem(bars, "Options1", QStringLiteral("Options"));
  bar_menu_items_[kVisBar] = AddItem(bars, "Showtoggles1", QStringLiteral("Show switches"));
  connect(bar_menu_items_[kContextBar], &QAction::triggered, this, &MainWindow::Tasksactions1Click);
  connect(bar_menu_items_[kOptionsBar], &QAction::triggered, this, &MainWindow::Options1Click);
  connect(bar_menu_items_[kVisBar], &QAction::triggered, this, &MainWindow::Showtoggles1Click);
  for (QAction* check :
       {todo2_, log2_, rate1_, bar_menu_items_[0], bar_menu_items_[1], bar_menu_items_[2]}) {
    check->setCheckable(true);
    check->setChecked(true);
  }

  QMenu* project = menuBar()->addMenu(QStringLiteral("&Project"));
  project->setObjectName(QStringLiteral("Project2"));
  connect(AddItem(project, "Addnew2", QStringLiteral("Add new"), kImageProject),
          &QAction::triggered, this, &MainWindow::Addnew1Click);
  rate3_ = AddItem(project, "Rate3", QStringLiteral("Properties"), kImageProperties);
  connect(rate3_, &QAction::triggered, this, &MainWindow::Rate2Click);
  delete4_ = AddItem(project, "Delete4", QStringLiteral("Delete"), kImageDelete);
  connect(delete4_, &QAction::triggered, this, &MainWindow::Delete3Click);

  QMenu* task = menuBar()->addMenu(QStringLiteral("&Task"));
  task->setObjectName(QStringLiteral("Task2"));
  startnew3_ = AddItem(task, "Startnew3", QStringLiteral("Start new"), kImageStart);
  connect(startnew3_, &QAction::triggered, this, &MainWindow::StartNewButtonClick);
  pause2_ = AddItem(task, "Pause2", QStringLiteral("Pause"), kImagePause);
  connect(pause2_, &QAction::triggered, this, &MainWindow::PauseButtonClick);
  stop2_ = AddItem(task, "Stop2", QStringLiteral("Stop"), kImageStop);
  connect(stop2_, &QAction::triggered, this, &MainWindow::StopButtonClick);
  task->addSeparator();
  connect(AddItem(task, "Addtoproject1", QStringLiteral("Add to project"), kImageAddPlanned),
          &QAction::triggered, this, &MainWindow::AddToDo1Click);
  deletefromproject1_ =
      AddItem(task, "Deletefromproject1", QStringLiteral("Delete from project"), kImageDelete);
  connect(deletefromproject1_, &QAction::triggered, this, &MainWindow::Delete1Click);
  task->addSeparator();
  connect(AddItem(task, "Inserttolog1", QStringLiteral("Insert to log"), kImageInsert),
          &QAction::triggered, this, &MainWindow::Inserttolog1Click);
  deletefromlog1_ =
      AddItem(task, "Deletefromlog1", QStringLiteral("Delete from log"), kImageDelete);
  connect(deletefromlog1_, &QAction::triggered, this, &MainWindow::Delete2Click);
  changelogrecord1_ =
      AddItem(task, "Changelogrecord1", QStringLiteral("Change log record"), kImageProperties);
  connect(changelogrecord1_, &QAction::triggered, this, &MainWindow::Edit1Click);

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("Help1"));
  connect(AddItem(help, "AboutRAV1", QStringLiteral("About Ravell")), &QAction::triggered, this,
          &MainWindow::AboutRAV1Click);
  QAction* help_file = AddItem(help, "RAVHelp1", QStringLiteral("Ravell Help"));
  help_file->setShortcut(QKeySequence::HelpContents);
  connect(help_file, &QAction::triggered, this, &MainWindow::RAVHelp1Click);
}

void MainWindow::BuildPopupMenus() {
  // To-do tree.
  popup_menu2_ = new QMenu(this);
  popup_menu2_->setObjectName(QStringLiteral("PopupMenu2"));
  QMenu* project = AddSubmenu(popup_menu2_, "Project1Sub", QStringLiteral("Project..."));
  connect(AddItem(project, "Addnew1", QStringLiteral("Add new"), kImageProject),
          &QAction::triggered, this, &MainWindow::Addnew1Click);
  rate2_ = AddItem(project, "Rate2", QStringLiteral("Properties"), kImageProperties);
  connect(rate2_, &QAction::triggered, this, &MainWindow::Rate2Click);
  delete3_ = AddItem(project, "Delete3", QStringLiteral("Delete"), kImageDelete);
  connect(delete3_, &QAction::triggered, this, &MainWindow::Delete3Click);
  QMenu* task = AddSubmenu(popup_menu2_, "Task1Sub", QStringLiteral("Task..."));
  connect(AddItem(task, "AddToDo1", QStringLiteral("Add new"), kImageAddPlanned),
          &QAction::triggered, this, &MainWindow::AddToDo1Click);
  start_new2_ = AddItem(task, "StartNew2", QStringLiteral("Start"), kImageStart);
  connect(start_new2_, &QAction::triggered, this, &MainWindow::RunToDoClick);
  insert2_ = AddItem(task, "Insert2", QStringLiteral("Insert to log"), kImageInsert);
  connect(insert2_, &QAction::triggered, this, &MainWindow::Insert2Click);
  delete1_ = AddItem(task, "Delete1", QStringLiteral("Delete"), kImageDelete);
  connect(delete1_, &QAction::triggered, this, &MainWindow::Delete1Click);
  popup_menu2_->addSeparator();
  connect(AddItem(popup_menu2_, "Expandall1", QStringLiteral("Expand all")), &QAction::triggered,
          this, &MainWindow::Expandall1Click);
  connect(AddItem(popup_menu2_, "Collapseall1", QStringLiteral("Collapse all")),
          &QAction::triggered, this, &MainWindow::Collapseall1Click);
  reload_todo_tree1_ = AddItem(popup_menu2_, "ReloadToDotree1", QStringLiteral("Reload tree"));
  reload_todo_tree1_->setVisible(false);
  connect(reload_todo_tree1_, &QAction::triggered, this, &MainWindow::ReloadToDotree1Click);
  connect(popup_menu2_, &QMenu::aboutToShow, this, &MainWindow::PopupMenu2Popup);
  todo_tree_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(todo_tree_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    popup_menu2_->popup(todo_tree_->viewport()->mapToGlobal(at));
  });

  // Task list.
  total_list_menu_ = new QMenu(this);
  total_list_menu_->setObjectName(QStringLiteral("TotalListMenu"));
  connect(AddItem(total_list_menu_, "Run1", QStringLiteral("Run"), kImageStart),
          &QAction::triggered, this, &MainWindow::TotalListDblClick);
  insert3_ = AddItem(total_list_menu_, "Insert3", QStringLiteral("Insert task"), kImageInsert);
  connect(insert3_, &QAction::triggered, this, &MainWindow::Insert3Click);
  connect(AddItem(total_list_menu_, "Plantime1", QStringLiteral("Plan time")), &QAction::triggered,
          this, &MainWindow::Plantime1Click);
  QMenu* copy = AddSubmenu(total_list_menu_, "Copy3", QStringLiteral("Copy"));
  connect(AddItem(copy, "Entirerow1", QStringLiteral("Entire row")), &QAction::triggered, this,
          &MainWindow::Entirerow1Click);
  copy->addSeparator();
  // One item per column, tagged with its index (initTotalsMenu).
  for (int column = 0; column < TaskListModel::kColumnCount; ++column) {
    QAction* item = copy->addAction(
        task_model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    item->setObjectName(QStringLiteral("CopyColumn%1").arg(column));
    item->setData(column);
    connect(item, &QAction::triggered, this, [this, column] { Copy3Click(column); });
  }
  connect(total_list_menu_, &QMenu::aboutToShow, this, &MainWindow::TotalListMenuPopup);
  task_list_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(task_list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    total_list_menu_->popup(task_list_->viewport()->mapToGlobal(at));
  });

  // Log grid.
  popup_menu3_ = new QMenu(this);
  popup_menu3_->setObjectName(QStringLiteral("PopupMenu3"));
  edit1_ = AddItem(popup_menu3_, "Edit1", QStringLiteral("Change"), kImageProperties);
  connect(edit1_, &QAction::triggered, this, &MainWindow::Edit1Click);
  QMenu* log_copy = AddSubmenu(popup_menu3_, "Copy1", QStringLiteral("Copy"));
  connect(AddItem(log_copy, "Record1", QStringLiteral("Entire row")), &QAction::triggered, this,
          &MainWindow::Record1Click);
  log_copy->addSeparator();
  connect(AddItem(log_copy, "TimeStart1", QStringLiteral("TimeStart")), &QAction::triggered, this,
          &MainWindow::TimeStart1Click);
  connect(AddItem(log_copy, "TimeEnd1", QStringLiteral("TimeEnd")), &QAction::triggered, this,
          &MainWindow::TimeEnd1Click);
  connect(AddItem(log_copy, "TimeDelta1", QStringLiteral("TimeDelta")), &QAction::triggered, this,
          &MainWindow::TimeDelta1Click);
  connect(AddItem(log_copy, "Task1", QStringLiteral("Task")), &QAction::triggered, this,
          &MainWindow::Task1Click);
  connect(AddItem(log_copy, "Project1", QStringLiteral("Project")), &QAction::triggered, this,
          &MainWindow::Project1Click);
  delete2_ = AddItem(popup_menu3_, "Delete2", QStringLiteral("Delete"), kImageDelete);
  connect(delete2_, &QAction::triggered, this, &MainWindow::Delete2Click);
  connect(popup_menu3_, &QMenu::aboutToShow, this, &MainWindow::PopupMenu3Popup);
  log_grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(log_grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    popup_menu3_->popup(log_grid_->viewport()->mapToGlobal(at));
  });
}

void MainWindow::BuildToolBarsPopup() {
  tool_bars_popup_ = new QMenu(this);
  tool_bars_popup_->setObjectName(QStringLiteral("ToolBarsPopup"));
  connect(AddItem(tool_bars_popup_, "Hide1", QStringLiteral("Hide")), &QAction::triggered, this,
          &MainWindow::Hide1Click);
  // Kept for its place in the menu; it does nothing.
  AddItem(tool_bars_popup_, "Lagebuttons1", QStringLiteral("Lage buttons"))->setVisible(false);
  show_captions1_ = AddItem(tool_bars_popup_, "Showcaptions1", QStringLiteral("Show captions"));
  show_captions1_->setCheckable(true);
  connect(show_captions1_, &QAction::triggered, this, &MainWindow::Showcaptions1Click);
  list_captions1_ = AddItem(tool_bars_popup_, "Listcaptions1", QStringLiteral("List captions"));
  list_captions1_->setCheckable(true);
  connect(list_captions1_, &QAction::triggered, this, &MainWindow::Listcaptions1Click);
  tool_bars_popup_->addSeparator();
  QMenu* bars = AddSubmenu(tool_bars_popup_, "Toolbars2", QStringLiteral("Toolbars"));
  bar_popup_items_[kContextBar] = AddItem(bars, "Taskactions1", QStringLiteral("Tasks actions"));
  bar_popup_items_[kOptionsBar] = AddItem(bars, "Options3", QStringLiteral("Options"));
  bar_popup_items_[kVisBar] = AddItem(bars, "Showtoggles2", QStringLiteral("Show switches"));
  connect(bar_popup_items_[kContextBar], &QAction::triggered, this,
          &MainWindow::Tasksactions1Click);
  connect(bar_popup_items_[kOptionsBar], &QAction::triggered, this, &MainWindow::Options1Click);
  connect(bar_popup_items_[kVisBar], &QAction::triggered, this, &MainWindow::Showtoggles1Click);
  for (QAction* item : bar_popup_items_) {
    item->setCheckable(true);
    item->setChecked(true);
  }
  connect(tool_bars_popup_, &QMenu::aboutToShow, this, &MainWindow::ToolBarsPopupPopup);
}

void MainWindow::BuildStatusBar() {
  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  statusBar()->setSizeGripEnabled(true);
  const char* texts[] = {" Total time: 0:00:00", " Total rate: 0.00", "Notes user:", "NDB"};
  const int widths[] = {110, 100, 100, 250};
  for (int i = 0; i < Tracker::kStatusPanels; ++i) {
    auto* panel = new QLabel(QLatin1String(texts[i]), statusBar());
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    if (i == 2) panel->setAlignment(Qt::AlignCenter);
    if (i == 3) {
      // The last panel takes what is left and never holds the window wide.
      panel->setMinimumWidth(0);
      panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    } else {
      // Wide enough for the texts in the font in use.
      const int text = panel->fontMetrics().horizontalAdvance(
                           QLatin1String(i == 0 ? " Total time: 00:00:00" : texts[i])) +
                       12;
      panel->setFixedWidth(std::max(widths[i], text));
    }
    statusBar()->addWidget(panel, i == 3 ? 1 : 0);
    status_panels_[i] = panel;
  }
  notes_label_ = new QLabel(QStringLiteral("Lotus Notes"), this);
  notes_label_->setObjectName(QStringLiteral("Label9"));
  notes_label_->setAlignment(Qt::AlignCenter);
  notes_label_->setStyleSheet(
      QStringLiteral("QLabel { color: white; font-weight: bold; background: palette(highlight); "
                     "padding: 0 4px; }"));
  notes_label_->setFixedHeight(17);
  notes_label_->setMinimumWidth(77);
  menuBar()->setCornerWidget(notes_label_, Qt::TopRightCorner);
  notes_label_->hide();
}

void MainWindow::BuildTray() {
  tray_menu_ = new QMenu(this);
  tray_menu_->setObjectName(QStringLiteral("PopupMenu1"));
  start_new1_ = AddItem(tray_menu_, "StartNew1", QStringLiteral("Start New"), kImageStart);
  connect(start_new1_, &QAction::triggered, this, &MainWindow::StartNewButtonClick);
  pause1_ = AddItem(tray_menu_, "Pause1", QStringLiteral("Pause"), kImagePause);
  pause1_->setCheckable(true);
  connect(pause1_, &QAction::triggered, this, [this] { PauseButtonClick(); });
  stop1_ = AddItem(tray_menu_, "Stop1", QStringLiteral("Stop"), kImageStop);
  connect(stop1_, &QAction::triggered, this, &MainWindow::StopButtonClick);
  insert1_ = AddItem(tray_menu_, "Insert1", QStringLiteral("Insert"), kImageInsert);
  connect(insert1_, &QAction::triggered, this, &MainWindow::InsertTaskButClick);
  tray_menu_->addSeparator()->setObjectName(QStringLiteral("N1"));
  switch_to1_ = AddSubmenu(tray_menu_, "Switchto1", QStringLiteral("Switch to..."));
  switch_group_ = new QActionGroup(this);
  switch_group_->setExclusive(true);
  tray_menu_->addSeparator()->setObjectName(QStringLiteral("N7"));
  connect(AddItem(tray_menu_, "Exit1", QStringLiteral("Shut down"), kImageShutDown),
          &QAction::triggered, this, &MainWindow::ExitButtonClick);
  connect(tray_menu_, &QMenu::aboutToShow, this, &MainWindow::PopupMenu1Popup);

  tray_ = new QSystemTrayIcon(BarImages16(kImageTrayIdle), this);
  tray_->setObjectName(QStringLiteral("abcTrayIcon1"));
  tray_->setContextMenu(tray_menu_);
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
    if (why == QSystemTrayIcon::Trigger || why == QSystemTrayIcon::DoubleClick) ShowMainWindow();
  });
  if (auto* library = dynamic_cast<GuiLibrary*>(&gui_)) {
    library->SetTrayMenuHooks([this] { tray_->setContextMenu(nullptr); },
                              [this] { tray_->setContextMenu(tray_menu_); });
  }
}

void MainWindow::FormCreate() {
  tracker_.Start(this);
  if (!tracker_.quit_requested()) LoadGUI();
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
  reload_todo_tree1_->setVisible(tracker_.open_notes_db_visible());
  start_reporter_button_->setVisible(tracker_.reporter_visible());
  reporter1_->setVisible(tracker_.reporter_visible());
  if (tracker_.hide_to_tray() && QSystemTrayIcon::isSystemTrayAvailable()) {
    // No task-bar button while living in the tray.
    setWindowFlag(Qt::Tool, true);
  }
  tray_->setVisible(tracker_.tray_visible());
  ApplyRateView();
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

void MainWindow::setVisible(bool visible) {
  const bool first = visible && !shown_once_;
  if (first) {
    // Centred on the desktop at its size of that moment, whatever position
    // the layout restored.
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                    screen()->availableGeometry()));
  }
  QMainWindow::setVisible(visible);
  if (first) {
    shown_once_ = true;
    FitPanes();
  }
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
  abcTrayIcon1MouseMove();
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

// Session commands

void MainWindow::StartNewButtonClick() {
  if (!tracker_.session().commands().start_new) return;
  TaskDialog dialog(ravell::MakeTaskDialogHooks(tracker_), this);
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

int MainWindow::CurrentLogRow() const {
  const QModelIndex current = log_grid_->currentIndex();
  return current.isValid() ? current.row() : 0;
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
  TaskDialog dialog(ravell::MakeTaskDialogHooks(tracker_), this);
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
  pause_button_->setEnabled(c.pause);
  pause_button_->setChecked(c.pause_down);
  stop_button_->setEnabled(c.stop);
  insert_button_->setEnabled(c.insert_task);
  // The tray menu mirrors the buttons at once, not only when it opens: the
  // platform's tray may show it without telling.
  const TrayMenuStates tray = TrayMenuEnabling(c);
  start_new1_->setEnabled(tray.start_new);
  pause1_->setEnabled(tray.pause);
  pause1_->setChecked(tray.pause_checked);
  stop1_->setEnabled(tray.stop);
  insert1_->setEnabled(tray.insert);
  UpdateMenuStatus();
  abcTrayIcon1MouseMove();
}

void MainWindow::FocusLogRow(int row) { log_grid_->setCurrentIndex(log_model_->index(row, 1)); }

// Enabling rules

TreeNodeKind MainWindow::SelectedNodeKind() const {
  const ToDoTree& tree = tracker_.todo_tree();
  if (tree.SelectedProject()) return TreeNodeKind::kProject;
  if (tree.SelectedTask()) return TreeNodeKind::kTask;
  return TreeNodeKind::kNone;
}

MenuContext MainWindow::CurrentMenuContext() const {
  MenuContext context;
  context.commands = tracker_.session().commands();
  context.focus = focus_;
  context.tree_has_nodes = !tracker_.todo_tree().IsEmpty();
  context.selected_node = SelectedNodeKind();
  context.log_row_deletable = tracker_.log_edit().CanDelete(CurrentLogRow());
  return context;
}

void MainWindow::UpdateMenuStatus() {
  const MainMenuStates s = MainMenuEnabling(CurrentMenuContext());
  rate3_->setEnabled(s.project_properties);
  delete4_->setEnabled(s.project_delete);
  deletefromproject1_->setEnabled(s.delete_from_project);
  deletefromlog1_->setEnabled(s.delete_from_log);
  changelogrecord1_->setEnabled(s.change_log_record);
  startnew3_->setEnabled(s.start_new);
  pause2_->setEnabled(s.pause);
  stop2_->setEnabled(s.stop);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const bool focus_event = event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut;
  if (focus_event && (watched == todo_tree_ || watched == log_grid_)) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    // A menu opening or another window taking over is not leaving the control.
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
        reason != Qt::MenuBarFocusReason) {
      const FocusedControl control =
          watched == todo_tree_ ? FocusedControl::kToDoTree : FocusedControl::kLogGrid;
      if (event->type() == QEvent::FocusIn) {
        focus_ = control;
      } else if (focus_ == control) {
        focus_ = FocusedControl::kOther;
      }
      UpdateMenuStatus();
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::PopupMenu1Popup() {
  const TrayMenuStates s = TrayMenuEnabling(tracker_.session().commands());
  start_new1_->setEnabled(s.start_new);
  pause1_->setEnabled(s.pause);
  pause1_->setChecked(s.pause_checked);
  stop1_->setEnabled(s.stop);
  insert1_->setEnabled(s.insert);
  RebuildSwitchTo();
}

void MainWindow::RebuildSwitchTo() {
  for (QAction* item : switch_to1_->actions()) {
    switch_group_->removeAction(item);
    switch_to1_->removeAction(item);
    item->deleteLater();
  }
  const DayLog& log = tracker_.day_log();
  const CommandStates& commands = tracker_.session().commands();
  for (int i = 0; i < log.ItemCount(); ++i) {
    const TaskItem& item = log.Item(i);
    QAction* action =
        switch_to1_->addAction(item.task + QStringLiteral(" (") + item.project + QLatin1Char(')'));
    action->setCheckable(true);
    action->setData(i);
    switch_group_->addAction(action);
    const SwitchItemState state = SwitchItemEnabling(commands, item.marker != TaskMarker::kNone);
    action->setEnabled(state.enabled);
    action->setChecked(state.checked);
    connect(action, &QAction::triggered, this, [this, i] {
      RunCommand([this, i] { tracker_.session().SwithToTask1Click(i); });
      CommandsChanged();
    });
  }
}

void MainWindow::PopupMenu2Popup() {
  const TreeMenuStates s = TreeMenuEnabling(SelectedNodeKind());
  rate2_->setEnabled(s.project_items);
  delete3_->setEnabled(s.project_items);
  start_new2_->setEnabled(s.task_items);
  insert2_->setEnabled(s.task_items);
  delete1_->setEnabled(s.task_items);
}

void MainWindow::TotalListMenuPopup() {
  const int count = tracker_.day_log().ItemCount();
  if (SelectedItem() < 0 && count > 0) {
    task_list_->setCurrentIndex(task_model_->index(count - 1, 0));
  }
  insert3_->setEnabled(InsertOrChangeEnabled(tracker_.session().commands()));
}

void MainWindow::PopupMenu3Popup() {
  const CommandStates& commands = tracker_.session().commands();
  edit1_->setEnabled(InsertOrChangeEnabled(commands));
  delete2_->setEnabled(tracker_.log_edit().CanDelete(CurrentLogRow()));
}

// Copy commands

void MainWindow::CopyLogRow(LogCopyPart part) {
  const DayLog& log = tracker_.day_log();
  const int row = CurrentLogRow();
  QString text;
  if (!log.IsEmpty() && row >= 0 && row < log.RowCount()) text = LogRowCopyText(log.Row(row), part);
  QGuiApplication::clipboard()->setText(text);
}

void MainWindow::Record1Click() { CopyLogRow(LogCopyPart::kEntireRow); }
void MainWindow::TimeStart1Click() { CopyLogRow(LogCopyPart::kTimeStart); }
void MainWindow::TimeEnd1Click() { CopyLogRow(LogCopyPart::kTimeEnd); }
void MainWindow::TimeDelta1Click() { CopyLogRow(LogCopyPart::kTimeDelta); }
void MainWindow::Task1Click() { CopyLogRow(LogCopyPart::kTask); }
void MainWindow::Project1Click() { CopyLogRow(LogCopyPart::kProject); }

void MainWindow::Entirerow1Click() { Copy3Click(kEntireItem); }

void MainWindow::Copy3Click(int column) {
  const int selected = SelectedItem();
  if (selected < 0 || selected >= tracker_.day_log().ItemCount()) return;
  QGuiApplication::clipboard()->setText(
      TaskItemCopyText(tracker_.day_log().Item(selected), column));
}

void MainWindow::TotalListColumnClick(int column) { SortTaskList(tracker_.day_log(), column); }

// View switches

void MainWindow::ToDo1Click() {
  todo_checked_ = !todo_checked_;
  SwitchPane(todo_checked_, todo2_, show_todo_button_, panel2_,
             QSize(todo_width_ + kSplitterWidth, 0));
}

void MainWindow::Log1Click() {
  log_checked_ = !log_checked_;
  SwitchPane(log_checked_, log2_, show_log_button_, panel4_,
             QSize(0, log_height_ + kSplitterWidth));
}

void MainWindow::SwitchPane(bool show, QAction* item, QAction* button, QWidget* pane,
                            QSize change) {
  item->setChecked(show);
  button->setChecked(show);
  pane->setVisible(show);
  if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) {
    resize(show ? size() + change : size() - change);
  }
  if (shown_once_) FitPanes();
}

void MainWindow::FitPanes() {
  // The splitters learn the new window size first, then the panes get their
  // remembered sizes and the lists the rest.
  if (layout() != nullptr) layout()->activate();
  if (!panel2_->isHidden()) {
    const int rest = std::max(kPaneMinimum, splitter1_->width() - kSplitterWidth - todo_width_);
    splitter1_->setSizes({todo_width_, rest});
  }
  if (!panel4_->isHidden()) {
    const int rest = std::max(kPaneMinimum, splitter2_->height() - kSplitterWidth - log_height_);
    splitter2_->setSizes({rest, log_height_});
  }
}

void MainWindow::ShowRateButtonClick() {
  rate_checked_ = !rate_checked_;
  ApplyRateView();
}

void MainWindow::Rate1Click() {
  // Button and menu check flip once, together.
  ShowRateButtonClick();
}

void MainWindow::ApplyRateView() {
  rate1_->setChecked(rate_checked_);
  show_rate_button_->setChecked(rate_checked_);
  DayLog& log = tracker_.day_log();
  log.rate_view = rate_checked_;
  task_list_->ApplyRateView(rate_checked_);
  status_panels_[1]->setVisible(rate_checked_);
  if (rate_checked_) RunCommand([&log] { log.RecountTotalRate(); });
}

void MainWindow::Tasksactions1Click() { ToggleBar(kContextBar); }
void MainWindow::Options1Click() { ToggleBar(kOptionsBar); }
void MainWindow::Showtoggles1Click() { ToggleBar(kVisBar); }

void MainWindow::ToggleBar(int index) {
  // The menu checks always show whether the bar is shown, so flipping the
  // check flips the bar.
  const bool show = bars_[index]->isHidden();
  bars_[index]->setVisible(show);
  bar_menu_items_[index]->setChecked(show);
  bar_popup_items_[index]->setChecked(show);
}

void MainWindow::SyncBarChecks() {
  for (int i = 0; i < kBarCount; ++i) {
    const bool shown = !bars_[i]->isHidden();
    bar_menu_items_[i]->setChecked(shown);
    bar_popup_items_[i]->setChecked(shown);
  }
}

// Tray hint

void MainWindow::abcTrayIcon1MouseMove() {
  const DayLog& log = tracker_.day_log();
  const int current = log.current_task;
  const QString time =
      current >= 0 && current < log.ItemCount() ? log.Item(current).time : QString();
  const QString hint = TrayHint(tracker_.session().state(), log.day_total,
                                log.Row(log.RowCount() - 1), time,
                                Elapsed(log.interval_start, tracker_.clock().Read()));
  // Runs every tick; a desktop tray is told only of a real change.
  if (hint != tray_->toolTip()) tray_->setToolTip(hint);
}

// Window layout

int MainWindow::BarIndex(const QToolBar* bar) const {
  for (int i = 0; i < kBarCount; ++i) {
    if (bars_[i] == bar) return i;
  }
  return -1;
}

BarFlags MainWindow::FlagsOf(int index) const {
  return {!bars_[index]->isHidden(), bar_flags_[index].captions, bar_flags_[index].list};
}

void MainWindow::ApplyBarStyle(int index) {
  const BarFlags& flags = bar_flags_[index];
  Qt::ToolButtonStyle style = Qt::ToolButtonIconOnly;
  if (flags.captions)
    style = flags.list ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonTextUnderIcon;
  bars_[index]->setToolButtonStyle(style);
  bars_[index]->setIconSize(QSize(16, 16));
}

void MainWindow::SaveGUI() {
  GuiLayout layout;
  layout.todo_visible = todo_checked_;
  layout.log_visible = log_checked_;
  layout.rate_visible = rate_checked_;
  // A maximised window keeps the size it comes back to.
  const QRect frame =
      windowState() & (Qt::WindowMinimized | Qt::WindowMaximized) ? normalGeometry() : geometry();
  layout.window_top = frame.top();
  layout.window_left = frame.left();
  layout.window_width = frame.width();
  layout.window_height = frame.height();
  layout.log_height = log_height_;
  layout.todo_width = todo_width_;
  layout.options_bar = FlagsOf(kOptionsBar);
  layout.vis_bar = FlagsOf(kVisBar);
  layout.context_bar = FlagsOf(kContextBar);
  RunCommand([&] { WriteGuiLayout(tracker_.settings(), layout); });
}

void MainWindow::LoadGUI() {
  const GuiLayout layout = ReadGuiLayout(tracker_.settings());
  // Each switch starts from the opposite state, so its handler applies the
  // wanted one with all its effects.
  todo_checked_ = !layout.todo_visible;
  ToDo1Click();
  log_checked_ = !layout.log_visible;
  Log1Click();
  rate_checked_ = !layout.rate_visible;
  ShowRateButtonClick();

  if (layout.window_top) move(x(), *layout.window_top);
  if (layout.window_left) move(*layout.window_left, y());
  if (layout.window_height) resize(width(), *layout.window_height);
  if (layout.window_width) resize(*layout.window_width, height());
  if (layout.log_height) log_height_ = std::max(kPaneMinimum, *layout.log_height);
  if (layout.todo_width) todo_width_ = std::max(kPaneMinimum, *layout.todo_width);
  if (shown_once_) FitPanes();

  SetBar(bars_[kOptionsBar]);
  SetBar(bars_[kVisBar]);
  SetBar(bars_[kContextBar]);
  SyncBarChecks();
}

void MainWindow::SetBar(QToolBar* bar) {
  const int index = BarIndex(bar);
  if (index < 0) return;
  const BarFlags flags = ReadBarFlags(tracker_.settings(), bar->objectName());
  bar_flags_[index] = flags;
  bar->setVisible(flags.visible);
  ApplyBarStyle(index);
}

void MainWindow::OptionsBarContextPopup() { current_bar_ = bars_[kOptionsBar]; }
void MainWindow::VisBarContextPopup() { current_bar_ = bars_[kVisBar]; }
void MainWindow::ContextBarContextPopup() { current_bar_ = bars_[kContextBar]; }

void MainWindow::ToolBarsPopupPopup() {
  const int index = BarIndex(current_bar_);
  if (index >= 0) {
    const BarFlags& flags = bar_flags_[index];
    show_captions1_->setChecked(flags.captions);
    list_captions1_->setChecked(flags.captions && flags.list);
  }
  SyncBarChecks();
}

void MainWindow::Hide1Click() {
  const int index = BarIndex(current_bar_);
  if (index < 0) return;
  current_bar_->hide();
  bar_menu_items_[index]->setChecked(false);
  bar_popup_items_[index]->setChecked(false);
}

void MainWindow::Showcaptions1Click() {
  const int index = BarIndex(current_bar_);
  if (index < 0) return;
  BarFlags& flags = bar_flags_[index];
  flags.captions = !flags.captions;
  if (!flags.captions) flags.list = false;
  show_captions1_->setChecked(flags.captions);
  list_captions1_->setChecked(flags.captions && flags.list);
  ApplyBarStyle(index);
}

void MainWindow::Listcaptions1Click() {
  const int index = BarIndex(current_bar_);
  if (index < 0) return;
  BarFlags& flags = bar_flags_[index];
  // The check showed the list arrangement only while captions were shown.
  flags.list = !(flags.captions && flags.list);
  list_captions1_->setChecked(flags.list);
  ApplyBarStyle(index);
  if (!flags.captions) Showcaptions1Click();
}

// Projects and the to-do tree. Each command may start a task or change the
// tree and the log, so the buttons and menus follow afterwards.

void MainWindow::Addnew1Click() {
  RunCommand([this] { tracker_.planning().Addnew1Click(); });
  CommandsChanged();
}

void MainWindow::Rate2Click() {
  RunCommand([this] { tracker_.planning().Rate2Click(); });
  CommandsChanged();
}

void MainWindow::Delete3Click() {
  RunCommand([this] { tracker_.planning().Delete3Click(); });
  CommandsChanged();
}

void MainWindow::AddToDo1Click() {
  RunCommand([this] { tracker_.planning().AddToDo1Click(); });
  CommandsChanged();
}

void MainWindow::RunToDoClick() {
  RunCommand([this] { tracker_.planning().RunToDoClick(); });
  CommandsChanged();
}

void MainWindow::Delete1Click() {
  RunCommand([this] { tracker_.planning().Delete1Click(); });
  CommandsChanged();
}

void MainWindow::Expandall1Click() {
  RunCommand([this] { tracker_.planning().Expandall1Click(); });
}

void MainWindow::Collapseall1Click() {
  RunCommand([this] { tracker_.planning().Collapseall1Click(); });
}

void MainWindow::ReloadToDotree1Click() {
  RunCommand([this] { tracker_.planning().ReloadToDotree1Click(); });
  CommandsChanged();
}

// Log editing

void MainWindow::RunLogEdit(const std::function<int()>& command) {
  int row = -1;
  RunCommand([&] { row = command(); });
  if (row >= 0 && row < tracker_.day_log().RowCount()) FocusLogRow(row);
  CommandsChanged();
}

void MainWindow::InsertTaskButClick() {
  RunLogEdit([this] { return tracker_.log_edit().InputInsertTask(QString(), QString()); });
}

void MainWindow::Insert2Click() {
  RunLogEdit([this] { return tracker_.planning().Insert2Click(); });
}

void MainWindow::Insert3Click() {
  // The menu selects the last item when none is; a shortcut may not have.
  const DayLog& log = tracker_.day_log();
  int item = SelectedItem();
  if (item < 0 || item >= log.ItemCount()) item = log.ItemCount() - 1;
  if (item < 0) {
    InsertTaskButClick();
    return;
  }
  const QString project = log.Item(item).project;
  const QString task = log.Item(item).task;
  RunLogEdit([&] { return tracker_.log_edit().InputInsertTask(project, task); });
}

void MainWindow::Inserttolog1Click() {
  if (focus_ == FocusedControl::kToDoTree && tracker_.todo_tree().SelectedTask()) {
    Insert2Click();
  } else {
    InsertTaskButClick();
  }
}

void MainWindow::Edit1Click() {
  const int row = CurrentLogRow();
  RunLogEdit([this, row] { return tracker_.log_edit().Edit1Click(row); });
}

void MainWindow::Delete2Click() {
  const int row = CurrentLogRow();
  RunLogEdit([this, row] { return tracker_.log_edit().Delete2Click(row); });
}

// Shell launches: a failed launch gives no message.

void MainWindow::Options2Click() { gui_.ShowOptions(this, tracker_.setup_mode()); }

void MainWindow::AboutRAV1Click() { gui_.ShowAbout(this); }

void MainWindow::StartReporterButtonClick() {
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

// Shutdown

void MainWindow::ExitButtonClick() {
  // The window layout is saved here, and only here.
  if (!closing_) SaveGUI();
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
