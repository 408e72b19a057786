// Program entry of the tracker: splash, main window (which runs start-up),
// then the event loop until Shut down or the end of the session.
#include <QApplication>

#include "guilink.h"
#include "mainwindow.h"
#include "qtmessageboxes.h"
#include "settings.h"
#include "shutdownsignals.h"
#include "tracker.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Ravell"));
  // The window hides to the tray; only Shut down ends the program.
  QApplication::setQuitOnLastWindowClosed(false);

  // Found once here and handed on, so every object can run on another folder.
  const QString program_folder = QCoreApplication::applicationDirPath();
  ravell::QtMessageBoxes messages;
  ravell::GuiLibrary gui(program_folder, messages);

  const bool splash = !ravell::Settings(program_folder).HideSplash();
  if (splash) gui.ShowSplash(nullptr);

  ravell::SystemClock clock;
  ravell::TrackerEnvironment env;
  env.program_folder = program_folder;
  env.clock = &clock;
  env.messages = &messages;
  env.notes_loader =
      [program_folder](ravell::MessageBoxes& m) -> std::unique_ptr<ravell::NotesLink> {
    return ravell::NotesLibrary::Load(program_folder, m);
  };
  ravell::Tracker tracker(std::move(env));
  ravell::MainWindow window(tracker, gui);
  messages.SetOwner(&window);
  window.FormCreate();

  if (splash) gui.CloseSplash();

  if (tracker.quit_requested()) {
    window.EndSession();
    return 0;
  }

  ravell::ShutdownSignals shutdown_signals;
  QObject::connect(&shutdown_signals, &ravell::ShutdownSignals::ShutdownRequested, &window,
                   &ravell::MainWindow::EndSession);
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                   [&window](QSessionManager&) { window.EndSession(); });

  // The window centres itself when first shown.
  if (window.ShouldShowAtStart()) window.show();
  return app.exec();
}
