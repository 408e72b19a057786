#pragma once

#include <QString>

namespace ravell {

// Reads a number with "." as decimal point whatever the locale: optional
// leading blanks and sign, digits with an optional point and fraction (a lone
// point reads as 0), an optional exponent; nothing may follow.
bool ParseNumber(const QString& text, double* value);

// Exactly two decimals, "." as point, no thousands separator: "12.50", "0.00".
QString MoneyText(double value);

}  // namespace ravell
