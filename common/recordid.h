#pragma once

#include <QDate>
#include <QString>

namespace ravell {

// Record id: yyyymmdd of the record's date and six random digits. It names one
// log record, not a task.
QString FormatTaskId(const QDate& date, int random_below_million);
QString NewTaskId(const QDate& date);

}  // namespace ravell
