#include "tracker.h"

#include <QDir>
#include <QFileInfo>

#include "atomicfile.h"
#include "daylogfile.h"
#include "password.h"
#include "plans.h"
#include "textcodec.h"
#include "timetext.h"
#include "versiontext.h"

namespace ravell {

Tracker::Tracker(TrackerEnvironment env)
    : env_(std::move(env)), settings_(env_.program_folder) {
  session_.SetToDo(&planning_);
}

Tracker::~Tracker() { Shutdown(); }

void Tracker::Start(void* app_window) {
  // Files named without a folder (plans.lst, todo.tre) lie in the program folder.
  QDir::setCurrent(env_.program_folder);
  tray_visible_ = false;
  auto_save_ = false;

  if (settings_.Exists()) {
    setup_mode_ = false;
  } else if (QFileInfo::exists(env_.program_folder + QLatin1Char('/') +
                               QLatin1String(NotesLibrary::kFileName))) {
    // First start beside a Notes link: only the options dialog runs.
    setup_mode_ = true;
  } else {
    try {
      settings_.Write(QStringLiteral("Storage"), QStringLiteral("Target"), QStringLiteral("Log"));
    } catch (const Error& e) {
      // The tracker still works on its defaults; the user learns why nothing is kept.
      env_.messages->Show(e.message(), QString(), MsgIcon::kError);
    }
  }

  hide_to_tray_ = settings_.HideToTray();
  auto_save_ = settings_.AutoSave();
  ReadStorageTarget();

  if (UsesNotes(storage_target_)) {
    OpenNotesSession(app_window);
    if (quit_requested_) return;
    if (setup_mode_) {  // the Notes link refused the session
      timer_enabled_ = true;
      return;
    }
  }

  if (storage_target_ == StorageTarget::kLog) {
    status_hidden_[2] = true;
    status_[2].clear();
    status_[3] = QStringLiteral("Log file: ") + DayLogPath(env_.program_folder, *env_.clock);
  }
  reporter_visible_ = UsesLog(storage_target_);

  InitRates();
  planning_.InitToDoTree();
  day_log_.day_total = 0;
  day_log_.interval_start = {};
  caption_ = QStringLiteral("Ravell ") + VersionText(3);
  timer_enabled_ = true;
  FillDay();
  started_ = true;
  tray_visible_ = true;
}

QString Tracker::DayLogFilePath() const { return DayLogPath(env_.program_folder, *env_.clock); }

void Tracker::ShowError(const QString& text) {
  env_.messages->Show(text, QString(), MsgIcon::kError);
}

void Tracker::InitRates() {
  projects_.Clear();
  try {
    if (UsesNotes(storage_target_) && notes_) {
      projects_.Load(ToFileText(notes_->GetRateList()));
    } else if (storage_target_ == StorageTarget::kLog) {
      const QString path = env_.program_folder + QStringLiteral("/projects.lst");
      if (QFileInfo::exists(path)) projects_.Load(ReadWholeFile(path));
    }
  } catch (const Error& e) {
    ShowError(e.message());
  }
  for (const QString& line : projects_.lines()) {
    const QString name = ProjectList::NameOf(line);
    if (!name.isEmpty()) todo_tree_.AddTopLevel(name);
  }
}

void Tracker::FillDay() {
  try {
    if (UsesNotes(storage_target_) && notes_) {
      day_log_.total_rate_sum = 0;
      for (const NotesRecord& record : notes_->GetDayRecords(DateText(*env_.clock, QStringLiteral(".")))) {
        day_log_.InsertSavedTask(record.project, record.task, record.time_end, record.time_start,
                                 record.task_id);
      }
    } else if (storage_target_ == StorageTarget::kLog) {
      const QString path = DayLogFilePath();
      const DayLogLoad load = FillDayLog(path, day_log_, env_.clock->TodayDate());
      if (!load.problems.isEmpty()) {
        QString text = QStringLiteral("Some records of the day log file %1 could not be read and were "
                                      "left out:\n%2")
                           .arg(path, load.problems.join(QLatin1Char('\n')));
        if (!load.backup_path.isEmpty()) {
          text += QStringLiteral("\nThe original file is kept as %1.").arg(load.backup_path);
        }
        env_.messages->Show(text, QString(), MsgIcon::kWarning);
      }
    }
  } catch (const Error& e) {
    ShowError(e.message());
  }

  const QString plans = env_.program_folder + QStringLiteral("/plans.lst");
  if (PlansFileIsCurrent(plans, env_.clock->TodayDate())) {
    try {
      ApplyPlans(ReadWholeFile(plans), day_log_);
    } catch (const Error& e) {
      ShowError(e.message());
    }
  }
  day_log_.RecountTotalRate();
  day_log_.stopped = true;
  session_.SetLogDate(env_.clock->TodayDate());
  day_log_.RecountTotalTime();
}

QStringList Tracker::TaskDialogProjects() {
  QStringList names;
  if (setup_mode_) return names;
  if (UsesNotes(storage_target_) && notes_) {
    try {
      QString lines = notes_->GetActiveProjects();
      lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
      for (const QString& line : lines.split(QLatin1Char('\n'))) {
        if (!line.isEmpty()) names << line;
      }
    } catch (const Error& e) {
      ShowError(e.message());
    }
    return names;
  }
  for (const QString& line : projects_.lines()) names << ProjectList::NameOf(line);
  return names;
}

void Tracker::SaveRecordToNotes(const QString& task, const QString& project, const QString& task_id,
                                DateTime time_start, DateTime time_end) {
  if (!notes_) return;
  notes_queue_.Save(task, project, task_id, projects_.Rate(project), time_start, time_end);
  SendNotesRecords();
}

void Tracker::DeleteRecordFromNotes(const QString& task_id) {
  if (!notes_) return;
  notes_queue_.Delete(task_id);
  SendNotesRecords();
}

void Tracker::SendNotesRecords() {
  try {
    notes_queue_.Send(*notes_);
  } catch (const Error& e) {
    if (storage_target_ == StorageTarget::kNotes) day_log_kept_for_notes_ = true;
    ShowError(
        e.message() +
        QStringLiteral("\nThe records not saved are kept and sent again with the next save."));
  }
}

void Tracker::SaveToXML(const QDate& day) {
  WriteFileAtomic(DayLogPath(env_.program_folder, day), ComposeDayLog(day_log_, projects_, day));
}

void Tracker::CreateDayLogIfMissing(const QDate& day) {
  const QString path = DayLogPath(env_.program_folder, day);
  if (!QFileInfo::exists(path)) WriteFileAtomic(path, QByteArray());
}

void Tracker::WritePlans() {
  WriteFileAtomic(env_.program_folder + QStringLiteral("/plans.lst"), ComposePlans(day_log_));
}

void Tracker::ReadStorageTarget() {
  storage_target_ = StorageTargetOf(settings_.Target());
  open_notes_db_visible_ = UsesNotes(storage_target_);
}

void Tracker::OpenNotesSession(void* app_window) {
  QString server = settings_.NotesServer();
  if (server == QLatin1String("Local")) server.clear();
  notes_database_ = settings_.NotesDataBase();
  if (notes_database_.isEmpty()) notes_database_ = env_.program_folder + QStringLiteral("/rvlog.nsf");
  const QString password = UnscramblePassword(settings_.NotesPassword());

  try {
    notes_ = env_.notes_loader ? env_.notes_loader(*env_.messages) : nullptr;
    if (!notes_) {
      // The loader has said why. Keep recording to the day log rather than nowhere.
      storage_target_ = StorageTarget::kLog;
      open_notes_db_visible_ = false;
      return;
    }
    const int result = notes_->Init(app_window, server, notes_database_, password);
    if (result == -1) {
      NotesFailed(QStringLiteral("Error in Notes session initialization.\nRavell will be terminated."));
      return;
    }
    notes_open_ = true;
    if (result == 2) {
      setup_mode_ = true;
      CloseNotesSession();
      storage_target_ = StorageTarget::kLog;
      return;
    }
    status_[2] = notes_->GetUserName();
    status_hidden_[2] = false;
    status_[3] = (server.isEmpty() ? QStringLiteral("Local") : server) + QStringLiteral(": ") +
                 notes_database_;
  } catch (const NotesError&) {
    NotesFailed(QStringLiteral("Error in %1.\nRavell will be terminated.")
                    .arg(QLatin1String(NotesLibrary::kFileName)));
  }
}

void Tracker::NotesFailed(const QString& text) {
  env_.messages->Show(text, QLatin1String(kNotesErrorCaption), MsgIcon::kError);
  quit_requested_ = true;
}

void Tracker::CloseNotesSession() {
  if (!notes_) return;
  try {
    if (notes_open_) notes_->Terminate();
  } catch (const NotesError& e) {
    env_.messages->Show(e.message(), QLatin1String(kNotesErrorCaption), MsgIcon::kError);
  }
  notes_open_ = false;
  notes_.reset();
}

Tracker::TickAction Tracker::Timer1Timer() {
  session_.RolloverIfNewDay();
  if (setup_mode_) {
    timer_enabled_ = false;
    tray_visible_ = false;
    return TickAction::kRunSetup;
  }
  session_.Tick();
  return TickAction::kNone;
}

void Tracker::Shutdown() {
  if (shut_down_) return;
  shut_down_ = true;
  timer_enabled_ = false;
  // The running interval is closed and saved before anything else.
  if (!setup_mode_ && session_.commands().stop) session_.StopButtonClick();
  // Last try for records the database refused; what still fails stays in
  // today's day log file, and the user is told where.
  if (notes_ && !notes_queue_.empty()) {
    try {
      notes_queue_.Send(*notes_);
    } catch (const Error&) {
      const QDate day =
          session_.log_date().isValid() ? session_.log_date() : env_.clock->TodayDate();
      try {
        SaveToXML(day);
        ShowError(QStringLiteral("Records could not be saved to the Notes database %1.\n"
                                 "They are kept in the day log file %2.")
                      .arg(notes_database_, DayLogPath(env_.program_folder, day)));
      } catch (const Error& e) {
        ShowError(e.message());
      }
    }
  }
  // A run that never loaded today's tasks must not overwrite today's plans.
  if (started_ && !setup_mode_) {
    try {
      WritePlans();
    } catch (const Error& e) {
      ShowError(e.message());
    }
  }
  projects_.Clear();
  CloseNotesSession();
}

}  // namespace ravell
