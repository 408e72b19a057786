#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QString>

#include "clock.h"
#include "datetime.h"

namespace ravell {

// H:MM:SS of the time of day of a value: milliseconds rounded half to even,
// the magnitude of a negative value, wrapped at 24 hours, milliseconds dropped.
QString FormatTime(DateTime value);

// Reads a time text to a time-of-day value. Throws ConvertError
// "'<text>' is not a valid time".
DateTime ParseTime(const QString& text);

// A time text as bytes (the form files hold) to milliseconds of the day, as
// ParseTime reads it; the usual H:MM:SS takes a quick path. Throws
// ConvertError like ParseTime.
qint64 ParseTimeMilliseconds(QByteArrayView text);

// start "-" end " (" duration ")", and the running row's start alone. The
// duration is the real time between the two: local wall times are taken in
// the local time zone, readings of the clock carry their real time.
QString TimeFrameText(DateTime start, DateTime end, DateTime duration);
QString TimeFrameText(DateTime start, DateTime end);
QString TimeFrameText(const Moment& start, const Moment& end);
QString OpenTimeFrameText(DateTime start);

// One part of a time frame text: "TimeStart", "TimeEnd" or "TimeDelta".
// Empty for an open time frame text.
QString ParseTimeString(const QString& frame, const QString& part);

// year sep month sep day, no leading zeros.
QString DateText(const QDate& date, const QString& separator);
QString DateText(const Clock& clock, const QString& separator);

// <folder>/Log/<year>/<month>/<year>_<month>_<day>.tl; creates the folders
// (not the file). A failure to create them shows when the file is written.
QString DayLogPath(const QString& program_folder, const QDate& date);
QString DayLogPath(const QString& program_folder, const Clock& clock);

}  // namespace ravell
