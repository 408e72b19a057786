#pragma once

#include <QDate>

#include "datetime.h"

namespace ravell {

// One reading of the clock: the local wall time that is shown and written,
// and the real time (milliseconds since 1970 UTC) that durations are measured
// on, so a change of the local clock for daylight saving neither adds nor
// drops an hour.
struct Moment {
  DateTime local = 0;
  qint64 utc_ms = 0;
};

// The real time between two readings.
inline DateTime Elapsed(const Moment& from, const Moment& to) {
  return FromMilliseconds(to.utc_ms - from.utc_ms);
}

// Local wall time and real time converted in the local time zone. A wall time
// the clock skipped counts as the moment after the change; one it showed twice
// stands for one of its two showings, so only readings of the clock (Moment)
// measure an interval that starts or ends in that hour exactly.
qint64 UtcMsOfLocal(DateTime local);
DateTime LocalOfUtcMs(qint64 utc_ms);
inline Moment MomentOfLocal(DateTime local) { return {local, UtcMsOfLocal(local)}; }
// The real time between two local wall times.
inline DateTime LocalElapsed(DateTime from, DateTime to) {
  return FromMilliseconds(UtcMsOfLocal(to) - UtcMsOfLocal(from));
}

// The only way the programs read the time, so tests can set it.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual Moment Read() const = 0;
  // Local date and time.
  DateTime Now() const { return Read().local; }
  // Time of day alone (date part 0).
  DateTime TimeOfDay() const;
  // Today at 0:00.
  DateTime Today() const;
  QDate TodayDate() const { return DateOf(Now()); }
};

class SystemClock : public Clock {
 public:
  Moment Read() const override;
};

// A clock that says what it is told; for tests and tools. It runs on real
// time and shows it in the local time zone, so advancing it across a change
// of the clock (with TZ set to a zone that has one) shows the jump.
class ManualClock : public Clock {
 public:
  explicit ManualClock(DateTime now = 0) : utc_ms_(UtcMsOfLocal(now)) {}
  Moment Read() const override { return {LocalOfUtcMs(utc_ms_), utc_ms_}; }
  void Set(DateTime now) { utc_ms_ = UtcMsOfLocal(now); }
  void Set(const QDate& date, const QTime& time) { Set(EncodeDate(date) + EncodeTime(time)); }
  // Real time passes.
  void Advance(DateTime delta) { utc_ms_ += ToMilliseconds(delta); }

 private:
  qint64 utc_ms_;
};

}  // namespace ravell
