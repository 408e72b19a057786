#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "tasksession.h"

namespace ravell {

class Tracker;
class ToDoTree;
struct ToDoNode;

struct ProjectFields {
  QString name;
  QString rate;  // the dialog gives it with two decimals
};

// What the project and to-do commands ask of the windows. Tests script it.
class PlanningUi {
 public:
  virtual ~PlanningUi() = default;
  // The project dialog with a caption and presets; nullopt when cancelled.
  virtual std::optional<ProjectFields> AskProject(const QString& caption,
                                                  const ProjectFields& preset) = 0;
  // The task dialog in mode "Add ToDo"; its project and task texts, or
  // nullopt when cancelled.
  virtual std::optional<std::pair<QString, QString>> AskToDo(const QString& project) = 0;
  // The task dialog in mode "New" with the task preset; confirming starts the task.
  virtual void AskNewTask(const QString& task) = 0;
};

// The project commands and the to-do tree's commands over the project list,
// the tree, the Notes link and the files projects.lst and todo.tre. Every
// change is stored at once; an error ends the command with its message.
class Planning : public ToDoLink {
 public:
  explicit Planning(Tracker& tracker);

  void SetUi(PlanningUi* ui) { ui_ = ui; }

  // Fills the tree after InitRates, as the storage target keeps it.
  void InitToDoTree();
  // The top-level node with exactly this text; creates the project when there is none.
  ToDoNode* FindProjectNode(const QString& name);
  void AddTaskToProject(const QString& project, const QString& task);
  // ToDoLink: a task started from the task dialog joins the tree.
  void AddStartedTask(const QString& project, const QString& task) override;

  // Project commands; Properties and Delete act on the selected project node.
  void Addnew1Click();
  void Rate2Click();
  void Delete3Click();
  static QString DeleteProjectQuestion(const QString& name);

  // Tree commands on the selected node.
  void AddToDo1Click();
  void RunToDoClick();
  // The inserted record's log row, -1 when nothing was inserted.
  int Insert2Click();
  void Delete1Click();
  void Expandall1Click();
  void Collapseall1Click();
  void ReloadToDotree1Click();

  // projects.lst, then todo.tre; throws FileError.
  void WriteProjectFiles();
  void WriteToDoFile();

 private:
  ToDoTree& tree();
  // Runs a command; an error it raises ends it with its message.
  void Run(const std::function<void()>& command);
  void ShowError(const QString& text);
  void InitFromNotes();
  void InitFromFile();

  Tracker& tracker_;
  PlanningUi* ui_ = nullptr;
};

}  // namespace ravell
