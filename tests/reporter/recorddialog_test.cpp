// The record dialog Form3 and the log grid's record commands in the window.
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>

#include "../support/modal.h"
#include "../support/recordingmessages.h"
#include "clock.h"
#include "logpage.h"
#include "mainwindow.h"
#include "recorddialog.h"
#include "reporterviews.h"

using namespace ravell;
using ravell::testing::RecordingMessages;
using ravell::testing::WhenModal;

namespace {

const QDate kToday(2004, 5, 10);
const QDate kPast(2004, 5, 3);

RecordDialogValues Values(const Clock* clock) {
  RecordDialogValues values;
  values.caption = "Change record";
  values.projects = {"Acme", "Zed"};
  values.project = "Acme";
  values.tasks = {"Logo", "Mail"};
  values.task = "Mail";
  values.rate = "12.50";
  values.date = kPast;
  values.start = QTime(9, 0);
  values.end = QTime(10, 0);
  values.delta = QTime(1, 0);
  values.tasks_of = [](const QString& project) {
    return project == "Zed" ? QStringList{"Call", "Plan"} : QStringList();
  };
  values.clock = clock;
  return values;
}

void AppendRecord(RecordTable& table, const QDate& date, const char* start, const char* id) {
  table.Append();
  table.SetValue("Year", date.year());
  table.SetValue("Month", date.month());
  table.SetValue("Day", date.day());
  table.SetValue("TimeStart", start);
  table.SetValue("TimeEnd", start);
  table.SetValue("TimeDelta", "1:00:00");
  table.SetValue("Project", "Acme");
  table.SetValue("Name", "Mail");
  table.SetValue("TaskId", id);
  table.SetValue("Rate", 1250);
  table.Post();
}

}  // namespace

class RecordDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

  void EveryInputHasItsLabel() {
    RecordingMessages messages;
    RecordDialogForm form(messages);
    const QList<QPair<const char*, QWidget*>> expected = {
        {"From", form.TimeStart()},        {"To", form.TimeEnd()}, {"Delta:", form.TimeDelta()},
        {"Project:", form.ComboProject()}, {"Rate:", form.Rate()}, {"Task:", form.ComboTasks()},
        {"Date:", form.RecordDate()}};
    for (const auto& [text, input] : expected) {
      bool found = false;
      for (QLabel* label : form.findChildren<QLabel*>()) {
        if (label->text() == QLatin1String(text)) found = label->buddy() == input;
      }
      QVERIFY2(found, text);
    }
    QCOMPARE(form.objectName(), QStringLiteral("Form3"));
    QCOMPARE(form.ButOK()->objectName(), QStringLiteral("ButOK"));
    QCOMPARE(form.ButCancel()->text(), QStringLiteral("Cancel"));
  }

  void OkKeepsTheDialogOpenUntilTheInputPasses() {
    ManualClock clock;
    clock.Set(kToday, QTime(12, 0));
    RecordingMessages messages;
    RecordDialogForm form(messages);
    RecordDialogValues values = Values(&clock);
    QStringList steps;
    WhenModal([&](QWidget* modal) {
      QCOMPARE(modal, &form);
      QCOMPARE(form.windowTitle(), QStringLiteral("Change record"));
      QCOMPARE(form.ComboProject()->currentText(), QStringLiteral("Acme"));
      QCOMPARE(form.ComboTasks()->currentText(), QStringLiteral("Mail"));
      const auto ok = [&](QWidget* expected_focus) {
        QTest::mouseClick(form.ButOK(), Qt::LeftButton);
        steps << (form.isVisible() ? "open" : "closed");
        if (expected_focus) QCOMPARE(form.focusWidget(), expected_focus);
      };
      form.Rate()->setText("12,5");
      ok(form.Rate());
      form.Rate()->clear();
      form.RecordDate()->setDate(kToday);
      ok(form.RecordDate());
      QCOMPARE(form.Rate()->text(), QStringLiteral("0"));
      form.RecordDate()->setDate(kPast.addDays(1));
      form.ComboProject()->setEditText("");
      ok(form.ComboProject());
      form.ComboProject()->setEditText("Zed");  // takes its first task
      form.ComboTasks()->setEditText("");
      ok(form.ComboTasks());
      form.ComboTasks()->setEditText("Plan");
      ok(nullptr);
    });
    QVERIFY(form.Execute(values));
    QCOMPARE(steps, (QStringList{"open", "open", "open", "open", "closed"}));
    QCOMPARE(messages.Texts(),
             (QStringList{"Please type correct rate", "Please use the Ravell for today records",
                          "Please define the Project", "Please define the Task name"}));
    QCOMPARE(messages.shown.value(0).icon, MsgIcon::kWarning);
    QCOMPARE(values.project, QStringLiteral("Zed"));
    QCOMPARE(values.task, QStringLiteral("Plan"));
    QCOMPARE(values.rate, QStringLiteral("0"));
    QCOMPARE(values.date, kPast.addDays(1));

    // Cancel hands nothing back.
    RecordDialogValues untouched = Values(&clock);
    WhenModal([&](QWidget*) { QTest::mouseClick(form.ButCancel(), Qt::LeftButton); });
    QVERIFY(!form.Execute(untouched));
  }

  void TimesAndTasksFollowTheirFields() {
    RecordingMessages messages;
    RecordDialogForm form(messages);
    form.Fill(Values(nullptr));
    form.TimeStart()->setTime(QTime(23, 30));
    QCOMPARE(form.TimeEnd()->time(), QTime(0, 30));
    QCOMPARE(form.TimeDelta()->time(), QTime(1, 0));
    form.TimeEnd()->setTime(QTime(1, 0));
    QCOMPARE(form.TimeDelta()->time(), QTime(1, 30));
    form.TimeDelta()->setTime(QTime(2, 0));
    QCOMPARE(form.TimeEnd()->time(), QTime(1, 30));
    QCOMPARE(form.TimeStart()->time(), QTime(23, 30));

    form.ComboProject()->setCurrentIndex(1);  // "Zed", chosen from the list
    QCOMPARE(form.ComboTasks()->count(), 2);
    QCOMPARE(form.ComboTasks()->currentText(), QStringLiteral("Call"));
    form.ComboProject()->setEditText("New project");
    QCOMPARE(form.ComboTasks()->count(), 0);
    QCOMPARE(form.ComboTasks()->currentText(), QString());
  }

  void LogGridCommandsInTheWindow() {
    QTemporaryDir folder;
    ManualClock clock;
    clock.Set(kToday, QTime(12, 0));
    RecordingMessages messages;
    ReporterWindow window;
    window.SetProgramFolder(folder.path());
    window.SetMessages(&messages);
    ReporterViews* views = window.Views();
    AppendRecord(window.Tables().log_records, kPast, "9:00:00", "20040503000001");
    AppendRecord(window.Tables().log_records, kToday, "9:00:00", "20040510000001");
    views->Bind(window.Tables());
    views->SetClock(&clock);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    LogPage* page = views->Log();
    QMenu* popup = page->DBGridPopup();
    QCOMPARE(popup->objectName(), QStringLiteral("DBGridPopup"));
    const auto enabled = [&] {
      emit popup->aboutToShow();
      return QString("%1%2%3")
          .arg(page->Edit1()->isEnabled())
          .arg(page->Insert1()->isEnabled())
          .arg(page->Delete1()->isEnabled());
    };
    window.LogCalendar()->setSelectedDate(kToday.addDays(-1));  // a day without records
    QCOMPARE(enabled(), QStringLiteral("010"));
    window.LogCalendar()->setSelectedDate(kToday);
    QCOMPARE(enabled(), QStringLiteral("111"));

    // A double click on today's record refuses without the dialog.
    QTableView* grid = page->DBGrid1();
    grid->selectRow(0);
    emit grid->doubleClicked(grid->model()->index(0, 0));
    QCOMPARE(messages.Texts().value(0),
             QStringLiteral("You can not change today records from Rv Reporter.\rPlease use the "
                            "Ravell."));
    QVERIFY(!window.Form3()->isVisible());

    // A past record through the dialog: its day's file is written.
    window.LogCalendar()->setSelectedDate(kPast);
    grid->selectRow(0);
    WhenModal([&](QWidget*) {
      window.Form3()->ComboTasks()->setEditText("Changed");
      QTest::mouseClick(window.Form3()->ButOK(), Qt::LeftButton);
    });
    page->Edit1()->trigger();
    QFile file(folder.path() + "/Log/2004/5/2004_5_3.tl");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("<Name>Changed</Name>"));
    QCOMPARE(grid->currentIndex().row(), 0);
    QCOMPARE(grid->model()->index(0, 4).data().toString(), QStringLiteral("Changed"));
    QCOMPARE(messages.shown.size(), 1);
  }
};

QTEST_MAIN(RecordDialogTest)
#include "recorddialog_test.moc"
