#include <dlfcn.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>

#include "guilink.h"
#include "messages.h"
#include "password.h"
#include "rvgui_api.h"
#include "textblock.h"

namespace ravell {

namespace {

// Runs a call-back when the scope ends, whichever way it ends.
class OnExit {
 public:
  explicit OnExit(const std::function<void()>& fn) : fn_(fn) {}
  ~OnExit() {
    if (fn_) fn_();
  }
  OnExit(const OnExit&) = delete;
  OnExit& operator=(const OnExit&) = delete;

 private:
  const std::function<void()>& fn_;
};

// Exceptions must not cross into the library's C code.
template <typename Convert>
const char* PasswordCallback(QByteArray& buffer, intptr_t block, Convert convert) {
  try {
    buffer = ToFileText(convert(TakeTextBlock(block)));
  } catch (...) {
    buffer.clear();
  }
  return buffer.constData();
}

}  // namespace

struct GuiLibrary::Impl {
  QString program_folder;
  MessageBoxes& messages;
  std::function<void()> detach;
  std::function<void()> attach;
  void* splash = nullptr;  // the library kept loaded between ShowSplash and CloseSplash

  void* Open() {
    const QByteArray path =
        QFile::encodeName(program_folder + QLatin1Char('/') + QLatin1String(kFileName));
    void* handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      messages.Show(QStringLiteral("Can not load library %1").arg(QLatin1String(kFileName)),
                    QString(), MsgIcon::kError);
    }
    return handle;
  }

  template <typename Fn>
  Fn Resolve(void* handle, const char* name) {
    auto fn = reinterpret_cast<Fn>(dlsym(handle, name));
    if (!fn) {
      messages.Show(QStringLiteral("Method with name %1 was not found").arg(QLatin1String(name)),
                    QString(), MsgIcon::kError);
    }
    return fn;
  }

  // Objects the dialog left for deferred deletion have their code in the
  // library, so they must go before it is unmapped.
  static void Close(void* handle) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    dlclose(handle);
  }

  // One dialog: detach the tray menu, load, call, unload, attach again.
  template <typename Fn, typename Call>
  int RunDialog(const char* name, Call call) {
    if (detach) detach();
    OnExit attach_again(attach);
    void* handle = Open();
    if (!handle) return 0;
    int result = 0;
    if (Fn fn = Resolve<Fn>(handle, name)) result = call(fn);
    Close(handle);
    return result;
  }
};

GuiLibrary::GuiLibrary(QString program_folder, MessageBoxes& messages)
    : impl_(new Impl{std::move(program_folder), messages, {}, {}}) {}

GuiLibrary::~GuiLibrary() {
  if (impl_->splash) dlclose(impl_->splash);
}

void GuiLibrary::SetTrayMenuHooks(std::function<void()> detach, std::function<void()> attach) {
  impl_->detach = std::move(detach);
  impl_->attach = std::move(attach);
}

void GuiLibrary::ShowSplash(void* app_window) {
  if (!impl_->splash) impl_->splash = impl_->Open();
  if (!impl_->splash) return;
  if (auto fn = impl_->Resolve<RvShowSplashFn>(impl_->splash, "ShowSplash")) fn(app_window);
}

void GuiLibrary::CloseSplash() {
  if (!impl_->splash) return;
  void* handle = impl_->splash;
  impl_->splash = nullptr;
  if (auto fn = impl_->Resolve<RvCloseSplashFn>(handle, "CloseSplash")) fn();
  Impl::Close(handle);
}

void GuiLibrary::ShowAbout(void* app_window) {
  impl_->RunDialog<RvShowAboutFn>("ShowAbout", [&](RvShowAboutFn fn) {
    fn(app_window);
    return 0;
  });
}

int GuiLibrary::ShowOptions(void* app_window, bool setup_mode) {
  return impl_->RunDialog<RvShowOptionsFn>("ShowOptions", [&](RvShowOptionsFn fn) {
    return fn(app_window, setup_mode ? 1 : 0, RavellUnscrambleCallback, RavellScrambleCallback);
  });
}

int GuiLibrary::ShowAlarm(void* app_window, const QString& message, const QString& task,
                          const QString& project) {
  const QByteArray message_text = ToFileText(message);
  const QByteArray task_text = ToFileText(task);
  const QByteArray project_text = ToFileText(project);
  return impl_->RunDialog<RvShowAlarmFn>("ShowAlarm", [&](RvShowAlarmFn fn) {
    return fn(app_window, message_text.constData(), task_text.constData(),
              project_text.constData());
  });
}

// A buffer per direction, so one result survives a call of the other.
extern "C" const char* RavellUnscrambleCallback(intptr_t block) {
  static QByteArray buffer;
  return PasswordCallback(buffer, block, UnscramblePassword);
}

extern "C" const char* RavellScrambleCallback(intptr_t block) {
  static QByteArray buffer;
  return PasswordCallback(buffer, block, ScramblePassword);
}

}  // namespace ravell
