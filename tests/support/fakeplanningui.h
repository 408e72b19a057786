#pragma once

#include <QStringList>
#include <optional>

#include "logedit.h"
#include "planning.h"

namespace ravell::testing {

// Answers the planning and log editing dialogs from a script and records
// what each was opened with.
class FakePlanningUi : public PlanningUi, public LogEditUi {
 public:
  std::optional<ProjectFields> AskProject(const QString& caption,
                                          const ProjectFields& preset) override {
    calls << QStringLiteral("AskProject|%1|%2|%3").arg(caption, preset.name, preset.rate);
    return project_answer;
  }
  std::optional<std::pair<QString, QString>> AskToDo(const QString& project) override {
    calls << QStringLiteral("AskToDo|") + project;
    return todo_answer;
  }
  void AskNewTask(const QString& task) override { calls << QStringLiteral("AskNewTask|") + task; }
  std::optional<RecordFields> AskInsert(const RecordFields& preset) override {
    calls << QStringLiteral("AskInsert|") + Describe(preset);
    return record_answer;
  }
  std::optional<RecordFields> AskChange(const RecordFields& preset) override {
    calls << QStringLiteral("AskChange|") + Describe(preset);
    return record_answer;
  }

  static QString Describe(const RecordFields& f) {
    return QStringLiteral("%1|%2|%3|%4")
        .arg(f.project, f.task, f.start.toString(QStringLiteral("H:mm:ss")),
             f.end.toString(QStringLiteral("H:mm:ss")));
  }

  QStringList calls;
  std::optional<ProjectFields> project_answer;
  std::optional<std::pair<QString, QString>> todo_answer;
  std::optional<RecordFields> record_answer;
};

}  // namespace ravell::testing
