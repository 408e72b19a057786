// Intervals across a change of the clock, run with TZ=Europe/Berlin: the
// clock jumps from 2:00 to 3:00 on 31 March 2024 and from 3:00 back to 2:00 on
// 27 October 2024. Durations must be the real time worked.
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

const QDate kSpring(2024, 3, 31);
const QDate kAutumn(2024, 10, 27);

class ClockChangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Without the zone every case would pass on plain wall-clock arithmetic.
    ASSERT_EQ(UtcMsOfLocal(EncodeDate(kSpring) + EncodeTime(4, 0, 0)) -
                  UtcMsOfLocal(EncodeDate(kSpring) + EncodeTime(1, 0, 0)),
              2 * 3600 * 1000)
        << "run with TZ=Europe/Berlin";
    WriteFileAtomic(folder_.path() + "/ravell.ini",
                    "[Storage]\r\nTarget=Log\r\n[Options]\r\nAutoSave=Yes\r\n"
                    "AutoSaveInterval=0:01:00\r\n");
    WriteFileAtomic(folder_.path() + "/projects.lst", "Acme=60.00\r\n");
  }

  void Start() {
    tracker_ =
        std::make_unique<Tracker>(TrackerEnvironment{folder_.path(), &clock_, &messages_, {}});
    tracker_->Start(nullptr);
    tracker_->session().SetUi(&ui_);
  }
  DayLog& log() { return tracker_->day_log(); }
  QStringList Records(const QDate& day) {
    QStringList out;
    const QString path = DayLogPath(folder_.path(), day);
    if (!QFile::exists(path)) return out;
    for (const DayLogRecord& r : ReadDayLogRecords(ReadWholeFile(path)).records) {
      out << QString("%1-%2 (%3)").arg(r.time_start, r.time_end, r.time_delta);
    }
    return out;
  }

  QTemporaryDir folder_;
  ManualClock clock_;
  testing::RecordingMessages messages_;
  testing::FakeSessionUi ui_;
  std::unique_ptr<Tracker> tracker_;
};

TEST_F(ClockChangeTest, RunningTaskRecordsTheRealTimeAndKeepsItAfterARestart) {
  struct Case {
    QDate day;
    QTime start;
    int real_minutes;
    QString frame;
    QString earnings;
  };
  const Case cases[] = {
      // Spring: one real hour, yet the wall clock moves two.
      {kSpring, QTime(1, 30), 60, "1:30:00-3:30:00 (1:00:00)", "60.00"},
      // Autumn: the hour from 2:00 to 3:00 runs twice.
      {kAutumn, QTime(1, 30), 180, "1:30:00-3:30:00 (3:00:00)", "180.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frame.toStdString());
    clock_.Set(c.day, c.start);
    Start();
    tracker_->session().NewTask("Acme", "Design");
    const qint64 began = clock_.Read().utc_ms;
    for (int second = 1; second <= c.real_minutes * 60; ++second) {
      clock_.Advance(kOneSecond);
      tracker_->Timer1Timer();
      if (second % 600 != 0) continue;
      // Saving went on every minute through the change; the file holds the real time so far.
      const QStringList saved = Records(c.day);
      ASSERT_EQ(saved.size(), 1);
      EXPECT_EQ(saved[0].section('(', 1).chopped(1),
                FormatTime(FromMilliseconds(clock_.Read().utc_ms - began)));
    }
    EXPECT_EQ(log().Item(0).time, FormatTime(c.real_minutes * kOneMinute));
    EXPECT_EQ(log().Item(0).total, c.earnings);
    tracker_->session().StopButtonClick();
    EXPECT_EQ(log().Row(0).time_frame, c.frame);
    EXPECT_EQ(Records(c.day), QStringList{c.frame});
    EXPECT_EQ(log().status_time_text(), DayLog::TotalTimeText(c.real_minutes * kOneMinute));

    // A restart reads the day back with the same durations and total.
    Start();
    EXPECT_EQ(log().Row(0).time_frame, c.frame);
    EXPECT_EQ(log().status_time_text(), DayLog::TotalTimeText(c.real_minutes * kOneMinute));
    EXPECT_TRUE(messages_.shown.isEmpty()) << messages_.Texts().join('\n').toStdString();
    tracker_.reset();
    QFile::remove(DayLogPath(folder_.path(), c.day));
  }
}

TEST_F(ClockChangeTest, TypedIntervalsCountTheRealTimeOfTheirDay) {
  const DateTime spring = EncodeDate(kSpring);
  const DateTime autumn = EncodeDate(kAutumn);
  EXPECT_EQ(TimeFrameText(spring + EncodeTime(1, 0, 0), spring + EncodeTime(4, 0, 0)),
            "1:00:00-4:00:00 (2:00:00)");
  EXPECT_EQ(TimeFrameText(autumn + EncodeTime(0, 0, 0), autumn + EncodeTime(12, 0, 0)),
            "0:00:00-12:00:00 (13:00:00)");
  // Any other day keeps the plain difference.
  EXPECT_EQ(TimeFrameText(spring + 1 + EncodeTime(1, 0, 0), spring + 1 + EncodeTime(4, 0, 0)),
            "1:00:00-4:00:00 (3:00:00)");
}

TEST_F(ClockChangeTest, MidnightRolloverAfterADayWithAChange) {
  // Running from 23:00 the day before the spring change to 1:00 the day after:
  // the change day holds 23 real hours.
  clock_.Set(kSpring.addDays(-1), QTime(23, 0));
  Start();
  tracker_->session().NewTask("Acme", "Design");
  for (int minute = 1; minute <= 25 * 60; ++minute) {
    clock_.Advance(kOneMinute);
    tracker_->Timer1Timer();
  }
  tracker_->session().StopButtonClick();
  EXPECT_EQ(Records(kSpring.addDays(-1)), QStringList{"23:00:00-0:00:00 (1:00:00)"});
  EXPECT_EQ(Records(kSpring), QStringList{"0:00:00-0:00:00 (23:00:00)"});
  EXPECT_EQ(Records(kSpring.addDays(1)), QStringList{"0:00:00-1:00:00 (1:00:00)"});
}

}  // namespace
}  // namespace ravell
