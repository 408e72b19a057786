#pragma once

#include <QString>

namespace ravell {

// What the progress window shows while the reporter starts; the start-up
// work reaches it through this, so it runs without windows in tests and
// benchmarks.
class StartupProgress {
 public:
  virtual ~StartupProgress() = default;
  virtual void SetStep(const QString& text) = 0;
  // Range 0 to maximum, position back to 0.
  virtual void SetRange(int maximum) = 0;
  virtual void SetPosition(int position) = 0;
  virtual void Hide() = 0;
};

// Passes on a position only when the bar would move visibly, so a step of
// hundreds of thousands of records does not repaint for each one.
class ProgressMeter {
 public:
  ProgressMeter(StartupProgress* progress, int maximum);
  void Advance(int by = 1) {
    position_ += by;
    if (position_ >= next_) Report();
  }
  int position() const { return position_; }
  void Finish();

 private:
  void Report();
  StartupProgress* progress_;
  int maximum_;
  int position_ = 0;
  int next_ = 0;
};

}  // namespace ravell
