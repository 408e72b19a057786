// The pages "View Totals" and "View Log", the top bar's totals and the
// calendar's bold days, driven through the main window.
#include <QAction>
#include <QCalendarWidget>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextCharFormat>

#include "charts.h"
#include "clock.h"
#include "logpage.h"
#include "mainwindow.h"
#include "recordgrid.h"
#include "reporterviews.h"
#include "totalspage.h"

using namespace ravell;

namespace {

const QDate kToday(2004, 1, 7);

void AppendRecord(RecordTable& table, const QDate& date, const char* start, const char* end,
                  const char* delta, const char* project, const char* name) {
  table.Append();
  table.SetValue("Year", date.year());
  table.SetValue("Month", date.month());
  table.SetValue("Day", date.day());
  table.SetValue("TimeStart", start);
  table.SetValue("TimeEnd", end);
  table.SetValue("TimeDelta", delta);
  table.SetValue("Project", project);
  table.SetValue("Name", name);
  table.SetValue("Rate", 2000);
  table.Post();
}

void Fill(RecordTable& table) {
  AppendRecord(table, QDate(2003, 12, 30), "9:00:00", "10:00:00", "1:00:00", "P", "A");
  AppendRecord(table, kToday, "9:00:00", "10:00:00", "1:00:00", "P", "A");
  AppendRecord(table, kToday, "10:00:00", "10:30:00", "0:30:00", "P", "A");
  AppendRecord(table, kToday, "11:00:00", "11:15:00", "0:15:00", "P", "A");
  AppendRecord(table, kToday, "8:00:00", "8:20:00", "0:20:00", "Q", "B");
  AppendRecord(table, QDate(2004, 2, 10), "0:00:00", "23:00:00", "23:00:00", "P", "A");
  AppendRecord(table, QDate(2004, 2, 10), "23:00:00", "23:59:59", "2:00:00", "P", "A");
}

QStringList VisibleHeaders(QTableView* grid) {
  QStringList headers;
  for (int c = 0; c < grid->model()->columnCount(); ++c) {
    if (!grid->isColumnHidden(c))
      headers << grid->model()->headerData(c, Qt::Horizontal).toString();
  }
  return headers;
}

QString Cell(QTableView* grid, int row, const QString& header) {
  for (int c = 0; c < grid->model()->columnCount(); ++c) {
    if (!grid->isColumnHidden(c) && grid->model()->headerData(c, Qt::Horizontal) == header) {
      return grid->model()->index(row, c).data().toString();
    }
  }
  return QStringLiteral("<no column %1>").arg(header);
}

}  // namespace

class ReporterViewsTest : public QObject {
  Q_OBJECT

 private:
  // A window whose views are bound to tables with the records above.
  struct Fixture {
    Fixture() {
      clock.Set(kToday, QTime(12, 0));
      Fill(tables.log_records);
      Fill(tables.display_log);
      views = window.Views();
      views->SetClock(&clock);
      window.LogCalendar()->setSelectedDate(kToday);
      views->Bind(tables);
      window.resize(900, 800);
      window.show();
    }
    ManualClock clock;
    ReporterTables tables;
    ReporterWindow window;
    ReporterViews* views = nullptr;
  };

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

  void DayViewFillsTopBarGridsAndCharts() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.views->LogCalendarClick();
    QCOMPARE(f.window.Label1()->text(), QStringLiteral("Today"));
    QCOMPARE(f.window.Label2()->text(), QStringLiteral("2:05:00"));
    QCOMPARE(f.window.RateLabel()->text(), QStringLiteral("41.67"));

    QTableView* totals = f.views->Totals()->DBGrid2();
    QCOMPARE(VisibleHeaders(totals), (QStringList{"Project", "Task", "Spent time", "Rate"}));
    QCOMPARE(Cell(totals, 0, "Spent time"), QStringLiteral("1:45:00"));
    QCOMPARE(Cell(totals, 0, "Rate"), QStringLiteral("35.00"));
    QCOMPARE(totals->model()->index(0, 6).data(Qt::ForegroundRole).value<QColor>(),
             QColor(0x00, 0x80, 0x00));
    BarChart* chart = f.views->Totals()->DBChart1();
    QCOMPARE(chart->Labels(), (QStringList{"A", "B"}));
    QCOMPARE(chart->Values(), (QList<double>{6300, 1200}));
    QVERIFY(chart->TimeAxis());
    f.views->Totals()->TabControl1()->setCurrentIndex(1);
    QCOMPARE(chart->Values().value(0), 35.0);
    QVERIFY(!chart->TimeAxis());

    // The log by start time in alternating colours; one bar per record.
    QTableView* log = f.views->Log()->DBGrid1();
    QCOMPARE(log->model()->rowCount(), 4);
    QCOMPARE(Cell(log, 0, "Start time"), QStringLiteral("8:00:00"));
    QCOMPARE(log->model()->index(0, 3).data(Qt::BackgroundRole).value<QColor>(),
             QColor(0xD2, 0xDF, 0xFF));
    QCOMPARE(log->model()->index(1, 3).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    QCOMPARE(f.views->Log()->DBChart2()->Bars().size(), size_t{4});

    // A click on a totals bar selects its row.
    QTest::mouseClick(chart, Qt::LeftButton, {}, chart->BarRect(1).center());
    QCOMPARE(totals->currentIndex().row(), 1);

    // Yesterday and other days; a day of 25 hours is not wrapped.
    f.window.LogCalendar()->setSelectedDate(kToday.addDays(-1));
    QCOMPARE(f.window.Label1()->text(), QStringLiteral("Yesterday"));
    QCOMPARE(f.window.Label2()->text(), QStringLiteral("0:00:00"));
    QCOMPARE(f.window.RateLabel()->text(), QStringLiteral("0.00"));
    QCOMPARE(totals->model()->rowCount(), 0);
    f.window.LogCalendar()->setSelectedDate(QDate(2004, 2, 10));
    QCOMPARE(f.window.Label1()->text(), QStringLiteral("2/10/04"));
    QCOMPARE(Cell(totals, 0, "Spent time"), QStringLiteral("25:00:00"));
  }

  void GroupViewListsTheNextLevelAndFindsClickedRecords() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.window.Pages()->setCurrentWidget(f.window.Page(QStringLiteral("LogPage")));
    QCoreApplication::processEvents();
    const QStringList key{"Year", "Month", "Day", "Project", "Name"};
    RecordTable& display = f.tables.display_log;
    display.SetOrder(kCustom);
    display.SetRange({2004}, {2004});
    f.views->ShowGroupView(1, key);

    QTableView* totals = f.views->Totals()->DBGrid2();
    QCOMPARE(VisibleHeaders(totals), (QStringList{"Month", "Spent time", "Rate"}));
    QCOMPARE(Cell(totals, 0, "Month"), QStringLiteral("January"));
    QCOMPARE(Cell(totals, 1, "Spent time"), QStringLiteral("25:00:00"));
    QCOMPARE(f.window.Label2()->text(), QStringLiteral("27:05:00"));
    BarChart* chart = f.views->Totals()->DBChart1();
    QCOMPARE(chart->Labels(), (QStringList{"January", "February"}));
    QCOMPARE(chart->Values().value(1), 25.0);
    QVERIFY(!chart->TimeAxis());
    QCOMPARE(f.views->Period(), (ShownPeriod{kToday, QDate(2004, 2, 10)}));

    // The log lists DisplayLog; a click on a bar makes its record current.
    QTableView* log = f.views->Log()->DBGrid1();
    QCOMPARE(log->model()->rowCount(), 6);
    GanttChart* gantt = f.views->Log()->DBChart2();
    QScrollBar* scroll = f.views->Log()->ScrollBar1();
    scroll->setValue(0);
    int bar = -1;
    for (int i = 0; i < static_cast<int>(gantt->Bars().size()); ++i) {
      if (gantt->Bars()[i].start_ms == 11 * 3600000LL) bar = i;
    }
    QVERIFY(bar >= 0);
    QVERIFY(!gantt->BarRect(bar).isNull());
    QTest::mouseClick(gantt, Qt::LeftButton, {}, gantt->BarRect(bar).center());
    QCOMPARE(Cell(log, log->currentIndex().row(), "Start time"), QStringLiteral("11:00:00"));
    QCOMPARE(display.Value("TimeStart").toTime(), QTime(11, 0));
    QVERIFY(log->hasFocus());
  }

  void ScrollBarMovesTheDayAxisToTheEnd() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    RecordTable& display = f.tables.display_log;
    for (int d = 0; d < 400; d += 7) {
      AppendRecord(display, QDate(2001, 1, 1).addDays(d), "9:00:00", "10:00:00", "1:00:00", "R",
                   "C");
    }
    display.SetOrder(kCustom);
    display.CancelRange();
    f.views->ShowGroupView(0, {"Year", "Month", "Day", "Project", "Name"});
    QScrollBar* scroll = f.views->Log()->ScrollBar1();
    QVERIFY(!scroll->isHidden());
    QCOMPARE(scroll->value(), 0);
    GanttChart* gantt = f.views->Log()->DBChart2();
    QCOMPARE(gantt->DayMin(), QDate(2001, 1, 1).toJulianDay() - 1);
    scroll->setValue(scroll->maximum());
    QCOMPARE(gantt->DayMax(), f.views->Period().last.toJulianDay() + 1);
  }

  void ViewMenuHidesAndRefillsTheCharts() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.views->LogCalendarClick();
    QAction* totals_item = f.views->ShowTotalsChart();
    QAction* log_item = f.views->ShowLogChart();
    QCOMPARE(totals_item->text(), QStringLiteral("Show totals chart"));
    QCOMPARE(log_item->text(), QStringLiteral("Showl log Gannt chart"));
    QVERIFY(totals_item->isChecked() && log_item->isChecked());

    totals_item->trigger();
    QVERIFY(!totals_item->isChecked());
    QVERIFY(f.views->Totals()->ChartArea()->isHidden());
    // While hidden the chart keeps its old bars; shown again it has the new day's.
    f.window.LogCalendar()->setSelectedDate(QDate(2003, 12, 30));
    QCOMPARE(f.views->Totals()->DBChart1()->Values().size(), 2);
    totals_item->trigger();
    QVERIFY(!f.views->Totals()->ChartArea()->isHidden());
    QCOMPARE(f.views->Totals()->DBChart1()->Values(), (QList<double>{3600}));

    log_item->trigger();
    QVERIFY(f.views->Log()->Panel4()->isHidden());
    log_item->trigger();
    QVERIFY(!f.views->Log()->Panel4()->isHidden());
    QCOMPARE(f.views->Log()->DBChart2()->Bars().size(), size_t{1});
  }

  void CalendarMarksDaysWithRecordsAlsoOfTheNeighbouringMonths() {
    Fixture f;
    QCalendarWidget* calendar = f.window.LogCalendar();
    f.views->LogCalendarClick();
    f.views->RefreshCalendarMarks();
    const auto bold = [&](const QDate& date) {
      return calendar->dateTextFormat(date).fontWeight() == QFont::Bold;
    };
    QVERIFY(bold(kToday));
    QVERIFY(bold(QDate(2003, 12, 30)));  // drawn in January's first row
    QVERIFY(!bold(QDate(2004, 1, 8)));
    calendar->setCurrentPage(2004, 3);
    QVERIFY(!bold(kToday));
    QVERIFY(bold(QDate(2004, 2, 10)));
    // The day view kept its day.
    QCOMPARE(f.tables.log_records.Order(), kByTimeStart);
    QCOMPARE(f.tables.log_records.Count(), 4);
  }
};

QTEST_MAIN(ReporterViewsTest)
#include "reporterviews_test.moc"
