#pragma once

#include <QString>

#include "datetime.h"
#include "daylog.h"
#include "tasksession.h"

namespace ravell {

// What the menus' enabled states depend on besides the session's commands.
enum class FocusedControl { kOther, kToDoTree, kLogGrid };
enum class TreeNodeKind { kNone, kProject, kTask };

struct MenuContext {
  CommandStates commands;
  FocusedControl focus = FocusedControl::kOther;
  bool tree_has_nodes = false;
  TreeNodeKind selected_node = TreeNodeKind::kNone;
  // Log editing may delete the log grid's current row: never the session's
  // own row, running or paused, nor the empty row of an empty log.
  bool log_row_deletable = false;
};

// The main menu's Project and Task items (UpdateMenuStatus).
struct MainMenuStates {
  bool project_properties = false;
  bool project_delete = false;
  bool delete_from_project = false;
  bool delete_from_log = false;
  bool change_log_record = false;
  bool start_new = false;
  bool pause = false;
  bool stop = false;
  bool operator==(const MainMenuStates&) const = default;
};
MainMenuStates MainMenuEnabling(const MenuContext& context);

// The pop-up menus, as computed when each opens.
struct TrayMenuStates {
  bool start_new = false;
  bool pause = false;
  bool pause_checked = false;
  bool stop = false;
  bool insert = false;
  bool operator==(const TrayMenuStates&) const = default;
};
TrayMenuStates TrayMenuEnabling(const CommandStates& commands);

struct SwitchItemState {
  bool enabled = false;
  bool checked = false;
  bool operator==(const SwitchItemState&) const = default;
};
// An item of "Switch to..."; marked: the item is running or paused.
SwitchItemState SwitchItemEnabling(const CommandStates& commands, bool marked);

struct TreeMenuStates {
  bool project_items = false;  // Properties, Delete
  bool task_items = false;     // Start, Insert to log, Delete
  bool operator==(const TreeMenuStates&) const = default;
};
TreeMenuStates TreeMenuEnabling(TreeNodeKind selected_node);

// Task list menu "Insert task"; log grid menu "Change".
inline bool InsertOrChangeEnabled(const CommandStates& commands) { return !commands.stop; }

// Copy commands. A log row: the whole row, a part of its time frame text
// ("TimeStart", "TimeEnd", "TimeDelta"), the task or the project.
enum class LogCopyPart { kEntireRow, kTimeStart, kTimeEnd, kTimeDelta, kTask, kProject };
QString LogRowCopyText(const LogRow& row, LogCopyPart part);
// A task list item: column n (0 Task ... 5 Total), or every column with -1.
constexpr int kEntireItem = -1;
QString TaskItemCopyText(const TaskItem& item, int column);

// Task list order by a column's text: letters a to z without regard to
// case, everything else by character code, so times and money sort as text.
bool TaskListTextLess(const QString& a, const QString& b);
// Sorts by column 0..4 and keeps the current task current; Total (5) and an
// empty list do not sort. Returns whether it sorted.
bool SortTaskList(DayLog& log, int column);

// The tray icon's hint. last_row: the log's last row; current_time: the
// current item's Time column; interval_time: the time since the interval began.
QString TrayHint(SessionState state, DateTime day_total, const LogRow& last_row,
                 const QString& current_time, DateTime interval_time);

}  // namespace ravell
