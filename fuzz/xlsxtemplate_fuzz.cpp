// An .xlsx template as the spreadsheet export uses it: opened, a block written
// into its first worksheet and the workbook written out. A damaged template
// is an Error with nothing written; a workbook written opens again. The files
// live in a folder of their own for the whole run, in memory where there is a
// tmpfs, as every atomic write ends with a sync to disk.
#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTime>
#include <cstdint>
#include <cstdlib>

#include "atomicfile.h"
#include "error.h"
#include "spreadsheet.h"
#include "xlsxworkbook.h"

using namespace ravell;

namespace {

// Keeps what the export hands to the desktop and removes the file, so the
// folder does not fill up over a run.
class KeepingOpener : public DesktopOpener {
 public:
  bool HasProgramFor(const QString&) override { return true; }
  bool Open(const QString& path) override {
    opened = ReadWholeFile(path);
    QFile::remove(path);
    return true;
  }
  QByteArray opened;
};

void WriteBlock(SpreadsheetApplication& application, const QString& template_path) {
  const SheetValues block = {
      {QStringLiteral("Project"), QStringLiteral(" Task "), QStringLiteral("a\x01z"), QVariant()},
      {QDate(2004, 3, 7), QTime(1, 30, 15), 42, 12.5},
  };
  SpreadsheetWorksheet& sheet = application.WorkBooksAdd(template_path).WorkSheets(1);
  sheet.SetValue(sheet.Range(sheet.Cells(2, 2), sheet.Cells(3, 5)), block);
  application.SetVisible(true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Removed at exit.
  static QTemporaryDir folder(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                  ? QStringLiteral("/dev/shm/ravell-fuzz-XXXXXX")
                                  : QDir::tempPath() + QStringLiteral("/ravell-fuzz-XXXXXX"));
  const QString path = folder.filePath(QStringLiteral("template.xlsx"));
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  KeepingOpener opener;
  XlsxAutomation automation(opener, folder.path());
  const auto application = automation.CreateObject(QString::fromLatin1(kSpreadsheetProgId));
  try {
    WriteBlock(*application, path);
  } catch (const Error&) {
    if (!automation.Written().isEmpty()) std::abort();
    return 0;
  }
  // What was written is a workbook the export can use as a template in turn.
  const QString written = folder.filePath(QStringLiteral("written.xlsx"));
  {
    QFile file(written);
    if (!file.open(QIODevice::WriteOnly)) return 0;
    file.write(opener.opened);
  }
  const auto again = automation.CreateObject(QString::fromLatin1(kSpreadsheetProgId));
  try {
    WriteBlock(*again, written);
  } catch (const Error&) {
    std::abort();
  }
  return 0;
}
