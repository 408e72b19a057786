#include "taskdialog.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimeEdit>
#include <algorithm>
#include <iterator>

#include "projectlist.h"

namespace ravell {
namespace {

struct ModeInfo {
  const char* text;
  const char* caption;
  int height;  // client size of the classic layout
  int width;
};

// Indexed by TaskDialog::Mode.
constexpr ModeInfo kModes[] = {
    {"New", "New task", 68, 367},
    {"Insert", "Insert record", 110, 367},
    {"Pause", "Create pause task", 110, 333},
    {"Add ToDo", "Add To Do", 68, 367},
    {"Change", "Change record", 145, 333},
};

constexpr int kMargin = 8;
constexpr int kGap = 6;         // between neighbours in a row
constexpr int kColumnGap = 10;  // between the picker columns
constexpr int kRowGap = 8;
constexpr int kLabelGap = 2;  // between a label and the input below it
constexpr int kSecondsPerDay = 24 * 60 * 60;

QTime WholeSeconds(QTime time) {
  if (!time.isValid()) return QTime(0, 0);
  return QTime(time.hour(), time.minute(), time.second());
}

// Times of day wrap at midnight, as the pickers cannot show more.
QTime Plus(QTime start, QTime delta) { return start.addSecs(QTime(0, 0).secsTo(delta)); }

QTime Between(QTime start, QTime end) {
  int seconds = start.secsTo(end);
  if (seconds < 0) seconds += kSecondsPerDay;
  return QTime(0, 0).addSecs(seconds);
}

// Both names end up in tab-separated, line-based files.
bool HoldsSeparator(const QString& text) {
  return text.contains(QLatin1Char('\t')) || text.contains(QLatin1Char('\r')) ||
         text.contains(QLatin1Char('\n'));
}

QLabel* MakeLabel(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  return label;
}

QTimeEdit* MakePicker(const char* name, QWidget* parent) {
  auto* picker = new QTimeEdit(parent);
  picker->setObjectName(QLatin1String(name));
  picker->setDisplayFormat(QStringLiteral("H:mm:ss"));
  picker->setTime(QTime(0, 0));
  return picker;
}

QPushButton* MakeButton(const char* name, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QLatin1String(name));
  return button;
}

}  // namespace

TaskDialog::TaskDialog(TaskDialogHooks hooks, QWidget* parent)
    : QDialog(parent), hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("TForm2"));
  setWindowTitle(QLatin1String(kModes[0].caption));

  // Created in reading and tab order: each label before its input.
  project_label_ = MakeLabel("ProjectLabel", QStringLiteral("Project:"), this);
  combo_project_ = new QComboBox(this);
  project_label_->setBuddy(combo_project_);
  combo_project_->setObjectName(QStringLiteral("ComboProject"));
  combo_project_->setEditable(true);
  combo_project_->setInsertPolicy(QComboBox::NoInsert);

  task_label_ = MakeLabel("TaskLabel", QStringLiteral("Task:"), this);
  edit1_ = new QComboBox(this);
  task_label_->setBuddy(edit1_);
  edit1_->setObjectName(QStringLiteral("Edit1"));
  edit1_->setEditable(true);
  edit1_->setInsertPolicy(QComboBox::NoInsert);
  edit1_->lineEdit()->installEventFilter(this);

  speed_button1_ = MakeButton("SpeedButton1", QStringLiteral("OK"), this);
  speed_button1_->setFlat(true);
  speed_button1_->setAutoDefault(false);
  connect(speed_button1_, &QPushButton::clicked, this, &TaskDialog::DoOk);

  start_label_ = MakeLabel("StartLabel", QStringLiteral("From"), this);
  time_start_ = MakePicker("TimeStart", this);
  start_label_->setBuddy(time_start_);
  end_label_ = MakeLabel("EndLabel", QStringLiteral("To"), this);
  time_end_ = MakePicker("TimeEnd", this);
  end_label_->setBuddy(time_end_);
  delta_label_ = MakeLabel("DeltaLabel", QStringLiteral("Delta:"), this);
  time_delta_ = MakePicker("TimeDelta", this);
  delta_label_->setBuddy(time_delta_);
  connect(time_start_, &QTimeEdit::timeChanged, this, &TaskDialog::TimeStartChange);
  connect(time_end_, &QTimeEdit::timeChanged, this, &TaskDialog::TimeEndChange);
  connect(time_delta_, &QTimeEdit::timeChanged, this, &TaskDialog::TimeDeltaChange);

  skip_time_button_ = MakeButton("SkipTimeButton", QStringLiteral("Skip this time"), this);
  connect(skip_time_button_, &QPushButton::clicked, this, [this] { done(kIgnore); });
  create_task_button_ = MakeButton("CreateTaskButton", QStringLiteral("Create task"), this);
  connect(create_task_button_, &QPushButton::clicked, this, &TaskDialog::CreateTaskButtonClick);
  cancel_pause_button_ = MakeButton("CancelPauseButton", QStringLiteral("Cancel pause"), this);
  connect(cancel_pause_button_, &QPushButton::clicked, this, [this] { done(kCancel); });

  rate_ = new QLineEdit(this);
  rate_->setObjectName(QStringLiteral("Rate"));
  rate_->hide();

  InitProjects();
  // After filling, so the hooks first run when the dialog shows.
  connect(combo_project_, &QComboBox::currentTextChanged, this, &TaskDialog::ComboProjectChange);
}

void TaskDialog::InitProjects() {
  combo_project_->addItems(hooks_.projects);
  combo_project_->addItem(QStringLiteral("Undefined"));
  combo_project_->setCurrentIndex(0);
}

bool TaskDialog::SetMode(const QString& mode) {
  for (int i = 0; i < static_cast<int>(std::size(kModes)); ++i) {
    if (mode == QLatin1String(kModes[i].text)) {
      mode_ = static_cast<Mode>(i);
      return true;
    }
  }
  return false;
}

QString TaskDialog::mode() const { return QLatin1String(kModes[static_cast<int>(mode_)].text); }

void TaskDialog::SetProjectText(const QString& project) {
  const int index = combo_project_->findText(project, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index >= 0) combo_project_->setCurrentIndex(index);
  combo_project_->setEditText(project);
}

void TaskDialog::SetTaskText(const QString& task) { edit1_->setEditText(task); }

void TaskDialog::SetTimes(QTime start, QTime end) {
  start = WholeSeconds(start);
  end = WholeSeconds(end);
  linking_times_ = true;
  time_start_->setTime(start);
  time_end_->setTime(end);
  time_delta_->setTime(Between(start, end));
  linking_times_ = false;
}

QString TaskDialog::ProjectText() const { return combo_project_->currentText(); }
QString TaskDialog::TaskText() const { return edit1_->currentText(); }
QString TaskDialog::RateText() const { return rate_->text(); }
QTime TaskDialog::StartTime() const { return time_start_->time(); }
QTime TaskDialog::EndTime() const { return time_end_->time(); }
QTime TaskDialog::DeltaTime() const { return time_delta_->time(); }

void TaskDialog::setVisible(bool visible) {
  if (visible && !isVisible()) {
    FormShow();
    CentreOnOwner();
  }
  QDialog::setVisible(visible);
}

void TaskDialog::reject() { done(kCancel); }

void TaskDialog::FormShow() {
  ComboProjectChange();
  LayOut();
  edit1_->setFocus();
}

void TaskDialog::ComboProjectChange() {
  const QString project = ProjectText();
  rate_->setText(hooks_.rate_text ? hooks_.rate_text(project) : QString());
  // Refilling the list must not touch what is typed in the task box.
  const QString task = edit1_->currentText();
  edit1_->clear();
  if (hooks_.planned_tasks) edit1_->addItems(hooks_.planned_tasks(project));
  edit1_->setCurrentIndex(-1);
  edit1_->setEditText(task);
}

void TaskDialog::LayOut() {
  const ModeInfo& info = kModes[static_cast<int>(mode_)];
  const bool pickers = mode_ == Mode::kInsert || mode_ == Mode::kChange;
  const bool pause = mode_ == Mode::kPause;
  const bool change = mode_ == Mode::kChange;

  setWindowTitle(QLatin1String(info.caption));
  create_task_button_->setText(change ? QStringLiteral("Change") : QStringLiteral("Create task"));
  cancel_pause_button_->setText(change ? QStringLiteral("Cancel") : QStringLiteral("Cancel pause"));
  create_task_button_->setDefault(pause || change);

  // The classic sizes hold with common fonts; larger fonts grow the dialog.
  const int label_height = project_label_->sizeHint().height();
  const int row_height =
      std::max({21, combo_project_->sizeHint().height(), time_start_->sizeHint().height(),
                create_task_button_->sizeHint().height()});
  const int ok_width =
      std::max(36, speed_button1_->fontMetrics().horizontalAdvance(speed_button1_->text()) + 20);
  const int min_list_width = std::max(100, combo_project_->minimumSizeHint().width());
  int min_column_width = time_start_->sizeHint().width();
  for (QWidget* button : {skip_time_button_, create_task_button_, cancel_pause_button_}) {
    min_column_width = std::max(min_column_width, button->sizeHint().width());
  }
  const int change_button_width = std::max(
      {75, create_task_button_->sizeHint().width(), cancel_pause_button_->sizeHint().width()});

  const int width = std::max({info.width, 2 * kMargin + 2 * kGap + ok_width + 2 * min_list_width,
                              2 * kMargin + 2 * kColumnGap + 3 * min_column_width,
                              2 * kMargin + kGap + 2 * change_button_width});
  const int lists_height = label_height + kLabelGap + row_height;
  const int pickers_height = label_height + kLabelGap + row_height;
  int content_height = lists_height;
  if (pickers) content_height += kRowGap + pickers_height;
  if (pause) content_height += 2 * kRowGap + row_height;
  if (change) content_height += kRowGap + row_height;
  const int height = std::max(info.height, content_height + 2 * kMargin);

  // Content centred vertically in the fixed client area.
  int y = (height - content_height) / 2;
  const int list_width = (width - 2 * kMargin - 2 * kGap - ok_width) / 2;
  const int list_y = y + label_height + kLabelGap;
  project_label_->setGeometry(kMargin, y, list_width, label_height);
  combo_project_->setGeometry(kMargin, list_y, list_width, row_height);
  const int task_x = kMargin + list_width + kGap;
  task_label_->setGeometry(task_x, y, list_width, label_height);
  edit1_->setGeometry(task_x, list_y, list_width, row_height);
  speed_button1_->setGeometry(width - kMargin - ok_width, list_y, ok_width, row_height);
  y += lists_height;

  const int column_width = (width - 2 * kMargin - 2 * kColumnGap) / 3;
  auto column_x = [&](int column) { return kMargin + column * (column_width + kColumnGap); };
  QLabel* const labels[] = {start_label_, end_label_, delta_label_};
  QTimeEdit* const pickers_in_row[] = {time_start_, time_end_, time_delta_};
  if (pickers) {
    y += kRowGap;
    for (int i = 0; i < 3; ++i) {
      labels[i]->setGeometry(column_x(i), y, column_width, label_height);
      pickers_in_row[i]->setGeometry(column_x(i), y + label_height + kLabelGap, column_width,
                                     row_height);
    }
    y += pickers_height;
  }
  if (pause) {
    y += 2 * kRowGap;
    skip_time_button_->setGeometry(column_x(0), y, column_width, row_height);
    create_task_button_->setGeometry(column_x(1), y, column_width, row_height);
    cancel_pause_button_->setGeometry(column_x(2), y, column_width, row_height);
  }
  if (change) {
    y += kRowGap;
    const int left = (width - 2 * change_button_width - kGap) / 2;
    create_task_button_->setGeometry(left, y, change_button_width, row_height);
    cancel_pause_button_->setGeometry(left + change_button_width + kGap, y, change_button_width,
                                      row_height);
  }

  // Pickers cut off by the height would still take the focus and reach
  // screen readers, so they are hidden wherever they do not fit.
  for (int i = 0; i < 3; ++i) {
    labels[i]->setVisible(pickers);
    pickers_in_row[i]->setVisible(pickers);
  }
  skip_time_button_->setVisible(pause);
  create_task_button_->setVisible(pause || change);
  cancel_pause_button_->setVisible(pause || change);

  setFixedSize(width, height);
}

void TaskDialog::CentreOnOwner() {
  QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  QScreen* screen = owner ? owner->screen() : this->screen();
  const QRect area = screen ? screen->availableGeometry() : QRect();
  // Only a visible owner is a place to centre on; a hidden one is left alone.
  QRect target = area;
  if (owner && owner->isVisible() && !owner->isMinimized()) target = owner->frameGeometry();
  // The dialog's own frame is unknown before it shows; the owner's is the best guess.
  QSize frame_size = size();
  if (owner && owner->windowHandle()) frame_size += owner->frameGeometry().size() - owner->size();
  QRect frame(QPoint(0, 0), frame_size);
  frame.moveCenter(target.center());
  if (area.isValid()) {
    frame.moveLeft(std::clamp(frame.left(), area.left(),
                              std::max(area.left(), area.right() + 1 - frame.width())));
    frame.moveTop(std::clamp(frame.top(), area.top(),
                             std::max(area.top(), area.bottom() + 1 - frame.height())));
  }
  move(frame.topLeft());
}

bool TaskDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit1_->lineEdit() && event->type() == QEvent::KeyPress &&
      Edit1KeyPress(static_cast<QKeyEvent*>(event))) {
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

bool TaskDialog::Edit1KeyPress(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      DoOk();
      return true;
    case Qt::Key_Escape:
      done(kCancel);
      return true;
    default:
      return false;
  }
}

void TaskDialog::DoOk() {
  // In "Change" only the Change button confirms; OK and Enter just close.
  if (mode_ == Mode::kChange) {
    reject();
    return;
  }
  if (!NamesAcceptable()) return;
  if (mode_ == Mode::kInsert && !IntervalAcceptable()) return;
  // A hook may end the program and take the dialog with it.
  QPointer<TaskDialog> self(this);
  switch (mode_) {
    case Mode::kNew:
      if (hooks_.new_task) hooks_.new_task(ProjectText(), TaskText());
      break;
    case Mode::kInsert:
      if (hooks_.insert_task) hooks_.insert_task(ProjectText(), TaskText(), StartTime(), EndTime());
      break;
    case Mode::kPause:
    case Mode::kAddToDo:
    case Mode::kChange:
      break;
  }
  if (self) done(kOk);
}

void TaskDialog::CreateTaskButtonClick() {
  if (!NamesAcceptable()) return;
  if (mode_ == Mode::kChange && !IntervalAcceptable()) return;
  done(kOk);
}

bool TaskDialog::NamesAcceptable() {
  if (HoldsSeparator(ProjectText()) || HoldsSeparator(TaskText())) {
    Warn(QStringLiteral("Task and project names cannot hold tabs or line breaks."));
    return false;
  }
  // A project named here may become a line of projects.lst, where "=" ends the name.
  const QString problem = ProjectList::NameProblem(ProjectText());
  if (!problem.isEmpty()) {
    Warn(problem);
    combo_project_->setFocus();
    return false;
  }
  return true;
}

bool TaskDialog::IntervalAcceptable() {
  if (EndTime() >= StartTime()) return true;
  Warn(QStringLiteral("A record cannot end before it starts."));
  return false;
}

void TaskDialog::Warn(const QString& text) {
  if (hooks_.warn) {
    hooks_.warn(text);
  } else {
    QMessageBox::warning(this, windowTitle(), text);
  }
}

void TaskDialog::TimeStartChange() {
  if (linking_times_) return;
  linking_times_ = true;
  time_end_->setTime(Plus(StartTime(), DeltaTime()));
  time_delta_->setTime(Between(StartTime(), EndTime()));
  linking_times_ = false;
}

void TaskDialog::TimeEndChange() {
  if (linking_times_) return;
  linking_times_ = true;
  time_delta_->setTime(Between(StartTime(), EndTime()));
  linking_times_ = false;
}

void TaskDialog::TimeDeltaChange() {
  if (linking_times_) return;
  linking_times_ = true;
  time_end_->setTime(Plus(StartTime(), DeltaTime()));
  linking_times_ = false;
}

}  // namespace ravell
