#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "../support/fakes.h"
#include "atomicfile.h"
#include "password.h"
#include "tracker.h"

namespace ravell {
namespace {

using testing::FakeNotesLink;
using testing::RecordingMessages;

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() { clock_.Set(QDate(2004, 3, 7), QTime(9, 0)); }

  QString Path(const char* name) const { return folder_.path() + QLatin1Char('/') + name; }
  void WriteIni(const QByteArray& text) { WriteFileAtomic(Path("ravell.ini"), text); }

  // Starts a tracker whose loader hands out the fake link (or none).
  std::unique_ptr<Tracker> Start(bool library_loads = true) {
    TrackerEnvironment env;
    env.program_folder = folder_.path();
    env.clock = &clock_;
    env.messages = &messages_;
    env.notes_loader = [this, library_loads](MessageBoxes&) -> std::unique_ptr<NotesLink> {
      ++loads_;
      if (!library_loads) return nullptr;
      auto link = std::make_unique<FakeNotesLink>(script_);
      link->calls = calls_ = std::make_shared<QStringList>();
      return link;
    };
    auto tracker = std::make_unique<Tracker>(std::move(env));
    tracker->Start(nullptr);
    return tracker;
  }

  QTemporaryDir folder_;
  ManualClock clock_;
  RecordingMessages messages_;
  FakeNotesLink script_;  // copied into each loaded link
  std::shared_ptr<QStringList> calls_ = std::make_shared<QStringList>();
  int loads_ = 0;
};

TEST_F(StartupTest, EmptyFolderCreatesSettingsAndRunsOnTheDayLog) {
  auto tracker = Start();
  EXPECT_EQ(ReadWholeFile(Path("ravell.ini")), QByteArray("[Storage]\r\nTarget=Log\r\n"));
  EXPECT_FALSE(tracker->setup_mode());
  EXPECT_FALSE(tracker->start_hidden());
  EXPECT_EQ(tracker->storage_target(), StorageTarget::kLog);
  EXPECT_EQ(tracker->caption(), QStringLiteral("Ravell 1.0"));
  EXPECT_TRUE(tracker->status_panel_hidden(2));
  EXPECT_EQ(tracker->status_text(3), "Log file: " + Path("Log/2004/3/2004_3_7.tl"));
  EXPECT_TRUE(QDir(Path("Log/2004/3")).exists());
  EXPECT_TRUE(tracker->reporter_visible());
  EXPECT_FALSE(tracker->open_notes_db_visible());
  EXPECT_TRUE(tracker->timer_enabled());
  EXPECT_TRUE(tracker->tray_visible());
  EXPECT_EQ(QDir::currentPath(), QDir(folder_.path()).canonicalPath());
  EXPECT_EQ(loads_, 0);
  EXPECT_TRUE(messages_.shown.isEmpty());
}

TEST_F(StartupTest, FirstStartBesideTheNotesLinkIsSetupMode) {
  QFile(Path("libnotesbridge.so")).open(QIODevice::WriteOnly);
  auto tracker = Start();
  EXPECT_TRUE(tracker->setup_mode());
  EXPECT_TRUE(tracker->start_hidden());
  EXPECT_FALSE(QFile::exists(Path("ravell.ini")));
  EXPECT_EQ(tracker->Timer1Timer(), Tracker::TickAction::kRunSetup);
  EXPECT_FALSE(tracker->timer_enabled());
  EXPECT_FALSE(tracker->tray_visible());
}

TEST_F(StartupTest, StorageTargetFromSettings) {
  struct Case {
    const char* ini;
    StorageTarget target;
    bool reporter;
    bool notes_loaded;
  } cases[] = {
      {"[Storage]\r\n", StorageTarget::kLog, true, false},
      {"[Storage]\r\nTarget=Log\r\n", StorageTarget::kLog, true, false},
      {"[Storage]\r\nTarget=Notes\r\n", StorageTarget::kNotes, false, true},
      {"[Storage]\r\nTarget=Combine\r\n", StorageTarget::kCombine, true, true},
      {"[Storage]\r\nTarget=notes\r\n", StorageTarget::kNone, false, false},
      {"[Storage]\r\nTarget=Elsewhere\r\n", StorageTarget::kNone, false, false},
  };
  for (const Case& c : cases) {
    WriteIni(c.ini);
    loads_ = 0;
    auto tracker = Start();
    SCOPED_TRACE(c.ini);
    EXPECT_EQ(tracker->storage_target(), c.target);
    EXPECT_EQ(tracker->reporter_visible(), c.reporter);
    EXPECT_EQ(tracker->open_notes_db_visible(), c.notes_loaded);
    EXPECT_EQ(loads_, c.notes_loaded ? 1 : 0);
    EXPECT_EQ(tracker->notes_session_open(), c.notes_loaded);
    EXPECT_EQ(tracker->caption(), QStringLiteral("Ravell 1.0"));
  }
}

TEST_F(StartupTest, NotesSessionGetsServerDatabaseAndPassword) {
  WriteIni("[Storage]\r\nTarget=Notes\r\n[Notes]\r\nServer=Local\r\nPassword=" +
           ScramblePassword(QStringLiteral("s3cret")).toLatin1() + "\r\n");
  auto tracker = Start();
  const QString database = Path("rvlog.nsf");
  EXPECT_EQ(calls_->value(0), "Init||" + database + "|s3cret");
  EXPECT_EQ(tracker->notes_database(), database);
  EXPECT_FALSE(tracker->status_panel_hidden(2));
  EXPECT_EQ(tracker->status_text(2), QStringLiteral("Jane Doe"));
  EXPECT_EQ(tracker->status_text(3), "Local: " + database);

  WriteIni("[Storage]\r\nTarget=Combine\r\n[Notes]\r\nServer=hq\r\nDataBase=/srv/db.nsf\r\n");
  tracker = Start();
  EXPECT_EQ(calls_->value(0), QStringLiteral("Init|hq|/srv/db.nsf|"));
  EXPECT_EQ(tracker->status_text(3), QStringLiteral("hq: /srv/db.nsf"));

  tracker->Shutdown();
  tracker->Shutdown();
  EXPECT_EQ(calls_->count(QStringLiteral("Terminate")), 1);
  EXPECT_EQ(tracker->notes(), nullptr);
}

TEST_F(StartupTest, InitResultsAndNotesErrors) {
  WriteIni("[Storage]\r\nTarget=Notes\r\n");

  script_.init_result = -1;
  auto tracker = Start();
  EXPECT_TRUE(tracker->quit_requested());
  ASSERT_EQ(messages_.shown.size(), 1);
  EXPECT_EQ(messages_.shown[0].text,
            QStringLiteral("Error in Notes session initialization.\nRavell will be terminated."));
  EXPECT_EQ(messages_.shown[0].caption, QStringLiteral("Notes session error"));
  EXPECT_EQ(messages_.shown[0].icon, MsgIcon::kError);
  EXPECT_FALSE(calls_->contains(QStringLiteral("GetUserName")));

  messages_.shown.clear();
  script_.init_result = 2;
  tracker = Start();
  EXPECT_TRUE(tracker->setup_mode());
  EXPECT_EQ(tracker->storage_target(), StorageTarget::kLog);
  EXPECT_TRUE(tracker->timer_enabled());
  EXPECT_FALSE(tracker->tray_visible());
  EXPECT_EQ(tracker->notes(), nullptr);
  EXPECT_EQ(calls_->last(), QStringLiteral("Terminate"));
  EXPECT_TRUE(messages_.shown.isEmpty());

  script_.init_result = 1;
  script_.fail_user_name = true;
  tracker = Start();
  EXPECT_TRUE(tracker->quit_requested());
  EXPECT_EQ(messages_.Texts(),
            QStringList{QStringLiteral("Error in libnotesbridge.so.\nRavell will be terminated.")});
}

TEST_F(StartupTest, UnloadableNotesLinkFallsBackToTheDayLog) {
  WriteIni("[Storage]\r\nTarget=Notes\r\n");
  auto tracker = Start(/*library_loads=*/false);
  EXPECT_EQ(tracker->storage_target(), StorageTarget::kLog);
  EXPECT_FALSE(tracker->quit_requested());
  EXPECT_FALSE(tracker->open_notes_db_visible());
  EXPECT_TRUE(tracker->reporter_visible());
  EXPECT_TRUE(tracker->status_text(3).startsWith(QStringLiteral("Log file: ")));
}

TEST_F(StartupTest, StartupSwitches) {
  WriteIni("[Startup]\r\nHideToTray=Yes\r\n[Options]\r\nAutoSave=Yes\r\n");
  auto tracker = Start();
  EXPECT_TRUE(tracker->start_hidden());
  EXPECT_TRUE(tracker->auto_save());
  WriteIni("[Startup]\r\nHideToTray=yes\r\n[Options]\r\nAutoSave=1\r\n");
  tracker = Start();
  EXPECT_FALSE(tracker->start_hidden());
  EXPECT_FALSE(tracker->auto_save());
}

TEST_F(StartupTest, RestartOnTheSameDayBringsBackRecordsAndPlans) {
  clock_.Set(QDate::currentDate(), QTime(12, 0));  // plans.lst counts only if written today
  WriteIni("[Storage]\r\nTarget=Log\r\n");
  WriteFileAtomic(Path("projects.lst"), "Acme=20.00\nHome=0.00\r\n");
  {
    auto first = Start();
    DayLog& log = first->day_log();
    log.InsertSavedTask("Acme", "Mail", EncodeTime(9, 30, 0), EncodeTime(9, 0, 0), "1");
    log.InsertSavedTask("Home", "Mail", EncodeTime(11, 0, 0), EncodeTime(10, 0, 0), "2");
    log.SetItemPlan(0, "0:45:00");
    first->SaveToXML(clock_.TodayDate());
    first->Shutdown();
  }
  EXPECT_EQ(ReadWholeFile(Path("plans.lst")), QByteArray("Mail=0:45:00\r\nMail=-\r\n"));

  auto second = Start();
  DayLog& log = second->day_log();
  ASSERT_EQ(log.RowCount(), 2);
  ASSERT_EQ(log.ItemCount(), 2);
  EXPECT_EQ(log.Item(0).total, "10.00");
  EXPECT_EQ(log.Item(0).plan, "0:45:00");
  EXPECT_EQ(log.Item(1).plan, "0:45:00");  // keyed by the task name alone
  EXPECT_EQ(log.status_time_text(), " Total time: 1:30:00");
  EXPECT_TRUE(log.stopped);
  EXPECT_TRUE(messages_.shown.isEmpty());
}

TEST_F(StartupTest, DamagedDayLogIsReportedOnceAndKept) {
  const QString path = Path("Log/2004/3/2004_3_7.tl");
  QDir().mkpath(Path("Log/2004/3"));
  const QByteArray damaged =
      "<TaskInstance><TimeStart>9:00:00</TimeStart><TimeEnd>9:30:00</TimeEnd>"
      "<TimeDelta>0:30:00</TimeDelta><Name>Ok</Name><Project>P</Project><TaskId>1</TaskId>"
      "</TaskInstance>\r\n<TaskInstance><TimeStart>25:00:00</TimeStart><TimeEnd>9:30:00</TimeEnd>"
      "<TimeDelta>0:30:00</TimeDelta><Name>Bad</Name><Project>P</Project><TaskId>2</TaskId>"
      "</TaskInstance>\r\n";
  WriteFileAtomic(path, damaged);
  auto tracker = Start();
  EXPECT_EQ(tracker->day_log().RowCount(), 1);
  ASSERT_EQ(messages_.shown.size(), 1);
  EXPECT_TRUE(messages_.shown[0].text.contains(path));
  EXPECT_TRUE(messages_.shown[0].text.contains("'25:00:00' is not a valid time"));
  EXPECT_EQ(ReadWholeFile(path + ".bak"), damaged);
  EXPECT_TRUE(tracker->timer_enabled());  // start-up went on
}

}  // namespace
}  // namespace ravell
