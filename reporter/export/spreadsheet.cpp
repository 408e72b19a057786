#include "spreadsheet.h"

namespace ravell {

QVariant SheetValue(const RecordTable& table, int record, int field) {
  return table.RecordValue(record, field);
}

SheetValues BuildSheetBlock(const RecordTable& table, const QList<ExportColumn>& columns,
                            bool insert_titles) {
  const qsizetype width = columns.size();
  QVariantList titles(width);
  QList<int> fields;
  for (const ExportColumn& column : columns) {
    if (column.visible) fields << table.FieldIndex(column.field);
  }
  if (insert_titles) {
    qsizetype i = 0;
    for (const ExportColumn& column : columns) {
      if (column.visible) titles[i++] = column.title;
    }
  }
  SheetValues block;
  block.reserve(table.Count() + 1);
  block << titles;
  for (const int record : table.ViewRecords()) {
    QVariantList row(width);
    for (qsizetype i = 0; i < fields.size(); ++i) row[i] = SheetValue(table, record, fields[i]);
    block << row;
  }
  return block;
}

}  // namespace ravell
