// Inserting, changing and deleting records of today's log by hand.
#include "logedit.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "../support/fakeplanningui.h"
#include "../support/fakes.h"
#include "atomicfile.h"
#include "daylogrecord.h"
#include "timetext.h"
#include "tracker.h"

namespace ravell {
namespace {

using testing::FakeNotesLink;
using testing::FakePlanningUi;

const QDate kDay(2004, 3, 7);

DateTime At(int h, int m, int s = 0) { return EncodeDate(kDay) + EncodeTime(h, m, s); }

class LogEditTest : public ::testing::Test {
 protected:
  void SetUp() override { Start(); }

  void Start(const QByteArray& target = "Log") {
    WriteFileAtomic(folder_.path() + "/ravell.ini", "[Storage]\r\nTarget=" + target + "\r\n");
    WriteFileAtomic(folder_.path() + "/projects.lst", "P=10.00\r\n");
    clock_.Set(kDay, QTime(12, 0));
    TrackerEnvironment env{folder_.path(), &clock_, &messages_, {}};
    env.notes_loader = [this](MessageBoxes&) -> std::unique_ptr<NotesLink> {
      auto link = std::make_unique<FakeNotesLink>();
      link->calls = notes_calls_;
      return link;
    };
    tracker_ = std::make_unique<Tracker>(std::move(env));
    tracker_->Start(nullptr);
    edit().SetUi(&ui_);
    notes_calls_->clear();
  }

  LogEdit& edit() { return tracker_->log_edit(); }
  DayLog& log() { return tracker_->day_log(); }
  // Rows 8:00 A, 9:00 B, 10:00 C and 11:00 D, half an hour each.
  void FourRows() {
    const char* tasks[] = {"A", "B", "C", "D"};
    for (int i = 0; i < 4; ++i) edit().InsertTask("P", tasks[i], At(8 + i, 0), At(8 + i, 30));
  }
  QStringList Rows() {
    QStringList rows;
    for (int i = 0; i < log().RowCount(); ++i) {
      rows << log().Row(i).time_frame + "|" + log().Row(i).task + "|" + log().Row(i).project;
    }
    return rows;
  }
  QStringList Items() {
    QStringList items;
    for (int i = 0; i < log().ItemCount(); ++i) {
      items << log().Item(i).task + "|" + log().Item(i).time + "|" + log().Item(i).total;
    }
    return items;
  }
  QByteArray File() {
    const QString path = DayLogPath(folder_.path(), kDay);
    return QFile::exists(path) ? ReadWholeFile(path) : QByteArray("<none>");
  }
  // "start name id" of every record of today's file.
  QStringList Records() {
    QStringList out;
    for (const DayLogRecord& r : ReadDayLogRecords(File()).records) {
      out << QString("%1 %2 %3").arg(r.time_start, r.name, r.task_id);
    }
    return out;
  }

  QTemporaryDir folder_;
  ManualClock clock_;
  testing::RecordingMessages messages_;
  std::shared_ptr<QStringList> notes_calls_ = std::make_shared<QStringList>();
  FakePlanningUi ui_;
  std::unique_ptr<Tracker> tracker_;
};

TEST_F(LogEditTest, FindPlaceGoesAfterEqualStartsAndStopsAtTheRunningRow) {
  EXPECT_EQ(edit().FindPlace(At(9, 0)), 0);  // empty log
  FourRows();
  struct Case {
    DateTime start;
    int place;
  };
  const Case cases[] = {
      {At(7, 59, 59), 0}, {At(8, 0), 1},  {At(9, 0) + 0.4 * kOneSecond, 2},  // whole seconds
      {At(10, 30), 3},    {At(11, 0), 4}, {At(23, 0), 4},
  };
  for (const Case& c : cases)
    EXPECT_EQ(edit().FindPlace(c.start), c.place) << FormatTime(c.start).toStdString();

  tracker_->session().NewTask("P", "E");
  EXPECT_EQ(edit().FindPlace(At(23, 0)), 4);
}

TEST_F(LogEditTest, InsertKeepsStartOrderAndSavesAtOnce) {
  edit().InsertTask("P", "A", At(9, 0), At(9, 30));
  EXPECT_EQ(Rows(), QStringList{"9:00:00-9:30:00 (0:30:00)|A|P"});
  EXPECT_EQ(Items(), QStringList{"A|0:30:00|5.00"});
  EXPECT_EQ(log().status_rate_text(), " Total rate: 5.00");

  edit().InsertTask("", "", At(9, 0), At(9, 10));  // same second: after the row there
  edit().InsertTask("P", "C", At(8, 0), At(8, 5));
  EXPECT_EQ(Rows(),
            (QStringList{"8:00:00-8:05:00 (0:05:00)|C|P", "9:00:00-9:30:00 (0:30:00)|A|P",
                         "9:00:00-9:10:00 (0:10:00)|Working at project|Undefined project"}));
  ASSERT_EQ(Records().size(), 3);
  EXPECT_TRUE(Records()[0].startsWith("8:00:00 C 20040307"));
  EXPECT_TRUE(Records()[2].startsWith("9:00:00 Working at project 20040307"));
}

TEST_F(LogEditTest, InsertWhileATaskRunsOrPausesLeavesItsRowLast) {
  tracker_->session().NewTask("P", "Run");
  edit().InsertTask("P", "Late", At(13, 0), At(13, 30));
  edit().InsertTask("P", "Early", At(7, 0), At(7, 30));
  EXPECT_EQ(Rows(), (QStringList{"7:00:00-7:30:00 (0:30:00)|Early|P",
                                 "13:00:00-13:30:00 (0:30:00)|Late|P", "12:00:00|Run|P"}));
  EXPECT_EQ(tracker_->session().state(), SessionState::kRunning);
  EXPECT_EQ(log().Item(log().current_task).task, "Run");

  clock_.Set(kDay, QTime(12, 10));
  tracker_->session().PauseButtonClick();
  edit().InsertTask("P", "During", At(12, 20), At(12, 25));
  EXPECT_EQ(Rows().last(), "12:00:00-12:10:00 (0:10:00)|Run|P");
  EXPECT_EQ(Records().size(), 4);
}

TEST_F(LogEditTest, InsertDialogPresetsTheHourBeforeNow) {
  struct Case {
    QTime now;
    QString project, task, expected;
  };
  const Case cases[] = {
      {QTime(10, 15, 30, 700), "", "", "Undefined||9:15:30|10:15:30"},
      {QTime(0, 20), "P", "A", "P|A|0:00:00|1:00:00"},
      {QTime(23, 59, 59), "", "A", "Undefined|A|22:59:59|23:59:59"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FakePlanningUi::Describe(LogEdit::InsertPresets(c.project, c.task, c.now)),
              c.expected);
  }

  clock_.Set(kDay, QTime(10, 15, 30));
  EXPECT_EQ(edit().InputInsertTask("", ""), -1);  // cancelled
  EXPECT_EQ(Rows(), QStringList{"||"});
  ui_.record_answer = RecordFields{"P", "A", QTime(9, 0), QTime(9, 45)};
  EXPECT_EQ(edit().InputInsertTask("P", "A"), 0);
  EXPECT_EQ(ui_.calls, (QStringList{"AskInsert|Undefined||9:15:30|10:15:30",
                                    "AskInsert|P|A|9:15:30|10:15:30"}));
  EXPECT_EQ(Rows(), QStringList{"9:00:00-9:45:00 (0:45:00)|A|P"});
}

TEST_F(LogEditTest, ChangeMovesTheRecordToItsPlace) {
  struct Case {
    int row;
    QTime start;
    QString order;  // tasks by row afterwards
    int selected;
  };
  const Case cases[] = {
      {2, QTime(8, 30), "A C B D", 1},  // earlier
      {0, QTime(9, 30), "B A C D", 1},  // later
      {1, QTime(9, 10), "A B C D", 1},  // stays
      {3, QTime(11, 30), "A B C D", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    QFile::remove(DayLogPath(folder_.path(), kDay));
    Start();
    FourRows();
    const LogRow before = log().Row(c.row);
    ui_.record_answer = RecordFields{"P", before.task, c.start, c.start.addSecs(1800)};
    EXPECT_EQ(edit().Edit1Click(c.row), c.selected);

    QStringList tasks;
    for (int i = 0; i < log().RowCount(); ++i) tasks << log().Row(i).task;
    EXPECT_EQ(tasks.join(' '), c.order);
    const LogRow& moved = log().Row(c.selected);
    EXPECT_EQ(moved.task_id, before.task_id);
    EXPECT_EQ(ParseTimeString(moved.time_frame, "TimeStart"), FormatTime(EncodeTime(c.start)));
    EXPECT_EQ(Records()[c.selected].split(' ')[2], before.task_id);
  }
}

TEST_F(LogEditTest, ChangingTheOnlyRowsTaskReplacesItsItem) {
  FourRows();
  ui_.record_answer = RecordFields{"P", "New", QTime(9, 0), QTime(10, 0)};
  edit().Edit1Click(1);
  EXPECT_EQ(ui_.calls, QStringList{"AskChange|P|B|9:00:00|9:30:00"});
  EXPECT_EQ(Items(), (QStringList{"A|0:30:00|5.00", "C|0:30:00|5.00", "D|0:30:00|5.00",
                                  "New|1:00:00|10.00"}));
  EXPECT_EQ(log().status_time_text(), " Total time: 2:30:00");
  EXPECT_EQ(log().status_rate_text(), " Total rate: 25.00");
}

TEST_F(LogEditTest, ChangeLeavesRunningRowsCancelsAndBadTimesAlone) {
  FourRows();
  const QStringList rows = Rows();
  edit().Edit1Click(0);  // cancelled
  EXPECT_EQ(Rows(), rows);

  log().SetRow(0, {"8:00:00-8:7x:00 (0:30:00)", "A", "P", "id"});
  edit().Edit1Click(0);
  EXPECT_EQ(messages_.Texts(), QStringList{"'8:7x:00' is not a valid time"});

  ui_.calls.clear();
  tracker_->session().NewTask("P", "E");
  for (int row : {1, 4, 9}) EXPECT_EQ(edit().Edit1Click(row), -1);
  EXPECT_TRUE(ui_.calls.isEmpty());
}

TEST_F(LogEditTest, DeletingTheOnlyRowLeavesAnEmptyLogAndFile) {
  edit().InsertTask("P", "A", At(9, 0), At(9, 30));
  ASSERT_NE(File(), QByteArray());
  edit().Delete2Click(0);
  EXPECT_TRUE(log().IsEmpty());
  EXPECT_EQ(log().ItemCount(), 0);
  EXPECT_EQ(File(), QByteArray());
  EXPECT_EQ(log().status_time_text(), " Total time: 0:00:00");
  EXPECT_EQ(edit().Delete2Click(0), -1);  // nothing left to delete
}

// The menus enable Delete from these answers.
TEST_F(LogEditTest, DeleteAppliesToEveryClosedRowButTheSessionsOwn) {
  EXPECT_FALSE(edit().CanDelete(0));  // the empty row of an empty log
  edit().InsertTask("P", "A", At(8, 0), At(8, 30));
  edit().InsertTask("P", "B", At(9, 0), At(9, 30));
  EXPECT_TRUE(edit().CanDelete(1));
  EXPECT_FALSE(edit().CanDelete(2));
  tracker_->session().NewTask("P", "Run");
  EXPECT_TRUE(edit().CanDelete(1));
  EXPECT_FALSE(edit().CanDelete(2));
  clock_.Set(kDay, QTime(12, 10));
  tracker_->session().PauseButtonClick();
  // Paused, the last row is closed, yet the session still writes it.
  EXPECT_FALSE(edit().CanDelete(2));
  EXPECT_TRUE(edit().CanDelete(0));
}

TEST_F(LogEditTest, DeleteTellsTheNotesLinkAndSparesTheRunningRow) {
  Start("Combine");
  FourRows();
  const QString id = log().Row(1).task_id;
  tracker_->session().NewTask("P", "E");
  notes_calls_->clear();
  EXPECT_EQ(edit().Delete2Click(4), -1);
  edit().Delete2Click(1);
  EXPECT_EQ(*notes_calls_, QStringList{"DeleteTask|" + id});
  EXPECT_EQ(Rows().size(), 4);
  EXPECT_EQ(Records().size(), 4);  // three closed rows and the running one
  EXPECT_EQ(log().FindTask("P", "B"), -1);
  EXPECT_EQ(log().Item(log().current_task).task, "E");
}

}  // namespace
}  // namespace ravell
