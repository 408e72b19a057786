#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "recordtable.h"
#include "valuetext.h"

namespace ravell {

// The delimited text file of an export: an optional titles line with the
// delimiter after every title, then one line per record of the table's view
// with the delimiter between values (none after the grid's last column);
// lines end with CR LF; 8-bit text in the system code page.
QByteArray ComposeTextExport(const RecordTable& table, const QList<ExportColumn>& columns,
                             bool insert_titles, const QString& delimiter);

}  // namespace ravell
