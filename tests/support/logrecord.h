#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include "recordtable.h"

namespace ravell::testing {

// Appends one record of the log tables' shape; the end equals the start, as
// only the duration counts for the totals.
inline void AppendLogRecord(RecordTable& table, int year, int month, int day, const QString& start,
                            const QString& delta, const QString& project, const QString& name,
                            const QVariant& rate) {
  table.Append();
  table.SetValue("Year", year);
  table.SetValue("Month", month);
  table.SetValue("Day", day);
  table.SetValue("TimeStart", start);
  table.SetValue("TimeEnd", start);
  table.SetValue("TimeDelta", delta);
  table.SetValue("Project", project);
  table.SetValue("Name", name);
  table.SetValue("Rate", rate);
  table.Post();
}

inline void AppendLogRecord(RecordTable& table, const QDate& date, const QString& start,
                            const QString& delta, const QString& project, const QString& name,
                            const QVariant& rate) {
  AppendLogRecord(table, date.year(), date.month(), date.day(), start, delta, project, name, rate);
}

}  // namespace ravell::testing
