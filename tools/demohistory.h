#pragma once

#include <QDate>
#include <QString>

namespace ravell {

struct DemoHistoryOptions {
  int years = 2;
  QDate last_day = QDate::currentDate();
  int records_per_day = 12;  // on average; exactly this many with every_day
  bool every_day = false;    // weekends and days off too
  quint32 seed = 1;
};

struct DemoHistory {
  int files = 0;
  int records = 0;
};

// Fills a program folder with day log files as the tracker writes them, and
// its projects.lst: several projects with rates, tasks with non-ASCII names,
// working days with a few days off. The same options give the same files.
DemoHistory GenerateDemoHistory(const QString& program_folder, const DemoHistoryOptions& options);

}  // namespace ravell
