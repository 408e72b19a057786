#pragma once
// The Notes link's store: records, projects with rates and to-do pairs in one
// SQLite database file. Texts are 8-bit bytes kept as they came.

#include <QByteArray>
#include <QDate>
#include <memory>
#include <vector>

#include "datetime.h"
#include "notesbridge_api.h"
#include "notesstatus.h"

struct sqlite3;

namespace ravell::notesbridge {

class NotesStore {
 public:
  // The project whose to-do pairs are tasks handed to the user by others.
  static constexpr const char* kHandedProject = "Notes";

  // Opens the database at path, creating it when missing. Gives kInitOpen and
  // sets *store, kInitRefused when the database is protected by another
  // password, kInitFatal when it cannot be opened, created or written.
  static int Open(const QByteArray& path, const QByteArray& password,
                  std::unique_ptr<NotesStore>* store);
  ~NotesStore();
  NotesStore(const NotesStore&) = delete;
  NotesStore& operator=(const NotesStore&) = delete;

  // Kept under task_id; a record saved again with the same id replaces it.
  Status SaveRecord(const QByteArray& task, const QByteArray& project, const QByteArray& task_id,
                    double rate, DateTime time_start, DateTime time_end);
  // The records whose start lies on day, in order of their start.
  Status DayRecords(const QDate& day, std::vector<NotesDayRecord>* records);
  Status DeleteRecord(const QByteArray& task_id);

  // Creates name_again, or sets its rate; a different name_again renames the
  // project name, which keeps its place in the list.
  Status UpdateProject(const QByteArray& name, const QByteArray& name_again, double rate);
  // Removes the project and its to-do pairs; records keep their project.
  Status DeleteProject(const QByteArray& name);
  // Lines name "=" rate with two decimals, in the order projects were made.
  Status RateList(QByteArray* text);
  Status ActiveProjects(QByteArray* text);

  Status CreateSelTask(const QByteArray& task, const QByteArray& project);
  // project_and_task: project "~~" task.
  Status DeleteSelTask(const QByteArray& project_and_task);
  // Lines in pairs, project then task; the handed tasks only when asked for.
  Status SelTasks(bool with_handed_tasks, QByteArray* text);

 private:
  explicit NotesStore(sqlite3* db) : db_(db) {}
  sqlite3* db_;
};

}  // namespace ravell::notesbridge
