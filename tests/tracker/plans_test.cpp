#include "plans.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include "atomicfile.h"
#include "daylog.h"
#include "projectlist.h"
#include "timetext.h"

namespace ravell {
namespace {

TEST(Plans, FileKeysByNameAndRestoresBothItemsOfTheSameName) {
  ProjectList projects;
  DayLog log(projects);
  log.RecountTotalTask("Acme", "Mail");
  log.RecountTotalTask("Home", "Mail");
  log.RecountTotalTask("Home", "Read");
  log.SetItemPlan(0, "0:30:00");
  log.SetItemPlan(1, "1:00:00");
  log.SetItemPlan(2, "");
  EXPECT_EQ(ComposePlans(log), QByteArray("Mail=0:30:00\r\nMail=1:00:00\r\nRead=\r\n"));

  DayLog restarted(projects);
  restarted.RecountTotalTask("Acme", "Mail");
  restarted.RecountTotalTask("Home", "MAIL");
  restarted.RecountTotalTask("Home", "Code");
  ApplyPlans("Mail=0:30:00\r\nMail=1:00:00\nRead=\r\n", restarted);
  EXPECT_EQ(restarted.Item(0).plan, "0:30:00");
  EXPECT_EQ(restarted.Item(1).plan, "0:30:00");  // first line wins, case ignored
  EXPECT_EQ(restarted.Item(2).plan, "");         // no line: empty plan

  restarted.RecountTotalTask("Home", "Later");  // created after start-up
  EXPECT_EQ(restarted.Item(3).plan, "-");
}

TEST(Plans, OnlyTodaysFileCounts) {
  QTemporaryDir folder;
  const QString path = folder.path() + "/plans.lst";
  const QDate today = QDate::currentDate();
  EXPECT_FALSE(PlansFileIsCurrent(path, today));
  WriteFileAtomic(path, "Mail=0:30:00\r\n");
  EXPECT_TRUE(PlansFileIsCurrent(path, today));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(QDateTime(today.addDays(-1), QTime(23, 59, 59)),
                               QFileDevice::FileModificationTime));
  file.close();
  EXPECT_FALSE(PlansFileIsCurrent(path, today));
}

TEST(Plans, DialogPresetAndResult) {
  EXPECT_EQ(FormatTime(PlanPreset("-")), "1:00:00");
  EXPECT_EQ(FormatTime(PlanPreset("")), "1:00:00");
  EXPECT_EQ(FormatTime(PlanPreset("0:45:00")), "0:45:00");
  EXPECT_EQ(FormatTime(PlanPreset("garbage")), "1:00:00");
  EXPECT_EQ(PlanFromTime(EncodeTime(0, 0, 0)), "-");
  EXPECT_EQ(PlanFromTime(EncodeTime(1, 30, 0)), "1:30:00");
}

}  // namespace
}  // namespace ravell
