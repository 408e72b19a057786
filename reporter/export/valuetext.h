#pragma once

#include <QList>
#include <QString>

#include "recordtable.h"

namespace ravell {

// One column of a grid as the export and the copy commands see it.
struct ExportColumn {
  QString field;  // a field of the grid's table
  QString title;  // the column's header text
  bool visible = true;
};

// Visible columns only, in grid order.
QList<ExportColumn> VisibleColumns(const QList<ExportColumn>& columns);

// A value of the text file: money fields with two decimals and a point, time
// fields as time texts, dates in the short date format, other values as is;
// empty for a value the record does not have.
QString ExportValueText(const RecordTable& table, int record, int field);

// A value copied to the clipboard: a time text when asked for, otherwise
// numbers in general format (at most 15 significant digits, the locale's
// decimal separator), dates in the short date format, texts as stored.
QString CopyValueText(const RecordTable& table, int record, int field, bool time_text);

}  // namespace ravell
