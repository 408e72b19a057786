// The project dialog, the to-do tree binder, the planning dialogs and the
// log grid's row selection, driven through their widgets.
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QTreeWidget>
#include <QtTest>

#include "../support/fakes.h"
#include "../support/modal.h"
#include "atomicfile.h"
#include "daylogviews.h"
#include "planningdialogs.h"
#include "projectdialog.h"
#include "todotree.h"
#include "todotreeview.h"
#include "tracker.h"

namespace ravell {

using testing::Child;
using testing::WhenModal;

class PlanningViewsTest : public QObject {
  Q_OBJECT

 private slots:
  void ProjectDialogChecksTheFields_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("rate_after");  // empty: refused
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("focus");
    const QString not_a_number = "Please set rate as float number";
    // clang-format off
    QTest::newRow("fraction") << "Design" << "12.5" << "12.50" << "" << "";
    QTest::newRow("whole") << "Design" << "7" << "7.00" << "" << "";
    QTest::newRow("exponent") << "Design" << "1e1" << "10.00" << "" << "";
    QTest::newRow("negative") << "" << " -3" << "-3.00" << "" << "";
    QTest::newRow("lone point") << "Design" << "." << "0.00" << "" << "";
    QTest::newRow("text") << "Design" << "abc" << "" << not_a_number << "Rate";
    QTest::newRow("empty") << "Design" << "" << "" << not_a_number << "Rate";
    QTest::newRow("comma") << "Design" << "12,5" << "" << not_a_number << "Rate";
    QTest::newRow("equals") << "A=B" << "1" << ""
        << "A project name cannot hold \"=\": it separates the name from the rate in projects.lst."
        << "Project";
    QTest::newRow("tab") << "A\tB" << "1" << ""
        << "A project name cannot hold tabs or line breaks." << "Project";
    // clang-format on
  }
  void ProjectDialogChecksTheFields() {
    QFETCH(QString, name);
    QFETCH(QString, rate);
    QFETCH(QString, rate_after);
    QFETCH(QString, warning);
    QFETCH(QString, focus);
    testing::RecordingMessages messages;
    ProjectDialog dialog(&messages);
    dialog.SetFields("Project rate", "x", "0.00");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Child<QLineEdit>(&dialog, "Project")->setText(name);
    Child<QLineEdit>(&dialog, "Rate")->setText(rate);
    Child<QPushButton>(&dialog, "Button1")->click();

    QCOMPARE(dialog.isVisible(), rate_after.isEmpty());
    QCOMPARE(messages.Texts().join('|'), warning);
    if (!rate_after.isEmpty()) {
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      QCOMPARE(dialog.RateText(), rate_after);
    } else {
      QCOMPARE(dialog.RateText(), rate);
      QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }
  }

  void ProjectDialogLabelsAndButtons() {
    ProjectDialog dialog(nullptr);
    QCOMPARE(dialog.objectName(), QStringLiteral("TForm8"));
    QMap<QString, QString> label_of;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      if (label->buddy()) label_of[label->buddy()->objectName()] = label->text();
    }
    QCOMPARE(label_of, (QMap<QString, QString>{{"Project", "Project name:"}, {"Rate", "Rate:"}}));
    QVERIFY(Child<QPushButton>(&dialog, "Button1")->isDefault());
    dialog.SetFields("New project", "", "0.00");
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("New project"));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }

  void TreeViewMirrorsTheModel() {
    ToDoTree model;
    ToDoNode* design = model.AddTopLevel("Design");
    model.AddChild(design, "Logo");
    ToDoNode* web = model.AddTopLevel("Web");
    ToDoNode* site = model.AddChild(web, "Site");
    QTreeWidget widget;
    widget.setObjectName("ToDoTree");
    ToDoTreeView view(&widget, model);
    widget.resize(200, 300);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));

    QCOMPARE(widget.topLevelItemCount(), 2);
    QCOMPARE(widget.topLevelItem(1)->child(0)->text(0), QStringLiteral("Site"));
    QVERIFY(!widget.topLevelItem(0)->icon(0).isNull());
    QCOMPARE(widget.accessibleName(), QStringLiteral("To-do tree"));

    // The user's selection and expansion reach the model and survive a rebuild.
    widget.setCurrentItem(view.ItemOf(site));
    QCOMPARE(model.selected(), site);
    QVERIFY(web->expanded);
    model.AddChild(design, "Card");
    QCOMPARE(view.NodeOf(widget.currentItem()), site);
    QVERIFY(view.ItemOf(web)->isExpanded());
    QVERIFY(!view.ItemOf(design)->isExpanded());

    // A long name shows whole: the tree scrolls across rather than cutting it.
    model.AddChild(web, "A planned task with a rather long name");
    QTRY_VERIFY(widget.header()->sectionSize(0) > widget.viewport()->width());

    model.SetAllExpanded(true);
    QVERIFY(view.ItemOf(design)->isExpanded());
    model.SetAllExpanded(false);
    QVERIFY(!view.ItemOf(web)->isExpanded());

    // A right click selects the row under the pointer, wherever across it.
    const QRect row = widget.visualItemRect(view.ItemOf(design));
    QTest::mouseClick(widget.viewport(), Qt::RightButton, {}, QPoint(190, row.center().y()));
    QCOMPARE(model.selected(), design);

    model.Delete(design);
    QCOMPARE(model.selected(), nullptr);
    QCOMPARE(widget.currentItem(), nullptr);
  }

  void InsertAndChangeDialogsGiveTheRecord() {
    QTemporaryDir folder;
    WriteFileAtomic(folder.path() + "/ravell.ini", "[Storage]\r\nTarget=Log\r\n");
    WriteFileAtomic(folder.path() + "/todo.tre", "Design\r\n\tLogo\r\n\tCard\r\n");
    ManualClock clock(EncodeDate(QDate(2004, 3, 7)) + EncodeTime(12, 0, 0));
    testing::RecordingMessages messages;
    Tracker tracker({folder.path(), &clock, &messages, {}});
    tracker.Start(nullptr);
    QWidget owner;
    PlanningDialogs dialogs(&owner, tracker);

    QStringList planned;
    WhenModal([&planned](QWidget* modal) {
      QCOMPARE(modal->windowTitle(), QStringLiteral("Insert record"));
      auto* tasks = Child<QComboBox>(modal, "Edit1");
      for (int i = 0; i < tasks->count(); ++i) planned << tasks->itemText(i);
      QCOMPARE(Child<QTimeEdit>(modal, "TimeStart")->time(), QTime(11, 0));
      Child<QTimeEdit>(modal, "TimeStart")->setTime(QTime(9, 0));
      Child<QTimeEdit>(modal, "TimeEnd")->setTime(QTime(9, 45));
      Child<QPushButton>(modal, "SpeedButton1")->click();
    });
    QCOMPARE(tracker.log_edit().InputInsertTask("Design", "Logo"), 0);
    QCOMPARE(planned, (QStringList{"Card", "Logo"}));  // sorted at start-up
    QCOMPARE(tracker.day_log().Row(0).time_frame, QStringLiteral("9:00:00-9:45:00 (0:45:00)"));

    WhenModal([](QWidget* modal) {
      QCOMPARE(modal->windowTitle(), QStringLiteral("Change record"));
      QCOMPARE(Child<QTimeEdit>(modal, "TimeDelta")->time(), QTime(0, 45));
      Child<QTimeEdit>(modal, "TimeStart")->setTime(QTime(8, 0));
      Child<QPushButton>(modal, "CreateTaskButton")->click();
    });
    tracker.log_edit().Edit1Click(0);
    QCOMPARE(tracker.day_log().Row(0).time_frame, QStringLiteral("8:00:00-8:45:00 (0:45:00)"));
    QVERIFY(messages.shown.isEmpty());
  }

  void LogGridSelectsTheLastRowBelowTheRows() {
    ProjectList projects;
    DayLog log(projects);
    log.AppendRow({"8:00:00-9:00:00 (1:00:00)", "A", "P", "1"});
    log.AppendRow({"9:00:00-9:30:00 (0:30:00)", "B", "P", "2"});
    LogGridModel model(log);
    LogGridView grid;
    grid.setModel(&model);
    grid.resize(400, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, QPoint(10, 150));
    QCOMPARE(grid.currentIndex().row(), 1);
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, QPoint(10, 2));
    QCOMPARE(grid.currentIndex().row(), 0);
  }
};

}  // namespace ravell

QTEST_MAIN(ravell::PlanningViewsTest)
#include "planningviews_test.moc"
