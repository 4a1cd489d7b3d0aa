#include <gtest/gtest.h>
#include <stdlib.h>

#include <csignal>
#include <filesystem>

int main(int argc, char** argv) {
  // A peer closing a socket or pty mid-test must not kill the test program.
  std::signal(SIGPIPE, SIG_IGN);
  // Line locks stay within this test program and its children: test
  // programs run side by side and reuse each other's closed ports.
  char lockFolder[] = "/tmp/tessaro-test-locks-XXXXXX";
  const bool ownLocks = !std::getenv("TESSARO_LOCK_DIR") && ::mkdtemp(lockFolder);
  if (ownLocks) ::setenv("TESSARO_LOCK_DIR", lockFolder, 1);
  testing::InitGoogleTest(&argc, argv);
  const int status = RUN_ALL_TESTS();
  std::error_code ignored;
  if (ownLocks) std::filesystem::remove_all(lockFolder, ignored);
  return status;
}
