#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QKeyEvent;
class QPushButton;
class QTimeEdit;

namespace ravell {

// The plan dialog TForm5: a time picker and "Ok". Any close but Ok cancels.
class PlanDialog : public QDialog {
  Q_OBJECT
 public:
  explicit PlanDialog(QWidget* parent = nullptr);

  // Shows the dialog modally, centred on the parent's window, preset with
  // the plan (1:00:00 when there is none). The new plan on Ok, nothing when
  // cancelled.
  static std::optional<QString> AskPlan(QWidget* parent, const QString& current_plan);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Enter in the picker confirms, as a click on Ok would.
  bool PlanTimeKeyPress(QKeyEvent* event);

  QTimeEdit* plan_time_;
  QPushButton* button1_;
};

}  // namespace ravell
