// The reporter's windows: the progress window, the main window's frame and
// its filter, grouping and data tree panels.
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <functional>

#include "../support/recordingmessages.h"
#include "analysisviews.h"
#include "atomicfile.h"
#include "collapsiblepanels.h"
#include "daylogrecord.h"
#include "mainwindow.h"
#include "progresswindow.h"
#include "timetext.h"

using ravell::CollapsiblePanels;
using ravell::PickerDialog;
using ravell::ProgressWindow;
using ravell::ReporterWindow;

namespace {

struct DayRecord {
  QDate date;
  const char* project;
  const char* name;
};

// A program folder with one day log per day of the records.
void WriteDayLogs(const QString& folder, const QList<DayRecord>& records) {
  QMap<QDate, QByteArray> files;
  int n = 0;
  for (const DayRecord& r : records) {
    ravell::DayLogRecord record;
    record.year = r.date.year();
    record.month = r.date.month();
    record.day = r.date.day();
    record.time_start = "9:00:00";
    record.time_end = "10:00:00";
    record.time_delta = "1:00:00";
    record.name = r.name;
    record.project = r.project;
    record.task_id = QByteArray::number(++n);
    record.rate = 1000;
    files[r.date] += ravell::ComposeDayLogRecord(record, ravell::DayLogForm::kTracker);
  }
  for (auto it = files.cbegin(); it != files.cend(); ++it) {
    ravell::WriteFileAtomic(ravell::DayLogPath(folder, it.key()), it.value());
  }
}

// Answers the next modal picker: checks the named items (all others off)
// and presses OK, after handing over what it listed.
void AnswerPicker(const QStringList& check, QStringList* listed) {
  QTimer::singleShot(0, [=] {
    auto* dialog = qobject_cast<PickerDialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Select projects"));
    QListWidget* list = dialog->CheckListBox1();
    listed->clear();
    for (int i = 0; i < list->count(); ++i) {
      *listed << list->item(i)->text();
      list->item(i)->setCheckState(check.contains(list->item(i)->text()) ? Qt::Checked
                                                                         : Qt::Unchecked);
    }
    dialog->accept();
  });
}

template <typename T>
T* Find(QWidget* window, const char* name) {
  T* found = window->findChild<T*>(QString::fromLatin1(name));
  if (!found) qFatal("no control %s", name);
  return found;
}

}  // namespace

class ReporterWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

  void ProgressWindowStartsItsTimerOnceAndTracksSteps() {
    ProgressWindow progress;
    QCOMPARE(progress.windowTitle(), QStringLiteral("Initialization Ravell Reporter..."));
    QCOMPARE(progress.size(), QSize(314, 55));
    QCOMPARE(progress.StepText(), QStringLiteral("Consolidating days reports..."));
    QVERIFY(!progress.Timer1()->isActive());
    QSignalSpy fired(progress.Timer1(), &QTimer::timeout);
    progress.show();
    QVERIFY(fired.wait(1000));
    progress.hide();
    progress.show();
    QTest::qWait(250);
    QCOMPARE(fired.count(), 1);

    progress.SetStep(QStringLiteral("Translating XML to dataset..."));
    progress.SetRange(4);
    progress.SetPosition(3);
    QCOMPARE(progress.Position(), 3);
    progress.SetPosition(13);
    QCOMPARE(progress.Position(), 4);
    progress.SetRange(10);
    QCOMPARE(progress.Position(), 0);
  }

  void MainWindowFrame() {
    ReporterWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Ravell Reporter"));
    QCOMPARE(window.size(), QSize(715, 607));
    QCOMPARE(window.minimumSize(), QSize(650, 550));
    QCOMPARE(window.Label1()->text(), QStringLiteral("Today"));
    QCOMPARE(window.LogCalendar()->selectedDate(), QDate::currentDate());

    QTabWidget* pages = window.Pages();
    QStringList visible;
    for (int i = 0; i < pages->count(); ++i) {
      if (pages->isTabVisible(i)) visible << pages->tabText(i);
    }
    QCOMPARE(visible, (QStringList{"View Totals", "View Log", "Create Report", "Data Export"}));
    QVERIFY(window.Page(QStringLiteral("Maket")) != nullptr);
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("TotalsPage"));
  }

  // Headers up to the open one on top, its content filling the space, the
  // rest at the bottom of the column.
  void PanelsStackAroundTheOpenContent() {
    ReporterWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    CollapsiblePanels* panels = window.Panels();
    QCOMPARE(panels->Header(0)->objectName(), QStringLiteral("Panel9"));
    QCOMPARE(panels->Header(1)->objectName(), QStringLiteral("Panel12"));
    QCOMPARE(panels->Header(2)->objectName(), QStringLiteral("Panel10"));
    QSignalSpy opening(panels, &CollapsiblePanels::Opening);

    struct Case {
      int click;
      int open;
      int headers_on_top;
    };
    const Case cases[] = {{2, 2, 3}, {0, 0, 1}, {1, 1, 2}, {1, 1, 2}};
    for (const Case& c : cases) {
      QTest::mouseClick(panels->Header(c.click), Qt::LeftButton);
      QCOMPARE(panels->OpenIndex(), c.open);
      panels->layout()->activate();
      const QWidget* content = panels->Content(c.open);
      QVERIFY(content->isVisible());
      for (int h = 0; h < 3; ++h) {
        const bool on_top = panels->Header(h)->geometry().bottom() <= content->geometry().top();
        QCOMPARE(on_top, h < c.headers_on_top);
        if (!on_top) QVERIFY(panels->Header(h)->geometry().bottom() >= panels->height() - 3 * 40);
      }
    }
    // The last click was on the open header: nothing happened.
    QCOMPARE(opening.count(), 3);
  }

  void StartUpShowsTheTreeOfAllRecords() {
    QTemporaryDir folder;
    WriteDayLogs(folder.path(), {{QDate(2004, 5, 12), "P", "A"},
                                 {QDate(2004, 5, 12), "P", "B"},
                                 {QDate(2004, 6, 1), "Q", "A"}});
    ravell::testing::RecordingMessages messages;
    ReporterWindow window;
    window.SetProgramFolder(folder.path());
    window.SetMessages(&messages);
    ProgressWindow progress;
    QVERIFY(window.InitForm1(progress));
    QVERIFY(messages.shown.isEmpty());

    QCOMPARE(window.Panels()->OpenIndex(), int(ReporterWindow::kTreePanel));
    QCOMPARE(window.Label1()->text(), QStringLiteral("All records"));
    QCOMPARE(window.Label2()->text(), QStringLiteral("3:00:00"));
    QCOMPARE(Find<QDateEdit>(&window, "FilterFrom")->date(), QDate(2004, 5, 12));
    QCOMPARE(Find<QDateEdit>(&window, "FilterTo")->date(), QDate(2004, 6, 1));
    QCOMPARE(window.StatusText(0), QString());
    QVERIFY(window.StatusText(1).startsWith(" Data for period from 5/12/04 to 6/1/04\n\r"));

    auto* tree = Find<QTreeView>(&window, "CustomLogTree");
    QCOMPARE(tree->currentIndex().data().toString(), QStringLiteral("All records"));
    // Selecting a node narrows the texts to its group.
    const QModelIndex year = tree->model()->index(0, 0, tree->currentIndex());
    const QModelIndex june = tree->model()->index(1, 0, year);
    tree->setCurrentIndex(june);
    QCOMPARE(window.Label1()->text(), QStringLiteral("All records: 2004: June"));
    QCOMPARE(window.Label2()->text(), QStringLiteral("1:00:00"));
    QCOMPARE(window.StatusText(0), QStringLiteral(" Number of records: 1"));

    // Expand all, Collapse all.
    Find<QAction>(&window, "ExpandAll1")->trigger();
    QVERIFY(tree->isExpanded(june));
    Find<QAction>(&window, "CollapseAll1")->trigger();
    QVERIFY(!tree->isExpanded(year));

    // Projects picker, then the task picker lists that project's tasks.
    Find<QCheckBox>(&window, "CheckerProjects")->click();
    QStringList listed;
    AnswerPicker({"Q"}, &listed);
    window.Button2Click();
    QCOMPARE(listed, (QStringList{"P", "Q"}));
    QCOMPARE(Find<QLineEdit>(&window, "FilterProjects")->text(), QStringLiteral("Q"));
    Find<QCheckBox>(&window, "CheckerTasks")->click();
    AnswerPicker({}, &listed);
    window.Button3Click();
    QCOMPARE(listed, (QStringList{"A"}));
    QCOMPARE(Find<QLineEdit>(&window, "FilterTasks")->text(), QString());
    Find<QCheckBox>(&window, "CheckerTasks")->click();
    Find<QPushButton>(&window, "StartQueryButton")->click();
    QCOMPARE(tree->currentIndex().data().toString(), QStringLiteral("Filtered"));
    QCOMPARE(window.Label2()->text(), QStringLiteral("1:00:00"));
  }

  void NoDayLogEndsTheStartUp() {
    QTemporaryDir folder;
    ravell::testing::RecordingMessages messages;
    ReporterWindow window;
    window.SetProgramFolder(folder.path());
    window.SetMessages(&messages);
    ProgressWindow progress;
    QVERIFY(!window.InitForm1(progress));
    QCOMPARE(messages.Texts(),
             QStringList{"Log records files not found. Please, strat at least one task before."});
  }

  // Each box enables its controls exactly while it is checked; the names
  // boxes empty their text when on and show "All ..." when off.
  void FilterCheckBoxRules() {
    ReporterWindow window;
    const struct {
      const char* checker;
      QStringList controls;
      const char* text;
      QString off_text;
    } cases[] = {
        {"CheckerFromTo", {"FilterFrom", "FilterTo"}, nullptr, {}},
        {"CheckerProjects", {"FilterProjects", "Button2"}, "FilterProjects", "All projects"},
        {"CheckerTasks", {"FilterTasks", "Button3"}, "FilterTasks", "All tasks"},
    };
    for (const auto& c : cases) {
      auto* checker = Find<QCheckBox>(&window, c.checker);
      for (const bool on : {false, true, false}) {
        if (checker->isChecked() != on) checker->click();
        for (const QString& name : c.controls) {
          QWidget* control = window.findChild<QWidget*>(name);
          QCOMPARE(control->isEnabled(), on);
          // Its label follows it.
          for (QLabel* label : window.findChildren<QLabel*>()) {
            if (label->buddy() == control) QCOMPARE(label->isEnabled(), on);
          }
        }
        if (c.text) {
          QCOMPARE(Find<QLineEdit>(&window, c.text)->text(), on ? QString() : c.off_text);
        }
      }
    }
  }

  void GroupingOrderEditor() {
    ReporterWindow window;
    window.Panels()->OpenPanel(ReporterWindow::kGroupingPanel);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* sort_tree = Find<QTreeWidget>(&window, "SortTree");
    const auto chain = [&] {
      QStringList texts;
      for (QTreeWidgetItem* item = sort_tree->topLevelItem(0); item;
           item = item->childCount() ? item->child(0) : nullptr) {
        // A collapsed node would show here.
        texts << (item->childCount() == 0 || item->isExpanded() ? item->text(0)
                                                                : QStringLiteral("+"));
      }
      return texts;
    };
    QCOMPARE(chain(), (QStringList{"Year", "Month", "Day", "Project", "Task"}));
    QCOMPARE(sort_tree->currentItem()->text(0), QStringLiteral("Year"));
    Find<QToolButton>(&window, "SortUp")->click();  // the top node: nothing
    QCOMPARE(chain(), (QStringList{"Year", "Month", "Day", "Project", "Task"}));
    Find<QToolButton>(&window, "SortDown")->click();
    QCOMPARE(chain(), (QStringList{"Month", "Year", "Day", "Project", "Task"}));
    QCOMPARE(sort_tree->currentItem()->text(0), QStringLiteral("Year"));
    sort_tree->collapseItem(sort_tree->topLevelItem(0));
    QCOMPARE(chain(), (QStringList{"Month", "Year", "Day", "Project", "Task"}));

    // Dropping "Task" on "Month" moves it to the top.
    auto* chain_view = qobject_cast<ravell::SortTreeWidget*>(sort_tree);
    emit chain_view->NodeDropped(4, 0);
    QCOMPARE(chain(), (QStringList{"Task", "Month", "Year", "Day", "Project"}));

    Find<QRadioButton>(&window, "RadioDateShort")->click();
    QCOMPARE(chain(), (QStringList{"Task", "Date", "Project"}));
    Find<QRadioButton>(&window, "RadioDateExpanded")->click();
    QCOMPARE(chain(), (QStringList{"Task", "Year", "Month", "Day", "Project"}));
  }

  void EmptyTreeSaysNoRecordsFound() {
    ReporterWindow window;
    window.Panels()->OpenPanel(ReporterWindow::kTreePanel);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* tree = Find<QTreeView>(&window, "CustomLogTree");
    const QImage image = tree->viewport()->grab().toImage();
    const QColor background = image.pixelColor(2, 2);
    int inked = 0;
    for (int y = 10; y < 10 + tree->fontMetrics().height(); ++y) {
      for (int x = 10; x < 10 + tree->fontMetrics().horizontalAdvance("No records found"); ++x) {
        if (image.pixelColor(x, y) != background) ++inked;
      }
    }
    QVERIFY(inked > 20);
  }
};

QTEST_MAIN(ReporterWindowTest)
#include "reporterwindow_test.moc"
