// "Zapisz blok" on a disk that fails: the editor runs in a child process with the failing disk
// preloaded, and each open, write, fsync and rename it makes in the library's folder fails in
// turn, with ENOSPC, EIO or EDQUOT. The library stays byte for byte as it was (or whole and
// new when the save succeeded), nothing is left beside it, the user is told the file and the
// reason, and the block stays unsaved: nothing drawn is lost.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include "editor/editor_fixture.h"
#include "support/failing_disk.h"
#include "support/test_dir.h"

namespace blok::testing {
namespace {

// The child: a block drawn and saved into the library, and what came of it written to the
// report file. Run only by the test below, which says where.
TEST(FailingDiskChild, SavesABlock) {
  const char* dir = std::getenv("BLOK_CHILD_DIR");
  const char* report = std::getenv("BLOK_CHILD_REPORT");
  if (dir == nullptr || report == nullptr) GTEST_SKIP() << "run by FailingDiskSaveTest";
  ScriptedUi ui;
  FakeSurface surface;
  Editor editor(std::filesystem::path(dir), ui, surface);
  ASSERT_TRUE(editor.Start());
  editor.OfferRecovery();
  editor.OtworzOstatniPlik((std::filesystem::path(dir) / "Bloki" / "lib.blk").string());
  editor.block().SetBlockName("Nowy");
  for (const char* line : {"O(0,0,1)", "L(0,0)-(2,2);K(255,0,0)", "T(0,0,'Zażółć',1,1,0)"}) {
    editor.block().DodajObiekt(line);
  }
  const bool saved = editor.library().ZapiszBlokZPytaniem();
  std::ofstream out(report);
  out << "saved " << saved << "\nunsaved " << editor.block().unsaved() << "\n";
  for (const std::string& box : ui.message_boxes) out << box << "\n";
}

std::string RunChild(const std::string& env) {
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  const std::string command =
      env + " " + self + " --gtest_filter=FailingDiskChild.SavesABlock >/dev/null 2>&1";
  return std::to_string(std::system(command.c_str()));
}

TEST(FailingDiskSaveTest, TheLibraryStaysWholeAndTheBlockUnsaved) {
  TestDir dir;
  InstallProgramFiles(dir.path());
  const auto library = dir / "Bloki" / "lib.blk";
  AppendBlock(library, "AAA", {"L(0,0)-(1,1);K(0,0,0);GR(0,10)"});
  AppendBlock(library, "BBB", {"O(0,0,1)"}, "cm");
  const std::string before = ReadBytes(library);
  TestDir scratch;
  const auto report = scratch / "report";
  const auto counts = scratch / "counts";
  const std::string env = "LD_PRELOAD=" + std::string(BLOK_FAILING_DISK) +
                          " ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0 BLOK_CHILD_DIR=" +
                          dir.path().string() + " BLOK_CHILD_REPORT=" + report.string() +
                          " BLOK_FAIL_DIR=" + library.parent_path().string();
  // On a sound disk: the library it makes, and the calls that takes.
  RunChild(env + " BLOK_FAIL_COUNT=" + counts.string());
  ASSERT_EQ(ReadBytes(report).substr(0, 18), "saved 1\nunsaved 0\n") << ReadBytes(report);
  const std::string saved = ReadBytes(library);
  ASSERT_NE(saved, before);
  std::map<std::string, long> calls = FailingDiskCounts(counts);
  ASSERT_GT(calls["write"], 0);
  for (const char* call : kFailingCalls) {
    int refused = 0;
    for (long n = 1; n <= calls[call]; ++n) {
      SCOPED_TRACE(std::string(call) + " #" + std::to_string(n));
      const DiskError& error = kDiskErrors[n % std::size(kDiskErrors)];
      WriteBytes(library, before);
      std::filesystem::remove(report);
      RunChild(env + " BLOK_FAIL_CALL=" + call + " BLOK_FAIL_AT=" + std::to_string(n) +
               " BLOK_FAIL_ERRNO=" + error.name);
      const std::string what = ReadBytes(report);
      ASSERT_FALSE(what.empty()) << "the child did not finish";
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(library.parent_path()), {}), 1)
          << "something left beside the library";
      if (what.starts_with("saved 1\n")) {
        EXPECT_TRUE(ReadBytes(library) == saved) << "a save that is not whole";
        continue;
      }
      ++refused;
      EXPECT_TRUE(ReadBytes(library) == before) << "the library changed";
      EXPECT_THAT(what, ::testing::HasSubstr("unsaved 1\n"));
      EXPECT_THAT(what, ::testing::HasSubstr(library.string()));
      EXPECT_THAT(what, ::testing::HasSubstr(std::strerror(error.value)));
    }
    std::cout << "| Zapisz blok | " << call << " | " << calls[call] << " | " << refused << " | "
              << calls[call] - refused << " |\n";
  }
}

}  // namespace
}  // namespace blok::testing
