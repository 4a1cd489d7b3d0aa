#include "support/SimFixture.h"

#include <gtest/gtest.h>

namespace tessaro {

sim::RecorderProfile SimFixture::Profile(const std::string& nameOrPath) {
  std::string error;
  auto profile = sim::LoadProfile(nameOrPath, error);
  if (!profile) {
    ADD_FAILURE() << "simulator profile: " << error;
    return sim::DefaultProfile();
  }
  return *profile;
}

void SimFixture::UseQuickTiming(LineContext& line) {
  line.CommLine.SetTiming({.closeSettleMs = 0, .purgeLeadMs = 20, .purgeQuietMs = 20});
}

SimFixture::SimFixture(const std::string& profile, const std::vector<int>& slaveIds)
    : SimFixture(Profile(profile), slaveIds) {}

SimFixture::SimFixture(const sim::RecorderProfile& profile, const std::vector<int>& slaveIds)
    : server_(std::make_unique<sim::SimServer>(profile, slaveIds)) {}

}  // namespace tessaro
