// Editing past records in the reporter and writing their day log files back,
// on the reporter's objects in a temporary program folder.
#include "recordediting.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "../support/recordingmessages.h"
#include "analysis.h"
#include "daylog.h"
#include "daylogfile.h"
#include "daylogrecord.h"
#include "projectlist.h"
#include "savedaytoxml.h"
#include "startup.h"
#include "timetext.h"
#include "totals.h"

namespace ravell {
namespace {

using testing::RecordingMessages;

const QDate kToday(2004, 5, 10);
const QDate kMay3(2004, 5, 3);
const QDate kMay4(2004, 5, 4);

QByteArray Line(const QDate& date, const char* start, const char* end, const char* delta,
                const char* name, const char* project, const char* id, qint64 rate,
                DayLogForm form = DayLogForm::kReporter) {
  DayLogRecord record{date.year(), date.month(), date.day(), start, end,
                      delta,       name,         project,    id,    rate};
  return ComposeDayLogRecord(record, form);
}

// The calendar's click handler as the window runs it: the day view of a day.
class DayViewStandIn : public AnalysisView {
 public:
  explicit DayViewStandIn(ReporterTables& tables) : tables_(tables) {}
  void ShowCalendarDay() override {
    ++shown;
    ShowDayTotals(tables_, day);
  }
  QDate day;
  int shown = 0;

 private:
  ReporterTables& tables_;
};

class ScriptedDialog : public RecordDialog {
 public:
  bool Execute(RecordDialogValues& values) override {
    ++opened;
    offered = values;
    return script ? script(values) : false;
  }
  std::function<bool(RecordDialogValues&)> script;
  RecordDialogValues offered;
  int opened = 0;
};

class RecordEditingTest : public ::testing::Test {
 protected:
  RecordEditingTest() {
    clock_.Set(kToday, QTime(14, 25, 7));
    editing_.SetClock(&clock_);
  }

  QString PathOf(const QDate& date) const {
    return folder_.path() + QStringLiteral("/Log/%1/%2/%1_%2_%3.tl")
                                .arg(date.year())
                                .arg(date.month())
                                .arg(date.day());
  }
  void Put(const QDate& date, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(PathOf(date)).path());
    QFile file(PathOf(date));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray Day(const QDate& date) const {
    QFile file(PathOf(date));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
  }
  // Three days of the tracker's own files; today's is the tracker's.
  void PutHistory() {
    Put(kMay3, Line(kMay3, "9:00:00", "10:00:00", "1:00:00", "Mail", "Acme", "20040503000001", 1250,
                    DayLogForm::kTracker) +
                   Line(kMay3, "11:00:00", "11:30:00", "0:30:00", "Logo", "Acme", "20040503000002",
                        1250, DayLogForm::kTracker) +
                   Line(kMay3, "13:00:00", "14:00:00", "1:00:00", "Call", "Zed", "20040503000003",
                        0, DayLogForm::kTracker));
    Put(kMay4, Line(kMay4, "8:00:00", "8:30:00", "0:30:00", "Plan", "Zed", "20040504000001", 0,
                    DayLogForm::kTracker) +
                   Line(kMay4, "12:00:00", "13:00:00", "1:00:00", "Logo", "Acme", "20040504000002",
                        1250, DayLogForm::kTracker));
    Put(kToday, Line(kToday, "9:00:00", "9:10:00", "0:10:00", "Mail", "Acme", "20040510000001",
                     1250, DayLogForm::kTracker));
  }
  void Start() {
    RecordingMessages quiet;
    ASSERT_TRUE(ReporterStartup(folder_.path(), tables_, quiet).Run());
  }
  void ShowDay(const QDate& day) {
    view_.day = day;
    analysis_.SetDayView(day);
    ShowDayTotals(tables_, day);
  }
  void ShowGroups() { analysis_.StartQueryButtonClick(FilterSettings(), true); }
  // Puts the grid's cursor on the record with the id in the shown table.
  void Select(const QString& task_id) {
    RecordTable& shown = editing_.Shown();
    for (shown.First(); !shown.Eof(); shown.Next()) {
      if (shown.Value(QStringLiteral("TaskId")).toString() == task_id) return;
    }
    FAIL() << "no record " << task_id.toStdString();
  }
  QString CursorId() { return editing_.Shown().Value(QStringLiteral("TaskId")).toString(); }
  QStringList Ids(RecordTable& table) {
    QStringList ids;
    for (const int record : table.ViewRecords()) {
      ids << table.RecordValue(record, table.FieldIndex(QStringLiteral("TaskId"))).toString();
    }
    return ids;
  }

  QTemporaryDir folder_;
  ManualClock clock_;
  ReporterTables tables_;
  DayViewStandIn view_{tables_};
  ReporterAnalysis analysis_{tables_, &view_};
  ScriptedDialog dialog_;
  RecordingMessages messages_;
  RecordEditing editing_{tables_, analysis_, dialog_, messages_, folder_.path()};
};

TEST_F(RecordEditingTest, DayFileIsRewrittenInStartOrderWithoutTabsAndRoundedRates) {
  RecordTable& log = tables_.log_records;
  const auto add = [&](const QDate& date, const QVariant& start, const char* id,
                       const QVariant& rate) {
    log.Append();
    log.SetValue("Year", date.year());
    log.SetValue("Month", date.month());
    log.SetValue("Day", date.day());
    log.SetValue("TimeStart", start);
    log.SetValue("TimeEnd", "23:00:00");
    log.SetValue("TimeDelta", "1:00:00");
    log.SetValue("Name", "A<b> &c");
    log.SetValue("Project", "Caf\u00e9");
    log.SetValue("TaskId", id);
    log.SetValue("Rate", rate);
    log.Post();
  };
  add(kMay3, "13:00:00", "3", 1235.5);
  add(kMay4, "10:00:00", "other day", 100);
  add(kMay3, QTime(9, 0, 0, 700).msecsSinceStartOfDay(), "1", 1234.5);
  add(kMay3, "10:00:00", "2", QVariant());
  log.SetOrder(kProjectsByDate);

  SaveDayToXML(log, folder_.path(), kMay3);
  const auto line = [](const char* start, const char* id, const char* rate) {
    return QByteArray(
               "<TaskInstance><Prolog></Prolog><Year>2004</Year><Month>5</Month>"
               "<Day>3</Day><TimeStart>") +
           start + "</TimeStart><TimeEnd>23:00:00</TimeEnd><TimeDelta>1:00:00</TimeDelta>" +
           "<Name>A<b> &c</Name><Project>Caf\xC3\xA9</Project><TaskId>" + id + "</TaskId><Rate>" +
           rate + "</Rate></TaskInstance>\r\n";
  };
  // Halves go to the even neighbour; no rate is 0; fractions of a second drop.
  EXPECT_EQ(Day(kMay3), line("9:00:00", "1", "1234") + line("10:00:00", "2", "0") +
                            line("13:00:00", "3", "1236"));
  EXPECT_EQ(log.Order(), QString::fromLatin1(kProjectsByDate));
  EXPECT_FALSE(log.HasRange());

  // A date without records gets an empty file, its folders made.
  SaveDayToXML(log, folder_.path(), QDate(2003, 12, 31));
  EXPECT_EQ(Day(QDate(2003, 12, 31)), QByteArray());
}

TEST_F(RecordEditingTest, TrackerReadsARewrittenFileAsItsOwn) {
  const QByteArray tracker_form =
      Line(kMay3, "9:00:00", "10:00:00", "1:00:00", "Entw\xC3\xBCrfe <1>", "Acme & Co",
           "20040503000001", 1250, DayLogForm::kTracker) +
      Line(kMay3, "10:15:00", "11:00:00", "0:45:00", "Mail", "Zed", "20040503000002", 0,
           DayLogForm::kTracker);
  Put(kMay3, tracker_form);
  Start();
  SaveDayToXML(tables_.log_records, folder_.path(), kMay3);
  QByteArray without_tabs = tracker_form;
  without_tabs.replace('\t', "");
  EXPECT_EQ(Day(kMay3), without_tabs);

  ProjectList projects;
  DayLog ours(projects), theirs(projects);
  const QString copy = folder_.path() + QStringLiteral("/tracker.tl");
  QFile file(copy);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(tracker_form);
  file.close();
  EXPECT_EQ(FillDayLog(copy, ours, kMay3).loaded, 2);
  EXPECT_EQ(FillDayLog(PathOf(kMay3), theirs, kMay3).loaded, 2);
  ASSERT_EQ(theirs.RowCount(), ours.RowCount());
  for (int i = 0; i < ours.RowCount(); ++i) EXPECT_EQ(theirs.Row(i), ours.Row(i)) << i;
}

TEST_F(RecordEditingTest, ChangeMovesARecordToAnotherDayAndARestartShowsIt) {
  PutHistory();
  const QByteArray today_before = Day(kToday);
  Start();
  ShowDay(kMay3);
  Select("20040503000002");
  QStringList zed_tasks;
  dialog_.script = [&zed_tasks](RecordDialogValues& values) {
    zed_tasks = values.tasks_of("Zed");
    values.date = kMay4;
    values.start = QTime(7, 0);
    values.end = QTime(7, 45);
    values.delta = QTime(0, 45);
    values.task = "Logo v2";
    values.rate = "12.346";
    return true;
  };
  editing_.Edit1Click();

  // The dialog showed the record, the log's projects and the project's tasks.
  const RecordDialogValues& offered = dialog_.offered;
  EXPECT_EQ(offered.caption, "Change record");
  EXPECT_EQ(offered.project, "Acme");
  EXPECT_EQ(offered.task, "Logo");
  EXPECT_EQ(offered.rate, "12.50");
  EXPECT_EQ(offered.date, kMay3);
  EXPECT_EQ(offered.start, QTime(11, 0));
  EXPECT_EQ(offered.end, QTime(11, 30));
  EXPECT_EQ(offered.delta, QTime(0, 30));
  EXPECT_EQ(offered.projects, (QStringList{"Acme", "Zed"}));
  EXPECT_EQ(offered.tasks, (QStringList{"Logo", "Mail"}));
  EXPECT_EQ(zed_tasks, (QStringList{"Call", "Plan"}));

  EXPECT_TRUE(messages_.shown.isEmpty()) << messages_.Texts().join('|').toStdString();
  EXPECT_EQ(Day(kMay3),
            Line(kMay3, "9:00:00", "10:00:00", "1:00:00", "Mail", "Acme", "20040503000001", 1250) +
                Line(kMay3, "13:00:00", "14:00:00", "1:00:00", "Call", "Zed", "20040503000003", 0));
  EXPECT_EQ(
      Day(kMay4),
      Line(kMay4, "7:00:00", "7:45:00", "0:45:00", "Logo v2", "Acme", "20040503000002", 1235) +
          Line(kMay4, "8:00:00", "8:30:00", "0:30:00", "Plan", "Zed", "20040504000001", 0) +
          Line(kMay4, "12:00:00", "13:00:00", "1:00:00", "Logo", "Acme", "20040504000002", 1250));
  EXPECT_EQ(Day(kToday), today_before);
  // The day view shows its day again; the moved record has left it.
  EXPECT_EQ(Ids(tables_.log_records), (QStringList{"20040503000001", "20040503000003"}));
  EXPECT_EQ(editing_.Shown().Position(), 0);

  ReporterTables restarted;
  RecordingMessages quiet;
  ASSERT_TRUE(ReporterStartup(folder_.path(), restarted, quiet).Run());
  ShowDayTotals(restarted, kMay4);
  RecordTable& log = restarted.log_records;
  ASSERT_EQ(log.Count(), 3);
  EXPECT_EQ(log.Value("TaskId").toString(), "20040503000002");
  EXPECT_EQ(log.Value("Name").toString(), "Logo v2");
  EXPECT_EQ(log.Value("Rate").toDouble(), 1235);
  EXPECT_EQ(log.Value("Seconds").toInt(), 45 * 60);
}

TEST_F(RecordEditingTest, GroupViewChangeFollowsTheRecordInBothTables) {
  PutHistory();
  Start();
  ShowGroups();
  ASSERT_EQ(analysis_.Mode(), ViewMode::kGroup);
  Select("20040504000001");
  dialog_.script = [](RecordDialogValues& values) {
    values.start = QTime(9, 0, 0, 700);
    values.end = QTime(9, 30, 0, 700);
    values.delta = QTime(0, 30);
    values.project = "Acme";
    values.rate = "";
    return true;
  };
  editing_.Edit1Click();
  EXPECT_EQ(
      Day(kMay4),
      Line(kMay4, "9:00:00", "9:30:00", "0:30:00", "Plan", "Acme", "20040504000001", 0) +
          Line(kMay4, "12:00:00", "13:00:00", "1:00:00", "Logo", "Acme", "20040504000002", 1250));
  RecordTable& display = tables_.display_log;
  EXPECT_EQ(CursorId(), "20040504000001");
  EXPECT_EQ(display.Value("Project").toString(), "Acme");
  EXPECT_EQ(display.Value("TimeStart").toTime(), QTime(9, 0));
  EXPECT_EQ(display.Value("Rate").toDouble(), 0);
  EXPECT_EQ(display.Value("dRate").toDouble(), 0);
}

TEST_F(RecordEditingTest, TodaysRecordsAreRefusedAndTodaysFileIsNeverWritten) {
  PutHistory();
  const QByteArray today_before = Day(kToday);
  Start();
  ShowDay(kToday);
  Select("20040510000001");
  editing_.Edit1Click();
  editing_.Delete1Click();
  EXPECT_EQ(dialog_.opened, 0);
  EXPECT_EQ(messages_.Texts(),
            (QStringList{"You can not change today records from Rv Reporter.\rPlease use the "
                         "Ravell.",
                         "You can not delete today records from Rv Reporter.\rPlease use the "
                         "Ravell."}));
  EXPECT_EQ(messages_.shown.value(0).icon, MsgIcon::kWarning);
  EXPECT_EQ(tables_.log_records.Count(), 1);

  // A past record moved onto today, past the dialog's own check.
  messages_.shown.clear();
  ShowDay(kMay3);
  Select("20040503000001");
  const QByteArray may3_before = Day(kMay3);
  dialog_.script = [](RecordDialogValues& values) {
    values.date = kToday;
    return true;
  };
  editing_.Edit1Click();
  EXPECT_EQ(messages_.Texts(), QStringList{"Please use the Ravell for today records"});
  EXPECT_EQ(Day(kToday), today_before);
  EXPECT_EQ(Day(kMay3), may3_before);
  EXPECT_EQ(tables_.log_records.Value("RecordDate").toDate(), kMay3);
}

TEST_F(RecordEditingTest, InsertPresetsTheDialogAndAddsALineWithANewId) {
  PutHistory();
  Start();
  ShowGroups();
  Select("20040503000003");
  dialog_.script = [](RecordDialogValues& values) {
    values.task = "New";
    return true;
  };
  editing_.Insert1Click();

  const RecordDialogValues& offered = dialog_.offered;
  EXPECT_EQ(offered.caption, "Insert record");
  EXPECT_EQ(offered.date, kMay3);
  EXPECT_EQ(offered.rate, "0.00");
  EXPECT_EQ(offered.start, QTime(14, 25, 7));
  EXPECT_EQ(offered.delta, QTime(1, 0));
  EXPECT_EQ(offered.end, QTime(15, 25, 7));
  EXPECT_EQ(offered.project, "Acme");
  EXPECT_EQ(offered.task, "Logo");

  const QList<QByteArray> lines = Day(kMay3).split('\n');
  ASSERT_EQ(lines.size(), 5);  // four lines and the empty rest
  const QRegularExpression id("<TaskId>(20040503\\d{6})</TaskId>");
  const QRegularExpressionMatch match = id.match(QString::fromLatin1(lines[3]));
  ASSERT_TRUE(match.hasMatch()) << lines[3].toStdString();
  EXPECT_EQ(match.captured(1).size(), 14);
  EXPECT_TRUE(lines[3].startsWith(
      Line(kMay3, "14:25:07", "15:25:07", "1:00:00", "New", "Acme", "x", 0).left(120)));

  // The group view lists the new record and the grid's cursor is on it.
  EXPECT_EQ(CursorId(), match.captured(1));
  EXPECT_EQ(tables_.display_log.Value("Name").toString(), "New");
  EXPECT_EQ(tables_.log_records.RecordCount(), 7);

  // Cancel changes nothing.
  dialog_.script = nullptr;
  const QByteArray before = Day(kMay3);
  editing_.Insert1Click();
  EXPECT_EQ(Day(kMay3), before);
  EXPECT_EQ(tables_.log_records.RecordCount(), 7);
}

TEST_F(RecordEditingTest, DeleteLeavesTheCursorOnTheNeighbourAndEmptiesTheLastDay) {
  PutHistory();
  Start();
  ShowDay(kMay3);
  Select("20040503000002");  // the second to last
  editing_.Delete1Click();
  EXPECT_EQ(CursorId(), "20040503000003");
  editing_.Delete1Click();  // the last
  EXPECT_EQ(CursorId(), "20040503000001");
  EXPECT_EQ(Day(kMay3),
            Line(kMay3, "9:00:00", "10:00:00", "1:00:00", "Mail", "Acme", "20040503000001", 1250));
  editing_.Delete1Click();
  EXPECT_EQ(Day(kMay3), QByteArray());
  EXPECT_TRUE(editing_.Shown().Eof());
  editing_.Delete1Click();  // nothing under the cursor: nothing happens
  EXPECT_TRUE(messages_.shown.isEmpty());
  EXPECT_EQ(dialog_.opened, 0);

  // The group view deletes from both tables.
  ShowGroups();
  Select("20040504000001");
  editing_.Delete1Click();
  EXPECT_EQ(Ids(tables_.display_log), (QStringList{"20040504000002", "20040510000001"}));
  EXPECT_EQ(CursorId(), "20040504000002");
  EXPECT_EQ(Day(kMay4),
            Line(kMay4, "12:00:00", "13:00:00", "1:00:00", "Logo", "Acme", "20040504000002", 1250));
}

TEST_F(RecordEditingTest, RecordMissingFromTheLogIsReported) {
  PutHistory();
  Start();
  ShowGroups();
  RecordTable& log = tables_.log_records;
  log.CancelRange();
  for (log.First(); log.Value("TaskId").toString() != "20040504000002"; log.Next()) {
  }
  log.Delete();
  const QByteArray before = Day(kMay4);
  Select("20040504000002");
  editing_.Edit1Click();
  editing_.Insert1Click();
  editing_.Delete1Click();
  EXPECT_EQ(messages_.Texts(), QStringList(3, "LogDataset do not contain linked record"));
  EXPECT_EQ(dialog_.opened, 0);
  EXPECT_EQ(Day(kMay4), before);
}

TEST_F(RecordEditingTest, FailedWriteKeepsTheRecordOnDiskAndSaysWhy) {
  PutHistory();
  Start();
  ShowDay(kMay3);
  Select("20040503000001");
  // The 4 May file cannot be replaced: a folder stands in its place.
  QFile::remove(PathOf(kMay4));
  QDir().mkpath(PathOf(kMay4));
  const QByteArray may3_before = Day(kMay3);
  dialog_.script = [](RecordDialogValues& values) {
    values.date = kMay4;
    return true;
  };
  editing_.Edit1Click();
  ASSERT_EQ(messages_.shown.size(), 1);
  EXPECT_EQ(messages_.shown[0].icon, MsgIcon::kError);
  EXPECT_TRUE(messages_.shown[0].text.contains("2004_5_4.tl"))
      << messages_.shown[0].text.toStdString();
  // The old day was not rewritten, so the record is still on disk.
  EXPECT_EQ(Day(kMay3), may3_before);
}

TEST(RecordInputTest, OkChecksInOrder) {
  struct Case {
    const char* rate;
    QDate date;
    const char* project;
    const char* task;
    RecordField field;
    const char* message;
  };
  const Case cases[] = {
      {"12,5", kToday, "", "", RecordField::kRate, "Please type correct rate"},
      {"12.5 h", kMay3, "P", "T", RecordField::kRate, "Please type correct rate"},
      {"", kToday, "P", "T", RecordField::kDate, "Please use the Ravell for today records"},
      {"12.346", kMay3, "", "", RecordField::kProject, "Please define the Project"},
      {"0", kMay3, "P", "", RecordField::kTask, "Please define the Task name"},
      {"12.5", kMay3, "P", "T", RecordField::kNone, ""},
  };
  for (const Case& c : cases) {
    RecordDialogValues values;
    values.rate = c.rate;
    values.date = c.date;
    values.project = c.project;
    values.task = c.task;
    const RecordCheck check = CheckRecordInput(values, kToday);
    EXPECT_EQ(check.field, c.field) << c.rate;
    EXPECT_EQ(check.message, c.message) << c.rate;
    if (QByteArray(c.rate).isEmpty()) {
      EXPECT_EQ(values.rate, "0");
    }
  }
}

TEST(RecordInputTest, TimesStayLinkedAcrossMidnight) {
  const auto text = [](const LinkedTimes& t) {
    return t.start.toString("H:mm:ss") + "-" + t.end.toString("H:mm:ss") + " (" +
           t.delta.toString("H:mm:ss") + ")";
  };
  const QTime h9(9, 0), h10(10, 0), h1(1, 0);
  EXPECT_EQ(text(TimeStartChange({QTime(23, 30), h10, h1})), "23:30:00-0:30:00 (1:00:00)");
  EXPECT_EQ(text(TimeEndChange({h9, QTime(10, 15), h1})), "9:00:00-10:15:00 (1:15:00)");
  EXPECT_EQ(text(TimeEndChange({QTime(23, 0), QTime(0, 30), h1})), "23:00:00-0:30:00 (1:30:00)");
  EXPECT_EQ(text(TimeDeltaChange({h9, h10, QTime(2, 5, 9)})), "9:00:00-11:05:09 (2:05:09)");
  EXPECT_EQ(text(TimeDeltaChange({QTime(22, 0), h10, QTime(3, 0)})), "22:00:00-1:00:00 (3:00:00)");
}

}  // namespace
}  // namespace ravell
