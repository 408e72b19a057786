// ravell.ini as read and rewritten by the tracker; the file lives in a
// folder of its own for the whole run, in memory where there is a tmpfs, as
// every atomic write ends with a sync to disk.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "error.h"
#include "inifile.h"

using namespace ravell;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Removed at exit.
  static QTemporaryDir folder(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                  ? QStringLiteral("/dev/shm/ravell-fuzz-XXXXXX")
                                  : QDir::tempPath() + QStringLiteral("/ravell-fuzz-XXXXXX"));
  const QString path = folder.filePath(QStringLiteral("ravell.ini"));
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  IniFile ini(path);
  ini.Read(QStringLiteral("Storage"), QStringLiteral("Target"), QStringLiteral("Log"));
  ini.Read(QStringLiteral("Options"), QStringLiteral("AutoSaveInterval"));
  try {
    ini.Write(QStringLiteral("GUI"), QStringLiteral("Left"), QStringLiteral("10"));
    // A write the next read does not see would be a setting lost.
    if (ini.Read(QStringLiteral("GUI"), QStringLiteral("Left")) != QLatin1String("10"))
      std::abort();
  } catch (const FileError&) {
  }
  return 0;
}
