// The "Data Export" page and the grids' "Copy" menus, driven through the main
// window.
#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "../support/logrecord.h"
#include "../support/recordingmessages.h"
#include "../support/recordingspreadsheet.h"
#include "atomicfile.h"
#include "clock.h"
#include "exportpage.h"
#include "gridcopy.h"
#include "logpage.h"
#include "mainwindow.h"
#include "reporterviews.h"
#include "totalspage.h"

using namespace ravell;

namespace {

const QDate kToday(2004, 1, 7);

void AppendRecord(RecordTable& table, const QDate& date, const char* start, const char* end,
                  const char* delta, const char* project, const char* name, int rate) {
  ravell::testing::AppendLogRecord(table, date, start, end, delta, project, name, rate);
}

QStringList Captions(const QMenu* menu) {
  QStringList captions;
  for (const QAction* action : menu->actions()) {
    captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
  }
  return captions;
}

QAction* Item(const QMenu* menu, const QString& caption) {
  for (QAction* action : menu->actions()) {
    if (action->text() == caption) return action;
  }
  return nullptr;
}

}  // namespace

class ExportPageTest : public QObject {
  Q_OBJECT

 private:
  struct Fixture {
    Fixture() {
      clock.Set(kToday, QTime(12, 0));
      for (RecordTable* table : {&window.Tables().log_records, &window.Tables().display_log}) {
        AppendRecord(*table, kToday, "9:00:00", "10:30:00", "1:30:00", "Alpha", "Report", 1250);
        AppendRecord(*table, kToday, "11:00:00", "11:15:00", "0:15:00", "Beta", "Mail", 2000);
        AppendRecord(*table, kToday.addDays(-1), "8:00:00", "9:00:00", "1:00:00", "Alpha", "Plan",
                     1250);
      }
      views = window.Views();
      views->SetClock(&clock);
      window.LogCalendar()->setSelectedDate(kToday);
      views->Bind(window.Tables());
      views->LogCalendarClick();
      page = window.Export();
      page->SetProgramFolder(folder.path());
      page->SetOpener(&desktop);
      page->SetAutomation(&spreadsheet);
      window.SetMessages(&messages);
    }
    template <typename T>
    T* Find(const char* name) {
      T* widget = page->findChild<T*>(QString::fromLatin1(name));
      if (!widget) qFatal("no control %s", name);
      return widget;
    }

    ManualClock clock;
    ReporterWindow window;
    ReporterViews* views = nullptr;
    ExportPage* page = nullptr;
    QTemporaryDir folder;
    testing::FakeDesktop desktop;
    testing::RecordingSpreadsheet spreadsheet;
    testing::RecordingMessages messages;
  };

 private slots:
  void initTestCase() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    qputenv("TZ", "UTC");
  }

  void DefaultsAndEnablingRules() {
    Fixture f;
    QCOMPARE(f.window.Page("ExportPage")->findChild<ExportPage*>(), f.page);
    auto* tabs = f.Find<QTabWidget>("ExportTabs");
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Scope"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Destination"));
    QCOMPARE(f.Find<QPushButton>("RunExport")->text(), QStringLiteral("Export"));

    const ExportOptions options = f.page->Options();
    QVERIFY(!options.all_records);
    QVERIFY(options.totals);
    QVERIFY(options.insert_titles);
    QVERIFY(!options.spreadsheet);
    QCOMPARE(options.excel_col, QStringLiteral("2"));
    QCOMPARE(options.excel_row, QStringLiteral("2"));
    QVERIFY(!options.use_template);
    QCOMPARE(options.template_path, f.folder.filePath("rvrtempl.xlsx"));
    QVERIFY(options.tabulation);
    QCOMPARE(options.custom_delimiter, QStringLiteral("~"));
    QCOMPARE(options.text_path, f.folder.filePath("report.txt"));
    QVERIFY(options.open_text);

    // Text file at start: the sheet box is off, the text controls on.
    auto* sheet = f.Find<QGroupBox>("ExcelSheet");
    auto* delimiter = f.Find<QGroupBox>("FieldsDelimeter");
    auto* text_path = f.Find<QLineEdit>("ExportTextFilePath");
    auto* text_open = f.Find<QCheckBox>("ExportTextOpen");
    auto* template_path = f.Find<QLineEdit>("ExcelTemplateFilePath");
    QVERIFY(!sheet->isEnabled());
    QVERIFY(delimiter->isEnabled() && text_path->isEnabled() && text_open->isEnabled());

    f.Find<QRadioButton>("ExportMSExcelRadio")->click();
    QVERIFY(sheet->isEnabled());
    QVERIFY(!delimiter->isEnabled() && !text_path->isEnabled() && !text_open->isEnabled());
    QVERIFY(!f.Find<QToolButton>("Button6")->isEnabled());
    QVERIFY(!template_path->isEnabled() && !f.Find<QToolButton>("Button1")->isEnabled());
    f.Find<QRadioButton>("RadioExcelTemplate")->click();
    QVERIFY(template_path->isEnabled() && f.Find<QToolButton>("Button1")->isEnabled());
    f.Find<QRadioButton>("RadioExcelNew")->click();
    QVERIFY(!template_path->isEnabled());
    f.Find<QRadioButton>("ExportTextRadio")->click();
    QVERIFY(!sheet->isEnabled() && delimiter->isEnabled());

    auto* source = f.Find<QGroupBox>("DataSource");
    f.Find<QRadioButton>("ExportAllRecords")->click();
    QVERIFY(!source->isEnabled());
    f.Find<QRadioButton>("ExportSelectedRecords")->click();
    QVERIFY(source->isEnabled());

    // The cell numbers take digits only.
    f.Find<QRadioButton>("ExportMSExcelRadio")->click();
    auto* column = f.Find<QLineEdit>("ExcelCol");
    column->clear();
    QTest::keyClicks(column, "a1-b2");
    QCOMPARE(column->text(), QStringLiteral("12"));
  }

  void FileDialogsFillThePaths() {
    Fixture f;
    QString filters, suffix, directory;
    bool save = false;
    f.page->SetFileChooser([&](QFileDialog& dialog) {
      filters = dialog.nameFilters().join(";;");
      suffix = dialog.defaultSuffix();
      directory = dialog.directory().absolutePath();
      save = dialog.acceptMode() == QFileDialog::AcceptSave;
      return QStringLiteral("/tmp/chosen.txt");
    });
    f.Find<QToolButton>("Button6")->click();
    QCOMPARE(filters, QStringLiteral("Text files (*.txt);;All files (*)"));
    QCOMPARE(suffix, QStringLiteral("txt"));
    QCOMPARE(directory, QDir(f.folder.path()).absolutePath());
    QVERIFY(save);
    QCOMPARE(f.page->Options().text_path, QStringLiteral("/tmp/chosen.txt"));

    f.Find<QRadioButton>("ExportMSExcelRadio")->click();
    f.Find<QRadioButton>("RadioExcelTemplate")->click();
    f.Find<QToolButton>("Button1")->click();
    QCOMPARE(filters, QStringLiteral("Microsoft Excel files (*.xlsx)"));
    QVERIFY(!save);
    // A cancelled dialog keeps the path.
    f.page->SetFileChooser([](QFileDialog&) { return QString(); });
    f.Find<QToolButton>("Button1")->click();
    QCOMPARE(f.page->Options().template_path, QStringLiteral("/tmp/chosen.txt"));
  }

  void ExportButtonWritesWhatTheGridsShow() {
    Fixture f;
    f.Find<QPushButton>("RunExport")->click();
    const QString path = f.folder.filePath("report.txt");
    QCOMPARE(ReadWholeFile(path), QByteArray("Project\tTask\tSpent time\tRate\t\r\n"
                                             "Alpha\tReport\t1:30:00\t18.75\r\n"
                                             "Beta\tMail\t0:15:00\t5.00\r\n"));
    QCOMPARE(f.desktop.opened, QStringList{path});

    f.Find<QRadioButton>("ExportScopeLogrecords")->click();
    f.Find<QCheckBox>("InsertTitles")->setChecked(false);
    f.Find<QRadioButton>("Custom")->click();
    f.Find<QPushButton>("RunExport")->click();
    QCOMPARE(ReadWholeFile(path),
             QByteArray("1/7/04~9:00:00~10:30:00~1:30:00~Report~Alpha~18.75\r\n"
                        "1/7/04~11:00:00~11:15:00~0:15:00~Mail~Beta~5.00\r\n"));

    // Every record, and the day view shows its day again.
    f.Find<QRadioButton>("ExportAllRecords")->click();
    f.Find<QPushButton>("RunExport")->click();
    QCOMPARE(ReadWholeFile(path).count('\n'), 3);
    QCOMPARE(f.views->Log()->DBGrid1()->model()->rowCount(), 2);
    QCOMPARE(f.window.Tables().log_records.Count(), 2);

    f.Find<QRadioButton>("ExportMSExcelRadio")->click();
    f.Find<QPushButton>("RunExport")->click();
    QCOMPARE(f.spreadsheet.calls.value(8), QStringLiteral("Value(4x7)"));
    QVERIFY(f.messages.shown.isEmpty());
  }

  void CopyMenusFollowTheVisibleColumns() {
    Fixture f;
    QMenu* popup = f.views->Log()->DBGridPopup();
    GridCopy* copy = f.window.Copy();
    QCOMPARE(popup->objectName(), QStringLiteral("DBGridPopup"));
    QCOMPARE(popup->actions().value(0), copy->Copy1()->menuAction());
    emit popup->aboutToShow();
    QVERIFY(copy->Copy1()->menuAction()->isEnabled());
    QCOMPARE(Captions(copy->Copy1()),
             (QStringList{"Entire row", "-", "Date", "Start time", "End time", "Spent time", "Task",
                          "Project", "Rate"}));

    QClipboard* clipboard = QGuiApplication::clipboard();
    QTableView* log = f.views->Log()->DBGrid1();
    log->setCurrentIndex(log->model()->index(0, 0));
    Item(copy->Copy1(), "Entire row")->trigger();
    QCOMPARE(clipboard->text(),
             QStringLiteral("1/7/04\t9:00:00\t10:30:00\t1:30:00\tReport\tAlpha\t18.75\t"));
    log->setCurrentIndex(log->model()->index(1, 0));
    Item(copy->Copy1(), "Spent time")->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("0:15:00"));
    Item(copy->Copy1(), "Rate")->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("5"));

    // The totals menu lists the day view's columns, then the group view's.
    QMenu* totals_popup = copy->TotalsPopup();
    QCOMPARE(totals_popup->objectName(), QStringLiteral("TotalsPopup"));
    emit totals_popup->aboutToShow();
    QCOMPARE(Captions(copy->Copy2()),
             (QStringList{"Entire row", "-", "Project", "Task", "Spent time", "Rate"}));
    emit totals_popup->aboutToShow();
    QCOMPARE(copy->Copy2()->actions().size(), 6);
    RecordTable& display = f.window.Tables().display_log;
    display.SetOrder(kCustom);
    display.SetRange({2004}, {2004});
    f.views->ShowGroupView(1, {"Year", "Month", "Day", "Project", "Name"});
    emit totals_popup->aboutToShow();
    QCOMPARE(Captions(copy->Copy2()),
             (QStringList{"Entire row", "-", "Month", "Spent time", "Rate"}));
    Item(copy->Copy2(), "Spent time")->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("2:45:00"));
    Item(copy->Copy2(), "Entire row")->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("January\t2:45:00\t36.25\t"));

    // An empty day: "Copy" of the log is off, every copy empties the clipboard.
    f.window.LogCalendar()->setSelectedDate(kToday.addDays(5));
    emit popup->aboutToShow();
    QVERIFY(!copy->Copy1()->menuAction()->isEnabled());
    emit totals_popup->aboutToShow();
    Item(copy->Copy2(), "Entire row")->trigger();
    QCOMPARE(clipboard->text(), QString());
    clipboard->setText("old");
    copy->Row1Click();
    QCOMPARE(clipboard->text(), QString());
    clipboard->setText("old");
    copy->ColCopy1Click(Item(copy->Copy1(), "Task"));
    QCOMPARE(clipboard->text(), QString());
  }
};

QTEST_MAIN(ExportPageTest)
#include "exportpage_test.moc"
