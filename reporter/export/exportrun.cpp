#include "exportrun.h"

#include <QDir>
#include <QFileInfo>

#include "atomicfile.h"
#include "error.h"
#include "textexport.h"

namespace ravell {

namespace {

// The spreadsheet's sheet size.
constexpr int kMostRows = 1048576;
constexpr int kMostColumns = 16384;

}  // namespace

DataExport::DataExport(ReporterTables& tables, ExportViews& views,
                       SpreadsheetAutomation& automation, DesktopOpener& opener,
                       MessageBoxes& messages)
    : tables_(tables),
      views_(views),
      automation_(automation),
      opener_(opener),
      messages_(messages) {}

bool DataExport::RunExport(const ExportOptions& options) {
  RecordTable* table = nullptr;
  QList<ExportColumn> columns;
  if (options.all_records) {
    table = &tables_.log_records;
    columns = views_.LogGridColumns();
  } else if (options.totals) {
    table = &tables_.tasks_total;
    columns = views_.TotalsGridColumns();
  } else {
    table = &views_.LogGridTable();
    columns = views_.LogGridColumns();
  }

  // The grids stay where they are while the export walks the table.
  table->DisableControls();
  RecordTable& log = tables_.log_records;
  const QString log_order = log.Order();
  if (options.all_records) {
    log.SetOrder(kByTimeStart);
    log.CancelRange();
  }
  bool done = false;
  try {
    done = options.spreadsheet ? ExporttoMSExcel(*table, columns, options)
                               : ExportText(*table, columns, options);
  } catch (const Error& error) {
    messages_.Show(error.message(), QString(), MsgIcon::kError);
  }
  if (options.all_records) {
    log.SetOrder(log_order);
    if (views_.DayView()) views_.LogCalendarClick();
  }
  table->EnableControls();
  return done;
}

bool DataExport::ExportText(const RecordTable& table, const QList<ExportColumn>& columns,
                            const ExportOptions& options) {
  const QString delimiter = options.tabulation ? QStringLiteral("\t") : options.custom_delimiter;
  WriteFileAtomic(options.text_path,
                  ComposeTextExport(table, columns, options.insert_titles, delimiter));
  if (options.open_text && !opener_.Open(options.text_path)) {
    messages_.Show(QStringLiteral("The text file %1 was written, but no program could open it.")
                       .arg(QDir::toNativeSeparators(options.text_path)),
                   QString(), MsgIcon::kWarning);
  }
  return true;
}

bool DataExport::CellNumber(const QString& text, const char* what, int most, int* number) {
  bool ok = false;
  *number = text.trimmed().toInt(&ok);
  if (ok && *number >= 1 && *number <= most) return true;
  messages_.Show(QStringLiteral("The cell %1 must be a number from 1 to %2.")
                     .arg(QString::fromLatin1(what))
                     .arg(most),
                 QString(), MsgIcon::kWarning);
  return false;
}

bool DataExport::ExporttoMSExcel(const RecordTable& table, const QList<ExportColumn>& columns,
                                 const ExportOptions& options) {
  const QString prog_id = QString::fromLatin1(kSpreadsheetProgId);
  if (!automation_.ClassFromProgId(prog_id)) {
    messages_.Show(QString::fromLatin1(kNoSpreadsheetMessage), QString(), MsgIcon::kWarning);
    return false;
  }
  int column = 0;
  int row = 0;
  if (!CellNumber(options.excel_col, "column", kMostColumns, &column) ||
      !CellNumber(options.excel_row, "row", kMostRows, &row)) {
    return false;
  }
  const int records = table.Count();
  const int width = static_cast<int>(columns.size());

  std::unique_ptr<SpreadsheetApplication> application = automation_.CreateObject(prog_id);
  application->SetEnableEvents(false);
  SpreadsheetWorkbook* workbook = nullptr;
  if (options.use_template) {
    if (!QFileInfo(options.template_path).isFile()) {
      messages_.Show(QString::fromLatin1(kNoTemplateMessage), QString(), MsgIcon::kWarning);
      return false;
    }
    workbook = &application->WorkBooksAdd(options.template_path);
  } else {
    workbook = &application->WorkBooksAdd();
  }
  const SheetValues block = BuildSheetBlock(table, columns, options.insert_titles);
  SpreadsheetWorksheet& sheet = workbook->WorkSheets(1);
  const SheetCell first = sheet.Cells(row, column);
  // The last cell lies past the sheet's end when the block does not fit;
  // the application says so.
  const SheetCell last = sheet.Cells(row + records, column + width - 1);
  sheet.SetValue(sheet.Range(first, last), block);
  application->SetVisible(true);
  return true;
}

}  // namespace ravell
