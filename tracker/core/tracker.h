#pragma once

#include <QString>
#include <memory>

#include "clock.h"
#include "daylog.h"
#include "logedit.h"
#include "messages.h"
#include "projectlist.h"
#include "noteslink.h"
#include "notesqueue.h"
#include "planning.h"
#include "settings.h"
#include "tasksession.h"
#include "todotree.h"

namespace ravell {

// What the tracker needs from the outside world; tests hand in fakes.
struct TrackerEnvironment {
  QString program_folder;
  const Clock* clock = nullptr;
  MessageBoxes* messages = nullptr;
  NotesLoader notes_loader;  // loads libnotesbridge.so; null result: not loaded
};

// The tracker's state without widgets: settings, storage target, the Notes
// session, status texts and what the window shows. The main window binds to it.
class Tracker {
 public:
  static constexpr int kStatusPanels = 4;
  static constexpr const char* kNotesErrorCaption = "Notes session error";

  explicit Tracker(TrackerEnvironment env);
  ~Tracker();

  // The start-up sequence. app_window goes to the Notes link's Init.
  void Start(void* app_window);
  // The one-second tick: rollover, setup mode, the running task's figures,
  // plan alarm, automatic save. kRunSetup: the window runs the options dialog
  // and closes.
  enum class TickAction { kNone, kRunSetup };
  TickAction Timer1Timer();
  // The shutdown sequence; safe to call more than once.
  void Shutdown();

  // Reads Storage/Target into the storage target.
  void ReadStorageTarget();
  // Loads the project list from where the storage target keeps it and adds
  // a project node to the to-do tree for each named line.
  void InitRates();
  // Loads today's records and plans.
  void FillDay();
  // Rewrites the day log file of the day the log holds; throws FileError.
  void SaveToXML(const QDate& day);
  // A new day's file starts empty; an existing file is never truncated.
  void CreateDayLogIfMissing(const QDate& day);
  // plans.lst from the task list; throws FileError.
  void WritePlans();
  // The projects the task dialog offers (it appends "Undefined"): none in
  // setup mode, the Notes link's active projects for Notes and Combine, the
  // project list's names otherwise.
  QStringList TaskDialogProjects();

  // A record's change for the Notes link. It goes through a queue, so one the
  // link refused is sent again with the next change and at shutdown; the
  // failure is reported. With target Notes the day log file then keeps the
  // day as well, so the record rests on disk and not in memory alone.
  void SaveRecordToNotes(const QString& task, const QString& project, const QString& task_id,
                         DateTime time_start, DateTime time_end);
  void DeleteRecordFromNotes(const QString& task_id);
  qsizetype unsent_notes_records() const { return notes_queue_.size(); }
  // Whether saves rewrite the day log file: Log and Combine, and Notes once a
  // record could not be sent.
  bool WritesDayLog() const { return UsesLog(storage_target_) || day_log_kept_for_notes_; }

  TaskSession& session() { return session_; }
  DayLog& day_log() { return day_log_; }
  ProjectList& projects() { return projects_; }
  ToDoTree& todo_tree() { return todo_tree_; }
  Planning& planning() { return planning_; }
  LogEdit& log_edit() { return log_edit_; }
  QString DayLogFilePath() const;

  const QString& program_folder() const { return env_.program_folder; }
  Settings& settings() { return settings_; }
  const Clock& clock() const { return *env_.clock; }
  MessageBoxes& messages() { return *env_.messages; }
  NotesLink* notes() { return notes_.get(); }

  StorageTarget storage_target() const { return storage_target_; }
  bool setup_mode() const { return setup_mode_; }
  // A fatal Notes error asked the application to end.
  bool quit_requested() const { return quit_requested_; }
  bool start_hidden() const { return setup_mode_ || hide_to_tray_; }
  bool hide_to_tray() const { return hide_to_tray_; }
  bool auto_save() const { return auto_save_; }
  bool timer_enabled() const { return timer_enabled_; }
  bool tray_visible() const { return tray_visible_; }
  bool notes_session_open() const { return notes_ != nullptr && notes_open_; }
  bool open_notes_db_visible() const { return open_notes_db_visible_; }
  bool reporter_visible() const { return reporter_visible_; }
  const QString& notes_database() const { return notes_database_; }
  const QString& caption() const { return caption_; }
  QString status_text(int panel) const { return status_[panel]; }
  bool status_panel_hidden(int panel) const { return status_hidden_[panel]; }

 private:
  void OpenNotesSession(void* app_window);
  void CloseNotesSession();
  void NotesFailed(const QString& text);

  void ShowError(const QString& text);
  // Sends the queue; a failure is reported and what failed stays queued.
  void SendNotesRecords();

  TrackerEnvironment env_;
  Settings settings_;
  ProjectList projects_;
  DayLog day_log_{projects_};
  TaskSession session_{*this};
  ToDoTree todo_tree_;
  Planning planning_{*this};
  LogEdit log_edit_{*this};
  StorageTarget storage_target_ = StorageTarget::kLog;
  std::unique_ptr<NotesLink> notes_;
  bool notes_open_ = false;
  NotesRecordQueue notes_queue_;
  bool day_log_kept_for_notes_ = false;
  bool setup_mode_ = false;
  bool quit_requested_ = false;
  bool hide_to_tray_ = false;
  bool auto_save_ = false;
  bool timer_enabled_ = false;
  bool tray_visible_ = false;
  bool open_notes_db_visible_ = false;
  bool reporter_visible_ = false;
  bool started_ = false;  // today's work was loaded, so shutdown may write it back
  bool shut_down_ = false;
  QString notes_database_;
  QString caption_;
  QString status_[kStatusPanels];
  bool status_hidden_[kStatusPanels] = {};
};

}  // namespace ravell
