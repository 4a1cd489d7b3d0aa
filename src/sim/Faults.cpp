#include "sim/Faults.h"

namespace tessaro::sim {

FaultSettings Faults::Get() const {
  std::lock_guard lock(mutex_);
  return settings_;
}

void Faults::Set(const FaultSettings& settings) {
  std::lock_guard lock(mutex_);
  settings_ = settings;
  commands_ = 0;
  dropped_ = 0;
  refusals_.assign(settings.refused.size(), 0);
  connections_ = 0;
}

bool Faults::Refuses(const std::string& command) {
  std::lock_guard lock(mutex_);
  refusals_.resize(settings_.refused.size(), 0);
  for (size_t i = 0; i < settings_.refused.size(); ++i) {
    const std::string& prefix = settings_.refused[i];
    if (prefix.empty() || command.compare(0, prefix.size(), prefix) != 0) continue;
    if (settings_.refuseTimes > 0 && refusals_[i] >= settings_.refuseTimes) return false;
    ++refusals_[i];
    return true;
  }
  return false;
}

int Faults::CountConnection() {
  std::lock_guard lock(mutex_);
  ++connections_;
  if (settings_.faultyConnections > 0 && connections_ > settings_.faultyConnections) {
    FaultSettings kept;
    kept.baud = settings_.baud;
    kept.growRecords = settings_.growRecords;
    settings_ = kept;
    commands_ = 0;
  }
  return connections_;
}

bool Faults::CountCommand() {
  const int seen = commands_.fetch_add(1);
  std::lock_guard lock(mutex_);
  return settings_.silentAfter < 0 || seen < settings_.silentAfter;
}

bool FaultsApplyTo(const FaultSettings& faults, const std::string& command) {
  return faults.transferFilter.empty() || command.find(faults.transferFilter) != std::string::npos;
}

}  // namespace tessaro::sim
