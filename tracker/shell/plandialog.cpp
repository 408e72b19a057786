#include "plandialog.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimeEdit>
#include <algorithm>

#include "datetime.h"
#include "plans.h"

namespace ravell {

PlanDialog::PlanDialog(QWidget* parent)
    : QDialog(parent), plan_time_(new QTimeEdit(this)), button1_(new QPushButton(this)) {
  setObjectName(QStringLiteral("TForm5"));
  setWindowTitle(QStringLiteral("PlanTime"));

  plan_time_->setObjectName(QStringLiteral("PlanTime"));
  plan_time_->setDisplayFormat(QStringLiteral("H:mm:ss"));
  // No room for a visible label in the dialog.
  plan_time_->setAccessibleName(QStringLiteral("Plan time"));
  plan_time_->installEventFilter(this);
  plan_time_->setFocus();

  button1_->setObjectName(QStringLiteral("Button1"));
  button1_->setText(QStringLiteral("Ok"));
  connect(button1_, &QPushButton::clicked, this, &QDialog::accept);

  // The classic layout (picker 81 x 21 at 8,8; button 41 x 25 at 104,8;
  // 155 x 38 inside), widened only where the font needs more room.
  const int picker_width = std::max(81, plan_time_->sizeHint().width());
  const int picker_height = std::max(21, plan_time_->sizeHint().height());
  plan_time_->setGeometry(8, 8, picker_width, picker_height);
  const int button_left = 8 + picker_width + 15;
  const int button_width =
      std::max(41, button1_->fontMetrics().horizontalAdvance(button1_->text()) + 16);
  const int button_height = std::max(25, picker_height);
  button1_->setGeometry(button_left, 8, button_width, button_height);
  setFixedSize(button_left + button_width + 10, 8 + button_height + 5);
}

bool PlanDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == plan_time_ && event->type() == QEvent::KeyPress &&
      PlanTimeKeyPress(static_cast<QKeyEvent*>(event))) {
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

bool PlanDialog::PlanTimeKeyPress(QKeyEvent* event) {
  if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return false;
  // Take over a half-typed time before confirming it.
  plan_time_->interpretText();
  button1_->click();
  return true;
}

std::optional<QString> PlanDialog::AskPlan(QWidget* parent, const QString& current_plan) {
  QPointer<PlanDialog> dialog = new PlanDialog(parent);
  dialog->plan_time_->setTime(TimeOf(PlanPreset(current_plan)));
  const int result = dialog->exec();
  // The owner may have gone while the dialog was open (shutdown).
  if (dialog.isNull()) return std::nullopt;
  std::optional<QString> plan;
  if (result == QDialog::Accepted) plan = PlanFromTime(EncodeTime(dialog->plan_time_->time()));
  delete dialog;
  return plan;
}

}  // namespace ravell
