#include "daylogfile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "atomicfile.h"
#include "daylog.h"
#include "daylogrecord.h"
#include "projectlist.h"
#include "timetext.h"

namespace ravell {
namespace {

const QDate kDay(2004, 3, 7);
DateTime At(int h, int m, int s = 0) { return EncodeDate(kDay) + EncodeTime(h, m, s); }

class DayLogFileTest : public ::testing::Test {
 protected:
  DayLogFileTest() {
    projects_.Append("Design", "12.50");
    projects_.Append("Tiny", "0.125");
  }
  QByteArray Compose() { return ComposeDayLog(log_, projects_, kDay); }
  QString Write(const QByteArray& bytes) {
    const QString path = folder_.path() + "/2004_3_7.tl";
    WriteFileAtomic(path, bytes);
    return path;
  }
  QStringList Rows(const DayLog& log) {
    QStringList rows;
    for (int i = 0; i < log.RowCount(); ++i) {
      const LogRow& r = log.Row(i);
      rows << r.time_frame + "|" + r.task + "|" + r.project + "|" + r.task_id;
    }
    return rows;
  }

  QTemporaryDir folder_;
  ProjectList projects_;
  DayLog log_{projects_};
};

TEST_F(DayLogFileTest, WritesEveryRowAndTheRunningRowUpToTheLastSave) {
  log_.InsertSavedTask("Design", "Logo", At(10, 35, 30), At(9, 5), "20040307000001");
  log_.InsertSavedTask("design", "Mail", At(11, 0), At(10, 40), "20040307000002");
  log_.InsertSavedTask("Elsewhere", "A<b>&c", At(11, 30), At(11, 10), "20040307000003");
  log_.AppendRow({OpenTimeFrameText(At(12, 0)), "Tiny job", "Tiny", "20040307000004"});
  log_.interval_start = MomentOfLocal(At(12, 0));
  log_.last_save_time = MomentOfLocal(At(12, 5, 15));
  const QByteArray expected =
      "<TaskInstance><Prolog></Prolog><Year>2004</Year><Month>3</Month><Day>7</Day>"
      "<TimeStart>9:05:00</TimeStart><TimeEnd>10:35:30</TimeEnd><TimeDelta>1:30:30</TimeDelta>"
      "\t<Name>Logo</Name>\t<Project>Design</Project>\t<TaskId>20040307000001</TaskId>"
      "\t<Rate>1250</Rate></TaskInstance>\r\n"
      "<TaskInstance><Prolog></Prolog><Year>2004</Year><Month>3</Month><Day>7</Day>"
      "<TimeStart>10:40:00</TimeStart><TimeEnd>11:00:00</TimeEnd><TimeDelta>0:20:00</TimeDelta>"
      "\t<Name>Mail</Name>\t<Project>design</Project>\t<TaskId>20040307000002</TaskId>"
      "\t<Rate>1250</Rate></TaskInstance>\r\n"
      "<TaskInstance><Prolog></Prolog><Year>2004</Year><Month>3</Month><Day>7</Day>"
      "<TimeStart>11:10:00</TimeStart><TimeEnd>11:30:00</TimeEnd><TimeDelta>0:20:00</TimeDelta>"
      "\t<Name>A<b>&c</Name>\t<Project>Elsewhere</Project>\t<TaskId>20040307000003</TaskId>"
      "\t<Rate>0</Rate></TaskInstance>\r\n"
      "<TaskInstance><Prolog></Prolog><Year>2004</Year><Month>3</Month><Day>7</Day>"
      "<TimeStart>12:00:00</TimeStart><TimeEnd>12:05:15</TimeEnd><TimeDelta>0:05:15</TimeDelta>"
      "\t<Name>Tiny job</Name>\t<Project>Tiny</Project>\t<TaskId>20040307000004</TaskId>"
      "\t<Rate>12</Rate></TaskInstance>\r\n";
  EXPECT_EQ(Compose(), expected);

  // A rate changed during the day reaches every record of the project.
  projects_.SetLine(0, "Design", "30.00");
  EXPECT_EQ(Compose().count("<Rate>3000</Rate>"), 2);
}

TEST_F(DayLogFileTest, EmptyDayIsAnEmptyFile) { EXPECT_EQ(Compose(), QByteArray()); }

TEST_F(DayLogFileTest, ReadsBothFormsInStartOrderAndNamesByteForByte) {
  log_.InsertSavedTask("Design", "Late", At(15, 0), At(14, 0), "3");
  log_.InsertSavedTask("Design", "A<b", At(10, 0), At(9, 0), "1");
  log_.InsertSavedTask("P>q", "Ünïcode &", At(12, 0), At(11, 0), "2");
  const QByteArray tracker_form = Compose();
  QByteArray reporter_form = tracker_form;
  reporter_form.replace('\t', "");

  DayLog from_tracker(projects_), from_reporter(projects_);
  EXPECT_EQ(FillDayLog(Write(tracker_form), from_tracker, kDay).loaded, 3);
  EXPECT_EQ(FillDayLog(Write(reporter_form), from_reporter, kDay).loaded, 3);
  EXPECT_EQ(Rows(from_tracker), Rows(log_));
  EXPECT_EQ(Rows(from_reporter), Rows(log_));
  EXPECT_EQ(Rows(log_).first(), "9:00:00-10:00:00 (1:00:00)|A<b|Design|1");
  EXPECT_EQ(ComposeDayLog(from_reporter, projects_, kDay), tracker_form);
}

TEST_F(DayLogFileTest, MissingFileLoadsNothing) {
  EXPECT_EQ(FillDayLog(folder_.path() + "/none.tl", log_, kDay).loaded, 0);
  EXPECT_TRUE(log_.IsEmpty());
}

TEST_F(DayLogFileTest, DamagedRecordsAreLeftOutAndTheOriginalKept) {
  log_.InsertSavedTask("Design", "Good", At(10, 0), At(9, 0), "1");
  log_.InsertSavedTask("Design", "Bad", At(12, 0), At(11, 0), "2");
  log_.InsertSavedTask("Design", "Cut", At(14, 0), At(13, 0), "3");
  QByteArray bytes = Compose();
  bytes.replace("<TimeStart>11:00:00</TimeStart>", "<TimeStart>11:0x</TimeStart>");
  bytes.chop(bytes.size() - bytes.lastIndexOf("<Name>Cut") - 7);  // cut inside the last record
  const QString path = Write(bytes);

  DayLog loaded(projects_);
  const DayLogLoad result = FillDayLog(path, loaded, kDay);
  EXPECT_EQ(result.loaded, 1);
  EXPECT_EQ(Rows(loaded), QStringList{"9:00:00-10:00:00 (1:00:00)|Good|Design|1"});
  EXPECT_EQ(result.problems,
            QStringList({"a record is incomplete", "'11:0x' is not a valid time"}));
  EXPECT_EQ(result.backup_path, path + ".bak");
  EXPECT_EQ(ReadWholeFile(path + ".bak"), bytes);
}

TEST(DayLogRecords, IncompleteRecordNeverBorrowsFromItsNeighbours) {
  const QByteArray data =
      "<TaskInstance><TimeStart>9:00:00</TimeStart><TimeEnd>10:00:00</TimeEnd>"
      "<TimeDelta>1:00:00</TimeDelta><Name>A</Name><Project>P</Project><TaskId>1</TaskId>"
      "<Rate>5</Rate></TaskInstance>\r\n"
      "<TaskInstance><TimeStart>11:00:00</TimeStart><Name>B</Name></TaskInstance>\r\n"
      "<TaskInstance><Year>2004</Year><TimeStart>12:00:00</TimeStart><TimeEnd>13:00:00</TimeEnd>"
      "<TimeDelta>1:00:00</TimeDelta><Name>C</Name><Project>P</Project><TaskId>3</TaskId>"
      "</TaskInstance>\r\n";
  const DayLogContents contents = ReadDayLogRecords(data);
  ASSERT_EQ(contents.records.size(), 2);
  EXPECT_EQ(contents.dropped, 1);
  EXPECT_EQ(contents.records[0].name, "A");
  EXPECT_EQ(contents.records[0].rate, 5);
  EXPECT_EQ(contents.records[1].name, "C");
  EXPECT_EQ(contents.records[1].year, 2004);
  EXPECT_EQ(contents.records[1].time_start, "12:00:00");
}

}  // namespace
}  // namespace ravell
