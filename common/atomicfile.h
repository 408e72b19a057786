#pragma once

#include <QByteArray>
#include <QString>

namespace ravell {

// Replaces the whole file: a temporary is written, then renamed over the old
// file, so a crash or a full disk never leaves a truncated file behind.
// Throws FileError with a message naming the file.
void WriteFileAtomic(const QString& path, const QByteArray& bytes);

// Reads the whole file; throws FileError when it cannot be opened.
QByteArray ReadWholeFile(const QString& path);

}  // namespace ravell
