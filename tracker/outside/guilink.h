#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace ravell {

class MessageBoxes;

// Splash, About, options and plan-alarm dialogs of the GUI library. The real
// one is librvgui.so; tests use fakes.
class GuiLink {
 public:
  virtual ~GuiLink() = default;
  // Loads the library and keeps it loaded until CloseSplash.
  virtual void ShowSplash(void* app_window) = 0;
  // Removes the splash, lets pending events run, unloads the library.
  virtual void CloseSplash() = 0;
  virtual void ShowAbout(void* app_window) = 0;
  // The dialog edits ravell.ini in the current directory; the result is not used.
  virtual int ShowOptions(void* app_window, bool setup_mode) = 0;
  // 1..4 as the alarm's actions; anything else: closed (also when the
  // library could not be used).
  virtual int ShowAlarm(void* app_window, const QString& message, const QString& task,
                        const QString& project) = 0;
};

// librvgui.so from the program folder. Each dialog call detaches the tray
// menu, loads the library, calls the export, lets pending events run, unloads
// and attaches the menu again. Failures show "Can not load library
// librvgui.so" or "Method with name <name> was not found".
class GuiLibrary : public GuiLink {
 public:
  static constexpr const char* kFileName = "librvgui.so";

  GuiLibrary(QString program_folder, MessageBoxes& messages);
  ~GuiLibrary() override;

  // Called around every dialog so the tray menu cannot open meanwhile; attach
  // runs on every path, also when the library or its export is missing.
  void SetTrayMenuHooks(std::function<void()> detach, std::function<void()> attach);

  void ShowSplash(void* app_window) override;
  void CloseSplash() override;
  void ShowAbout(void* app_window) override;
  int ShowOptions(void* app_window, bool setup_mode) override;
  int ShowAlarm(void* app_window, const QString& message, const QString& task,
                const QString& project) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The password call-backs handed to ShowOptions: the argument is the address
// of a malloc buffer with a text (freed here) or 0. Each keeps its result in
// a buffer of its own, valid at least until the next call of either.
extern "C" const char* RavellUnscrambleCallback(intptr_t block);
extern "C" const char* RavellScrambleCallback(intptr_t block);

}  // namespace ravell
