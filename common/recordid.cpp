#include "recordid.h"

#include <QRandomGenerator>

namespace ravell {

QString FormatTaskId(const QDate& date, int random_below_million) {
  return QStringLiteral("%1%2%3%4")
      .arg(date.year())
      .arg(date.month(), 2, 10, QLatin1Char('0'))
      .arg(date.day(), 2, 10, QLatin1Char('0'))
      .arg(random_below_million, 6, 10, QLatin1Char('0'));
}

QString NewTaskId(const QDate& date) {
  return FormatTaskId(date, static_cast<int>(QRandomGenerator::global()->bounded(1000000)));
}

}  // namespace ravell
