#include "clock.h"

#include <QDateTime>

namespace ravell {

DateTime Clock::TimeOfDay() const { return EncodeTime(TimeOf(Now())); }

DateTime Clock::Today() const { return EncodeDate(DateOf(Now())); }

DateTime SystemClock::Now() const { return EncodeDateTime(QDateTime::currentDateTime()); }

}  // namespace ravell
