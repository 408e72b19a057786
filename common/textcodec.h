#pragma once

#include <QByteArray>
#include <QString>

namespace ravell {

// Files hold 8-bit text in the system code page: bytes on disk, the locale's
// codec on screen, so a name survives every write and read byte for byte.
inline QString FromFileText(const QByteArray& bytes) { return QString::fromLocal8Bit(bytes); }
inline QByteArray ToFileText(const QString& text) { return text.toLocal8Bit(); }

}  // namespace ravell
