#pragma once
// Shared by the loader tests: where the stand-in libraries lie, the call log
// they write, and a message box fake that writes into the same log, so one
// list shows the order of hooks, messages and library calls.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "messages.h"
#include "textcodec.h"

namespace ravell::testing {

inline QString FakeLibs(const char* folder) {
  return QStringLiteral(RAVELL_FAKELIBS_DIR "/") + QLatin1String(folder);
}

// Whether the process has the library mapped right now.
inline bool IsLoaded(const QString& path) {
  void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_LAZY | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}

inline void AppendLine(const QString& path, const QString& line) {
  QFile file(path);
  if (file.open(QIODevice::Append)) file.write(ToFileText(line) + '\n');
}

class CallLog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    qputenv("RAVELL_FAKE_LOG", QFile::encodeName(LogPath()));
  }
  void TearDown() override {
    qunsetenv("RAVELL_FAKE_LOG");
    qunsetenv("RAVELL_FAKE_FAIL");
    qunsetenv("RAVELL_FAKE_PASSWORD");
  }

  QString LogPath() const { return dir_.filePath(QStringLiteral("calls.log")); }
  // A folder without any library.
  QString EmptyFolder() const { return dir_.path(); }

  // The lines written so far; the log starts again empty.
  QStringList TakeLines() {
    QFile file(LogPath());
    QStringList lines;
    if (file.open(QIODevice::ReadOnly)) {
      for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.isEmpty()) lines << FromFileText(line);
      }
      file.remove();
    }
    return lines;
  }

  QTemporaryDir dir_;
};

// Message boxes that log "message|<text>" into the call log.
class LoggedMessages : public MessageBoxes {
 public:
  explicit LoggedMessages(QString log_path) : log_path_(std::move(log_path)) {}
  MsgResult Show(const QString& text, const QString&, MsgIcon, MsgButtons) override {
    AppendLine(log_path_, QStringLiteral("message|") + text);
    return MsgResult::kOk;
  }

 private:
  QString log_path_;
};

}  // namespace ravell::testing
