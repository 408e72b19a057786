#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <stdexcept>

#include "analysis.h"
#include "error.h"
#include "reportengine.h"
#include "reportgenerator.h"
#include "reportrender.h"

#include "../support/logrecord.h"

namespace ravell {
namespace {

struct Rec {
  QDate date;
  QString project, name;
  QString delta = QStringLiteral("1:00:00");
  QString start = QStringLiteral("9:00:00");
  int rate = 3600;  // 36.00 an hour: a second earns a cent
};

// The analysis binds the report at each Apply, as the main window does.
class BindingView : public AnalysisView {
 public:
  explicit BindingView(QuickReport& report) : report_(report) {}
  void BindReportGroups(const GroupingKey& key) override { report_.BindReportGroups(key); }

 private:
  QuickReport& report_;
};

class ReportTest : public ::testing::Test {
 protected:
  void Load(std::initializer_list<Rec> records) {
    for (const Rec& r : records)
      testing::AppendLogRecord(tables_.log_records, r.date, r.start, r.delta, r.project, r.name,
                               r.rate);
    tables_.log_records.BuildOrders();
  }
  void Apply(const FilterSettings& settings = {}) {
    analysis_.StartQueryButtonClick(settings, !applied_);
    applied_ = true;
  }
  ReportDocument Generate() {
    ReportDocument shown;
    ReportGenerator generator(report_, analysis_, clock_);
    EXPECT_TRUE(
        generator.GenerateReportClick([this] { return ApplyReportDefaults(report_, analysis_); },
                                      [&](const ReportDocument& document) { shown = document; }));
    return shown;
  }
  // Texts of one element over all pages.
  static QStringList Texts(const ReportDocument& document, const QString& element) {
    QStringList texts;
    for (const LaidOutPage& page : document.pages) texts << page.Texts(element);
    return texts;
  }
  static QStringList Bands(const ReportDocument& document) {
    QStringList bands;
    for (const LaidOutPage& page : document.pages) bands << page.Bands();
    return bands;
  }

  QuickReport report_;
  ReporterTables tables_;
  BindingView view_{report_};
  ReporterAnalysis analysis_{tables_, &view_};
  ManualClock clock_{EncodeDate(QDate(2004, 6, 1)) + EncodeTime(14, 5, 0)};
  bool applied_ = false;
};

TEST_F(ReportTest, DefaultGroupingPrintsNestedGroupsWithSubtotals) {
  Load({{{2004, 5, 12}, "P", "A", "1:00:00"},
        {{2004, 5, 12}, "P", "A", "0:30:09", "10:00:00"},
        {{2004, 5, 12}, "P", "B", "0:10:00"},
        {{2004, 5, 13}, "Q", "A", "0:01:00"}});
  Apply();
  const ReportDocument document = Generate();
  ASSERT_EQ(document.pages.size(), 1u);
  // Columns: time at 490 px and rate at 620 px, eight pixels a character.
  const QString expected =
      "                                   Report date: 6/1/04\r\n"
      "                                      Ravell Report\r\n"
      "                         Data for period from 5/12/04 to 5/13/04\r\n"
      "                  Data grouping order: Year, Month, Day, Project, Task\r\n"
      "Your report description\r\n"
      "                                                             Spent time      Rate\r\n"
      "2004\r\n"
      "May\r\n"
      "12\r\n"
      "P\r\n"
      "A\r\n"
      " From 9:00:00 To 9:00:00                                     01:00:00        36.00\r\n"
      " From 10:00:00 To 10:00:00                                   00:30:09        18.09\r\n"
      "Task subtotal:                                               01:30:09        54.09\r\n"
      "B\r\n"
      " From 9:00:00 To 9:00:00                                     00:10:00        6.00\r\n"
      "Task subtotal:                                               00:10:00        6.00\r\n"
      "Project subtotal:                                            01:40:09        60.09\r\n"
      "Day subtotal:                                                01:40:09        60.09\r\n"
      "13\r\n"
      "Q\r\n"
      "A\r\n"
      " From 9:00:00 To 9:00:00                                     00:01:00        0.60\r\n"
      "Task subtotal:                                               00:01:00        0.60\r\n"
      "Project subtotal:                                            00:01:00        0.60\r\n"
      "Day subtotal:                                                00:01:00        0.60\r\n"
      "Month subtotal:                                              01:41:09        60.69\r\n"
      "Year subtotal:                                               01:41:09        60.69\r\n"
      "Report summary:                                              01:41:09        60.69\r\n"
      "                                         Page: 1\r\n";
  EXPECT_EQ(ReportToText(document), expected);
}

TEST_F(ReportTest, ShortDateFormatHasNoLevelFourAndFive) {
  // Two rates within one task would be groups of level 4 if it printed.
  Load({{{2004, 5, 12}, "P", "A", "1:00:00"},
        {{2004, 5, 12}, "P", "A", "0:30:00", "9:00:00", 7200},
        {{2004, 5, 13}, "P", "A", "0:15:00"}});
  analysis_.Grouping().RadioDateShortClick();
  Apply();
  const ReportDocument document = Generate();
  const QStringList bands = Bands(document);
  for (const char* hidden : {"GroupLevel4", "GroupLevel5", "GroupTotallevel4", "GroupTotallevel5"})
    EXPECT_FALSE(bands.contains(QLatin1String(hidden))) << hidden;
  EXPECT_EQ(Texts(document, "GroupLevel1Title"), (QStringList{"5/12/04", "5/13/04"}));
  EXPECT_EQ(Texts(document, "GroupLevel3Title"), (QStringList{"A", "A"}));
  EXPECT_EQ(Texts(document, "GroupTotalLevel1Title"),
            (QStringList{"Date subtotal:", "Date subtotal:"}));
  EXPECT_EQ(Texts(document, "GroupTotalLevel2Title"),
            (QStringList{"Project subtotal:", "Project subtotal:"}));
  EXPECT_EQ(Texts(document, "GroupTotalLevel3Title"),
            (QStringList{"Task subtotal:", "Task subtotal:"}));
  EXPECT_EQ(Texts(document, "GroupLevel3Time"), (QStringList{"01:30:00", "00:15:00"}));
  EXPECT_EQ(Texts(document, "GroupLevel3Rate"), (QStringList{"72.00", "9.00"}));
}

TEST_F(ReportTest, MonthAtLevelOneAndLongTotals) {
  // Five days of 20 hours: a grand total of 360,000 s.
  Load({{{2004, 5, 10}, "P", "A", "20:00:00"},
        {{2004, 5, 11}, "P", "A", "20:00:00"},
        {{2004, 5, 12}, "P", "A", "20:00:00"},
        {{2004, 6, 1}, "P", "A", "20:00:00"},
        {{2005, 6, 2}, "P", "A", "20:00:00"}});
  analysis_.Grouping().SortTreeDragDrop(1, 0);  // Month, Year, Day, Project, Task
  Apply();
  const ReportDocument document = Generate();
  EXPECT_EQ(Texts(document, "GroupLevel1Title"), (QStringList{"May", "June"}));
  EXPECT_EQ(Texts(document, "GroupLevel2Title"), (QStringList{"2004", "2004", "2005"}));
  EXPECT_EQ(Texts(document, "GroupTotalLevel1Title"),
            (QStringList{"Month subtotal:", "Month subtotal:"}));
  EXPECT_EQ(Texts(document, "GroupLevel1Time"), (QStringList{"60:00:00", "40:00:00"}));
  EXPECT_EQ(Texts(document, "SummaryTime"), QStringList{"100:00:00"});
  EXPECT_EQ(Texts(document, "SummaryRate"), QStringList{"3600.00"});
}

TEST_F(ReportTest, SelectedDayNodeLimitsTheReport) {
  Load({{{2004, 5, 12}, "P", "A", "1:00:00"},
        {{2004, 5, 13}, "P", "A", "2:00:00"},
        {{2004, 5, 13}, "Q", "B", "0:30:00"},
        {{2004, 5, 14}, "P", "A", "4:00:00"}});
  Apply();
  const DataTreeModel& tree = analysis_.Tree();
  const int may = tree.Children(tree.Children(0)[0])[0];
  const int day13 = tree.Children(may)[1];
  ASSERT_EQ(tree.Text(day13), "13");
  analysis_.CustomLogTreeChange(day13);
  const ReportDocument document = Generate();
  EXPECT_EQ(Texts(document, "GroupLevel3Title"), QStringList{"13"});
  EXPECT_EQ(Texts(document, "DetailsTime"), (QStringList{"02:00:00", "00:30:00"}));
  EXPECT_EQ(Texts(document, "SummaryTime"), QStringList{"02:30:00"});
  EXPECT_EQ(Texts(document, "InfoLabel"), (QStringList{"Data for date 5/13/04",
                                                       "Data grouping order: Year, Month, Day, "
                                                       "Project, Task"}));
}

TEST_F(ReportTest, NoRecordInScopeStillPrintsTheFrame) {
  Load({{{2004, 5, 12}, "P", "A"}});
  FilterSettings settings;
  settings.tasks = true;
  settings.tasks_text = "nothing like it";
  Apply(settings);
  ASSERT_EQ(tables_.display_log.RecordCount(), 0);
  const ReportDocument document = Generate();
  ASSERT_EQ(document.pages.size(), 1u);
  EXPECT_EQ(document.pages[0].Bands(),
            (QStringList{"PageHeaderBand1", "TitleBand1", "Info", "Description", "QRColummnHeader",
                         "Summary", "PageFooterBand1"}));
  EXPECT_EQ(Texts(document, "SummaryTime"), QStringList{"00:00:00"});
  EXPECT_EQ(Texts(document, "SummaryRate"), QStringList{"0.00"});
  EXPECT_EQ(Texts(document, "FooterExp"), QStringList{" Page: 1"});
}

TEST_F(ReportTest, GenerateLeavesDisplayLogAsItWas) {
  Load({{{2004, 5, 12}, "P", "A"}, {{2004, 5, 13}, "P", "A"}, {{2004, 5, 14}, "Q", "B"}});
  Apply();
  // The group view of project P of 13 May: by start time over that day.
  const DataTreeModel& tree = analysis_.Tree();
  const int may = tree.Children(tree.Children(0)[0])[0];
  analysis_.CustomLogTreeChange(tree.Children(may)[1]);
  RecordTable& display = tables_.display_log;
  const QString order = display.Order();
  const std::vector<int> view = display.ViewRecords();
  display.Last();
  const int current = display.Current();
  int changes = 0;
  const int listener = display.AddListener([&] { ++changes; });

  Generate();
  EXPECT_EQ(display.Order(), order);
  EXPECT_EQ(display.ViewRecords(), view);
  EXPECT_EQ(display.Current(), current);
  EXPECT_LE(changes, 1);

  // A preview that fails still puts the view back.
  ReportGenerator generator(report_, analysis_, clock_);
  EXPECT_THROW(generator.GenerateReportClick(
                   nullptr, [](const ReportDocument&) { throw Error("no printer"); }),
               Error);
  EXPECT_EQ(display.Order(), order);
  EXPECT_EQ(display.ViewRecords(), view);
  EXPECT_FALSE(display.ControlsDisabled());

  // A settings page that refuses stops before anything changes.
  changes = 0;
  EXPECT_FALSE(generator.GenerateReportClick([] { return false; }, nullptr));
  EXPECT_EQ(changes, 0);
  display.RemoveListener(listener);
}

TEST_F(ReportTest, PageBreaksRepeatHeadersAndNeverSplitBands) {
  for (int day = 1; day <= 28; ++day)
    for (const char* task : {"A", "B", "C"})
      testing::AppendLogRecord(tables_.log_records, QDate(2004, 2, day), "9:00:00", "0:20:00", "P",
                               task, 3600);
  tables_.log_records.BuildOrders();
  Apply();
  const ReportDocument document = Generate();
  ASSERT_GE(document.pages.size(), 3u);
  const QSizeF page = document.page_size;
  const qreal margin = 10 / 25.4 * 96;
  for (size_t i = 0; i < document.pages.size(); ++i) {
    const QStringList bands = document.pages[i].Bands();
    EXPECT_EQ(bands.first(), "PageHeaderBand1");
    EXPECT_EQ(bands[i == 0 ? 4 : 1], "QRColummnHeader") << "page " << i + 1;
    EXPECT_EQ(bands.last(), "PageFooterBand1");
    EXPECT_EQ(document.pages[i].Texts("FooterExp"),
              QStringList{QStringLiteral(" Page: %1").arg(i + 1)});
    for (const ReportItem& item : document.pages[i].items) {
      if (item.kind != ReportItem::Kind::kBand) continue;
      EXPECT_GE(item.rect.top(), margin - 1e-6);
      EXPECT_LE(item.rect.bottom(), page.height() - margin + 1e-6) << item.band.toStdString();
    }
  }
  EXPECT_EQ(Texts(document, "DetailsTime").size(), 84);
  EXPECT_EQ(Texts(document, "SummaryTime"), QStringList{"28:00:00"});
}

TEST_F(ReportTest, HiddenBandsAndParkedElementsStillCount) {
  Load({{{2004, 5, 12}, "P", "A", "1:00:00"}, {{2004, 5, 12}, "P", "B", "2:00:00"}});
  Apply();
  report_.Band("Details")->height = 0;
  report_.SetReportGroup(5, false);
  for (const char* name : {"QRTimeText", "GroupLevel4Time", "SummaryTime"})
    report_.Element(name)->top = kHiddenPosition;
  const ReportDocument document = Generate();
  const QStringList bands = Bands(document);
  EXPECT_FALSE(bands.contains("Details"));
  EXPECT_FALSE(bands.contains("GroupLevel5"));
  EXPECT_TRUE(Texts(document, "QRTimeText").isEmpty());
  EXPECT_TRUE(Texts(document, "GroupLevel4Time").isEmpty());
  EXPECT_TRUE(Texts(document, "SummaryTime").isEmpty());
  EXPECT_EQ(Texts(document, "QRRateText"), QStringList{"Rate"});
  EXPECT_EQ(Texts(document, "GroupLevel3Time"), QStringList{"03:00:00"});
  EXPECT_EQ(Texts(document, "SummaryRate"), QStringList{"108.00"});
}

TEST_F(ReportTest, PageTextsSubtotalOnlyAndStretchingLabels) {
  Load({{{2004, 5, 12}, "P", "A", "1:00:00"}, {{2004, 5, 12}, "Q", "A", "2:00:00"}});
  Apply();
  report_.Element("HeaderExp")->expression = BuildHeaderExpression({"Weekly", true, true, true});
  // "Subtotal only" on the project level: the footer is headed by the value.
  report_.Element("GroupTotalLevel4Title")->flag = 1;
  report_.Band("GroupLevel4")->height = 0;
  report_.Element("DescriptionLabel")->caption = "one\r\ntwo\r\nthree";
  const ReportDocument document = Generate();
  EXPECT_EQ(Texts(document, "HeaderExp"),
            QStringList{"Weekly Page: 1 Report date: 6/1/04 2:05 PM"});
  EXPECT_EQ(Texts(document, "GroupTotalLevel4Title"), (QStringList{"P", "Q"}));
  EXPECT_TRUE(Texts(document, "GroupLevel4Title").isEmpty());
  EXPECT_EQ(Texts(document, "DescriptionLabel"), (QStringList{"one", "two", "three"}));
  // The description band grows by the two extra lines.
  const ReportBand& description = *report_.Band("Description");
  for (const ReportItem& item : document.pages[0].items) {
    if (item.kind == ReportItem::Kind::kBand && item.band == "Description") {
      EXPECT_GT(item.rect.height(), description.height + 2 * 13);
    }
  }
}

TEST_F(ReportTest, EarningsFollowTheLocaleWithoutGrouping) {
  Load({{{2004, 5, 12}, "P", "A", "10:00:00", "9:00:00", 99999}});
  Apply();
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const ReportDocument document = Generate();
  QLocale::setDefault(saved);
  EXPECT_EQ(Texts(document, "SummaryRate"), QStringList{"9999,90"});
  EXPECT_EQ(Texts(document, "GroupLevel1Title"), QStringList{"2004"});
}

TEST(ReportFontTest, ClassicNamesPrintWithMetricCompatibleFonts) {
  EXPECT_EQ(ResolveFontFamily("Arial"), "Liberation Sans");
  EXPECT_EQ(ResolveFontFamily("ms sans serif"), "Liberation Sans");
  EXPECT_EQ(ResolveFontFamily("DejaVu Serif"), "DejaVu Serif");
  ReportFont arial;
  arial.bold = true;
  EXPECT_EQ(QFontInfo(ResolveFont(arial)).family(), "Liberation Sans");
  EXPECT_TRUE(QFontInfo(ResolveFont(arial)).bold());
}

TEST_F(ReportTest, RenderersEscapeAndSave) {
  Load({{{2004, 5, 12}, "<b>&co", "A"}});
  Apply();
  const ReportDocument document = Generate();
  const QString html = ReportToHtml(document, "Ravell Report");
  EXPECT_TRUE(html.contains("&lt;b&gt;&amp;co"));
  EXPECT_FALSE(html.contains("<b>"));

  QTemporaryDir dir;
  for (const char* name : {"r.pdf", "r.html", "r.txt"})
    SaveReport(document, dir.filePath(name), "Ravell Report");
  QFile pdf(dir.filePath("r.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray bytes = pdf.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                bytes.count("/Type /Page/") + bytes.count("/Type /Page "),
            1);
  QFile text(dir.filePath("r.txt"));
  ASSERT_TRUE(text.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(text.readAll()), ReportToText(document));
  EXPECT_THROW(SaveReport(document, dir.filePath("missing/r.txt"), "x"), FileError);
}

}  // namespace
}  // namespace ravell
