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

bool IsTimeField(const QString& name) {
  return name == QLatin1String("TimeStart") || name == QLatin1String("TimeEnd") ||
         name == QLatin1String("TimeDelta") || name == QLatin1String("TotalTime");
}

QString TimeText(const RecordTable& table, int record, int field) {
  return FormatTime(FromMilliseconds(table.Int(record, field)));
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
  if (IsTimeField(def.name) && def.type == FieldType::kTime) return TimeText(table, record, field);
  switch (def.type) {
    case FieldType::kInt:
      return QString::number(table.Int(record, field));
    case FieldType::kDouble:
      return QString::number(table.Double(record, field), 'g', 15);
    case FieldType::kTime:
      return TimeText(table, record, field);
    case FieldType::kDate:
      return QLocale().toString(QDate::fromJulianDay(table.Int(record, field)),
                                QLocale::ShortFormat);
    case FieldType::kText:
      return table.Text(record, field);
  }
  return QString();
}

QString CopyValueText(const RecordTable& table, int record, int field, bool time_text) {
  if (record < 0 || field < 0 || table.IsNull(record, field)) return QString();
  const FieldDef& def = table.Fields()[field];
  if (time_text && def.type == FieldType::kTime) return TimeText(table, record, field);
  switch (def.type) {
    case FieldType::kInt:
      return QString::number(table.Int(record, field));
    case FieldType::kDouble: {
      // Grouping would make the text useless to paste into a number cell.
      QLocale locale;
      locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
      return locale.toString(table.Double(record, field), 'g', 15);
    }
    case FieldType::kTime:
      // A time value copied as an ordinary text is still shown as a time.
      return TimeText(table, record, field);
    case FieldType::kDate:
      return QLocale().toString(QDate::fromJulianDay(table.Int(record, field)),
                                QLocale::ShortFormat);
    case FieldType::kText:
      return table.Text(record, field);
  }
  return QString();
}

}  // namespace ravell
