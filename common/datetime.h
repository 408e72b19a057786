#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace ravell {

// Days since 1899-12-30 0:00; the fraction is the time of day. Durations use
// the same type (1 hour = 1/24).
using DateTime = double;

inline constexpr double kMsPerDay = 86400000.0;
inline constexpr DateTime kOneSecond = 1.0 / 86400.0;
inline constexpr DateTime kOneMinute = 1.0 / 1440.0;
inline constexpr DateTime kOneHour = 1.0 / 24.0;

// Milliseconds of a value, rounded half to even.
qint64 ToMilliseconds(DateTime value);
DateTime FromMilliseconds(qint64 ms);

DateTime EncodeDate(const QDate& date);
DateTime EncodeTime(int hour, int minute, int second, int ms = 0);
DateTime EncodeTime(const QTime& time);
DateTime EncodeDateTime(const QDateTime& moment);

QDate DateOf(DateTime value);
QTime TimeOf(DateTime value);  // time of day, to the millisecond
QDateTime DateTimeOf(DateTime value);

}  // namespace ravell
