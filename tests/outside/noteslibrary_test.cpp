#include <gtest/gtest.h>

#include <functional>

#include "noteslink.h"
#include "outside_test_support.h"

namespace ravell::testing {
namespace {

class NotesLibraryTest : public CallLog {
 protected:
  std::unique_ptr<NotesLibrary> LoadFrom(const QString& folder) {
    return NotesLibrary::Load(folder, messages_);
  }
  std::unique_ptr<NotesLibrary> LoadFull() { return LoadFrom(FakeLibs("notes_full")); }

  LoggedMessages messages_{LogPath()};
  int window_ = 0;
};

TEST_F(NotesLibraryTest, MissingLibraryIsReportedAndGivesNoLink) {
  EXPECT_EQ(LoadFrom(EmptyFolder()), nullptr);
  EXPECT_EQ(TakeLines(), QStringList{"message|Module libnotesbridge.so was not found"});
}

TEST_F(NotesLibraryTest, MissingExportsAreReportedInOrderAndNeverCalled) {
  const QString folder = FakeLibs("notes_partial");
  auto notes = LoadFrom(folder);
  ASSERT_NE(notes, nullptr);
  EXPECT_EQ(TakeLines(), QStringList({"message|Function Init not found at libnotesbridge.so",
                                      "message|Function GetRateList not found at libnotesbridge.so",
                                      "message|Function Terminate not found at libnotesbridge.so"}));
  EXPECT_EQ(notes->missing_exports(), QStringList({"Init", "GetRateList", "Terminate"}));

  // No session can open without Init: the fatal result, not a fake "open".
  EXPECT_EQ(notes->Init(&window_, "", "db", "1"), -1);
  EXPECT_EQ(notes->GetRateList(), QString());
  EXPECT_NO_THROW(notes->Terminate());
  EXPECT_EQ(notes->GetUserName(), "Test User");
  EXPECT_EQ(TakeLines(), QStringList{"GetUserName"});

  notes.reset();
  EXPECT_FALSE(IsLoaded(folder + "/libnotesbridge.so"));
}

TEST_F(NotesLibraryTest, InitResultIsPassedThrough) {
  auto notes = LoadFull();
  ASSERT_NE(notes, nullptr);
  EXPECT_TRUE(notes->missing_exports().isEmpty());
  for (const int result : {-1, 2, 1, 0}) {
    const QString password = QString::number(result);
    EXPECT_EQ(notes->Init(&window_, "srv", "/data/rvlog.nsf", password), result);
    EXPECT_EQ(TakeLines(), QStringList{"Init|window|srv|/data/rvlog.nsf|" + password});
  }
}

// Texts cross as 8-bit bytes; text blocks are copied and freed (a leak or a
// double free shows under the sanitizer build).
TEST_F(NotesLibraryTest, CallsCarryTheirArgumentsAndTexts) {
  auto notes = LoadFull();
  ASSERT_NE(notes, nullptr);
  notes->CreateSelTask("Schreiben \u00fcben", "\u00c4rger");
  notes->SaveToNotesDoc("Write", "Alpha", "20240105123456", 12.5, 45296.25, 45296.5);
  notes->DeleteSelTask("Alpha~~Write");
  notes->UpdateProject("Beta", "Beta", 0);
  notes->DeleteProject("Beta");
  notes->DeleteTask("20240105123456");
  EXPECT_EQ(notes->GetNotesSelTasks(true), "Alpha\r\nWrite\r\nBeta\r\nRead");
  EXPECT_EQ(notes->GetNotesSelTasks(false), "Alpha\r\nWrite\r\nBeta\r\nRead");
  EXPECT_EQ(notes->GetActiveProjects(), "Alpha\r\nBeta");
  EXPECT_EQ(notes->GetUserName(), "Test User");
  EXPECT_EQ(notes->GetRateList(), "Alpha=12.5\r\nBeta=");
  notes->Terminate();
  EXPECT_EQ(TakeLines(), QStringList({
                             "CreateSelTask|Schreiben \u00fcben|\u00c4rger",
                             "SaveToNotesDoc|Write|Alpha|20240105123456|12.5|45296.2500|45296.5000",
                             "DeleteSelTask|Alpha~~Write",
                             "UpdateProject|Beta|Beta|0",
                             "DeleteProject|Beta",
                             "DeleteTask|20240105123456",
                             "GetNotesSelTasks|1",
                             "GetNotesSelTasks|0",
                             "GetActiveProjects",
                             "GetUserName",
                             "GetRateList",
                             "Terminate",
                         }));
}

// The records lie in the library's own static memory: freeing them would crash.
TEST_F(NotesLibraryTest, DayRecordsAreReadWithinTheirFields) {
  auto notes = LoadFull();
  ASSERT_NE(notes, nullptr);

  const QList<NotesRecord> records = notes->GetDayRecords("2024.1.5");
  EXPECT_EQ(TakeLines(), QStringList{"GetDayRecords|2024.1.5"});
  ASSERT_EQ(records.size(), 2);
  EXPECT_EQ(records[0].task, "Write");
  EXPECT_EQ(records[0].project, "Alpha");
  EXPECT_EQ(records[0].task_id, "20240105000001");
  EXPECT_EQ(records[0].time_start, 45296.25);
  EXPECT_EQ(records[0].time_end, 45296.5);
  // Unterminated fields end at their 128 bytes.
  EXPECT_EQ(records[1].task, QString(128, 'T'));
  EXPECT_EQ(records[1].project, QString(128, 'P'));
  EXPECT_EQ(records[1].task_id, QString(128, '9'));
  EXPECT_EQ(records[1].time_start, 45296.75);
  EXPECT_EQ(records[1].time_end, 45296.875);

  // No block, or a count below one: no records.
  EXPECT_TRUE(notes->GetDayRecords("none").isEmpty());
  EXPECT_TRUE(notes->GetDayRecords("negative").isEmpty());
}

TEST_F(NotesLibraryTest, FailingExportRaisesNotesError) {
  auto notes = LoadFull();
  ASSERT_NE(notes, nullptr);
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"GetDayRecords", [&] { notes->GetDayRecords("2024.1.5"); }},
      {"CreateSelTask", [&] { notes->CreateSelTask("t", "p"); }},
      {"GetNotesSelTasks", [&] { notes->GetNotesSelTasks(false); }},
      {"SaveToNotesDoc", [&] { notes->SaveToNotesDoc("t", "p", "id", 1, 2, 3); }},
      {"GetActiveProjects", [&] { notes->GetActiveProjects(); }},
      {"GetUserName", [&] { notes->GetUserName(); }},
      {"GetRateList", [&] { notes->GetRateList(); }},
      {"DeleteSelTask", [&] { notes->DeleteSelTask("p~~t"); }},
      {"UpdateProject", [&] { notes->UpdateProject("p", "p", 1); }},
      {"DeleteProject", [&] { notes->DeleteProject("p"); }},
      {"DeleteTask", [&] { notes->DeleteTask("id"); }},
      {"Terminate", [&] { notes->Terminate(); }},
  };
  for (const auto& [name, call] : cases) {
    SCOPED_TRACE(name);
    qputenv("RAVELL_FAKE_FAIL", name);
    try {
      call();
      ADD_FAILURE() << "no NotesError";
    } catch (const NotesError& e) {
      EXPECT_EQ(e.message(), QStringLiteral("Error in libnotesbridge.so: %1 failed").arg(name));
    }
  }
}

// A locked or read-only database says so on a second line; other failures
// have only the first.
TEST_F(NotesLibraryTest, FailureSaysWhyWhenTheLibraryKnows) {
  auto notes = LoadFull();
  ASSERT_NE(notes, nullptr);
  const std::pair<const char*, const char*> cases[] = {
      {"2", "\nThe Notes database is locked by another program."},
      {"3", "\nThe Notes database cannot be written."},
      {"4", ""},
      {"-1", ""},
  };
  qputenv("RAVELL_FAKE_FAIL", "SaveToNotesDoc");
  for (const auto& [status, second_line] : cases) {
    SCOPED_TRACE(status);
    qputenv("RAVELL_FAKE_STATUS", status);
    try {
      notes->SaveToNotesDoc("t", "p", "id", 1, 2, 3);
      ADD_FAILURE() << "no NotesError";
    } catch (const NotesError& e) {
      EXPECT_EQ(e.message(),
                QStringLiteral("Error in libnotesbridge.so: SaveToNotesDoc failed") + second_line);
    }
  }
  qunsetenv("RAVELL_FAKE_STATUS");
}

}  // namespace
}  // namespace ravell::testing
