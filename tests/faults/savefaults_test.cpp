// Saves that the disk refuses: the user is told, the program goes on, the
// file keeps what it held before and nothing is left half written.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <functional>

#include "../support/fakeplanningui.h"
#include "../support/fakes.h"
#include "../support/fakesessionui.h"
#include "atomicfile.h"
#include "consolidation.h"
#include "daylogrecord.h"
#include "error.h"
#include "timetext.h"
#include "tracker.h"

namespace ravell {
namespace {

const QDate kDay(2004, 3, 7);

// Files above `size` bytes cannot be written while it lives: a write fails
// half way, as on a full disk. Works for root too.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t size) {
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limited = old_;
    limited.rlim_cur = size;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit old_{};
  void (*old_handler_)(int) = nullptr;
};

// Every file below a folder with its bytes, so a test sees any change and
// any temporary left behind.
QMap<QString, QByteArray> Snapshot(const QString& folder) {
  QMap<QString, QByteArray> files;
  QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile file(path);
    files[QDir(folder).relativeFilePath(path)] =
        file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
  }
  return files;
}

TEST(AtomicWriteFaults, FailedWriteReportsAndLeavesTheFolderAsItWas) {
  QTemporaryDir folder;
  const QString root = folder.path();
  WriteFileAtomic(root + "/old.lst", "kept\r\n");
  WriteFileAtomic(root + "/plain", "a file, not a folder");
  QDir(root).mkdir("folder.lst");
  struct Case {
    const char* fault;
    QString path;
    rlim_t limit;
  };
  const Case cases[] = {
      {"write fails half way", root + "/old.lst", 100},
      {"a path component is a file", root + "/plain/2004/3/2004_3_7.tl", RLIM_INFINITY},
      {"a folder where the file must be", root + "/folder.lst", RLIM_INFINITY},
      {"an overlong name", root + "/" + QString(300, 'x'), RLIM_INFINITY},
  };
  const QByteArray big(4096, 'n');
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    const QMap<QString, QByteArray> before = Snapshot(root);
    try {
      FileSizeLimit limit(c.limit);
      WriteFileAtomic(c.path, big);
      ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
      EXPECT_TRUE(e.message().contains(c.path)) << e.what();
    }
    EXPECT_EQ(Snapshot(root), before);
    EXPECT_TRUE(QFileInfo(root + "/folder.lst").isDir());
  }
}

// A program folder with a day of work saved in every file the tracker keeps.
class SaveFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = folder_.path();
    WriteFileAtomic(root_ + "/ravell.ini", "[Storage]\r\nTarget=Log\r\n");
    WriteFileAtomic(root_ + "/projects.lst", "Acme=20.00\r\n");
    WriteFileAtomic(root_ + "/todo.tre", "Acme\r\n\tDesign\r\n");
    clock_.Set(kDay, QTime(9, 0));
    tracker_ = std::make_unique<Tracker>(TrackerEnvironment{root_, &clock_, &messages_, {}});
    tracker_->Start(nullptr);
    tracker_->session().SetUi(&session_ui_);
    tracker_->planning().SetUi(&planning_ui_);
    Work("Design", 9, 30);
    tracker_->WritePlans();
  }

  // Runs a task from now to the given time and stops it, which saves.
  void Work(const QString& task, int h, int m) {
    tracker_->session().NewTask("Acme", task);
    clock_.Set(kDay, QTime(h, m));
    tracker_->session().StopButtonClick();
  }
  QStringList Records() {
    QStringList out;
    for (const DayLogRecord& r :
         ReadDayLogRecords(ReadWholeFile(DayLogPath(root_, kDay))).records) {
      out << QString("%1-%2 %3").arg(r.time_start, r.time_end, r.name);
    }
    return out;
  }
  void AddProject(const QString& name) {
    planning_ui_.project_answer = ProjectFields{name, "5.00"};
    tracker_->planning().Addnew1Click();
  }
  QString ReadFile(const QString& name) {
    return QString::fromLatin1(ReadWholeFile(root_ + "/" + name));
  }

  QTemporaryDir folder_;
  QString root_;
  ManualClock clock_;
  testing::RecordingMessages messages_;
  testing::FakeSessionUi session_ui_;
  testing::FakePlanningUi planning_ui_;
  std::unique_ptr<Tracker> tracker_;
};

// Each save meets a disk that takes only a few bytes more than its file
// holds; then the disk has room again and the next save must hold everything.
TEST_F(SaveFaultTest, HalfWayWriteOfEverySave) {
  struct Case {
    QString file;
    std::function<void()> save;
    std::function<void()> save_again;
    std::function<void()> check_after;
  };
  const Case cases[] = {
      {"Log/2004/3/2004_3_7.tl", [&] { Work("Mail", 10, 0); }, [&] { Work("Call", 10, 15); },
       [&] {
         EXPECT_EQ(Records(), QStringList({"9:00:00-9:30:00 Design", "9:30:00-10:00:00 Mail",
                                           "10:00:00-10:15:00 Call"}));
       }},
      {"projects.lst", [&] { AddProject("Beta"); }, [&] { AddProject("Gamma"); },
       [&] {
         EXPECT_TRUE(ReadFile("projects.lst").startsWith("Acme=20.00\r\nBeta="));
         EXPECT_TRUE(ReadFile("projects.lst").endsWith("Gamma=5.00\r\n"));
         EXPECT_EQ(ReadFile("todo.tre"), "Acme\r\n\tDesign\r\nBeta\r\nGamma\r\n");
       }},
      {"plans.lst",
       [&] {
         tracker_->day_log().SetItemPlan(0, "1:00:00");
         tracker_->Shutdown();
       },
       [&] { tracker_->WritePlans(); },
       [&] { EXPECT_EQ(ReadFile("plans.lst"), "Design=1:00:00\r\nMail=-\r\nCall=-\r\n"); }},
      {"ravell.ini",
       [&] {
         try {
           tracker_->settings().Write("Options", "AutoSaveInterval", QString(200, '0'));
         } catch (const FileError& e) {
           messages_.Show(e.message(), {}, MsgIcon::kError, MsgButtons::kOk);
         }
       },
       [&] { tracker_->settings().Write("Options", "AutoSave", "Yes"); },
       [&] {
         EXPECT_EQ(tracker_->settings().AutoSaveInterval(), "");
         EXPECT_TRUE(tracker_->settings().AutoSave());
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.toStdString());
    messages_.shown.clear();
    const QMap<QString, QByteArray> before = Snapshot(root_);
    {
      FileSizeLimit limit(before.value(c.file).size() + 4);
      c.save();
    }
    ASSERT_EQ(messages_.shown.size(), 1);
    EXPECT_EQ(messages_.shown[0].icon, MsgIcon::kError);
    EXPECT_TRUE(messages_.shown[0].text.contains("Cannot write file"))
        << messages_.Texts()[0].toStdString();
    EXPECT_EQ(Snapshot(root_), before);
    c.save_again();
    c.check_after();
    EXPECT_EQ(messages_.shown.size(), 1);
  }
}

TEST_F(SaveFaultTest, BlockedPaths) {
  // The Log folder is a file: the day cannot be written, the session goes on.
  QDir(root_ + "/Log").removeRecursively();
  WriteFileAtomic(root_ + "/Log", "not a folder");
  Work("Mail", 10, 0);
  ASSERT_EQ(messages_.shown.size(), 1);
  EXPECT_TRUE(messages_.shown[0].text.contains("Cannot create file"));
  EXPECT_EQ(ReadFile("Log"), "not a folder");
  EXPECT_EQ(tracker_->session().state(), SessionState::kStopped);
  EXPECT_EQ(tracker_->day_log().RowCount(), 2);

  // todo.tre is a folder: projects.lst is still written, the failure is told.
  QFile::remove(root_ + "/todo.tre");
  QDir(root_).mkdir("todo.tre");
  AddProject("Beta");
  ASSERT_EQ(messages_.shown.size(), 2);
  EXPECT_TRUE(messages_.shown[1].text.contains("todo.tre"));
  EXPECT_EQ(ReadFile("projects.lst"), "Acme=20.00\r\nBeta=5.00\r\n");
}

TEST(ReporterFaults, ConsolidatedFileThatCannotBeWrittenIsReportedAndTheRecordsStillLoad) {
  QTemporaryDir folder;
  const QByteArray record =
      "<TaskInstance><Year>2004</Year><Month>3</Month><Day>7</Day><TimeStart>9:00:00</TimeStart>"
      "<TimeEnd>10:00:00</TimeEnd><TimeDelta>1:00:00</TimeDelta><Name>Design</Name>"
      "<Project>Acme</Project><TaskId>1</TaskId><Rate>0</Rate></TaskInstance>\r\n";
  WriteFileAtomic(DayLogPath(folder.path(), kDay), record.repeated(50));
  WriteFileAtomic(folder.path() + "/ravtotal.xml", "old");
  testing::RecordingMessages messages;
  Consolidation result;
  {
    FileSizeLimit limit(record.size() * 50 + 10);  // room for the day log, not for the copy
    result = ConsolidateDayLogs(folder.path(), messages, nullptr);
  }
  EXPECT_EQ(result.lines, 50);
  ASSERT_EQ(messages.shown.size(), 1);
  EXPECT_TRUE(messages.shown[0].text.contains("ravtotal.xml"));
  EXPECT_EQ(ReadWholeFile(folder.path() + "/ravtotal.xml"), "old");

  // A folder in its place.
  QFile::remove(folder.path() + "/ravtotal.xml");
  QDir(folder.path()).mkdir("ravtotal.xml");
  EXPECT_EQ(ConsolidateDayLogs(folder.path(), messages, nullptr).lines, 50);
  EXPECT_EQ(messages.shown.size(), 2);
}

// Permissions bind everyone but root.
TEST_F(SaveFaultTest, ReadOnlyFolderAndFiles) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes through permissions";
  const QString day_log = DayLogPath(root_, kDay);
  const QMap<QString, QByteArray> before = Snapshot(root_);

  // A read-only day log file.
  QFile::setPermissions(day_log, QFile::ReadOwner);
  Work("Mail", 10, 0);
  ASSERT_EQ(messages_.shown.size(), 1);
  EXPECT_EQ(Snapshot(root_), before);
  QFile::setPermissions(day_log, QFile::ReadOwner | QFile::WriteOwner);

  // A read-only program folder and Log folders.
  const QStringList folders = {root_, root_ + "/Log", root_ + "/Log/2004", root_ + "/Log/2004/3"};
  for (const QString& f : folders) QFile::setPermissions(f, QFile::ReadOwner | QFile::ExeOwner);
  Work("Call", 10, 15);
  AddProject("Beta");
  tracker_->Shutdown();
  for (const QString& f : folders) {
    QFile::setPermissions(f, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  // The read-only file, then the day log, projects.lst and plans.lst in the read-only folders.
  EXPECT_EQ(messages_.shown.size(), 4) << messages_.Texts().join('\n').toStdString();
  EXPECT_EQ(Snapshot(root_), before);
}

TEST(ReporterFaults, LogFolderThatCannotBeListed) {
  if (geteuid() == 0) GTEST_SKIP() << "root lists any folder";
  QTemporaryDir folder;
  const QByteArray record =
      "<TaskInstance><Year>2004</Year><Month>3</Month><Day>7</Day><TimeStart>9:00:00</TimeStart>"
      "<TimeEnd>10:00:00</TimeEnd><TimeDelta>1:00:00</TimeDelta><Name>Design</Name>"
      "<Project>Acme</Project><TaskId>1</TaskId><Rate>0</Rate></TaskInstance>\r\n";
  WriteFileAtomic(DayLogPath(folder.path(), kDay), record);
  WriteFileAtomic(DayLogPath(folder.path(), QDate(2004, 4, 1)), record);
  const QString locked = folder.path() + "/Log/2004/4";
  QFile::setPermissions(locked, QFileDevice::Permissions());
  testing::RecordingMessages messages;
  const Consolidation result = ConsolidateDayLogs(folder.path(), messages, nullptr);
  QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  // The locked month is named once, and the readable one still loads.
  EXPECT_EQ(messages.Texts(), QStringList{"Error in getfiles with " + locked});
  EXPECT_EQ(result.files, 1);
  EXPECT_EQ(result.lines, 1);
}

}  // namespace
}  // namespace ravell
