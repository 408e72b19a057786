#pragma once

#include <QString>

#include "logtables.h"
#include "messages.h"
#include "startupprogress.h"

namespace ravell {

inline constexpr char kConsolidatingStep[] = "Consolidating days reports...";
inline constexpr char kTranslatingStep[] = "Translating XML to dataset...";
inline constexpr char kIndexingStep[] = "Creating indexes...";

struct StartupResult {
  int files = 0;  // day log files consolidated
  int lines = 0;  // records counted while copying
  LoadStats load;
};

// The reporter's start-up work without windows: consolidates the day logs
// into ravtotal.xml, loads LogRecords from it and builds its key orders,
// telling the progress window each step.
class ReporterStartup {
 public:
  ReporterStartup(QString program_folder, ReporterTables& tables, MessageBoxes& messages,
                  StartupProgress* progress = nullptr);

  // False when there is nothing to show (no day log file): the program ends.
  bool Run();
  const StartupResult& result() const { return result_; }
  // For the status bar: how many records could not be read; empty when none.
  QString SkippedText() const;

 private:
  QString program_folder_;
  ReporterTables& tables_;
  MessageBoxes& messages_;
  StartupProgress* progress_;
  StartupResult result_;
};

}  // namespace ravell
