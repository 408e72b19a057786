#pragma once

#include <QString>

#include "inifile.h"

namespace ravell {

// The tracker's settings in ravell.ini. Keys are read when they are needed,
// so a value the options dialog changed is seen at the next read.
class Settings {
 public:
  static constexpr const char* kFileName = "ravell.ini";

  explicit Settings(const QString& program_folder);

  IniFile& ini() { return ini_; }
  const IniFile& ini() const { return ini_; }
  bool Exists() const { return ini_.Exists(); }

  QString Read(const QString& section, const QString& key) const { return ini_.Read(section, key); }
  void Write(const QString& section, const QString& key, const QString& value) {
    ini_.Write(section, key, value);
  }
  // "Yes" switches compare case-sensitively; anything else is off.
  bool IsYes(const QString& section, const QString& key) const {
    return Read(section, key) == QLatin1String("Yes");
  }

  QString Target() const {
    return ini_.Read(QStringLiteral("Storage"), QStringLiteral("Target"), QStringLiteral("Log"));
  }
  bool HideSplash() const { return IsYes(QStringLiteral("Startup"), QStringLiteral("HideSplash")); }
  bool HideToTray() const { return IsYes(QStringLiteral("Startup"), QStringLiteral("HideToTray")); }
  bool LoadNotesToDo() const {
    return IsYes(QStringLiteral("Startup"), QStringLiteral("LoadNotesToDo"));
  }
  bool AutoSave() const { return IsYes(QStringLiteral("Options"), QStringLiteral("AutoSave")); }
  QString AutoSaveInterval() const {
    return Read(QStringLiteral("Options"), QStringLiteral("AutoSaveInterval"));
  }
  QString NotesServer() const { return Read(QStringLiteral("Notes"), QStringLiteral("Server")); }
  QString NotesDataBase() const {
    return Read(QStringLiteral("Notes"), QStringLiteral("DataBase"));
  }
  QString NotesPassword() const {
    return Read(QStringLiteral("Notes"), QStringLiteral("Password"));
  }

 private:
  IniFile ini_;
};

enum class StorageTarget { kLog, kNotes, kCombine, kNone };

// "Log" (the default of an absent key); "Notes"; "Combine"; any other text,
// other case included: none.
StorageTarget StorageTargetOf(const QString& target_value);

inline bool UsesNotes(StorageTarget target) {
  return target == StorageTarget::kNotes || target == StorageTarget::kCombine;
}
inline bool UsesLog(StorageTarget target) {
  return target == StorageTarget::kLog || target == StorageTarget::kCombine;
}

}  // namespace ravell
