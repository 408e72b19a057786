#pragma once

#include <QDate>

#include "datetime.h"

namespace ravell {

// The only way the programs read the time, so tests can set it.
class Clock {
 public:
  virtual ~Clock() = default;
  // Local date and time.
  virtual DateTime Now() const = 0;
  // Time of day alone (date part 0).
  DateTime TimeOfDay() const;
  // Today at 0:00.
  DateTime Today() const;
  QDate TodayDate() const { return DateOf(Now()); }
};

class SystemClock : public Clock {
 public:
  DateTime Now() const override;
};

// A clock that says what it is told; for tests and tools.
class ManualClock : public Clock {
 public:
  explicit ManualClock(DateTime now = 0) : now_(now) {}
  DateTime Now() const override { return now_; }
  void Set(DateTime now) { now_ = now; }
  void Set(const QDate& date, const QTime& time) { now_ = EncodeDate(date) + EncodeTime(time); }
  void Advance(DateTime delta) { now_ += delta; }

 private:
  DateTime now_;
};

}  // namespace ravell
