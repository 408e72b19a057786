#include "timetext.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "error.h"
#include "recordid.h"

namespace ravell {
namespace {

TEST(FormatTime, RoundsWrapsAndDropsMilliseconds) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {0, "0:00:00"},
      {1.0 / 24, "1:00:00"},
      {1 + 1.0 / 24, "1:00:00"},                    // 25 hours wrap
      {-30.0 / 1440, "0:30:00"},                    // magnitude of a negative duration
      {59999 / kMsPerDay, "0:00:59"},               // milliseconds dropped, not rounded
      {10.5 / 24, "10:30:00"},                      // two-digit hour
      {(86399999.0) / kMsPerDay, "23:59:59"},
      {(1000 - 0.5) / kMsPerDay, "0:00:01"},        // 999.5 ms rounds to 1000
      {(2500.5 - 1) / kMsPerDay, "0:00:02"},        // 2499.5 ms rounds to even 2500
      {1.0, "0:00:00"},
      {EncodeDate(QDate(2004, 3, 7)) + EncodeTime(9, 5, 0), "9:05:00"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatTime(c.value), QLatin1String(c.text)) << c.value;
}

TEST(FormatTime, HalfMillisecondGoesToEven) {
  // 0.5 ms -> 0 and 1.5 ms -> 2 under half-to-even; exercised through the ms count.
  EXPECT_EQ(ToMilliseconds(0.5 / kMsPerDay), 0);
  EXPECT_EQ(ToMilliseconds(1.5 / kMsPerDay), 2);
  EXPECT_EQ(ToMilliseconds(2.5 / kMsPerDay), 2);
}

TEST(ParseTime, AcceptsTimeTexts) {
  struct Case {
    const char* text;
    int h, m, s, ms;
  } cases[] = {
      {"0:10", 0, 10, 0, 0},     {"9:05:00", 9, 5, 0, 0},    {"23:59:59", 23, 59, 59, 0},
      {" 1 : 02 : 03 ", 1, 2, 3, 0}, {"7", 7, 0, 0, 0},      {"1:00:00.250", 1, 0, 0, 250},
      {"12:30 AM", 0, 30, 0, 0}, {"1:15 pm", 13, 15, 0, 0},  {"PM 12:00", 12, 0, 0, 0},
      {"10:00:00", 10, 0, 0, 0}, {"09:05:07", 9, 5, 7, 0},
  };
  for (const Case& c : cases) {
    const qint64 expected = ToMilliseconds(EncodeTime(c.h, c.m, c.s, c.ms));
    EXPECT_EQ(ToMilliseconds(ParseTime(QLatin1String(c.text))), expected) << c.text;
    // The byte form with its quick path reads the same.
    EXPECT_EQ(ParseTimeMilliseconds(c.text), expected) << c.text;
  }
}

TEST(ParseTime, RejectsOtherTextsNamingThem) {
  for (const char* text : {"24:00:00", "9:60:00", "9:00:60", "word", "", "1:2:3:4", "13:00 PM",
                           "0:00 AM", "1:00x", "-1:00", "1:00:00.1000", "99999999999:00",
                           "1:05:0a", "24:00:00x"}) {
    try {
      ParseTime(QLatin1String(text));
      ADD_FAILURE() << "accepted " << text;
    } catch (const ConvertError& e) {
      EXPECT_EQ(e.message(), QStringLiteral("'%1' is not a valid time").arg(QLatin1String(text)));
    }
    EXPECT_THROW(ParseTimeMilliseconds(text), ConvertError) << text;
  }
}

TEST(TimeFrame, BuildsAndSplitsTheThreeParts) {
  const DateTime day = EncodeDate(QDate(2004, 3, 7));
  const QString frame = TimeFrameText(day + EncodeTime(9, 5, 0), day + EncodeTime(10, 35, 30));
  EXPECT_EQ(frame, QStringLiteral("9:05:00-10:35:30 (1:30:30)"));
  EXPECT_EQ(ParseTimeString(frame, QStringLiteral("TimeStart")), QStringLiteral("9:05:00"));
  EXPECT_EQ(ParseTimeString(frame, QStringLiteral("TimeEnd")), QStringLiteral("10:35:30"));
  EXPECT_EQ(ParseTimeString(frame, QStringLiteral("TimeDelta")), QStringLiteral("1:30:30"));

  // A duration of ten hours or more: the whole text between the parentheses.
  const QString long_frame = TimeFrameText(day + EncodeTime(8, 0, 0), day + EncodeTime(19, 0, 1));
  EXPECT_EQ(ParseTimeString(long_frame, QStringLiteral("TimeDelta")), QStringLiteral("11:00:01"));

  // The duration comes from full date-time values, across midnight too.
  EXPECT_EQ(TimeFrameText(day + EncodeTime(23, 0, 0), day + 1 + EncodeTime(1, 0, 0)),
            QStringLiteral("23:00:00-1:00:00 (2:00:00)"));

  const QString open = OpenTimeFrameText(day + EncodeTime(10, 35, 30));
  EXPECT_EQ(open, QStringLiteral("10:35:30"));
  for (const char* part : {"TimeStart", "TimeEnd", "TimeDelta"}) {
    EXPECT_TRUE(ParseTimeString(open, QLatin1String(part)).isEmpty()) << part;
  }
}

TEST(DayLog, DateTextAndPathWithoutLeadingZeros) {
  EXPECT_EQ(DateText(QDate(2004, 3, 7), QStringLiteral("_")), QStringLiteral("2004_3_7"));
  EXPECT_EQ(DateText(QDate(2010, 12, 31), QStringLiteral(".")), QStringLiteral("2010.12.31"));

  QTemporaryDir folder;
  ManualClock clock;
  clock.Set(QDate(2005, 1, 1), QTime(0, 0, 1));
  const QString path = DayLogPath(folder.path(), clock);
  EXPECT_EQ(path, folder.path() + QStringLiteral("/Log/2005/1/2005_1_1.tl"));
  EXPECT_TRUE(QFileInfo(folder.path() + QStringLiteral("/Log/2005/1")).isDir());
  EXPECT_FALSE(QFileInfo::exists(path));  // folders only, never the file

  // A new month beside an existing year folder.
  clock.Set(QDate(2005, 2, 1), QTime(12, 0));
  DayLogPath(folder.path(), clock);
  EXPECT_TRUE(QFileInfo(folder.path() + QStringLiteral("/Log/2005/2")).isDir());
}

TEST(RecordId, FourteenDigitsFromDateAndRandom) {
  EXPECT_EQ(FormatTaskId(QDate(2004, 3, 7), 42), QStringLiteral("20040307000042"));
  const QString id = NewTaskId(QDate(2026, 12, 9));
  EXPECT_EQ(id.size(), 14);
  EXPECT_TRUE(id.startsWith(QStringLiteral("20261209")));
}

TEST(ClockReadings, TimeOfDayAndToday) {
  ManualClock clock;
  clock.Set(QDate(2026, 12, 9), QTime(23, 59, 59, 500));
  EXPECT_EQ(clock.TodayDate(), QDate(2026, 12, 9));
  EXPECT_DOUBLE_EQ(clock.Today(), EncodeDate(QDate(2026, 12, 9)));
  EXPECT_EQ(ToMilliseconds(clock.TimeOfDay()), ToMilliseconds(EncodeTime(23, 59, 59, 500)));
  EXPECT_EQ(TimeOf(clock.Now()), QTime(23, 59, 59, 500));
}

}  // namespace
}  // namespace ravell
