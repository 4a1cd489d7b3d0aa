#include <gtest/gtest.h>

#include <csignal>

int main(int argc, char** argv) {
  // A peer closing a socket or pty mid-test must not kill the test program.
  std::signal(SIGPIPE, SIG_IGN);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
