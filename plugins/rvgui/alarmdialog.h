#pragma once

#include <QDialog>

namespace ravell {

// The plan alarm of the running task. exec() returns the chosen action;
// closing the window returns kClosed.
class AlarmDialog : public QDialog {
  Q_OBJECT

 public:
  enum Action { kClosed = 0, kExtend = 1, kSetPlan = 2, kStopTask = 3, kShowRavell = 4 };

  AlarmDialog(const QString& message, const QString& task, const QString& project,
              QWidget* parent = nullptr);
};

}  // namespace ravell
