#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <string>
#include <thread>

#include "core/support/File.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

TEST(FileTest, WriteThenReadExactRoundTrip) {
  TempDir dir;
  const std::string path = dir.Join("data.bin");
  {
    File f = File::Open(path, File::Mode::Create);
    ASSERT_TRUE(f);
    ASSERT_TRUE(f.WriteExact("0123456789", 10));
    EXPECT_EQ(f.Size(), 10);
  }
  File f = File::Open(path, File::Mode::Read);
  ASSERT_TRUE(f);
  char buf[4] = {};
  ASSERT_TRUE(f.SeekExact(3));
  ASSERT_TRUE(f.ReadExact(buf, 4));
  EXPECT_EQ(std::string(buf, 4), "3456");
  EXPECT_EQ(f.Position(), 7);
  // Only three bytes remain: a four-byte read is a failure, not a short success.
  EXPECT_FALSE(f.ReadExact(buf, 4));
}

TEST(FileTest, SeekFromStartMustLandExactly) {
  TempDir dir;
  File f = File::Open(dir.Join("x"), File::Mode::Create);
  ASSERT_TRUE(f);
  EXPECT_FALSE(f.SeekExact(-1));
  EXPECT_TRUE(f.SeekExact(100));  // past the end is allowed, as for any file
  EXPECT_TRUE(f.SeekExact(-10, SEEK_CUR));
  EXPECT_EQ(f.Position(), 90);
}

TEST(FileTest, WriteOnReadOnlyFileFails) {
  TempDir dir;
  dir.WriteFile("ro", "abc");
  File f = File::Open(dir.Join("ro"), File::Mode::Read);
  ASSERT_TRUE(f);
  EXPECT_FALSE(f.WriteExact("z", 1));
  EXPECT_EQ(dir.ReadFile("ro"), "abc");
}

TEST(FileTest, MissingFileAndClosedFileFailCleanly) {
  TempDir dir;
  File missing = File::Open(dir.Join("nope"), File::Mode::Read);
  EXPECT_FALSE(missing);
  char c;
  EXPECT_FALSE(missing.ReadExact(&c, 1));
  EXPECT_FALSE(missing.SeekExact(0));
  EXPECT_FALSE(missing.Close());
}

TEST(FileTest, MoveTransfersOwnership) {
  TempDir dir;
  File a = File::Open(dir.Join("m"), File::Mode::Create);
  ASSERT_TRUE(a);
  const int fd = a.Descriptor();
  File b = std::move(a);
  EXPECT_FALSE(a);  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(b.Descriptor(), fd);
  File c;
  c = std::move(b);
  EXPECT_EQ(c.Descriptor(), fd);
  EXPECT_TRUE(c.WriteExact("ok", 2));
  EXPECT_TRUE(c.Close());
  EXPECT_EQ(::fcntl(fd, F_GETFD), -1);  // really closed
}

TEST(FileTest, ReadExactCollectsPiecesFromAPipe) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  File reader(fds[0]);
  File writer(fds[1]);
  std::thread producer([&writer] {
    for (char c : std::string("abcdefgh")) {
      writer.WriteExact(&c, 1);
      usleep(1000);
    }
    writer.Close();
  });
  std::array<char, 8> buf{};
  EXPECT_TRUE(reader.ReadExact(buf.data(), buf.size()));
  EXPECT_EQ(std::string(buf.data(), buf.size()), "abcdefgh");
  producer.join();
  EXPECT_FALSE(reader.ReadExact(buf.data(), 1));  // writer gone: end of file
}

// A signal without SA_RESTART interrupts a blocked read with EINTR; the read
// must go on rather than report failure.
TEST(FileTest, ReadExactResumesAfterInterruptedRead) {
  struct sigaction action {};
  struct sigaction previous {};
  action.sa_handler = [](int) {};
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  ASSERT_EQ(::sigaction(SIGUSR1, &action, &previous), 0);

  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  File reader(fds[0]);
  File writer(fds[1]);
  std::atomic<bool> started{false};
  bool ok = false;
  std::array<char, 4> buf{};
  std::thread blocked([&] {
    started = true;
    ok = reader.ReadExact(buf.data(), buf.size());
  });
  while (!started) usleep(1000);
  for (int i = 0; i < 5; ++i) {
    usleep(20000);
    pthread_kill(blocked.native_handle(), SIGUSR1);
  }
  ASSERT_TRUE(writer.WriteExact("wxyz", 4));
  blocked.join();
  ::sigaction(SIGUSR1, &previous, nullptr);
  EXPECT_TRUE(ok);
  EXPECT_EQ(std::string(buf.data(), buf.size()), "wxyz");
}

TEST(FileTest, AppendModeAddsAtTheEnd) {
  TempDir dir;
  dir.WriteFile("log", "one\n");
  {
    File f = File::Open(dir.Join("log"), File::Mode::Append);
    ASSERT_TRUE(f);
    ASSERT_TRUE(f.WriteExact("two\n", 4));
  }
  EXPECT_EQ(dir.ReadFile("log"), "one\ntwo\n");
}

}  // namespace
}  // namespace tessaro
