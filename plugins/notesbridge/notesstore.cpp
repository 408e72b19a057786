#include "notesstore.h"

#include <sqlite3.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFile>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <array>
#include <cmath>
#include <cstring>

#include "money.h"

namespace ravell::notesbridge {
namespace {

constexpr int kSchemaVersion = 1;
// Long enough to ride out another process's short write, short enough that
// the tracker's window does not seem to hang.
constexpr int kBusyTimeoutMs = 1000;
constexpr int kHashIterations = 100000;
constexpr int kHashBytes = 32;

// day: the days since 1899-12-30 of time_start, the key of GetDayRecords.
// position: list order of projects and to-do pairs, the order of creation.
// access: the salted hash of the database password, when it has one.
constexpr const char* kSchema = R"sql(
CREATE TABLE records (
  task_id TEXT PRIMARY KEY NOT NULL,
  day INTEGER NOT NULL,
  task TEXT NOT NULL,
  project TEXT NOT NULL,
  rate REAL NOT NULL,
  time_start REAL NOT NULL,
  time_end REAL NOT NULL
);
CREATE INDEX records_by_day ON records (day, time_start);
CREATE TABLE projects (
  position INTEGER PRIMARY KEY,
  name TEXT NOT NULL UNIQUE,
  rate REAL NOT NULL
);
CREATE TABLE todo (
  position INTEGER PRIMARY KEY,
  project TEXT NOT NULL,
  task TEXT NOT NULL,
  UNIQUE (project, task)
);
CREATE TABLE access (
  id INTEGER PRIMARY KEY CHECK (id = 1),
  salt BLOB NOT NULL,
  hash BLOB NOT NULL,
  iterations INTEGER NOT NULL
);
PRAGMA user_version = 1;
)sql";

Status StatusOf(int code) {
  switch (code & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
      return kOk;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return kBusy;
    case SQLITE_READONLY:
    case SQLITE_PERM:
      return kReadOnly;
    default:
      return kStoreError;
  }
}

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    code_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(const QByteArray& text) {
    if (code_ == SQLITE_OK) {
      code_ = sqlite3_bind_text(stmt_, ++bound_, text.constData(), static_cast<int>(text.size()),
                                SQLITE_TRANSIENT);
    }
    return *this;
  }
  Statement& Bind(double value) {
    if (code_ == SQLITE_OK) code_ = sqlite3_bind_double(stmt_, ++bound_, value);
    return *this;
  }
  Statement& Bind(qint64 value) {
    if (code_ == SQLITE_OK) code_ = sqlite3_bind_int64(stmt_, ++bound_, value);
    return *this;
  }

  // True while a row is there to read.
  bool Step() {
    if (code_ != SQLITE_OK && code_ != SQLITE_ROW) return false;
    code_ = sqlite3_step(stmt_);
    return code_ == SQLITE_ROW;
  }
  Status Run() {
    while (Step()) {
    }
    return status();
  }
  Status status() const { return StatusOf(code_); }

  QByteArray Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QByteArray(text, sqlite3_column_bytes(stmt_, column));
  }
  QByteArray Blob(int column) const {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    return QByteArray(data, sqlite3_column_bytes(stmt_, column));
  }
  double Real(int column) const { return sqlite3_column_double(stmt_, column); }
  qint64 Int(int column) const { return sqlite3_column_int64(stmt_, column); }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int code_ = SQLITE_OK;
  int bound_ = 0;
};

// Every write is one transaction. BEGIN IMMEDIATE takes the write lock first,
// so a database locked elsewhere fails the call before anything changed.
template <typename Body>
Status InTransaction(sqlite3* db, Body body) {
  int code = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  if (code != SQLITE_OK) return StatusOf(code);
  Status status = body();
  if (status == kOk) {
    code = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    if (code == SQLITE_OK) return kOk;
    status = StatusOf(code);
  }
  sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  return status;
}

bool HasLineBreak(const QByteArray& text) { return text.contains('\n') || text.contains('\r'); }

// Far beyond any calendar date; keeps the day computation in range.
bool IsMoment(double value) { return std::isfinite(value) && std::fabs(value) < 3.0e6; }

QByteArray Digest(const QByteArray& password, const QByteArray& salt, int iterations) {
  return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password, salt, iterations,
                                            kHashBytes);
}

QByteArray NewSalt() {
  std::array<quint32, 4> words;
  QRandomGenerator::system()->fillRange(words.data(), static_cast<qsizetype>(words.size()));
  return QByteArray(reinterpret_cast<const char*>(words.data()), sizeof words);
}

// Takes as long for any two hashes of one length.
bool SameHash(const QByteArray& a, const QByteArray& b) {
  if (a.size() != b.size()) return false;
  unsigned char difference = 0;
  for (qsizetype i = 0; i < a.size(); ++i) difference |= static_cast<unsigned char>(a[i] ^ b[i]);
  return difference == 0;
}

// A folder or file the process may not write would fail every save of the
// day; that is better learnt at the start.
bool IsWritable(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  const QByteArray folder = slash < 0    ? QByteArray(".")
                            : slash == 0 ? QByteArray("/")
                                         : path.left(slash);
  if (access(folder.constData(), W_OK) != 0) return false;
  return access(path.constData(), F_OK) != 0 || access(path.constData(), W_OK) == 0;
}

// Sets up a new database; refuses one this library did not make, or a newer one.
Status PrepareSchema(sqlite3* db) {
  Statement version(db, "PRAGMA user_version");
  if (!version.Step()) return kStoreError;
  const qint64 found = version.Int(0);
  if (found == kSchemaVersion) return kOk;
  if (found != 0) return kStoreError;
  Statement tables(db, "SELECT count(*) FROM sqlite_master");
  if (!tables.Step() || tables.Int(0) != 0) return kStoreError;
  return StatusOf(sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr));
}

// The text up to 127 bytes, cut before a character that does not fit whole.
void CopyField(const QByteArray& text, char (&field)[128]) {
  qsizetype length = text.size();
  if (length >= qsizetype(sizeof field)) {
    length = sizeof field - 1;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  }
  std::memcpy(field, text.constData(), static_cast<size_t>(length));
  field[length] = '\0';
}

}  // namespace

int NotesStore::Open(const QByteArray& path, const QByteArray& password,
                     std::unique_ptr<NotesStore>* store) {
  store->reset();
  if (path.isEmpty() || !IsWritable(path)) return kInitFatal;
  sqlite3* db = nullptr;
  const int code =
      sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  std::unique_ptr<NotesStore> opened(new NotesStore(db));
  if (code != SQLITE_OK || sqlite3_db_readonly(db, "main") != 0) return kInitFatal;
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  // Rollback journal, synced at every commit: a killed process leaves a
  // journal that the next open rolls back, never a half-written database.
  if (sqlite3_exec(db, "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr) != SQLITE_OK) {
    return kInitFatal;
  }

  int result = kInitFatal;
  const Status status = InTransaction(db, [&]() -> Status {
    if (const Status schema = PrepareSchema(db); schema != kOk) return schema;
    Statement stored(db, "SELECT salt, hash, iterations FROM access WHERE id = 1");
    if (stored.Step()) {
      const QByteArray hash = Digest(password, stored.Blob(0), static_cast<int>(stored.Int(2)));
      if (!SameHash(hash, stored.Blob(1))) {
        result = kInitRefused;
        return kStoreError;
      }
      return kOk;
    }
    if (stored.status() != kOk) return stored.status();
    // The first password given protects the database from then on.
    if (password.isEmpty()) return kOk;
    const QByteArray salt = NewSalt();
    return Statement(db, "INSERT INTO access (id, salt, hash, iterations) VALUES (1, ?, ?, ?)")
        .Bind(salt)
        .Bind(Digest(password, salt, kHashIterations))
        .Bind(qint64{kHashIterations})
        .Run();
  });
  if (status != kOk) return result;
  *store = std::move(opened);
  return kInitOpen;
}

NotesStore::~NotesStore() { sqlite3_close(db_); }

Status NotesStore::SaveRecord(const QByteArray& task, const QByteArray& project,
                              const QByteArray& task_id, double rate, DateTime time_start,
                              DateTime time_end) {
  // Without an id a record could never be replaced or deleted again.
  if (task_id.isEmpty() || !std::isfinite(rate) || !IsMoment(time_start) || !IsMoment(time_end)) {
    return kBadArgument;
  }
  const auto day = static_cast<qint64>(EncodeDate(DateOf(time_start)));
  return InTransaction(db_, [&] {
    return Statement(db_,
                     "INSERT INTO records (task_id, day, task, project, rate, time_start, time_end)"
                     " VALUES (?, ?, ?, ?, ?, ?, ?) ON CONFLICT (task_id) DO UPDATE SET"
                     " day = excluded.day, task = excluded.task, project = excluded.project,"
                     " rate = excluded.rate, time_start = excluded.time_start,"
                     " time_end = excluded.time_end")
        .Bind(task_id)
        .Bind(day)
        .Bind(task)
        .Bind(project)
        .Bind(rate)
        .Bind(time_start)
        .Bind(time_end)
        .Run();
  });
}

Status NotesStore::DayRecords(const QDate& day, std::vector<NotesDayRecord>* records) {
  records->clear();
  Statement query(db_,
                  "SELECT task, project, task_id, time_start, time_end FROM records"
                  " WHERE day = ? ORDER BY time_start, task_id");
  query.Bind(static_cast<qint64>(EncodeDate(day)));
  while (query.Step()) {
    NotesDayRecord record{};
    CopyField(query.Text(0), record.task);
    CopyField(query.Text(1), record.project);
    CopyField(query.Text(2), record.task_id);
    record.time_start = query.Real(3);
    record.time_end = query.Real(4);
    record.time_delta = record.time_end - record.time_start;
    records->push_back(record);
  }
  if (query.status() != kOk) records->clear();
  return query.status();
}

Status NotesStore::DeleteRecord(const QByteArray& task_id) {
  return InTransaction(db_, [&] {
    return Statement(db_, "DELETE FROM records WHERE task_id = ?").Bind(task_id).Run();
  });
}

Status NotesStore::UpdateProject(const QByteArray& name, const QByteArray& name_again,
                                 double rate) {
  // Names are lines of the lists handed out; a line break would split one.
  if (!std::isfinite(rate) || HasLineBreak(name) || HasLineBreak(name_again)) return kBadArgument;
  return InTransaction(db_, [&]() -> Status {
    if (name != name_again) {
      Statement old_one(db_, "SELECT 1 FROM projects WHERE name = ?");
      if (old_one.Bind(name).Step()) {
        Statement new_one(db_, "SELECT 1 FROM projects WHERE name = ?");
        if (new_one.Bind(name_again).Step()) return kConflict;
        if (new_one.status() != kOk) return new_one.status();
        return Statement(db_, "UPDATE projects SET name = ?, rate = ? WHERE name = ?")
            .Bind(name_again)
            .Bind(rate)
            .Bind(name)
            .Run();
      }
      if (old_one.status() != kOk) return old_one.status();
    }
    return Statement(db_,
                     "INSERT INTO projects (name, rate) VALUES (?, ?)"
                     " ON CONFLICT (name) DO UPDATE SET rate = excluded.rate")
        .Bind(name_again)
        .Bind(rate)
        .Run();
  });
}

Status NotesStore::DeleteProject(const QByteArray& name) {
  // The pairs go too: left behind, they would bring the project back at the
  // next load of the to-do tree.
  return InTransaction(db_, [&]() -> Status {
    const Status pairs = Statement(db_, "DELETE FROM todo WHERE project = ?").Bind(name).Run();
    if (pairs != kOk) return pairs;
    return Statement(db_, "DELETE FROM projects WHERE name = ?").Bind(name).Run();
  });
}

Status NotesStore::RateList(QByteArray* text) {
  text->clear();
  Statement query(db_, "SELECT name, rate FROM projects ORDER BY position");
  while (query.Step()) *text += query.Text(0) + '=' + MoneyText(query.Real(1)).toLatin1() + "\r\n";
  return query.status();
}

Status NotesStore::ActiveProjects(QByteArray* text) {
  text->clear();
  Statement query(db_, "SELECT name FROM projects ORDER BY position");
  while (query.Step()) *text += query.Text(0) + "\r\n";
  return query.status();
}

Status NotesStore::CreateSelTask(const QByteArray& task, const QByteArray& project) {
  if (HasLineBreak(task) || HasLineBreak(project)) return kBadArgument;
  return InTransaction(db_, [&] {
    return Statement(db_, "INSERT OR IGNORE INTO todo (project, task) VALUES (?, ?)")
        .Bind(project)
        .Bind(task)
        .Run();
  });
}

Status NotesStore::DeleteSelTask(const QByteArray& project_and_task) {
  // Matched whole, so a "~~" inside a project or task name does no harm.
  return InTransaction(db_, [&] {
    return Statement(db_,
                     "DELETE FROM todo WHERE position = (SELECT position FROM todo"
                     " WHERE project || '~~' || task = ? ORDER BY position LIMIT 1)")
        .Bind(project_and_task)
        .Run();
  });
}

Status NotesStore::SelTasks(bool with_handed_tasks, QByteArray* text) {
  text->clear();
  Statement query(db_, "SELECT project, task FROM todo WHERE ? OR project <> ? ORDER BY position");
  query.Bind(qint64{with_handed_tasks ? 1 : 0}).Bind(QByteArray(kHandedProject));
  while (query.Step()) *text += query.Text(0) + "\r\n" + query.Text(1) + "\r\n";
  return query.status();
}

}  // namespace ravell::notesbridge
