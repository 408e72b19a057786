// The task dialog in each of its modes, driven through its controls.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimeEdit>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <functional>

#include "taskdialog.h"

namespace ravell {

namespace {

struct Harness {
  QStringList calls;
  QStringList warnings;

  TaskDialogHooks Hooks(bool with_warn = true) {
    TaskDialogHooks hooks;
    hooks.projects = {QStringLiteral("Alpha"), QStringLiteral("Beta")};
    hooks.rate_text = [](const QString& project) {
      return project == QLatin1String("Alpha") ? QStringLiteral("12.5") : QString();
    };
    hooks.planned_tasks = [](const QString& project) {
      if (project == QLatin1String("Alpha")) return QStringList{"Design", "Review"};
      if (project == QLatin1String("Beta")) return QStringList{"Ship"};
      return QStringList{};
    };
    hooks.new_task = [this](const QString& project, const QString& task) {
      calls << "new|" + project + "|" + task;
    };
    hooks.insert_task = [this](const QString& project, const QString& task, QTime start,
                               QTime end) {
      calls << "insert|" + project + "|" + task + "|" + start.toString("H:mm:ss") + "|" +
                   end.toString("H:mm:ss");
    };
    if (with_warn) hooks.warn = [this](const QString& text) { warnings << text; };
    return hooks;
  }
};

template <typename T>
T* Child(const QWidget& dialog, const char* name) {
  T* child = dialog.findChild<T*>(QLatin1String(name));
  if (!child) qFatal("no child %s", name);
  return child;
}

QLineEdit* TaskBox(const QWidget& dialog) { return Child<QComboBox>(dialog, "Edit1")->lineEdit(); }

QStringList Items(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

QString Times(const TaskDialog& dialog) {
  return dialog.StartTime().toString("H:mm:ss") + " " + dialog.EndTime().toString("H:mm:ss") + " " +
         dialog.DeltaTime().toString("H:mm:ss");
}

void Press(const QString& via, TaskDialog& dialog) {
  if (via == "enter") {
    QTest::keyClick(TaskBox(dialog), Qt::Key_Return);
  } else {
    Child<QPushButton>(dialog, via.toLatin1().constData())->click();
  }
}

}  // namespace

class TaskDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void LaysOutEachMode_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("pickers");
    QTest::addColumn<QString>("buttons");  // visible, left to right
    QTest::addColumn<QString>("default_button");
    // clang-format off
    QTest::newRow("New") << "New" << "New task" << QSize(367, 68) << false << "" << "";
    QTest::newRow("Add ToDo") << "Add ToDo" << "Add To Do" << QSize(367, 68) << false << "" << "";
    QTest::newRow("Insert") << "Insert" << "Insert record" << QSize(367, 110) << true << "" << "";
    QTest::newRow("Pause") << "Pause" << "Create pause task" << QSize(333, 110) << false
                           << "Skip this time,Create task,Cancel pause" << "Create task";
    QTest::newRow("Change") << "Change" << "Change record" << QSize(333, 145) << true
                            << "Change,Cancel" << "Change";
    // clang-format on
  }
  void LaysOutEachMode() {
    QFETCH(QString, mode);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(bool, pickers);
    QFETCH(QString, buttons);
    QFETCH(QString, default_button);
    Harness h;
    TaskDialog dialog(h.Hooks());
    QVERIFY(dialog.SetMode(mode));
    dialog.show();

    QCOMPARE(dialog.objectName(), QStringLiteral("TForm2"));
    QCOMPARE(dialog.windowTitle(), caption);
    QCOMPARE(dialog.size(), size);
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    for (const char* name : {"ComboProject", "Edit1", "SpeedButton1"}) {
      QVERIFY2(Child<QWidget>(dialog, name)->isVisible(), name);
    }
    QVERIFY(!Child<QLineEdit>(dialog, "Rate")->isVisible());
    for (const char* name : {"TimeStart", "TimeEnd", "TimeDelta"}) {
      QCOMPARE(Child<QTimeEdit>(dialog, name)->isVisible(), pickers);
    }

    QList<QPushButton*> shown;
    QString default_text;
    for (const char* name : {"SkipTimeButton", "CreateTaskButton", "CancelPauseButton"}) {
      auto* button = Child<QPushButton>(dialog, name);
      if (button->isVisible()) shown << button;
      if (button->isVisible() && button->isDefault()) default_text = button->text();
    }
    std::sort(shown.begin(), shown.end(),
              [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
    QStringList texts;
    for (QPushButton* button : shown) {
      texts << button->text();
      QCOMPARE(button->y(), shown.first()->y());  // one row
    }
    QCOMPARE(texts.join(','), buttons);
    QCOMPARE(default_text, default_button);
    if (mode == "Change") {
      const int centre = (shown.first()->geometry().left() + shown.last()->geometry().right()) / 2;
      QVERIFY(qAbs(centre - dialog.width() / 2) <= 1);
      QVERIFY(shown.first()->y() > Child<QTimeEdit>(dialog, "TimeStart")->geometry().bottom());
    }

    // Whatever shows lies wholly inside the client area, without overlaps.
    QList<QWidget*> visible;
    for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (!child->isVisible()) continue;
      QVERIFY2(dialog.rect().contains(child->geometry()), qPrintable(child->objectName()));
      for (QWidget* other : visible) {
        QVERIFY2(!other->geometry().intersects(child->geometry()),
                 qPrintable(other->objectName() + " overlaps " + child->objectName()));
      }
      visible << child;
    }
  }

  void EveryInputHasALabel() {
    Harness h;
    TaskDialog dialog(h.Hooks());
    dialog.SetMode("Insert");
    dialog.show();
    QMap<QString, QString> label_of;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      if (label->buddy()) label_of[label->buddy()->objectName()] = label->text();
    }
    const QMap<QString, QString> expected{{"ComboProject", "Project:"},
                                          {"Edit1", "Task:"},
                                          {"TimeStart", "From"},
                                          {"TimeEnd", "To"},
                                          {"TimeDelta", "Delta:"}};
    QCOMPARE(label_of, expected);
  }

  void InitProjectsAppendsUndefined() {
    Harness h;
    TaskDialog dialog(h.Hooks());
    auto* projects = Child<QComboBox>(dialog, "ComboProject");
    QCOMPARE(Items(projects), (QStringList{"Alpha", "Beta", "Undefined"}));
    QCOMPARE(dialog.ProjectText(), QStringLiteral("Alpha"));

    TaskDialogHooks none;  // setup mode: no projects at all
    TaskDialog empty(none);
    QCOMPARE(Items(Child<QComboBox>(empty, "ComboProject")), QStringList{"Undefined"});
    empty.SetMode("New");
    empty.show();  // hooks unset: no rate, no planned tasks, no crash
    QCOMPARE(empty.RateText(), QString());
    QCOMPARE(Child<QComboBox>(empty, "Edit1")->count(), 0);
  }

  void ProjectChangeSetsRateAndPlannedTasks() {
    Harness h;
    TaskDialog dialog(h.Hooks());
    dialog.SetTaskText("Typed");
    dialog.show();
    auto* tasks = Child<QComboBox>(dialog, "Edit1");
    QCOMPARE(dialog.RateText(), QStringLiteral("12.5"));
    QCOMPARE(Items(tasks), (QStringList{"Design", "Review"}));
    QCOMPARE(dialog.TaskText(), QStringLiteral("Typed"));

    Child<QComboBox>(dialog, "ComboProject")->setCurrentIndex(1);
    QCOMPARE(dialog.RateText(), QString());
    QCOMPARE(Items(tasks), QStringList{"Ship"});
    QCOMPARE(dialog.TaskText(), QStringLiteral("Typed"));  // the refill keeps what was typed

    // Typing a project that has no node empties the list.
    QTest::keyClicks(Child<QComboBox>(dialog, "ComboProject")->lineEdit(), "x");
    QCOMPARE(tasks->count(), 0);
  }

  void PresetsShowInTheControls() {
    Harness h;
    TaskDialog dialog(h.Hooks());
    dialog.SetProjectText("Beta");
    dialog.SetTaskText("Ship");
    dialog.SetTimes(QTime(9, 0, 0, 600), QTime(9, 45));
    dialog.SetMode("Change");
    dialog.show();
    QCOMPARE(Child<QComboBox>(dialog, "ComboProject")->currentIndex(), 1);
    QCOMPARE(dialog.ProjectText(), QStringLiteral("Beta"));
    QCOMPARE(dialog.TaskText(), QStringLiteral("Ship"));
    QCOMPARE(Times(dialog), QStringLiteral("9:00:00 9:45:00 0:45:00"));
    QCOMPARE(dialog.StartTime().msec(), 0);  // the pickers hold whole seconds

    dialog.SetProjectText("Gamma");  // not in the list: typed text
    QCOMPARE(dialog.ProjectText(), QStringLiteral("Gamma"));
  }

  void PickersFollowEachOther() {
    Harness h;
    TaskDialog dialog(h.Hooks());
    dialog.SetMode("Insert");
    dialog.SetTimes(QTime(9, 0), QTime(10, 0));
    dialog.show();
    auto* start = Child<QTimeEdit>(dialog, "TimeStart");
    auto* end = Child<QTimeEdit>(dialog, "TimeEnd");
    auto* delta = Child<QTimeEdit>(dialog, "TimeDelta");
    struct Step {
      QTimeEdit* picker;
      QTime value;
      const char* expected;  // start end delta
    };
    const Step steps[] = {
        {start, QTime(9, 30), "9:30:00 10:30:00 1:00:00"},   // end moves, delta kept
        {end, QTime(11, 0), "9:30:00 11:00:00 1:30:00"},     // delta follows
        {delta, QTime(0, 15), "9:30:00 9:45:00 0:15:00"},    // end follows
        {start, QTime(23, 50), "23:50:00 0:05:00 0:15:00"},  // wraps at midnight
        {end, QTime(23, 0), "23:50:00 23:00:00 23:10:00"},   // end before start wraps too
        {delta, QTime(0, 0), "23:50:00 23:50:00 0:00:00"},
    };
    for (const Step& step : steps) {
      step.picker->setTime(step.value);
      QCOMPARE(Times(dialog), QString::fromLatin1(step.expected));
    }
    // Typing into a picker runs the same rules.
    delta->setFocus();
    delta->setSelectedSection(QDateTimeEdit::HourSection);
    QTest::keyClick(delta, Qt::Key_Up);
    QCOMPARE(Times(dialog), QStringLiteral("23:50:00 0:50:00 1:00:00"));
  }

  void ConfirmsByMode_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("via");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("call");
    // clang-format off
    QTest::newRow("New, Enter")            << "New"      << "enter"             << 1
                                           << "new|Alpha|Write";
    QTest::newRow("New, OK")               << "New"      << "SpeedButton1"      << 1
                                           << "new|Alpha|Write";
    QTest::newRow("Insert, Enter")         << "Insert"   << "enter"             << 1
                                           << "insert|Alpha|Write|9:00:00|10:00:00";
    QTest::newRow("Add ToDo, Enter")       << "Add ToDo" << "enter"             << 1 << "";
    QTest::newRow("Pause, Enter")          << "Pause"    << "enter"             << 1 << "";
    QTest::newRow("Pause, OK")             << "Pause"    << "SpeedButton1"      << 1 << "";
    QTest::newRow("Pause, Create task")    << "Pause"    << "CreateTaskButton"  << 1 << "";
    QTest::newRow("Pause, Cancel pause")   << "Pause"    << "CancelPauseButton" << 2 << "";
    QTest::newRow("Pause, Skip this time") << "Pause"    << "SkipTimeButton"    << 5 << "";
    // Only the Change button confirms a change.
    QTest::newRow("Change, Enter")         << "Change"   << "enter"             << 2 << "";
    QTest::newRow("Change, OK")            << "Change"   << "SpeedButton1"      << 2 << "";
    QTest::newRow("Change, Change")        << "Change"   << "CreateTaskButton"  << 1 << "";
    QTest::newRow("Change, Cancel")        << "Change"   << "CancelPauseButton" << 2 << "";
    // clang-format on
  }
  void ConfirmsByMode() {
    QFETCH(QString, mode);
    QFETCH(QString, via);
    QFETCH(int, result);
    QFETCH(QString, call);
    Harness h;
    TaskDialog dialog(h.Hooks());
    dialog.SetMode(mode);
    dialog.SetTaskText("Write");
    dialog.SetTimes(QTime(9, 0), QTime(10, 0));
    dialog.show();
    dialog.setResult(-1);
    Press(via, dialog);
    QCOMPARE(dialog.result(), result);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(h.calls, call.isEmpty() ? QStringList() : QStringList{call});
    QCOMPARE(dialog.ProjectText(), QStringLiteral("Alpha"));
    QCOMPARE(dialog.TaskText(), QStringLiteral("Write"));
  }

  void EveryOtherCloseIsCancel() {
    const std::function<void(TaskDialog&)> closers[] = {
        [](TaskDialog& d) { QTest::keyClick(TaskBox(d), Qt::Key_Escape); },
        [](TaskDialog& d) { QTest::keyClick(Child<QComboBox>(d, "ComboProject"), Qt::Key_Escape); },
        [](TaskDialog& d) { d.close(); },
    };
    for (const auto& close : closers) {
      Harness h;
      TaskDialog dialog(h.Hooks());
      dialog.SetMode("Pause");
      QTimer::singleShot(0, &dialog, [&] { close(dialog); });
      QCOMPARE(dialog.exec(), 2);
      QVERIFY(h.calls.isEmpty());
    }
  }

  void RefusesNamesThatBreakTheFiles_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("task");
    QTest::addColumn<QString>("via");
    QTest::addColumn<QString>("warning");
    const QString breaks = "Task and project names cannot hold tabs or line breaks.";
    // The project dialog's own words: the name would end at "=" in projects.lst.
    const QString equals =
        "A project name cannot hold \"=\": it separates the name from the rate in projects.lst.";
    // clang-format off
    QTest::newRow("tab in task, New")      << "New"      << "Alpha"   << "a\tb"  << "enter" << breaks;
    QTest::newRow("LF in project, Insert") << "Insert"   << "Al\npha" << "Write" << "enter" << breaks;
    QTest::newRow("CR in task, Add ToDo")  << "Add ToDo" << "Alpha"   << "a\rb"  << "SpeedButton1"
                                           << breaks;
    QTest::newRow("tab in project, Pause") << "Pause"    << "Al\tpha" << "Write"
                                           << "CreateTaskButton" << breaks;
    QTest::newRow("LF in task, Change")    << "Change"   << "Alpha"   << "a\nb"
                                           << "CreateTaskButton" << breaks;
    QTest::newRow("= in project, New")     << "New"      << "A=B"     << "Write" << "enter" << equals;
    QTest::newRow("= in project, Add ToDo") << "Add ToDo" << "="      << "Write" << "SpeedButton1"
                                            << equals;
    QTest::newRow("= in project, Insert")  << "Insert"   << "Rate=5"  << "Write" << "enter" << equals;
    // clang-format on
  }
  void RefusesNamesThatBreakTheFiles() {
    QFETCH(QString, mode);
    QFETCH(QString, project);
    QFETCH(QString, task);
    QFETCH(QString, via);
    QFETCH(QString, warning);
    Harness h;
    TaskDialog dialog(h.Hooks());
    dialog.SetMode(mode);
    dialog.SetTimes(QTime(9, 0), QTime(10, 0));
    dialog.show();
    dialog.SetProjectText(project);
    dialog.SetTaskText(task);
    Press(via, dialog);
    QVERIFY(dialog.isVisible());
    QVERIFY(h.calls.isEmpty());
    QCOMPARE(h.warnings, QStringList{warning});

    // Put right, the same action goes through; "=" in a task name harms no file.
    dialog.SetProjectText("Alpha");
    dialog.SetTaskText("Write = draft");
    Press(via, dialog);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), 1);
  }

  void RefusesARecordThatEndsBeforeItStarts() {
    for (const char* mode : {"Insert", "Change"}) {
      Harness h;
      TaskDialog dialog(h.Hooks());
      dialog.SetMode(mode);
      dialog.SetTimes(QTime(10, 0), QTime(9, 0));
      dialog.show();
      Press(QString(mode) == "Insert" ? "enter" : "CreateTaskButton", dialog);
      QVERIFY2(dialog.isVisible(), mode);
      QVERIFY(h.calls.isEmpty());
      QCOMPARE(h.warnings, QStringList{"A record cannot end before it starts."});
    }
  }

  void RefusalShowsAWarningBox() {
    Harness h;
    TaskDialog dialog(h.Hooks(/*with_warn=*/false));
    dialog.SetMode("New");
    dialog.SetTaskText("a\tb");
    dialog.show();
    QString shown;
    QTimer closer;  // answers the box once it runs its own loop
    connect(&closer, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      shown = box->text();
      box->accept();
      closer.stop();
    });
    closer.start(10);
    QTest::keyClick(TaskBox(dialog), Qt::Key_Return);
    QCOMPARE(shown, QStringLiteral("Task and project names cannot hold tabs or line breaks."));
    QVERIFY(dialog.isVisible());
    QVERIFY(h.calls.isEmpty());
  }

  void CentresOnAVisibleOwnerOnly() {
    QWidget owner;
    owner.setGeometry(40, 60, 500, 400);
    owner.show();
    {
      Harness h;
      TaskDialog dialog(h.Hooks(), &owner);
      dialog.show();
      QCOMPARE(dialog.frameGeometry().center(), owner.frameGeometry().center());
    }
    owner.hide();
    Harness h;
    TaskDialog dialog(h.Hooks(), &owner);
    dialog.SetMode("New");
    dialog.show();
    const QRect screen = owner.screen()->availableGeometry();
    QCOMPARE(dialog.frameGeometry().center(), screen.center());
    // Confirming from the tray leaves the hidden main window hidden.
    QTest::keyClick(TaskBox(dialog), Qt::Key_Return);
    QCOMPARE(h.calls, QStringList{"new|Alpha|"});
    QVERIFY(!owner.isVisible());
  }

  void UnknownModeIsRefused() {
    Harness h;
    TaskDialog dialog(h.Hooks());
    QVERIFY(dialog.SetMode("Insert"));
    QVERIFY(!dialog.SetMode("insert"));
    QCOMPARE(dialog.mode(), QStringLiteral("Insert"));
  }
};

}  // namespace ravell

QTEST_MAIN(ravell::TaskDialogTest)
#include "taskdialog_test.moc"
