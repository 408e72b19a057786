#include "clipboardcopy.h"

namespace ravell {

namespace {

bool EndsWithTime(const QString& field) { return field.endsWith(QLatin1String("Time")); }

}  // namespace

QString EntireRowText(const RecordTable& table, int record, const QList<ExportColumn>& columns,
                      CopyGrid grid) {
  QString text;
  if (record < 0) return text;
  for (const ExportColumn& column : columns) {
    if (!column.visible) continue;
    const bool time_text = grid == CopyGrid::kLog ? column.field.startsWith(QLatin1String("Time"))
                                                  : EndsWithTime(column.field);
    text += CopyValueText(table, record, table.FieldIndex(column.field), time_text);
    text += QLatin1Char('\t');
  }
  return text;
}

QString ColumnText(const RecordTable& table, int record, const ExportColumn& column,
                   CopyGrid grid) {
  if (record < 0) return QString();
  const bool time_text = grid == CopyGrid::kLog
                             ? column.title.contains(QLatin1String("time"), Qt::CaseInsensitive)
                             : EndsWithTime(column.field);
  return CopyValueText(table, record, table.FieldIndex(column.field), time_text);
}

}  // namespace ravell
