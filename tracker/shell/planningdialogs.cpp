#include "planningdialogs.h"

#include <QPointer>

#include "error.h"
#include "projectdialog.h"
#include "taskdialog.h"
#include "tracker.h"

namespace ravell {

TaskDialogHooks MakeTaskDialogHooks(Tracker& tracker) {
  TaskDialogHooks hooks;
  hooks.projects = tracker.TaskDialogProjects();
  hooks.rate_text = [&tracker](const QString& project) {
    return tracker.projects().RateText(project);
  };
  hooks.planned_tasks = [&tracker](const QString& project) {
    return tracker.todo_tree().ChildTexts(project);
  };
  hooks.new_task = [&tracker](const QString& project, const QString& task) {
    try {
      tracker.session().NewTask(project, task, true);
    } catch (const Error& e) {
      tracker.messages().Show(e.message(), QString(), MsgIcon::kError);
    }
  };
  return hooks;
}

PlanningDialogs::PlanningDialogs(QWidget* parent, Tracker& tracker)
    : parent_(parent), tracker_(tracker) {
  tracker_.planning().SetUi(this);
  tracker_.log_edit().SetUi(this);
}

PlanningDialogs::~PlanningDialogs() {
  tracker_.planning().SetUi(nullptr);
  tracker_.log_edit().SetUi(nullptr);
  delete project_dialog_;
}

ProjectDialog* PlanningDialogs::project_dialog() {
  if (!project_dialog_) project_dialog_ = new ProjectDialog(&tracker_.messages(), parent_);
  return project_dialog_;
}

std::optional<ProjectFields> PlanningDialogs::AskProject(const QString& caption,
                                                         const ProjectFields& preset) {
  QPointer<ProjectDialog> dialog = project_dialog();
  dialog->SetFields(caption, preset.name, preset.rate);
  const int result = dialog->exec();
  // The owner may have gone while the dialog was open (shutdown).
  if (!dialog || result != QDialog::Accepted) return std::nullopt;
  return ProjectFields{dialog->ProjectText(), dialog->RateText()};
}

std::optional<std::pair<QString, QString>> PlanningDialogs::AskToDo(const QString& project) {
  QPointer<TaskDialog> dialog = new TaskDialog(MakeTaskDialogHooks(tracker_), parent_);
  dialog->SetMode(QStringLiteral("Add ToDo"));
  dialog->SetProjectText(project);
  dialog->SetTaskText(QString());
  const int result = dialog->exec();
  if (!dialog) return std::nullopt;
  std::optional<std::pair<QString, QString>> answer;
  if (result == TaskDialog::kOk) answer.emplace(dialog->ProjectText(), dialog->TaskText());
  delete dialog;
  return answer;
}

void PlanningDialogs::AskNewTask(const QString& task) {
  QPointer<TaskDialog> dialog = new TaskDialog(MakeTaskDialogHooks(tracker_), parent_);
  dialog->SetMode(QStringLiteral("New"));
  dialog->SetTaskText(task);
  dialog->exec();
  delete dialog;
}

std::optional<RecordFields> PlanningDialogs::AskInsert(const RecordFields& preset) {
  std::optional<RecordFields> answer;
  TaskDialogHooks hooks = MakeTaskDialogHooks(tracker_);
  // Confirming hands the record over; the insert runs once the dialog is gone.
  hooks.insert_task = [&answer](const QString& project, const QString& task, QTime start,
                                QTime end) {
    answer = RecordFields{project, task, start, end};
  };
  QPointer<TaskDialog> dialog = new TaskDialog(std::move(hooks), parent_);
  dialog->SetProjectText(preset.project);
  dialog->SetTaskText(preset.task);
  dialog->SetTimes(preset.start, preset.end);
  dialog->SetMode(QStringLiteral("Insert"));
  const int result = dialog->exec();
  if (!dialog) return std::nullopt;
  delete dialog;
  if (result != TaskDialog::kOk) return std::nullopt;
  return answer;
}

std::optional<RecordFields> PlanningDialogs::AskChange(const RecordFields& preset) {
  QPointer<TaskDialog> dialog = new TaskDialog(MakeTaskDialogHooks(tracker_), parent_);
  dialog->SetProjectText(preset.project);
  dialog->SetTaskText(preset.task);
  dialog->SetTimes(preset.start, preset.end);
  dialog->SetMode(QStringLiteral("Change"));
  const int result = dialog->exec();
  if (!dialog) return std::nullopt;
  std::optional<RecordFields> answer;
  if (result == TaskDialog::kOk) {
    answer = RecordFields{dialog->ProjectText(), dialog->TaskText(), dialog->StartTime(),
                          dialog->EndTime()};
  }
  delete dialog;
  return answer;
}

}  // namespace ravell
