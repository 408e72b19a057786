// report.rvr as the reporter loads it: a damaged file throws and leaves the
// report as it was; a file that loads saves back to bytes that load the same.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "error.h"
#include "quickreport.h"
#include "reportlayoutfile.h"

using namespace ravell;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  static const QuickReport* const untouched = new QuickReport;
  const QString path = QStringLiteral("report.rvr");
  QuickReport report;
  try {
    ReadReportLayout(report, bytes, path);
  } catch (const FileError&) {
    if (!(report == *untouched)) std::abort();
    return 0;
  }
  QuickReport again;
  try {
    ReadReportLayout(again, ReportLayoutBytes(report), path);
  } catch (const FileError&) {
    std::abort();
  }
  if (!(again == report)) std::abort();
  return 0;
}
