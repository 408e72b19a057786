#pragma once

#include <QList>
#include <QString>

#include "recordtable.h"
#include "valuetext.h"

namespace ravell {

// The two grids differ in which values they copy as time texts.
enum class CopyGrid { kLog, kTotals };

// "Entire row": each visible column's value text followed by a tab, the last
// one included, no line end; empty when there is no record (-1).
QString EntireRowText(const RecordTable& table, int record, const QList<ExportColumn>& columns,
                      CopyGrid grid);

// One column's value text alone; empty when there is no record (-1).
QString ColumnText(const RecordTable& table, int record, const ExportColumn& column, CopyGrid grid);

}  // namespace ravell
