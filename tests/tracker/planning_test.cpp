// Projects, the to-do tree and their files, driven through the tracker with
// scripted dialogs and a recording Notes link.
#include "planning.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "../support/fakeplanningui.h"
#include "../support/fakes.h"
#include "atomicfile.h"
#include "error.h"
#include "todotree.h"
#include "tracker.h"

namespace ravell {
namespace {

using testing::FakeNotesLink;
using testing::FakePlanningUi;
using testing::RecordingMessages;

// "Design[Logo,Card] Web": the tree's texts in order.
QString Shape(const ToDoTree& tree) {
  QStringList parts;
  for (const auto& top : tree.top_level()) {
    QStringList children;
    for (const auto& child : top->children) children << child->text;
    parts << (children.isEmpty() ? top->text : top->text + "[" + children.join(',') + "]");
  }
  return parts.join(' ');
}

class PlanningTest : public ::testing::Test {
 protected:
  PlanningTest() { clock_.Set(QDate(2004, 3, 7), QTime(9, 0)); }

  QString Path(const char* name) const { return folder_.path() + QLatin1Char('/') + name; }
  void Write(const char* name, const QByteArray& bytes) { WriteFileAtomic(Path(name), bytes); }
  QByteArray Read(const char* name) const {
    return QFile::exists(Path(name)) ? ReadWholeFile(Path(name)) : QByteArray("<none>");
  }

  void Start(const QByteArray& target = "Log", const QByteArray& startup = "") {
    Write("ravell.ini", "[Storage]\r\nTarget=" + target + "\r\n" + startup);
    TrackerEnvironment env;
    env.program_folder = folder_.path();
    env.clock = &clock_;
    env.messages = &messages_;
    env.notes_loader = [this](MessageBoxes&) -> std::unique_ptr<NotesLink> {
      auto link = std::make_unique<FakeNotesLink>(notes_);
      link->calls = calls_;
      link_ = link.get();
      return link;
    };
    tracker_ = std::make_unique<Tracker>(std::move(env));
    tracker_->Start(nullptr);
    planning().SetUi(&ui_);
    calls_->clear();
  }

  Planning& planning() { return tracker_->planning(); }
  ToDoTree& tree() { return tracker_->todo_tree(); }
  void Select(const QString& text) { tree().Select(tree().FindNode(text)); }
  // Calls to the Notes link other than the session's own.
  QStringList NotesCalls() const { return *calls_; }

  QTemporaryDir folder_;
  ManualClock clock_;
  RecordingMessages messages_;
  FakeNotesLink notes_;            // the script each loaded link copies
  FakeNotesLink* link_ = nullptr;  // the link the tracker holds
  std::shared_ptr<QStringList> calls_ = std::make_shared<QStringList>();
  FakePlanningUi ui_;
  std::unique_ptr<Tracker> tracker_;
};

TEST_F(PlanningTest, AddNewAppendsTheLineAndWritesBothFilesSorted) {
  Write("projects.lst", "Web=10.00\r\n");
  Start();
  ui_.project_answer = ProjectFields{"Design", "12.50"};
  planning().Addnew1Click();

  EXPECT_EQ(ui_.calls, QStringList{"AskProject|New project||0.00"});
  EXPECT_EQ(Read("projects.lst"), "Web=10.00\r\nDesign=12.50\r\n");
  EXPECT_EQ(Read("todo.tre"), "Design\r\nWeb\r\n");
  EXPECT_EQ(tree().selected(), tree().FindNode("Design"));
  EXPECT_EQ(tracker_->projects().RateText("design"), "12.50");
  EXPECT_TRUE(messages_.shown.isEmpty());
}

TEST_F(PlanningTest, AddNewForAKnownProjectKeepsItsRateButGivesATreeOnlyProjectItsLine) {
  Write("projects.lst", "Web=10.00\r\n");
  Write("todo.tre", "Print\r\nWeb\r\n");
  Start();
  ui_.project_answer = ProjectFields{"Web", "99.00"};
  planning().Addnew1Click();
  ui_.project_answer = ProjectFields{"Print", "5.00"};
  planning().Addnew1Click();

  EXPECT_EQ(Shape(tree()), "Print Web");
  EXPECT_EQ(Read("projects.lst"), "Web=10.00\r\nPrint=5.00\r\n");
}

TEST_F(PlanningTest, PropertiesRenamesInPlaceAndLeavesTodaysTasksAlone) {
  Write("projects.lst", "Design=12.50\r\nWeb=10.00\r\n");
  Start();
  tracker_->session().NewTask("Design", "Logo");
  Select("Design");
  ui_.project_answer = ProjectFields{"Art", "15.00"};
  planning().Rate2Click();

  EXPECT_EQ(ui_.calls, QStringList{"AskProject|Project rate|Design|12.50"});
  EXPECT_EQ(Read("projects.lst"), "Art=15.00\r\nWeb=10.00\r\n");
  EXPECT_EQ(Read("todo.tre"), "Art\r\nWeb\r\n");
  EXPECT_EQ(Shape(tree()), "Art Web");
  EXPECT_EQ(tracker_->day_log().Item(0).project, "Design");
  EXPECT_EQ(tracker_->day_log().Row(0).project, "Design");
}

TEST_F(PlanningTest, PropertiesOfAProjectWithoutALineAddsIt) {
  Write("todo.tre", "Print\r\n");
  Start();
  Select("Print");
  ui_.project_answer = ProjectFields{"Print", "-3.00"};
  planning().Rate2Click();
  EXPECT_EQ(ui_.calls, QStringList{"AskProject|Project rate|Print|0.00"});
  EXPECT_EQ(Read("projects.lst"), "Print=-3.00\r\n");

  // Commands that need a project node do nothing without one.
  ui_.calls.clear();
  tree().Select(nullptr);
  planning().Rate2Click();
  planning().Delete3Click();
  EXPECT_TRUE(ui_.calls.isEmpty());
  EXPECT_TRUE(messages_.shown.isEmpty());
}

TEST_F(PlanningTest, DeleteAsksAndOnlyYesDeletes) {
  Write("projects.lst", "Design=12.50\r\nWeb=10.00\r\n");
  Write("todo.tre", "Design\r\n\tLogo\r\nWeb\r\n");
  Start();
  Select("Design");

  messages_.answer = MsgResult::kNo;
  planning().Delete3Click();
  ASSERT_EQ(messages_.shown.size(), 1);
  EXPECT_EQ(messages_.shown[0].text,
            "Are you shure delete a project\n\"Design\"\nand all its tasks?");
  EXPECT_EQ(messages_.shown[0].icon, MsgIcon::kQuestion);
  EXPECT_EQ(Shape(tree()), "Design[Logo] Web");
  EXPECT_EQ(Read("projects.lst"), "Design=12.50\r\nWeb=10.00\r\n");

  messages_.answer = MsgResult::kYes;
  planning().Delete3Click();
  EXPECT_EQ(Shape(tree()), "Web");
  EXPECT_EQ(tree().selected(), nullptr);
  EXPECT_EQ(Read("projects.lst"), "Web=10.00\r\n");
  EXPECT_EQ(Read("todo.tre"), "Web\r\n");
}

TEST_F(PlanningTest, NotesTargetsTellTheLinkAndOnlyCombineWritesFiles) {
  struct Case {
    QByteArray target;
    QByteArray files;  // projects.lst after the commands
  };
  for (const Case& c : {Case{"Notes", "<none>"}, Case{"Combine", "Design=12.50\r\n"}}) {
    SCOPED_TRACE(c.target.constData());
    QFile::remove(Path("projects.lst"));
    Start(c.target);
    ui_.project_answer = ProjectFields{"Design", "12.50"};
    planning().Addnew1Click();
    planning().AddTaskToProject("Notes", "Call client");  // never announced as a project
    Select("Design");
    ui_.project_answer = ProjectFields{"Design", "12.50"};
    planning().Rate2Click();
    Select("Call client");
    planning().Delete1Click();
    Select("Notes");
    messages_.answer = MsgResult::kYes;
    planning().Delete3Click();

    EXPECT_EQ(NotesCalls(),
              (QStringList{"UpdateProject|Design|Design|0", "UpdateProject|Design|Design|12.5",
                           "CreateSelTask|Call client|Notes", "UpdateProject|Design|Design|12.5",
                           "DeleteSelTask|Notes~~Call client", "DeleteProject|Notes"}));
    EXPECT_EQ(Read("projects.lst"), c.files);
  }
}

TEST_F(PlanningTest, TreeNodesMatchByExactTextWhileRatesIgnoreCase) {
  Write("projects.lst", "Design=12.50\r\n");
  Write("todo.tre", "design\r\n");
  Start();
  EXPECT_EQ(tracker_->projects().RateText("design"), "12.50");
  ToDoNode* node = planning().FindProjectNode("Design");
  EXPECT_EQ(node->text, "Design");
  EXPECT_EQ(Shape(tree()), "design Design");
  // The list already names the project: no second line.
  EXPECT_EQ(Read("projects.lst"), "Design=12.50\r\n");
}

TEST_F(PlanningTest, TreeFileWritesFourLinesAndReadsLevelsByTabOrBlank) {
  ToDoTree tree;
  ToDoNode* design = tree.AddTopLevel("Design");
  tree.AddChild(design, "Logo");
  tree.AddChild(design, "Card");
  tree.AddTopLevel("Web");
  EXPECT_EQ(tree.Compose(), "Design\r\n\tLogo\r\n\tCard\r\nWeb\r\n");

  struct Case {
    QByteArray file;
    QString shape;
    QString error;
  };
  const Case cases[] = {
      {"Design\r\n\tLogo\r\n\tCard\r\nWeb\r\n", "Design[Logo,Card] Web", ""},
      {"Design\n Logo\r Card\nWeb", "Design[Logo,Card] Web", ""},
      {"Design\r\n\r\n\tLogo\r\n", "Design [Logo]", ""},  // an empty name keeps its tasks
      {"Design\r\n\t\tLogo\r\nWeb\r\n", "Design", "Invalid level (2) for item \"Logo\""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.constData());
    EXPECT_EQ(tree.Load(c.file), c.error);
    EXPECT_EQ(Shape(tree), c.shape);
  }
}

TEST_F(PlanningTest, SortingIsLocaleAwareAndCaseSensitive) {
  ToDoTree tree;
  for (const char* name : {"web", "Design", "apple", "design"}) tree.AddTopLevel(name);
  ToDoNode* web = tree.FindNode("web");
  tree.AddChild(web, "b");
  tree.AddChild(web, "a");
  tree.Sort();
  EXPECT_EQ(Shape(tree), "apple design Design web[a,b]");
}

TEST_F(PlanningTest, LogStartUpTakesTheTreeFileOverTheProjectList) {
  Write("projects.lst", "Web=10.00\r\nDesign=12.50\r\n");
  Start();
  EXPECT_EQ(Shape(tree()), "Web Design");  // no todo.tre: list order

  Write("todo.tre", "Web\r\nDesign\r\n\tLogo\r\n");
  Start();
  EXPECT_EQ(Shape(tree()), "Design[Logo] Web");
  EXPECT_EQ(tree().FindNode("Design")->image, ToDoTree::kProjectImage);
  EXPECT_EQ(tree().FindNode("Logo")->image, ToDoTree::kTaskImage);

  Write("todo.tre", "Design\r\n\tLogo\r\n");
  Start();
  EXPECT_EQ(Shape(tree()), "Design[Logo]");
}

TEST_F(PlanningTest, ATooDeepTreeFileKeepsWhatWasReadAndItsOriginal) {
  const QByteArray original = "Web\r\n\tSite\r\n\t\t\tDeep\r\nDesign\r\n";
  Write("todo.tre", original);
  Start();
  EXPECT_EQ(Shape(tree()), "Web[Site]");
  EXPECT_EQ(messages_.Texts(), QStringList{"Invalid level (3) for item \"Deep\"\nThe original file "
                                           "is kept as " +
                                           Path("todo.tre.bak") + "."});
  EXPECT_EQ(Read("todo.tre.bak"), original);

  planning().AddTaskToProject("Web", "Logo");
  EXPECT_EQ(Read("todo.tre"), "Web\r\n\tSite\r\n\tLogo\r\n");
  EXPECT_EQ(Read("todo.tre.bak"), original);
}

TEST_F(PlanningTest, AddingATaskTwiceWritesOnceAndCreatesAMissingProject) {
  Write("projects.lst", "Design=12.50\r\n");
  Start();
  planning().AddTaskToProject("Design", "Logo");
  EXPECT_EQ(Read("todo.tre"), "Design\r\n\tLogo\r\n");
  QFile::remove(Path("todo.tre"));
  planning().AddTaskToProject("Design", "Logo");
  EXPECT_EQ(Read("todo.tre"), "<none>");
  EXPECT_EQ(tree().selected(), tree().FindNode("Logo"));

  planning().AddTaskToProject("Shop", "Milk");
  EXPECT_EQ(Shape(tree()), "Design[Logo] Shop[Milk]");
  EXPECT_EQ(Read("projects.lst"), "Design=12.50\r\nShop=0.00\r\n");
  EXPECT_EQ(Read("todo.tre"), "Design\r\n\tLogo\r\nShop\r\n\tMilk\r\n");
}

TEST_F(PlanningTest, AddToDoPresetsTheProjectAndNamesAnEmptyTask) {
  Start();
  planning().AddToDo1Click();  // empty tree
  planning().AddTaskToProject("Design", "Logo");
  planning().AddTaskToProject("Web", "Site");
  tree().Select(nullptr);
  planning().AddToDo1Click();  // the first node
  Select("Site");
  planning().AddToDo1Click();  // a task node's project
  Select("Web");
  ui_.todo_answer = std::make_pair(QString("Web"), QString());
  planning().AddToDo1Click();
  ui_.todo_answer = std::make_pair(QString(), QString("Lost"));
  planning().AddToDo1Click();  // no project: nothing

  EXPECT_EQ(ui_.calls, (QStringList{"AskToDo|", "AskToDo|Design", "AskToDo|Web", "AskToDo|Web",
                                    "AskToDo|Web"}));
  EXPECT_EQ(Shape(tree()), "Design[Logo] Web[Site,Working on project]");
}

TEST_F(PlanningTest, StartingATaskFromTheDialogPlansIt) {
  Start();
  tracker_->session().NewTask("Design", "", true);
  tracker_->session().NewTask("Design", "Logo", false);  // not from the dialog
  EXPECT_EQ(Shape(tree()), "Design[Working on project]");
  EXPECT_EQ(Read("todo.tre"), "Design\r\n\tWorking on project\r\n");
}

TEST_F(PlanningTest, NotesPairsFillTheTree) {
  notes_.rate_list = "Web=10.00\r\n";
  notes_.sel_tasks =
      "Notes\r\nCall client\r\nWeb\r\nSite\r\n\r\nOrphan\r\nDesign\r\nLogo\r\nLeft over\r\n";
  Start("Notes", "[Startup]\r\nLoadNotesToDo=Yes\r\n");
  EXPECT_EQ(Shape(tree()), "Web[Site] Notes[Call client] Design[Logo]");
  EXPECT_EQ(tree().FindNode("Notes")->image, ToDoTree::kNotesProjectImage);
  EXPECT_EQ(tree().FindNode("Design")->image, ToDoTree::kProjectImage);
  EXPECT_EQ(Read("todo.tre"), "<none>");

  // Reload asks again and selects the first node.
  link_->sel_tasks = "Web\nSite\nDesign\n";
  ui_.calls.clear();
  planning().ReloadToDotree1Click();
  EXPECT_EQ(NotesCalls(), (QStringList{"GetRateList", "GetNotesSelTasks|1"}));
  EXPECT_EQ(Shape(tree()), "Web[Site]");
  EXPECT_EQ(tree().selected(), tree().FindNode("Web"));
}

TEST_F(PlanningTest, StartOpensTheDialogForNotesTasksAndNeverRunsWhilePaused) {
  notes_.sel_tasks = "Notes\nCall client\nWeb\nSite\n";
  Start("Notes");
  Select("Call client");
  planning().RunToDoClick();
  EXPECT_EQ(ui_.calls, QStringList{"AskNewTask|Call client"});
  EXPECT_EQ(tracker_->session().state(), SessionState::kStopped);

  Select("Web");
  planning().RunToDoClick();  // a project node
  EXPECT_EQ(tracker_->session().state(), SessionState::kStopped);

  Select("Site");
  planning().RunToDoClick();
  EXPECT_EQ(tracker_->session().state(), SessionState::kRunning);
  EXPECT_EQ(tracker_->day_log().Row(0).task, "Site");
  EXPECT_EQ(tracker_->day_log().Row(0).project, "Web");

  tracker_->session().PauseButtonClick();
  planning().RunToDoClick();
  EXPECT_EQ(tracker_->session().state(), SessionState::kPaused);
  EXPECT_EQ(tracker_->day_log().RowCount(), 1);
}

TEST_F(PlanningTest, InsertToLogPresetsTheSelectedTask) {
  Write("todo.tre", "Design\r\n\tLogo\r\n");
  Start();
  tracker_->log_edit().SetUi(&ui_);
  Select("Design");
  EXPECT_EQ(planning().Insert2Click(), -1);
  Select("Logo");
  ui_.record_answer = RecordFields{"Design", "Logo", QTime(7, 0), QTime(7, 30)};
  EXPECT_EQ(planning().Insert2Click(), 0);
  EXPECT_EQ(ui_.calls, QStringList{"AskInsert|Design|Logo|8:00:00|9:00:00"});
  EXPECT_EQ(tracker_->day_log().Row(0).time_frame, "7:00:00-7:30:00 (0:30:00)");
}

TEST_F(PlanningTest, AFailedWriteEndsTheCommandWithItsMessage) {
  Start();
  QFile::remove(Path("todo.tre"));
  QDir(folder_.path()).mkdir("todo.tre");  // a folder where the file belongs
  EXPECT_THROW(planning().AddTaskToProject("Design", "Logo"), FileError);
  EXPECT_TRUE(messages_.shown.isEmpty());
  // Started from the session, the same failure is reported, not thrown.
  planning().AddStartedTask("Web", "Site");
  ASSERT_EQ(messages_.shown.size(), 1);
  EXPECT_TRUE(messages_.shown[0].text.contains("todo.tre"));
  EXPECT_EQ(Shape(tree()), "Design Web");
}

}  // namespace
}  // namespace ravell
