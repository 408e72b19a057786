#include "analysis.h"

#include <QLocale>
#include <limits>
#include <vector>

namespace ravell {

namespace {

QString ShortDate(const QDate& date) { return QLocale().toString(date, QLocale::ShortFormat); }

// LF then CR, as the report and the status bar have always received it.
const QString kLineEnd = QStringLiteral("\n\r");

// Maps text ids of one table's column to ids of another's, each text once.
// The target table was emptied, so every text is new to it.
class TextIdMap {
 public:
  TextIdMap(const RecordTable& from, int from_field, RecordTable& to, int to_field)
      : from_(from),
        from_field_(from_field),
        to_(to),
        to_field_(to_field),
        ids_(static_cast<size_t>(from.Pool(from_field).Size()), -1) {}
  int Id(int record) {
    const int id = from_.TextId(record, from_field_);
    if (id >= static_cast<int>(ids_.size())) ids_.resize(static_cast<size_t>(id) + 1, -1);
    int& mapped = ids_[static_cast<size_t>(id)];
    if (mapped < 0) mapped = to_.AddDistinctText(to_field_, from_.Text(record, from_field_));
    return mapped;
  }

 private:
  const RecordTable& from_;
  int from_field_;
  RecordTable& to_;
  int to_field_;
  std::vector<int> ids_;
};

// Copies the walked view of LogRecords into DisplayLog; derived fields are
// computed as each record is stored.
void CopyToDisplayLog(RecordTable& log, RecordTable& display) {
  namespace lf = log_field;
  namespace df = display_field;
  const std::vector<int>& records = log.ViewRecords();
  display.Reserve(static_cast<int>(records.size()));
  struct Plain {
    int from, to;
  };
  const Plain plain[] = {{lf::kYear, df::kYear},
                         {lf::kMonth, df::kMonth},
                         {lf::kDay, df::kDay},
                         {lf::kTimeStart, df::kTimeStart},
                         {lf::kTimeEnd, df::kTimeEnd},
                         {lf::kTimeDelta, df::kTimeDelta},
                         {lf::kRecordDate, df::kRecordDate}};
  TextIdMap names(log, lf::kName, display, df::kName);
  TextIdMap projects(log, lf::kProject, display, df::kProject);
  TextIdMap task_ids(log, lf::kTaskId, display, df::kTaskId);
  for (const int record : records) {
    RecordTable::Buffer& buffer = display.Append();
    for (const Plain& f : plain) {
      if (!log.IsNull(record, f.from)) buffer.SetInt(f.to, log.Int(record, f.from));
    }
    if (!log.IsNull(record, lf::kRate)) buffer.SetDouble(df::kRate, log.Double(record, lf::kRate));
    if (!log.IsNull(record, lf::kName)) buffer.SetTextId(df::kName, names.Id(record));
    if (!log.IsNull(record, lf::kProject)) buffer.SetTextId(df::kProject, projects.Id(record));
    if (!log.IsNull(record, lf::kTaskId)) buffer.SetTextId(df::kTaskId, task_ids.Id(record));
    display.Post();
  }
}

}  // namespace

ReporterAnalysis::ReporterAnalysis(ReporterTables& tables, AnalysisView* view)
    : tables_(tables), view_(view ? view : &no_view_) {}

bool ReporterAnalysis::StartQueryButtonClick(const FilterSettings& settings, bool initial) {
  RecordTable& log = tables_.log_records;
  RecordTable& display = tables_.display_log;

  const GroupingKey key = grouping_.Key();
  levels_ = key.levels;
  view_->SetStatusText(0, QStringLiteral("Filtering..."));

  log.DisableControls();
  log.CancelRange();
  log.SetOrder(kTasksByProject);
  log.SetFiltered(false);
  display.DisableControls();
  display.SetOrder(kCustom);

  if (initial || display.OrderFields(kCustom) != key.fields) {
    display.DefineOrder(kCustom, key.fields);
    view_->BindReportGroups(key);
  }

  cur_filter_.projects =
      settings.projects ? SplitList(settings.projects_text, QStringLiteral(",")) : QStringList();
  cur_filter_.tasks =
      settings.tasks ? SplitList(settings.tasks_text, QStringLiteral(",")) : QStringList();
  FilterCondition condition =
      BuildCondition(settings, cur_filter_.projects, cur_filter_.tasks, log);

  const bool changed = condition.text != log.ConditionText();
  const bool copy = changed || initial;
  if (copy) {
    log.SetCondition(condition.text, std::move(condition.predicate));
    log.SetFiltered(true);
    display.Clear();
    CopyToDisplayLog(log, display);
  }

  log.EnableControls();
  view_->SetStatusText(0, QStringLiteral("Building tree..."));
  tree_.Build(display, levels_,
              QString::fromLatin1(log.ConditionText().isEmpty() ? kAllRecords : kFiltered));
  selected_ = -1;
  if (!tree_.Empty()) CustomLogTreeChange(0);

  view_->SetStatusText(0, QStringLiteral("Rebuild indexes..."));
  log.SetFiltered(false);
  if (changed) {
    display.BuildOrders();
    log.BuildOrders();
    log.SetOrder(kTasksByProject);
    log.CancelRange();
  }
  display.EnableControls();
  view_->SetStatusText(0, QString());
  view_->OpenTreePanel();
  return copy;
}

void ReporterAnalysis::CustomTreeSetRange() {
  if (tree_.Empty()) return;
  if (selected_ < 0) selected_ = 0;
  RecordTable& display = tables_.display_log;
  display.SetOrder(kCustom);
  if (selected_ == 0) {
    display.CancelRange();
    return;
  }
  const QVariantList keys = tree_.PathKeys(selected_);
  display.SetRange(keys, keys);
}

void ReporterAnalysis::CustomLogTreeChange(int node) {
  mode_ = ViewMode::kGroup;
  if (tree_.Empty() || node < 0 || node >= tree_.NodeCount()) return;
  selected_ = node;
  view_->SetTitleText(tree_.PathTexts(node).join(QStringLiteral(": ")));

  RecordTable& display = tables_.display_log;
  display.DisableControls();
  display.SetOrder(kCustom);
  CustomTreeSetRange();

  // The node's totals, then DisplayLog over the shown period as the log
  // grid lists it.
  const TotalsResult totals =
      ShowGroupTotals(tables_, tree_.Level(node), display.OrderFields(kCustom));
  view_->SetTotalTimeText(DurationText(totals.seconds));
  if (!totals.period.IsEmpty()) {
    first_day_ = totals.period.first;
    last_day_ = totals.period.last;
  }
  view_->ShowGroupTotals(totals);
  display.First();
  display.EnableControls();
  ShowStatusInfo();
}

void ReporterAnalysis::CustomLogTreeEnter() {
  if (tree_.Empty()) return;
  CustomLogTreeChange(selected_ < 0 ? 0 : selected_);
}

void ReporterAnalysis::SetDayView(const QDate& day) {
  mode_ = ViewMode::kDay;
  first_day_ = last_day_ = day;
}

void ReporterAnalysis::SetShownPeriodFromView(const RecordTable& table) {
  const std::vector<int>& records = table.ViewRecords();
  const int date = table.FieldIndex(QStringLiteral("RecordDate"));
  first_day_ = table.RecordValue(records.front(), date).toDate();
  last_day_ = table.RecordValue(records.back(), date).toDate();
}

QString ReporterAnalysis::GetDataScopeStr() {
  RecordTable& display = tables_.display_log;
  QString scope;
  if (tree_.Empty() || display.Count() == 0) return scope;
  SetShownPeriodFromView(display);
  const QString first = ShortDate(first_day_), last = ShortDate(last_day_);
  scope = first != last ? QStringLiteral("Data for period from %1 to %2").arg(first, last)
                        : QStringLiteral("Data for date %1").arg(first);
  scope += kLineEnd;

  const QStringList key_fields = display.OrderFields(kCustom);
  bool project_line = false, task_line = false;
  for (int node = selected_ < 0 ? 0 : selected_; node > 0; node = tree_.Parent(node)) {
    const QString& field = key_fields.value(tree_.Level(node) - 1);
    if (field == QLatin1String("Name")) {
      scope += QStringLiteral("and for task: '%1'").arg(tree_.Text(node)) + kLineEnd;
      task_line = true;
    } else if (field == QLatin1String("Project")) {
      scope += QStringLiteral("and for project: '%1'").arg(tree_.Text(node)) + kLineEnd;
      project_line = true;
    }
  }
  const auto names_line = [&](const char* head, const QStringList& names) {
    scope += QLatin1String(head);
    for (const QString& name : names) scope += u'\'' + name + QStringLiteral("',");
    scope.chop(1);
    scope += kLineEnd;
  };
  if (!project_line && !cur_filter_.projects.isEmpty())
    names_line("and for project(s): ", cur_filter_.projects);
  if (!task_line && !cur_filter_.tasks.isEmpty())
    names_line("and for task(s): ", cur_filter_.tasks);

  scope += QStringLiteral("Data grouping order: ");
  for (int level = 0; level < levels_ && level < key_fields.size(); ++level) {
    const QString& field = key_fields[level];
    scope += field == QLatin1String("RecordDate") ? QStringLiteral("Date")
             : field == QLatin1String("Name")     ? QStringLiteral("Task")
                                                  : field;
    scope += QStringLiteral(", ");
  }
  scope.chop(2);
  return scope;
}

void ReporterAnalysis::ShowStatusInfo() {
  const RecordTable& shown = mode_ == ViewMode::kGroup ? tables_.display_log : tables_.log_records;
  view_->SetStatusText(0, QStringLiteral(" Number of records: %1").arg(shown.Count()));
  if (mode_ == ViewMode::kDay) {
    view_->SetStatusText(1, QStringLiteral(" Data for period from %1 to %2")
                                .arg(ShortDate(first_day_), ShortDate(last_day_)));
  } else {
    view_->SetStatusText(1, u' ' + GetDataScopeStr());
  }
}

void ReporterAnalysis::FillProjects(QStringList& list) {
  ravell::FillProjects(tables_.log_records, list);
  if (mode_ == ViewMode::kDay) view_->ShowCalendarDay();
}

void ReporterAnalysis::FillTasks(QStringList& list, const QStringList& projects) {
  ravell::FillTasks(tables_.log_records, list, projects);
  if (mode_ == ViewMode::kDay) view_->ShowCalendarDay();
}

}  // namespace ravell
