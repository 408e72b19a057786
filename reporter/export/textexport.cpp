#include "textexport.h"

#include "textcodec.h"

namespace ravell {

QByteArray ComposeTextExport(const RecordTable& table, const QList<ExportColumn>& columns,
                             bool insert_titles, const QString& delimiter) {
  const QByteArray separator = ToFileText(delimiter);
  const QByteArray line_end("\r\n");
  QByteArray bytes;
  if (insert_titles) {
    for (const ExportColumn& column : columns) {
      if (column.visible) bytes += ToFileText(column.title) + separator;
    }
    bytes += line_end;
  }
  QList<int> fields;
  for (const ExportColumn& column : columns) fields << table.FieldIndex(column.field);
  for (const int record : table.ViewRecords()) {
    for (int i = 0; i < columns.size(); ++i) {
      if (!columns[i].visible) continue;
      bytes += ToFileText(ExportValueText(table, record, fields[i]));
      if (i != columns.size() - 1) bytes += separator;
    }
    bytes += line_end;
  }
  return bytes;
}

}  // namespace ravell
