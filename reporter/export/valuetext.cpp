#include "valuetext.h"

#include <QDate>
#include <QLocale>

#include "datetime.h"
#include "money.h"
#include "timetext.h"

namespace ravell {

namespace {

bool IsMoneyField(const QString& name) {
  return name == QLatin1String("Rate") || name == QLatin1String("dRate");
}

QString TimeText(const RecordTable& table, int record, int field) {
  return FormatTime(FromMilliseconds(table.Int(record, field)));
}

// The text of a value whose form is the same for every use: integers,
// time values as time texts (also where an ordinary text is asked for),
// short dates, texts as stored.
QString PlainValueText(const RecordTable& table, int record, int field) {
  switch (table.Fields()[field].type) {
    case FieldType::kInt:
      return QString::number(table.Int(record, field));
    case FieldType::kTime:
      return TimeText(table, record, field);
    case FieldType::kDate:
      return QLocale().toString(QDate::fromJulianDay(table.Int(record, field)),
                                QLocale::ShortFormat);
    case FieldType::kText:
      return table.Text(record, field);
    case FieldType::kDouble:
      break;
  }
  return QString();
}

}  // namespace

QList<ExportColumn> VisibleColumns(const QList<ExportColumn>& columns) {
  QList<ExportColumn> visible;
  for (const ExportColumn& column : columns) {
    if (column.visible) visible << column;
  }
  return visible;
}

QString ExportValueText(const RecordTable& table, int record, int field) {
  if (record < 0 || field < 0 || table.IsNull(record, field)) return QString();
  const FieldDef& def = table.Fields()[field];
  if (IsMoneyField(def.name) && def.type == FieldType::kDouble) {
    return MoneyText(table.Double(record, field));
  }
  if (def.type == FieldType::kDouble) return QString::number(table.Double(record, field), 'g', 15);
  return PlainValueText(table, record, field);
}

QString CopyValueText(const RecordTable& table, int record, int field, bool time_text) {
  if (record < 0 || field < 0 || table.IsNull(record, field)) return QString();
  const FieldDef& def = table.Fields()[field];
  if (time_text && def.type == FieldType::kTime) return TimeText(table, record, field);
  if (def.type == FieldType::kDouble) {
    // Grouping would make the text useless to paste into a number cell.
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(table.Double(record, field), 'g', 15);
  }
  return PlainValueText(table, record, field);
}

}  // namespace ravell
