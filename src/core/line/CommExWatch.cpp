#include "core/line/CommExWatch.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

#include "core/line/CommEx.h"

namespace tessaro {
namespace {

// Modem lines have no readiness event a poll can wait for; they are sampled
// at this period, and only while someone asked for them.
constexpr int kModemSampleMs = 50;
constexpr uint32_t kModemEvents =
    CommSet(evCts) | CommSet(evDsr) | CommSet(evRlsd) | CommSet(evRing);
constexpr uint32_t kReportedEvents = CommSet(evRxflag) | CommSet(evCts) | CommSet(evDsr) |
                                     CommSet(evRlsd) | CommSet(evBreak) | CommSet(evErr) |
                                     CommSet(evRing);

uint32_t ModemChanges(int before, int after) {
  const int changed = before ^ after;
  uint32_t events = 0;
  if (changed & TIOCM_CTS) events |= CommSet(evCts);
  if (changed & TIOCM_DSR) events |= CommSet(evDsr);
  if (changed & TIOCM_CD) events |= CommSet(evRlsd);
  if (changed & TIOCM_RI) events |= CommSet(evRing);
  return events;
}

void ThrowErrno(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

}  // namespace

TCommExWatch::TCommExWatch(TCommEx& owner, int portFd) : owner_(owner), portFd_(portFd) {
  epoll_.reset(::epoll_create1(EPOLL_CLOEXEC));
  if (!epoll_) ThrowErrno("epoll_create1");
  wake_.reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!wake_) ThrowErrno("eventfd");
  epoll_event ev{};
  ev.events = EPOLLIN;
  ev.data.fd = wake_.get();
  if (::epoll_ctl(epoll_.get(), EPOLL_CTL_ADD, wake_.get(), &ev) != 0) ThrowErrno("epoll_ctl");
  ev.events = EPOLLIN | EPOLLOUT | EPOLLET;
  ev.data.fd = portFd_;
  if (::epoll_ctl(epoll_.get(), EPOLL_CTL_ADD, portFd_, &ev) != 0) ThrowErrno("epoll_ctl");
  thread_ = std::thread([this] { Run(); });
}

TCommExWatch::~TCommExWatch() {
  const uint64_t one = 1;
  if (::write(wake_.get(), &one, sizeof one) < 0) {
    // An eventfd write only fails on counter overflow; the thread is woken either way.
  }
  if (thread_.joinable()) thread_.join();
}

void TCommExWatch::Run() {
  int modem = 0;
  bool modemReadable = ::ioctl(portFd_, TIOCMGET, &modem) == 0;
  bool portWatched = true;
  for (;;) {
    const bool sampleModem = modemReadable && (owner_.EventMask() & kModemEvents);
    epoll_event events[2];
    const int n = ::epoll_wait(epoll_.get(), events, 2, sampleModem ? kModemSampleMs : -1);
    if (n < 0 && errno != EINTR) return;
    bool received = false, drained = false;
    for (int i = 0; i < n; ++i) {
      if (events[i].data.fd == wake_.get()) return;
      const uint32_t e = events[i].events;
      if (e & (EPOLLHUP | EPOLLERR)) {
        // Port gone (adapter unplugged): nothing more will come from it.
        ::epoll_ctl(epoll_.get(), EPOLL_CTL_DEL, portFd_, nullptr);
        portWatched = false;
        modemReadable = false;
      }
      if (e & EPOLLIN) received = true;
      if (e & EPOLLOUT) drained = true;
    }
    try {
      if (received) {
        owner_.ReceiveNotification();
      } else if (drained && portWatched && (owner_.EventMask() & CommSet(evTxempty))) {
        int queued = 0;
        if (::ioctl(portFd_, TIOCOUTQ, &queued) == 0 && queued == 0) owner_.TransmitNotification();
      }
      if (sampleModem) {
        int now = 0;
        if (::ioctl(portFd_, TIOCMGET, &now) == 0) {
          const uint32_t changes = ModemChanges(modem, now) & owner_.EventMask() & kReportedEvents;
          modem = now;
          if (changes) owner_.EventNotification(changes);
        }
      }
    } catch (...) {
      // A failing handler must not end the watch; the port stays usable.
    }
  }
}

}  // namespace tessaro
