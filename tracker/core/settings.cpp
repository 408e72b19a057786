#include "settings.h"

namespace ravell {

Settings::Settings(const QString& program_folder)
    : ini_(program_folder + QLatin1Char('/') + QLatin1String(kFileName)) {}

StorageTarget StorageTargetOf(const QString& target_value) {
  if (target_value == QLatin1String("Log")) return StorageTarget::kLog;
  if (target_value == QLatin1String("Notes")) return StorageTarget::kNotes;
  if (target_value == QLatin1String("Combine")) return StorageTarget::kCombine;
  return StorageTarget::kNone;
}

}  // namespace ravell
