#include "totals.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QTime>

#include "../support/logrecord.h"
namespace ravell {
namespace {

struct Row {
  QDate date;
  QString start, delta, project, name;
  QVariant rate = 2000;
};

void AppendRow(RecordTable& table, const Row& row) {
  testing::AppendLogRecord(table, row.date, row.start, row.delta, row.project, row.name, row.rate);
}

// TasksTotal's rows as "field|field|..." of the given fields' grid texts.
QStringList TotalsRows(RecordTable& totals, const QList<int>& fields) {
  QStringList rows;
  for (totals.First(); !totals.Eof(); totals.Next()) {
    QStringList cells;
    for (const int field : fields) cells << totals.DisplayText(totals.Current(), field);
    rows << cells.join(u'|');
  }
  return rows;
}

const QDate kDay(2004, 5, 12);

TEST(DayTotalsTest, OneRowPerProjectAndTaskOfTheDay) {
  ReporterTables tables;
  for (const Row& row :
       {Row{kDay, "9:00:00", "1:00:00", "P", "A"}, Row{kDay, "11:00:00", "0:30:00", "P", "A"},
        Row{kDay, "8:00:00", "0:20:00", "P", "B", 1000}, Row{kDay, "15:00:00", "0:15:00", "P", "A"},
        Row{kDay.addDays(1), "9:00:00", "5:00:00", "P", "A"}}) {
    AppendRow(tables.log_records, row);
  }
  const TotalsResult result = ShowDayTotals(tables, kDay);

  using namespace total_field;
  EXPECT_EQ(TotalsRows(tables.tasks_total, {kProject, kName, kSeconds, kTotalTime, kRate}),
            (QStringList{"P|A|6300|1:45:00|35.00", "P|B|1200|0:20:00|3.33"}));
  EXPECT_EQ(result.shown_fields, (QList<int>{kProject, kName}));
  EXPECT_FALSE(result.time_text);
  EXPECT_EQ(DurationText(result.seconds), "2:05:00");
  EXPECT_NEAR(result.rate, 35 + 10.0 / 3, 1e-9);
  EXPECT_EQ(result.period, (ShownPeriod{kDay, kDay}));

  // The log grid's order: the day by start time.
  RecordTable& log = tables.log_records;
  EXPECT_EQ(log.Order(), kByTimeStart);
  QStringList starts;
  for (log.First(); !log.Eof(); log.Next())
    starts << log.DisplayText(log.Current(), log_field::kTimeStart);
  EXPECT_EQ(starts, (QStringList{"8:00:00", "9:00:00", "11:00:00", "15:00:00"}));

  // A day without records: nothing, but the period is the chosen day.
  const QDate empty_day(2004, 5, 20);
  const TotalsResult none = ShowDayTotals(tables, empty_day);
  EXPECT_EQ(tables.tasks_total.Count(), 0);
  EXPECT_EQ(DurationText(none.seconds), "0:00:00");
  EXPECT_EQ(none.period, (ShownPeriod{empty_day, empty_day}));
  EXPECT_EQ(log.Count(), 0);
}

TEST(DayTotalsTest, TotalsOfADayPastTwentyFourHoursDoNotWrap) {
  ReporterTables tables;
  AppendRow(tables.log_records, {kDay, "0:00:00", "23:00:00", "P", "A"});
  AppendRow(tables.log_records, {kDay, "23:00:00", "2:00:00", "P", "A"});
  const TotalsResult result = ShowDayTotals(tables, kDay);
  tables.tasks_total.First();
  EXPECT_EQ(tables.tasks_total.Value("Seconds").toInt(), 90000);
  EXPECT_EQ(DurationText(result.seconds), "25:00:00");
}

class GroupTotalsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const Row rows[] = {
        {QDate(2004, 5, 12), "9:00:00", "1:00:00", "P", "A"},
        {QDate(2004, 5, 12), "10:00:00", "0:30:00", "P", "B"},
        {QDate(2004, 5, 12), "12:00:00", "0:30:00", "Q", "C"},
        {QDate(2004, 6, 1), "0:00:00", "23:00:00", "P", "A"},
        {QDate(2004, 6, 1), "23:00:00", "2:00:00", "P", "A"},
        {QDate(2005, 1, 3), "9:00:00", "2:00:00", "Q", "C"},
    };
    for (const Row& row : rows) AppendRow(tables_.display_log, row);
  }
  // The node's range as the data tree sets it.
  void SelectNode(const QVariantList& path) {
    RecordTable& display = tables_.display_log;
    display.SetOrder(kCustom);
    if (path.isEmpty()) {
      display.CancelRange();
    } else {
      display.SetRange(path, path);
    }
  }
  ReporterTables tables_;
  const QStringList key_{"Year", "Month", "Day", "Project", "Name"};
};

TEST_F(GroupTotalsTest, ANodeListsTheGroupsOfTheNextLevel) {
  using namespace total_field;
  const struct {
    QVariantList path;
    int shown;
    QStringList rows;  // shown field | TotalTimeS | Hours | Rate
    ShownPeriod period;
  } cases[] = {
      {{},
       kYear,
       {"2004|27:00:00|27|540.00", "2005|2:00:00|2|40.00"},
       {QDate(2004, 5, 12), QDate(2005, 1, 3)}},
      {{2004},
       kMonth,
       {"May|2:00:00|2|40.00", "June|25:00:00|25|500.00"},
       {QDate(2004, 5, 12), QDate(2004, 6, 1)}},
      {{2004, 5, 12},
       kProject,
       {"P|1:30:00|1.5|30.00", "Q|0:30:00|0.5|10.00"},
       {QDate(2004, 5, 12), QDate(2004, 5, 12)}},
      {{2004, 5, 12, "P"},
       kName,
       {"A|1:00:00|1|20.00", "B|0:30:00|0.5|10.00"},
       {QDate(2004, 5, 12), QDate(2004, 5, 12)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "node level " << c.path.size());
    SelectNode(c.path);
    const TotalsResult result = SetTasksTotal(tables_, static_cast<int>(c.path.size()), key_);
    EXPECT_EQ(TotalsRows(tables_.tasks_total, {c.shown, kTotalTimeS, kHours, kRate}), c.rows);
    EXPECT_EQ(result.shown_fields, QList<int>{c.shown});
    EXPECT_EQ(result.label_field, c.shown);
    EXPECT_TRUE(result.time_text);
    EXPECT_EQ(result.period, c.period);
  }
}

TEST_F(GroupTotalsTest, TheLogListsEveryRecordOfTheGroupsDays) {
  // Project P under 12 May: totals of P's tasks, and in the log all of 12 May.
  SelectNode({2004, 5, 12, "P"});
  ShowGroupTotals(tables_, 4, key_);
  RecordTable& display = tables_.display_log;
  EXPECT_EQ(display.Order(), kByTimeStart);
  EXPECT_EQ(display.Count(), 3);
  EXPECT_EQ(tables_.tasks_total.Count(), 2);

  SelectNode({});
  ShowGroupTotals(tables_, 0, key_);
  EXPECT_EQ(display.Count(), 6);
  EXPECT_FALSE(display.HasRange());
}

TEST_F(GroupTotalsTest, ShortDateKeyLabelsByDate) {
  const QStringList short_key{"RecordDate", "Project", "Name", "Rate", "Seconds"};
  tables_.display_log.DefineOrder(kCustom, short_key);
  SelectNode({});
  const TotalsResult result = SetTasksTotal(tables_, 0, short_key);
  EXPECT_EQ(result.label_field, total_field::kRecordDate);
  EXPECT_EQ(TotalsRows(tables_.tasks_total, {total_field::kRecordDate}),
            (QStringList{"5/12/04", "6/1/04", "1/3/05"}));
}

TEST(TextsTest, DurationsTitlesAndAxisLabels) {
  const struct {
    qint64 seconds;
    const char* text;
  } durations[] = {{0, "0:00:00"},
                   {59, "0:00:59"},
                   {37230, "10:20:30"},
                   {90000, "25:00:00"},
                   {360000, "100:00:00"}};
  for (const auto& d : durations) EXPECT_EQ(DurationText(d.seconds), d.text) << d.seconds;

  const QDate today(2004, 3, 1);
  EXPECT_EQ(DayTitle(today, today), "Today");
  EXPECT_EQ(DayTitle(QDate(2004, 2, 29), today), "Yesterday");
  EXPECT_EQ(DayTitle(QDate(2004, 2, 28), today), "2/28/04");
  EXPECT_EQ(DayTitle(QDate(2004, 3, 2), today), "3/2/04");

  EXPECT_EQ(ChartTimeText(90000), "25:00");
  EXPECT_EQ(ChartTimeText(5400), "1:30");
  EXPECT_EQ(ChartNumberText(1234.5), "1,234.5");
  EXPECT_EQ(ChartNumberText(35), "35");
  EXPECT_EQ(ChartNumberText(0.125), "0.13");
}

TEST(GantResizeTest, AxisAndScrollBar) {
  const QDate first(2004, 1, 1);
  const qint64 lo = first.toJulianDay() - 1;
  const int ten_rows = 350;  // (350 - 20) / 30 = 11, less one
  ASSERT_EQ(GantRows(ten_rows), 10);

  // Three days fit: the day before to the day after, no scroll bar.
  EXPECT_EQ(GantResize({first, first.addDays(2)}, ten_rows), (DayAxis{lo, lo + 4, false, 0}));

  // Forty days: ten rows at a time, 31 positions past the first.
  const ShownPeriod forty{first, first.addDays(39)};
  EXPECT_EQ(GantResize(forty, ten_rows), (DayAxis{lo, lo + 10, true, 31}));
  const DayAxis end = ScrollBar1Scroll(forty, ten_rows, 31);
  EXPECT_EQ(end.max, forty.last.toJulianDay() + 1);
  EXPECT_EQ(end.max - end.min, 10);

  // Four hundred days scroll to their end as well.
  const ShownPeriod long_period{first, first.addDays(399)};
  const DayAxis resized = GantResize(long_period, ten_rows);
  EXPECT_EQ(resized.scroll_max, 391);
  EXPECT_EQ(ScrollBar1Scroll(long_period, ten_rows, resized.scroll_max).max,
            long_period.last.toJulianDay() + 1);

  // Rows round half to even; a chart too low for a row has none.
  const struct { int height, rows; } heights[] = {{95, 1}, {125, 3}, {80, 1}, {35, 0}, {0, 0}};
  for (const auto& h : heights) EXPECT_EQ(GantRows(h.height), h.rows) << h.height;

  // Nothing shown yet: no axis, no scroll bar.
  EXPECT_EQ(GantResize({}, ten_rows), DayAxis{});
}

TEST(LogCalendarTest, BoldDaysOfTheDrawnMonths) {
  ReporterTables tables;
  RecordTable& log = tables.log_records;
  for (const Row& row : {Row{QDate(2003, 12, 5), "9:00:00", "1:00:00", "P", "A"},
                         Row{QDate(2003, 12, 20), "9:00:00", "1:00:00", "P", "A"},
                         Row{QDate(2003, 12, 20), "10:00:00", "1:00:00", "Q", "B"},
                         Row{QDate(2004, 12, 24), "9:00:00", "1:00:00", "P", "A"},
                         Row{QDate(2004, 1, 7), "9:00:00", "1:00:00", "P", "A"},
                         Row{QDate(2004, 1, 7), "11:00:00", "1:00:00", "P", "A"},
                         Row{QDate(2004, 2, 1), "9:00:00", "1:00:00", "P", "A"},
                         Row{QDate(2005, 1, 9), "9:00:00", "1:00:00", "P", "A"}}) {
    AppendRow(log, row);
  }
  const QDate current(2004, 1, 7);
  ShowDayTotals(tables, current);

  const struct {
    int page_year, page_month, month;
    QList<int> days;
  } cases[] = {
      {2004, 1, 12, {5, 20}},  // January draws the previous December
      {2004, 1, 1, {7}},      {2004, 1, 2, {1}},
      {2004, 12, 1, {9}},  // December draws the next January
      {2004, 12, 12, {24}},   {2004, 3, 3, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LogCalendarGetMonthInfo(log, c.page_year, c.page_month, c.month, current), c.days)
        << c.page_year << "-" << c.page_month << " asking " << c.month;
  }
  // The day view is as it was.
  EXPECT_EQ(log.Order(), kByTimeStart);
  EXPECT_EQ(log.Count(), 2);
}

TEST(LogChartTest, ABarFindsItsRecord) {
  ReporterTables tables;
  RecordTable& display = tables.display_log;
  AppendRow(display, {kDay, "9:00:00", "1:00:00", "P", "A"});
  AppendRow(display, {kDay, "8:00:00", "0:30:00", "Q", "B"});
  AppendRow(display, {kDay.addDays(1), "8:00:00", "0:30:00", "P", "A"});
  display.SetOrder(kByTimeStart);
  const qint64 eight = 8 * 3600 * 1000;
  EXPECT_EQ(FindLogBar(display, kDay, eight), 0);
  EXPECT_EQ(FindLogBar(display, kDay, 9 * 3600 * 1000), 1);
  EXPECT_EQ(FindLogBar(display, kDay.addDays(1), eight), 2);
  EXPECT_EQ(FindLogBar(display, kDay.addDays(2), eight), -1);
}

}  // namespace
}  // namespace ravell
