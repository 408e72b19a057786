// projects.lst: every line is looked up and its rate read and used.
#include <QByteArray>
#include <cstdint>

#include "daylog.h"
#include "projectlist.h"

using namespace ravell;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  ProjectList projects;
  projects.Load(bytes);
  for (const QString& line : projects.lines()) {
    const QString name = ProjectList::NameOf(line);
    projects.StoredRate(name);
    DayLog::EarningsCents(EncodeTime(10, 0, 0), projects.Rate(name) / 3600);
    ProjectList::RateFromInput(ProjectList::RateTextOf(line));
  }
  projects.Compose();
  return 0;
}
