#include "money.h"

#include <cmath>
#include <cstdlib>

namespace ravell {

bool ParseNumber(const QString& text, double* value) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && text[i] == u' ') ++i;
  const qsizetype start = i;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) ++i;
  qsizetype digits = 0;
  while (i < n && text[i] >= u'0' && text[i] <= u'9') ++i, ++digits;
  bool point = false;
  if (i < n && text[i] == u'.') {
    point = true;
    ++i;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') ++i, ++digits;
  }
  if (digits == 0 && !point) return false;
  if (i < n && (text[i] == u'e' || text[i] == u'E')) {
    ++i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) ++i;
    qsizetype exponent_digits = 0;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') ++i, ++exponent_digits;
    if (exponent_digits == 0) return false;
  }
  if (i != n) return false;
  QByteArray number = text.mid(start, i - start).toLatin1();
  // strtod reads "." as 0 only with a digit; "+." and "." mean zero here.
  if (digits == 0) {
    *value = 0;
    return true;
  }
  if (number.startsWith('.') || number.startsWith("-.") || number.startsWith("+.")) {
    number.insert(number.indexOf('.'), '0');
  }
  // The C locale is in force for strtod in a Qt program.
  char* end = nullptr;
  const double result = std::strtod(number.constData(), &end);
  if (end != number.constData() + number.size() || !std::isfinite(result)) return false;
  *value = result;
  return true;
}

QString MoneyText(double value) {
  QString text = QString::number(value, 'f', 2);
  if (text == QLatin1String("-0.00")) text = QStringLiteral("0.00");
  return text;
}

}  // namespace ravell
