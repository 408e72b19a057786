// The main window over a real tracker in a scratch program folder.
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "../support/fakegui.h"
#include "../support/fakes.h"
#include "atomicfile.h"
#include "mainwindow.h"

namespace ravell {

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
    QString Panel(int i) {
      return window->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i))->text();
    }
  };

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
    f.window->ExitButtonClick();
    QVERIFY(!f.window->isVisible());
    QCOMPARE(calls->last(), QStringLiteral("Terminate"));
  }
};

}  // namespace ravell

QTEST_MAIN(ravell::MainWindowTest)
#include "mainwindow_test.moc"
