#include "menurules.h"

#include <gtest/gtest.h>

#include "projectlist.h"
#include "timetext.h"

namespace ravell {
namespace {

CommandStates Stopped() { return {}; }
CommandStates Running() { return {false, true, false, true, false}; }
CommandStates Paused() { return {false, true, true, true, false}; }

TEST(MenuRulesTest, MainMenuFollowsFocusTreeSelectionAndSession) {
  using F = FocusedControl;
  using N = TreeNodeKind;
  struct Case {
    const char* what;
    CommandStates commands;
    F focus;
    bool tree_has_nodes;
    N node;
    bool log_row_deletable;  // as log editing decides it
    MainMenuStates
        want;  // properties, delete, del. from project, del. from log, change, start, pause, stop
  };
  const Case cases[] = {
      {"tree, project node",
       Stopped(),
       F::kToDoTree,
       true,
       N::kProject,
       true,
       {true, true, false, false, false, true, false, false}},
      {"tree, task node",
       Running(),
       F::kToDoTree,
       true,
       N::kTask,
       true,
       {false, false, true, false, false, false, true, true}},
      {"tree without focus",
       Stopped(),
       F::kOther,
       true,
       N::kProject,
       true,
       {false, false, false, false, false, true, false, false}},
      {"empty tree",
       Stopped(),
       F::kToDoTree,
       false,
       N::kProject,
       true,
       {false, false, false, false, false, true, false, false}},
      {"tree, nothing selected",
       Stopped(),
       F::kToDoTree,
       true,
       N::kNone,
       true,
       {false, false, false, false, false, true, false, false}},
      {"log, stopped, last row",
       Stopped(),
       F::kLogGrid,
       true,
       N::kProject,
       true,
       {false, false, false, true, true, true, false, false}},
      {"log, running, last row",
       Running(),
       F::kLogGrid,
       false,
       N::kNone,
       false,
       {false, false, false, false, false, false, true, true}},
      {"log, running, earlier row",
       Running(),
       F::kLogGrid,
       false,
       N::kNone,
       true,
       {false, false, false, true, false, false, true, true}},
      // The last row is already closed while paused, yet still the session's.
      {"log, paused, last row",
       Paused(),
       F::kLogGrid,
       false,
       N::kNone,
       false,
       {false, false, false, false, false, false, true, true}},
      {"log, paused, earlier row",
       Paused(),
       F::kLogGrid,
       false,
       N::kNone,
       true,
       {false, false, false, true, false, false, true, true}},
  };
  for (const Case& c : cases) {
    MenuContext context{c.commands, c.focus, c.tree_has_nodes, c.node, c.log_row_deletable};
    EXPECT_EQ(MainMenuEnabling(context), c.want) << c.what;
  }
}

TEST(MenuRulesTest, PopupMenusFollowTheSession) {
  EXPECT_EQ(TrayMenuEnabling(Stopped()), (TrayMenuStates{true, false, false, false, true}));
  EXPECT_EQ(TrayMenuEnabling(Running()), (TrayMenuStates{false, true, false, true, false}));
  EXPECT_EQ(TrayMenuEnabling(Paused()), (TrayMenuStates{false, true, true, true, false}));

  EXPECT_EQ(SwitchItemEnabling(Running(), false), (SwitchItemState{true, false}));
  EXPECT_EQ(SwitchItemEnabling(Paused(), false), (SwitchItemState{false, false}));
  EXPECT_EQ(SwitchItemEnabling(Paused(), true), (SwitchItemState{true, true}));
  EXPECT_EQ(SwitchItemEnabling(Running(), true), (SwitchItemState{true, true}));

  EXPECT_EQ(TreeMenuEnabling(TreeNodeKind::kProject), (TreeMenuStates{true, false}));
  EXPECT_EQ(TreeMenuEnabling(TreeNodeKind::kTask), (TreeMenuStates{false, true}));
  EXPECT_EQ(TreeMenuEnabling(TreeNodeKind::kNone), (TreeMenuStates{false, false}));

  EXPECT_TRUE(InsertOrChangeEnabled(Stopped()));
  EXPECT_FALSE(InsertOrChangeEnabled(Paused()));
}

TEST(MenuRulesTest, CopyTexts) {
  const LogRow closed{"9:00:00-9:30:00 (0:30:00)", "Mail", "Office", "20040307123456"};
  EXPECT_EQ(LogRowCopyText(closed, LogCopyPart::kEntireRow),
            "9:00:00-9:30:00 (0:30:00)\tMail\tOffice\t");
  EXPECT_EQ(LogRowCopyText(closed, LogCopyPart::kTimeStart), "9:00:00");
  EXPECT_EQ(LogRowCopyText(closed, LogCopyPart::kTimeEnd), "9:30:00");
  EXPECT_EQ(LogRowCopyText(closed, LogCopyPart::kTimeDelta), "0:30:00");
  EXPECT_EQ(LogRowCopyText(closed, LogCopyPart::kTask), "Mail");
  EXPECT_EQ(LogRowCopyText(closed, LogCopyPart::kProject), "Office");
  const LogRow running{"10:35:30", "Mail", "Office", "20040307123457"};
  EXPECT_EQ(LogRowCopyText(running, LogCopyPart::kTimeStart), "");
  EXPECT_EQ(LogRowCopyText(running, LogCopyPart::kTimeDelta), "");

  TaskItem item{"Mail", "Office", "0:30:00", "1:00:00", "20.00", "10.00", TaskMarker::kRunning};
  EXPECT_EQ(TaskItemCopyText(item, kEntireItem), "Mail\tOffice\t0:30:00\t1:00:00\t20.00\t10.00\t");
  const char* columns[] = {"Mail", "Office", "0:30:00", "1:00:00", "20.00", "10.00"};
  for (int n = 0; n < 6; ++n) EXPECT_EQ(TaskItemCopyText(item, n), columns[n]) << n;
}

TEST(MenuRulesTest, TextOrderFoldsOnlyAsciiLetters) {
  struct Case {
    const char* a;
    const char* b;
    bool less;
  };
  const Case cases[] = {
      {"10:00:00", "9:59:59", true},  // times sort as text
      {"10.00", "9.00", true},
      {"-", "0:10:00", true},
      {"apple", "Banana", true},
      {"APPLE", "apple", false},
      {"apple", "APPLE", false},
      {"Mail", "Mailbox", true},
      {"Z", "_", true},  // letters fold to capitals before comparing codes
      {"z", "_", true},
      {"\u00e9t\u00e9", "\u00c9T\u00c9", false},  // beyond a to z case counts
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TaskListTextLess(QString::fromUtf8(c.a), QString::fromUtf8(c.b)), c.less)
        << c.a << " < " << c.b;
  }
}

class SortTest : public ::testing::Test {
 protected:
  SortTest() {
    projects_.Append("Acme", "20.00");
    const DateTime day = EncodeDate(QDate(2004, 3, 7));
    log_.InsertSavedTask("Acme", "short", day + EncodeTime(0, 30, 0), day, "1");
    log_.InsertSavedTask("acme", "long", day + EncodeTime(10, 0, 0), day, "2");
    log_.InsertSavedTask("Beta", "mid", day + EncodeTime(9, 59, 59), day, "3");
    log_.SetItemPlan(0, "2:00:00");
    log_.SetItemPlan(2, "10:00:00");
    log_.current_task = 2;  // "mid" runs
  }
  QStringList Tasks() const {
    QStringList names;
    for (int i = 0; i < log_.ItemCount(); ++i) names << log_.Item(i).task;
    return names;
  }
  ProjectList projects_;
  DayLog log_{projects_};
};

TEST_F(SortTest, ColumnsSortAsTextAndTheCurrentTaskFollows) {
  ASSERT_TRUE(SortTaskList(log_, 2));  // Time: 0:30:00, 10:00:00, 9:59:59
  EXPECT_EQ(Tasks(), QStringList({"short", "long", "mid"}));
  EXPECT_EQ(log_.current_task, 2);
  EXPECT_TRUE(log_.row_update_allowed);

  ASSERT_TRUE(SortTaskList(log_, 3));  // Plan: -, 10:00:00, 2:00:00
  EXPECT_EQ(Tasks(), QStringList({"long", "mid", "short"}));
  EXPECT_EQ(log_.current_task, 1);

  ASSERT_TRUE(SortTaskList(log_, 1));  // acme and Acme are equal; the sort is stable
  EXPECT_EQ(Tasks(), QStringList({"long", "short", "mid"}));
  EXPECT_EQ(log_.current_task, 2);

  EXPECT_FALSE(SortTaskList(log_, 5));  // Total does not sort
  EXPECT_EQ(Tasks(), QStringList({"long", "short", "mid"}));
}

TEST(MenuRulesTest, TrayHint) {
  const LogRow row{"9:00:00", "Redesign of the corporate website", "Acme", "1"};
  EXPECT_EQ(TrayHint(SessionState::kStopped, EncodeTime(1, 30, 0), row, "0:10:00", 0),
            "Total time: 1:30:00");
  EXPECT_EQ(TrayHint(SessionState::kRunning, EncodeTime(1, 0, 0), row, "0:45:00",
                     EncodeTime(0, 15, 0)),
            "Redesign of the corporate web...\nTask:0:45:00\nTotal:1:15:00");
  // Exactly 32 characters stay whole.
  const LogRow fits{"9:00:00", "Twenty-five characters ok", "Acme", "1"};
  EXPECT_EQ(TrayHint(SessionState::kPaused, 0, fits, "0:00:00", 0).section('\n', 0, 0),
            "Twenty-five characters ok (Acme)");
}

}  // namespace
}  // namespace ravell
