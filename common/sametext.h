#pragma once

#include <QString>

namespace ravell {

// Names the user typed (projects, plan keys) match without regard to case,
// the way the user's locale compares them.
inline bool SameTextIgnoringCase(const QString& a, const QString& b) {
  return QString::localeAwareCompare(a.toCaseFolded(), b.toCaseFolded()) == 0;
}

}  // namespace ravell
