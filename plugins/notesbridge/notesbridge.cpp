// The thirteen exports of libnotesbridge.so. One session per process: Init
// opens the store, Terminate closes it; the other store calls need it open.

#include <pwd.h>
#include <unistd.h>

#include <QByteArray>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

#include "notesbridge_api.h"
#include "notesstore.h"

namespace ravell::notesbridge {
namespace {

struct Session {
  std::unique_ptr<NotesStore> store;
  // The block of the last GetDayRecords: it stays ours until the next call.
  std::vector<NotesDayRecord> day_records;
};

Session& TheSession() {
  static Session session;
  return session;
}

// Nothing may be thrown across the C interface.
template <typename Call>
int Guarded(int on_exception, Call call) noexcept {
  try {
    return call();
  } catch (...) {
    return on_exception;
  }
}

// The call made on the open store; kNoSession without one.
template <typename Call>
int WithStore(Call call) noexcept {
  return Guarded(kStoreError, [&]() -> int {
    NotesStore* store = TheSession().store.get();
    return store ? call(*store) : kNoSession;
  });
}

int HandOut(const QByteArray& text, RvHandle* block) {
  auto* copy = static_cast<char*>(std::malloc(static_cast<size_t>(text.size()) + 1));
  if (!copy) return kStoreError;
  std::memcpy(copy, text.constData(), static_cast<size_t>(text.size()));
  copy[text.size()] = '\0';
  *block = reinterpret_cast<RvHandle>(copy);
  return kOk;
}

// Text exports: the block is handed out only with success.
template <typename Fill>
int TextExport(RvHandle* block, Fill fill) noexcept {
  if (!block) return kBadArgument;
  *block = 0;
  return WithStore([&](NotesStore& store) -> int {
    QByteArray text;
    const Status status = fill(store, &text);
    return status == kOk ? HandOut(text, block) : status;
  });
}

// The full name from the account, else the login name.
QByteArray DesktopUserName() {
  passwd entry{};
  passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
    QByteArray full_name(found->pw_gecos ? found->pw_gecos : "");
    const qsizetype comma = full_name.indexOf(',');
    if (comma >= 0) full_name.truncate(comma);
    if (!full_name.trimmed().isEmpty()) return full_name.trimmed();
    if (found->pw_name && *found->pw_name) return QByteArray(found->pw_name);
  }
  return qgetenv("USER");
}

// "Y.M.D", numbers without leading zeros (leading zeros are accepted too).
QDate DateFromText(const char* text) {
  const QList<QByteArray> parts = QByteArray(text).split('.');
  if (parts.size() != 3) return QDate();
  int numbers[3];
  for (int i = 0; i < 3; ++i) {
    bool ok = false;
    numbers[i] = parts[i].toInt(&ok);
    if (!ok) return QDate();
  }
  return QDate(numbers[0], numbers[1], numbers[2]);
}

}  // namespace
}  // namespace ravell::notesbridge

using namespace ravell::notesbridge;

#define NOTES_EXPORT extern "C" __attribute__((visibility("default")))

NOTES_EXPORT int Init(void* /*app_window*/, const char* server, const char* database,
                      const char* password) {
  return Guarded(kInitFatal, [&] {
    Session& session = TheSession();
    session.store.reset();
    session.day_records.clear();
    if (!server || !database || !password) return kInitFatal;
    // Only local stores are offered. A server must not fall back to a local
    // file silently: the user would believe the records reach the server.
    if (*server) return kInitRefused;
    return NotesStore::Open(QByteArray(database), QByteArray(password), &session.store);
  });
}

NOTES_EXPORT int GetDayRecords(const char* date, RvHandle* block, int* count) {
  if (!block || !count) return kBadArgument;
  *block = 0;
  *count = 0;
  return WithStore([&](NotesStore& store) -> int {
    if (!date) return kBadArgument;
    const QDate day = DateFromText(date);
    if (!day.isValid()) return kBadArgument;
    std::vector<NotesDayRecord>& records = TheSession().day_records;
    const Status status = store.DayRecords(day, &records);
    if (status != kOk || records.empty()) return status;
    *block = reinterpret_cast<RvHandle>(records.data());
    *count = static_cast<int>(records.size());
    return kOk;
  });
}

NOTES_EXPORT int CreateSelTask(const char* task, const char* project) {
  return WithStore([&](NotesStore& store) -> int {
    if (!task || !project) return kBadArgument;
    return store.CreateSelTask(QByteArray(task), QByteArray(project));
  });
}

NOTES_EXPORT int GetNotesSelTasks(RvHandle* block, int load_notes_todo) {
  return TextExport(block, [&](NotesStore& store, QByteArray* text) {
    return store.SelTasks(load_notes_todo == 1, text);
  });
}

NOTES_EXPORT int SaveToNotesDoc(const char* task, const char* project, const char* task_id,
                                double rate, double time_start, double time_end) {
  return WithStore([&](NotesStore& store) -> int {
    if (!task || !project || !task_id) return kBadArgument;
    return store.SaveRecord(QByteArray(task), QByteArray(project), QByteArray(task_id), rate,
                            time_start, time_end);
  });
}

NOTES_EXPORT int GetActiveProjects(RvHandle* block) {
  return TextExport(block,
                    [](NotesStore& store, QByteArray* text) { return store.ActiveProjects(text); });
}

// Needs no store: the name is the desktop user's.
NOTES_EXPORT int GetUserName(RvHandle* block) {
  if (!block) return kBadArgument;
  *block = 0;
  return Guarded(kStoreError, [&] { return HandOut(DesktopUserName(), block); });
}

NOTES_EXPORT int GetRateList(RvHandle* block) {
  return TextExport(block,
                    [](NotesStore& store, QByteArray* text) { return store.RateList(text); });
}

NOTES_EXPORT int DeleteSelTask(const char* project_task) {
  return WithStore([&](NotesStore& store) -> int {
    if (!project_task) return kBadArgument;
    return store.DeleteSelTask(QByteArray(project_task));
  });
}

NOTES_EXPORT int UpdateProject(const char* name, const char* name_again, double rate) {
  return WithStore([&](NotesStore& store) -> int {
    if (!name || !name_again) return kBadArgument;
    return store.UpdateProject(QByteArray(name), QByteArray(name_again), rate);
  });
}

NOTES_EXPORT int DeleteProject(const char* name) {
  return WithStore([&](NotesStore& store) -> int {
    if (!name) return kBadArgument;
    return store.DeleteProject(QByteArray(name));
  });
}

NOTES_EXPORT int DeleteTask(const char* task_id) {
  return WithStore([&](NotesStore& store) -> int {
    if (!task_id) return kBadArgument;
    return store.DeleteRecord(QByteArray(task_id));
  });
}

// Ending a session that is not open is no failure: the tracker also ends the
// one Init refused.
NOTES_EXPORT int Terminate(void) {
  Session& session = TheSession();
  session.store.reset();
  session.day_records = {};
  return kOk;
}

// The exports keep the argument lists the tracker calls them with.
static_assert(std::is_same_v<decltype(&Init), NotesInitFn>);
static_assert(std::is_same_v<decltype(&GetDayRecords), NotesGetDayRecordsFn>);
static_assert(std::is_same_v<decltype(&CreateSelTask), NotesCreateSelTaskFn>);
static_assert(std::is_same_v<decltype(&GetNotesSelTasks), NotesGetNotesSelTasksFn>);
static_assert(std::is_same_v<decltype(&SaveToNotesDoc), NotesSaveToNotesDocFn>);
static_assert(std::is_same_v<decltype(&GetActiveProjects), NotesGetActiveProjectsFn>);
static_assert(std::is_same_v<decltype(&GetUserName), NotesGetUserNameFn>);
static_assert(std::is_same_v<decltype(&GetRateList), NotesGetRateListFn>);
static_assert(std::is_same_v<decltype(&DeleteSelTask), NotesDeleteSelTaskFn>);
static_assert(std::is_same_v<decltype(&UpdateProject), NotesUpdateProjectFn>);
static_assert(std::is_same_v<decltype(&DeleteProject), NotesDeleteProjectFn>);
static_assert(std::is_same_v<decltype(&DeleteTask), NotesDeleteTaskFn>);
static_assert(std::is_same_v<decltype(&Terminate), NotesTerminateFn>);
