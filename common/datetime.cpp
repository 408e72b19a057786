#include "datetime.h"

#include <cmath>

namespace ravell {

namespace {
const qint64 kEpochJulianDay = QDate(1899, 12, 30).toJulianDay();
const qint64 kMsPerDayInt = 86400000;
}  // namespace

qint64 ToMilliseconds(DateTime value) {
  // nearbyint follows the default rounding mode: halves to even.
  return static_cast<qint64>(std::nearbyint(value * kMsPerDay));
}

DateTime FromMilliseconds(qint64 ms) { return static_cast<double>(ms) / kMsPerDay; }

DateTime EncodeDate(const QDate& date) {
  return static_cast<double>(date.toJulianDay() - kEpochJulianDay);
}

DateTime EncodeTime(int hour, int minute, int second, int ms) {
  const qint64 total = ((static_cast<qint64>(hour) * 60 + minute) * 60 + second) * 1000 + ms;
  return FromMilliseconds(total);
}

DateTime EncodeTime(const QTime& time) { return FromMilliseconds(time.msecsSinceStartOfDay()); }

DateTime EncodeDateTime(const QDateTime& moment) {
  return EncodeDate(moment.date()) + EncodeTime(moment.time());
}

QDate DateOf(DateTime value) {
  const qint64 ms = ToMilliseconds(value);
  qint64 days = ms / kMsPerDayInt;
  if (ms % kMsPerDayInt < 0) --days;
  return QDate::fromJulianDay(kEpochJulianDay + days);
}

QTime TimeOf(DateTime value) {
  qint64 ms = ToMilliseconds(value) % kMsPerDayInt;
  if (ms < 0) ms += kMsPerDayInt;
  return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
}

QDateTime DateTimeOf(DateTime value) { return QDateTime(DateOf(value), TimeOf(value)); }

}  // namespace ravell
