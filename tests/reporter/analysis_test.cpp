#include "analysis.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "datetime.h"

#include "../support/logrecord.h"
namespace ravell {
namespace {

struct Rec {
  QDate date;
  QString project, name;
  QString start = QStringLiteral("9:00:00");
  QString delta = QStringLiteral("1:00:00");
};

void AddRecord(RecordTable& log, const Rec& r) {
  testing::AppendLogRecord(log, r.date, r.start, r.delta, r.project, r.name, 1000);
}

// Writes the tree as "text[child child]" from the root down.
QString Dump(const DataTreeModel& tree, int node = 0) {
  if (tree.Empty()) return QString();
  QString text = tree.Text(node);
  if (tree.Children(node).empty()) return text;
  QStringList children;
  for (int child : tree.Children(node)) children << Dump(tree, child);
  return text + u'[' + children.join(u' ') + u']';
}

QStringList Column(RecordTable& table, int field) {
  QStringList values;
  for (const int record : table.ViewRecords()) values << table.DisplayText(record, field);
  return values;
}

class RecordingView : public AnalysisView {
 public:
  void SetStatusText(int panel, const QString& text) override {
    status[panel] = text;
    if (panel == 0) panel0_history << text;
  }
  void SetTitleText(const QString& text) override { title = text; }
  void SetTotalTimeText(const QString& text) override { total_time = text; }
  void OpenTreePanel() override { ++tree_panel_opened; }
  void BindReportGroups(const GroupingKey& key) override { bound << key; }
  QString status[2];
  QStringList panel0_history;
  QString title, total_time;
  int tree_panel_opened = 0;
  QList<GroupingKey> bound;
};

class AnalysisTest : public ::testing::Test {
 protected:
  void Load(std::initializer_list<Rec> records) {
    for (const Rec& r : records) AddRecord(tables_.log_records, r);
    tables_.log_records.BuildOrders();
  }
  // The example: 2004-05-12 project P with tasks A and B, 2004-06-01 P with A.
  void LoadExample() {
    Load({{{2004, 5, 12}, "P", "A"}, {{2004, 5, 12}, "P", "B"}, {{2004, 6, 1}, "P", "A"}});
  }
  bool Apply(const FilterSettings& settings = {}, bool initial = false) {
    return analysis_.StartQueryButtonClick(settings, initial);
  }
  ReporterTables tables_;
  RecordingView view_;
  ReporterAnalysis analysis_{tables_, &view_};
  RecordTable& display_ = tables_.display_log;
};

TEST(SplitListTest, Cases) {
  const struct {
    QString text;
    QStringList parts;
  } cases[] = {
      {"A, B", {"A", "B"}},
      {"A,,B", {"A", "", "B"}},
      {"A,", {"A"}},
      {"", {}},
      {"  spaced name  ,x", {"spaced name", "x"}},
      {"Smith, Jones & Co", {"Smith", "Jones & Co"}},  // a comma in a name splits it
  };
  for (const auto& c : cases) EXPECT_EQ(SplitList(c.text, ","), c.parts) << c.text.toStdString();
  // A picker confirmed with nothing checked gives an empty text.
  EXPECT_EQ(JoinPicked({}), "");
  EXPECT_EQ(JoinPicked({"A", "B"}), "A, B");
}

TEST(ConditionTest, TextsOfEachPart) {
  ReporterTables tables;
  const QDate from(2004, 1, 1), to(2004, 1, 31);
  const int first = static_cast<int>(EncodeDate(from)), last = static_cast<int>(EncodeDate(to));
  const struct {
    bool period, projects, tasks;
    QStringList project_names, task_names;
    QString text;
  } cases[] = {
      {false, false, false, {}, {}, ""},
      {true,
       false,
       false,
       {},
       {},
       QStringLiteral(" Days >= %1 AND Days <= %2").arg(first).arg(last)},
      {false, true, false, {"A", "B"}, {}, " (Project= 'A' OR Project= 'B') "},
      {true,
       true,
       true,
       {"A"},
       {"x"},
       QStringLiteral(" Days >= %1 AND Days <= %2 AND (Project= 'A')  AND (Name= 'x') ")
           .arg(first)
           .arg(last)},
      // Inner quotes are doubled, so these two filters never read alike.
      {false, true, false, {"a' OR Project= 'b"}, {}, " (Project= 'a'' OR Project= ''b') "},
      {false, false, true, {}, {}, " ("},
  };
  for (const auto& c : cases) {
    FilterSettings settings;
    settings.period = c.period;
    settings.from = from;
    settings.to = to;
    settings.projects = c.projects;
    settings.tasks = c.tasks;
    EXPECT_EQ(BuildCondition(settings, c.project_names, c.task_names, tables.log_records).text,
              c.text);
  }
}

TEST_F(AnalysisTest, ApplyCopiesOnlyWhenTheConditionChanges) {
  LoadExample();
  QSignalSpy resets(&analysis_.Tree(), &QAbstractItemModel::modelReset);
  EXPECT_TRUE(Apply({}, true));
  EXPECT_EQ(display_.RecordCount(), 3);
  EXPECT_EQ(analysis_.Tree().Text(0), "All records");
  EXPECT_EQ(view_.panel0_history, (QStringList{"Filtering...", "Building tree...",
                                               " Number of records: 3", "Rebuild indexes...", ""}));
  EXPECT_EQ(view_.tree_panel_opened, 1);
  ASSERT_EQ(view_.bound.size(), 1);

  EXPECT_FALSE(Apply());  // the same settings: no copy, the tree is built again
  EXPECT_EQ(resets.count(), 2);
  EXPECT_EQ(view_.bound.size(), 1);

  // Another grouping order only reorders what was copied.
  analysis_.Grouping().SortTreeDragDrop(3, 0);
  EXPECT_FALSE(Apply());
  EXPECT_EQ(display_.OrderFields("Custom"),
            (QStringList{"Project", "Year", "Month", "Day", "Name"}));
  EXPECT_EQ(view_.bound.size(), 2);

  FilterSettings tasks;
  tasks.tasks = true;
  tasks.tasks_text = "A";
  EXPECT_TRUE(Apply(tasks));
  EXPECT_EQ(display_.RecordCount(), 2);
  EXPECT_EQ(analysis_.Tree().Text(0), "Filtered");
  // Between Applies LogRecords shows every record again.
  EXPECT_FALSE(tables_.log_records.Filtered());
  EXPECT_EQ(tables_.log_records.Count(), 3);
}

TEST_F(AnalysisTest, PeriodAcrossTheYearEndKeepsExactlyItsDays) {
  for (const QDate day : {QDate(2003, 12, 27), QDate(2003, 12, 28), QDate(2003, 12, 31),
                          QDate(2004, 1, 1), QDate(2004, 1, 3), QDate(2004, 1, 4)}) {
    AddRecord(tables_.log_records, {day, "P", "A"});
  }
  tables_.log_records.BuildOrders();
  FilterSettings period;
  period.period = true;
  period.from = QDate(2003, 12, 28);
  period.to = QDate(2004, 1, 3);
  Apply(period, true);
  display_.SetOrder("ByTimeStart");
  EXPECT_EQ(Column(display_, display_field::kRecordDate),
            (QStringList{"12/28/03", "12/31/03", "1/1/04", "1/3/04"}));

  // From after To: nothing passes and the tree is empty.
  std::swap(period.from, period.to);
  Apply(period);
  EXPECT_EQ(display_.RecordCount(), 0);
  EXPECT_TRUE(analysis_.Tree().Empty());
  EXPECT_EQ(analysis_.GetDataScopeStr(), "");
}

TEST_F(AnalysisTest, NamesMatchExactlyAsValues) {
  Load({{{2004, 5, 12}, "A", "t"},
        {{2004, 5, 12}, "B", "t"},
        {{2004, 5, 12}, "C", "t"},
        {{2004, 5, 12}, "a", "t"},
        {{2004, 5, 12}, "O'Neil", "t"},
        {{2004, 5, 12}, "x') OR (Project= 'C", "t"}});
  const struct {
    QString projects_text;
    QStringList kept;
  } cases[] = {
      {"A, B", {"A", "B"}},
      {"O'Neil", {"O'Neil"}},
      {"x') OR (Project= 'C", {"x') OR (Project= 'C"}},
      {"", {}},  // the box on with no name: nothing passes
  };
  for (const auto& c : cases) {
    FilterSettings settings;
    settings.projects = true;
    settings.projects_text = c.projects_text;
    Apply(settings);
    display_.SetOrder("Custom");
    EXPECT_EQ(Column(display_, display_field::kProject), c.kept) << c.projects_text.toStdString();
    EXPECT_EQ(analysis_.Tree().Empty(), c.kept.isEmpty());
  }
}

TEST_F(AnalysisTest, PickerLists) {
  Load({{{2004, 5, 12}, "B", "y"},
        {{2004, 5, 12}, "A", "z"},
        {{2004, 5, 13}, "A", "x"},
        {{2004, 5, 13}, "B", "x"},
        {{2004, 5, 14}, "A", "x"}});
  QStringList list{"old"};
  analysis_.FillProjects(list);
  EXPECT_EQ(list, (QStringList{"A", "B"}));
  analysis_.FillTasks(list, {"B", "A"});
  EXPECT_EQ(list, (QStringList{"x", "y", "x", "z"}));  // B's tasks, then A's
  analysis_.FillTasks(list, {});
  EXPECT_EQ(list, (QStringList{"x", "z", "x", "y"}));  // each pair once
  FillTasksOne(tables_.log_records, list, "A");
  EXPECT_EQ(list, (QStringList{"x", "z"}));
}

TEST_F(AnalysisTest, TreeOfTheExampleAndItsTexts) {
  LoadExample();
  AddRecord(tables_.log_records, {{2004, 5, 12}, "Q", "C", "7:00:00", "0:30:00"});
  tables_.log_records.BuildOrders();
  Apply({}, true);
  const DataTreeModel& tree = analysis_.Tree();
  EXPECT_EQ(Dump(tree), "All records[2004[May[12[P Q]] June[1[P]]]]");
  EXPECT_EQ(view_.title, "All records");
  EXPECT_EQ(view_.total_time, "3:30:00");
  EXPECT_EQ(view_.status[1],
            " Data for period from 5/12/04 to 6/1/04\n\rData grouping order: Year, Month, Day, "
            "Project, Task");

  // Project P of 12 May: its group in the range, the day's records in the grid.
  const int may = tree.Children(tree.Children(0)[0])[0];
  const int p = tree.Children(tree.Children(may)[0])[0];
  analysis_.CustomLogTreeChange(p);
  EXPECT_EQ(view_.title, "All records: 2004: May: 12: P");
  EXPECT_EQ(view_.total_time, "2:00:00");
  EXPECT_EQ(Column(display_, display_field::kName), (QStringList{"C", "A", "B"}));
  EXPECT_EQ(view_.status[0], " Number of records: 3");
  EXPECT_EQ(analysis_.GetDataScopeStr(),
            "Data for date 5/12/04\n\rand for project: 'P'\n\rData grouping order: Year, Month, "
            "Day, Project, Task");
  analysis_.CustomTreeSetRange();
  EXPECT_EQ(Column(display_, display_field::kName), (QStringList{"A", "B"}));

  // Month at the top: month names at level 1.
  analysis_.Grouping().SortTreeDragDrop(1, 0);
  Apply();
  EXPECT_EQ(Dump(tree), "All records[May[2004[12[P Q]]] June[2004[1[P]]]]");
  EXPECT_EQ(LevelKey(display_, 1, "June"), QVariant("6"));
  EXPECT_EQ(LevelKey(display_, 2, "2004"), QVariant("2004"));
}

TEST_F(AnalysisTest, ProjectOnTopAndShortFormat) {
  LoadExample();
  AddRecord(tables_.log_records, {{2004, 5, 12}, "Q", "C"});
  tables_.log_records.BuildOrders();
  GroupingOrder& order = analysis_.Grouping();
  order.SortTreeDragDrop(3, 0);
  FilterSettings tasks;
  tasks.tasks = true;
  tasks.tasks_text = "A, B, C";
  Apply(tasks, true);
  EXPECT_EQ(Dump(analysis_.Tree()), "Filtered[P[2004[May[12] June[1]]] Q[2004[May[12]]]]");

  order.RadioDateShortClick();
  Apply(tasks);
  EXPECT_EQ(display_.OrderFields("Custom"),
            (QStringList{"Project", "RecordDate", "Name", "Rate", "Seconds"}));
  EXPECT_EQ(analysis_.Levels(), 3);
  const DataTreeModel& tree = analysis_.Tree();
  EXPECT_EQ(Dump(tree), "Filtered[P[5/12/04 6/1/04] Q[5/12/04]]");
  // A date node selects its own day, although its text has a two-digit year.
  const int june = tree.Children(tree.Children(0)[0])[1];
  analysis_.CustomLogTreeChange(june);
  analysis_.CustomTreeSetRange();
  EXPECT_EQ(Column(display_, display_field::kName), (QStringList{"A"}));
  EXPECT_EQ(analysis_.GetDataScopeStr(),
            "Data for date 6/1/04\n\rand for project: 'P'\n\rand for task(s): 'A','B','C'\n\r"
            "Data grouping order: Project, Date, Task");
}

TEST(GroupingOrderTest, MovesAndDateFormats) {
  GroupingOrder order;
  EXPECT_EQ(order.SortUpClick(0), 0);
  EXPECT_EQ(order.SortDownClick(4), 4);
  EXPECT_EQ(order.Nodes(), (QStringList{"Year", "Month", "Day", "Project", "Task"}));
  EXPECT_EQ(order.Key().fields, (QStringList{"Year", "Month", "Day", "Project", "Name"}));

  EXPECT_EQ(order.SortUpClick(3), 2);
  EXPECT_EQ(order.SortDownClick(0), 1);
  EXPECT_EQ(order.Nodes(), (QStringList{"Month", "Year", "Project", "Day", "Task"}));
  EXPECT_EQ(order.SortTreeDragDrop(2, 0), 0);
  EXPECT_EQ(order.SortTreeDragDrop(1, -1), 1);  // beside the nodes
  EXPECT_EQ(order.Nodes(), (QStringList{"Project", "Month", "Year", "Day", "Task"}));

  order.RadioDateShortClick();
  EXPECT_EQ(order.Nodes(), (QStringList{"Project", "Date", "Task"}));
  EXPECT_EQ(order.Key(), (GroupingKey{{"Project", "RecordDate", "Name", "Rate", "Seconds"}, 3}));
  order.SortUpClick(2);
  order.RadioDateExpandedClick();
  EXPECT_EQ(order.Nodes(), (QStringList{"Project", "Task", "Year", "Month", "Day"}));
}

TEST(DurationTextTest, Cases) {
  EXPECT_EQ(DurationText(37230), "10:20:30");
  EXPECT_EQ(DurationText(0), "0:00:00");
  EXPECT_EQ(DurationText(100 * 3600 + 59), "100:00:59");
}

}  // namespace
}  // namespace ravell
