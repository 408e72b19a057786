// The consolidated log as the reporter loads it at every start.
#include <QByteArray>
#include <cstdint>

#include "consolidation.h"
#include "logtables.h"

using namespace ravell;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  static ReporterTables* tables = new ReporterTables;
  LoadLogRecords(bytes, tables->log_records);
  UnescapeText(bytes);
  return 0;
}
