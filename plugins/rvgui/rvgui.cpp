// The C exports of librvgui.so. The tracker loads the library for each call
// and unloads it afterwards, so nothing made here may outlive the call except
// the splash, which CloseSplash removes before its unload.
#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QWidget>
#include <type_traits>

#include "aboutdialog.h"
#include "alarmdialog.h"
#include "optionsdialog.h"
#include "optionsmodel.h"
#include "rvgui_api.h"
#include "splashscreen.h"

#define RVGUI_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

QPointer<ravell::SplashScreen> g_splash;

bool HaveApplication() { return qobject_cast<QApplication*>(QCoreApplication::instance()); }

// A hidden owner (the tracker in its notification area, or its main window
// in setup mode) would place the dialog off where nothing is shown; centre
// on the screen then.
QWidget* OwnerOf(void* app_window) {
  auto* owner = static_cast<QWidget*>(app_window);
  return owner && owner->isVisible() ? owner->window() : nullptr;
}

QString FromCText(const char* text) { return text ? QString::fromLocal8Bit(text) : QString(); }

}  // namespace

// Exceptions must not cross the C boundary into the tracker.

RVGUI_EXPORT void ShowSplash(void* /*app_window*/) {
  if (!HaveApplication()) return;
  try {
    if (!g_splash) g_splash = new ravell::SplashScreen;
    g_splash->ShowNow();
  } catch (...) {
  }
}

RVGUI_EXPORT void CloseSplash(void) {
  // Deleted at once, not later: the tracker unloads the library right after.
  delete g_splash.data();
}

RVGUI_EXPORT void ShowAbout(void* app_window) {
  if (!HaveApplication()) return;
  try {
    ravell::AboutDialog dialog(OwnerOf(app_window));
    dialog.exec();
  } catch (...) {
  }
}

RVGUI_EXPORT int ShowOptions(void* app_window, unsigned char setup_mode,
                             RvPasswordCallback unscramble, RvPasswordCallback scramble) {
  if (!HaveApplication()) return 0;
  try {
    // The tracker has made its program folder the current directory.
    ravell::OptionsModel model(QDir::currentPath(),
                               ravell::PasswordCallbacks(unscramble, scramble));
    ravell::OptionsDialog dialog(model, setup_mode != 0, OwnerOf(app_window));
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

RVGUI_EXPORT int ShowAlarm(void* app_window, const char* message, const char* task,
                           const char* project) {
  if (!HaveApplication()) return ravell::AlarmDialog::kClosed;
  try {
    ravell::AlarmDialog dialog(FromCText(message), FromCText(task), FromCText(project),
                               OwnerOf(app_window));
    const int result = dialog.exec();
    return result >= ravell::AlarmDialog::kExtend && result <= ravell::AlarmDialog::kShowRavell
               ? result
               : ravell::AlarmDialog::kClosed;
  } catch (...) {
    return ravell::AlarmDialog::kClosed;
  }
}

// The header's pointer types must match the definitions the tracker looks up.
static_assert(std::is_same_v<decltype(&ShowSplash), RvShowSplashFn>);
static_assert(std::is_same_v<decltype(&CloseSplash), RvCloseSplashFn>);
static_assert(std::is_same_v<decltype(&ShowAbout), RvShowAboutFn>);
static_assert(std::is_same_v<decltype(&ShowOptions), RvShowOptionsFn>);
static_assert(std::is_same_v<decltype(&ShowAlarm), RvShowAlarmFn>);
