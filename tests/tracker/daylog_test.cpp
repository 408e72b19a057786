#include "daylog.h"

#include <gtest/gtest.h>

#include "error.h"
#include "projectlist.h"
#include "timetext.h"

namespace ravell {
namespace {

DateTime At(int h, int m, int s = 0) { return EncodeDate(QDate(2004, 3, 7)) + EncodeTime(h, m, s); }

class DayLogTest : public ::testing::Test {
 protected:
  DayLogTest() {
    projects_.Append("Acme", "20.00");
    projects_.Append("Tens", "10.00");
    projects_.Append("Odd", "abc");
  }
  void Add(const char* project, const char* task, DateTime start, DateTime end) {
    log_.InsertSavedTask(project, task, end, start, "20040307000001");
  }
  ProjectList projects_;
  DayLog log_{projects_};
};

TEST_F(DayLogTest, NewItemsTakeTheRateOfTheirProject) {
  log_.RecountTotalTask("Nowhere", "Mail");
  log_.RecountTotalTask("Acme", "Mail");
  ASSERT_EQ(log_.ItemCount(), 2);
  const TaskItem& unrated = log_.Item(0);
  EXPECT_EQ(unrated.time, "0:00:00");
  EXPECT_EQ(unrated.plan, "-");
  EXPECT_EQ(unrated.rate, "");
  EXPECT_EQ(unrated.total, "");
  EXPECT_EQ(log_.Item(1).rate, "20.00");
  EXPECT_EQ(log_.Item(1).total, "0.00");
  EXPECT_EQ(log_.FindTask("acme", "Mail"), -1);  // names match exactly
  EXPECT_EQ(log_.FindTask("Acme", "Mail"), 1);
}

TEST_F(DayLogTest, TimeAndEarningsFromClosedRows) {
  Add("Acme", "Mail", At(9, 0), At(9, 30));
  Add("Tens", "Mail", At(10, 0), At(11, 30));
  Add("Tens", "mail", At(12, 0), At(22, 0, 59));  // other case: another task
  ASSERT_EQ(log_.ItemCount(), 3);
  EXPECT_EQ(log_.Item(0).time, "0:30:00");
  EXPECT_EQ(log_.Item(0).total, "10.00");
  EXPECT_EQ(log_.Item(1).time, "1:30:00");
  EXPECT_EQ(log_.Item(1).total, "15.00");
  EXPECT_EQ(log_.Item(2).time, "10:00:59");
  EXPECT_EQ(log_.Item(2).total, "100.16");  // 36059 s at 10.00/h: 10016.38 cents, truncated
  EXPECT_EQ(FormatTime(log_.day_total), "12:00:59");
  log_.RecountTotalRate();
  EXPECT_DOUBLE_EQ(log_.total_rate_sum, 125.16);
  EXPECT_EQ(log_.status_rate_text(), " Total rate: 125.16");
  EXPECT_EQ(log_.status_time_text(), " Total time: 12:00:59");
}

TEST_F(DayLogTest, EarningsTruncateAndWrapWithTheDay) {
  struct Case {
    DateTime time;
    double rate;
    qint64 cents;
  } cases[] = {
      {EncodeTime(1, 30, 0), 10.0, 1500},
      {EncodeTime(0, 0, 59), 10.0, 16},  // 16.38 cents truncated
      {1 + EncodeTime(1, 0, 0), 10.0, 1000},  // 25 hours count as 1
      {EncodeTime(0, 30, 0), 0.0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DayLog::EarningsCents(c.time, c.rate / 3600), c.cents) << c.time;
  }
}

TEST_F(DayLogTest, UnparsableRateLeavesTotalAndGivesNoRate) {
  Add("Odd", "Mail", At(9, 0), At(10, 0));
  EXPECT_EQ(log_.Item(0).rate, "abc");
  EXPECT_EQ(log_.Item(0).total, "0.00");  // kept as created
  EXPECT_EQ(log_.RecountTotalTask("Odd", "Mail").rate_per_second, 0);
}

TEST_F(DayLogTest, ItemLeavesWithItsLastRowAndTheRunningTaskStaysCurrent) {
  Add("Acme", "Old", At(8, 0), At(9, 0));
  Add("Acme", "Mail", At(9, 0), At(9, 30));
  log_.AppendRow({OpenTimeFrameText(At(10, 0)), "Mail", "Acme", "20040307000002"});
  log_.stop_enabled = true;
  log_.SetTotalTask("Acme", "Mail");
  ASSERT_EQ(log_.current_task, 1);
  EXPECT_EQ(log_.Item(1).marker, TaskMarker::kRunning);

  log_.RemoveRow(0);  // the last row of "Old"
  EXPECT_EQ(log_.RecountTotalTask("Acme", "Old").index, -1);
  ASSERT_EQ(log_.ItemCount(), 1);
  EXPECT_EQ(log_.current_task, 0);
  EXPECT_EQ(log_.Item(0).task, "Mail");
  EXPECT_TRUE(log_.row_update_allowed);
  EXPECT_EQ(FormatTime(log_.day_total), "0:30:00");
}

TEST_F(DayLogTest, RecountOfAnotherTaskKeepsTheCurrentTasksValues) {
  Add("Acme", "Mail", At(9, 0), At(9, 30));
  Add("Odd", "Other", At(10, 0), At(11, 0));
  log_.stop_enabled = true;
  log_.SetTotalTask("Acme", "Mail");
  const double rate = log_.rate_per_second;
  const DateTime before = log_.task_time_before;
  log_.RecountTotalTask("Odd", "Other");
  EXPECT_EQ(log_.rate_per_second, rate);
  EXPECT_EQ(log_.task_time_before, before);
  EXPECT_DOUBLE_EQ(rate, 20.0 / 3600);
  EXPECT_EQ(FormatTime(before), "0:30:00");
}

TEST_F(DayLogTest, SavedRecordsGoInStartOrder) {
  EXPECT_TRUE(log_.IsEmpty());
  Add("Acme", "B", At(10, 0), At(11, 0));
  EXPECT_EQ(log_.RowCount(), 1);
  Add("Acme", "C", At(12, 0), At(13, 0));
  Add("Acme", "A", At(8, 0), At(9, 0));
  Add("Acme", "Same", At(10, 0), At(10, 30));   // equal start: before the existing row
  Add("Acme", "Late", At(11, 30), At(11, 45));  // before the last row only
  QStringList order;
  for (int i = 0; i < log_.RowCount(); ++i) order << log_.Row(i).task;
  EXPECT_EQ(order, QStringList({"A", "Same", "B", "Late", "C"}));
  EXPECT_EQ(log_.Row(0).time_frame, "8:00:00-9:00:00 (1:00:00)");
}

TEST_F(DayLogTest, DamagedDurationRaisesTheConversionError) {
  Add("Acme", "Mail", At(9, 0), At(9, 30));
  log_.SetRow(0, {"9:00:00-9:30:00 (x)", "Mail", "Acme", "1"});
  EXPECT_THROW(log_.RecountTotalTime(), ConvertError);
  EXPECT_THROW(log_.RecountTotalTask("Acme", "Mail"), ConvertError);
}

}  // namespace
}  // namespace ravell
