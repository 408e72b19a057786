#pragma once

#include <QString>

#include "version.h"

namespace ravell {

// major.minor.release.build, compiled in from the project version.
inline QString FullVersionText() {
  return QString::fromLatin1("%1.%2.%3.%4")
      .arg(kVersionMajor)
      .arg(kVersionMinor)
      .arg(kVersionRelease)
      .arg(kVersionBuild);
}

}  // namespace ravell
