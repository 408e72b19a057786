#include "recordtable.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <algorithm>
#include <numeric>
#include <random>

#include "error.h"
#include "logtables.h"
#include "../support/logrecord.h"
#include "recordtablemodel.h"

namespace ravell {
namespace {

struct Row {
  int year, month, day;
  QString start, delta, project, name;
  QVariant rate;
};

void AppendRow(RecordTable& table, const Row& row) {
  testing::AppendLogRecord(table, row.year, row.month, row.day, row.start, row.delta, row.project,
                           row.name, row.rate);
}

QStringList Walk(RecordTable& table, const QString& field) {
  QStringList values;
  for (table.First(); !table.Eof(); table.Next()) values << table.Value(field).toString();
  return values;
}

// A small table whose answers are written out by hand.
class SmallTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const Row rows[] = {
        {2024, 2, 1, "9:00:00", "1:00:00", "beta", "write", 1000},
        {2024, 1, 5, "14:00:00", "0:30:00", "Alpha", "review", 2000},
        {2024, 1, 5, "8:00:00", "0:15:00", "Alpha", "review", 2000},
        {2024, 1, 5, "10:00:00", "2:00:00", "alpha", "plan", QVariant()},
        {2023, 12, 31, "23:00:00", "0:45:00", "Beta", "write", 1000},
    };
    for (const Row& row : rows) AppendRow(log_, row);
  }
  ReporterTables tables_;
  RecordTable& log_ = tables_.log_records;
};

TEST_F(SmallTableTest, OrdersRangesGroupsAndSums) {
  log_.SetOrder(kTasksByProject);
  // Texts order without regard to case first, then by case.
  EXPECT_EQ(Walk(log_, "Project"), (QStringList{"Beta", "Alpha", "Alpha", "alpha", "beta"}));

  log_.SetOrder(kByTimeStart);
  EXPECT_EQ(Walk(log_, "Seconds"), (QStringList{"2700", "900", "7200", "1800", "3600"}));

  log_.SetOrder(kProjectsByDate);
  EXPECT_EQ(Walk(log_, "Name"), (QStringList{"review", "review", "plan", "write", "write"}));

  // One day: 5 January 2024, given as texts.
  log_.SetOrder(kTasksByProject);
  log_.SetRange({"2024", "1", "5"}, {"2024", "1", "5"});
  ASSERT_EQ(log_.Count(), 3);
  log_.First();  // Alpha review (8:00, 14:00), then alpha plan
  EXPECT_TRUE(log_.IsFirstInGroup(3));
  EXPECT_TRUE(log_.IsFirstInGroup(5));
  EXPECT_DOUBLE_EQ(log_.GroupSum("SumTime3"), 900 + 1800 + 7200);
  EXPECT_DOUBLE_EQ(log_.GroupSum("SumTime4"), 900 + 1800);
  EXPECT_DOUBLE_EQ(log_.GroupSum("SumRate4"), 5.0 + 10.0);
  log_.Next();
  EXPECT_FALSE(log_.IsFirstInGroup(5));
  log_.Next();
  EXPECT_TRUE(log_.IsFirstInGroup(4));
  EXPECT_FALSE(log_.IsFirstInGroup(3));
  EXPECT_DOUBLE_EQ(log_.GroupSum("SumRate5"), 0);  // no rate: adds nothing

  // Choosing the active order keeps the range; another one drops it.
  log_.SetOrder(kTasksByProject);
  EXPECT_EQ(log_.Count(), 3);
  log_.SetOrder(kByTimeStart);
  EXPECT_EQ(log_.Count(), 5);

  EXPECT_THROW(log_.SetOrder("NoSuchOrder"), Error);
  EXPECT_THROW(log_.SetRange({"2024", "x"}, {"2024", "1"}), ConvertError);
}

TEST_F(SmallTableTest, ChangesKeepDerivedFieldsAndOrdersCurrent) {
  log_.SetOrder(kByTimeStart);
  ASSERT_TRUE(log_.FindKey({2024, 1, 5, "10:00:00"}));
  EXPECT_EQ(log_.Value("Name").toString(), QStringLiteral("plan"));

  log_.Edit();
  log_.SetValue("TimeStart", "7:00:00");
  log_.SetValue("TimeDelta", "0:00:59");
  log_.SetValue("Rate", 3600);
  log_.Post();
  // Still the changed record, now first of its day.
  EXPECT_EQ(log_.Value("Name").toString(), QStringLiteral("plan"));
  EXPECT_EQ(log_.Value("Seconds").toInt(), 59);
  EXPECT_DOUBLE_EQ(log_.Value("dRate").toDouble(), 0.59);
  log_.SetRange({2024, 1, 5}, {2024, 1, 5});
  EXPECT_EQ(Walk(log_, "Name"), (QStringList{"plan", "review", "review"}));

  log_.First();
  log_.Delete();
  EXPECT_EQ(log_.Count(), 2);
  EXPECT_EQ(log_.RecordCount(), 4);
  EXPECT_EQ(log_.Value("Name").toString(), QStringLiteral("review"));
  EXPECT_FALSE(log_.FindKey({2024, 1, 5, "7:00:00"}));

  log_.SetCondition("Project = 'beta'", [](const RecordTable& table, int record) {
    return table.Text(record, log_field::kProject) == QLatin1String("beta");
  });
  log_.CancelRange();
  EXPECT_EQ(log_.Count(), 4);  // the condition is off
  log_.SetFiltered(true);
  EXPECT_EQ(Walk(log_, "Year"), QStringList{"2024"});
  EXPECT_EQ(log_.ConditionText(), QStringLiteral("Project = 'beta'"));
}

TEST_F(SmallTableTest, SuspendedUpdatesReachTheModelOnceOnResume) {
  RecordTableModel model(log_);
  QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
  EXPECT_EQ(model.rowCount(), 5);

  log_.DisableControls();
  log_.SetOrder(kByTimeStart);
  log_.SetRange({2024, 1, 5}, {2024, 1, 5});
  log_.First();
  log_.Delete();
  EXPECT_EQ(resets.count(), 0);
  EXPECT_EQ(model.rowCount(), 5);  // still what the grid showed
  for (int row = 0; row < model.rowCount(); ++row) model.data(model.index(row, 0));  // safe
  log_.EnableControls();
  EXPECT_EQ(resets.count(), 1);
  EXPECT_EQ(model.rowCount(), 2);

  AppendRow(log_, {2024, 1, 5, "6:00:00", "0:01:00", "Alpha", "early", 100});
  EXPECT_EQ(resets.count(), 2);
  EXPECT_EQ(model.rowCount(), 3);
}

// --- Against brute force on a random table.

struct Brute {
  const RecordTable& table;
  std::vector<int> fields;

  int Compare(int a, int b, int level) const {
    for (int k = 0; k < level; ++k) {
      const int f = fields[static_cast<size_t>(k)];
      const int c = CompareField(a, b, f);
      if (c != 0) return c;
    }
    return 0;
  }
  int CompareField(int a, int b, int f) const {
    const bool na = table.IsNull(a, f), nb = table.IsNull(b, f);
    if (na || nb) return na == nb ? 0 : (na ? -1 : 1);
    switch (table.Fields()[f].type) {
      case FieldType::kText:
        return CompareText(table.Text(a, f), table.Text(b, f));
      case FieldType::kDouble:
        return table.Double(a, f) < table.Double(b, f) ? -1
                                                       : table.Double(b, f) < table.Double(a, f);
      default:
        return table.Int(a, f) < table.Int(b, f) ? -1 : table.Int(b, f) < table.Int(a, f);
    }
  }
};

TEST(RecordTableRandomTest, AgreesWithBruteForce) {
  std::mt19937 random(20240607);
  const auto pick = [&random](int n) {
    return static_cast<int>(random() % static_cast<unsigned>(n));
  };
  const QStringList projects = {"alpha", "Alpha", "beta", "Gamma", "\u00e9t\u00e9", ""};
  const QStringList names = {"plan", "Plan", "review", "write", "Zed"};
  ReporterTables tables;
  RecordTable& log = tables.log_records;
  for (int i = 0; i < 300; ++i) {
    AppendRow(log, {2022 + pick(3), 1 + pick(3), 1 + pick(4),
                    QStringLiteral("%1:%2:00").arg(pick(24)).arg(pick(60), 2, 10, QChar('0')),
                    QStringLiteral("0:%1:%2")
                        .arg(pick(60), 2, 10, QChar('0'))
                        .arg(pick(60), 2, 10, QChar('0')),
                    projects[pick(projects.size())], names[pick(names.size())],
                    pick(5) == 0 ? QVariant() : QVariant(100 * pick(30))});
  }
  const int seconds = log.FieldIndex("Seconds"), d_rate = log.FieldIndex("dRate");

  for (const QString& order : log.OrderNames()) {
    SCOPED_TRACE(order.toStdString());
    log.SetOrder(order);
    // Any order's key fields, found by walking one record's key.
    std::vector<int> key_fields;
    if (order == kByTimeStart) {
      key_fields = {log_field::kYear, log_field::kMonth, log_field::kDay, log_field::kTimeStart};
    } else if (order == kProjectsByDate) {
      key_fields = {log_field::kProject, log_field::kName, log_field::kYear, log_field::kMonth,
                    log_field::kDay};
    } else {
      key_fields = {log_field::kYear, log_field::kMonth, log_field::kDay, log_field::kProject,
                    log_field::kName};
    }
    const int levels = static_cast<int>(key_fields.size());
    const Brute brute{log, key_fields};

    std::vector<int> expected(static_cast<size_t>(log.RecordCount()));
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(),
                     [&](int a, int b) { return brute.Compare(a, b, levels) < 0; });
    ASSERT_EQ(log.ViewRecords(), expected);

    for (int trial = 0; trial < 25; ++trial) {
      // A range over the first k key fields, bounded by two random records' keys.
      const int k = 1 + pick(std::min(3, levels));
      int low = pick(log.RecordCount()), high = pick(log.RecordCount());
      if (brute.Compare(low, high, k) > 0) std::swap(low, high);
      QVariantList low_values, high_values;
      for (int i = 0; i < k; ++i) {
        low_values << log.RecordValue(low, key_fields[static_cast<size_t>(i)]);
        high_values << log.RecordValue(high, key_fields[static_cast<size_t>(i)]);
      }
      log.SetRange(low_values, high_values);
      std::vector<int> in_range;
      for (int r : expected) {
        if (brute.Compare(r, low, k) >= 0 && brute.Compare(r, high, k) <= 0) in_range.push_back(r);
      }
      ASSERT_EQ(log.ViewRecords(), in_range) << "trial " << trial;

      // First-of-group and sums at every level, for every record of the view.
      int p = 0;
      for (log.First(); !log.Eof(); log.Next(), ++p) {
        const int r = in_range[static_cast<size_t>(p)];
        for (int level = 1; level <= levels; ++level) {
          bool first = true;
          double time = 0, rate = 0;
          for (int q = 0; q < static_cast<int>(in_range.size()); ++q) {
            const int other = in_range[static_cast<size_t>(q)];
            if (brute.Compare(other, r, level) != 0) continue;
            if (q < p) first = false;
            time += log.Int(other, seconds);
            if (!log.IsNull(other, d_rate)) rate += log.Double(other, d_rate);
          }
          ASSERT_EQ(log.IsFirstInGroup(level), first) << "level " << level;
          if (level <= 5) {
            ASSERT_DOUBLE_EQ(log.GroupSum(QStringLiteral("SumTime%1").arg(level)), time);
            ASSERT_NEAR(log.GroupSum(QStringLiteral("SumRate%1").arg(level)), rate, 1e-9);
          }
        }
      }

      // Find by key: the first record of the view with those first fields.
      const int target = pick(log.RecordCount());
      QVariantList key;
      for (int i = 0; i < k; ++i)
        key << log.RecordValue(target, key_fields[static_cast<size_t>(i)]);
      const auto found = std::find_if(in_range.begin(), in_range.end(),
                                      [&](int r) { return brute.Compare(r, target, k) == 0; });
      ASSERT_EQ(log.FindKey(key), found != in_range.end());
      if (found != in_range.end()) {
        ASSERT_EQ(log.Current(), *found);
      }
    }
    log.CancelRange();
  }
}

}  // namespace
}  // namespace ravell
