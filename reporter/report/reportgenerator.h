#pragma once

#include <functional>

#include "analysis.h"
#include "clock.h"
#include "quickreport.h"
#include "reportengine.h"

namespace ravell {

// The settings the report needs before every "Generate" while no settings
// page applies them: the data scope text in InfoLabel and each level's
// subtotal text by its binding. Always true.
bool ApplyReportDefaults(QuickReport& report, ReporterAnalysis& analysis);

// "Generate" without its window: apply the settings, lay the report out over
// the data tree's selected node in grouping order, hand it to the preview,
// and put DisplayLog's order, range and current record back, also when the
// preview throws.
class ReportGenerator {
 public:
  // False stops the generation (a setting that does not convert).
  using ApplySettings = std::function<bool()>;
  // Shows the laid-out report and returns when the user is done with it.
  using ShowPreview = std::function<void(const ReportDocument&)>;

  ReportGenerator(QuickReport& report, ReporterAnalysis& analysis, const Clock& clock)
      : report_(report), analysis_(analysis), clock_(clock) {}

  // True when the report was laid out and shown.
  bool GenerateReportClick(const ApplySettings& apply, const ShowPreview& preview);

 private:
  QuickReport& report_;
  ReporterAnalysis& analysis_;
  const Clock& clock_;
};

}  // namespace ravell
