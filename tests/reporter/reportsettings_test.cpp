#include "reportsettings.h"

#include <gtest/gtest.h>

#include "../support/recordingmessages.h"

namespace ravell {
namespace {

const GroupingKey kFiveLevels{{"Year", "Month", "Day", "Project", "Name"}, 5};
const GroupingKey kDateLevels{{"RecordDate", "Project", "Name", "Rate", "Seconds"}, 3};

constexpr QRgb kRed = 0xffff0000;
constexpr QRgb kWhite = 0xffffffff;

// A report bound to the default grouping and the page read back from it, as
// at start-up without a layout file.
class ReportSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_.SetDataScope([] { return QStringLiteral("Data for date 3/4/24"); });
    report_.BindReportGroups(kFiveLevels);
    settings_.SetReportPage(kFiveLevels);
  }

  ReportPageValues& Values() { return settings_.Values(); }
  const ReportElement& Element(const char* name) { return *report_.Element(name); }
  const ReportBand& Band(const char* name) { return *report_.Band(name); }

  QuickReport report_;
  testing::RecordingMessages messages_;
  ReportSettings settings_{report_, messages_};
};

TEST_F(ReportSettingsTest, DefaultsAreReadFromTheFreshReport) {
  const ReportPageValues& v = Values();
  EXPECT_EQ(v.report_interval, "10");
  EXPECT_EQ(v.text_title, "Ravell Report");
  EXPECT_EQ(v.text_time_header, "Spent time");
  EXPECT_EQ(v.text_rate_header, "Rate");
  EXPECT_EQ(v.description_memo, "Your report description");
  EXPECT_EQ(v.details_shift, "10");
  EXPECT_EQ(v.text_header, "");
  EXPECT_EQ((std::array{v.header_check_page, v.header_check_date, v.header_check_time}),
            (std::array{false, true, false}));
  EXPECT_EQ((std::array{v.footer_check_page, v.footer_check_date, v.footer_check_time}),
            (std::array{true, false, false}));
  EXPECT_TRUE(v.check_report_title && v.check_show_info && v.check_show_description &&
              v.check_show_time && v.check_show_rate && v.check_show_colummn_header &&
              v.check_show_details && v.check_show_summary && v.check_page_header &&
              v.check_page_footer && v.check_data_bands);
  EXPECT_FALSE(v.check_data_total_only);

  const FormatSample title = v.Sample(SampleId::kPanelTitle);
  EXPECT_EQ(title.alignment, ReportAlignment::kCenter);
  EXPECT_EQ(title.font.point_size, 16);
  EXPECT_TRUE(title.font.bold);
  EXPECT_EQ(v.Sample(SampleId::kPanelDetailsTime).font.family, "MS Sans Serif");
  EXPECT_EQ(v.Sample(SampleId::kPanelDescription).alignment, ReportAlignment::kLeft);
  EXPECT_EQ(v.Sample(SampleId::kPanelDataTitle).font.point_size, 13);

  EXPECT_EQ(settings_.LevelTabs(),
            QStringList({"1: Year", "2: Month", "3: Day", "4: Project", "5: Task"}));
  EXPECT_EQ(settings_.LevelFormats()[3].header_color, 0xffc0c0c0u);
  EXPECT_EQ(settings_.LevelFormats()[3].title_font.point_size, 10);

  settings_.SetReportPage(kDateLevels);
  EXPECT_EQ(settings_.LevelTabs(), QStringList({"1: Date", "2: Project", "3: Task"}));
}

// Apply then read back gives the page the values it had: nothing is lost or
// changed on the way through the report.
TEST_F(ReportSettingsTest, ReadBackReturnsWhatWasApplied) {
  ReportPageValues& v = Values();
  v.report_interval = "7";
  v.check_show_info = false;
  v.text_title = "Week 12";
  v.description_memo = "first line\nsecond line";
  v.text_footer = "Bob's \"best\" week";
  v.footer_check_time = true;
  v.details_shift = "40";
  v.check_show_rate = false;
  v.Sample(SampleId::kPanelInfo).alignment = ReportAlignment::kRight;
  settings_.CheckDataTotalOnlyClick(true);
  const ReportPageValues applied = v;
  const auto levels = settings_.LevelFormats();

  ASSERT_TRUE(settings_.ApplyReportPage());
  EXPECT_EQ(Element("DescriptionLabel").caption, "first line\r\nsecond line");
  EXPECT_EQ(Element("InfoLabel").caption, "Data for date 3/4/24");
  settings_.SetReportPage(kFiveLevels);
  EXPECT_EQ(v, applied);
  EXPECT_EQ(settings_.LevelFormats(), levels);
}

TEST_F(ReportSettingsTest, BandHeightsFollowTextHeightsAndInterval) {
  Values().report_interval = "5";
  Values().check_show_description = false;
  ASSERT_TRUE(settings_.ApplyReportPage());
  // Arial 10 pt is 13 px, 16 pt 21 px, 12 pt 16 px, 8 pt 11 px.
  EXPECT_EQ(Band("TitleBand1").height, 21 + 5);
  EXPECT_EQ(Band("Info").height, 13 + 5);
  EXPECT_EQ(Band("Description").height, 0);
  EXPECT_EQ(Band("QRColummnHeader").height, 13 + 5);
  EXPECT_EQ(Band("PageHeaderBand1").height, 13 + 5 + 3);
  EXPECT_EQ(Band("PageFooterBand1").height, 13 + 5);
  EXPECT_EQ(Band("Summary").height, 16 + 2 * 5);
  EXPECT_EQ(Element("SummaryTitle").top, 5 + 3);
  EXPECT_EQ(Element("SummaryRate").top, 5 + 3);
  EXPECT_EQ(Band("Details").height, 11 + 5);
  EXPECT_EQ(Band("GroupLevel1").height, 17 + 5);
  EXPECT_EQ(Band("GroupTotalLevel1").height, 13 + 5);
  EXPECT_EQ(Element("GroupTotalLevel2Title").expression, "'Month subtotal:'");
  EXPECT_EQ(Element("DetailsExp").width, 475 - 10);
  EXPECT_EQ(report_.interval, 5);
}

TEST_F(ReportSettingsTest, HeaderTextWithAllAdditionsReadsBack) {
  Values().text_header = "Weekly";
  Values().header_check_page = Values().header_check_date = Values().header_check_time = true;
  ASSERT_TRUE(settings_.ApplyReportPage());
  EXPECT_EQ(Element("HeaderExp").expression,
            "'Weekly'+' Page: '+PAGENUMBER+' Report date: '+Date+' '+Time");

  Values() = ReportPageValues();
  settings_.SetReportPage(kFiveLevels);
  EXPECT_EQ(Values().text_header, "Weekly");
  EXPECT_TRUE(Values().header_check_page && Values().header_check_date &&
              Values().header_check_time);
}

TEST_F(ReportSettingsTest, TimeColumnOffParksEveryTimeFigure) {
  Values().check_show_time = false;
  ASSERT_TRUE(settings_.ApplyReportPage());
  QStringList times = {"QRTimeText", "DetailsTime", "SummaryTime"};
  for (int level = 1; level <= kReportLevels; ++level) times << QuickReport::LevelTimeName(level);
  for (const QString& name : times)
    EXPECT_EQ(report_.Element(name)->top, kHiddenPosition) << name.toStdString();

  EXPECT_EQ(Element("QRRateText").top, 1);
  EXPECT_EQ(Element("QRRateText").left, 620);
  EXPECT_EQ(Element("DetailsRate").top, 3);
  EXPECT_EQ(Element("DetailsRate").left, 620);
  EXPECT_EQ(Element("GroupLevel3Rate").top, 3);

  settings_.SetReportPage(kFiveLevels);
  EXPECT_FALSE(Values().check_show_time);
  EXPECT_TRUE(Values().check_show_rate);
}

TEST_F(ReportSettingsTest, LevelShiftSurvivesSwitchingTabs) {
  settings_.ReportDataTabsChange(2);
  Values().report_data_level_shift = "20";
  settings_.ReportDataTabsChange(0);
  EXPECT_EQ(Values().report_data_level_shift, "0");
  settings_.ReportDataTabsChange(2);
  EXPECT_EQ(Values().report_data_level_shift, "20");

  ASSERT_TRUE(settings_.ApplyReportPage());
  EXPECT_EQ(Element("GroupLevel3Title").left, 20);
  EXPECT_EQ(Element("GroupLevel3Title").width, 705 - 20);
  EXPECT_EQ(Element("GroupTotalLevel3Title").left, 20);
  EXPECT_EQ(Element("GroupTotalLevel3Title").width, 475 - 20);
  EXPECT_EQ(Element("GroupLevel2Title").left, 0);

  // Leaving the field empty stores 0.
  Values().report_data_level_shift = "";
  settings_.ReportDataLevelShiftExit();
  EXPECT_EQ(Values().report_data_level_shift, "0");
  EXPECT_EQ(settings_.LevelFormats()[2].subtotal_left, 0);
  Values().details_shift = "";
  settings_.DetailsShiftExit();
  EXPECT_EQ(Values().details_shift, "0");
}

TEST_F(ReportSettingsTest, SubtotalOnlyShowsTheFooterHeadedByTheGroupValue) {
  settings_.ReportDataTabsChange(3);  // 4: Project
  settings_.CheckDataTotalOnlyClick(true);
  ASSERT_TRUE(settings_.ApplyReportPage());
  EXPECT_EQ(Band("GroupLevel4").height, 0);
  EXPECT_EQ(Band("GroupTotallevel4").height, 13 + 10);
  EXPECT_EQ(Element("GroupTotalLevel4Title").expression, "DisplayLog.Project");
  EXPECT_EQ(Element("GroupTotalLevel4Title").flag, 1);

  // Read back keeps it on although the header band is gone.
  settings_.SetReportPage(kFiveLevels);
  EXPECT_TRUE(settings_.LevelFormats()[3].visible);
  EXPECT_TRUE(settings_.LevelFormats()[3].subtotal_only);

  settings_.ReportDataTabsChange(3);
  EXPECT_TRUE(Values().check_data_total_only);
  settings_.CheckDataTotalOnlyClick(false);
  ASSERT_TRUE(settings_.ApplyReportPage());
  EXPECT_EQ(Element("GroupTotalLevel4Title").expression, "'Project subtotal:'");
  EXPECT_EQ(Element("GroupTotalLevel4Title").flag, 0);
  EXPECT_GT(Band("GroupLevel4").height, 0);
}

TEST_F(ReportSettingsTest, HidingALevelClearsSubtotalOnly) {
  settings_.ReportDataTabsChange(1);
  settings_.CheckDataTotalOnlyClick(true);
  settings_.CheckDataBandsClick(false);
  EXPECT_FALSE(Values().check_data_total_only);
  EXPECT_FALSE(settings_.LevelFormats()[1].subtotal_only);

  ASSERT_TRUE(settings_.ApplyReportPage());
  EXPECT_EQ(Band("GroupLevel2").height, 0);
  EXPECT_EQ(Band("GroupTotalLevel2").height, 0);
  EXPECT_EQ(Element("GroupTotalLevel2Title").flag, 0);
  settings_.SetReportPage(kFiveLevels);
  EXPECT_FALSE(settings_.LevelFormats()[1].visible);
}

// A level set to "subtotal only" must not print once the grouping has only
// three levels and levels 4 and 5 are hidden.
TEST_F(ReportSettingsTest, ShortDateGroupingHidesSubtotalOnlyLevels) {
  settings_.ReportDataTabsChange(4);
  settings_.CheckDataTotalOnlyClick(true);
  ASSERT_TRUE(settings_.ApplyReportPage());

  report_.BindReportGroups(kDateLevels);
  settings_.SetReportPage(kDateLevels);
  ASSERT_TRUE(settings_.ApplyReportPage());
  EXPECT_EQ(Band("GroupLevel5").height, 0);
  EXPECT_EQ(Band("GroupTotallevel5").height, 0);
}

TEST_F(ReportSettingsTest, BackgroundColourReachesTheSamplesOfOneBand) {
  ASSERT_TRUE(settings_.SetSampleColor(SampleId::kPanelDetailsTime, kRed));
  for (SampleId id :
       {SampleId::kPanelDetailsTitle, SampleId::kPanelDetailsTime, SampleId::kPanelDetailsRate})
    EXPECT_EQ(Values().Sample(id).color, kRed);
  EXPECT_EQ(Band("Details").color, kRed);
  EXPECT_EQ(Values().Sample(SampleId::kPanelSummary).color, kWhite);

  // On the levels: the subtotal, time and rate samples share the footer.
  settings_.ReportDataTabsChange(1);
  ASSERT_TRUE(settings_.SetSampleColor(SampleId::kPanelDataRate, kRed));
  EXPECT_EQ(Values().Sample(SampleId::kPanelDataTotal).color, kRed);
  EXPECT_EQ(Values().Sample(SampleId::kPanelDataTitle).color, kWhite);
  EXPECT_EQ(Band("GroupTotalLevel2").color, kRed);
  EXPECT_EQ(Band("GroupLevel2").color, kWhite);
  EXPECT_EQ(Band("GroupTotalLevel1").color, kWhite);
  ASSERT_TRUE(settings_.SetSampleColor(SampleId::kPanelDataTitle, kRed));
  EXPECT_EQ(Band("GroupLevel2").color, kRed);
}

TEST_F(ReportSettingsTest, FontAndAlignmentReachTheirElements) {
  ReportFont courier;
  courier.family = "Courier";
  courier.point_size = 14;
  courier.bold = true;
  ASSERT_TRUE(settings_.SetSampleFont(SampleId::kPanelColummns, courier));
  EXPECT_EQ(Element("QRTimeText").font, courier);
  EXPECT_EQ(Element("QRRateText").font, courier);
  EXPECT_EQ(Band("QRColummnHeader").height, 19 + 10);

  settings_.ReportDataTabsChange(2);
  ASSERT_TRUE(settings_.SetSampleFont(SampleId::kPanelDataTime, courier));
  ASSERT_TRUE(settings_.SetSampleAlignment(SampleId::kPanelDataTitle, ReportAlignment::kRight));
  EXPECT_EQ(Element("GroupLevel3Time").font, courier);
  EXPECT_EQ(Element("GroupLevel3Title").alignment, ReportAlignment::kRight);
  EXPECT_NE(Element("GroupLevel2Time").font, courier);
  EXPECT_EQ(settings_.LevelFormats()[2].time_font, courier);
}

TEST_F(ReportSettingsTest, EmptyIntervalStopsApplyAndChangesNothing) {
  Values().text_title = "Changed";
  const QuickReport before = report_;
  for (const char* interval : {"", "1x"}) {
    Values().report_interval = interval;
    EXPECT_FALSE(settings_.ApplyReportPage());
    EXPECT_FALSE(settings_.SetSampleColor(SampleId::kPanelTitle, kRed));
  }
  EXPECT_EQ(report_, before);
  EXPECT_EQ(messages_.Texts().first(), "'' is not a valid integer value");
  EXPECT_EQ(messages_.shown.size(), 4);
}

// The interval is kept by itself, so hiding the title does not lose it.
TEST_F(ReportSettingsTest, IntervalReadsBackWithTheTitleHidden) {
  Values().report_interval = "15";
  Values().check_report_title = false;
  ASSERT_TRUE(settings_.ApplyReportPage());
  EXPECT_EQ(Band("TitleBand1").height, 0);
  settings_.SetReportPage(kFiveLevels);
  EXPECT_EQ(Values().report_interval, "15");
  EXPECT_FALSE(Values().check_report_title);
}

}  // namespace
}  // namespace ravell
