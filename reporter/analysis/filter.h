#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include "recordtable.h"

namespace ravell {

// The names of the last Apply, read by the data scope text.
struct TCurFilter {
  QStringList projects;  // empty unless the projects box was on
  QStringList tasks;     // empty unless the tasks box was on
};

// What the "Data Filter" panel holds when Apply runs.
struct FilterSettings {
  bool period = false;
  QDate from, to;
  bool projects = false;
  QString projects_text;  // names joined with ", "
  bool tasks = false;
  QString tasks_text;
};

inline constexpr char kAllProjects[] = "All projects";
inline constexpr char kAllTasks[] = "All tasks";

// The parts of a text between separators, trimmed; a separator at the end
// adds nothing, an empty text gives an empty list.
QStringList SplitList(const QString& text, const QString& separator);

// The picker's text of the checked names: joined with ", ".
QString JoinPicked(const QStringList& names);

// The filter over LogRecords: a predicate, and a text that tells two filters
// apart. Names compare as values, case included; the text quotes them with
// inner quotes doubled, so no name can make two filters read alike.
struct FilterCondition {
  QString text;
  RecordTable::Condition predicate;  // empty: every record passes
};
FilterCondition BuildCondition(const FilterSettings& settings, const QStringList& projects,
                               const QStringList& tasks, const RecordTable& log_records);

// Distinct project names of LogRecords, ascending.
void FillProjects(RecordTable& log_records, QStringList& list);
// Task names: for each project of the list, its distinct tasks ascending;
// with an empty list, the task of every distinct pair of project and task.
void FillTasks(RecordTable& log_records, QStringList& list, const QStringList& projects);
void FillTasksOne(RecordTable& log_records, QStringList& list, const QString& project);

}  // namespace ravell
