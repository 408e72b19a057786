#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "datetime.h"

namespace ravell {

class DayLog;

// plans.lst: one line per task list item, task name "=" plan, CR LF.
QByteArray ComposePlans(const DayLog& log);
// Each item takes the plan of the first line with its name (case ignored);
// an item without a line gets the empty plan.
void ApplyPlans(const QByteArray& bytes, DayLog& log);
// Only a file written today counts.
bool PlansFileIsCurrent(const QString& path, const QDate& today);

// The plan dialog's preset for a plan: the plan itself, or 1:00:00 when
// there is none.
DateTime PlanPreset(const QString& plan);
// The plan a confirmed time gives: "-" for 0:00:00.
QString PlanFromTime(DateTime picked);

}  // namespace ravell
