// Time texts typed by the user or read from files: parsing never crashes and
// what it accepts formats back to a text it accepts again.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "error.h"
#include "timetext.h"

using namespace ravell;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString text = QString::fromLocal8Bit(bytes);
  try {
    const DateTime value = ParseTime(text);
    if (ToMilliseconds(ParseTime(FormatTime(value))) / 1000 != ToMilliseconds(value) / 1000) {
      std::abort();
    }
  } catch (const ConvertError&) {
  }
  try {
    ParseTimeMilliseconds(bytes);
  } catch (const ConvertError&) {
  }
  for (const char* part : {"TimeStart", "TimeEnd", "TimeDelta"}) {
    ParseTimeString(text, QString::fromLatin1(part));
  }
  return 0;
}
