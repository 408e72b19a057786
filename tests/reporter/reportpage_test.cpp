// The "Create Report" page: its controls, the numeric fields, the format
// popup with scripted dialogs, and the page inside the reporter's window.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <deque>

#include "../support/recordingmessages.h"
#include "atomicfile.h"
#include "daylogrecord.h"
#include "mainwindow.h"
#include "progresswindow.h"
#include "reportlayoutfile.h"
#include "reportpage.h"
#include "timetext.h"

using ravell::QuickReport;
using ravell::ReportAlignment;
using ravell::ReportFont;
using ravell::ReportPage;
using ravell::SampleId;

namespace {

// Dialogs answering from queues; an empty queue answers Cancel.
class ScriptedDialogs : public ravell::ReportDialogs {
 public:
  std::optional<ReportFont> ChooseFont(const ReportFont& font, QWidget*) override {
    offered_fonts.push_back(font);
    if (fonts.empty()) return std::nullopt;
    ReportFont chosen = fonts.front();
    fonts.pop_front();
    return chosen;
  }
  std::optional<QRgb> ChooseColor(QRgb color, QWidget*) override {
    offered_colors.push_back(color);
    if (colors.empty()) return std::nullopt;
    const QRgb chosen = colors.front();
    colors.pop_front();
    return chosen;
  }
  std::deque<ReportFont> fonts;
  std::deque<QRgb> colors;
  std::vector<ReportFont> offered_fonts;
  std::vector<QRgb> offered_colors;
};

template <typename T>
T* Find(QWidget* parent, const char* name) {
  T* widget = parent->findChild<T*>(QString::fromLatin1(name));
  if (!widget) qFatal("no control %s", name);
  return widget;
}

// The label joined to a control.
QString CaptionOf(QWidget* parent, QWidget* control) {
  for (QLabel* label : parent->findChildren<QLabel*>())
    if (label->buddy() == control) return label->text();
  return QString();
}

QAction* Action(ReportPage& page, const char* name) {
  auto* action = page.ReportPopup()->findChild<QAction*>(QString::fromLatin1(name));
  if (!action) qFatal("no action %s", name);
  return action;
}

QColor Background(QLabel* sample) { return sample->palette().color(QPalette::Window); }

}  // namespace

class ReportPageTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

  void ControlsShowTheDefaults() {
    QuickReport report;
    ravell::testing::RecordingMessages messages;
    ReportPage page(report, messages);

    auto* tabs = Find<QTabWidget>(&page, "ReportSettingsTabs");
    QCOMPARE(tabs->tabPosition(), QTabWidget::West);
    QCOMPARE(tabs->currentIndex(), 0);
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i) captions << tabs->tabText(i);
    QCOMPARE(captions, (QStringList{"Basic", "Page Header", "Page Footer", "Description", "Columns",
                                    "Details", "Grouping Levels", "Summary"}));

    const struct {
      const char* name;
      const char* caption;
      const char* text;
    } texts[] = {
        {"ReportInterval", "Interval:", "10"},
        {"TextTitle", "Title text:", "Ravell Report"},
        {"TextHeader", "Text:", ""},
        {"TextFooter", "Text:", ""},
        {"TextRateHeader", "Rate header text:", "Rate"},
        {"TextTimeHeader", "Time header text:", "Spent time"},
        {"DetailsShift", "Details shift:", "10"},
        {"ReportDataLevelShift", "Level shift:", "0"},
    };
    for (const auto& t : texts) {
      auto* edit = Find<QLineEdit>(&page, t.name);
      QCOMPARE(edit->text(), QString::fromLatin1(t.text));
      QCOMPARE(CaptionOf(&page, edit), QString::fromLatin1(t.caption));
    }
    auto* memo = Find<QPlainTextEdit>(&page, "DescriptionMemo");
    QCOMPARE(memo->toPlainText(), QStringLiteral("Your report description"));
    QCOMPARE(CaptionOf(&page, memo), QStringLiteral("Description:"));

    const struct {
      const char* name;
      const char* caption;
      bool checked;
    } checks[] = {
        {"CheckReportTitle", "Show title", true},
        {"CheckShowInfo", "Show data scope information", true},
        {"CheckPageHeader", "Show page header", true},
        {"HeaderCheckPage", "+ Page Number", false},
        {"HeaderCheckDate", "+ Current Date", true},
        {"HeaderCheckTime", "+ Current Time", false},
        {"CheckPageFooter", "Show page footer", true},
        {"FooterCheckPage", "+ Page Number", true},
        {"FooterCheckDate", "+ Current Date", false},
        {"FooterCheckTime", "+ Current Time", false},
        {"CheckShowDescription", "Show description", true},
        {"CheckShowTime", "Show time column", true},
        {"CheckShowRate", "Show rate column", true},
        {"CheckShowColummnHeader", "Show headers:", true},
        {"CheckShowDetails", "Show details", true},
        {"CheckDataBands", "Show this grouping level", true},
        {"CheckDataTotalOnly", "Show subtotal only for this grouping level", false},
        {"CheckShowSummary", "Show summary", true},
    };
    for (const auto& c : checks) {
      auto* box = Find<QCheckBox>(&page, c.name);
      QCOMPARE(box->text(), QString::fromLatin1(c.caption));
      QVERIFY2(box->isChecked() == c.checked, c.name);
    }

    auto* title = Find<QLabel>(&page, "PanelTitle");
    QCOMPARE(title->text(), QStringLiteral("Text"));
    QCOMPARE(title->toolTip(), QStringLiteral("Click right button mouse\r\nfor setting format"));
    QCOMPARE(CaptionOf(&page, title), QStringLiteral("Title format sample:"));
    QVERIFY(title->font().bold());
    QCOMPARE(title->font().pointSize(), 16);
    QCOMPARE(title->alignment(), Qt::AlignCenter);
    QCOMPARE(Find<QLabel>(&page, "PanelDataTitle")->font().pointSize(), 13);

    auto* levels = Find<QTabBar>(&page, "ReportDataTabs");
    QStringList level_tabs;
    for (int i = 0; i < levels->count(); ++i) level_tabs << levels->tabText(i);
    QCOMPARE(level_tabs, (QStringList{"1: Year", "2: Month", "3: Day", "4: Project", "5: Task"}));
    for (const char* button : {"SaveReport", "GenerateReport", "LoadReport"})
      QVERIFY(Find<QPushButton>(&page, button)->isVisibleTo(&page));
  }

  void NumericFieldsTakeThreeDigitsOnly() {
    QuickReport report;
    ravell::testing::RecordingMessages messages;
    ReportPage page(report, messages);
    for (const char* name : {"ReportInterval", "DetailsShift", "ReportDataLevelShift"}) {
      auto* edit = Find<QLineEdit>(&page, name);
      edit->clear();
      QTest::keyClicks(edit, "a1-b2 34");
      QCOMPARE(edit->text(), QStringLiteral("123"));
      QTest::keyClick(edit, Qt::Key_Backspace);
      QCOMPARE(edit->text(), QStringLiteral("12"));
    }
  }

  void LevelControlsFollowTheTabs() {
    QuickReport report;
    ravell::testing::RecordingMessages messages;
    ReportPage page(report, messages);
    auto* levels = Find<QTabBar>(&page, "ReportDataTabs");
    auto* shift = Find<QLineEdit>(&page, "ReportDataLevelShift");
    auto* only = Find<QCheckBox>(&page, "CheckDataTotalOnly");
    auto* shown = Find<QCheckBox>(&page, "CheckDataBands");

    levels->setCurrentIndex(2);
    shift->setText(QStringLiteral("20"));
    only->click();
    levels->setCurrentIndex(0);
    QCOMPARE(shift->text(), QStringLiteral("0"));
    QVERIFY(!only->isChecked());
    levels->setCurrentIndex(2);
    QCOMPARE(shift->text(), QStringLiteral("20"));
    QVERIFY(only->isChecked());

    shown->click();
    QVERIFY(!only->isChecked());
    QVERIFY(!page.Settings().LevelFormats()[2].visible);
    QVERIFY(page.ApplyReportPage());
    QCOMPARE(report.Element("GroupLevel3Title")->left, 20);
    QCOMPARE(report.Band("GroupTotalLevel3")->height, 0);
  }

  void PopupReachesTheReport() {
    QuickReport report;
    ravell::testing::RecordingMessages messages;
    ScriptedDialogs dialogs;
    ReportPage page(report, messages);
    page.SetDialogs(&dialogs);

    ReportFont courier;
    courier.family = "Courier";
    courier.point_size = 14;
    dialogs.fonts.push_back(courier);
    auto* columns = Find<QLabel>(&page, "PanelColummns");
    page.ReportPopupPopup(columns);
    QVERIFY(Action(page, "Left1")->isChecked());
    Action(page, "Settext1")->trigger();
    QCOMPARE(dialogs.offered_fonts.at(0).point_size, 10);
    QVERIFY(dialogs.offered_fonts.at(0).bold && dialogs.offered_fonts.at(0).italic);
    QCOMPARE(report.Element("QRTimeText")->font, courier);
    QCOMPARE(report.Element("QRRateText")->font, courier);
    QCOMPARE(columns->font().family(), QStringLiteral("Courier"));

    // Cancel changes nothing.
    Action(page, "Settext1")->trigger();
    QCOMPARE(report.Element("QRTimeText")->font, courier);

    dialogs.colors.push_back(0xffff0000);
    page.ReportPopupPopup(Find<QLabel>(&page, "PanelDetailsTime"));
    Action(page, "Setbackgroundcolor1")->trigger();
    QCOMPARE(dialogs.offered_colors.at(0), 0xffffffffu);
    QCOMPARE(report.Band("Details")->color, 0xffff0000u);
    for (const char* name : {"PanelDetailsTitle", "PanelDetailsTime", "PanelDetailsRate"})
      QCOMPARE(Background(Find<QLabel>(&page, name)), QColor(Qt::red));

    auto* title = Find<QLabel>(&page, "PanelTitle");
    page.ReportPopupPopup(title);
    QVERIFY(Action(page, "Center1")->isChecked());
    Action(page, "Right1")->trigger();
    QCOMPARE(report.Element("QRTitleText")->alignment, ReportAlignment::kRight);
    QCOMPARE(title->alignment(), Qt::AlignRight | Qt::AlignVCenter);

    // Off a sample the commands do nothing.
    page.ReportPopupPopup(Find<QLineEdit>(&page, "TextTitle"));
    dialogs.colors.push_back(0xff00ff00);
    Action(page, "Setbackgroundcolor1")->trigger();
    QCOMPARE(dialogs.offered_colors.size(), size_t{1});
    QVERIFY(messages.shown.isEmpty());
  }

  void WindowLoadsTheLayoutAtStartAndAppliesOnGenerate() {
    QTemporaryDir folder;
    ravell::DayLogRecord record;
    record.year = 2004;
    record.month = 5;
    record.day = 12;
    record.time_start = "9:00:00";
    record.time_end = "10:00:00";
    record.time_delta = "1:00:00";
    record.name = "A";
    record.project = "P";
    record.task_id = "1";
    record.rate = 1000;
    ravell::WriteFileAtomic(ravell::DayLogPath(folder.path(), QDate(2004, 5, 12)),
                            ravell::ComposeDayLogRecord(record, ravell::DayLogForm::kTracker));
    QuickReport saved;
    saved.Element("QRTitleText")->caption = "Saved title";
    ravell::SaveReportLayout(saved, folder.filePath("report.rvr"));

    ravell::testing::RecordingMessages messages;
    ravell::ReporterWindow window;
    window.SetProgramFolder(folder.path());
    window.SetMessages(&messages);
    ravell::ProgressWindow progress;
    QVERIFY(window.InitForm1(progress));
    QVERIFY(messages.shown.isEmpty());
    auto* page = Find<QWidget>(&window, "ReportPage");
    QCOMPARE(Find<QLineEdit>(page, "TextTitle")->text(), QStringLiteral("Saved title"));

    Find<QLineEdit>(page, "TextTitle")->setText(QStringLiteral("Generated"));
    QStringList printed_titles;
    window.SetReportPreview([&](const ravell::ReportDocument& document) {
      printed_titles = document.pages.at(0).Texts("QRTitleText");
    });
    Find<QPushButton>(page, "GenerateReport")->click();
    QCOMPARE(printed_titles, QStringList{"Generated"});
    QCOMPARE(window.Report().Element("QRTitleText")->caption, QStringLiteral("Generated"));
    QVERIFY(window.Report().Element("InfoLabel")->caption.startsWith("Data for date 5/12/04"));

    Find<QLineEdit>(page, "ReportInterval")->clear();
    Find<QPushButton>(page, "SaveReport")->click();
    QCOMPARE(messages.Texts(), QStringList{"'' is not a valid integer value"});
    QuickReport on_disk;
    ravell::LoadReportLayout(on_disk, folder.filePath("report.rvr"));
    QCOMPARE(on_disk.Element("QRTitleText")->caption, QStringLiteral("Saved title"));
  }
};

QTEST_MAIN(ReportPageTest)
#include "reportpage_test.moc"
