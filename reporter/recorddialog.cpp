#include "recorddialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace ravell {

namespace {

const char kTimeFormat[] = "H:mm:ss";

QTimeEdit* TimePicker(const char* name, QWidget* parent) {
  auto* picker = new QTimeEdit(parent);
  picker->setObjectName(QString::fromLatin1(name));
  picker->setDisplayFormat(QString::fromLatin1(kTimeFormat));
  // Times of one day: stepping past midnight comes round again.
  picker->setWrapping(true);
  return picker;
}

void SetList(QComboBox* combo, const QStringList& items, const QString& text) {
  combo->clear();
  combo->addItems(items);
  combo->setCurrentIndex(static_cast<int>(items.indexOf(text)));
  combo->setEditText(text);
}

}  // namespace

RecordDialogForm::RecordDialogForm(MessageBoxes& messages, QWidget* parent)
    : QDialog(parent), messages_(&messages) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QString::fromLatin1(kChangeRecordCaption));
  setModal(true);

  combo_project_ = new QComboBox(this);
  combo_project_->setObjectName(QStringLiteral("ComboProject"));
  combo_project_->setEditable(true);
  combo_project_->setInsertPolicy(QComboBox::NoInsert);
  combo_project_->setMinimumWidth(220);
  rate_ = new QLineEdit(this);
  rate_->setObjectName(QStringLiteral("Rate"));
  rate_->setMaximumWidth(90);
  combo_tasks_ = new QComboBox(this);
  combo_tasks_->setObjectName(QStringLiteral("ComboTasks"));
  combo_tasks_->setEditable(true);
  combo_tasks_->setInsertPolicy(QComboBox::NoInsert);
  record_date_ = new QDateEdit(this);
  record_date_->setObjectName(QStringLiteral("RecordDate"));
  record_date_->setCalendarPopup(true);
  record_date_->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
  time_start_ = TimePicker("TimeStart", this);
  time_end_ = TimePicker("TimeEnd", this);
  time_delta_ = TimePicker("TimeDelta", this);
  but_ok_ = new QPushButton(QStringLiteral("OK"), this);
  but_ok_->setObjectName(QStringLiteral("ButOK"));
  but_ok_->setDefault(true);
  but_cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  but_cancel_->setObjectName(QStringLiteral("ButCancel"));

  // Every input has a label, so screen readers and scripts can name it.
  auto* grid = new QGridLayout;
  const auto labelled = [&](const char* caption, QWidget* input, int row, int column,
                            int span = 1) {
    auto* label = new QLabel(QString::fromLatin1(caption), this);
    label->setBuddy(input);
    grid->addWidget(label, row, column);
    grid->addWidget(input, row, column + 1, 1, span);
  };
  labelled("Project:", combo_project_, 0, 0, 3);
  labelled("Rate:", rate_, 0, 4);
  labelled("Task:", combo_tasks_, 1, 0, 5);
  labelled("Date:", record_date_, 2, 0);
  labelled("From", time_start_, 3, 0);
  labelled("To", time_end_, 3, 2);
  labelled("Delta:", time_delta_, 3, 4);
  grid->setColumnStretch(3, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(but_ok_);
  buttons->addWidget(but_cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addSpacing(8);
  layout->addLayout(buttons);

  connect(but_ok_, &QPushButton::clicked, this, &RecordDialogForm::ButOKClick);
  connect(but_cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(time_start_, &QTimeEdit::timeChanged, this, &RecordDialogForm::TimeStartChange);
  connect(time_end_, &QTimeEdit::timeChanged, this, &RecordDialogForm::TimeEndChange);
  connect(time_delta_, &QTimeEdit::timeChanged, this, &RecordDialogForm::TimeDeltaChange);
  connect(combo_project_, &QComboBox::editTextChanged, this, &RecordDialogForm::ComboProjectChange);
}

void RecordDialogForm::Fill(const RecordDialogValues& values) {
  values_ = values;
  setWindowTitle(values.caption);
  const QSignalBlocker project_blocker(combo_project_);
  SetList(combo_project_, values.projects, values.project);
  SetList(combo_tasks_, values.tasks, values.task);
  rate_->setText(values.rate);
  record_date_->setDate(values.date);
  ShowTimes({values.start, values.end, values.delta});
  combo_project_->setFocus();
}

RecordDialogValues RecordDialogForm::Values() const {
  RecordDialogValues values = values_;
  values.project = combo_project_->currentText();
  values.task = combo_tasks_->currentText();
  values.rate = rate_->text();
  values.date = record_date_->date();
  values.start = time_start_->time();
  values.end = time_end_->time();
  values.delta = time_delta_->time();
  return values;
}

bool RecordDialogForm::Execute(RecordDialogValues& values) {
  Fill(values);
  if (exec() != QDialog::Accepted) return false;
  values = Values();
  return true;
}

void RecordDialogForm::ButOKClick() {
  RecordDialogValues values = Values();
  const QDate today = values.clock ? values.clock->TodayDate() : QDate::currentDate();
  const RecordCheck check = CheckRecordInput(values, today);
  rate_->setText(values.rate);
  if (check.field == RecordField::kNone) {
    accept();
    return;
  }
  messages_->Show(check.message, QString(), MsgIcon::kWarning);
  QWidget* focus = nullptr;
  switch (check.field) {
    case RecordField::kRate:
      focus = rate_;
      break;
    case RecordField::kDate:
      focus = record_date_;
      break;
    case RecordField::kProject:
      focus = combo_project_;
      break;
    case RecordField::kTask:
      focus = combo_tasks_;
      break;
    case RecordField::kNone:
      break;
  }
  if (focus) focus->setFocus();
}

LinkedTimes RecordDialogForm::Times() const {
  return {time_start_->time(), time_end_->time(), time_delta_->time()};
}

void RecordDialogForm::ShowTimes(const LinkedTimes& times) {
  const QSignalBlocker start(time_start_), end(time_end_), delta(time_delta_);
  time_start_->setTime(times.start);
  time_end_->setTime(times.end);
  time_delta_->setTime(times.delta);
}

void RecordDialogForm::TimeStartChange() { ShowTimes(ravell::TimeStartChange(Times())); }
void RecordDialogForm::TimeEndChange() { ShowTimes(ravell::TimeEndChange(Times())); }
void RecordDialogForm::TimeDeltaChange() { ShowTimes(ravell::TimeDeltaChange(Times())); }

void RecordDialogForm::ComboProjectChange(const QString& project) {
  const QStringList tasks = values_.tasks_of ? values_.tasks_of(project) : QStringList();
  SetList(combo_tasks_, tasks, tasks.value(0));
}

}  // namespace ravell
