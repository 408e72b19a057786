#include "tasksession.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "../support/fakes.h"
#include "../support/fakesessionui.h"
#include "atomicfile.h"
#include "daylogrecord.h"
#include "timetext.h"
#include "tracker.h"

namespace ravell {
namespace {

using testing::FakeSessionUi;

const QDate kDay(2004, 3, 7);

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override { Start("[Storage]\r\nTarget=Log\r\n"); }

  void Start(const QByteArray& ini, QTime at = QTime(9, 0), QDate day = kDay) {
    WriteFileAtomic(folder_.path() + "/ravell.ini", ini);
    WriteFileAtomic(folder_.path() + "/projects.lst", "Acme=20.00\r\nHome=\r\n");
    clock_.Set(day, at);
    TrackerEnvironment env{folder_.path(), &clock_, &messages_, {}};
    tracker_ = std::make_unique<Tracker>(std::move(env));
    tracker_->Start(nullptr);
    tracker_->session().SetUi(&ui_);
    tracker_->session().SetToDo(&todo_);
  }

  TaskSession& session() { return tracker_->session(); }
  DayLog& log() { return tracker_->day_log(); }
  void At(int h, int m, int s = 0) { clock_.Set(clock_.TodayDate(), QTime(h, m, s)); }
  // Ticks once a second from now up to the given time.
  void TickUntil(int h, int m, int s = 0) {
    const qint64 end = ToMilliseconds(EncodeDate(clock_.TodayDate()) + EncodeTime(h, m, s));
    while (ToMilliseconds(clock_.Now()) < end) {
      clock_.Advance(kOneSecond);
      tracker_->Timer1Timer();
    }
  }
  QStringList Rows() {
    QStringList rows;
    for (int i = 0; i < log().RowCount(); ++i) {
      rows << log().Row(i).time_frame + "|" + log().Row(i).task + "|" + log().Row(i).project;
    }
    return rows;
  }
  QByteArray File(const QDate& day = kDay) {
    const QString path = DayLogPath(folder_.path(), day);
    return QFile::exists(path) ? ReadWholeFile(path) : QByteArray("<none>");
  }
  // "start-end (delta) name" of every record of a day's file.
  QStringList Records(const QDate& day = kDay) {
    QStringList out;
    for (const DayLogRecord& r : ReadDayLogRecords(File(day)).records) {
      out << QString("%1-%2 (%3) %4").arg(r.time_start, r.time_end, r.time_delta, r.name);
    }
    return out;
  }

  QTemporaryDir folder_;
  ManualClock clock_;
  testing::RecordingMessages messages_;
  FakeSessionUi ui_;
  testing::RecordingToDo todo_;
  std::unique_ptr<Tracker> tracker_;
  testing::FakeNotesLink* link_ = nullptr;  // owned by the tracker
};

TEST_F(SessionTest, SwitchAfterTenMinutesSavesTheClosedRowAndTheOpenOneUpToTheSwitch) {
  EXPECT_EQ(session().state(), SessionState::kStopped);
  EXPECT_EQ(File(), "<none>");
  session().NewTask("Acme", "Design");
  EXPECT_EQ(session().state(), SessionState::kRunning);
  EXPECT_EQ(session().tray_image(), TrayImage::kRunning);
  const CommandStates& c = session().commands();
  EXPECT_TRUE(c.start_new && c.pause && !c.pause_down && c.stop && !c.insert_task);
  EXPECT_EQ(File(), "<none>");  // starting saves nothing

  TickUntil(9, 10);
  EXPECT_EQ(log().Item(0).time, "0:10:00");
  EXPECT_EQ(log().Item(0).total, "3.33");
  EXPECT_EQ(log().status_time_text(), " Total time: 0:10:00");
  session().NewTask("Acme", "Mail");
  EXPECT_EQ(Rows(), QStringList({"9:00:00-9:10:00 (0:10:00)|Design|Acme", "9:10:00|Mail|Acme"}));
  EXPECT_EQ(Records(), QStringList({"9:00:00-9:10:00 (0:10:00) Design",
                                    "9:10:00-9:10:00 (0:00:00) Mail"}));
  EXPECT_EQ(ui_.focused_row, 1);
  EXPECT_EQ(log().Item(log().current_task).marker, TaskMarker::kRunning);
  EXPECT_EQ(log().Item(0).marker, TaskMarker::kNone);
  EXPECT_TRUE(ui_.trays.contains(TrayImage::kSaving));
  EXPECT_EQ(session().tray_image(), TrayImage::kRunning);
}

TEST_F(SessionTest, EmptyNamesGetDefaultsAndTheToDoChild) {
  session().NewTask("", "");
  EXPECT_EQ(Rows().last(), "9:00:00|Working at project|Undefined project");
  EXPECT_TRUE(todo_.added.isEmpty());
  session().NewTask("Acme", "", /*from_dialog=*/true);
  EXPECT_EQ(Rows().last(), "9:00:00|Working at project|Acme");
  EXPECT_EQ(todo_.added, QStringList{"Acme/Working on project"});
}

TEST_F(SessionTest, PauseOutcomes) {
  struct Case {
    int result;
    const char* task;
    QStringList rows;
    QStringList records_after_resume;  // file right after the pause was resolved
    const char* design_time_at_11;
  } cases[] = {
      {kSkipThisTime, "",
       {"10:00:00-10:30:00 (0:30:00)|Design|Acme", "10:45:00|Design|Acme"},
       {"10:00:00-10:30:00 (0:30:00) Design"},
       "0:45:00"},
      {kCancelPause, "",
       {"10:00:00-10:30:00 (0:30:00)|Design|Acme", "10:30:00|Design|Acme"},
       {"10:00:00-10:30:00 (0:30:00) Design"},
       "1:00:00"},
      {kCreateTask, "Phone",
       {"10:00:00-10:30:00 (0:30:00)|Design|Acme", "10:30:00-10:45:00 (0:15:00)|Phone|Home",
        "10:45:00|Design|Acme"},
       {"10:00:00-10:30:00 (0:30:00) Design", "10:30:00-10:45:00 (0:15:00) Phone",
        "10:45:00-10:45:00 (0:00:00) Design"},
       "0:45:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.result);
    tracker_.reset();
    QFile::remove(DayLogPath(folder_.path(), kDay));
    Start("[Storage]\r\nTarget=Log\r\n", QTime(10, 0));
    session().NewTask("Acme", "Design");
    TickUntil(10, 30);
    session().PauseButtonClick();
    EXPECT_EQ(session().state(), SessionState::kPaused);
    EXPECT_EQ(session().tray_image(), TrayImage::kPaused);
    EXPECT_FALSE(session().commands().start_new);
    EXPECT_EQ(log().Item(0).marker, TaskMarker::kPaused);
    EXPECT_EQ(Records(), QStringList{"10:00:00-10:30:00 (0:30:00) Design"});
    TickUntil(10, 45);
    EXPECT_EQ(log().status_time_text(), " Total time: 0:45:00");  // the pause so far counts here

    ui_.pause_answer = {c.result, "Home", c.task};
    session().PauseButtonClick();
    EXPECT_EQ(session().state(), SessionState::kRunning);
    EXPECT_EQ(Rows(), c.rows);
    EXPECT_EQ(Records(), c.records_after_resume);
    EXPECT_EQ(log().Item(log().current_task).task, "Design");
    TickUntil(11, 0);
    EXPECT_EQ(log().Item(0).time, c.design_time_at_11);
  }
}

TEST_F(SessionTest, StopWhilePausedSavesNothingAndStopWhileRunningSaves) {
  session().NewTask("Acme", "Design");
  TickUntil(9, 20);
  session().PauseButtonClick();
  const QByteArray saved = File();
  TickUntil(9, 40);
  session().TotalListDblClick(0);  // refused while paused
  session().SwithToTask1Click(0);
  EXPECT_EQ(log().RowCount(), 1);
  session().StopButtonClick();
  EXPECT_EQ(File(), saved);
  EXPECT_EQ(session().state(), SessionState::kStopped);
  EXPECT_EQ(session().tray_image(), TrayImage::kIdle);
  const CommandStates& c = session().commands();
  EXPECT_TRUE(c.start_new && !c.pause && !c.pause_down && !c.stop && c.insert_task);
  EXPECT_EQ(log().Item(0).marker, TaskMarker::kNone);

  session().TotalListDblClick(0);  // runs the task again
  TickUntil(10, 0);
  session().StopButtonClick();
  EXPECT_EQ(Records(), QStringList({"9:00:00-9:20:00 (0:20:00) Design",
                                    "9:40:00-10:00:00 (0:20:00) Design"}));
  EXPECT_EQ(log().Item(0).time, "0:40:00");
  EXPECT_EQ(log().status_time_text(), " Total time: 0:40:00");
}

TEST_F(SessionTest, ShutdownWhileRunningSavesTheIntervalBeforeThePlans) {
  session().NewTask("Acme", "Design");
  TickUntil(9, 5);
  tracker_->Shutdown();
  EXPECT_EQ(Records(), QStringList{"9:00:00-9:05:00 (0:05:00) Design"});
  EXPECT_EQ(ReadWholeFile(folder_.path() + "/plans.lst"), QByteArray("Design=-\r\n"));
}

TEST_F(SessionTest, PlanAlarmFiresOnceAndAgainAfterExtending) {
  session().NewTask("Acme", "Design");
  log().SetItemPlan(0, "0:30:00");
  ui_.alarm_results = {1, 3};
  TickUntil(9, 29, 59);
  EXPECT_TRUE(ui_.Alarms().isEmpty());
  TickUntil(9, 35);
  EXPECT_EQ(ui_.Alarms(), QStringList{"ShowAlarm|Planned time 0:30:00 for|Design|Acme"});
  EXPECT_EQ(log().Item(0).plan, "0:40:00");
  TickUntil(9, 40);
  EXPECT_EQ(ui_.Alarms().size(), 2);
  EXPECT_EQ(session().state(), SessionState::kStopped);  // result 3 stopped it

  Start("[Storage]\r\nTarget=Log\r\n", QTime(10, 0));
  session().NewTask("Acme", "Long");
  log().SetItemPlan(log().current_task, "10:00:00");
  ui_.calls.clear();
  TickUntil(12, 0);
  EXPECT_TRUE(ui_.Alarms().isEmpty());
}

TEST_F(SessionTest, AlarmResultsTwoAndFour) {
  session().NewTask("Acme", "Design");
  log().SetItemPlan(0, "0:00:05");
  ui_.alarm_results = {2};
  ui_.plan_answer = QString("0:00:10");
  TickUntil(9, 0, 6);
  EXPECT_EQ(log().Item(0).plan, "0:00:10");
  EXPECT_TRUE(session().plan_alarm_armed());
  ui_.alarm_results = {4};
  TickUntil(9, 0, 11);
  EXPECT_TRUE(ui_.calls.contains("ShowMainWindow"));
  EXPECT_FALSE(session().plan_alarm_armed());
}

TEST_F(SessionTest, AutomaticSavingOnlyWhileRunning) {
  Start("[Storage]\r\nTarget=Log\r\n[Options]\r\nAutoSave=Yes\r\nAutoSaveInterval=0:05:00\r\n");
  TickUntil(9, 10);
  EXPECT_EQ(File(), "<none>");  // stopped: nothing to save
  session().NewTask("Acme", "Design");
  TickUntil(9, 14, 59);
  EXPECT_EQ(File(), "<none>");
  TickUntil(9, 15);
  EXPECT_EQ(Records(), QStringList{"9:10:00-9:15:00 (0:05:00) Design"});
  TickUntil(9, 20);
  EXPECT_EQ(Records(), QStringList{"9:10:00-9:20:00 (0:10:00) Design"});
  session().PauseButtonClick();
  const QByteArray paused = File();
  TickUntil(9, 40);
  EXPECT_EQ(File(), paused);
}

TEST_F(SessionTest, BadAutoSaveIntervalIsReportedOnce) {
  Start("[Storage]\r\nTarget=Log\r\n[Options]\r\nAutoSave=Yes\r\nAutoSaveInterval=often\r\n");
  session().NewTask("Acme", "Design");
  TickUntil(9, 1);
  ASSERT_EQ(messages_.shown.size(), 1);
  EXPECT_TRUE(messages_.shown[0].text.contains("'often' is not a valid time"));
}

TEST_F(SessionTest, MidnightClosesTheIntervalInTheOldDayAndGoesOnFromMidnight) {
  Start("[Storage]\r\nTarget=Log\r\n", QTime(23, 50));
  session().NewTask("Acme", "Design");
  clock_.Set(kDay.addDays(1), QTime(0, 0, 1));
  tracker_->Timer1Timer();
  EXPECT_EQ(Records(kDay), QStringList{"23:50:00-0:00:00 (0:10:00) Design"});
  EXPECT_EQ(File(kDay.addDays(1)), QByteArray());  // the new day starts empty
  EXPECT_EQ(Rows(), QStringList{"0:00:00|Design|Acme"});
  EXPECT_EQ(log().Item(0).time, "0:00:01");
  EXPECT_EQ(session().state(), SessionState::kRunning);
  clock_.Set(kDay.addDays(1), QTime(0, 30));
  session().StopButtonClick();
  EXPECT_EQ(Records(kDay.addDays(1)), QStringList{"0:00:00-0:30:00 (0:30:00) Design"});
  EXPECT_EQ(Records(kDay), QStringList{"23:50:00-0:00:00 (0:10:00) Design"});
}

TEST_F(SessionTest, PausedAtMidnightRunsOnInTheNewDay) {
  Start("[Storage]\r\nTarget=Log\r\n", QTime(23, 0));
  session().NewTask("Acme", "Design");
  clock_.Set(kDay, QTime(23, 30));
  session().PauseButtonClick();
  clock_.Set(kDay.addDays(1), QTime(0, 0, 5));
  tracker_->Timer1Timer();
  EXPECT_EQ(Records(kDay), QStringList{"23:00:00-23:30:00 (0:30:00) Design"});
  EXPECT_EQ(Rows(), QStringList{"0:00:00|Design|Acme"});
  EXPECT_EQ(session().state(), SessionState::kRunning);
}

TEST_F(SessionTest, RolloverWaitsForThePauseDialog) {
  Start("[Storage]\r\nTarget=Log\r\n", QTime(23, 50));
  session().NewTask("Acme", "Design");
  clock_.Set(kDay, QTime(23, 55));
  session().PauseButtonClick();
  ui_.pause_answer = {kCancelPause, "", ""};
  ui_.during_pause = [this] {
    clock_.Set(kDay.addDays(1), QTime(0, 0, 2));
    tracker_->Timer1Timer();  // a tick inside the dialog's loop
    EXPECT_EQ(session().log_date(), kDay);
  };
  session().PauseButtonClick();
  tracker_->Timer1Timer();
  EXPECT_EQ(session().log_date(), kDay.addDays(1));
  EXPECT_EQ(Records(kDay), QStringList({"23:50:00-23:55:00 (0:05:00) Design",
                                        "23:55:00-0:00:00 (0:05:00) Design"}));
}

TEST_F(SessionTest, StartJustAfterMidnightKeepsTheLoadedDay) {
  const QDate next = kDay.addDays(1);
  const QByteArray record =
      "<TaskInstance><TimeStart>0:00:00</TimeStart><TimeEnd>0:00:20</TimeEnd>"
      "<TimeDelta>0:00:20</TimeDelta><Name>Night</Name><Project>Acme</Project>"
      "<TaskId>1</TaskId></TaskInstance>\r\n";
  WriteFileAtomic(DayLogPath(folder_.path(), next), record);
  Start("[Storage]\r\nTarget=Log\r\n", QTime(0, 0, 30), next);
  TickUntil(0, 1, 10);
  EXPECT_EQ(Rows(), QStringList{"0:00:00-0:00:20 (0:00:20)|Night|Acme"});
  EXPECT_EQ(File(next), record);
}

TEST_F(SessionTest, NotesAndCombineSaveThroughTheLink) {
  auto calls = std::make_shared<QStringList>();
  WriteFileAtomic(folder_.path() + "/ravell.ini", "[Storage]\r\nTarget=Combine\r\n");
  TrackerEnvironment env{folder_.path(), &clock_, &messages_,
                         [calls, this](MessageBoxes&) -> std::unique_ptr<NotesLink> {
                           auto link = std::make_unique<testing::FakeNotesLink>();
                           link->calls = calls;
                           link->rate_list = "Acme=12.50\r\n";
                           link_ = link.get();
                           return link;
                         }};
  clock_.Set(kDay, QTime(9, 0));
  tracker_ = std::make_unique<Tracker>(std::move(env));
  tracker_->Start(nullptr);
  session().NewTask("Acme", "Design");
  clock_.Set(kDay, QTime(9, 30));
  session().StopButtonClick();
  const QString id = log().Row(0).task_id;
  const DateTime day = EncodeDate(kDay);
  EXPECT_EQ(calls->filter("SaveToNotesDoc").value(0),
            QString("SaveToNotesDoc|Design|Acme|%1|12.5|%2|%3")
                .arg(id)
                .arg(day + EncodeTime(9, 0, 0), 0, 'f', 6)
                .arg(day + EncodeTime(9, 30, 0), 0, 'f', 6));
  EXPECT_EQ(Records(), QStringList{"9:00:00-9:30:00 (0:30:00) Design"});

  // The database refusing a save must not cost the day log its copy.
  link_->fail_save = true;
  session().NewTask("Acme", "Mail");
  clock_.Set(kDay, QTime(9, 45));
  session().StopButtonClick();
  EXPECT_EQ(Records(), QStringList({"9:00:00-9:30:00 (0:30:00) Design",
                                    "9:30:00-9:45:00 (0:15:00) Mail"}));
  ASSERT_EQ(messages_.shown.size(), 1);
  EXPECT_TRUE(messages_.shown[0].text.contains("SaveToNotesDoc failed"));
}

// A whole accelerated day with saving every minute and a midnight inside it:
// whenever the process might die, the files hold all but the last minute, and
// after Stop they hold exactly the elapsed time, nothing twice.
TEST_F(SessionTest, SoakDayWithMinuteSavesAcrossMidnight) {
  Start("[Storage]\r\nTarget=Log\r\n[Options]\r\nAutoSave=Yes\r\nAutoSaveInterval=0:01:00\r\n",
        QTime(8, 0));
  const QDate next = kDay.addDays(1);
  auto saved_seconds = [this, next] {
    qint64 total = 0;
    for (const QDate& day : {kDay, next}) {
      for (const DayLogRecord& r : ReadDayLogRecords(File(day)).records) {
        total += ToMilliseconds(ParseTime(r.time_delta)) / 1000;
      }
    }
    return total;
  };
  session().NewTask("Acme", "Design");
  const qint64 start = ToMilliseconds(clock_.Now());
  for (int second = 1; second <= 24 * 3600; ++second) {
    clock_.Advance(kOneSecond);
    tracker_->Timer1Timer();
    if (second % 3600 == 0) {
      const qint64 elapsed = (ToMilliseconds(clock_.Now()) - start) / 1000;
      const qint64 saved = saved_seconds();
      ASSERT_LE(saved, elapsed) << "at " << second;
      ASSERT_GE(saved, elapsed - 60) << "at " << second;
    }
  }
  session().StopButtonClick();
  EXPECT_EQ(saved_seconds(), 24 * 3600);
  EXPECT_EQ(Records(kDay), QStringList{"8:00:00-0:00:00 (16:00:00) Design"});
  EXPECT_EQ(Records(next), QStringList{"0:00:00-8:00:00 (8:00:00) Design"});
  EXPECT_TRUE(messages_.shown.isEmpty());
}

}  // namespace
}  // namespace ravell
