#include "projectdialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "messages.h"
#include "projectlist.h"

namespace ravell {

ProjectDialog::ProjectDialog(MessageBoxes* messages, QWidget* parent)
    : QDialog(parent), messages_(messages) {
  setObjectName(QStringLiteral("TForm8"));

  auto* project_label = new QLabel(QStringLiteral("Project name:"), this);
  project_label->setObjectName(QStringLiteral("Label1"));
  project_ = new QLineEdit(this);
  project_->setObjectName(QStringLiteral("Project"));
  project_label->setBuddy(project_);
  auto* rate_label = new QLabel(QStringLiteral("Rate:"), this);
  rate_label->setObjectName(QStringLiteral("Label2"));
  rate_ = new QLineEdit(this);
  rate_->setObjectName(QStringLiteral("Rate"));
  rate_label->setBuddy(rate_);

  button1_ = new QPushButton(QStringLiteral("OK"), this);
  button1_->setObjectName(QStringLiteral("Button1"));
  button1_->setDefault(true);
  connect(button1_, &QPushButton::clicked, this, &ProjectDialog::Button1Click);
  button2_ = new QPushButton(QStringLiteral("Cancel"), this);
  button2_->setObjectName(QStringLiteral("Button2"));
  connect(button2_, &QPushButton::clicked, this, &QDialog::reject);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(12, 12, 12, 12);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(8);
  grid->addWidget(project_label, 0, 0);
  grid->addWidget(project_, 0, 1);
  grid->addWidget(rate_label, 1, 0);
  grid->addWidget(rate_, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(button1_);
  buttons->addWidget(button2_);
  grid->addLayout(buttons, 2, 0, 1, 2);
  project_->setMinimumWidth(180);
  setFixedSize(sizeHint());
}

void ProjectDialog::SetFields(const QString& caption, const QString& name, const QString& rate) {
  setWindowTitle(caption);
  project_->setText(name);
  rate_->setText(rate);
  project_->setFocus();
  project_->selectAll();
  CentreOnOwner();
}

QString ProjectDialog::ProjectText() const { return project_->text(); }
QString ProjectDialog::RateText() const { return rate_->text(); }

void ProjectDialog::Button1Click() {
  const QString problem = ProjectList::NameProblem(ProjectText());
  if (!problem.isEmpty()) {
    Warn(problem, project_);
    return;
  }
  const std::optional<QString> rate = ProjectList::RateFromInput(RateText());
  if (!rate) {
    Warn(QStringLiteral("Please set rate as float number"), rate_);
    return;
  }
  rate_->setText(*rate);
  accept();
}

void ProjectDialog::Warn(const QString& text, QLineEdit* focus) {
  if (messages_) {
    messages_->Show(text, windowTitle(), MsgIcon::kWarning);
  } else {
    QMessageBox::warning(this, windowTitle(), text);
  }
  focus->setFocus();
}

void ProjectDialog::CentreOnOwner() {
  QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  if (!owner || !owner->isVisible()) return;
  QRect frame(QPoint(0, 0), size());
  frame.moveCenter(owner->frameGeometry().center());
  move(frame.topLeft());
}

}  // namespace ravell
