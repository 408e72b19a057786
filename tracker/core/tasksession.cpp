#include "tasksession.h"

#include "daylog.h"
#include "error.h"
#include "money.h"
#include "recordid.h"
#include "timetext.h"
#include "tracker.h"

namespace ravell {

TaskSession::TaskSession(Tracker& tracker) : tracker_(tracker) {}

SessionState TaskSession::state() const {
  if (!commands_.stop) return SessionState::kStopped;
  return commands_.pause_down ? SessionState::kPaused : SessionState::kRunning;
}

void TaskSession::SetTray(TrayImage image) {
  tray_image_ = image;
  if (ui_) ui_->TrayImageChanged(image);
}

void TaskSession::Changed() {
  tracker_.day_log().stop_enabled = commands_.stop;
  if (ui_) ui_->CommandsChanged();
}

void TaskSession::CloseLastRow(const Moment& end) {
  DayLog& log = tracker_.day_log();
  const int last = log.RowCount() - 1;
  LogRow row = log.Row(last);
  row.time_frame = TimeFrameText(log.interval_start, end);
  log.SetRow(last, row);
}

void TaskSession::NewTask(const QString& project, const QString& name, bool from_dialog) {
  StartTask(project, name, from_dialog, tracker_.clock().Read());
}

void TaskSession::StartTask(const QString& project_text, const QString& name_text,
                            bool from_dialog, const Moment& now) {
  DayLog& log = tracker_.day_log();
  log.RecountTotalTime();
  plan_alarm_armed_ = true;
  commands_.insert_task = false;
  const QString name = name_text.isEmpty() ? QStringLiteral("Working at project") : name_text;
  const QString project =
      project_text.isEmpty() ? QStringLiteral("Undefined project") : project_text;

  log.SetTotalTask(project, name);
  std::optional<LogRow> to_save;
  Moment closed_start;
  if (!log.Row(0).task.isEmpty()) {
    if (!log.stopped) {
      CloseLastRow(now);
      const LogRow closed = log.Row(log.RowCount() - 1);
      if (!closed.task.isEmpty() && !closed.project.isEmpty()) {
        log.RecountTotalTask(closed.project, closed.task);
        to_save = closed;
        closed_start = log.interval_start;
      }
    }
    log.AppendRow(LogRow{});
  }
  const int last = log.RowCount() - 1;
  log.SetRow(last, {OpenTimeFrameText(now.local), name, project, NewTaskId(DateOf(now.local))});
  if (ui_) ui_->FocusLogRow(last);
  log.interval_start = now;
  log.last_save_time = now;
  commands_.pause = true;
  commands_.stop = true;
  log.stopped = false;
  SetTray(TrayImage::kRunning);
  Changed();
  log.RecountTotalTime();
  // Saved once the new row is in the log, so the file also holds the new task's start.
  if (to_save) {
    SaveTask(to_save->task, to_save->project, now.local, closed_start.local, to_save->task_id);
  }

  if (from_dialog && !project_text.isEmpty() && todo_) {
    todo_->AddStartedTask(project_text,
                          name_text.isEmpty() ? QStringLiteral("Working on project") : name_text);
  }
}

void TaskSession::SaveTask(const QString& name, const QString& project, DateTime end,
                           DateTime start, const QString& task_id) {
  const TrayImage before = tray_image_;
  SetTray(TrayImage::kSaving);
  const StorageTarget target = tracker_.storage_target();
  // Each store on its own: with Combine a refused database save must not
  // keep the interval out of the day log as well.
  if (UsesNotes(target)) tracker_.SaveRecordToNotes(name, project, task_id, start, end);
  try {
    if (tracker_.WritesDayLog()) tracker_.SaveToXML(log_date_);
  } catch (const Error& e) {
    tracker_.messages().Show(e.message(), QString(), MsgIcon::kError);
  }
  SetTray(before);
}

void TaskSession::PauseButtonClick() {
  DayLog& log = tracker_.day_log();
  if (!commands_.stop) return;
  if (!commands_.pause_down) {
    commands_.pause_down = true;
    commands_.start_new = false;
    const Moment now = tracker_.clock().Read();
    CloseLastRow(now);
    const LogRow closed = log.Row(log.RowCount() - 1);
    SaveTask(closed.task, closed.project, now.local, log.interval_start.local, closed.task_id);
    log.interval_start = now;
    SetTray(TrayImage::kPaused);
    if (log.current_task >= 0 && log.current_task < log.ItemCount()) {
      log.SetItemMarker(log.current_task, TaskMarker::kPaused);
    }
    log.RecountTotalTime();
    Changed();
    return;
  }

  commands_.pause_down = false;
  commands_.start_new = true;
  log.AppendRow(LogRow{});
  pause_dialog_open_ = true;
  const PauseAnswer answer = ui_ ? ui_->AskPauseTask() : PauseAnswer{};
  pause_dialog_open_ = false;
  const int last = log.RowCount() - 1;
  const LogRow before = log.Row(last - 1);
  switch (answer.result) {
    case kCreateTask: {
      // The pause row gets the names the started task gets, so it is a real record.
      const QString task = answer.task.isEmpty() ? QStringLiteral("Working at project") : answer.task;
      const QString project =
          answer.project.isEmpty() ? QStringLiteral("Undefined project") : answer.project;
      log.SetRow(last, {QString(), task, project, NewTaskId(log_date_)});
      StartTask(answer.project, answer.task, true, tracker_.clock().Read());
      const int now_last = log.RowCount() - 1;
      const LogRow pause_row = log.Row(now_last - 1);
      const LogRow resumed = log.Row(now_last - 2);
      log.SetRow(now_last, {log.Row(now_last).time_frame, resumed.task, resumed.project,
                            NewTaskId(DateOf(log.interval_start.local))});
      log.SetTotalTask(pause_row.project, pause_row.task);
      log.SetTotalTask(resumed.project, resumed.task);
      if (tracker_.WritesDayLog()) {
        try {
          tracker_.SaveToXML(log_date_);
        } catch (const Error& e) {
          tracker_.messages().Show(e.message(), QString(), MsgIcon::kError);
        }
      }
      break;
    }
    case kSkipThisTime: {
      const Moment now = tracker_.clock().Read();
      log.SetRow(last, {OpenTimeFrameText(now.local), before.task, before.project,
                        NewTaskId(DateOf(now.local))});
      log.interval_start = now;
      log.SetTotalTask(before.project, before.task);
      SetTray(TrayImage::kRunning);
      break;
    }
    default:  // Cancel pause: the pause counts as work on the task before it.
      log.SetRow(last, {OpenTimeFrameText(log.interval_start.local), before.task, before.project,
                        NewTaskId(DateOf(log.interval_start.local))});
      log.SetTotalTask(before.project, before.task);
      SetTray(TrayImage::kRunning);
      break;
  }
  log.RecountTotalTime();
  Changed();
}

void TaskSession::StopButtonClick() { StopAt(tracker_.clock().Read()); }

void TaskSession::StopAt(const Moment& end) {
  DayLog& log = tracker_.day_log();
  if (!commands_.stop) return;
  commands_.insert_task = true;
  if (commands_.pause_down) {
    // The closed rows were saved when the pause began; the pause is dropped.
    log.stopped = true;
    commands_.pause_down = false;
    commands_.pause = false;
    commands_.start_new = true;
  } else {
    CloseLastRow(end);
    const LogRow closed = log.Row(log.RowCount() - 1);
    SaveTask(closed.task, closed.project, end.local, log.interval_start.local, closed.task_id);
    log.RecountTotalTask(closed.project, closed.task);
    log.stopped = true;
    commands_.pause = false;
  }
  commands_.stop = false;
  SetTray(TrayImage::kIdle);
  if (log.current_task >= 0 && log.current_task < log.ItemCount()) {
    log.SetItemMarker(log.current_task, TaskMarker::kNone);
  }
  log.RecountTotalTime();
  Changed();
}

void TaskSession::TotalListDblClick(int selected) {
  const DayLog& log = tracker_.day_log();
  if (commands_.pause_down || selected < 0 || selected >= log.ItemCount()) return;
  const TaskItem item = log.Item(selected);
  NewTask(item.project, item.task);
}

void TaskSession::SwithToTask1Click(int index) { TotalListDblClick(index); }

void TaskSession::RolloverIfNewDay() {
  if (rollover_busy_ || pause_dialog_open_) return;
  if (!log_date_.isValid() || tracker_.clock().TodayDate() <= log_date_) return;
  rollover_busy_ = true;
  RolloverDay();
  rollover_busy_ = false;
}

void TaskSession::Tick() {
  if (rollover_busy_) return;
  DayLog& log = tracker_.day_log();
  const Moment now = tracker_.clock().Read();
  if (log.stopped || !commands_.stop) {
    if (log.rate_view) {
      log.SetStatusTexts(log.status_time_text(), DayLog::TotalRateText(log.total_rate_sum));
    }
  } else {
    if (!commands_.pause_down) {
      const DateTime t = Elapsed(log.interval_start, now) + log.task_time_before;
      const int current = log.current_task;
      if (log.row_update_allowed && current >= 0 && current < log.ItemCount()) {
        log.SetItemTime(current, FormatTime(t));
        if (log.rate_per_second > 0) {
          log.SetItemTotal(current,
                           MoneyText(DayLog::EarningsCents(t, log.rate_per_second) / 100.0));
          log.RecountTotalRate();
        }
      }
    }
    log.SetStatusTexts(DayLog::TotalTimeText(Elapsed(log.interval_start, now) + log.day_total),
                       log.status_rate_text());
    PlanAlarm();
  }
  AutoSave(now);
}

void TaskSession::PlanAlarm() {
  DayLog& log = tracker_.day_log();
  const int current = log.current_task;
  if (!plan_alarm_armed_ || current < 0 || current >= log.ItemCount()) return;
  const TaskItem item = log.Item(current);
  if (item.plan.isEmpty() || item.plan == QLatin1String("-")) return;
  try {
    if (ToMilliseconds(ParseTime(item.plan)) > ToMilliseconds(ParseTime(item.time))) return;
  } catch (const ConvertError&) {
    return;  // a damaged plan never rings
  }
  plan_alarm_armed_ = false;
  const int result = ui_ ? ui_->ShowAlarm(QStringLiteral("Planned time ") + item.plan +
                                              QStringLiteral(" for"),
                                          item.task, item.project)
                         : 0;
  switch (result) {
    case 1: ExtendPlan(); break;
    case 2: AskPlanTime(); break;
    case 3: StopButtonClick(); break;
    case 4:
      if (ui_) ui_->ShowMainWindow();
      break;
    default: break;
  }
}

void TaskSession::AutoSave(const Moment& now) {
  const QString text = tracker_.settings().AutoSaveInterval();
  if (text.isEmpty()) return;
  if (text == bad_auto_save_interval_) return;
  DateTime period = 0;
  try {
    period = ParseTime(text);
  } catch (const ConvertError& e) {
    // Said once; no automatic saving while the value stays bad.
    bad_auto_save_interval_ = text;
    tracker_.messages().Show(
        QStringLiteral("Automatic saving is off: the interval in ravell.ini is wrong. %1")
            .arg(e.message()),
        QString(), MsgIcon::kWarning);
    return;
  }
  bad_auto_save_interval_.clear();
  DayLog& log = tracker_.day_log();
  if (!tracker_.auto_save() || !commands_.stop || commands_.pause_down) return;
  // Real time: setting the clock back an hour must not hold saving off for that hour.
  if (now.utc_ms < log.last_save_time.utc_ms + ToMilliseconds(period)) return;
  const LogRow last = log.Row(log.RowCount() - 1);
  if (last.task.isEmpty()) return;  // the row of a pause still being resolved
  log.last_save_time = now;
  SaveTask(last.task, last.project, now.local, log.interval_start.local, last.task_id);
}

void TaskSession::ExtendPlan() {
  DayLog& log = tracker_.day_log();
  const int current = log.current_task;
  if (current < 0 || current >= log.ItemCount()) return;
  DateTime plan = 0;
  try {
    plan = ParseTime(log.Item(current).plan);
  } catch (const ConvertError&) {
  }
  log.SetItemPlan(current, FormatTime(plan + ParseTime(QStringLiteral("0:10:00"))));
  plan_alarm_armed_ = true;
}

void TaskSession::AskPlanTime() {
  DayLog& log = tracker_.day_log();
  const int current = log.current_task;
  if (current < 0 || current >= log.ItemCount() || !ui_) return;
  const std::optional<QString> plan = ui_->AskPlan(log.Item(current).plan);
  if (!plan) return;
  // The item may have gone while the dialog was open.
  if (current >= log.ItemCount()) return;
  log.SetItemPlan(current, *plan);
  plan_alarm_armed_ = *plan != QLatin1String("-");
}

void TaskSession::RolloverDay() {
  DayLog& log = tracker_.day_log();
  const QDate today = tracker_.clock().TodayDate();
  // The interval running at midnight ends at the end of the day the log holds.
  const Moment midnight = MomentOfLocal(EncodeDate(log_date_.addDays(1)));
  QString task, project;
  if (commands_.stop) {
    if (log.current_task >= 0 && log.current_task < log.ItemCount()) {
      task = log.Item(log.current_task).task;
      project = log.Item(log.current_task).project;
    }
    StopAt(midnight);
  }
  log.Clear();
  log.RecountTotalTime();
  log.RecountTotalRate();
  log_date_ = today;
  if (tracker_.storage_target() == StorageTarget::kLog) {
    try {
      tracker_.CreateDayLogIfMissing(today);
    } catch (const Error& e) {
      tracker_.messages().Show(e.message(), QString(), MsgIcon::kError);
    }
  }
  if (!task.isEmpty() && !project.isEmpty()) {
    // Goes on from today's start: the midnight just passed, or after a longer
    // sleep the last one (a row cannot span a whole day).
    StartTask(project, task, false, MomentOfLocal(EncodeDate(today)));
  }
}

}  // namespace ravell
