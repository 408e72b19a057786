// The main window over a real tracker in a scratch program folder.
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "../support/fakegui.h"
#include "../support/fakes.h"
#include "../support/modal.h"
#include "atomicfile.h"
#include "barimages.h"
#include "daylogviews.h"
#include "mainwindow.h"
#include "timetext.h"
#include "todotree.h"
#include "todotreeview.h"

namespace ravell {

using testing::Child;
using testing::WhenModal;

class MainWindowTest : public QObject {
  Q_OBJECT

  struct Fixture {
    QTemporaryDir folder;
    ManualClock clock{EncodeDate(QDate(2004, 3, 7)) + EncodeTime(9, 0, 0)};
    testing::RecordingMessages messages;
    testing::FakeGui gui;
    std::unique_ptr<Tracker> tracker;
    std::unique_ptr<MainWindow> window;

    void Start() {
      TrackerEnvironment env{folder.path(), &clock, &messages, {}};
      tracker = std::make_unique<Tracker>(std::move(env));
      window = std::make_unique<MainWindow>(*tracker, gui);
      window->FormCreate();
    }
    void Restart() {
      window.reset();
      tracker.reset();
      Start();
    }
    void WriteIni(const QByteArray& text) { WriteFileAtomic(folder.path() + "/ravell.ini", text); }
    QString Panel(int i) {
      return window->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i))->text();
    }
    template <typename T = QWidget>
    T* Find(const char* name) {
      T* found = window->findChild<T*>(QLatin1String(name));
      if (found == nullptr) qFatal("no %s", name);
      return found;
    }
    QAction* Item(const char* name) { return Find<QAction>(name); }
    QToolBar* Bar(const char* name) { return Find<QToolBar>(name); }
    // Closed intervals of Mail and Code, then Mail running again at 10:00.
    void WorkTwoTasks() {
      TaskSession& session = tracker->session();
      session.NewTask("Office", "Mail");
      clock.Advance(EncodeTime(0, 30, 0));
      session.NewTask("Dev", "Code");
      clock.Advance(EncodeTime(0, 30, 0));
      session.NewTask("Office", "Mail");
    }
    void Focus(QWidget* control, QEvent::Type type, Qt::FocusReason reason = Qt::MouseFocusReason) {
      QFocusEvent event(type, reason);
      QApplication::sendEvent(control, &event);
    }
    QByteArray File(const QString& name) { return ReadWholeFile(folder.path() + "/" + name); }
    // "time frame|task|project" of every log row.
    QStringList Rows() {
      QStringList rows;
      const DayLog& log = tracker->day_log();
      for (int i = 0; i < log.RowCount(); ++i)
        rows << log.Row(i).time_frame + "|" + log.Row(i).task + "|" + log.Row(i).project;
      return rows;
    }
    int SavedRecords() { return File("Log/2004/3/2004_3_7.tl").count("<TaskInstance>"); }
    // The widget item the user sees for a node of the to-do tree.
    QTreeWidgetItem* ItemOf(const ToDoNode* node) { return window->todo_tree_view()->ItemOf(node); }
  };

  static QString Text(QWidget* dialog, const char* combo) {
    return Child<QComboBox>(dialog, combo)->currentText();
  }
  static void Reject(QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); }

  static QString Clipboard() { return QGuiApplication::clipboard()->text(); }

 private slots:
  void CaptionAndStatusPanelsOnTheDayLog() {
    Fixture f;
    f.Start();
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Ravell 1.0"));
    QCOMPARE(f.window->objectName(), QStringLiteral("Form1"));
    QCOMPARE(f.Panel(0), QStringLiteral(" Total time: 0:00:00"));
    QCOMPARE(f.Panel(1), QStringLiteral(" Total rate: 0.00"));
    QCOMPARE(f.Panel(3), "Log file: " + f.folder.path() + "/Log/2004/3/2004_3_7.tl");
    f.window->show();
    QVERIFY(!f.window->findChild<QLabel*>(QStringLiteral("StatusPanel2"))->isVisible());
    QVERIFY(!f.window->findChild<QLabel*>(QStringLiteral("Label9"))->isVisible());
    QVERIFY(f.window->findChild<QToolButton*>(QStringLiteral("StartReporterButton"))->isVisible());
    QVERIFY(!f.window->findChild<QToolButton*>(QStringLiteral("OpenDBButton"))->isVisible());
    QVERIFY(f.window->timer()->isActive());
    QVERIFY(f.window->ShouldShowAtStart());
  }

  void CloseBoxKeepsTheProgramRunning() {
    Fixture f;
    f.Start();
    f.window->show();
    f.window->close();
    QVERIFY(f.window->timer()->isActive());  // hidden or minimised, never ended
  }

  void SetupModeRunsTheOptionsDialogOnTheFirstTickAndEnds() {
    Fixture f;
    QFile(f.folder.path() + "/libnotesbridge.so").open(QIODevice::WriteOnly);
    f.Start();
    QVERIFY(!f.window->ShouldShowAtStart());
    QVERIFY(f.gui.calls.isEmpty());
    f.window->Timer1Timer();
    QCOMPARE(f.gui.calls, QStringList{QStringLiteral("ShowOptions|1")});
    QVERIFY(!f.window->timer()->isActive());
    QVERIFY(!f.window->tray_icon()->isVisible());
    QVERIFY(!f.window->isVisible());
    QVERIFY(!QFile::exists(f.folder.path() + "/plans.lst"));
  }

  void ShutDownEndsTheNotesSession() {
    Fixture f;
    WriteFileAtomic(f.folder.path() + "/ravell.ini", "[Storage]\r\nTarget=Combine\r\n");
    auto calls = std::make_shared<QStringList>();
    TrackerEnvironment env{f.folder.path(), &f.clock, &f.messages,
                           [calls](MessageBoxes&) -> std::unique_ptr<NotesLink> {
                             auto link = std::make_unique<testing::FakeNotesLink>();
                             link->calls = calls;
                             return link;
                           }};
    f.tracker = std::make_unique<Tracker>(std::move(env));
    f.window = std::make_unique<MainWindow>(*f.tracker, f.gui);
    f.window->FormCreate();
    f.window->show();
    QVERIFY(f.window->findChild<QLabel*>(QStringLiteral("Label9"))->isVisible());
    QCOMPARE(f.Panel(2), QStringLiteral("Jane Doe"));
    QVERIFY(f.window->findChild<QToolButton*>(QStringLiteral("OpenDBButton"))->isVisible());
    QVERIFY(f.Item("ReloadToDotree1")->isVisible());
    f.window->ExitButtonClick();
    QVERIFY(!f.window->isVisible());
    QCOMPARE(calls->last(), QStringLiteral("Terminate"));
  }

  void EveryImageIsDrawnAndDistinct() {
    QList<QImage> seen;
    for (int i = 0; i < kImageCount; ++i) {
      const QImage picture = BarImages16(i).pixmap(16, 16).toImage();
      QCOMPARE(picture.size(), QSize(16, 16));
      int opaque = 0;
      for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) opaque += qAlpha(picture.pixel(x, y)) > 0;
      }
      QVERIFY2(opaque > 20, qPrintable(QString::number(i)));
      QVERIFY2(!seen.contains(picture), qPrintable(QString::number(i)));
      seen << picture;
    }
  }

  void FirstStartShowsEveryPaneAndGrowsTheWindowByThem() {
    Fixture f;
    f.Start();
    QCOMPARE(f.window->size(), QSize(645 + 148, 352 + 83));
    QVERIFY(!f.Find("Panel2")->isHidden());
    QVERIFY(!f.Find("Panel4")->isHidden());
    for (const char* check : {"ToDo2", "Log2", "Rate1", "ShowToDoButton", "ShowLogButton",
                              "ShowRateButton", "Tasksactions1", "Options1", "Showtoggles1"}) {
      QVERIFY2(f.Item(check)->isChecked(), check);
    }
    for (const char* bar : {"ContextBar", "OptionsBar", "VisBar"}) {
      QVERIFY2(!f.Bar(bar)->isHidden(), bar);
      QCOMPARE(f.Bar(bar)->toolButtonStyle(), Qt::ToolButtonIconOnly);
    }
    QVERIFY(!f.window->task_list()->isColumnHidden(TaskListModel::kRate));
    // Storage target Log.
    QVERIFY(!f.Item("OpenDB1")->isVisible());
    QVERIFY(!f.Item("ReloadToDotree1")->isVisible());
    QVERIFY(f.Item("Reporter1")->isVisible());
  }

  void GuiSectionValuesApplyAtStart_data() {
    QTest::addColumn<QByteArray>("gui");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QStringList>("hidden");
    QTest::addColumn<QStringList>("unchecked");
    const QSize grown(645 + 148, 352 + 83);
    QTest::newRow("to-do panel off")
        << QByteArray("ToDoVisible=No") << QSize(645 - 148, 435) << QStringList{"Panel2"}
        << QStringList{"ToDo2", "ShowToDoButton"};
    QTest::newRow("yes in lower case is off") << QByteArray("ToDoVisible=yes") << QSize(497, 435)
                                              << QStringList{"Panel2"} << QStringList{"ToDo2"};
    QTest::newRow("log off") << QByteArray("LogVisible=No") << QSize(793, 352 - 83)
                             << QStringList{"Panel4"} << QStringList{"Log2", "ShowLogButton"};
    QTest::newRow("bar flag without semicolon hides")
        << QByteArray("ContextBar=Visible") << grown << QStringList{"ContextBar"}
        << QStringList{"Tasksactions1", "Taskactions1"};
    QTest::newRow("empty bar flags hide")
        << QByteArray("VisBar=") << grown << QStringList{"VisBar"} << QStringList{"Showtoggles1"};
    QTest::newRow("size not a number is ignored")
        << QByteArray("WindowWidth=wide\r\nWindowHeight=300") << QSize(793, 300) << QStringList{}
        << QStringList{};
  }

  void GuiSectionValuesApplyAtStart() {
    QFETCH(QByteArray, gui);
    QFETCH(QSize, size);
    QFETCH(QStringList, hidden);
    QFETCH(QStringList, unchecked);
    Fixture f;
    f.WriteIni("[GUI]\r\n" + gui + "\r\n");
    f.Start();
    QCOMPARE(f.window->size(), size);
    for (const QString& name : hidden)
      QVERIFY2(f.Find(qPrintable(name))->isHidden(), qPrintable(name));
    for (const QString& name : unchecked) {
      QVERIFY2(!f.Item(qPrintable(name))->isChecked(), qPrintable(name));
    }
  }

  void SavedLayoutComesBackCentredAtItsSize() {
    Fixture f;
    f.Start();
    f.window->show();
    f.window->Log1Click();
    f.window->ShowRateButtonClick();
    f.window->OptionsBarContextPopup();
    f.window->Listcaptions1Click();
    f.window->VisBarContextPopup();
    f.window->Hide1Click();
    f.window->resize(700, 400);
    f.window->move(0, 0);
    f.window->ExitButtonClick();
    const QString ini = QString::fromLatin1(ReadWholeFile(f.folder.path() + "/ravell.ini"));
    QVERIFY2(ini.contains("LogVisible=No\r\nRateVisible=No\r\n"), qPrintable(ini));
    QVERIFY2(ini.contains("OptionsBar=Visible;Captions;List;\r\nVisBar=\r\nContextBar=Visible;"),
             qPrintable(ini));

    f.Restart();
    QCOMPARE(f.window->size(), QSize(700, 400));
    QVERIFY(f.Find("Panel4")->isHidden());
    QVERIFY(!f.Find("Panel2")->isHidden());
    QVERIFY(!f.Item("ShowRateButton")->isChecked());
    QVERIFY(f.window->task_list()->isColumnHidden(TaskListModel::kTotal));
    QVERIFY(f.Find("StatusPanel1")->isHidden());
    QCOMPARE(f.Bar("OptionsBar")->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    QVERIFY(f.Bar("VisBar")->isHidden());
    QVERIFY(!f.Item("Showtoggles1")->isChecked());
    f.window->show();
    QCOMPARE(f.window->size(), QSize(700, 400));
    const QPoint centre = f.window->screen()->availableGeometry().center();
    QVERIFY(qAbs(f.window->geometry().center().x() - centre.x()) <= 1);
    QVERIFY(qAbs(f.window->geometry().center().y() - centre.y()) <= 1);
  }

  void ToolBarMenuKeepsCaptionsAndListTogether() {
    Fixture f;
    f.Start();
    QToolBar* bar = f.Bar("ContextBar");
    f.window->ContextBarContextPopup();
    f.window->Listcaptions1Click();  // without captions: captions come on too
    QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    f.window->ToolBarsPopupPopup();
    QVERIFY(f.Item("Showcaptions1")->isChecked() && f.Item("Listcaptions1")->isChecked());
    f.window->Showcaptions1Click();  // off: the list arrangement goes too
    QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    f.window->Showcaptions1Click();
    QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    f.window->ToolBarsPopupPopup();
    QVERIFY(!f.Item("Listcaptions1")->isChecked());

    f.window->Hide1Click();
    QVERIFY(bar->isHidden());
    QVERIFY(!f.Item("Tasksactions1")->isChecked());
    f.window->Tasksactions1Click();
    QVERIFY(!bar->isHidden());
    QVERIFY(f.Item("Tasksactions1")->isChecked() && f.Item("Taskactions1")->isChecked());
  }

  void MenusFollowFocusSelectionAndSession() {
    Fixture f;
    f.Start();
    QTreeWidget* tree = f.window->todo_tree();
    ToDoTree& model = f.tracker->todo_tree();
    model.AddChild(model.AddTopLevel("Acme"), "Logo");
    // Items of the last rebuild: the user selects through them.
    QTreeWidgetItem* project = f.ItemOf(model.First());
    QTreeWidgetItem* task = project->child(0);
    QAction* properties = f.Item("Rate3");
    QAction* from_project = f.Item("Deletefromproject1");
    tree->setCurrentItem(project);
    QVERIFY(!properties->isEnabled());  // the tree has no focus yet
    f.Focus(tree, QEvent::FocusIn);
    QVERIFY(properties->isEnabled() && f.Item("Delete4")->isEnabled());
    QVERIFY(!from_project->isEnabled());
    tree->setCurrentItem(task);
    QVERIFY(!properties->isEnabled() && from_project->isEnabled());
    f.Focus(tree, QEvent::FocusOut, Qt::PopupFocusReason);  // a menu opening keeps it
    QVERIFY(from_project->isEnabled());
    f.Focus(tree, QEvent::FocusOut);
    QVERIFY(!from_project->isEnabled());

    tree->setCurrentItem(project);
    f.window->PopupMenu2Popup();
    QVERIFY(f.Item("Rate2")->isEnabled() && f.Item("Delete3")->isEnabled());
    for (const char* name : {"StartNew2", "Insert2", "Delete1"}) {
      QVERIFY2(!f.Item(name)->isEnabled(), name);
    }

    f.WorkTwoTasks();
    f.window->PauseButtonClick();
    LogGridView* grid = f.window->log_grid();
    const int last = f.tracker->day_log().RowCount() - 1;
    grid->setCurrentIndex(grid->model()->index(last, 1));
    f.Focus(grid, QEvent::FocusIn);
    QVERIFY(!f.Item("Deletefromlog1")->isEnabled());  // paused: the last row is closed, yet kept
    QVERIFY(!f.Item("Changelogrecord1")->isEnabled());
    f.window->PopupMenu3Popup();
    QVERIFY(!f.Item("Delete2")->isEnabled() && !f.Item("Edit1")->isEnabled());
    grid->setCurrentIndex(grid->model()->index(0, 1));
    f.Focus(grid, QEvent::FocusIn);
    QVERIFY(f.Item("Deletefromlog1")->isEnabled());
    QVERIFY(f.Item("Startnew3")->isEnabled() == f.Item("StartNewButton")->isEnabled());
    QVERIFY(f.Item("Addtoproject1")->isEnabled() && f.Item("Inserttolog1")->isEnabled());
  }

  // A project and a planned task through the tree's menu and the real dialogs,
  // then the task started from the tree.
  void TreeMenuAddsAProjectAndATaskAndStartsIt() {
    Fixture f;
    f.Start();
    WhenModal([](QWidget* dialog) {
      QCOMPARE(dialog->objectName(), QStringLiteral("TForm8"));
      Child<QLineEdit>(dialog, "Project")->setText("Design");
      Child<QLineEdit>(dialog, "Rate")->setText("12.5");
      Child<QPushButton>(dialog, "Button1")->click();
    });
    f.Item("Addnew1")->trigger();
    QCOMPARE(f.File("projects.lst"), QByteArray("Design=12.50\r\n"));
    QTreeWidget* tree = f.window->todo_tree();
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(tree->currentItem()->text(0), QStringLiteral("Design"));

    WhenModal([](QWidget* dialog) {
      QCOMPARE(dialog->windowTitle(), QStringLiteral("Add To Do"));
      QCOMPARE(Text(dialog, "ComboProject"), QStringLiteral("Design"));  // the selected project
      Child<QComboBox>(dialog, "Edit1")->setEditText("Logo");
      Child<QPushButton>(dialog, "SpeedButton1")->click();
    });
    f.Item("AddToDo1")->trigger();
    QCOMPARE(f.File("todo.tre"), QByteArray("Design\r\n\tLogo\r\n"));
    QTreeWidgetItem* logo = tree->topLevelItem(0)->child(0);
    QCOMPARE(logo->text(0), QStringLiteral("Logo"));

    // The task dialog offers the project's planned tasks.
    QStringList planned;
    WhenModal([&planned](QWidget* dialog) {
      auto* tasks = Child<QComboBox>(dialog, "Edit1");
      for (int i = 0; i < tasks->count(); ++i) planned << tasks->itemText(i);
      Reject(dialog);
    });
    f.Item("StartNewButton")->trigger();
    QCOMPARE(planned, QStringList{"Logo"});

    tree->setCurrentItem(logo);
    f.window->PopupMenu2Popup();
    QVERIFY(f.Item("StartNew2")->isEnabled() && !f.Item("Rate2")->isEnabled());
    emit tree->itemDoubleClicked(logo, 0);
    QCOMPARE(f.tracker->session().state(), SessionState::kRunning);
    QCOMPARE(f.Rows(), QStringList{"9:00:00|Logo|Design"});
    QVERIFY(f.Item("StopButton")->isEnabled() && f.Item("PauseButton")->isEnabled());
    QVERIFY(f.messages.shown.isEmpty());

    // A write that fails ends the command with a message; the tree still changes.
    QFile::remove(f.folder.path() + "/todo.tre");
    QDir(f.folder.path()).mkdir("todo.tre");
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    f.Item("Delete1")->trigger();
    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown[0].icon, MsgIcon::kError);
    QCOMPARE(tree->topLevelItem(0)->childCount(), 0);
  }

  // Insert, change and delete records from the buttons and menus, each
  // saved at once and the grid kept on the record.
  void LogEditingThroughTheWindow() {
    Fixture f;
    WriteFileAtomic(f.folder.path() + "/todo.tre", "Design\r\n\tLogo\r\n");
    f.Start();
    QTreeWidget* tree = f.window->todo_tree();
    LogGridView* grid = f.window->log_grid();

    // Insert to log: the selected task when the tree has the focus, else no names.
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    f.Focus(tree, QEvent::FocusIn);
    QString preset;
    auto note_preset = [&preset](QWidget* dialog) {
      preset = Text(dialog, "ComboProject") + "|" + Text(dialog, "Edit1");
      Reject(dialog);
    };
    WhenModal(note_preset);
    f.Item("Inserttolog1")->trigger();
    QCOMPARE(preset, QStringLiteral("Design|Logo"));
    f.Focus(grid, QEvent::FocusIn);
    WhenModal(note_preset);
    f.Item("Inserttolog1")->trigger();
    QCOMPARE(preset, QStringLiteral("Undefined|"));
    QCOMPARE(f.Rows(), QStringList{"||"});  // cancelled: nothing changed

    WhenModal([](QWidget* dialog) {
      QCOMPARE(dialog->windowTitle(), QStringLiteral("Insert record"));
      QCOMPARE(Child<QTimeEdit>(dialog, "TimeStart")->time(), QTime(8, 0));  // an hour back
      Child<QComboBox>(dialog, "ComboProject")->setEditText("Office");
      Child<QComboBox>(dialog, "Edit1")->setEditText("Mail");
      Child<QTimeEdit>(dialog, "TimeStart")->setTime(QTime(8, 30));
      Child<QPushButton>(dialog, "SpeedButton1")->click();
    });
    f.Find<QToolButton>("InsertButton")->click();
    QCOMPARE(f.Rows(), QStringList{"8:30:00-9:30:00 (1:00:00)|Mail|Office"});
    QCOMPARE(f.SavedRecords(), 1);

    // The task list's Insert task presets its last item when none is selected.
    WhenModal([](QWidget* dialog) {
      QCOMPARE(Text(dialog, "ComboProject") + "|" + Text(dialog, "Edit1"),
               QStringLiteral("Office|Mail"));
      Child<QTimeEdit>(dialog, "TimeStart")->setTime(QTime(7, 0));
      Child<QPushButton>(dialog, "SpeedButton1")->click();
    });
    f.Item("Insert3")->trigger();
    QCOMPARE(f.Rows(), (QStringList{"7:00:00-8:00:00 (1:00:00)|Mail|Office",
                                    "8:30:00-9:30:00 (1:00:00)|Mail|Office"}));
    QCOMPARE(f.window->CurrentLogRow(), 0);
    QCOMPARE(f.tracker->day_log().Item(0).time, QStringLiteral("2:00:00"));

    // A double click changes a row; moved earlier, the grid follows it.
    const QModelIndex second = grid->model()->index(1, 1);
    grid->setCurrentIndex(second);
    WhenModal([](QWidget* dialog) {
      QCOMPARE(dialog->windowTitle(), QStringLiteral("Change record"));
      Child<QComboBox>(dialog, "Edit1")->setEditText("Post");
      Child<QTimeEdit>(dialog, "TimeStart")->setTime(QTime(6, 0));
      Child<QPushButton>(dialog, "CreateTaskButton")->click();
    });
    emit grid->doubleClicked(second);
    QCOMPARE(f.Rows(), (QStringList{"6:00:00-7:00:00 (1:00:00)|Post|Office",
                                    "7:00:00-8:00:00 (1:00:00)|Mail|Office"}));
    QCOMPARE(f.window->CurrentLogRow(), 0);
    QCOMPARE(f.SavedRecords(), 2);

    grid->setCurrentIndex(grid->model()->index(1, 1));
    f.Focus(grid, QEvent::FocusIn);
    QVERIFY(f.Item("Deletefromlog1")->isEnabled());
    f.Item("Deletefromlog1")->trigger();
    QCOMPARE(f.Rows(), QStringList{"6:00:00-7:00:00 (1:00:00)|Post|Office"});
    QCOMPARE(f.window->CurrentLogRow(), 0);
    f.window->PopupMenu3Popup();
    f.Item("Delete2")->trigger();
    QCOMPARE(f.Rows(), QStringList{"||"});
    QCOMPARE(f.File("Log/2004/3/2004_3_7.tl"), QByteArray());
    QVERIFY(!f.Item("Deletefromlog1")->isEnabled());  // nothing left to delete
    QVERIFY(f.messages.shown.isEmpty());
  }

  void TaskListMenuCopiesAndSorts() {
    Fixture f;
    f.Start();
    f.WorkTwoTasks();
    f.window->StopButtonClick();
    QCOMPARE(f.window->SelectedItem(), -1);
    f.window->TotalListMenuPopup();
    QCOMPARE(f.window->SelectedItem(), 1);  // the last item
    QVERIFY(f.Item("Insert3")->isEnabled());
    f.window->Copy3Click(2);
    QCOMPARE(Clipboard(), QStringLiteral("0:30:00"));
    f.window->Entirerow1Click();
    QCOMPARE(Clipboard(), QStringLiteral("Code\tDev\t0:30:00\t-\t\t\t"));
    QCOMPARE(f.Find<QMenu>("Copy3")->actions().size(), 8);  // Entire row, separator, six columns

    LogGridView* grid = f.window->log_grid();
    grid->setCurrentIndex(grid->model()->index(0, 1));
    f.window->Record1Click();
    QCOMPARE(Clipboard(), QStringLiteral("9:00:00-9:30:00 (0:30:00)\tMail\tOffice\t"));
    f.window->TimeEnd1Click();
    QCOMPARE(Clipboard(), QStringLiteral("9:30:00"));

    // A click on the Task header sorts; the running task stays current.
    f.WorkTwoTasks();
    emit f.window->task_list()->header()->sectionClicked(TaskListModel::kTask);
    QCOMPARE(f.tracker->day_log().Item(0).task, QStringLiteral("Code"));
    QCOMPARE(f.tracker->day_log().Item(f.tracker->day_log().current_task).task,
             QStringLiteral("Mail"));
  }

  void TrayMenuSwitchesAndHint() {
    Fixture f;
    f.Start();
    QCOMPARE(f.window->tray_icon()->toolTip(), QStringLiteral("Total time: 0:00:00"));
    f.WorkTwoTasks();
    f.window->Timer1Timer();
    QCOMPARE(f.window->tray_icon()->toolTip(),
             QStringLiteral("Mail (Office)\nTask:0:30:00\nTotal:1:00:00"));
    f.window->PopupMenu1Popup();
    QList<QAction*> items = f.Find<QMenu>("Switchto1")->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items[0]->text(), QStringLiteral("Mail (Office)"));
    QVERIFY(items[0]->isChecked() && items[0]->isEnabled());
    QVERIFY(!items[1]->isChecked() && items[1]->isEnabled());
    QVERIFY(!f.Item("Insert1")->isEnabled());

    f.window->PauseButtonClick();
    f.window->PopupMenu1Popup();
    items = f.Find<QMenu>("Switchto1")->actions();
    QCOMPARE(items.size(), 2);  // rebuilt, not added to
    QVERIFY(items[0]->isChecked() && items[0]->isEnabled());
    QVERIFY(!items[1]->isEnabled());
    QVERIFY(f.Item("Pause1")->isChecked());

    f.window->StopButtonClick();
    f.window->PopupMenu1Popup();
    f.Find<QMenu>("Switchto1")->actions()[1]->trigger();
    QCOMPARE(f.tracker->day_log().Row(f.tracker->day_log().RowCount() - 1).task,
             QStringLiteral("Code"));
  }
};

}  // namespace ravell

QTEST_MAIN(ravell::MainWindowTest)
#include "mainwindow_test.moc"
