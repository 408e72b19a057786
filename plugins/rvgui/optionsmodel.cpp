#include "optionsmodel.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>

#include "atomicfile.h"
#include "datetime.h"
#include "error.h"
#include "inifile.h"
#include "settings.h"
#include "textcodec.h"
#include "timetext.h"

namespace ravell {

namespace {

std::optional<QString> CallWithBlock(RvPasswordCallback callback, const QString& text) {
  if (!callback) return std::nullopt;
  const QByteArray bytes = ToFileText(text);
  char* block = static_cast<char*>(std::malloc(bytes.size() + 1));
  if (!block) return std::nullopt;
  std::memcpy(block, bytes.constData(), bytes.size() + 1);           // with the terminating zero
  const char* result = callback(reinterpret_cast<intptr_t>(block));  // frees the block
  if (!result) return std::nullopt;
  return FromFileText(QByteArray(result));
}

QString YesNo(bool on) { return QString::fromLatin1(on ? "Yes" : "No"); }

// Keys and sections as plain heap strings: this code runs inside a library
// the tracker unloads again, so no string may point into its constant data.
QString Key(const char* name) { return QString::fromLatin1(name); }

}  // namespace

std::optional<QString> PasswordCallbacks::Unscramble(const QString& scrambled) const {
  return CallWithBlock(unscramble_, scrambled);
}

std::optional<QString> PasswordCallbacks::Scramble(const QString& password) const {
  return CallWithBlock(scramble_, password);
}

OptionsModel::OptionsModel(QString folder, PasswordCallbacks callbacks)
    : folder_(std::move(folder)), callbacks_(callbacks) {}

QString OptionsModel::path() const {
  return folder_ + QLatin1Char('/') + QLatin1String(Settings::kFileName);
}

QStringList OptionsModel::KnownTargets() { return {Key("Log"), Key("Notes"), Key("Combine")}; }

OptionsValues OptionsModel::Load() {
  const Settings settings(folder_);
  OptionsValues values;
  values.target = settings.Target();
  values.hide_splash = settings.HideSplash();
  values.hide_to_tray = settings.HideToTray();
  values.load_notes_todo = settings.LoadNotesToDo();
  values.auto_save = settings.AutoSave();
  const QString interval = settings.AutoSaveInterval();
  if (!interval.isEmpty()) {
    try {
      const QTime time = TimeOf(ParseTime(interval));
      values.auto_save_interval = QTime(time.hour(), time.minute(), time.second());
    } catch (const ConvertError&) {
      // Not a time text: the default is shown and written on OK, which
      // repairs what the tracker's tick would otherwise trip over.
    }
  }
  values.notes_server = settings.NotesServer();
  values.notes_database = settings.NotesDataBase();
  password_editable_ = false;
  if (callbacks_.Available()) {
    if (const auto plain = callbacks_.Unscramble(settings.NotesPassword())) {
      values.notes_password = *plain;
      password_editable_ = true;
    }
  }
  return values;
}

OptionsProblem OptionsModel::Validate(const OptionsValues& values) const {
  if (values.auto_save &&
      (!values.auto_save_interval.isValid() || values.auto_save_interval == QTime(0, 0, 0))) {
    // A zero period would save on every one-second tick.
    return {OptionsField::kAutoSaveInterval,
            tr("Choose an auto-save interval of at least 0:00:01, or switch automatic "
               "saving off.")};
  }
  if (password_editable_ && ToFileText(values.notes_password).size() > kMaxPasswordBytes) {
    return {OptionsField::kPassword,
            tr("The password is too long. Ravell can store at most %1 characters "
               "(a character outside plain ASCII counts as two or more).")
                .arg(kMaxPasswordBytes)};
  }
  return {};
}

void OptionsModel::Save(const OptionsValues& values) {
  const OptionsProblem problem = Validate(values);
  if (!problem.message.isEmpty()) throw Error(problem.message);
  QString scrambled;
  if (password_editable_) {
    const auto result = callbacks_.Scramble(values.notes_password);
    if (!result) throw Error(tr("The password could not be scrambled, so nothing was saved."));
    scrambled = *result;
  }

  // Stage all keys in a copy and replace the real file once: a failure half
  // way must not leave a mix of old and new settings behind.
  QTemporaryDir stage;
  if (!stage.isValid()) {
    throw FileError(tr("Cannot create a temporary folder. %1").arg(stage.errorString()));
  }
  const QString stage_path = stage.filePath(QLatin1String(Settings::kFileName));
  const QString real_path = path();
  if (QFileInfo::exists(real_path)) WriteFileAtomic(stage_path, ReadWholeFile(real_path));
  IniFile ini(stage_path);
  ini.Write(Key("Storage"), Key("Target"), values.target);
  ini.Write(Key("Startup"), Key("HideSplash"), YesNo(values.hide_splash));
  ini.Write(Key("Startup"), Key("HideToTray"), YesNo(values.hide_to_tray));
  ini.Write(Key("Startup"), Key("LoadNotesToDo"), YesNo(values.load_notes_todo));
  ini.Write(Key("Options"), Key("AutoSave"), YesNo(values.auto_save));
  ini.Write(Key("Options"), Key("AutoSaveInterval"),
            FormatTime(EncodeTime(values.auto_save_interval)));
  ini.Write(Key("Notes"), Key("Server"), values.notes_server);
  ini.Write(Key("Notes"), Key("DataBase"), values.notes_database);
  if (password_editable_) ini.Write(Key("Notes"), Key("Password"), scrambled);
  WriteFileAtomic(real_path, ReadWholeFile(stage_path));
}

}  // namespace ravell
