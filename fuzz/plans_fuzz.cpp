// plans.lst applied to today's tasks, then each plan used as the dialog would.
#include <QByteArray>
#include <cstdint>

#include "daylog.h"
#include "plans.h"
#include "projectlist.h"
#include "timetext.h"

using namespace ravell;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  ProjectList projects;
  DayLog log(projects);
  log.InsertSavedTask("Acme", "Design", EncodeTime(10, 0, 0), EncodeTime(9, 0, 0), "1");
  log.InsertSavedTask("Home", "mail", EncodeTime(11, 0, 0), EncodeTime(10, 0, 0), "2");
  ApplyPlans(bytes, log);
  for (int i = 0; i < log.ItemCount(); ++i) PlanFromTime(PlanPreset(log.Item(i).plan));
  ComposePlans(log);
  return 0;
}
