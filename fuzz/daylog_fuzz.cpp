// Today's day log file as the tracker loads it at start-up, then written back.
#include <QByteArray>
#include <QDate>
#include <cstdint>

#include "daylog.h"
#include "daylogfile.h"
#include "projectlist.h"

using namespace ravell;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  ProjectList projects;
  projects.Load("Acme=20.00\r\nHome=\r\n");
  DayLog log(projects);
  const QDate day(2004, 3, 7);
  LoadDayLog(bytes, log, day);
  ComposeDayLog(log, projects, day);
  return 0;
}
