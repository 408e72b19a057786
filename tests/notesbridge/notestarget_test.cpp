// The tracker's objects with the storage targets Notes and Combine against
// the real libnotesbridge.so, copied into a fresh program folder as the
// tracker finds it there. The database is read back with plain SQL.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "../support/fakeplanningui.h"
#include "../support/fakes.h"
#include "atomicfile.h"
#include "daylogrecord.h"
#include "timetext.h"
#include "tracker.h"

namespace ravell {
namespace {

using testing::FakePlanningUi;
using testing::RecordingMessages;

const QDate kDay(2004, 3, 7);

DateTime At(int h, int m) { return EncodeDate(kDay) + EncodeTime(h, m, 0); }

// A second connection to the database, as another program would hold it.
class OtherConnection {
 public:
  explicit OtherConnection(const QString& path) {
    sqlite3_open(QFile::encodeName(path).constData(), &db_);
  }
  ~OtherConnection() { sqlite3_close(db_); }
  bool Exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  // Every row as its columns joined with "|".
  QStringList Rows(const char* sql) {
    QStringList rows;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr) != SQLITE_OK) return {"<bad query>"};
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      QStringList columns;
      for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
        columns << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)));
      }
      rows << columns.join(QLatin1Char('|'));
    }
    sqlite3_finalize(stmt);
    return rows;
  }

 private:
  sqlite3* db_ = nullptr;
};

class NotesTargetTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFile::copy(QStringLiteral(RAVELL_PROGRAM_FOLDER "/libnotesbridge.so"),
                            Path("libnotesbridge.so")));
    WriteFileAtomic(Path("ravell.ini"), QByteArray("[Storage]\r\nTarget=") + GetParam() +
                                            "\r\n[Notes]\r\nServer=Local\r\n");
    clock_.Set(kDay, QTime(9, 0));
  }

  QString Path(const char* name) const { return folder_.path() + QLatin1Char('/') + name; }
  bool Combine() const { return QByteArray(GetParam()) == "Combine"; }

  Tracker& Start() {
    if (tracker_) tracker_->Shutdown();
    tracker_.reset();
    TrackerEnvironment env{folder_.path(), &clock_, &messages_, {}};
    const QString folder = folder_.path();
    env.notes_loader = [folder](MessageBoxes& m) -> std::unique_ptr<NotesLink> {
      return NotesLibrary::Load(folder, m);
    };
    tracker_ = std::make_unique<Tracker>(std::move(env));
    tracker_->Start(nullptr);
    tracker_->planning().SetUi(&ui_);
    tracker_->log_edit().SetUi(&ui_);
    return *tracker_;
  }

  // "frame|task|project|id" of every log row.
  QStringList Rows() const {
    QStringList rows;
    const DayLog& log = tracker_->day_log();
    for (int i = 0; i < log.RowCount(); ++i) {
      const LogRow& r = log.Row(i);
      rows << QStringList{r.time_frame, r.task, r.project, r.task_id}.join(QLatin1Char('|'));
    }
    return rows;
  }
  QStringList Items() const {
    QStringList items;
    const DayLog& log = tracker_->day_log();
    for (int i = 0; i < log.ItemCount(); ++i) {
      items << log.Item(i).project + "|" + log.Item(i).task + "|" + log.Item(i).time + "|" +
                   log.Item(i).total;
    }
    return items;
  }
  // "start|end|task|project|id" of the database's records, in start order.
  QStringList DatabaseRecords() {
    QStringList out;
    for (const QString& row : OtherConnection(Path("rvlog.nsf"))
                                  .Rows("SELECT time_start, time_end, task, project, task_id"
                                        " FROM records ORDER BY time_start")) {
      const QStringList c = row.split(QLatin1Char('|'));
      out << QStringList{FormatTime(c[0].toDouble()), FormatTime(c[1].toDouble()), c[2], c[3], c[4]}
                 .join(QLatin1Char('|'));
    }
    return out;
  }
  QString DayLogFile() const { return DayLogPath(folder_.path(), kDay); }
  // The day log file's records in the same form as DatabaseRecords.
  QStringList FileRecords() const {
    QStringList out;
    if (!QFile::exists(DayLogFile())) return out;
    for (const DayLogRecord& r : ReadDayLogRecords(ReadWholeFile(DayLogFile())).records) {
      out << QStringList{QString::fromLatin1(r.time_start), QString::fromLatin1(r.time_end),
                         QString::fromUtf8(r.name), QString::fromUtf8(r.project),
                         QString::fromLatin1(r.task_id)}
                 .join(QLatin1Char('|'));
    }
    return out;
  }
  QStringList Tree() const {
    QStringList out;
    for (const ToDoNode* node : tracker_->todo_tree().Nodes()) {
      out << (node->IsTopLevel() ? "" : "  ") + node->text;
    }
    return out;
  }

  QTemporaryDir folder_;
  ManualClock clock_;
  RecordingMessages messages_;
  FakePlanningUi ui_;
  std::unique_ptr<Tracker> tracker_;
};

INSTANTIATE_TEST_SUITE_P(Targets, NotesTargetTest, ::testing::Values("Notes", "Combine"));

TEST_P(NotesTargetTest, StartUpShowsTheNotesSession) {
  Tracker& tracker = Start();
  EXPECT_TRUE(tracker.notes_session_open());  // the "Lotus Notes" label
  EXPECT_FALSE(tracker.status_panel_hidden(2));
  EXPECT_FALSE(tracker.status_text(2).isEmpty());
  EXPECT_EQ(tracker.status_text(2), tracker.notes()->GetUserName());
  EXPECT_EQ(tracker.status_text(3), "Local: " + Path("rvlog.nsf"));
  EXPECT_TRUE(tracker.open_notes_db_visible());
  EXPECT_EQ(tracker.reporter_visible(), Combine());
  EXPECT_TRUE(QFile::exists(Path("rvlog.nsf")));
  EXPECT_TRUE(messages_.shown.isEmpty()) << messages_.Texts().join("\n").toStdString();
}

TEST_P(NotesTargetTest, RecordedDayComesBackFromTheDatabaseAfterARestart) {
  Start();
  ui_.project_answer = ProjectFields{"Acme", "20.00"};
  tracker_->planning().Addnew1Click();
  TaskSession& session = tracker_->session();
  session.NewTask("Acme", "Mail");
  clock_.Set(kDay, QTime(9, 30));
  session.NewTask("Acme", "Code");
  clock_.Set(kDay, QTime(10, 0));
  session.PauseButtonClick();
  clock_.Set(kDay, QTime(10, 20));
  session.PauseButtonClick();  // no window: the pause is cancelled and counts as work
  clock_.Set(kDay, QTime(11, 0));
  session.StopButtonClick();
  const QStringList rows = Rows();
  const QStringList items = Items();
  ASSERT_EQ(rows.size(), 3);
  EXPECT_EQ(items, (QStringList{"Acme|Mail|0:30:00|10.00", "Acme|Code|1:30:00|30.00"}));

  tracker_->Shutdown();
  const QStringList in_database = DatabaseRecords();
  ASSERT_EQ(in_database.size(), 3);
  EXPECT_TRUE(in_database[0].startsWith("9:00:00|9:30:00|Mail|Acme|20040307"));
  EXPECT_TRUE(in_database[2].startsWith("10:00:00|11:00:00|Code|Acme|20040307"));
  // Combine keeps the same records in the day log file; Notes writes none.
  EXPECT_EQ(FileRecords(), Combine() ? in_database : QStringList());

  clock_.Set(kDay, QTime(12, 0));
  Start();
  EXPECT_EQ(Rows(), rows);
  EXPECT_EQ(Items(), items);
  EXPECT_EQ(tracker_->day_log().status_time_text(), " Total time: 2:00:00");
  EXPECT_TRUE(messages_.shown.isEmpty()) << messages_.Texts().join("\n").toStdString();
}

TEST_P(NotesTargetTest, ShutdownEndsTheSession) {
  Start();
  // A second handle on the same library sees the session the tracker had.
  auto probe = NotesLibrary::Load(folder_.path(), messages_);
  ASSERT_NE(probe, nullptr);
  EXPECT_NO_THROW(probe->GetRateList());
  tracker_->Shutdown();
  EXPECT_EQ(tracker_->notes(), nullptr);
  EXPECT_THROW(probe->GetRateList(), NotesError);
}

TEST_P(NotesTargetTest, ProjectsAndToDoPairsLiveInTheDatabase) {
  Start();
  Planning& planning = tracker_->planning();
  ui_.project_answer = ProjectFields{"Design", "12.50"};
  planning.Addnew1Click();
  ui_.todo_answer = std::pair<QString, QString>{"Design", "Sketch"};
  planning.AddToDo1Click();
  ui_.todo_answer = std::pair<QString, QString>{"Design", "Draw"};
  planning.AddToDo1Click();
  ui_.project_answer = ProjectFields{"Home", "0.00"};
  planning.Addnew1Click();

  // Renamed with a new rate: the tasks go with it, the old name is gone.
  tracker_->todo_tree().Select(tracker_->todo_tree().FindTopLevel("Design"));
  ui_.project_answer = ProjectFields{"Build", "15.00"};
  planning.Rate2Click();
  tracker_->todo_tree().Select(tracker_->todo_tree().FindNode("Draw"));
  planning.Delete1Click();
  messages_.answer = MsgResult::kYes;
  tracker_->todo_tree().Select(tracker_->todo_tree().FindTopLevel("Home"));
  planning.Delete3Click();
  messages_.answer = MsgResult::kOk;
  EXPECT_EQ(messages_.Texts(), QStringList{Planning::DeleteProjectQuestion("Home")});
  messages_.shown.clear();

  const QStringList tree = {"Build", "  Sketch"};
  EXPECT_EQ(Tree(), tree);
  EXPECT_EQ(tracker_->projects().lines(), QStringList{"Build=15.00"});
  OtherConnection db(Path("rvlog.nsf"));
  EXPECT_EQ(db.Rows("SELECT name, rate FROM projects"), QStringList{"Build|15.0"});
  EXPECT_EQ(db.Rows("SELECT project, task FROM todo"), QStringList{"Build|Sketch"});
  if (Combine()) {
    EXPECT_EQ(ReadWholeFile(Path("projects.lst")), QByteArray("Build=15.00\r\n"));
    EXPECT_TRUE(ReadWholeFile(Path("todo.tre")).contains("Sketch"));
  }

  // Reload tree and a restart both read the database.
  planning.ReloadToDotree1Click();
  EXPECT_EQ(Tree(), tree);
  Start();
  EXPECT_EQ(Tree(), tree);
  EXPECT_EQ(tracker_->projects().lines(), QStringList{"Build=15.00"});
  EXPECT_TRUE(messages_.shown.isEmpty()) << messages_.Texts().join("\n").toStdString();
}

TEST_P(NotesTargetTest, LogEditingReachesTheDatabase) {
  Start();
  LogEdit& edit = tracker_->log_edit();
  edit.InsertTask("P", "A", At(8, 0), At(8, 30));
  edit.InsertTask("P", "B", At(9, 0), At(9, 45));
  const QString id_a = tracker_->day_log().Row(0).task_id;
  ui_.record_answer = RecordFields{"Q", "A2", QTime(7, 0), QTime(7, 20)};
  edit.Edit1Click(0);
  edit.Delete2Click(1);  // B

  const QStringList expected = {"7:00:00|7:20:00|A2|Q|" + id_a};
  EXPECT_EQ(DatabaseRecords(), expected);
  if (Combine()) {
    EXPECT_EQ(FileRecords(), expected);
  }
  Start();
  EXPECT_EQ(Rows(), QStringList{"7:00:00-7:20:00 (0:20:00)|A2|Q|" + id_a});
}

// Another program holds the database for a while: the refused changes are
// said once each, kept, and reach the database with the next save.
TEST_P(NotesTargetTest, LockedDatabaseLosesNoChange) {
  Start();
  TaskSession& session = tracker_->session();
  tracker_->log_edit().InsertTask("P", "Old", At(8, 0), At(8, 30));
  session.NewTask("P", "A");
  {
    OtherConnection other(Path("rvlog.nsf"));
    ASSERT_TRUE(other.Exec("BEGIN IMMEDIATE"));
    clock_.Set(kDay, QTime(9, 30));
    session.NewTask("P", "B");
    tracker_->log_edit().Delete2Click(0);  // Old
    ASSERT_EQ(messages_.shown.size(), 2);
    EXPECT_EQ(messages_.shown[0].text,
              "Error in libnotesbridge.so: SaveToNotesDoc failed\n"
              "The Notes database is locked by another program.\n"
              "The records not saved are kept and sent again with the next save.");
    EXPECT_TRUE(messages_.shown[1].text.startsWith(
        "Error in libnotesbridge.so: SaveToNotesDoc failed\nThe Notes database is locked"));
    // Meanwhile today's day log file holds the day, with Notes too.
    EXPECT_EQ(FileRecords().size(), 2);
    EXPECT_TRUE(FileRecords()[0].startsWith("9:00:00|9:30:00|A|P|"));
    ASSERT_TRUE(other.Exec("COMMIT"));
  }
  clock_.Set(kDay, QTime(10, 0));
  session.StopButtonClick();
  EXPECT_EQ(messages_.shown.size(), 2);
  EXPECT_EQ(tracker_->unsent_notes_records(), 0);
  const QStringList rows = Rows();
  ASSERT_EQ(DatabaseRecords().size(), 2);
  EXPECT_TRUE(DatabaseRecords()[0].startsWith("9:00:00|9:30:00|A|P|"));
  EXPECT_TRUE(DatabaseRecords()[1].startsWith("9:30:00|10:00:00|B|P|"));
  EXPECT_EQ(FileRecords(), DatabaseRecords());
  Start();
  EXPECT_EQ(Rows(), rows);
}

// Still locked at shutdown: the last try fails too, and the user is told
// which file keeps the records.
TEST_P(NotesTargetTest, DatabaseLockedAtShutdownLeavesTheDayInTheDayLogFile) {
  Start();
  tracker_->session().NewTask("P", "A");
  OtherConnection other(Path("rvlog.nsf"));
  ASSERT_TRUE(other.Exec("BEGIN IMMEDIATE"));
  clock_.Set(kDay, QTime(9, 30));
  tracker_->Shutdown();
  ASSERT_TRUE(other.Exec("COMMIT"));

  EXPECT_TRUE(messages_.shown.last().text ==
              "Records could not be saved to the Notes database " + Path("rvlog.nsf") +
                  ".\nThey are kept in the day log file " + DayLogFile() + ".");
  EXPECT_TRUE(DatabaseRecords().isEmpty());
  ASSERT_EQ(FileRecords().size(), 1);
  EXPECT_TRUE(FileRecords()[0].startsWith("9:00:00|9:30:00|A|P|"));
}

}  // namespace
}  // namespace ravell
