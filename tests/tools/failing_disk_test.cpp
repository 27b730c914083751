// Every writer of blk on a disk that fails: for each kind of call it makes on the files it
// writes (open, write, fsync, rename) and for every one of those calls in turn, that call fails
// with ENOSPC, EIO or EDQUOT. The file written is then byte for byte what it was (or whole and
// new, when blk says it succeeded), no temporary file is left beside it, and a failure is told
// with the file's name and the reason.
#include "support/failing_disk.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "document/block_file.h"
#include "support/blk_runner.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using testing::BlkWithInput;
using testing::DiskError;
using testing::FilesIn;
using testing::FolderFiles;
using testing::kDiskErrors;
using testing::kFailingCalls;
using testing::PutBack;
using testing::ReadBytes;
using testing::TestDir;
using testing::WriteBytes;

struct Writer {
  const char* name;
  std::string args;   // with DIR for the folder the files are in
  std::string input;  // standard input
  const char* target;
  // A file stamped with the time it was made is not the same twice: one that ends so is whole.
  std::string_view ending = {};
};

// Two libraries hold the same blocks, each with the same unit and lines (the time each was
// saved may be another second). The first is at file, the second only bytes.
bool SameBlocks(const std::filesystem::path& file, const std::string& bytes,
                const std::string& other) {
  if (bytes == other) return true;
  TestDir dir;
  WriteBytes(dir / "other.blk", other);
  const auto names = CzytajListeBlokow(file);
  if (!names || *names != CzytajListeBlokow(dir / "other.blk")) return false;
  for (const std::string& name : *names) {
    const auto a = WczytajBlok(file, name);
    const auto b = WczytajBlok(dir / "other.blk", name);
    if (!a || !b || !*a || !*b || (*a)->lines != (*b)->lines || (*a)->unit != (*b)->unit) {
      return false;
    }
  }
  return true;
}

std::string WithDir(std::string text, const std::string& dir) {
  for (size_t at; (at = text.find("DIR")) != std::string::npos;) text.replace(at, 3, dir);
  return text;
}

class FailingDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const SaveTime time{2026, 3, 4, 5, 6, 7};
    const auto library = dir_ / "lib.blk";
    ASSERT_TRUE(DopiszBlok(library, {"AAA", "m", {"O(0,0,1)", "L(0,0)-(2,1)"}, false, time}));
    ASSERT_TRUE(DopiszBlok(library, {"BBB", "cm", {"T(0,0,'Zażółć',1,1,0)"}, false, time}));
    ASSERT_TRUE(DopiszBlok(dir_ / "other.blk", {"CCC", "m", {"LUK(0,0,2,0,90)"}, false, time}));
    std::filesystem::copy_file(library, dir_ / "base.blk");
    std::filesystem::copy_file(library, dir_ / "ours.blk");
    std::filesystem::copy_file(library, dir_ / "theirs.blk");
    ASSERT_TRUE(DopiszBlok(dir_ / "ours.blk", {"DDD", "m", {"O(1,1,1)"}, false, time}));
    ASSERT_TRUE(DopiszBlok(dir_ / "theirs.blk", {"EEE", "m", {"O(2,2,2)"}, false, time}));
    ASSERT_EQ(
        BlkWithInput("export " + library.string() + " -o " + (dir_ / "draw.dxf").string()).status,
        0);
    // A folder of drawings to import, beside the folder written.
    std::filesystem::create_directories(drawings_ / "rury");
    std::filesystem::copy_file(dir_ / "draw.dxf", drawings_ / "studnia.dxf");
    std::filesystem::copy_file(dir_ / "draw.dxf", drawings_ / "rury" / "zasuwa.dxf");
    start_ = FilesIn(dir_.path());
  }

  TestDir dir_;
  TestDir drawings_;
  FolderFiles start_;
};

TEST_F(FailingDiskTest, EveryWriterLeavesItsFileWholeAndSaysWhy) {
  const Writer writers[] = {
      {"save", "save DIR/lib.blk AAA m", "O(0,0,3)\nL(1,1)-(2,2)\n", "lib.blk"},
      {"remove", "remove DIR/lib.blk BBB", "", "lib.blk"},
      {"rename", "rename DIR/lib.blk AAA ZZZ", "", "lib.blk"},
      {"copy", "copy DIR/other.blk DIR/lib.blk CCC", "", "lib.blk"},
      {"import", "import DIR/draw.dxf DIR/lib.blk", "", "lib.blk"},
      {"folder import", "import DRAWINGS DIR/lib.blk", "", "lib.blk"},
      {"merge", "merge DIR/base.blk DIR/ours.blk DIR/theirs.blk", "", "ours.blk"},
      {"export", "export DIR/lib.blk -o DIR/out.dxf", "", "out.dxf", "\n  0\nEOF\n"},
      {"catalogue", "catalogue DIR/lib.blk -o DIR/out.pdf", "", "out.pdf", "%%EOF\n"},
  };
  const std::string dir = dir_.path().string();
  const std::string preload = "LD_PRELOAD=" + std::string(BLOK_FAILING_DISK) +
                              " ASAN_OPTIONS=verify_asan_link_order=0 BLOK_FAIL_DIR=" + dir;
  TestDir scratch;
  const std::string counted = (scratch / "counts").string();
  std::cout << "| writer | call | calls made | failures injected | refused, file as it was | "
               "completed anyway |\n|---|---|---|---|---|---|\n";
  for (const Writer& w : writers) {
    SCOPED_TRACE(w.name);
    std::string args = WithDir(w.args, dir);
    if (const size_t at = args.find("DRAWINGS"); at != std::string::npos) {
      args.replace(at, 8, drawings_.path().string());
    }
    // Once on a sound disk: what the file becomes, and how many calls of each kind it takes.
    PutBack(dir_.path(), start_);
    const auto run = BlkWithInput(args, w.input, preload + " BLOK_FAIL_COUNT=" + counted);
    ASSERT_EQ(run.status, 0) << run.err;
    const FolderFiles done = FilesIn(dir_.path());
    ASSERT_TRUE(done.contains(w.target));
    std::map<std::string, long> calls = testing::FailingDiskCounts(counted);
    const std::optional<std::string> before =
        start_.contains(w.target) ? std::optional(start_.at(w.target)) : std::nullopt;
    for (const char* call : kFailingCalls) {
      int refused = 0;
      int completed = 0;
      for (long n = 1; n <= calls[call]; ++n) {
        SCOPED_TRACE(std::string(call) + " #" + std::to_string(n));
        const DiskError& error = kDiskErrors[n % std::size(kDiskErrors)];
        PutBack(dir_.path(), start_);
        const auto failed = BlkWithInput(args, w.input,
                                         preload + " BLOK_FAIL_CALL=" + call + " BLOK_FAIL_AT=" +
                                             std::to_string(n) + " BLOK_FAIL_ERRNO=" + error.name);
        const FolderFiles after = FilesIn(dir_.path());
        // Nothing beside the files there were and the one written.
        for (const auto& [name, bytes] : after) {
          EXPECT_TRUE(start_.contains(name) || name == w.target) << "left behind: " << name;
        }
        const auto written = after.find(w.target);
        if (failed.status == 0) {
          ++completed;
          ASSERT_NE(written, after.end());
          EXPECT_TRUE(w.ending.empty()
                          ? SameBlocks(dir_ / w.target, written->second, done.at(w.target))
                          : written->second.ends_with(w.ending))
              << "a success that is not whole";
          continue;
        }
        ++refused;
        if (before) {
          ASSERT_NE(written, after.end()) << "the file is gone";
          EXPECT_TRUE(written->second == *before) << "the file changed";
        } else {
          EXPECT_EQ(written, after.end()) << "a part of a new file is left";
        }
        EXPECT_NE(failed.err.find(w.target), std::string::npos) << failed.err;
        EXPECT_NE(failed.err.find(std::strerror(error.value)), std::string::npos) << failed.err;
      }
      std::cout << "| " << w.name << " | " << call << " | " << calls[call] << " | " << calls[call]
                << " | " << refused << " | " << completed << " |\n";
    }
  }
}

}  // namespace
}  // namespace blok
