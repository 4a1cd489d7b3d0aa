#include "core/support/FileNames.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

TEST(ChangeExtensionTest, ReplacesOnlyTheLastComponentsExtension) {
  EXPECT_EQ(ChangeExtension("/data/DT2026120800.RLB", ".CSV"), "/data/DT2026120800.CSV");
  EXPECT_EQ(ChangeExtension("/data/run.1/site.a.rlb", ".CSV"), "/data/run.1/site.a.CSV");
  EXPECT_EQ(ChangeExtension("data.csv", ".RLB"), "data.RLB");
  EXPECT_EQ(ChangeExtension("/data.d/noext", ".CSV"), "/data.d/noext.CSV");
  EXPECT_EQ(ChangeExtension("/data/.hidden", ".CSV"), "/data/.hidden.CSV");
  EXPECT_EQ(ChangeExtension(".hidden", ".CSV"), ".hidden.CSV");
}

}  // namespace
}  // namespace tessaro
