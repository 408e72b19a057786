#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include "recordtable.h"

namespace ravell::testing {

// Appends one record of the log tables' shape.
inline void AppendLogRecord(RecordTable& table, const QDate& date, const QString& start,
                            const QString& end, const QString& delta, const QString& project,
                            const QString& name, const QVariant& rate) {
  table.Append();
  table.SetValue("Year", date.year());
  table.SetValue("Month", date.month());
  table.SetValue("Day", date.day());
  table.SetValue("TimeStart", start);
  table.SetValue("TimeEnd", end);
  table.SetValue("TimeDelta", delta);
  table.SetValue("Project", project);
  table.SetValue("Name", name);
  table.SetValue("Rate", rate);
  table.Post();
}

// The same with the end equal to the start, where only the duration counts.
inline void AppendLogRecord(RecordTable& table, int year, int month, int day, const QString& start,
                            const QString& delta, const QString& project, const QString& name,
                            const QVariant& rate) {
  AppendLogRecord(table, QDate(year, month, day), start, start, delta, project, name, rate);
}

inline void AppendLogRecord(RecordTable& table, const QDate& date, const QString& start,
                            const QString& delta, const QString& project, const QString& name,
                            const QVariant& rate) {
  AppendLogRecord(table, date.year(), date.month(), date.day(), start, delta, project, name, rate);
}

}  // namespace ravell::testing
