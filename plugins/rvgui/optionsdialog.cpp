#include "optionsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "error.h"

namespace ravell {

namespace {

QString Name(const char* text) { return QString::fromLatin1(text); }

QLabel* BuddyLabel(const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

OptionsDialog::OptionsDialog(OptionsModel& model, bool setup_mode, QWidget* parent)
    : QDialog(parent), model_(model) {
  setObjectName(Name("OptionsDialog"));
  setWindowTitle(setup_mode ? tr("Ravell set-up") : tr("Ravell options"));

  auto* layout = new QVBoxLayout(this);

  auto* heading =
      new QLabel(tr("<b><big>First set-up of Ravell</big></b><br>"
                    "Ravell has not been set up on this computer yet. Choose where it keeps your "
                    "records and how it starts, then press OK. Ravell closes afterwards; start it "
                    "again to begin tracking."));
  heading->setObjectName(Name("SetupHeading"));
  heading->setTextFormat(Qt::RichText);
  heading->setWordWrap(true);
  heading->setContentsMargins(0, 0, 0, 6);
  heading->setVisible(setup_mode);
  layout->addWidget(heading);

  auto* storage_box = new QGroupBox(tr("Storage"));
  auto* storage_form = new QFormLayout(storage_box);
  target_ = new QComboBox;
  target_->setObjectName(Name("TargetCombo"));
  target_->addItem(tr("Log - day log files in the program folder"), Name("Log"));
  target_->addItem(tr("Notes - the Notes database"), Name("Notes"));
  target_->addItem(tr("Combine - both"), Name("Combine"));
  storage_form->addRow(BuddyLabel(tr("&Keep records in:"), target_), target_);
  layout->addWidget(storage_box);

  auto* startup_box = new QGroupBox(tr("Start-up"));
  auto* startup_column = new QVBoxLayout(startup_box);
  // Check boxes carry their own text, which is their accessible name.
  hide_splash_ = new QCheckBox(tr("Do not show the &splash screen"));
  hide_splash_->setObjectName(Name("HideSplashCheck"));
  hide_to_tray_ = new QCheckBox(tr("Start &hidden in the notification area"));
  hide_to_tray_->setObjectName(Name("HideToTrayCheck"));
  load_notes_todo_ = new QCheckBox(tr("&Load the to-do list from the Notes database"));
  load_notes_todo_->setObjectName(Name("LoadNotesToDoCheck"));
  startup_column->addWidget(hide_splash_);
  startup_column->addWidget(hide_to_tray_);
  startup_column->addWidget(load_notes_todo_);
  layout->addWidget(startup_box);

  auto* saving_box = new QGroupBox(tr("Automatic saving"));
  auto* saving_form = new QFormLayout(saving_box);
  auto_save_ = new QCheckBox(tr("Save the running task &automatically"));
  auto_save_->setObjectName(Name("AutoSaveCheck"));
  interval_ = new QTimeEdit;
  interval_->setObjectName(Name("AutoSaveIntervalEdit"));
  interval_->setDisplayFormat(Name("H:mm:ss"));
  interval_->setToolTip(tr("Hours, minutes and seconds between two automatic saves"));
  saving_form->addRow(auto_save_);
  saving_form->addRow(BuddyLabel(tr("Save &every (H:MM:SS):"), interval_), interval_);
  connect(auto_save_, &QCheckBox::toggled, interval_, &QWidget::setEnabled);
  layout->addWidget(saving_box);

  auto* notes_box = new QGroupBox(tr("Notes database"));
  auto* notes_form = new QFormLayout(notes_box);
  server_ = new QLineEdit;
  server_->setObjectName(Name("ServerEdit"));
  server_->setPlaceholderText(tr("empty or Local: a database on this computer"));
  notes_form->addRow(BuddyLabel(tr("Se&rver:"), server_), server_);
  database_ = new QLineEdit;
  database_->setObjectName(Name("DataBaseEdit"));
  database_->setPlaceholderText(tr("empty: rvlog.nsf in the program folder"));
  auto* browse = new QToolButton;
  browse->setObjectName(Name("DataBaseBrowseButton"));
  browse->setText(Name("..."));
  browse->setToolTip(tr("Choose the database file"));
  browse->setAccessibleName(tr("Choose the database file"));
  connect(browse, &QToolButton::clicked, this, &OptionsDialog::ChooseDataBase);
  auto* database_row = new QHBoxLayout;
  database_row->addWidget(database_, 1);
  database_row->addWidget(browse);
  notes_form->addRow(BuddyLabel(tr("&Database:"), database_), database_row);
  password_ = new QLineEdit;
  password_->setObjectName(Name("PasswordEdit"));
  password_->setEchoMode(QLineEdit::Password);
  notes_form->addRow(BuddyLabel(tr("&Password:"), password_), password_);
  layout->addWidget(notes_box);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->setObjectName(Name("ButtonBox"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  SetValues(model_.Load());
  if (!model_.password_editable()) {
    password_->setEnabled(false);
    password_->setPlaceholderText(tr("cannot be changed here"));
    password_->setToolTip(tr("Ravell gave no way to read or store the password; it is kept."));
  }
}

void OptionsDialog::SetValues(const OptionsValues& values) {
  int index = target_->findData(values.target);
  if (index < 0) {
    // Any other text means "store nothing"; show it so OK keeps it unless
    // the user picks a target.
    target_->addItem(tr("\"%1\" - not a storage target, nothing is stored").arg(values.target),
                     values.target);
    index = target_->count() - 1;
  }
  target_->setCurrentIndex(index);
  hide_splash_->setChecked(values.hide_splash);
  hide_to_tray_->setChecked(values.hide_to_tray);
  load_notes_todo_->setChecked(values.load_notes_todo);
  auto_save_->setChecked(values.auto_save);
  interval_->setTime(values.auto_save_interval);
  interval_->setEnabled(values.auto_save);
  server_->setText(values.notes_server);
  database_->setText(values.notes_database);
  password_->setText(values.notes_password);
}

OptionsValues OptionsDialog::Values() const {
  OptionsValues values;
  values.target = target_->currentData().toString();
  values.hide_splash = hide_splash_->isChecked();
  values.hide_to_tray = hide_to_tray_->isChecked();
  values.load_notes_todo = load_notes_todo_->isChecked();
  values.auto_save = auto_save_->isChecked();
  values.auto_save_interval = interval_->time();
  values.notes_server = server_->text().trimmed();
  values.notes_database = database_->text().trimmed();
  values.notes_password = password_->text();
  return values;
}

void OptionsDialog::accept() {
  const OptionsValues values = Values();
  const OptionsProblem problem = model_.Validate(values);
  if (!problem.message.isEmpty()) {
    if (problem.field == OptionsField::kPassword) password_->setFocus();
    if (problem.field == OptionsField::kAutoSaveInterval) interval_->setFocus();
    ShowError(problem.message);
    return;
  }
  try {
    model_.Save(values);
  } catch (const Error& error) {
    ShowError(error.message());
    return;
  }
  QDialog::accept();
}

void OptionsDialog::ShowError(const QString& message) {
  if (error_sink_) {
    error_sink_(message);
  } else {
    QMessageBox::warning(this, windowTitle(), message);
  }
}

void OptionsDialog::ChooseDataBase() {
  QFileDialog chooser(this, tr("Notes database"));
  // A database that does not exist yet may be chosen too: it is created on use.
  chooser.setFileMode(QFileDialog::AnyFile);
  chooser.setAcceptMode(QFileDialog::AcceptOpen);
  chooser.setNameFilters({tr("Notes databases (*.nsf)"), tr("All files (*)")});
  const QString current = database_->text().trimmed();
  if (current.isEmpty()) {
    chooser.setDirectory(QFileInfo(model_.path()).absolutePath());
  } else {
    chooser.selectFile(
        QFileInfo(QDir(QFileInfo(model_.path()).absolutePath()), current).absoluteFilePath());
  }
  if (chooser.exec() == QDialog::Accepted && !chooser.selectedFiles().isEmpty()) {
    database_->setText(QDir::toNativeSeparators(chooser.selectedFiles().constFirst()));
  }
}

}  // namespace ravell
