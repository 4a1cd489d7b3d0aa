#include "ui/shell/TerminationSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>

namespace tessaro {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP};

std::atomic<int> g_writeEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "read from a signal handler");

extern "C" void OnTerminationSignal(int) {
  const int saved = errno;
  const char byte = 1;
  // A full pipe already holds a pending request.
  [[maybe_unused]] const ssize_t n = ::write(g_writeEnd.load(), &byte, 1);
  errno = saved;
}

void SetHandler(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  readEnd_ = File(fds[0]);
  writeEnd_ = File(fds[1]);
  g_writeEnd.store(fds[1]);
  notifier_ = new QSocketNotifier(fds[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::Drain);
  SetHandler(OnTerminationSignal);
}

TerminationSignals::~TerminationSignals() {
  if (!notifier_) return;
  SetHandler(SIG_DFL);
  g_writeEnd.store(-1);
}

void TerminationSignals::Drain() {
  char bytes[64];
  while (::read(readEnd_.Descriptor(), bytes, sizeof bytes) > 0) {
  }
  if (onSignal_) onSignal_();
}

}  // namespace tessaro
