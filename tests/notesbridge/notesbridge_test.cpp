#include <dlfcn.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "fakes.h"
#include "notesbridge_api.h"
#include "noteslink.h"
#include "notesstatus.h"

namespace ravell::notesbridge {
namespace {

const QString kProgramFolder = QStringLiteral(RAVELL_PROGRAM_FOLDER);
constexpr double kJan5 = 45296;  // 2024-01-05
const double kNaN = std::numeric_limits<double>::quiet_NaN();

QByteArray ReadBytes(const QByteArray& path) {
  if (path.isEmpty()) return {};
  QFile file(QFile::decodeName(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Runs SQL on the database file directly, as another program would.
void RunSql(const QByteArray& path, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.constData(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

QByteArray SqlValue(const QByteArray& path, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_stmt* stmt = nullptr;
  QByteArray value;
  if (sqlite3_open(path.constData(), &db) == SQLITE_OK &&
      sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK &&
      sqlite3_step(stmt) == SQLITE_ROW) {
    value = QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, 0)),
                       sqlite3_column_bytes(stmt, 0));
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return value;
}

// A record as one comparable line: task|project|id|start|end.
QByteArray Line(const NotesDayRecord& r) {
  return QByteArray(r.task) + '|' + r.project + '|' + r.task_id + '|' +
         QByteArray::number(r.time_start, 'f', 4) + '|' + QByteArray::number(r.time_end, 'f', 4);
}

template <typename Fn>
Fn Resolve(void* handle, const char* name) {
  return reinterpret_cast<Fn>(dlsym(handle, name));
}

class NotesBridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    const QByteArray path =
        QFile::encodeName(kProgramFolder + QStringLiteral("/libnotesbridge.so"));
    handle_ = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
    init_ = Resolve<NotesInitFn>(handle_, "Init");
    get_day_records_ = Resolve<NotesGetDayRecordsFn>(handle_, "GetDayRecords");
    create_sel_task_ = Resolve<NotesCreateSelTaskFn>(handle_, "CreateSelTask");
    get_notes_sel_tasks_ = Resolve<NotesGetNotesSelTasksFn>(handle_, "GetNotesSelTasks");
    save_ = Resolve<NotesSaveToNotesDocFn>(handle_, "SaveToNotesDoc");
    get_active_projects_ = Resolve<NotesGetActiveProjectsFn>(handle_, "GetActiveProjects");
    get_user_name_ = Resolve<NotesGetUserNameFn>(handle_, "GetUserName");
    get_rate_list_ = Resolve<NotesGetRateListFn>(handle_, "GetRateList");
    delete_sel_task_ = Resolve<NotesDeleteSelTaskFn>(handle_, "DeleteSelTask");
    update_project_ = Resolve<NotesUpdateProjectFn>(handle_, "UpdateProject");
    delete_project_ = Resolve<NotesDeleteProjectFn>(handle_, "DeleteProject");
    delete_task_ = Resolve<NotesDeleteTaskFn>(handle_, "DeleteTask");
    terminate_ = Resolve<NotesTerminateFn>(handle_, "Terminate");
  }
  void TearDown() override {
    if (terminate_) terminate_();
    if (handle_) dlclose(handle_);
  }

  QByteArray DbPath(const char* name = "rvlog.nsf") const {
    return QFile::encodeName(dir_.filePath(QLatin1String(name)));
  }
  int Open(const QByteArray& password = "", const QByteArray& path = {}) {
    return init_(&window_, "", path.isEmpty() ? DbPath().constData() : path.constData(),
                 password.constData());
  }

  std::vector<QByteArray> Records(const char* date) {
    RvHandle block = -1;
    int count = -1;
    EXPECT_EQ(get_day_records_(date, &block, &count), kOk) << date;
    std::vector<QByteArray> lines;
    const auto* records = reinterpret_cast<const NotesDayRecord*>(block);
    for (int i = 0; block > 0 && i < count; ++i) lines.push_back(Line(records[i]));
    EXPECT_EQ(block > 0, count > 0) << date;
    return lines;
  }

  // A text export's text; the block is freed as the tracker frees it.
  template <typename... Args>
  QByteArray Text(int (*fn)(RvHandle*, Args...), Args... args) {
    RvHandle block = 0;
    EXPECT_EQ(fn(&block, args...), kOk);
    QByteArray text;
    if (block > 0) {
      text = reinterpret_cast<const char*>(block);
      std::free(reinterpret_cast<void*>(block));
    }
    return text;
  }
  QByteArray Pairs(bool with_handed) { return Text(get_notes_sel_tasks_, with_handed ? 1 : 0); }
  QByteArray Rates() { return Text(get_rate_list_); }

  // Runs body in a child process and gives its exit code, or -signal.
  static int InChild(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }

  QTemporaryDir dir_;
  void* handle_ = nullptr;
  int window_ = 0;
  NotesInitFn init_ = nullptr;
  NotesGetDayRecordsFn get_day_records_ = nullptr;
  NotesCreateSelTaskFn create_sel_task_ = nullptr;
  NotesGetNotesSelTasksFn get_notes_sel_tasks_ = nullptr;
  NotesSaveToNotesDocFn save_ = nullptr;
  NotesGetActiveProjectsFn get_active_projects_ = nullptr;
  NotesGetUserNameFn get_user_name_ = nullptr;
  NotesGetRateListFn get_rate_list_ = nullptr;
  NotesDeleteSelTaskFn delete_sel_task_ = nullptr;
  NotesUpdateProjectFn update_project_ = nullptr;
  NotesDeleteProjectFn delete_project_ = nullptr;
  NotesDeleteTaskFn delete_task_ = nullptr;
  NotesTerminateFn terminate_ = nullptr;
};

TEST_F(NotesBridgeTest, RecordsAreKeptUnderTheirTaskIdByTheDayTheyStart) {
  ASSERT_EQ(Open(), kInitOpen);
  ASSERT_EQ(save_("Schreiben \xc3\xbc", "Alpha", "20240105000001", 12.5, kJan5 + 0.5, kJan5 + 0.75),
            kOk);
  ASSERT_EQ(save_("Read", "Beta", "20240105000002", 0, kJan5 + 0.25, kJan5 + 0.3), kOk);
  ASSERT_EQ(save_("Call", "Alpha", "20240106000003", 12.5, kJan5 + 1.1, kJan5 + 1.2), kOk);
  // Closed after midnight: still a record of the day it started.
  ASSERT_EQ(save_("Late", "Beta", "20240105000004", 0, kJan5 + 0.9, kJan5 + 1.05), kOk);

  EXPECT_EQ(Records("2024.1.5"),
            (std::vector<QByteArray>{
                "Read|Beta|20240105000002|45296.2500|45296.3000",
                "Schreiben \xc3\xbc|Alpha|20240105000001|45296.5000|45296.7500",
                "Late|Beta|20240105000004|45296.9000|45297.0500",
            }));
  EXPECT_EQ(Records("2024.01.06"),
            std::vector<QByteArray>{"Call|Alpha|20240106000003|45297.1000|45297.2000"});
  EXPECT_TRUE(Records("2024.1.7").empty());

  RvHandle block = 0;
  int count = 0;
  ASSERT_EQ(get_day_records_("2024.1.5", &block, &count), kOk);
  EXPECT_DOUBLE_EQ(reinterpret_cast<const NotesDayRecord*>(block)[1].time_delta, 0.25);

  // Sent again with its id, a record is replaced, here moved to the next day.
  ASSERT_EQ(save_("Edit", "Gamma", "20240105000001", 3, kJan5 + 1.05, kJan5 + 1.08), kOk);
  ASSERT_EQ(delete_task_("20240105000002"), kOk);
  EXPECT_EQ(delete_task_("20240105999999"), kOk);  // already gone: nothing to do
  EXPECT_EQ(Records("2024.1.5"),
            std::vector<QByteArray>{"Late|Beta|20240105000004|45296.9000|45297.0500"});

  // Kept in the file: the next session finds the same.
  terminate_();
  ASSERT_EQ(Open(), kInitOpen);
  EXPECT_EQ(Records("2024.1.6"), (std::vector<QByteArray>{
                                     "Edit|Gamma|20240105000001|45297.0500|45297.0800",
                                     "Call|Alpha|20240106000003|45297.1000|45297.2000",
                                 }));
}

// The day record's fields hold 127 bytes and a terminator; a name cut there
// loses a whole character, never half of one.
TEST_F(NotesBridgeTest, LongNamesAreCutAtACharacterInTheDayRecord) {
  ASSERT_EQ(Open(), kInitOpen);
  const struct {
    QByteArray name;
    QByteArray in_record;
  } cases[] = {
      {QByteArray(127, 'a'), QByteArray(127, 'a')},
      {QByteArray(200, 'b'), QByteArray(127, 'b')},
      {QByteArray(126, 'c') + "\xc3\xbc", QByteArray(126, 'c')},
      {QByteArray(125, 'd') + "\xe2\x82\xac", QByteArray(125, 'd')},
  };
  int n = 0;
  for (const auto& c : cases) {
    ++n;
    const QByteArray id = "2024010500000" + QByteArray::number(n);
    ASSERT_EQ(save_(c.name.constData(), c.name.constData(), id.constData(), 0, kJan5 + 0.1 * n,
                    kJan5 + 0.1 * n + 0.01),
              kOk);
  }
  RvHandle block = 0;
  int count = 0;
  ASSERT_EQ(get_day_records_("2024.1.5", &block, &count), kOk);
  ASSERT_EQ(count, 4);
  const auto* records = reinterpret_cast<const NotesDayRecord*>(block);
  for (int i = 0; i < count; ++i) {
    EXPECT_EQ(QByteArray(records[i].task), cases[i].in_record) << i;
    EXPECT_EQ(QByteArray(records[i].project), cases[i].in_record) << i;
  }
}

TEST_F(NotesBridgeTest, ProjectsKeepTheirRatesInListOrder) {
  ASSERT_EQ(Open(), kInitOpen);
  ASSERT_EQ(update_project_("Alpha", "Alpha", 12.5), kOk);
  ASSERT_EQ(update_project_("Beta", "Beta", 0), kOk);
  ASSERT_EQ(update_project_("Gamma", "Gamma", -3), kOk);
  ASSERT_EQ(update_project_("Alpha", "Alpha", 20.125), kOk);  // a rate set keeps the place
  EXPECT_EQ(Rates(), "Alpha=20.13\r\nBeta=0.00\r\nGamma=-3.00\r\n");
  EXPECT_EQ(Text(get_active_projects_), "Alpha\r\nBeta\r\nGamma\r\n");

  // Two different names rename the first, in its place; never onto another project.
  ASSERT_EQ(update_project_("Gamma", "Delta", 7.25), kOk);
  EXPECT_EQ(update_project_("Alpha", "Beta", 1), kConflict);
  EXPECT_EQ(Rates(), "Alpha=20.13\r\nBeta=0.00\r\nDelta=7.25\r\n");

  // A deleted project takes its to-do pairs along; its records stay.
  ASSERT_EQ(create_sel_task_("Write", "Beta"), kOk);
  ASSERT_EQ(create_sel_task_("Read", "Alpha"), kOk);
  ASSERT_EQ(save_("Write", "Beta", "20240105000001", 0, kJan5 + 0.5, kJan5 + 0.6), kOk);
  ASSERT_EQ(delete_project_("Beta"), kOk);
  EXPECT_EQ(delete_project_("Nobody"), kOk);
  EXPECT_EQ(Rates(), "Alpha=20.13\r\nDelta=7.25\r\n");
  EXPECT_EQ(Pairs(true), "Alpha\r\nRead\r\n");
  EXPECT_EQ(Records("2024.1.5"),
            std::vector<QByteArray>{"Write|Beta|20240105000001|45296.5000|45296.6000"});
}

TEST_F(NotesBridgeTest, ToDoPairsWithAndWithoutTheHandedTasks) {
  ASSERT_EQ(Open(), kInitOpen);
  ASSERT_EQ(create_sel_task_("Write", "Alpha"), kOk);
  ASSERT_EQ(create_sel_task_("Call client", "Notes"), kOk);
  ASSERT_EQ(create_sel_task_("x~~y", "Alpha"), kOk);
  ASSERT_EQ(create_sel_task_("Write", "Alpha"), kOk);  // already there: no second pair
  ASSERT_EQ(create_sel_task_("Read", "Beta"), kOk);
  EXPECT_EQ(Pairs(false), "Alpha\r\nWrite\r\nAlpha\r\nx~~y\r\nBeta\r\nRead\r\n");
  EXPECT_EQ(Pairs(true),
            "Alpha\r\nWrite\r\nNotes\r\nCall client\r\nAlpha\r\nx~~y\r\nBeta\r\nRead\r\n");
  // Pairs are not projects: the rate list stays empty.
  EXPECT_EQ(Rates(), "");

  ASSERT_EQ(delete_sel_task_("Alpha~~x~~y"), kOk);
  ASSERT_EQ(delete_sel_task_("Notes~~Call client"), kOk);
  EXPECT_EQ(delete_sel_task_("Alpha~~Nothing"), kOk);
  EXPECT_EQ(Pairs(true), "Alpha\r\nWrite\r\nBeta\r\nRead\r\n");
}

// Whatever Init refuses, it leaves existing files as they were and opens no session.
TEST_F(NotesBridgeTest, InitRefusesWhatItCannotOpenAndTouchesNothing) {
  const QByteArray missing_folder = DbPath("missing/rvlog.nsf");
  const struct {
    const char* what;
    const char* server;
    QByteArray path;
    std::function<void(const QByteArray&)> prepare;
    int result;
  } cases[] = {
      {"remote server", "srv1", DbPath("remote.nsf"), nullptr, kInitRefused},
      {"no path", "", "", nullptr, kInitFatal},
      {"missing folder", "", missing_folder, nullptr, kInitFatal},
      {"a folder", "", DbPath("folder.nsf"),
       [](const QByteArray& p) { mkdir(p.constData(), 0755); }, kInitFatal},
      {"not a database", "", DbPath("text.nsf"),
       [](const QByteArray& p) {
         QFile f(QFile::decodeName(p));
         ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         f.write("Design=12.50\r\n");
       },
       kInitFatal},
      {"another program's database", "", DbPath("other.db"),
       [](const QByteArray& p) { RunSql(p, "CREATE TABLE notes (text TEXT)"); }, kInitFatal},
      {"a newer database", "", DbPath("newer.nsf"),
       [](const QByteArray& p) { RunSql(p, "PRAGMA user_version = 2"); }, kInitFatal},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.prepare) c.prepare(c.path);
    const QByteArray before = ReadBytes(c.path);
    EXPECT_EQ(init_(&window_, c.server, c.path.constData(), ""), c.result);
    EXPECT_EQ(ReadBytes(c.path), before);
    EXPECT_EQ(update_project_("Alpha", "Alpha", 1), kNoSession);
  }
  EXPECT_FALSE(QFile::exists(dir_.filePath("missing")));
}

TEST_F(NotesBridgeTest, PasswordIsKeptAsASaltedHash) {
  const QByteArray other = DbPath("other.nsf");
  // One database after the other: the first password given protects it.
  const struct {
    QByteArray path;
    const char* password;
    int result;
  } steps[] = {
      {DbPath(), "secret", kInitOpen},
      {DbPath(), "secret", kInitOpen},
      {DbPath(), "wrong", kInitRefused},
      {DbPath(), "Secret", kInitRefused},
      {DbPath(), "", kInitRefused},
      {other, "", kInitOpen},
      {other, "", kInitOpen},
      {other, "secret", kInitOpen},
      {other, "", kInitRefused},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE((s.path + " " + s.password).constData());
    EXPECT_EQ(Open(s.password, s.path), s.result);
    EXPECT_EQ(update_project_("Alpha", "Alpha", 1), s.result == kInitOpen ? kOk : kNoSession);
    terminate_();
  }
  const QByteArray salt = SqlValue(DbPath(), "SELECT salt FROM access");
  const QByteArray hash = SqlValue(DbPath(), "SELECT hash FROM access");
  EXPECT_EQ(salt.size(), 16);
  EXPECT_EQ(hash.size(), 32);
  EXPECT_FALSE(ReadBytes(DbPath()).contains("secret"));
  // Same password, other salt, other hash.
  EXPECT_NE(SqlValue(other, "SELECT salt FROM access"), salt);
  EXPECT_NE(SqlValue(other, "SELECT hash FROM access"), hash);
}

TEST_F(NotesBridgeTest, CallsNeedASessionAndSoundArguments) {
  RvHandle block = 0;
  int count = 0;
  const std::pair<const char*, std::function<int()>> store_calls[] = {
      {"GetDayRecords", [&] { return get_day_records_("2024.1.5", &block, &count); }},
      {"CreateSelTask", [&] { return create_sel_task_("t", "p"); }},
      {"GetNotesSelTasks", [&] { return get_notes_sel_tasks_(&block, 1); }},
      {"SaveToNotesDoc", [&] { return save_("t", "p", "20240105000001", 1, kJan5, kJan5); }},
      {"GetActiveProjects", [&] { return get_active_projects_(&block); }},
      {"GetRateList", [&] { return get_rate_list_(&block); }},
      {"DeleteSelTask", [&] { return delete_sel_task_("p~~t"); }},
      {"UpdateProject", [&] { return update_project_("p", "p", 1); }},
      {"DeleteProject", [&] { return delete_project_("p"); }},
      {"DeleteTask", [&] { return delete_task_("20240105000001"); }},
  };
  const auto expect_no_session = [&] {
    for (const auto& [name, call] : store_calls) {
      block = 0;
      EXPECT_EQ(call(), kNoSession) << name;
      EXPECT_EQ(block, 0) << name;
    }
  };
  expect_no_session();
  EXPECT_EQ(terminate_(), kOk);

  ASSERT_EQ(Open(), kInitOpen);
  const std::pair<const char*, std::function<int()>> bad_calls[] = {
      {"month 13", [&] { return get_day_records_("2024.13.1", &block, &count); }},
      {"two parts", [&] { return get_day_records_("2024.1", &block, &count); }},
      {"not numbers", [&] { return get_day_records_("x.y.z", &block, &count); }},
      {"no date", [&] { return get_day_records_(nullptr, &block, &count); }},
      {"no count", [&] { return get_day_records_("2024.1.5", &block, nullptr); }},
      {"no id", [&] { return save_("t", "p", "", 1, kJan5, kJan5); }},
      {"rate NaN", [&] { return save_("t", "p", "20240105000001", kNaN, kJan5, kJan5); }},
      {"end infinite", [&] { return save_("t", "p", "20240105000001", 1, kJan5, HUGE_VAL); }},
      {"no task", [&] { return save_(nullptr, "p", "20240105000001", 1, kJan5, kJan5); }},
      {"project line break", [&] { return update_project_("A\r\nB=1", "A\r\nB=1", 1); }},
      {"project rate NaN", [&] { return update_project_("A", "A", kNaN); }},
      {"task line break", [&] { return create_sel_task_("a\nb", "p"); }},
      {"no block", [&] { return get_rate_list_(nullptr); }},
      {"no project", [&] { return delete_project_(nullptr); }},
  };
  for (const auto& [what, call] : bad_calls) EXPECT_EQ(call(), kBadArgument) << what;
  EXPECT_TRUE(Records("2024.1.5").empty());
  EXPECT_EQ(Rates(), "");
  EXPECT_EQ(Pairs(true), "");

  EXPECT_EQ(terminate_(), kOk);
  expect_no_session();
  EXPECT_EQ(terminate_(), kOk);

  // The desktop user needs no session.
  const passwd* user = getpwuid(getuid());
  ASSERT_NE(user, nullptr);
  const QByteArray name = Text(get_user_name_);
  EXPECT_FALSE(name.isEmpty());
  EXPECT_TRUE(name == user->pw_name || QByteArray(user->pw_gecos).startsWith(name))
      << name.constData();
}

// Another program holding the database: calls fail with kBusy after a short
// wait, the store keeps what it had, and the same call succeeds later.
TEST_F(NotesBridgeTest, LockedDatabaseFailsTheCallAndLosesNothing) {
  ASSERT_EQ(Open(), kInitOpen);
  ASSERT_EQ(save_("Write", "Alpha", "20240105000001", 1, kJan5 + 0.5, kJan5 + 0.6), kOk);

  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(DbPath().constData(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_EQ(save_("Read", "Beta", "20240105000002", 1, kJan5 + 0.7, kJan5 + 0.8), kBusy);
  EXPECT_EQ(delete_task_("20240105000001"), kBusy);
  EXPECT_EQ(Records("2024.1.5").size(), 1u);  // reading still works

  ASSERT_EQ(sqlite3_exec(other, "COMMIT; BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  RvHandle block = 1;
  int count = 1;
  EXPECT_EQ(get_day_records_("2024.1.5", &block, &count), kBusy);
  EXPECT_EQ(block, 0);
  EXPECT_EQ(count, 0);
  sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(other);

  ASSERT_EQ(save_("Read", "Beta", "20240105000002", 1, kJan5 + 0.7, kJan5 + 0.8), kOk);
  EXPECT_EQ(Records("2024.1.5"), (std::vector<QByteArray>{
                                     "Write|Alpha|20240105000001|45296.5000|45296.6000",
                                     "Read|Beta|20240105000002|45296.7000|45296.8000",
                                 }));
}

// A database that cannot be written would lose every save of the day, so the
// session is refused at the start. Checked as an ordinary user: root writes anyway.
TEST_F(NotesBridgeTest, ReadOnlyDatabaseIsRefusedAtInit) {
  ASSERT_EQ(Open(), kInitOpen);
  ASSERT_EQ(save_("Write", "Alpha", "20240105000001", 1, kJan5 + 0.5, kJan5 + 0.6), kOk);
  terminate_();
  const QByteArray folder = QFile::encodeName(dir_.path());
  const QByteArray before = ReadBytes(DbPath());

  const struct {
    const char* what;
    mode_t folder_mode;
    mode_t file_mode;
  } cases[] = {
      {"read-only file", 0777, 0444},
      {"read-only folder", 0555, 0666},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(chmod(folder.constData(), c.folder_mode), 0);
    ASSERT_EQ(chmod(DbPath().constData(), c.file_mode), 0);
    constexpr int kCannotDropRoot = 99;
    const int exit_code = InChild([&] {
      if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return kCannotDropRoot;
      return static_cast<int>(static_cast<unsigned char>(Open()));
    });
    if (exit_code == kCannotDropRoot) GTEST_SKIP() << "root cannot become an ordinary user here";
    EXPECT_EQ(exit_code, static_cast<unsigned char>(kInitFatal));
  }
  ASSERT_EQ(chmod(folder.constData(), 0700), 0);
  ASSERT_EQ(chmod(DbPath().constData(), 0644), 0);
  EXPECT_EQ(ReadBytes(DbPath()), before);
  ASSERT_EQ(Open(), kInitOpen);
  EXPECT_EQ(Records("2024.1.5").size(), 1u);
}

// Every call is committed when it returns: a tracker killed without
// Terminate leaves a whole database with everything it had been told.
TEST_F(NotesBridgeTest, KilledProcessLeavesEverySavedChange) {
  const int child = InChild([&] {
    if (Open() != kInitOpen) return 1;
    save_("Write", "Alpha", "20240105000001", 12.5, kJan5 + 0.5, kJan5 + 0.6);
    update_project_("Alpha", "Alpha", 12.5);
    create_sel_task_("Write", "Alpha");
    raise(SIGKILL);
    return 2;
  });
  ASSERT_EQ(child, -SIGKILL);
  EXPECT_EQ(SqlValue(DbPath(), "PRAGMA integrity_check"), "ok");
  ASSERT_EQ(Open(), kInitOpen);
  EXPECT_EQ(Records("2024.1.5"),
            std::vector<QByteArray>{"Write|Alpha|20240105000001|45296.5000|45296.6000"});
  EXPECT_EQ(Rates(), "Alpha=12.50\r\n");
  EXPECT_EQ(Pairs(false), "Alpha\r\nWrite\r\n");
}

// The tracker's own loader finds all thirteen exports and works with the
// library as it is.
TEST_F(NotesBridgeTest, TrackerLoaderWorksWithTheLibrary) {
  testing::RecordingMessages messages;
  auto notes = NotesLibrary::Load(kProgramFolder, messages);
  ASSERT_NE(notes, nullptr);
  EXPECT_TRUE(notes->missing_exports().isEmpty());
  EXPECT_TRUE(messages.Texts().isEmpty());

  const QString database = dir_.filePath(QStringLiteral("rvlog.nsf"));
  EXPECT_EQ(notes->Init(&window_, "srv1", database, ""), kInitRefused);
  ASSERT_EQ(notes->Init(&window_, "", database, "pass"), kInitOpen);
  EXPECT_FALSE(notes->GetUserName().isEmpty());
  notes->UpdateProject("\u00c4rger", "\u00c4rger", 12.5);
  notes->CreateSelTask("Schreiben \u00fcben", "\u00c4rger");
  notes->SaveToNotesDoc("Schreiben \u00fcben", "\u00c4rger", "20240105000001", 12.5, kJan5 + 0.25,
                        kJan5 + 0.5);
  EXPECT_EQ(notes->GetRateList(), "\u00c4rger=12.50\r\n");
  EXPECT_EQ(notes->GetActiveProjects(), "\u00c4rger\r\n");
  EXPECT_EQ(notes->GetNotesSelTasks(false), "\u00c4rger\r\nSchreiben \u00fcben\r\n");

  const QList<NotesRecord> records = notes->GetDayRecords("2024.1.5");
  ASSERT_EQ(records.size(), 1);
  EXPECT_EQ(records[0].task, "Schreiben \u00fcben");
  EXPECT_EQ(records[0].project, "\u00c4rger");
  EXPECT_EQ(records[0].task_id, "20240105000001");
  EXPECT_EQ(records[0].time_start, kJan5 + 0.25);
  EXPECT_EQ(records[0].time_end, kJan5 + 0.5);

  notes->DeleteTask("20240105000001");
  EXPECT_TRUE(notes->GetDayRecords("2024.1.5").isEmpty());
  notes->Terminate();
  try {
    notes->DeleteProject("\u00c4rger");
    ADD_FAILURE() << "no NotesError";
  } catch (const NotesError& e) {
    EXPECT_EQ(e.message(), "Error in libnotesbridge.so: DeleteProject failed");
  }
  EXPECT_NO_THROW(notes->Terminate());
}

}  // namespace
}  // namespace ravell::notesbridge
