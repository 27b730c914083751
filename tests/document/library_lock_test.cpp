#include "document/library_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <future>
#include <optional>
#include <thread>

#include "document/text_file.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using namespace std::chrono_literals;
using testing::ReadBytes;
using testing::TestDir;
using testing::WriteBytes;

TEST(LibraryLockTest, ASecondWriterWaitsThenGivesUpWithAMessage) {
  TestDir dir;
  const auto library = dir / "a.blk";
  WriteBytes(library, "x\r\n");
  auto first = LibraryLock::Acquire(library, 0ms);
  ASSERT_TRUE(first.has_value()) << first.error().message;

  const auto start = std::chrono::steady_clock::now();
  const auto second = LibraryLock::Acquire(library, 100ms);
  ASSERT_FALSE(second.has_value());
  EXPECT_GE(std::chrono::steady_clock::now() - start, 100ms);
  EXPECT_NE(second.error().message.find("jest zajęty"), std::string::npos);
  EXPECT_NE(second.error().message.find("a.blk"), std::string::npos);

  first = LibraryLock::Acquire(dir / "b.blk", 0ms);  // the first lock is let go
  EXPECT_TRUE(LibraryLock::Acquire(library, 0ms).has_value());
}

// The writer that waited must hold the file the path names once it has the lock, not the one
// the first writer replaced: else a third writer would get in beside it.
TEST(LibraryLockTest, HoldsAcrossAReplacement) {
  TestDir dir;
  const auto library = dir / "a.blk";
  WriteBytes(library, "old\r\n");
  std::optional<LibraryLock> first(*LibraryLock::Acquire(library, 0ms));
  auto waiting = std::async(std::launch::async, [&] { return LibraryLock::Acquire(library, 5s); });
  std::this_thread::sleep_for(30ms);
  ASSERT_TRUE(ReplaceFileContents(library, "new\r\n").has_value());
  first.reset();
  const auto second = waiting.get();
  ASSERT_TRUE(second.has_value()) << second.error().message;
  EXPECT_FALSE(LibraryLock::Acquire(library, 20ms).has_value());
  EXPECT_EQ(ReadBytes(library), "new\r\n");
}

TEST(LibraryLockTest, ANewLibraryIsMadeForTheLockAndGoesWhenNothingIsWritten) {
  TestDir dir;
  const auto library = dir / "nowa.blk";
  {
    const auto lock = LibraryLock::Acquire(library, 0ms);
    ASSERT_TRUE(lock.has_value()) << lock.error().message;
    EXPECT_TRUE(lock->created());
    EXPECT_TRUE(std::filesystem::exists(library));
  }
  EXPECT_FALSE(std::filesystem::exists(library));
  {
    const auto lock = LibraryLock::Acquire(library, 0ms);
    ASSERT_TRUE(lock.has_value());
    ASSERT_TRUE(ReplaceFileContents(library, "blok\r\n").has_value());
  }
  EXPECT_EQ(ReadBytes(library), "blok\r\n");
  // An existing empty library is no file of ours to take away.
  WriteBytes(dir / "pusta.blk", "");
  { EXPECT_FALSE(LibraryLock::Acquire(dir / "pusta.blk", 0ms)->created()); }
  EXPECT_TRUE(std::filesystem::exists(dir / "pusta.blk"));
}

TEST(LibraryLockTest, OnlyRegularFilesAreLocked) {
  TestDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  std::filesystem::create_directory(dir / "folder");
  for (const std::filesystem::path& path :
       {std::filesystem::path("/dev/null"), dir / "fifo", dir / "folder"}) {
    const auto lock = LibraryLock::Acquire(path, 0ms);
    EXPECT_FALSE(lock.has_value()) << path;
  }
  EXPECT_TRUE(std::filesystem::is_fifo(dir / "fifo"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
}

}  // namespace
}  // namespace blok
