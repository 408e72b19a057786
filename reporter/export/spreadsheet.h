#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>

#include "recordtable.h"
#include "valuetext.h"

namespace ravell {

// The spreadsheet application's program identifier.
inline constexpr char kSpreadsheetProgId[] = "Excel.Application";

// Values of a block of cells, row index first. A value is empty (null), a
// text (QString), an integer, a floating-point number (double), a date
// (QDate) or a time of day (QTime).
using SheetValues = QList<QVariantList>;

struct SheetCell {
  int row = 0;     // 1-based
  int column = 0;  // 1-based
};

struct SheetRange {
  SheetCell first;
  SheetCell last;
};

// The calls the export makes on a spreadsheet application, one for one with
// its automation object, so a recording fake can stand in for it.
class SpreadsheetWorksheet {
 public:
  virtual ~SpreadsheetWorksheet() = default;
  virtual SheetCell Cells(int row, int column) = 0;
  virtual SheetRange Range(const SheetCell& first, const SheetCell& last) = 0;
  // Range.Value := values, in one assignment.
  virtual void SetValue(const SheetRange& range, const SheetValues& values) = 0;
};

class SpreadsheetWorkbook {
 public:
  virtual ~SpreadsheetWorkbook() = default;
  virtual SpreadsheetWorksheet& WorkSheets(int index) = 0;  // 1-based
};

class SpreadsheetApplication {
 public:
  virtual ~SpreadsheetApplication() = default;
  virtual void SetEnableEvents(bool on) = 0;
  // A new workbook, blank or based on a template file.
  virtual SpreadsheetWorkbook& WorkBooksAdd() = 0;
  virtual SpreadsheetWorkbook& WorkBooksAdd(const QString& template_path) = 0;
  // Shows the application with its workbooks to the user.
  virtual void SetVisible(bool on) = 0;
};

// Class lookup by program identifier and creation of the object. The
// application's calls throw Error with its message when they fail.
class SpreadsheetAutomation {
 public:
  virtual ~SpreadsheetAutomation() = default;
  virtual bool ClassFromProgId(const QString& prog_id) = 0;
  virtual std::unique_ptr<SpreadsheetApplication> CreateObject(const QString& prog_id) = 0;
};

// A field's value in its own type for a cell; null when the record lacks it.
QVariant SheetValue(const RecordTable& table, int record, int field);

// The exported block: one row for the titles (empty without them), then one
// row per record of the table's view; as wide as the grid has columns, the
// visible columns' values from the left, the rest empty.
SheetValues BuildSheetBlock(const RecordTable& table, const QList<ExportColumn>& columns,
                            bool insert_titles);

}  // namespace ravell
