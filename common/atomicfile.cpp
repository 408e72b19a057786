#include "atomicfile.h"

#include <QFile>
#include <QSaveFile>

#include "error.h"

namespace ravell {

void WriteFileAtomic(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  // Unbuffered: a buffered write that the disk takes only in part (full disk,
  // file size limit) is committed as if whole, and the file ends up cut off.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    throw FileError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
  }
  const auto fail = [&] {
    const QString reason = file.errorString();
    file.cancelWriting();
    throw FileError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, reason));
  };
  // A short write is retried, so the one that fails reports why.
  for (qsizetype done = 0; done < bytes.size();) {
    const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
    if (written <= 0) fail();
    done += written;
  }
  if (!file.commit()) fail();
}

QByteArray ReadWholeFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw FileError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
  }
  return file.readAll();
}

}  // namespace ravell
