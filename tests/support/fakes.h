#pragma once
// Scriptable stand-ins for the tracker's outside world.

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

#include "noteslink.h"
#include "recordingmessages.h"

namespace ravell::testing {

// Records every call as one line; answers from its fields.
class FakeNotesLink : public NotesLink {
 public:
  int Init(void*, const QString& server, const QString& database,
           const QString& password) override {
    *calls << QStringLiteral("Init|%1|%2|%3").arg(server, database, password);
    return init_result;
  }
  QList<NotesRecord> GetDayRecords(const QString& date) override {
    *calls << QStringLiteral("GetDayRecords|") + date;
    return day_records;
  }
  void CreateSelTask(const QString& task, const QString& project) override {
    *calls << QStringLiteral("CreateSelTask|%1|%2").arg(task, project);
  }
  QString GetNotesSelTasks(bool load) override {
    *calls << QStringLiteral("GetNotesSelTasks|%1").arg(load ? 1 : 0);
    return sel_tasks;
  }
  void SaveToNotesDoc(const QString& task, const QString& project, const QString& id, double rate,
                      DateTime start, DateTime end) override {
    *calls << QStringLiteral("SaveToNotesDoc|%1|%2|%3|%4|%5|%6")
                 .arg(task, project, id)
                 .arg(rate)
                 .arg(start, 0, 'f', 6)
                 .arg(end, 0, 'f', 6);
    if (fail_save) throw NotesError(QStringLiteral("SaveToNotesDoc failed"));
  }
  QString GetActiveProjects() override {
    *calls << QStringLiteral("GetActiveProjects");
    return active_projects;
  }
  QString GetUserName() override {
    *calls << QStringLiteral("GetUserName");
    if (fail_user_name) throw NotesError(QStringLiteral("GetUserName failed"));
    return user_name;
  }
  QString GetRateList() override {
    *calls << QStringLiteral("GetRateList");
    return rate_list;
  }
  void DeleteSelTask(const QString& project_and_task) override {
    *calls << QStringLiteral("DeleteSelTask|") + project_and_task;
  }
  void UpdateProject(const QString& name, const QString& again, double rate) override {
    *calls << QStringLiteral("UpdateProject|%1|%2|%3").arg(name, again).arg(rate);
  }
  void DeleteProject(const QString& name) override {
    *calls << QStringLiteral("DeleteProject|") + name;
  }
  void DeleteTask(const QString& id) override { *calls << QStringLiteral("DeleteTask|") + id; }
  void Terminate() override { *calls << QStringLiteral("Terminate"); }

  // Outlives the link, so a test can read it after the tracker released the link.
  std::shared_ptr<QStringList> calls = std::make_shared<QStringList>();
  int init_result = 1;
  bool fail_user_name = false;
  bool fail_save = false;
  QString user_name = QStringLiteral("Jane Doe");
  QList<NotesRecord> day_records;
  QString sel_tasks, active_projects, rate_list;
};

}  // namespace ravell::testing
