#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include "recordtable.h"

namespace ravell {

// The day log file of a date as the reporter writes it, from LogRecords: the
// records of that date in start-time order, without TABs; the rate rounded
// half to even, 0 for a record without one. No record gives an empty file.
// LogRecords keeps its order; its range is dropped.
QByteArray ComposeReporterDayLog(RecordTable& log_records, const QDate& date);

// Rewrites <program folder>/Log/<year>/<month>/<Y>_<M>_<D>.tl from LogRecords,
// creating the folders. Throws FileError; the old file then stays whole.
void SaveDayToXML(RecordTable& log_records, const QString& program_folder, const QDate& date);

}  // namespace ravell
