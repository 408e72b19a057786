#include "atomicfile.h"

#include <QFile>
#include <QSaveFile>

#include "error.h"

namespace ravell {

void WriteFileAtomic(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    throw FileError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
  }
  if (file.write(bytes) != bytes.size() || !file.commit()) {
    const QString reason = file.errorString();
    file.cancelWriting();
    throw FileError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, reason));
  }
}

QByteArray ReadWholeFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw FileError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
  }
  return file.readAll();
}

}  // namespace ravell
