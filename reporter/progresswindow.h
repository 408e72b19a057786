#pragma once

#include <QWidget>

#include "startupprogress.h"

class QLabel;
class QProgressBar;
class QTimer;

namespace ravell {

// The small window (Form0) that tells which start-up step runs. It is the
// application's main window for the whole run: closing it ends the program.
// The work runs on the GUI thread, so every change repaints at once; the
// start-up's ProgressMeter keeps the changes few.
class ProgressWindow : public QWidget, public StartupProgress {
  Q_OBJECT

 public:
  explicit ProgressWindow(QWidget* parent = nullptr);

  void SetStep(const QString& text) override;
  void SetRange(int maximum) override;
  void SetPosition(int position) override;
  void Hide() override { hide(); }

  QString StepText() const;
  int Position() const;
  int Maximum() const;

  // The one-shot 100 ms timer, switched on when the window becomes active so
  // that the window is painted before the work begins.
  QTimer* Timer1() const { return timer1_; }

 protected:
  bool event(QEvent* event) override;

 private:
  void Repaint();

  QLabel* label1_;
  QProgressBar* progress_bar1_;
  QTimer* timer1_;
  bool timer_started_ = false;
};

}  // namespace ravell
