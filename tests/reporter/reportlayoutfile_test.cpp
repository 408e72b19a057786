#include "reportlayoutfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "../support/recordingmessages.h"
#include "atomicfile.h"
#include "error.h"
#include "reportsettings.h"

namespace ravell {
namespace {

const GroupingKey kFiveLevels{{"Year", "Month", "Day", "Project", "Name"}, 5};
const GroupingKey kDateLevels{{"RecordDate", "Project", "Name", "Rate", "Seconds"}, 3};

class ReportLayoutFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("report.rvr");
    report_.BindReportGroups(kFiveLevels);
    settings_.SetReportPage(kFiveLevels);
  }

  QTemporaryDir dir_;
  QString path_;
  QuickReport report_;
  testing::RecordingMessages messages_;
  ReportSettings settings_{report_, messages_};
};

// Every property but the expressions comes back; the file lists the bands
// and their elements in the report's stored order.
TEST_F(ReportLayoutFileTest, SaveThenLoadRestoresAllButExpressions) {
  QuickReport saved;
  saved.interval = 4;
  saved.page.zoom = 90;
  saved.base_font.family = "Liberation Sans";
  for (ReportBand& band : saved.Bands()) {
    band.color = 0xff102030;
    band.height += 1;
    band.frame = true;
    for (ReportElement& element : band.elements) {
      element.left += 2;
      element.font.italic = !element.font.italic;
      element.font.color = 0xff00ff00;
      element.alignment = ReportAlignment::kRight;
      element.caption += "'x\"";
      element.data_field += "2";
      element.expression = "'changed'";
      element.flag = 1;
      element.word_wrap = !element.word_wrap;
    }
  }
  SaveReportLayout(saved, path_);

  const QuickReport fresh;
  QuickReport loaded;
  LoadReportLayout(loaded, path_);
  QuickReport expected = saved;
  for (ReportBand& band : expected.Bands())
    for (ReportElement& element : band.elements)
      element.expression = fresh.Element(element.name)->expression;
  EXPECT_EQ(ReportLayoutBytes(loaded).toStdString(), ReportLayoutBytes(expected).toStdString());
  EXPECT_TRUE(loaded == expected);

  const QJsonObject root = QJsonDocument::fromJson(ReadWholeFile(path_)).object();
  EXPECT_EQ(root["version"].toInt(), 1);
  QStringList names;
  for (const QJsonValue& band : root["bands"].toArray()) {
    names << band["name"].toString();
    for (const QJsonValue& element : band["elements"].toArray())
      names << element["name"].toString();
  }
  EXPECT_EQ(names.join(' '),
            "GroupTotallevel5 GroupLevel5Time GroupLevel5Rate GroupTotalLevel5Title "
            "Details DetailsTime DetailsRate DetailsExp GroupLevel1 GroupLevel1Title "
            "GroupTotalLevel1 GroupLevel1Time GroupTotalLevel1Title GroupLevel1Rate "
            "GroupLevel2 GroupLevel2Title GroupTotalLevel2 GroupLevel2Time "
            "GroupTotalLevel2Title GroupLevel2Rate QRColummnHeader QRTimeText QRRateText "
            "Summary SummaryTitle SummaryTime SummaryRate GroupLevel3 GroupLevel3Title "
            "GroupLevel4 GroupLevel4Title GroupTotalLevel3 GroupLevel3Time "
            "GroupTotalLevel3Title GroupLevel3Rate GroupTotallevel4 GroupLevel4Time "
            "GroupTotalLevel4Title GroupLevel4Rate GroupLevel5 GroupLevel5Title TitleBand1 "
            "QRTitleText PageHeaderBand1 HeaderExp PageFooterBand1 FooterExp Info InfoLabel "
            "Description DescriptionLabel");
}

TEST_F(ReportLayoutFileTest, DamagedOrForeignFilesChangeNothing) {
  const QByteArray good = ReportLayoutBytes(QuickReport());
  QByteArray renamed = good;
  renamed.replace("\"DetailsTime\"", "\"DetailTime\"");
  QByteArray wrong_type = good;
  wrong_type.replace("\"frame\": false", "\"frame\": 0");
  QJsonObject root = QJsonDocument::fromJson(good).object();
  QJsonArray bands = root["bands"].toArray();
  bands.removeLast();
  QJsonObject short_root = root;
  short_root["bands"] = bands;
  QJsonObject newer = root;
  newer["version"] = 2;
  QJsonObject past_int = root;
  past_int["version"] = 1e12;

  const struct {
    const char* name;
    QByteArray bytes;
    const char* message;
  } cases[] = {
      {"empty", "", "is not a report layout file"},
      {"not json", "GroupLevel1=20\r\n", "is not a report layout file"},
      {"truncated", good.left(good.size() / 2), "is not a report layout file"},
      {"array", "[1, 2]", "is not a report layout file"},
      {"other json", R"({"format": "notes", "version": 1})", "is not a report layout file"},
      {"newer", QJsonDocument(newer).toJson(), "written by a newer version"},
      {"number past int", QJsonDocument(past_int).toJson(), "has a wrong version"},
      {"band missing", QJsonDocument(short_root).toJson(), "holds 17 bands instead of 18"},
      {"element renamed", renamed, "element 1 of band Details is not DetailsTime"},
      {"wrong type", wrong_type, "has a wrong frame"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QuickReport report;
    report.interval = 6;
    const QuickReport before = report;
    try {
      ReadReportLayout(report, c.bytes, path_);
      ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
      EXPECT_TRUE(e.message().contains(c.message)) << e.message().toStdString();
      EXPECT_TRUE(e.message().contains(path_));
    }
    EXPECT_EQ(report, before);
  }
}

TEST_F(ReportLayoutFileTest, SaveChangeLoadRestoresAllButHeaderAndFooterTexts) {
  settings_.ReportDataTabsChange(3);
  settings_.CheckDataTotalOnlyClick(true);
  settings_.Values().text_title = "Saved title";
  settings_.Values().report_interval = "12";
  ASSERT_TRUE(settings_.SetSampleColor(SampleId::kPanelSummaryTime, 0xff00ff00));
  ASSERT_TRUE(settings_.SaveReportClick(path_));
  // Read back after loading shows level 1.
  settings_.ReportDataTabsChange(0);
  const ReportPageValues saved = settings_.Values();

  ReportPageValues& v = settings_.Values();
  v.text_title = "Changed";
  v.report_interval = "3";
  v.check_show_time = false;
  v.text_header = "Weekly";
  v.header_check_time = true;
  v.text_footer = "End";
  settings_.ReportDataTabsChange(2);
  v.report_data_level_shift = "30";
  settings_.ReportDataTabsChange(0);
  ASSERT_TRUE(settings_.SetSampleColor(SampleId::kPanelSummary, 0xff0000ff));

  ASSERT_TRUE(settings_.LoadReportClick(path_, kFiveLevels));
  ReportPageValues expected = saved;
  expected.text_header = "Weekly";
  expected.header_check_time = true;
  expected.text_footer = "End";
  EXPECT_EQ(v, expected);
  EXPECT_EQ(settings_.LevelFormats()[2].title_left, 0);
  EXPECT_TRUE(settings_.LevelFormats()[3].subtotal_only);
  EXPECT_TRUE(messages_.shown.isEmpty());
}

TEST_F(ReportLayoutFileTest, LoadWithoutFileOrWithDamagedFileChangesNothing) {
  settings_.Values().text_title = "Kept";
  const ReportPageValues values = settings_.Values();
  const QuickReport before = report_;
  EXPECT_FALSE(settings_.LoadReportClick(path_, kFiveLevels));
  EXPECT_TRUE(messages_.shown.isEmpty());

  WriteFileAtomic(path_, "{\"format\":");
  EXPECT_FALSE(settings_.LoadReportClick(path_, kFiveLevels));
  EXPECT_EQ(report_, before);
  EXPECT_EQ(settings_.Values(), values);
  ASSERT_EQ(messages_.shown.size(), 1);
  EXPECT_EQ(messages_.shown[0].icon, MsgIcon::kError);
}

// A layout saved under another grouping takes the current one's levels.
TEST_F(ReportLayoutFileTest, LoadingRebindsLevelsToTheCurrentGrouping) {
  settings_.ReportDataTabsChange(3);
  settings_.CheckDataTotalOnlyClick(true);
  ASSERT_TRUE(settings_.SaveReportClick(path_));

  report_.BindReportGroups(kDateLevels);
  settings_.SetReportPage(kDateLevels);
  ASSERT_TRUE(settings_.LoadReportClick(path_, kDateLevels));
  EXPECT_EQ(report_.LevelField(1), "RecordDate");
  EXPECT_EQ(report_.Element("GroupLevel1Title")->data_field, "RecordDate");
  EXPECT_EQ(report_.Band("GroupLevel4")->height, 0);
  EXPECT_EQ(report_.Band("GroupTotallevel4")->height, 0);
  EXPECT_FALSE(settings_.LevelFormats()[3].visible);
  EXPECT_EQ(settings_.LevelTabs().size(), 3);
}

TEST_F(ReportLayoutFileTest, UnwritableFileIsReported) {
  const QString missing = dir_.filePath("no/such/folder/report.rvr");
  EXPECT_FALSE(settings_.SaveReportClick(missing));
  ASSERT_EQ(messages_.shown.size(), 1);
  EXPECT_TRUE(messages_.shown[0].text.contains(missing));
}

}  // namespace
}  // namespace ravell
