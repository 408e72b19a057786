#include "planning.h"

#include <QFileInfo>

#include "atomicfile.h"
#include "error.h"
#include "logedit.h"
#include "money.h"
#include "textcodec.h"
#include "todotree.h"
#include "tracker.h"

namespace ravell {
namespace {

double RateNumber(const QString& text) {
  double rate = 0;
  return ParseNumber(text, &rate) ? rate : 0;
}

}  // namespace

Planning::Planning(Tracker& tracker) : tracker_(tracker) {}

ToDoTree& Planning::tree() { return tracker_.todo_tree(); }

void Planning::Run(const std::function<void()>& command) {
  try {
    command();
  } catch (const Error& e) {
    ShowError(e.message());
  }
}

void Planning::ShowError(const QString& text) {
  tracker_.messages().Show(text, QString(), MsgIcon::kError);
}

void Planning::WriteProjectFiles() {
  WriteFileAtomic(tracker_.program_folder() + QStringLiteral("/projects.lst"),
                  tracker_.projects().Compose());
  WriteToDoFile();
}

void Planning::WriteToDoFile() {
  WriteFileAtomic(tracker_.program_folder() + QStringLiteral("/todo.tre"), tree().Compose());
}

void Planning::InitToDoTree() {
  Run([this] {
    const StorageTarget target = tracker_.storage_target();
    if (UsesNotes(target) && tracker_.notes()) {
      InitFromNotes();
    } else if (target == StorageTarget::kLog) {
      InitFromFile();
    }
  });
}

void Planning::InitFromNotes() {
  QString text = tracker_.notes()->GetNotesSelTasks(tracker_.settings().LoadNotesToDo());
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QStringList lines = text.split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  for (qsizetype k = 0; k + 1 < lines.size(); k += 2) {
    const QString& project = lines[k];
    const QString& task = lines[k + 1];
    if (project.isEmpty()) continue;
    ToDoNode* node = FindProjectNode(project);
    tree().SetImage(node, project == QLatin1String("Notes") ? ToDoTree::kNotesProjectImage
                                                            : ToDoTree::kProjectImage);
    if (ToDoNode* child = ToDoTree::FindChild(node, task)) {
      tree().Select(child);
    } else {
      tree().AddChild(node, task);
    }
  }
}

void Planning::InitFromFile() {
  const QString path = tracker_.program_folder() + QStringLiteral("/todo.tre");
  if (!QFileInfo::exists(path)) return;
  const QByteArray bytes = ReadWholeFile(path);
  QString error = tree().Load(bytes);
  tree().SetLoadedImages();
  tree().Sort();
  if (error.isEmpty()) return;
  // The next change rewrites todo.tre from what could be read; keep the original.
  const QString backup = path + QStringLiteral(".bak");
  try {
    WriteFileAtomic(backup, bytes);
    error += QStringLiteral("\nThe original file is kept as %1.").arg(backup);
  } catch (const FileError& e) {
    error += QLatin1Char('\n') + e.message();
  }
  ShowError(error);
}

ToDoNode* Planning::FindProjectNode(const QString& name) {
  if (ToDoNode* node = tree().FindTopLevel(name)) return node;
  ToDoNode* node = tree().AddTopLevel(name);
  // A line that differs only in case already names the project in the list.
  if (tracker_.projects().Find(name) < 0) {
    tracker_.projects().Append(name, QStringLiteral("0.00"));
  }
  const StorageTarget target = tracker_.storage_target();
  if (UsesLog(target)) {
    tree().Sort();
    WriteProjectFiles();
  }
  if (UsesNotes(target) && tracker_.notes() && name != QLatin1String("Notes")) {
    tracker_.notes()->UpdateProject(name, name, 0);
  }
  return node;
}

void Planning::AddTaskToProject(const QString& project, const QString& task) {
  ToDoNode* node = FindProjectNode(project);
  if (ToDoNode* child = ToDoTree::FindChild(node, task)) {
    tree().Select(child);
    return;
  }
  tree().AddChild(node, task);
  const StorageTarget target = tracker_.storage_target();
  if (UsesNotes(target) && tracker_.notes()) tracker_.notes()->CreateSelTask(task, project);
  if (UsesLog(target)) WriteToDoFile();
}

void Planning::AddStartedTask(const QString& project, const QString& task) {
  Run([&] { AddTaskToProject(project, task); });
}

void Planning::Addnew1Click() {
  if (!ui_) return;
  const std::optional<ProjectFields> fields =
      ui_->AskProject(QStringLiteral("New project"), {QString(), QStringLiteral("0.00")});
  if (!fields) return;
  Run([&] {
    ProjectList& projects = tracker_.projects();
    // The typed rate is in the list before the node's files are written, so
    // a failed write cannot leave the new project at rate 0.00.
    if (projects.Find(fields->name) < 0) projects.Append(fields->name, fields->rate);
    tree().Select(FindProjectNode(fields->name));
    const StorageTarget target = tracker_.storage_target();
    if (UsesLog(target)) WriteProjectFiles();
    if (UsesNotes(target) && tracker_.notes()) {
      tracker_.notes()->UpdateProject(fields->name, fields->name, RateNumber(fields->rate));
    }
  });
}

void Planning::Rate2Click() {
  ToDoNode* node = tree().SelectedProject();
  if (!node || !ui_) return;
  const QString old_name = node->text;
  QString rate = tracker_.projects().RateText(old_name);
  if (rate.isEmpty()) rate = QStringLiteral("0.00");
  const std::optional<ProjectFields> fields =
      ui_->AskProject(QStringLiteral("Project rate"), {old_name, rate});
  // Nodes are compared by address; the dialog's nested loop must not have removed it.
  if (!fields || !tree().Holds(node)) return;
  Run([&] {
    ProjectList& projects = tracker_.projects();
    const int index = projects.Find(old_name);
    // A project known only from the tree gets its line now.
    if (index >= 0) {
      projects.SetLine(index, fields->name, fields->rate);
    } else {
      projects.Append(fields->name, fields->rate);
    }
    tree().SetText(node, fields->name);
    const StorageTarget target = tracker_.storage_target();
    if (UsesLog(target)) WriteProjectFiles();
    if (UsesNotes(target) && tracker_.notes()) {
      NotesLink& notes = *tracker_.notes();
      // A rename names the old project, or the database would keep it beside
      // the new one and bring it back, with its planned tasks, at the next start.
      notes.UpdateProject(old_name, fields->name, RateNumber(fields->rate));
      if (old_name != fields->name) {
        for (const auto& child : node->children) {
          notes.DeleteSelTask(old_name + QStringLiteral("~~") + child->text);
          notes.CreateSelTask(child->text, fields->name);
        }
      }
    }
  });
}

QString Planning::DeleteProjectQuestion(const QString& name) {
  return QStringLiteral("Are you shure delete a project\n\"%1\"\nand all its tasks?").arg(name);
}

void Planning::Delete3Click() {
  ToDoNode* node = tree().SelectedProject();
  if (!node) return;
  const QString name = node->text;
  if (tracker_.messages().Show(DeleteProjectQuestion(name), QString(), MsgIcon::kQuestion,
                               MsgButtons::kYesNo) != MsgResult::kYes ||
      !tree().Holds(node)) {
    return;
  }
  Run([&] {
    ProjectList& projects = tracker_.projects();
    const int index = projects.Find(name);
    if (index >= 0) projects.Remove(index);
    const StorageTarget target = tracker_.storage_target();
    if (UsesNotes(target) && tracker_.notes()) tracker_.notes()->DeleteProject(name);
    tree().Delete(node);
    if (UsesLog(target)) WriteProjectFiles();
    tree().Sort();
  });
}

void Planning::AddToDo1Click() {
  if (!ui_) return;
  QString project;
  if (const ToDoNode* node = tree().selected()) {
    project = node->ProjectText();
  } else if (const ToDoNode* first = tree().First()) {
    project = first->text;
  }
  const auto answer = ui_->AskToDo(project);
  if (!answer || answer->first.isEmpty()) return;
  const QString task =
      answer->second.isEmpty() ? QStringLiteral("Working on project") : answer->second;
  Run([&] { AddTaskToProject(answer->first, task); });
}

void Planning::RunToDoClick() {
  const ToDoNode* node = tree().SelectedTask();
  if (!node || tracker_.session().commands().pause_down) return;
  const QString project = node->ProjectText();
  const QString task = node->text;
  if (project == QLatin1String("Notes")) {
    // A task planned in Notes has no real project yet: the user picks one.
    if (ui_) ui_->AskNewTask(task);
    return;
  }
  Run([&] { tracker_.session().NewTask(project, task); });
}

int Planning::Insert2Click() {
  const ToDoNode* node = tree().SelectedTask();
  if (!node) return -1;
  return tracker_.log_edit().InputInsertTask(node->ProjectText(), node->text);
}

void Planning::Delete1Click() {
  ToDoNode* node = tree().SelectedTask();
  if (!node) return;
  const QString project = node->ProjectText();
  const QString task = node->text;
  Run([&] {
    const StorageTarget target = tracker_.storage_target();
    if (UsesNotes(target) && tracker_.notes()) {
      tracker_.notes()->DeleteSelTask(project + QStringLiteral("~~") + task);
    }
    tree().Delete(node);
    if (UsesLog(target)) WriteToDoFile();
  });
}

void Planning::Expandall1Click() { tree().SetAllExpanded(true); }

void Planning::Collapseall1Click() { tree().SetAllExpanded(false); }

void Planning::ReloadToDotree1Click() {
  tree().Clear();
  tracker_.InitRates();
  InitToDoTree();
  tree().Select(tree().First());
}

}  // namespace ravell
