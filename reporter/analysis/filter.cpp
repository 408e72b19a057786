#include "filter.h"

#include <QSet>
#include <memory>
#include <vector>

#include "datetime.h"
#include "logtables.h"

namespace ravell {

QStringList SplitList(const QString& text, const QString& separator) {
  QStringList list;
  QString rest = text;
  while (!rest.isEmpty()) {
    const qsizetype at = separator.isEmpty() ? -1 : rest.indexOf(separator);
    if (at < 0) {
      list << rest.trimmed();
      break;
    }
    list << rest.left(at).trimmed();
    rest = rest.mid(at + separator.size());
  }
  return list;
}

QString JoinPicked(const QStringList& names) { return names.join(QStringLiteral(", ")); }

namespace {

QString Quoted(const QString& name) {
  QString quoted = name;
  quoted.replace(u'\'', QStringLiteral("''"));
  return u'\'' + quoted + u'\'';
}

void AddNamesPart(QString& text, const char* field, const QStringList& names) {
  text += text.isEmpty() ? QStringLiteral(" (") : QStringLiteral(" AND (");
  for (qsizetype i = 0; i < names.size(); ++i) {
    text += QLatin1String(field) + QStringLiteral("= ") + Quoted(names[i]);
    text += i + 1 < names.size() ? QStringLiteral(" OR ") : QStringLiteral(") ");
  }
}

// Which ids of a text column hold one of the names; ids added later are
// looked up by text.
class NameMatch {
 public:
  NameMatch(const RecordTable& table, int field, const QStringList& names)
      : field_(field), names_(names.begin(), names.end()) {
    const TextPool& pool = table.Pool(field);
    match_.resize(static_cast<size_t>(pool.Size()));
    for (int id = 0; id < pool.Size(); ++id)
      match_[static_cast<size_t>(id)] = names_.contains(pool.Text(id));
  }
  bool operator()(const RecordTable& table, int record) const {
    if (table.IsNull(record, field_)) return false;
    const int id = table.TextId(record, field_);
    if (id < static_cast<int>(match_.size())) return match_[static_cast<size_t>(id)] != 0;
    return names_.contains(table.Text(record, field_));
  }

 private:
  int field_;
  QSet<QString> names_;
  std::vector<char> match_;
};

}  // namespace

FilterCondition BuildCondition(const FilterSettings& settings, const QStringList& projects,
                               const QStringList& tasks, const RecordTable& log_records) {
  FilterCondition condition;
  qint64 first_day = 0, last_day = 0;
  if (settings.period) {
    first_day = static_cast<qint64>(EncodeDate(settings.from));
    last_day = static_cast<qint64>(EncodeDate(settings.to));
    condition.text = QStringLiteral(" Days >= %1 AND Days <= %2").arg(first_day).arg(last_day);
  }
  if (settings.projects) AddNamesPart(condition.text, "Project", projects);
  if (settings.tasks) AddNamesPart(condition.text, "Name", tasks);
  if (condition.text.isEmpty()) return condition;

  std::shared_ptr<NameMatch> project_match, task_match;
  if (settings.projects)
    project_match = std::make_shared<NameMatch>(log_records, log_field::kProject, projects);
  if (settings.tasks)
    task_match = std::make_shared<NameMatch>(log_records, log_field::kName, tasks);
  const bool period = settings.period;
  condition.predicate = [=](const RecordTable& table, int record) {
    if (period) {
      if (table.IsNull(record, log_field::kDays)) return false;
      const qint64 days = table.Int(record, log_field::kDays);
      if (days < first_day || days > last_day) return false;
    }
    if (project_match && !(*project_match)(table, record)) return false;
    if (task_match && !(*task_match)(table, record)) return false;
    return true;
  };
  return condition;
}

namespace {

// Adds the walked records' values of a field where a group at a level begins.
void AddFirstOfGroup(RecordTable& log, QStringList& list, int field, int level) {
  for (log.First(); !log.Eof(); log.Next()) {
    if (log.IsFirstInGroup(level)) list << log.Text(log.Current(), field);
  }
}

}  // namespace

void FillProjects(RecordTable& log_records, QStringList& list) {
  log_records.DisableControls();
  log_records.SetOrder(kProjectsByDate);
  list.clear();
  AddFirstOfGroup(log_records, list, log_field::kProject, 1);
  log_records.First();
  log_records.EnableControls();
}

void FillTasks(RecordTable& log_records, QStringList& list, const QStringList& projects) {
  log_records.DisableControls();
  log_records.SetOrder(kProjectsByDate);
  list.clear();
  if (!projects.isEmpty()) {
    for (const QString& project : projects) {
      log_records.SetRange({project}, {project});
      AddFirstOfGroup(log_records, list, log_field::kName, 2);
      log_records.CancelRange();
    }
  } else {
    AddFirstOfGroup(log_records, list, log_field::kName, 2);
  }
  log_records.EnableControls();
}

void FillTasksOne(RecordTable& log_records, QStringList& list, const QString& project) {
  FillTasks(log_records, list, QStringList{project});
}

}  // namespace ravell
