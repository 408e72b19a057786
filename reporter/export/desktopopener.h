#pragma once

#include <QString>

namespace ravell {

// The desktop's "open with the associated program".
class DesktopOpener {
 public:
  virtual ~DesktopOpener() = default;
  // Whether the desktop has a program for files of that media type.
  virtual bool HasProgramFor(const QString& mime_type) = 0;
  // Opens the file with its program, not waiting for it; false on failure.
  virtual bool Open(const QString& path) = 0;
};

}  // namespace ravell
