#include "menurules.h"

#include "timetext.h"

namespace ravell {

MainMenuStates MainMenuEnabling(const MenuContext& c) {
  MainMenuStates s;
  const bool in_tree = c.focus == FocusedControl::kToDoTree && c.tree_has_nodes;
  s.project_properties = in_tree && c.selected_node == TreeNodeKind::kProject;
  s.project_delete = s.project_properties;
  s.delete_from_project = in_tree && c.selected_node == TreeNodeKind::kTask;
  const bool in_log = c.focus == FocusedControl::kLogGrid;
  s.delete_from_log = in_log && c.log_row_deletable;
  s.change_log_record = in_log && !c.commands.stop;
  s.start_new = c.commands.start_new;
  s.pause = c.commands.pause;
  s.stop = c.commands.stop;
  return s;
}

TrayMenuStates TrayMenuEnabling(const CommandStates& commands) {
  return {commands.start_new, commands.pause, commands.pause_down, commands.stop, !commands.stop};
}

SwitchItemState SwitchItemEnabling(const CommandStates& commands, bool marked) {
  if (marked) return {true, true};
  return {!commands.pause_down, false};
}

TreeMenuStates TreeMenuEnabling(TreeNodeKind selected_node) {
  return {selected_node == TreeNodeKind::kProject, selected_node == TreeNodeKind::kTask};
}

QString LogRowCopyText(const LogRow& row, LogCopyPart part) {
  switch (part) {
    case LogCopyPart::kEntireRow: {
      const QChar tab(u'\t');
      return row.time_frame + tab + row.task + tab + row.project + tab;
    }
    case LogCopyPart::kTimeStart:
      return ParseTimeString(row.time_frame, QStringLiteral("TimeStart"));
    case LogCopyPart::kTimeEnd:
      return ParseTimeString(row.time_frame, QStringLiteral("TimeEnd"));
    case LogCopyPart::kTimeDelta:
      return ParseTimeString(row.time_frame, QStringLiteral("TimeDelta"));
    case LogCopyPart::kTask:
      return row.task;
    case LogCopyPart::kProject:
      return row.project;
  }
  return QString();
}

QString TaskItemCopyText(const TaskItem& item, int column) {
  const QString columns[] = {item.task, item.project, item.time, item.plan, item.rate, item.total};
  if (column >= 0 && column < 6) return columns[column];
  QString text;
  for (const QString& part : columns) text += part + QLatin1Char('\t');
  return text;
}

bool TaskListTextLess(const QString& a, const QString& b) {
  auto fold = [](char16_t c) -> char16_t { return c >= u'a' && c <= u'z' ? c - 32 : c; };
  const qsizetype n = std::min(a.size(), b.size());
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t x = fold(a[i].unicode());
    const char16_t y = fold(b[i].unicode());
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

bool SortTaskList(DayLog& log, int column) {
  if (log.ItemCount() == 0 || column < 0 || column > 4) return false;
  log.row_update_allowed = false;
  QString task, project;
  if (log.current_task >= 0 && log.current_task < log.ItemCount()) {
    task = log.Item(log.current_task).task;
    project = log.Item(log.current_task).project;
  }
  log.SortItems([column](const TaskItem& a, const TaskItem& b) {
    return TaskListTextLess(TaskItemCopyText(a, column), TaskItemCopyText(b, column));
  });
  log.current_task = log.FindTask(project, task);
  log.row_update_allowed = true;
  return true;
}

QString TrayHint(SessionState state, DateTime day_total, const LogRow& last_row,
                 const QString& current_time, DateTime interval_time) {
  if (state == SessionState::kStopped)
    return QStringLiteral("Total time: ") + FormatTime(day_total);
  QString task = last_row.task + QStringLiteral(" (") + last_row.project + QLatin1Char(')');
  if (task.size() > 32) task = task.left(29) + QStringLiteral("...");
  return task + QStringLiteral("\nTask:") + current_time + QStringLiteral("\nTotal:") +
         FormatTime(interval_time + day_total);
}

}  // namespace ravell
