// The tracker's session without windows, for the kill tests: a task runs on a
// fast clock (ten seconds a tick, a tick every 5 ms) with automatic saving
// every minute, and SIGTERM runs the real shutdown path.
//
//   session_child <program folder> <start H:MM>
//
// Prints "started" once the task runs, "saved <time>" after each save and
// "stopped <time>" after the shutdown.
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

#include "shutdownsignals.h"
#include "timetext.h"
#include "tracker.h"

namespace {

class StderrMessages : public ravell::MessageBoxes {
 public:
  ravell::MsgResult Show(const QString& text, const QString&, ravell::MsgIcon,
                         ravell::MsgButtons) override {
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
    return ravell::MsgResult::kOk;
  }
};

void Say(const char* what, ravell::DateTime time) {
  std::printf("%s %s\n", what, qPrintable(ravell::FormatTime(time)));
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3) return 2;
  ravell::ManualClock clock;
  clock.Set(QDate(2004, 3, 7), QTime::fromString(QString::fromLatin1(argv[2]), "H:mm"));
  StderrMessages messages;
  ravell::Tracker tracker({QString::fromLocal8Bit(argv[1]), &clock, &messages, {}});
  tracker.Start(nullptr);
  ravell::ShutdownSignals shutdown_signals;
  QObject::connect(&shutdown_signals, &ravell::ShutdownSignals::ShutdownRequested, &app, [&] {
    tracker.Shutdown();
    Say("stopped", clock.Now());
    app.quit();
  });
  tracker.session().NewTask(QStringLiteral("Acme"), QStringLiteral("Design"));
  std::printf("started\n");
  std::fflush(stdout);

  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, &app, [&] {
    const qint64 saved = tracker.day_log().last_save_time.utc_ms;
    clock.Advance(10 * ravell::kOneSecond);
    tracker.Timer1Timer();
    if (tracker.day_log().last_save_time.utc_ms != saved) {
      Say("saved", tracker.day_log().last_save_time.local);
    }
  });
  timer.start(5);
  return app.exec();
}
