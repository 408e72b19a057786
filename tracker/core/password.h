#pragma once

#include <QString>

namespace ravell {

// Stored form of the Notes password. Longer passwords cannot be stored: the
// length field must stay below four digits.
inline constexpr int kMaxPasswordLength = 577;

QString ScramblePassword(const QString& password);
QString UnscramblePassword(const QString& scrambled);

}  // namespace ravell
