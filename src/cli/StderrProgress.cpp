#include "cli/StderrProgress.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>

namespace tessaro {
namespace {

constexpr int kBarWidth = 30;

std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void OnInterrupt(int) { g_interrupted = true; }

}  // namespace

StderrProgress::StderrProgress(std::ostream& out)
    : StderrProgress(out, &out == &std::cerr && ::isatty(STDERR_FILENO) == 1) {}

StderrProgress::StderrProgress(std::ostream& out, bool interactive)
    : out_(out), interactive_(interactive) {}

StderrProgress::~StderrProgress() { Finish(); }

void StderrProgress::SetCaption(const std::string& caption) {
  std::lock_guard lock(mutex_);
  caption_ = caption;
  if (interactive_ && lineOpen_) DrawLocked();
}

void StderrProgress::SetMessage(const std::string& message) {
  std::lock_guard lock(mutex_);
  if (message == message_) return;
  message_ = message;
  if (interactive_) {
    DrawLocked();
  } else if (!message.empty()) {
    out_ << PrefixLocked() << message << std::endl;
  }
}

void StderrProgress::FlashError(const std::string& message) {
  std::lock_guard lock(mutex_);
  EndLineLocked();
  out_ << message << std::endl;
}

void StderrProgress::SetPercent(int percent) {
  std::lock_guard lock(mutex_);
  percent = std::clamp(percent, 0, 100);
  if (percent == percent_) return;
  percent_ = percent;
  if (interactive_) DrawLocked();
}

bool StderrProgress::CancelRequested() const { return cancel_ || g_interrupted; }

void StderrProgress::Finish() {
  std::lock_guard lock(mutex_);
  EndLineLocked();
}

void StderrProgress::CancelOnInterrupt() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // Ctrl-C, timeout(1) or systemd, and a terminal that went away.
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

std::string StderrProgress::PrefixLocked() const {
  return caption_.empty() ? std::string() : caption_ + ": ";
}

void StderrProgress::DrawLocked() {
  const int percent = std::max(percent_, 0);
  std::string bar(kBarWidth, '.');
  std::fill_n(bar.begin(), percent * kBarWidth / 100, '#');
  std::string percentText = std::to_string(percent);
  percentText.insert(0, 3 - std::min<size_t>(3, percentText.size()), ' ');
  out_ << '\r' << PrefixLocked() << message_ << " [" << bar << "] " << percentText << "%\x1b[K"
       << std::flush;
  lineOpen_ = true;
}

void StderrProgress::EndLineLocked() {
  if (!lineOpen_) return;
  out_ << std::endl;
  lineOpen_ = false;
}

}  // namespace tessaro
