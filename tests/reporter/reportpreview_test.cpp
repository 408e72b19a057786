// The report's preview window and "Generate" from the main window.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QPushButton>
#include <QToolButton>

#include "../support/logrecord.h"
#include "../support/modal.h"
#include "../support/recordingmessages.h"
#include "mainwindow.h"
#include "reportgenerator.h"
#include "reportpreview.h"

using ravell::ReportDocument;
using ravell::ReporterWindow;
using ravell::ReportPreview;

namespace {

// A report of many records on several pages, laid out by the window.
ReportDocument GenerateInWindow(ReporterWindow& window, int days) {
  ravell::RecordTable& log = window.Tables().log_records;
  for (int day = 1; day <= days; ++day)
    for (const char* task : {"A", "B", "C"})
      ravell::testing::AppendLogRecord(log, QDate(2004, 3, day), "9:00:00", "0:20:00", "P", task,
                                       1000);
  log.BuildOrders();
  window.Analysis().StartQueryButtonClick({}, true);
  ReportDocument shown;
  window.SetReportPreview([&](const ReportDocument& document) { shown = document; });
  window.GenerateReportClick();
  return shown;
}

}  // namespace

class ReportPreviewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

  void GenerateBindsTheReportAndRestoresTheOrder() {
    ReporterWindow window;
    ravell::RecordTable& display = window.Tables().display_log;
    const ReportDocument document = GenerateInWindow(window, 2);
    QCOMPARE(document.pages.size(), size_t{1});
    QCOMPARE(document.pages[0].Texts("GroupTotalLevel5Title").first(), QString("Task subtotal:"));
    QCOMPARE(document.pages[0].Texts("InfoLabel").first(),
             QString("Data for period from 3/1/04 to 3/2/04"));
    // The group view of the root leaves DisplayLog by start time.
    QCOMPARE(display.Order(), QString("ByTimeStart"));
    QVERIFY(window.findChild<QPushButton*>("GenerateReport"));
  }

  void PreviewPagesThroughAndSaves() {
    ReporterWindow window;
    const ReportDocument document = GenerateInWindow(window, 31);
    QVERIFY(document.pages.size() >= 3);
    ravell::testing::RecordingMessages messages;
    ReportPreview preview(document, "Ravell Report", messages);
    QCOMPARE(preview.objectName(), QString("ReportPreview"));
    QCOMPARE(preview.PageCount(), static_cast<int>(document.pages.size()));
    for (const char* name :
         {"PrintButton", "SaveButton", "ZoomInButton", "ZoomOutButton", "FirstPageButton",
          "PriorPageButton", "NextPageButton", "LastPageButton", "CloseButton"}) {
      auto* button = preview.findChild<QToolButton*>(name);
      QVERIFY2(button, name);
      QVERIFY2(!button->accessibleName().isEmpty(), name);
    }
    QCOMPARE(preview.View()->accessibleName(), QString("Report pages"));

    preview.findChild<QToolButton*>("NextPageButton")->click();
    QCOMPARE(preview.CurrentPage(), 2);
    preview.findChild<QToolButton*>("LastPageButton")->click();
    QCOMPARE(preview.CurrentPage(), preview.PageCount());
    preview.NextPageClick();  // stays on the last page
    QCOMPARE(preview.CurrentPage(), preview.PageCount());
    preview.findChild<QToolButton*>("FirstPageButton")->click();
    QCOMPARE(preview.CurrentPage(), 1);

    QTemporaryDir dir;
    QVERIFY(preview.SaveTo(dir.filePath("report.html")));
    QFile html(dir.filePath("report.html"));
    QVERIFY(html.open(QIODevice::ReadOnly));
    QVERIFY(html.readAll().contains("Task subtotal:"));
    QVERIFY(!preview.SaveTo(dir.filePath("no/such/folder/report.pdf")));
    QCOMPARE(messages.shown.size(), 1);
  }

  void ModalPreviewClosesFromItsButton() {
    ReporterWindow window;
    ravell::testing::RecordingMessages messages;
    window.SetMessages(&messages);
    GenerateInWindow(window, 1);
    window.SetReportPreview(nullptr);
    bool shown = false;
    ravell::testing::WhenModal([&](QWidget* modal) {
      shown = modal->objectName() == "ReportPreview";
      modal->findChild<QToolButton*>("CloseButton")->click();
    });
    window.GenerateReportClick();
    QVERIFY(shown);
    QVERIFY(messages.shown.isEmpty());
  }
};

QTEST_MAIN(ReportPreviewTest)
#include "reportpreview_test.moc"
