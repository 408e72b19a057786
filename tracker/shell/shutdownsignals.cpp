#include "shutdownsignals.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace ravell {

int ShutdownSignals::pipe_[2] = {-1, -1};

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pipe_) != 0) return;
  notifier_ = new QSocketNotifier(pipe_[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char byte;
    if (::read(pipe_[1], &byte, 1) == 1) emit ShutdownRequested();
  });
  struct sigaction action = {};
  action.sa_handler = &ShutdownSignals::Handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGHUP, SIGINT}) sigaction(sig, &action, nullptr);
}

ShutdownSignals::~ShutdownSignals() {
  for (int sig : {SIGTERM, SIGHUP, SIGINT}) std::signal(sig, SIG_DFL);
  if (pipe_[0] >= 0) ::close(pipe_[0]);
  if (pipe_[1] >= 0) ::close(pipe_[1]);
  pipe_[0] = pipe_[1] = -1;
}

void ShutdownSignals::Handler(int) {
  // Only async-signal-safe work here: wake the event loop.
  const char byte = 1;
  if (pipe_[0] >= 0) {
    const ssize_t written = ::write(pipe_[0], &byte, 1);
    (void)written;
  }
}

}  // namespace ravell
