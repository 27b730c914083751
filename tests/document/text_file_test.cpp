#include "document/text_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <fstream>

#include "support/child_process.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using testing::ReadBytes;
using testing::TestDir;
using testing::WriteBytes;

bool Says(const Error& error, std::string_view what, const std::string& name) {
  return error.message.find(what) != std::string::npos &&
         error.message.find(name) != std::string::npos;
}

mode_t TypeOf(const std::filesystem::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

// Devices, pipes and folders are no libraries: reading one must neither block nor grow without
// end, and writing must not put a regular file in its place.
TEST(TextFileTest, OnlyRegularFilesAreReadAndWritten) {
  TestDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  std::filesystem::create_directory(dir / "folder");
  std::filesystem::create_symlink(dir / "fifo", dir / "link-to-fifo");
  std::filesystem::create_symlink("/dev/zero", dir / "link-to-zero");
  // Root may make a device node of its own, which a broken write could safely replace.
  const bool device =
      ::getuid() == 0 && ::mknod((dir / "null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
  struct Case {
    const char* name;
    bool write;  // also try to write it
  };
  const Case cases[] = {{"fifo", true},
                        {"folder", true},
                        {"link-to-fifo", true},
                        {"link-to-zero", false},
                        {"null", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (std::string_view(c.name) == "null" && !device) continue;
    const auto path = dir / c.name;
    const mode_t type = TypeOf(path);
    const auto read = ReadTextLines(path);
    ASSERT_FALSE(read);
    EXPECT_TRUE(Says(read.error(), "to nie jest zwykły plik", path.string()))
        << read.error().message;
    if (c.write) {
      const auto written = ReplaceFileContents(path, "x\r\n");
      ASSERT_FALSE(written);
      EXPECT_TRUE(Says(written.error(), "to nie jest zwykły plik", path.string()))
          << written.error().message;
    }
    EXPECT_EQ(TypeOf(path), type);
  }
  // A link to a regular file is read like the file.
  WriteBytes(dir / "lib.blk", "a\r\n");
  std::filesystem::create_symlink(dir / "lib.blk", dir / "link.blk");
  EXPECT_EQ(ReadTextLines(dir / "link.blk"), std::vector<std::string>{"a"});
}

TEST(TextFileTest, ABiggerFileThanTheLimitIsRefused) {
  TestDir dir;
  const auto file = dir / "lib.blk";
  struct Case {
    std::uintmax_t size;
    std::uintmax_t limit;
    const char* says;  // nothing: read
  };
  const Case cases[] = {
      {1000, 1000, nullptr},
      {1001, 1000, "większe niż 1000 B"},
      {3 << 20, 2 << 20, "większe niż 2 MB"},
      // Sparse, so nothing of it is on the disk; refused before a byte is read.
      {kMaxTextBytes + 1, kMaxTextBytes, "większe niż 256 MB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    WriteBytes(file, "");
    std::filesystem::resize_file(file, c.size);
    const auto lines = ReadTextLines(file, c.limit);
    if (!c.says) {
      ASSERT_TRUE(lines);
      EXPECT_EQ(lines->size(), 1u);
      continue;
    }
    ASSERT_FALSE(lines);
    EXPECT_TRUE(Says(lines.error(), c.says, file.string())) << lines.error().message;
  }
  // Nor is more than the limit written: it could not be read back.
  WriteBytes(file, "a\r\n");
  const auto written = ReplaceFileContents(file, std::string(1001, 'x'), 1000);
  ASSERT_FALSE(written);
  EXPECT_TRUE(Says(written.error(), "większe niż 1000 B", file.string()));
  EXPECT_EQ(ReadBytes(file), "a\r\n");
}

TEST(TextFileTest, InputIsSplitUnconvertedAndLimited) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"\n", {""}},
      {"a\r\nb", {"a", "b"}},
      {"a\r", {"a"}},
      {"x\ry\n\n", {"x\ry", ""}},
      {"T(0,0,'żółw',1,1,0)\n", {"T(0,0,'żółw',1,1,0)"}},  // UTF-8 as typed, not CP1250
  };
  TestDir dir;
  for (const Case& c : cases) {
    WriteBytes(dir / "in", c.bytes);
    const int fd = ::open((dir / "in").c_str(), O_RDONLY);
    EXPECT_EQ(ReadInputLines(fd, "wejścia"), c.lines) << c.bytes;
    ::close(fd);
  }
  // An input without end stops at the limit.
  const int zero = ::open("/dev/zero", O_RDONLY);
  const auto endless = ReadInputLines(zero, "standardowego wejścia", 1 << 20);
  ::close(zero);
  ASSERT_FALSE(endless);
  EXPECT_TRUE(Says(endless.error(), "większe niż 1 MB", "standardowego wejścia"));
}

// A new library gets what the umask leaves of 0666, like any new file; an existing one keeps
// its own mode whatever the umask.
TEST(TextFileTest, ANewFileGetsTheUmaskAndAnOldOneKeepsItsMode) {
  struct Case {
    mode_t umask;
    mode_t existing;  // 0: no file before
    mode_t mode;
  };
  const Case cases[] = {
      {022, 0, 0644},    {077, 0, 0600},    {002, 0, 0664},    {0, 0, 0666},
      {022, 0640, 0640}, {077, 0664, 0664}, {077, 0604, 0604}, {0, 0600, 0600},
  };
  TestDir dir;
  const auto file = dir / "lib.blk";
  const mode_t saved = ::umask(022);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << std::oct << "umask " << c.umask << ", file " << c.existing);
    std::filesystem::remove(file);
    if (c.existing != 0) {
      WriteBytes(file, "a\r\n");
      ASSERT_EQ(::chmod(file.c_str(), c.existing), 0);
    }
    ::umask(c.umask);
    const auto written = ReplaceFileContents(file, "b\r\n");
    ::umask(022);
    ASSERT_TRUE(written) << written.error().message;
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, c.mode);
    EXPECT_EQ(ReadBytes(file), "b\r\n");
  }
  ::umask(saved);
}

// A replacement killed halfway leaves a temporary file that the next writer removes: its name
// must be one RemoveLeftovers knows, for a new library and for an existing one.
TEST(TextFileTest, AnUnfinishedReplacementIsALeftover) {
  TestDir dir;
  const auto file = dir / "lib.blk";
  for (const bool exists : {false, true}) {
    SCOPED_TRACE(exists ? "existing" : "new");
    std::filesystem::remove(file);
    if (exists) WriteBytes(file, "a\r\n");
    auto replacement = FileReplacement::Begin(file);
    ASSERT_TRUE(replacement) << replacement.error().message;
    ASSERT_TRUE(replacement->Write("b\r\n"));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      names.push_back(entry.path().filename().string());
    }
    std::erase(names, "lib.blk");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_TRUE(names[0].starts_with("UsunPom-lib.blk-") && names[0].ends_with(".txt") &&
                names[0].size() == std::string_view("UsunPom-lib.blk-XXXXXX.txt").size())
        << names[0];
    RemoveLeftovers(file);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), exists ? 1 : 0);
  }
}

// A file within the limit but beyond the memory is a message, not std::bad_alloc.
TEST(TextFileTest, TooLittleMemoryIsAMessage) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator does not throw";
#endif
  TestDir dir;
  const auto file = dir / "lib.blk";
  WriteBytes(file, "");
  std::filesystem::resize_file(file, 128 << 20);
  EXPECT_TRUE(testing::InChild([&] {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t in_use = static_cast<rlim_t>(pages) * ::sysconf(_SC_PAGESIZE);
    const rlimit limit{in_use + (32 << 20), in_use + (32 << 20)};
    if (::setrlimit(RLIMIT_AS, &limit) != 0) return false;
    const auto lines = ReadTextLines(file);
    return !lines && Says(lines.error(), "za mało pamięci", file.string());
  }));
}

}  // namespace
}  // namespace blok
