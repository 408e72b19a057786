#include "logtables.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QTime>

#include "recordtablemodel.h"

namespace ravell {
namespace {

QByteArray Record(const QByteArray& year, const QByteArray& month, const QByteArray& day,
                  const QByteArray& delta, const QByteArray& name, const QByteArray& rate_element) {
  return "<TaskInstance><Prolog></Prolog><Year>" + year + "</Year><Month>" + month +
         "</Month><Day>" + day + "</Day><TimeStart>9:00:00</TimeStart><TimeEnd>9:00:00</TimeEnd>" +
         "<TimeDelta>" + delta + "</TimeDelta><Name>" + name + "</Name><Project>P</Project>" +
         "<TaskId>" + year + month + day + "</TaskId>" + rate_element + "</TaskInstance>\r\n";
}

QByteArray Total(const QByteArray& records) {
  return "<RAVTotal>\r\n" + records + "</RAVTotal>\r\n";
}

TEST(LoadLogRecordsTest, StoredAndDerivedFields) {
  const struct {
    QByteArray delta, rate_element;
    int seconds;
    QVariant d_rate;  // null: no value
  } cases[] = {
      {"1:30:00", "<Rate>1250</Rate>", 5400, 18.75},
      {"0:00:59", "<Rate>0</Rate>", 59, 0.0},
      {"0:00:59", "", 59, QVariant()},               // no Rate: no earnings
      {"2:00:00", "<Rate>12.5</Rate>", 7200, 0.25},  // a rate with a fraction still reads
  };
  for (const auto& c : cases) {
    ReporterTables tables;
    RecordTable& log = tables.log_records;
    const LoadStats stats =
        LoadLogRecords(Total(Record("2024", "3", "7", c.delta, "T", c.rate_element)), log);
    SCOPED_TRACE(c.delta.toStdString() + " " + c.rate_element.toStdString());
    ASSERT_EQ(stats.records, 1);
    log.First();
    EXPECT_EQ(log.Value("Seconds").toInt(), c.seconds);
    if (c.d_rate.isNull()) {
      EXPECT_TRUE(log.Value("dRate").isNull());
      EXPECT_TRUE(log.Value("Rate").isNull());
    } else {
      EXPECT_DOUBLE_EQ(log.Value("dRate").toDouble(), c.d_rate.toDouble());
    }
    EXPECT_EQ(log.Value("RecordDate").toDate(), QDate(2024, 3, 7));
    EXPECT_EQ(log.Value("TimeStart").toTime(), QTime(9, 0));
  }
}

TEST(LoadLogRecordsTest, DaysCountAcrossTheYearEnd) {
  ReporterTables tables;
  RecordTable& log = tables.log_records;
  LoadLogRecords(Total(Record("2024", "1", "1", "0:01:00", "b", "") +
                       Record("2023", "12", "31", "0:01:00", "a", "")),
                 log);
  log.First();
  const int december = log.Value("Days").toInt();
  log.Next();
  EXPECT_EQ(log.Value("Days").toInt(), december + 1);
  EXPECT_EQ(log.Value("Year").toInt(), 2024);
}

TEST(LoadLogRecordsTest, ToleratesMarkupInNamesAndSkipsUnreadableRecords) {
  const QByteArray records =
      Record("2024", "1", "2", "0:10:00", "a<b>&c", "<Rate>100</Rate>") +
      Record("2024", "1", "2", "0:10:00", "", "") +                           // empty name
      Record("2024", "1", "3", "25:00:00", "bad time", "") +                  // skipped
      Record("2023", "2", "30", "0:10:00", "no such date", "") +              // skipped
      Record("2024", "1", "x", "0:10:00", "day not a number", "") +           // skipped
      "<TaskInstance><Year>2024</Year><Month>1</Month></TaskInstance>\r\n" +  // skipped
      "\t junk <x> \t" + Record("2024", "1", "4", "0:20:00", "after junk", "");
  ReporterTables tables;
  RecordTable& log = tables.log_records;
  const LoadStats stats = LoadLogRecords(Total(records), log);
  EXPECT_EQ(stats.records, 3);
  EXPECT_EQ(stats.skipped, 4);
  QStringList names;
  for (log.First(); !log.Eof(); log.Next()) names << log.Value("Name").toString();
  // Order "TasksByProject": date, project, then name.
  EXPECT_EQ(names, (QStringList{"a<b>&c", "Undefined", "after junk"}));
  EXPECT_EQ(log.Order(), QStringLiteral("TasksByProject"));
}

TEST(MonthNamesTest, BothWays) {
  const struct {
    int number;
    QString name;
  } to_name[] = {{1, "January"}, {5, "May"}, {12, "December"}, {0, "Undefined"}, {13, "Undefined"}};
  for (const auto& c : to_name) EXPECT_EQ(MonthToName(c.number), c.name) << c.number;
  const struct {
    QString name, number;
  } to_number[] = {
      {"January", "1"}, {"December", "12"}, {"may", "0"}, {"Undefined", "0"}, {"", "0"}};
  for (const auto& c : to_number) EXPECT_EQ(NameToMonth(c.name), c.number) << c.name.toStdString();
}

TEST(DisplayLogTest, AppendedRecordGetsItsDerivedFields) {
  ReporterTables tables;
  RecordTable& display = tables.display_log;
  display.Append();
  display.SetValue("Year", "2024");
  display.SetValue("Month", 5);
  display.SetValue("Day", 31);
  display.SetValue("TimeDelta", "1:30:00");
  display.SetValue("Rate", 1250);
  display.SetValue("Name", "Task");
  display.SetValue("Project", "Project");
  display.Post();
  EXPECT_EQ(display.Value("sMonth").toString(), QStringLiteral("May"));
  EXPECT_EQ(display.Value("Seconds").toInt(), 5400);
  EXPECT_EQ(display.Value("RecordDate").toDate(), QDate(2024, 5, 31));

  // The grid model shows labels and formatted values.
  RecordTableModel model(display);
  ASSERT_EQ(model.rowCount(), 1);
  const int d_rate = display.FieldIndex("dRate");
  EXPECT_EQ(model.headerData(d_rate, Qt::Horizontal).toString(), QStringLiteral("Rate"));
  EXPECT_EQ(model.data(model.index(0, d_rate)).toString(), QStringLiteral("18.75"));
  EXPECT_EQ(model.data(model.index(0, display.FieldIndex("TimeDelta"))).toString(),
            QStringLiteral("1:30:00"));

  // A change recomputes them.
  display.Edit();
  display.SetValue("Month", 13);
  display.SetValue("TimeDelta", "0:00:59");
  display.Post();
  EXPECT_EQ(display.Value("sMonth").toString(), QStringLiteral("Undefined"));
  EXPECT_EQ(display.Value("Seconds").toInt(), 59);
  EXPECT_TRUE(display.Value("RecordDate").isNull());
}

}  // namespace
}  // namespace ravell
