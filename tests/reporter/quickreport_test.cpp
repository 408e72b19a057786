#include "quickreport.h"

#include <gtest/gtest.h>

namespace ravell {
namespace {

TEST(QuickReportTest, DefaultStructureKeepsStoredOrderAndNames) {
  QuickReport report;
  QStringList names;
  for (const ReportBand& band : report.Bands()) names << band.name;
  EXPECT_EQ(names.join(QLatin1Char(' ')),
            QStringLiteral("GroupTotallevel5 Details GroupLevel1 GroupTotalLevel1 GroupLevel2 "
                           "GroupTotalLevel2 QRColummnHeader Summary GroupLevel3 GroupLevel4 "
                           "GroupTotalLevel3 GroupTotallevel4 GroupLevel5 TitleBand1 "
                           "PageHeaderBand1 PageFooterBand1 Info Description"));
  for (int level = 1; level <= kReportLevels; ++level) {
    const ReportBand* header = report.Band(QuickReport::GroupHeaderName(level));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->footer_band, QuickReport::GroupFooterName(level));
    EXPECT_NE(report.Band(header->footer_band), nullptr);
    for (const QString& element :
         {QuickReport::LevelTitleName(level), QuickReport::LevelSubtotalName(level),
          QuickReport::LevelTimeName(level), QuickReport::LevelRateName(level)})
      EXPECT_NE(report.Element(element), nullptr) << element.toStdString();
  }
  EXPECT_EQ(report.Band("GroupLevel4")->color, 0xffc0c0c0u);
  EXPECT_EQ(report.Element("GroupLevel2Title")->data_field, "sMonth");
  EXPECT_EQ(report.Element("QRTitleText")->caption, "Ravell Report");
  EXPECT_EQ(report.Element("QRRateText")->left, 620);
  EXPECT_EQ(report.Band("Description")->parent, "Info");
}

TEST(QuickReportTest, BindingFollowsTheGroupingKey) {
  QuickReport report;
  report.BindReportGroups({{"RecordDate", "Project", "Name", "Rate", "Seconds"}, 3});
  EXPECT_EQ(report.LevelField(1), "RecordDate");
  EXPECT_EQ(report.Element("GroupTotalLevel1Title")->expression, "'Date subtotal:'");
  EXPECT_EQ(report.Element("GroupTotalLevel3Title")->expression, "'Task subtotal:'");
  EXPECT_EQ(report.Band("GroupLevel4")->height, 0);
  EXPECT_EQ(report.Band("GroupTotallevel5")->height, 0);

  report.BindReportGroups({{"Month", "Year", "Day", "Project", "Name"}, 5});
  EXPECT_EQ(report.Element("GroupLevel1Title")->data_field, "sMonth");
  EXPECT_EQ(report.Element("GroupTotalLevel1Title")->expression, "'Month subtotal:'");
  EXPECT_EQ(report.Band("GroupLevel5")->height, 20);
  EXPECT_EQ(report.Band("GroupTotallevel4")->height, 20);

  report.SetReportGroup(6, false);  // no such level: nothing changes
  report.SetReportGroup(0, false);
  EXPECT_EQ(report.Band("GroupLevel5")->height, 20);
}

TEST(QuickReportTest, HeaderExpressionsReadBackAsTyped) {
  const HeaderExpression cases[] = {
      {"Weekly", true, true, true},
      {"", false, true, false},
      {"It's +Time", false, false, false},
      {"''", true, false, true},
  };
  for (const HeaderExpression& parts : cases) {
    const QString expression = BuildHeaderExpression(parts);
    EXPECT_EQ(ParseHeaderExpression(expression), parts) << expression.toStdString();
  }
  EXPECT_EQ(BuildHeaderExpression({"Weekly", true, true, true}),
            "'Weekly'+' Page: '+PAGENUMBER+' Report date: '+Date+' '+Time");
  EXPECT_EQ(LiteralText("'a''b'"), QString("a'b"));
  EXPECT_FALSE(LiteralText("DisplayLog.Name").has_value());
}

TEST(QuickReportTest, FiguresAndHeights) {
  const std::pair<qint64, const char*> times[] = {
      {0, "00:00:00"}, {1809, "00:30:09"}, {5409, "01:30:09"}, {360000, "100:00:00"},
      {400000, "111:06:40"}};
  for (const auto& [seconds, text] : times) EXPECT_EQ(ReportTimeFigure(seconds), text);
  ReportFont font;
  const std::pair<int, int> heights[] = {{8, 11}, {10, 13}, {12, 16}, {13, 17}, {16, 21}};
  for (const auto& [points, pixels] : heights) {
    font.point_size = points;
    EXPECT_EQ(TextHeight(font), pixels);
  }
}

}  // namespace
}  // namespace ravell
