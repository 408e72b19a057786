#pragma once

#include <QPointer>

#include "logedit.h"
#include "planning.h"

class QWidget;

namespace ravell {

class ProjectDialog;
class Tracker;
struct TaskDialogHooks;

// What the task dialog needs of the tracker: its projects, rates, the to-do
// tree's planned tasks, and starting a task (errors shown, not thrown).
TaskDialogHooks MakeTaskDialogHooks(Tracker& tracker);

// The dialogs of the project, to-do and log editing commands, owned by a
// window. Constructing it connects it to the tracker's planning and log
// editing; destroying it disconnects them.
class PlanningDialogs : public PlanningUi, public LogEditUi {
 public:
  PlanningDialogs(QWidget* parent, Tracker& tracker);
  ~PlanningDialogs() override;

  std::optional<ProjectFields> AskProject(const QString& caption,
                                          const ProjectFields& preset) override;
  std::optional<std::pair<QString, QString>> AskToDo(const QString& project) override;
  void AskNewTask(const QString& task) override;
  std::optional<RecordFields> AskInsert(const RecordFields& preset) override;
  std::optional<RecordFields> AskChange(const RecordFields& preset) override;

  // The project dialog, created on first use and kept.
  ProjectDialog* project_dialog();

 private:
  QPointer<QWidget> parent_;
  Tracker& tracker_;
  QPointer<ProjectDialog> project_dialog_;
};

}  // namespace ravell
