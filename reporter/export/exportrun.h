#pragma once

#include <QList>
#include <QString>

#include "desktopopener.h"
#include "logtables.h"
#include "messages.h"
#include "spreadsheet.h"
#include "valuetext.h"

namespace ravell {

// The choices of the "Data Export" page.
struct ExportOptions {
  bool all_records = false;  // else the records a grid shows
  bool totals = true;        // with the shown records: the totals grid, else the log grid
  bool insert_titles = true;
  bool spreadsheet = false;  // else a text file
  QString excel_col = QStringLiteral("2");
  QString excel_row = QStringLiteral("2");
  bool use_template = false;
  QString template_path;
  bool tabulation = true;  // else the custom delimiter
  QString custom_delimiter = QStringLiteral("~");
  QString text_path;
  bool open_text = true;
};

// What the export needs of the windows that show the tables.
class ExportViews {
 public:
  virtual ~ExportViews() = default;
  // The table the log grid shows: DisplayLog in the group view, LogRecords
  // in the day view.
  virtual RecordTable& LogGridTable() = 0;
  virtual QList<ExportColumn> LogGridColumns() = 0;
  virtual QList<ExportColumn> TotalsGridColumns() = 0;
  virtual bool DayView() = 0;
  // Shows the calendar's day again.
  virtual void LogCalendarClick() = 0;
};

inline constexpr char kNoSpreadsheetMessage[] =
    "Ravell have not found the MS Excel on you computer";
inline constexpr char kNoTemplateMessage[] =
    "Ravell can not found template file.\n\rPlease, define the template file path";

// The export of the "Data Export" page, without its widgets.
class DataExport {
 public:
  DataExport(ReporterTables& tables, ExportViews& views, SpreadsheetAutomation& automation,
             DesktopOpener& opener, MessageBoxes& messages);

  // RunExportClick: exports as chosen; false when it stopped with a message.
  // The grids do not follow the walk, and "All log records" leaves the log
  // in the order and the day view it had, also after a failure.
  bool RunExport(const ExportOptions& options);

  // The spreadsheet export of a table's view with a grid's columns; throws
  // Error for what the spreadsheet application refused.
  bool ExporttoMSExcel(const RecordTable& table, const QList<ExportColumn>& columns,
                       const ExportOptions& options);

 private:
  bool ExportText(const RecordTable& table, const QList<ExportColumn>& columns,
                  const ExportOptions& options);
  bool CellNumber(const QString& text, const char* what, int most, int* number);

  ReporterTables& tables_;
  ExportViews& views_;
  SpreadsheetAutomation& automation_;
  DesktopOpener& opener_;
  MessageBoxes& messages_;
};

}  // namespace ravell
