// The reporter's windows: the progress window and the main window's frame.
#include <QCalendarWidget>
#include <QLabel>
#include <QLayout>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "collapsiblepanels.h"
#include "mainwindow.h"
#include "progresswindow.h"

using ravell::CollapsiblePanels;
using ravell::ProgressWindow;
using ravell::ReporterWindow;

class ReporterWindowTest : public QObject {
  Q_OBJECT

 private slots:
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
    progress.SetRange(0, 4);
    progress.Advance();
    progress.Advance(2);
    QCOMPARE(progress.Position(), 3);
    progress.Advance(9);
    QCOMPARE(progress.Position(), 4);
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
};

QTEST_MAIN(ReporterWindowTest)
#include "reporterwindow_test.moc"
