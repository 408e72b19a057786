#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "datetime.h"
#include "error.h"

namespace ravell {

class MessageBoxes;

// An error the Notes link library reported; ends the command that met it.
class NotesError : public Error {
 public:
  using Error::Error;
};

struct NotesRecord {
  QString task;
  QString project;
  QString task_id;
  DateTime time_start = 0;
  DateTime time_end = 0;
};

// The tracker's only way to the Notes store. The real one is the library
// libnotesbridge.so; tests use fakes. Calls throw NotesError when the library
// reports a failure.
class NotesLink {
 public:
  virtual ~NotesLink() = default;
  virtual int Init(void* app_window, const QString& server, const QString& database,
                   const QString& password) = 0;
  // date: year "." month "." day without leading zeros.
  virtual QList<NotesRecord> GetDayRecords(const QString& date) = 0;
  virtual void CreateSelTask(const QString& task, const QString& project) = 0;
  // Lines in pairs: project, task.
  virtual QString GetNotesSelTasks(bool load_notes_todo) = 0;
  virtual void SaveToNotesDoc(const QString& task, const QString& project, const QString& task_id,
                              double rate, DateTime time_start, DateTime time_end) = 0;
  virtual QString GetActiveProjects() = 0;
  virtual QString GetUserName() = 0;
  virtual QString GetRateList() = 0;
  virtual void DeleteSelTask(const QString& project_and_task) = 0;
  virtual void UpdateProject(const QString& name, const QString& name_again, double rate) = 0;
  virtual void DeleteProject(const QString& name) = 0;
  virtual void DeleteTask(const QString& task_id) = 0;
  virtual void Terminate() = 0;
};

// The library in the program folder, loaded with dlopen. Missing exports are
// reported once, at load, and are never called afterwards: Init then gives
// -1 (no session can open), the others do nothing or give empty results.
// A failing export (non-zero status) throws
// NotesError("Error in libnotesbridge.so: <export> failed").
class NotesLibrary : public NotesLink {
 public:
  static constexpr const char* kFileName = "libnotesbridge.so";

  ~NotesLibrary() override;

  // Loads the library from program_folder and looks every export up, showing
  // "Module libnotesbridge.so was not found" or
  // "Function <name> not found at libnotesbridge.so" through messages.
  // Null when the library could not be loaded.
  static std::unique_ptr<NotesLibrary> Load(const QString& program_folder,
                                            MessageBoxes& messages);

  // Names of the exports the library lacks, in lookup order.
  const QStringList& missing_exports() const;

  int Init(void* app_window, const QString& server, const QString& database,
           const QString& password) override;
  QList<NotesRecord> GetDayRecords(const QString& date) override;
  void CreateSelTask(const QString& task, const QString& project) override;
  QString GetNotesSelTasks(bool load_notes_todo) override;
  void SaveToNotesDoc(const QString& task, const QString& project, const QString& task_id,
                      double rate, DateTime time_start, DateTime time_end) override;
  QString GetActiveProjects() override;
  QString GetUserName() override;
  QString GetRateList() override;
  void DeleteSelTask(const QString& project_and_task) override;
  void UpdateProject(const QString& name, const QString& name_again, double rate) override;
  void DeleteProject(const QString& name) override;
  void DeleteTask(const QString& task_id) override;
  void Terminate() override;

 private:
  struct Impl;
  explicit NotesLibrary(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// Start-up's way to the library: null when it could not be loaded (the
// loader has said why), and then Init is never called.
using NotesLoader = std::function<std::unique_ptr<NotesLink>(MessageBoxes&)>;

}  // namespace ravell
