// The data export: text file bytes, the spreadsheet calls, the .xlsx workbook
// read back, and the clipboard texts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <zip.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <map>
#include <pugixml.hpp>

#include "../support/logrecord.h"
#include "../support/recordingmessages.h"
#include "../support/recordingspreadsheet.h"
#include "atomicfile.h"
#include "clipboardcopy.h"
#include "error.h"
#include "exportrun.h"
#include "logtables.h"
#include "textexport.h"
#include "xlsxworkbook.h"

using namespace ravell;
using ravell::testing::FakeDesktop;
using ravell::testing::RecordingMessages;
using ravell::testing::RecordingSpreadsheet;

namespace {

const QDate kDay(2004, 1, 7);

void AppendLog(RecordTable& table, const QDate& date, const char* start, const char* end,
               const char* delta, const char* name, const char* project, int rate) {
  ravell::testing::AppendLogRecord(table, date, start, end, delta, project, name, rate);
}

void AppendTotal(RecordTable& totals, const char* project, const char* name, const char* time,
                 const char* time_text, double rate) {
  totals.Append();
  totals.SetValue("Year", 2004);
  totals.SetValue("Month", "January");
  totals.SetValue("Day", 7);
  totals.SetValue("Project", project);
  totals.SetValue("Name", name);
  totals.SetValue("RecordDate", kDay);
  totals.SetValue("TotalTime", time);
  totals.SetValue("TotalTimeS", time_text);
  totals.SetValue("Rate", rate);
  totals.Post();
}

QList<ExportColumn> LogColumns() {
  return {{"RecordDate", "Date"},  {"TimeStart", "Start time"},
          {"TimeEnd", "End time"}, {"TimeDelta", "Spent time"},
          {"Name", "Task"},        {"Project", "Project"},
          {"dRate", "Rate"}};
}

// The totals grid of a view that hides Day, Date and the long time text.
QList<ExportColumn> TotalsColumns() {
  return {{"Year", "Year"},
          {"Month", "Month"},
          {"Day", "Day", false},
          {"Project", "Project"},
          {"Name", "Task"},
          {"RecordDate", "Date", false},
          {"TotalTime", "Spent time"},
          {"TotalTimeS", "Spent time", false},
          {"Rate", "Rate"}};
}

class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    RecordTable& log = tables.log_records;
    // Stored out of order: "All log records" sorts by day and start.
    AppendLog(log, kDay, "10:45:00", "11:00:00", "0:15:00", "Mail", "Beta", 2000);
    AppendLog(log, kDay, "9:00:00", "10:30:00", "1:30:00", "Report", "Alpha", 1250);
    AppendLog(log, kDay.addDays(-1), "8:00:00", "9:00:00", "1:00:00", "Plan", "Alpha", 1250);
    log.SetOrder(kByTimeStart);
    log.SetRange({2004, 1, 7}, {2004, 1, 7});
    AppendTotal(tables.tasks_total, "Alpha", "Report", "2:15:00", "2:15:00", 28.125);
  }

  // The views as the day view of kDay shows them.
  class Views : public ExportViews {
   public:
    explicit Views(ReporterTables& tables) : tables_(tables) {}
    RecordTable& LogGridTable() override { return tables_.log_records; }
    QList<ExportColumn> LogGridColumns() override { return LogColumns(); }
    QList<ExportColumn> TotalsGridColumns() override { return TotalsColumns(); }
    bool DayView() override { return day_view; }
    void LogCalendarClick() override {
      ++calendar_clicks;
      tables_.log_records.SetOrder(kByTimeStart);
      tables_.log_records.SetRange({2004, 1, 7}, {2004, 1, 7});
    }
    bool day_view = true;
    int calendar_clicks = 0;

   private:
    ReporterTables& tables_;
  };

  ExportOptions TextOptions() {
    ExportOptions options;
    options.text_path = dir.filePath("report.txt");
    return options;
  }
  QByteArray Written() { return ReadWholeFile(dir.filePath("report.txt")); }
  DataExport Export(SpreadsheetAutomation& automation) {
    return DataExport(tables, views, automation, desktop, messages);
  }

  ReporterTables tables;
  Views views{tables};
  RecordingSpreadsheet spreadsheet;
  FakeDesktop desktop;
  RecordingMessages messages;
  QTemporaryDir dir;
};

TEST_F(ExportTest, TextFileLines) {
  const QByteArray titles = "Date\tStart time\tEnd time\tSpent time\tTask\tProject\tRate\t\r\n";
  const QByteArray report = "1/7/04\t9:00:00\t10:30:00\t1:30:00\tReport\tAlpha\t18.75\r\n";
  const QByteArray mail = "1/7/04\t10:45:00\t11:00:00\t0:15:00\tMail\tBeta\t5.00\r\n";
  struct Case {
    bool titles;
    QString delimiter;
    QByteArray expected;
  } cases[] = {
      {true, "\t", titles + report + mail},
      {false, "\t", report + mail},
      {true, "~",
       "Date~Start time~End time~Spent time~Task~Project~Rate~\r\n"
       "1/7/04~9:00:00~10:30:00~1:30:00~Report~Alpha~18.75\r\n"
       "1/7/04~10:45:00~11:00:00~0:15:00~Mail~Beta~5.00\r\n"},
      {true, "",
       "DateStart timeEnd timeSpent timeTaskProjectRate\r\n"
       "1/7/049:00:0010:30:001:30:00ReportAlpha18.75\r\n"
       "1/7/0410:45:0011:00:000:15:00MailBeta5.00\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ComposeTextExport(tables.log_records, LogColumns(), c.titles, c.delimiter),
              c.expected)
        << "delimiter '" << c.delimiter.toStdString() << "' titles " << c.titles;
  }
}

TEST_F(ExportTest, TextOfTotalsWithHiddenColumnsAndOfAnEmptySource) {
  EXPECT_EQ(ComposeTextExport(tables.tasks_total, TotalsColumns(), true, "\t"),
            "Year\tMonth\tProject\tTask\tSpent time\tRate\t\r\n"
            "2004\tJanuary\tAlpha\tReport\t2:15:00\t28.13\r\n");

  tables.tasks_total.Clear();
  EXPECT_EQ(ComposeTextExport(tables.tasks_total, TotalsColumns(), true, "\t"),
            "Year\tMonth\tProject\tTask\tSpent time\tRate\t\r\n");
  EXPECT_EQ(ComposeTextExport(tables.tasks_total, TotalsColumns(), false, "\t"), "");
}

TEST_F(ExportTest, RunExportWritesTheChosenSourceAndOpensTheFile) {
  ExportOptions options = TextOptions();
  options.totals = false;
  options.tabulation = false;
  ASSERT_TRUE(Export(spreadsheet).RunExport(options));
  EXPECT_EQ(Written(),
            "Date~Start time~End time~Spent time~Task~Project~Rate~\r\n"
            "1/7/04~9:00:00~10:30:00~1:30:00~Report~Alpha~18.75\r\n"
            "1/7/04~10:45:00~11:00:00~0:15:00~Mail~Beta~5.00\r\n");
  EXPECT_EQ(desktop.opened, QStringList{options.text_path});

  options.totals = true;
  options.open_text = false;
  desktop.opened.clear();
  ASSERT_TRUE(Export(spreadsheet).RunExport(options));
  EXPECT_THAT(Written().toStdString(), ::testing::StartsWith("Year~Month~Project~"));
  EXPECT_TRUE(desktop.opened.isEmpty());
  EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(ExportTest, AllLogRecordsIgnoresTheRangeAndRestoresTheViews) {
  RecordTable& log = tables.log_records;
  int announced = 0;
  log.AddListener([&] { ++announced; });
  for (const bool day_view : {true, false}) {
    SCOPED_TRACE(day_view ? "day view" : "group view");
    views.day_view = day_view;
    views.calendar_clicks = 0;
    if (!day_view) log.SetOrder(kTasksByProject);
    announced = 0;
    const QString order = log.Order();
    ExportOptions options = TextOptions();
    options.all_records = true;
    options.insert_titles = false;
    ASSERT_TRUE(Export(spreadsheet).RunExport(options));
    EXPECT_EQ(Written(),
              "1/6/04\t8:00:00\t9:00:00\t1:00:00\tPlan\tAlpha\t12.50\r\n"
              "1/7/04\t9:00:00\t10:30:00\t1:30:00\tReport\tAlpha\t18.75\r\n"
              "1/7/04\t10:45:00\t11:00:00\t0:15:00\tMail\tBeta\t5.00\r\n");
    EXPECT_EQ(log.Order(), order);
    EXPECT_EQ(views.calendar_clicks, day_view ? 1 : 0);
    EXPECT_FALSE(log.ControlsDisabled());
    // The grids saw one change at the end, not the walk.
    EXPECT_LE(announced, 1);
  }
}

TEST_F(ExportTest, FailedTextWriteIsReportedAndLeavesTheViewsUsable) {
  ExportOptions options = TextOptions();
  options.all_records = true;
  options.text_path = dir.filePath("missing/folder/report.txt");
  EXPECT_FALSE(Export(spreadsheet).RunExport(options));
  ASSERT_EQ(messages.shown.size(), 1);
  EXPECT_TRUE(messages.shown[0].text.contains("missing/folder/report.txt"));
  EXPECT_TRUE(desktop.opened.isEmpty());
  EXPECT_FALSE(tables.log_records.ControlsDisabled());
  EXPECT_EQ(views.calendar_clicks, 1);
  EXPECT_EQ(tables.log_records.Count(), 2);  // the day again
}

TEST_F(ExportTest, SpreadsheetCallsInOrder) {
  ExportOptions options;
  options.spreadsheet = true;
  options.totals = false;
  options.excel_col = "3";
  options.excel_row = "5";
  ASSERT_TRUE(Export(spreadsheet).RunExport(options));
  EXPECT_EQ(spreadsheet.calls,
            (QStringList{"ClassFromProgId(Excel.Application)", "CreateObject(Excel.Application)",
                         "EnableEvents(false)", "WorkBooks.Add()", "WorkSheets(1)", "Cells(5,3)",
                         "Cells(7,9)", "Range(5,3:7,9)", "Value(3x7)", "Visible(true)"}));
  ASSERT_EQ(spreadsheet.values.size(), 3);
  EXPECT_EQ(spreadsheet.values[1][3], QVariant(QTime(1, 30)));

  // A template that exists is handed to the application.
  const QString path = dir.filePath("rvrtempl.xlsx");
  WriteFileAtomic(path, BlankWorkbook());
  options.use_template = true;
  options.template_path = path;
  spreadsheet.calls.clear();
  ASSERT_TRUE(Export(spreadsheet).RunExport(options));
  EXPECT_EQ(spreadsheet.calls.value(3), QStringLiteral("WorkBooks.Add(%1)").arg(path));
  EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(ExportTest, SpreadsheetFailuresStopBeforeTheWorkbook) {
  struct Case {
    const char* name;
    bool registered;
    QString column, row;
    bool use_template;
    QString message;
    qsizetype calls;  // made before the export stopped
  } cases[] = {
      {"no application", false, "2", "2", false, kNoSpreadsheetMessage, 1},
      {"missing template", true, "2", "2", true, kNoTemplateMessage, 3},
      {"empty column", true, "", "2", false, "The cell column must be a number from 1 to 16384.",
       1},
      {"row 0", true, "2", "0", false, "The cell row must be a number from 1 to 1048576.", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    spreadsheet.calls.clear();
    messages.shown.clear();
    spreadsheet.registered = c.registered;
    ExportOptions options;
    options.spreadsheet = true;
    options.excel_col = c.column;
    options.excel_row = c.row;
    options.use_template = c.use_template;
    options.template_path = dir.filePath("none.xlsx");
    EXPECT_FALSE(Export(spreadsheet).RunExport(options));
    EXPECT_EQ(messages.Texts(), QStringList{c.message});
    EXPECT_EQ(spreadsheet.calls.size(), c.calls) << spreadsheet.calls.join(", ").toStdString();
  }
}

// ---- the workbook read back

struct Workbook {
  std::map<std::string, QByteArray> parts;
  pugi::xml_document sheet;
  pugi::xml_document styles;

  explicit Workbook(const QString& path) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive) throw std::runtime_error("not a zip archive");
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
      zip_stat_t stat;
      zip_stat_index(archive, i, 0, &stat);
      QByteArray bytes(static_cast<qsizetype>(stat.size), '\0');
      zip_file_t* file = zip_fopen_index(archive, i, 0);
      zip_fread(file, bytes.data(), stat.size);
      zip_fclose(file);
      parts[stat.name] = bytes;
    }
    zip_close(archive);
    const QByteArray& sheet_bytes = parts["xl/worksheets/sheet1.xml"];
    sheet.load_buffer(sheet_bytes.constData(), sheet_bytes.size());
    const QByteArray& style_bytes = parts["xl/styles.xml"];
    styles.load_buffer(style_bytes.constData(), style_bytes.size());
  }

  pugi::xml_node Cell(const char* ref) const {
    return sheet.select_node((std::string("//c[@r='") + ref + "']").c_str()).node();
  }
  // What a cell holds: "s:<text>", "n:<number>", "" when empty, "none" when absent.
  std::string Value(const char* ref) const {
    const pugi::xml_node cell = Cell(ref);
    if (!cell) return "none";
    if (std::string(cell.attribute("t").value()) == "inlineStr") {
      return std::string("s:") + cell.child("is").child("t").text().get();
    }
    if (cell.child("v")) return std::string("n:") + cell.child("v").text().get();
    return cell.first_child() ? "?" : "";
  }
  int NumberFormat(const char* ref) const {
    const int style = Cell(ref).attribute("s").as_int(0);
    pugi::xml_node xf = styles.child("styleSheet").child("cellXfs").first_child();
    for (int i = 0; i < style; ++i) xf = xf.next_sibling();
    return xf.attribute("numFmtId").as_int(0);
  }
  pugi::xml_node Xf(const char* ref) const {
    const int style = Cell(ref).attribute("s").as_int(0);
    pugi::xml_node xf = styles.child("styleSheet").child("cellXfs").first_child();
    for (int i = 0; i < style; ++i) xf = xf.next_sibling();
    return xf;
  }
};

class XlsxExportTest : public ExportTest {
 protected:
  ExportOptions SheetOptions() {
    ExportOptions options;
    options.spreadsheet = true;
    options.totals = false;
    options.excel_col = "2";
    options.excel_row = "3";
    return options;
  }
  // Runs the export with the real workbook; the one file it opened.
  QString Run(const ExportOptions& options) {
    XlsxAutomation automation(desktop, out.path());
    EXPECT_TRUE(Export(automation).RunExport(options)) << messages.Texts().join("; ").toStdString();
    EXPECT_EQ(automation.Written().size(), 1);
    EXPECT_EQ(desktop.opened, automation.Written());
    return automation.Written().value(0);
  }
  QTemporaryDir out;
};

TEST_F(XlsxExportTest, BlankWorkbookHoldsTheBlockWithTypedCells) {
  const QString path = Run(SheetOptions());
  EXPECT_TRUE(path.endsWith(".xlsx"));
  EXPECT_EQ(QFileInfo(path).path(), out.path());
  const Workbook book(path);
  EXPECT_EQ(book.Value("B3"), "s:Date");
  EXPECT_EQ(book.Value("H3"), "s:Rate");
  EXPECT_EQ(book.Value("A3"), "none");
  EXPECT_EQ(book.Value("B4"), "n:37993");  // 2004-01-07
  EXPECT_EQ(book.NumberFormat("B4"), 14);
  EXPECT_EQ(book.Value("C4"), "n:0.375");  // 9:00:00
  EXPECT_EQ(book.NumberFormat("C4"), 21);
  EXPECT_EQ(book.Value("F4"), "s:Report");
  EXPECT_EQ(book.Value("H4"), "n:18.75");
  EXPECT_EQ(book.NumberFormat("H4"), 0);
  EXPECT_EQ(book.Value("F5"), "s:Mail");
  EXPECT_EQ(book.Value("B6"), "none");
  EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(XlsxExportTest, EmptyTitleRowAndHiddenColumnsWriteEmptyCells) {
  ExportOptions options = SheetOptions();
  options.totals = true;
  options.insert_titles = false;
  const Workbook book(Run(options));
  // Row 3 is written empty across the grid's nine columns.
  for (const char* ref : {"B3", "F3", "J3"}) EXPECT_EQ(book.Value(ref), "") << ref;
  EXPECT_EQ(book.Value("B4"), "n:2004");
  EXPECT_EQ(book.Value("C4"), "s:January");
  EXPECT_EQ(book.Value("F4"), "n:0.09375");  // 2:15:00
  EXPECT_EQ(book.Value("G4"), "n:28.125");
  for (const char* ref : {"H4", "I4", "J4"}) EXPECT_EQ(book.Value(ref), "") << ref;
  EXPECT_EQ(book.Value("K4"), "none");

  // An empty source is the one row of titles.
  tables.tasks_total.Clear();
  options.insert_titles = true;
  desktop.opened.clear();
  const Workbook empty(Run(options));
  EXPECT_EQ(empty.Value("B3"), "s:Year");
  EXPECT_EQ(empty.Value("G3"), "s:Rate");
  EXPECT_EQ(empty.Value("B4"), "none");
}

// A template with a styled cell inside the block, a formula beside it and a
// second sheet.
QByteArray TemplateWorkbook() {
  XlsxPackage package = XlsxPackage::FromBytes(BlankWorkbook());
  package.SetPart(
      "xl/workbook.xml",
      R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
      R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
      R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
      R"(<sheets><sheet name="Data" sheetId="1" r:id="rId1"/>)"
      R"(<sheet name="Notes" sheetId="2" r:id="rId3"/></sheets></workbook>)");
  package.SetPart(
      "xl/_rels/workbook.xml.rels",
      R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
      R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
      R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
      R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
      R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet2.xml"/>)"
      R"(</Relationships>)");
  package.SetPart("xl/worksheets/sheet1.xml",
                  R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                  R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
                  R"(<dimension ref="A1:B4"/><sheetData>)"
                  R"(<row r="1"><c r="A1" t="inlineStr"><is><t>Monthly report</t></is></c></row>)"
                  R"(<row r="3" spans="2:2"><c r="B3" s="1"/></row>)"
                  R"(<row r="4"><c r="A4"><f>SUM(H4:H5)</f><v>0</v></c><c r="B4" s="1"/></row>)"
                  R"(</sheetData></worksheet>)");
  package.SetPart("xl/worksheets/sheet2.xml",
                  R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                  R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
                  R"(<sheetData><row r="1"><c r="A1"><v>42</v></c></row></sheetData></worksheet>)");
  package.SetPart(
      "xl/styles.xml",
      R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
      R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
      R"(<fonts count="2"><font><sz val="11"/><name val="Calibri"/></font>)"
      R"(<font><b/><sz val="14"/><name val="Calibri"/></font></fonts>)"
      R"(<fills count="2"><fill><patternFill patternType="none"/></fill>)"
      R"(<fill><patternFill patternType="gray125"/></fill></fills>)"
      R"(<borders count="1"><border/></borders>)"
      R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
      R"(<cellXfs count="2"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>)"
      R"(<xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1"/></cellXfs>)"
      R"(</styleSheet>)");
  QByteArray types = package.Part("[Content_Types].xml");
  types.replace(
      "</Types>",
      R"(<Override PartName="/xl/worksheets/sheet2.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/></Types>)");
  package.SetPart("[Content_Types].xml", types);
  return package.ToBytes();
}

TEST_F(XlsxExportTest, TemplateCopyKeepsItsStylesSheetsAndFormulas) {
  const QString template_path = dir.filePath("rvrtempl.xlsx");
  const QByteArray template_bytes = TemplateWorkbook();
  WriteFileAtomic(template_path, template_bytes);
  const QByteArray second_sheet =
      XlsxPackage::FromBytes(template_bytes).Part("xl/worksheets/sheet2.xml");
  ExportOptions options = SheetOptions();
  options.use_template = true;
  options.template_path = template_path;
  const Workbook book(Run(options));

  EXPECT_EQ(ReadWholeFile(template_path), template_bytes);
  EXPECT_EQ(book.parts.at("xl/worksheets/sheet2.xml"), second_sheet);
  EXPECT_EQ(book.Value("A1"), "s:Monthly report");
  EXPECT_EQ(std::string(book.Cell("A4").child("f").text().get()), "SUM(H4:H5)");
  // The bold title keeps its style; the bold date gets a bold date style.
  EXPECT_EQ(book.Value("B3"), "s:Date");
  EXPECT_EQ(book.Cell("B3").attribute("s").as_int(), 1);
  EXPECT_EQ(book.Value("B4"), "n:37993");
  EXPECT_EQ(book.Xf("B4").attribute("fontId").as_int(), 1);
  EXPECT_EQ(book.NumberFormat("B4"), 14);
  EXPECT_EQ(book.Value("H5"), "n:5");
  EXPECT_TRUE(book.styles.select_node("//font/b"));
  // Rows and cells stay in order for the programs that read them.
  std::vector<int> rows;
  for (pugi::xml_node row : book.sheet.child("worksheet").child("sheetData").children("row")) {
    rows.push_back(row.attribute("r").as_int());
  }
  EXPECT_EQ(rows, (std::vector<int>{1, 3, 4, 5}));
  EXPECT_STREQ(book.Cell("A4").next_sibling().attribute("r").value(), "B4");
}

TEST_F(XlsxExportTest, UnreadableTemplateOrNoProgramIsReported) {
  const QString path = dir.filePath("old.xlsx");
  WriteFileAtomic(path, "not a workbook");
  ExportOptions options = SheetOptions();
  options.use_template = true;
  options.template_path = path;
  XlsxAutomation automation(desktop, out.path());
  EXPECT_FALSE(Export(automation).RunExport(options));
  ASSERT_EQ(messages.shown.size(), 1);
  EXPECT_TRUE(messages.shown[0].text.contains("not a valid spreadsheet file"));
  EXPECT_TRUE(automation.Written().isEmpty());

  messages.shown.clear();
  desktop.has_program = false;
  EXPECT_FALSE(Export(automation).RunExport(SheetOptions()));
  EXPECT_EQ(messages.Texts(), QStringList{kNoSpreadsheetMessage});
  EXPECT_TRUE(QDir(out.path()).isEmpty());
}

// A damaged size field in the zip directory is refused before anything of
// that size is allocated.
TEST(XlsxPackageTest, PartSizeBeyondAnyTemplateIsRefused) {
  QByteArray zip = BlankWorkbook();
  const qsizetype entry = zip.indexOf(QByteArray("PK\x01\x02", 4));
  ASSERT_GE(entry, 0);
  const char huge[] = {'\x00', '\x00', '\x00', '\x7f'};  // 2 GB, little-endian
  zip.replace(entry + 24, 4, huge, 4);
  try {
    XlsxPackage::FromBytes(zip);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_TRUE(e.message().contains("too large")) << e.message().toStdString();
  }
}

// ---- clipboard texts

TEST_F(ExportTest, CopyTextsOfTheLogGrid) {
  RecordTable& log = tables.log_records;
  const int report = log.ViewRecords()[0];
  EXPECT_EQ(EntireRowText(log, report, LogColumns(), CopyGrid::kLog),
            "1/7/04\t9:00:00\t10:30:00\t1:30:00\tReport\tAlpha\t18.75\t");
  const auto column = [&](const char* title) {
    for (const ExportColumn& c : LogColumns()) {
      if (c.title == title) return ColumnText(log, report, c, CopyGrid::kLog);
    }
    return QString("<none>");
  };
  EXPECT_EQ(column("Spent time"), "1:30:00");
  EXPECT_EQ(column("Rate"), "18.75");
  EXPECT_EQ(column("Date"), "1/7/04");

  // 12.50 loses its trailing zero; the decimal separator is the locale's.
  const int plan = 2;  // stored third, earning 12.50
  EXPECT_EQ(ColumnText(log, plan, LogColumns()[6], CopyGrid::kLog), "12.5");
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(ColumnText(log, report, LogColumns()[6], CopyGrid::kLog), "18,75");

  EXPECT_EQ(EntireRowText(log, -1, LogColumns(), CopyGrid::kLog), "");
  EXPECT_EQ(ColumnText(log, -1, LogColumns()[3], CopyGrid::kLog), "");
}

TEST_F(ExportTest, CopyTextsOfTheTotalsGrid) {
  RecordTable& totals = tables.tasks_total;
  AppendTotal(totals, "Beta", "Mail", "2:30:00", "26:30:00", 1234.5);
  // The group view's long time text instead of the time of day.
  QList<ExportColumn> columns = TotalsColumns();
  columns[6].visible = false;
  columns[7].visible = true;
  EXPECT_EQ(EntireRowText(totals, 1, columns, CopyGrid::kTotals),
            "2004\tJanuary\tBeta\tMail\t26:30:00\t1234.5\t");
  EXPECT_EQ(ColumnText(totals, 1, columns[7], CopyGrid::kTotals), "26:30:00");
  EXPECT_EQ(ColumnText(totals, 1, columns[6], CopyGrid::kTotals), "2:30:00");
  EXPECT_EQ(ColumnText(totals, 0, columns[8], CopyGrid::kTotals), "28.125");
}

}  // namespace
