#include <dlfcn.h>

#include <QFile>
#include <cstring>

#include "messages.h"
#include "notesbridge_api.h"
#include "noteslink.h"
#include "textblock.h"

namespace ravell {

struct NotesLibrary::Impl {
  void* handle = nullptr;
  QStringList missing;
  NotesInitFn init = nullptr;
  NotesGetDayRecordsFn get_day_records = nullptr;
  NotesCreateSelTaskFn create_sel_task = nullptr;
  NotesGetNotesSelTasksFn get_notes_sel_tasks = nullptr;
  NotesSaveToNotesDocFn save_to_notes_doc = nullptr;
  NotesGetActiveProjectsFn get_active_projects = nullptr;
  NotesGetUserNameFn get_user_name = nullptr;
  NotesGetRateListFn get_rate_list = nullptr;
  NotesDeleteSelTaskFn delete_sel_task = nullptr;
  NotesUpdateProjectFn update_project = nullptr;
  NotesDeleteProjectFn delete_project = nullptr;
  NotesDeleteTaskFn delete_task = nullptr;
  NotesTerminateFn terminate = nullptr;

  ~Impl() {
    if (handle) dlclose(handle);
  }

  template <typename Fn>
  void Resolve(Fn& slot, const char* name, MessageBoxes& messages) {
    slot = reinterpret_cast<Fn>(dlsym(handle, name));
    if (slot) return;
    missing << QLatin1String(name);
    messages.Show(QStringLiteral("Function %1 not found at %2")
                      .arg(QLatin1String(name), QLatin1String(kFileName)),
                  QString(), MsgIcon::kError);
  }
};

namespace {

// Failure values the library gives for a database it could not write; any
// other non-zero value has no more to say than the first line.
constexpr int kLocked = 2;
constexpr int kReadOnly = 3;

void Check(int status, const char* export_name) {
  if (status == 0) return;
  QString text = QStringLiteral("Error in %1: %2 failed")
                     .arg(QLatin1String(NotesLibrary::kFileName), QLatin1String(export_name));
  if (status == kLocked) {
    text += QStringLiteral("\nThe Notes database is locked by another program.");
  } else if (status == kReadOnly) {
    text += QStringLiteral("\nThe Notes database cannot be written.");
  }
  throw NotesError(text);
}

// The block is ours once the library handed it out, so it is freed even when
// the export reports a failure.
template <typename Fn, typename... Args>
QString TextCall(Fn fn, const char* export_name, Args... args) {
  if (!fn) return QString();
  RvHandle block = 0;
  const int status = fn(&block, args...);
  const QString text = TakeTextBlock(block);
  Check(status, export_name);
  return text;
}

// The record's fields need not be terminated; never read past them.
QString FieldText(const char (&field)[128]) {
  return FromFileText(QByteArray(field, static_cast<qsizetype>(strnlen(field, sizeof field))));
}

}  // namespace

NotesLibrary::NotesLibrary(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

NotesLibrary::~NotesLibrary() = default;

std::unique_ptr<NotesLibrary> NotesLibrary::Load(const QString& program_folder,
                                                 MessageBoxes& messages) {
  const QByteArray path =
      QFile::encodeName(program_folder + QLatin1Char('/') + QLatin1String(kFileName));
  auto impl = std::make_unique<Impl>();
  impl->handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
  if (!impl->handle) {
    messages.Show(QStringLiteral("Module %1 was not found").arg(QLatin1String(kFileName)),
                  QString(), MsgIcon::kError);
    return nullptr;
  }
  Impl& l = *impl;
  l.Resolve(l.init, "Init", messages);
  l.Resolve(l.get_day_records, "GetDayRecords", messages);
  l.Resolve(l.create_sel_task, "CreateSelTask", messages);
  l.Resolve(l.get_notes_sel_tasks, "GetNotesSelTasks", messages);
  l.Resolve(l.save_to_notes_doc, "SaveToNotesDoc", messages);
  l.Resolve(l.get_active_projects, "GetActiveProjects", messages);
  l.Resolve(l.get_user_name, "GetUserName", messages);
  l.Resolve(l.get_rate_list, "GetRateList", messages);
  l.Resolve(l.delete_sel_task, "DeleteSelTask", messages);
  l.Resolve(l.update_project, "UpdateProject", messages);
  l.Resolve(l.delete_project, "DeleteProject", messages);
  l.Resolve(l.delete_task, "DeleteTask", messages);
  l.Resolve(l.terminate, "Terminate", messages);
  return std::unique_ptr<NotesLibrary>(new NotesLibrary(std::move(impl)));
}

const QStringList& NotesLibrary::missing_exports() const { return impl_->missing; }

int NotesLibrary::Init(void* app_window, const QString& server, const QString& database,
                       const QString& password) {
  // Without Init no session can open. Reporting it as open would let every
  // later record go nowhere, so it counts as the fatal result.
  if (!impl_->init) return -1;
  const QByteArray server_text = ToFileText(server);
  const QByteArray database_text = ToFileText(database);
  const QByteArray password_text = ToFileText(password);
  return impl_->init(app_window, server_text.constData(), database_text.constData(),
                     password_text.constData());
}

QList<NotesRecord> NotesLibrary::GetDayRecords(const QString& date) {
  QList<NotesRecord> records;
  if (!impl_->get_day_records) return records;
  const QByteArray date_text = ToFileText(date);
  RvHandle block = 0;
  int count = 0;
  Check(impl_->get_day_records(date_text.constData(), &block, &count), "GetDayRecords");
  if (block <= 0 || count <= 0) return records;
  // The block stays the library's: read it, never free it.
  const auto* day = reinterpret_cast<const NotesDayRecord*>(block);
  records.reserve(count);
  for (int i = 0; i < count; ++i) {
    records.append({FieldText(day[i].task), FieldText(day[i].project), FieldText(day[i].task_id),
                    day[i].time_start, day[i].time_end});
  }
  return records;
}

void NotesLibrary::CreateSelTask(const QString& task, const QString& project) {
  if (!impl_->create_sel_task) return;
  Check(impl_->create_sel_task(ToFileText(task).constData(), ToFileText(project).constData()),
        "CreateSelTask");
}

QString NotesLibrary::GetNotesSelTasks(bool load_notes_todo) {
  return TextCall(impl_->get_notes_sel_tasks, "GetNotesSelTasks", load_notes_todo ? 1 : 0);
}

void NotesLibrary::SaveToNotesDoc(const QString& task, const QString& project,
                                  const QString& task_id, double rate, DateTime time_start,
                                  DateTime time_end) {
  if (!impl_->save_to_notes_doc) return;
  Check(impl_->save_to_notes_doc(ToFileText(task).constData(), ToFileText(project).constData(),
                                 ToFileText(task_id).constData(), rate, time_start, time_end),
        "SaveToNotesDoc");
}

QString NotesLibrary::GetActiveProjects() {
  return TextCall(impl_->get_active_projects, "GetActiveProjects");
}

QString NotesLibrary::GetUserName() { return TextCall(impl_->get_user_name, "GetUserName"); }

QString NotesLibrary::GetRateList() { return TextCall(impl_->get_rate_list, "GetRateList"); }

void NotesLibrary::DeleteSelTask(const QString& project_and_task) {
  if (!impl_->delete_sel_task) return;
  Check(impl_->delete_sel_task(ToFileText(project_and_task).constData()), "DeleteSelTask");
}

void NotesLibrary::UpdateProject(const QString& name, const QString& name_again, double rate) {
  if (!impl_->update_project) return;
  Check(impl_->update_project(ToFileText(name).constData(), ToFileText(name_again).constData(),
                              rate),
        "UpdateProject");
}

void NotesLibrary::DeleteProject(const QString& name) {
  if (!impl_->delete_project) return;
  Check(impl_->delete_project(ToFileText(name).constData()), "DeleteProject");
}

void NotesLibrary::DeleteTask(const QString& task_id) {
  if (!impl_->delete_task) return;
  Check(impl_->delete_task(ToFileText(task_id).constData()), "DeleteTask");
}

void NotesLibrary::Terminate() {
  if (!impl_->terminate) return;
  Check(impl_->terminate(), "Terminate");
}

}  // namespace ravell
