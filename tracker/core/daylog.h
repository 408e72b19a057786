#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

#include "clock.h"
#include "datetime.h"

namespace ravell {

class ProjectList;

// A row of the log grid: one work interval. The running row holds its start
// alone in time_frame.
struct LogRow {
  QString time_frame;
  QString task;
  QString project;
  QString task_id;
  bool operator==(const LogRow&) const = default;
};

enum class TaskMarker { kNone, kRunning, kPaused };

// An item of the task list: one task (name and project) with its time today.
struct TaskItem {
  QString task;
  QString project;
  QString time = QStringLiteral("0:00:00");
  QString plan = QStringLiteral("-");
  QString rate;
  QString total;
  TaskMarker marker = TaskMarker::kNone;
};

struct RecountResult {
  int index = -1;
  DateTime task_time = 0;
  double rate_per_second = 0;
};

// Today's work: the log grid's rows, the task list's items and the session
// values that keep them consistent. Names match exactly (case matters).
// Recounts raise ConvertError for a duration that does not parse.
class DayLog : public QObject {
  Q_OBJECT
 public:
  explicit DayLog(const ProjectList& projects, QObject* parent = nullptr);

  // Log grid. An empty log is one row with empty cells.
  int RowCount() const { return static_cast<int>(rows_.size()); }
  const LogRow& Row(int index) const { return rows_[index]; }
  bool IsEmpty() const { return rows_.size() == 1 && rows_[0].time_frame.isEmpty(); }
  void SetRow(int index, const LogRow& row);
  // Adds a row at the end; an empty log's single row is used instead.
  int AppendRow(const LogRow& row);
  void InsertRow(int index, const LogRow& row);
  void RemoveRow(int index);
  // The row leaves its place and the rows between close up.
  void MoveRow(int from, int to);
  // Empties log and task list (midnight).
  void Clear();

  // Task list.
  int ItemCount() const { return static_cast<int>(items_.size()); }
  const TaskItem& Item(int index) const { return items_[index]; }
  void SetItemTime(int index, const QString& time);
  void SetItemTotal(int index, const QString& total);
  void SetItemPlan(int index, const QString& plan);
  void SetItemMarker(int index, TaskMarker marker);
  // Reorders the items (stable); the caller keeps current_task in step.
  void SortItems(const std::function<bool(const TaskItem&, const TaskItem&)>& less);

  int FindTask(const QString& project, const QString& name) const;
  RecountResult RecountTotalTask(const QString& project, const QString& name);
  void SetTotalTask(const QString& project, const QString& name);
  void RecountTotalTime();
  void RecountTotalRate();
  void InsertSavedTask(const QString& project, const QString& name, DateTime end, DateTime start,
                       const QString& task_id);

  // Earnings in cents for a task time at an hourly rate per second; wraps
  // with the time at 24 hours.
  static qint64 EarningsCents(DateTime task_time, double rate_per_second);

  // Status panels 0 and 1 as shown now; the texts for a total.
  const QString& status_time_text() const { return status_time_text_; }
  const QString& status_rate_text() const { return status_rate_text_; }
  void SetStatusTexts(const QString& time_text, const QString& rate_text);
  static QString TotalTimeText(DateTime total);
  static QString TotalRateText(double total_rate);

  // Session values.
  int current_task = -1;
  DateTime task_time_before = 0;
  double rate_per_second = 0;
  DateTime day_total = 0;
  double total_rate_sum = 0;
  bool row_update_allowed = true;
  // Readings of the clock: the running row's times come from their wall
  // times, its duration from their real times.
  Moment interval_start;
  Moment last_save_time;
  // A task is running or paused: the Stop command is enabled.
  bool stop_enabled = false;
  // No row is open: after loading the day and after Stop.
  bool stopped = true;
  // The rate view is on: Rate and Total columns and status panel 1 shown.
  bool rate_view = true;

 signals:
  void RowsChanged();
  void ItemsChanged();            // items added, removed or reordered
  void ItemChanged(int index);    // one item's texts
  void StatusChanged();           // panels 0 and 1

 private:
  const ProjectList& projects_;
  QList<LogRow> rows_;
  QList<TaskItem> items_;
  QString status_time_text_ = TotalTimeText(0);
  QString status_rate_text_ = TotalRateText(0);
};

}  // namespace ravell
