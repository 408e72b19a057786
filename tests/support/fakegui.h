#pragma once

#include <QStringList>
#include <functional>

#include "guilink.h"

namespace ravell::testing {

// Records the dialogs asked for; answers alarms with a scripted result.
class FakeGui : public GuiLink {
 public:
  void ShowSplash(void*) override { calls << QStringLiteral("ShowSplash"); }
  void CloseSplash() override { calls << QStringLiteral("CloseSplash"); }
  void ShowAbout(void*) override { calls << QStringLiteral("ShowAbout"); }
  int ShowOptions(void*, bool setup_mode) override {
    calls << QStringLiteral("ShowOptions|%1").arg(setup_mode ? 1 : 0);
    if (on_options) on_options();
    return 1;
  }
  int ShowAlarm(void*, const QString& message, const QString& task,
                const QString& project) override {
    calls << QStringLiteral("ShowAlarm|%1|%2|%3").arg(message, task, project);
    return alarm_result;
  }

  QStringList calls;
  int alarm_result = 0;
  std::function<void()> on_options;
};

}  // namespace ravell::testing
