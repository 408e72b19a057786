#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>

#include "rvgui_api.h"

namespace ravell {

// The settings of ravell.ini the options dialog edits, as the dialog shows
// them. The password is the plain one.
struct OptionsValues {
  QString target = QString::fromLatin1("Log");
  bool hide_splash = false;
  bool hide_to_tray = false;
  bool load_notes_todo = false;
  bool auto_save = false;
  QTime auto_save_interval = QTime(0, 5, 0);
  QString notes_server;
  QString notes_database;
  QString notes_password;
};

// The tracker's two password call-backs. Each gets the address of a malloc
// block holding the zero-terminated 8-bit text and frees it; its result lives
// only until the next call, so it is copied at once.
class PasswordCallbacks {
 public:
  PasswordCallbacks(RvPasswordCallback unscramble, RvPasswordCallback scramble)
      : unscramble_(unscramble), scramble_(scramble) {}

  // Both directions are needed to show the password and store a change.
  bool Available() const { return unscramble_ && scramble_; }
  // Empty optional when the call-back is missing or gave no text.
  std::optional<QString> Unscramble(const QString& scrambled) const;
  std::optional<QString> Scramble(const QString& password) const;

 private:
  RvPasswordCallback unscramble_;
  RvPasswordCallback scramble_;
};

// The stored form holds the length as L * 17 + 176 in four digits, and the
// tracker scrambles the 8-bit bytes, so this bounds the encoded length.
inline constexpr int kMaxPasswordBytes = 577;

// Which input a refused value belongs to, so the dialog can focus it.
enum class OptionsField { kNone, kAutoSaveInterval, kPassword };

struct OptionsProblem {
  OptionsField field = OptionsField::kNone;
  QString message;  // empty: the values can be saved
};

// Loads, checks and saves the options in <folder>/ravell.ini.
class OptionsModel {
  Q_DECLARE_TR_FUNCTIONS(OptionsModel)

 public:
  OptionsModel(QString folder, PasswordCallbacks callbacks);

  // The values in the file; absent keys give the defaults. Leaves the
  // password read-only when a call-back is missing or failed.
  OptionsValues Load();
  bool password_editable() const { return password_editable_; }
  QString path() const;

  OptionsProblem Validate(const OptionsValues& values) const;
  // Writes every key in one atomic rewrite of the file, so a failure leaves
  // it as it was. A read-only password keeps its stored text. Throws Error
  // for refused values, FileError when the file cannot be read or written.
  void Save(const OptionsValues& values);

  // "Log", "Notes", "Combine".
  static QStringList KnownTargets();

 private:
  QString folder_;
  PasswordCallbacks callbacks_;
  bool password_editable_ = false;
};

}  // namespace ravell
