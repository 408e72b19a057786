#pragma once

#include <QString>

namespace ravell {

// The program's version parts joined with ".": bit 1 major, 2 minor,
// 4 release, 8 build (3 gives "1.0").
QString VersionText(int parts);

}  // namespace ravell
