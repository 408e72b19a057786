#pragma once

#include <QObject>

class QSocketNotifier;

namespace ravell {

// Turns SIGTERM, SIGHUP and SIGINT into a signal on the event loop, so the
// orderly shutdown (stop and save the running task) runs as for a logoff.
class ShutdownSignals : public QObject {
  Q_OBJECT
 public:
  explicit ShutdownSignals(QObject* parent = nullptr);
  ~ShutdownSignals() override;

 signals:
  void ShutdownRequested();

 private:
  static void Handler(int signal_number);
  static int pipe_[2];
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace ravell
