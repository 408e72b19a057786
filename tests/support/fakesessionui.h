#pragma once

#include <QList>
#include <QStringList>
#include <functional>

#include "tasksession.h"

namespace ravell::testing {

// Answers the session's dialogs from a script and records what it was asked.
class FakeSessionUi : public SessionUi {
 public:
  PauseAnswer AskPauseTask() override {
    calls << QStringLiteral("AskPauseTask");
    if (during_pause) during_pause();
    return pause_answer;
  }
  std::optional<QString> AskPlan(const QString& current) override {
    calls << QStringLiteral("AskPlan|") + current;
    return plan_answer;
  }
  int ShowAlarm(const QString& message, const QString& task, const QString& project) override {
    calls << QStringLiteral("ShowAlarm|%1|%2|%3").arg(message, task, project);
    return alarm_results.isEmpty() ? 0 : alarm_results.takeFirst();
  }
  void ShowMainWindow() override { calls << QStringLiteral("ShowMainWindow"); }
  void TrayImageChanged(TrayImage image) override { trays << image; }
  void CommandsChanged() override {}
  void FocusLogRow(int row) override { focused_row = row; }

  QStringList Alarms() const { return calls.filter(QStringLiteral("ShowAlarm")); }

  QStringList calls;
  QList<TrayImage> trays;
  PauseAnswer pause_answer;
  std::function<void()> during_pause;
  std::optional<QString> plan_answer;
  QList<int> alarm_results;
  int focused_row = -1;
};

class RecordingToDo : public ToDoLink {
 public:
  void AddStartedTask(const QString& project, const QString& task) override {
    added << project + QLatin1Char('/') + task;
  }
  QStringList added;
};

}  // namespace ravell::testing
