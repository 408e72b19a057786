#include "daylog.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "money.h"
#include "projectlist.h"
#include "timetext.h"

namespace ravell {

DayLog::DayLog(const ProjectList& projects, QObject* parent)
    : QObject(parent), projects_(projects), rows_{LogRow{}} {}

void DayLog::SetRow(int index, const LogRow& row) {
  rows_[index] = row;
  emit RowsChanged();
}

int DayLog::AppendRow(const LogRow& row) {
  if (IsEmpty() && rows_[0] == LogRow{}) {
    rows_[0] = row;
  } else {
    rows_.append(row);
  }
  emit RowsChanged();
  return RowCount() - 1;
}

void DayLog::InsertRow(int index, const LogRow& row) {
  rows_.insert(index, row);
  emit RowsChanged();
}

void DayLog::RemoveRow(int index) {
  rows_.removeAt(index);
  if (rows_.isEmpty()) rows_.append(LogRow{});
  emit RowsChanged();
}

void DayLog::MoveRow(int from, int to) {
  rows_.move(from, to);
  emit RowsChanged();
}

void DayLog::Clear() {
  rows_ = {LogRow{}};
  items_.clear();
  current_task = -1;
  emit RowsChanged();
  emit ItemsChanged();
}

void DayLog::SetItemTime(int index, const QString& time) {
  items_[index].time = time;
  emit ItemChanged(index);
}

void DayLog::SetItemTotal(int index, const QString& total) {
  items_[index].total = total;
  emit ItemChanged(index);
}

void DayLog::SetItemPlan(int index, const QString& plan) {
  items_[index].plan = plan;
  emit ItemChanged(index);
}

void DayLog::SetItemMarker(int index, TaskMarker marker) {
  items_[index].marker = marker;
  emit ItemChanged(index);
}

void DayLog::SortItems(const std::function<bool(const TaskItem&, const TaskItem&)>& less) {
  std::stable_sort(items_.begin(), items_.end(), less);
  emit ItemsChanged();
}

int DayLog::FindTask(const QString& project, const QString& name) const {
  for (int i = 0; i < ItemCount(); ++i) {
    if (items_[i].task == name && items_[i].project == project) return i;
  }
  return -1;
}

qint64 DayLog::EarningsCents(DateTime task_time, double rate_per_second) {
  const qint64 ms = std::llabs(ToMilliseconds(task_time)) % static_cast<qint64>(kMsPerDay);
  const double cents = std::trunc(static_cast<double>(ms) / 1000 * 100 * rate_per_second);
  // A rate from a damaged projects.lst may be far beyond any sum of money.
  return std::fabs(cents) < 9e18 ? static_cast<qint64>(cents) : 0;
}

RecountResult DayLog::RecountTotalTask(const QString& project, const QString& name) {
  RecountResult result;
  DateTime task_time = 0;
  int index = FindTask(project, name);
  if (index < 0) {
    TaskItem item;
    item.task = name;
    item.project = project;
    item.rate = projects_.RateText(project);
    item.total = item.rate.isEmpty() ? QString() : QStringLiteral("0.00");
    items_.append(item);
    index = ItemCount() - 1;
    emit ItemsChanged();
  } else {
    bool belongs = false;
    for (const LogRow& row : rows_) {
      if (row.task != name || row.project != project) continue;
      belongs = true;
      if (!row.time_frame.contains(u'(')) continue;
      task_time += ParseTime(ParseTimeString(row.time_frame, QStringLiteral("TimeDelta")));
      items_[index].time = FormatTime(task_time);
    }
    if (!belongs) {
      QString running_task, running_project;
      if (stop_enabled && current_task >= 0 && current_task < ItemCount()) {
        running_task = items_[current_task].task;
        running_project = items_[current_task].project;
      }
      row_update_allowed = false;
      items_.removeAt(index);
      if (stop_enabled) current_task = FindTask(running_project, running_task);
      row_update_allowed = true;
      emit ItemsChanged();
      RecountTotalTime();
      result.index = -1;
      return result;
    }
    emit ItemChanged(index);
  }

  double rate = 0;
  if (ParseNumber(items_[index].rate, &rate)) {
    result.rate_per_second = rate / 3600;
    items_[index].total = MoneyText(EarningsCents(task_time, result.rate_per_second) / 100.0);
    emit ItemChanged(index);
  }
  if (index == current_task) task_time_before = task_time;
  result.index = index;
  result.task_time = task_time;
  RecountTotalTime();
  return result;
}

void DayLog::SetTotalTask(const QString& project, const QString& name) {
  if (!items_.isEmpty() && stop_enabled && current_task >= 0 && current_task < ItemCount()) {
    SetItemMarker(current_task, TaskMarker::kNone);
  }
  const RecountResult result = RecountTotalTask(project, name);
  current_task = result.index;
  task_time_before = result.task_time;
  rate_per_second = result.rate_per_second;
  if (current_task >= 0) SetItemMarker(current_task, TaskMarker::kRunning);
}

void DayLog::RecountTotalTime() {
  DateTime total = 0;
  for (const LogRow& row : rows_) {
    const QString delta = ParseTimeString(row.time_frame, QStringLiteral("TimeDelta"));
    if (!delta.isEmpty()) total += ParseTime(delta);
  }
  day_total = total;
  SetStatusTexts(TotalTimeText(day_total), status_rate_text_);
}

void DayLog::RecountTotalRate() {
  if (!rate_view) return;
  double sum = 0;
  for (const TaskItem& item : items_) {
    double value = 0;
    if (ParseNumber(item.total, &value)) sum += value;
  }
  total_rate_sum = sum;
  SetStatusTexts(status_time_text_, TotalRateText(total_rate_sum));
}

void DayLog::InsertSavedTask(const QString& project, const QString& name, DateTime end,
                             DateTime start, const QString& task_id) {
  RecountTotalTask(project, name);
  const LogRow row{TimeFrameText(start, end), name, project, task_id};
  if (rows_[0].time_frame.isEmpty()) {
    rows_[0] = row;
  } else {
    const qint64 start_ms = ToMilliseconds(ParseTime(FormatTime(start)));
    int place = RowCount();
    for (int i = 0; i < RowCount(); ++i) {
      QString row_start = ParseTimeString(rows_[i].time_frame, QStringLiteral("TimeStart"));
      // The running row holds its start alone.
      if (row_start.isEmpty()) row_start = rows_[i].time_frame;
      if (ToMilliseconds(ParseTime(row_start)) >= start_ms) {
        place = i;
        break;
      }
    }
    rows_.insert(place, row);
  }
  emit RowsChanged();
  RecountTotalTask(project, name);
}

void DayLog::SetStatusTexts(const QString& time_text, const QString& rate_text) {
  if (time_text == status_time_text_ && rate_text == status_rate_text_) return;
  status_time_text_ = time_text;
  status_rate_text_ = rate_text;
  emit StatusChanged();
}

QString DayLog::TotalTimeText(DateTime total) {
  return QStringLiteral(" Total time: ") + FormatTime(total);
}

QString DayLog::TotalRateText(double total_rate) {
  return QStringLiteral(" Total rate: ") + MoneyText(total_rate);
}

}  // namespace ravell
