#include "alarmdialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ravell {

namespace {

QString Name(const char* text) { return QString::fromLatin1(text); }

// Task and project names are the user's text, never markup.
QLabel* PlainLabel(const QString& text, const char* object_name) {
  auto* label = new QLabel(text);
  label->setObjectName(Name(object_name));
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

AlarmDialog::AlarmDialog(const QString& message, const QString& task, const QString& project,
                         QWidget* parent)
    : QDialog(parent) {
  setObjectName(Name("AlarmDialog"));
  setWindowTitle(tr("Ravell: planned time reached"));
  // The tracker often sits hidden in the notification area; the alarm must
  // not open behind other windows.
  setWindowFlag(Qt::WindowStaysOnTopHint);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PlainLabel(message, "MessageLabel"));

  auto* task_label = PlainLabel(task, "TaskLabel");
  QFont task_font = task_label->font();
  task_font.setBold(true);
  task_font.setPointSizeF(task_font.pointSizeF() * 1.3);
  task_label->setFont(task_font);
  layout->addWidget(task_label);

  auto* project_form = new QFormLayout;
  auto* project_label = PlainLabel(project, "ProjectLabel");
  auto* project_caption = new QLabel(tr("Project:"));
  project_caption->setBuddy(project_label);
  project_form->addRow(project_caption, project_label);
  project_caption->setVisible(!project.isEmpty());
  project_label->setVisible(!project.isEmpty());
  layout->addLayout(project_form);
  layout->addSpacing(8);

  auto* buttons = new QHBoxLayout;
  const struct {
    const char* object_name;
    QString text;
    QString tip;
    Action action;
  } kButtons[] = {
      {"ExtendButton", tr("&Extend 10 minutes"), tr("Add 0:10:00 to the plan and keep working"),
       kExtend},
      {"SetPlanButton", tr("Set &plan..."), tr("Enter a new planned time for this task"), kSetPlan},
      {"StopTaskButton", tr("&Stop task"), tr("Stop the task and save its time"), kStopTask},
      {"ShowRavellButton", tr("Show &Ravell"), tr("Bring up the Ravell window"), kShowRavell},
  };
  for (const auto& entry : kButtons) {
    auto* button = new QPushButton(entry.text);
    button->setObjectName(Name(entry.object_name));
    button->setToolTip(entry.tip);
    // Enter while typing elsewhere must not pick an action by accident,
    // except the harmless extension.
    button->setAutoDefault(false);
    button->setDefault(entry.action == kExtend);
    const int action = entry.action;
    connect(button, &QPushButton::clicked, this, [this, action] { done(action); });
    buttons->addWidget(button);
  }
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace ravell
