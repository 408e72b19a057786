#include "clock.h"

#include <QDateTime>

namespace ravell {

qint64 UtcMsOfLocal(DateTime local) {
  // Qt moves a skipped wall time forward by the size of the gap.
  return QDateTime(DateOf(local), TimeOf(local), Qt::LocalTime).toMSecsSinceEpoch();
}

DateTime LocalOfUtcMs(qint64 utc_ms) {
  return EncodeDateTime(QDateTime::fromMSecsSinceEpoch(utc_ms, Qt::LocalTime));
}

DateTime Clock::TimeOfDay() const { return EncodeTime(TimeOf(Now())); }

DateTime Clock::Today() const { return EncodeDate(DateOf(Now())); }

Moment SystemClock::Read() const {
  const QDateTime now = QDateTime::currentDateTime();
  return {EncodeDateTime(now), now.toMSecsSinceEpoch()};
}

}  // namespace ravell
