// The tracker's session in a process of its own, ended by SIGTERM (logoff)
// or killed outright: what was saved stays whole and loads again.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "../support/recordingmessages.h"
#include "atomicfile.h"
#include "daylogrecord.h"
#include "timetext.h"
#include "tracker.h"

namespace ravell {
namespace {

const QDate kDay(2004, 3, 7);

class KillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileAtomic(folder_.path() + "/ravell.ini",
                    "[Storage]\r\nTarget=Log\r\n[Options]\r\nAutoSave=Yes\r\n"
                    "AutoSaveInterval=0:01:00\r\n");
    WriteFileAtomic(folder_.path() + "/projects.lst", "Acme=20.00\r\n");
  }

  // Starts the child and waits for its task to run.
  void Launch(QProcess& child, const QString& start) {
    child.start(SESSION_CHILD, {folder_.path(), start});
    ASSERT_TRUE(child.waitForStarted());
    ASSERT_FALSE(WaitForLine(child, "started").isEmpty());
  }
  // The last line starting with `prefix` read up to the first one; empty on timeout.
  static QString WaitForLine(QProcess& child, const QByteArray& prefix) {
    for (int i = 0; i < 100; ++i) {
      while (child.canReadLine()) {
        const QByteArray line = child.readLine().trimmed();
        if (line.startsWith(prefix))
          return QString::fromLatin1(line.mid(prefix.size()).trimmed()) + ' ';
      }
      child.waitForReadyRead(100);
    }
    return {};
  }
  DayLogContents Contents() {
    return ReadDayLogRecords(ReadWholeFile(DayLogPath(folder_.path(), kDay)));
  }

  QTemporaryDir folder_;
};

TEST_F(KillTest, SigtermWhileATaskRunsSavesTheIntervalUpToThatMoment) {
  QProcess child;
  Launch(child, "9:00");
  ASSERT_FALSE(WaitForLine(child, "saved").isEmpty());
  ::kill(static_cast<pid_t>(child.processId()), SIGTERM);
  const QString stopped = WaitForLine(child, "stopped").trimmed();
  ASSERT_TRUE(child.waitForFinished());
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(child.exitCode(), 0);
  EXPECT_EQ(child.readAllStandardError(), QByteArray());

  const DayLogContents contents = Contents();
  ASSERT_EQ(contents.records.size(), 1);
  const DayLogRecord& r = contents.records[0];
  EXPECT_EQ(r.time_start, "9:00:00");
  EXPECT_EQ(QString::fromLatin1(r.time_end), stopped);
  EXPECT_EQ(QString::fromLatin1(r.time_delta),
            FormatTime(ParseTime(stopped) - EncodeTime(9, 0, 0)));
  EXPECT_EQ(ReadWholeFile(folder_.path() + "/plans.lst"), "Design=-\r\n");
}

// Killed at any moment, the file holds every run up to its last save, with
// no record cut off, and the next start loads it without a complaint.
TEST_F(KillTest, SigkillBetweenSavesLosesAtMostTheMinuteSinceTheLastSave) {
  const int delays_ms[] = {0, 7, 40, 110, 260};
  int runs = 0;
  for (int delay : delays_ms) {
    QProcess child;
    Launch(child, QString("%1:00").arg(9 + runs));
    QString last = WaitForLine(child, "saved").trimmed();
    ASSERT_FALSE(last.isEmpty());
    QThread::msleep(delay);
    ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
    ASSERT_TRUE(child.waitForFinished());
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    while (child.canReadLine()) {
      const QByteArray line = child.readLine().trimmed();
      if (line.startsWith("saved ")) last = QString::fromLatin1(line.mid(6));
    }
    ++runs;

    const DayLogContents contents = Contents();
    EXPECT_EQ(contents.dropped, 0);
    ASSERT_EQ(contents.records.size(), runs);
    const DayLogRecord& r = contents.records.last();
    EXPECT_EQ(r.time_start, QString("%1:00:00").arg(9 + runs - 1).toLatin1());
    // The save after the last line read may have landed too, never one less.
    EXPECT_GE(ParseTime(QString::fromLatin1(r.time_end)), ParseTime(last) - kOneSecond / 2);
  }

  ManualClock clock;
  clock.Set(kDay, QTime(20, 0));
  testing::RecordingMessages messages;
  Tracker tracker({folder_.path(), &clock, &messages, {}});
  tracker.Start(nullptr);
  EXPECT_EQ(tracker.day_log().RowCount(), runs);
  EXPECT_TRUE(messages.shown.isEmpty()) << messages.Texts().join('\n').toStdString();
}

}  // namespace
}  // namespace ravell
