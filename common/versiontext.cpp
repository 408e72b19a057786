#include "versiontext.h"

#include <QStringList>

#include "version.h"

namespace ravell {

QString VersionText(int parts) {
  const int numbers[] = {kVersionMajor, kVersionMinor, kVersionRelease, kVersionBuild};
  QStringList selected;
  for (int i = 0; i < 4; ++i) {
    if (parts & (1 << i)) selected << QString::number(numbers[i]);
  }
  return selected.join(QLatin1Char('.'));
}

}  // namespace ravell
