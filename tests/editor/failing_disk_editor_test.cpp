// The editor's writers on a disk that fails: "Zapisz blok" and the recovery file. The editor
// runs in a child process with the failing disk preloaded, and each open, write, fsync and
// rename it makes in the folder written fails in turn, with ENOSPC, EIO or EDQUOT. A library
// stays byte for byte as it was (or whole and new when the save succeeded), nothing is left
// beside it, the user is told the file and the reason, and the block stays unsaved: nothing
// drawn is lost. The recovery file holds a whole snapshot or none.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "document/recovery_file.h"
#include "editor/editor_fixture.h"
#include "support/failing_disk.h"
#include "support/test_dir.h"

namespace blok::testing {
namespace {

// A child's editor: on the folder the parent made, its library open, and the report file the
// parent reads. Without the parent's word (a test run on its own) there is nothing to do.
class ChildEditor {
 public:
  ChildEditor() {
    const char* dir = std::getenv("BLOK_CHILD_DIR");
    const char* report = std::getenv("BLOK_CHILD_REPORT");
    if (dir == nullptr || report == nullptr) return;
    report_ = report;
    editor_ = std::make_unique<Editor>(std::filesystem::path(dir), ui_, surface_);
    if (!editor_->Start()) return;
    editor_->OfferRecovery();
    editor_->OtworzOstatniPlik((std::filesystem::path(dir) / "Bloki" / "lib.blk").string());
  }
  bool asked() const { return editor_ != nullptr; }
  Editor& editor() { return *editor_; }
  ScriptedUi& ui() { return ui_; }
  // A new block with a few lines, unsaved.
  void Draw() {
    editor_->block().SetBlockName("Nowy");
    for (const char* line : {"O(0,0,1)", "L(0,0)-(2,2);K(255,0,0)", "T(0,0,'Zażółć',1,1,0)"}) {
      editor_->block().DodajObiekt(line);
    }
  }
  std::ofstream Report() { return std::ofstream(report_); }

 private:
  ScriptedUi ui_;
  FakeSurface surface_;
  std::unique_ptr<Editor> editor_;
  std::string report_;
};

// The child: a block drawn and saved into the library, and what came of it written to the
// report file. Run only by FailingDiskEditorTest, which says where.
TEST(FailingDiskChild, SavesABlock) {
  ChildEditor child;
  if (!child.asked()) GTEST_SKIP() << "run by FailingDiskEditorTest";
  child.Draw();
  const bool saved = child.editor().library().ZapiszBlokZPytaniem();
  std::ofstream out = child.Report();
  out << "saved " << saved << "\nunsaved " << child.editor().block().unsaved() << "\n";
  for (const std::string& box : child.ui().message_boxes) out << box << "\n";
}

// The child: a block drawn and kept in the recovery file twice, as the window's timer keeps
// it; what the recovery file then holds and what the message pane says go to the report.
TEST(FailingDiskChild, KeepsARecoveryFile) {
  ChildEditor child;
  if (!child.asked()) GTEST_SKIP() << "run by FailingDiskEditorTest";
  Editor& editor = child.editor();
  child.Draw();
  editor.recovery().KeepRecoveryFile();
  editor.recovery().WaitForRecoveryFile();
  editor.block().DodajObiekt("O(5,5,2)");
  editor.recovery().KeepRecoveryFile();
  editor.recovery().WaitForRecoveryFile();
  editor.recovery().KeepRecoveryFile();  // tells of a write that failed
  std::ofstream out = child.Report();
  const auto& file = editor.recovery().recovery_file();
  if (file.empty() || !std::filesystem::exists(file)) {
    out << "kept none\n";
  } else if (const auto kept = ReadRecoveryFile(file)) {
    out << "kept " << kept->lines.size() << "\n";
  } else {
    out << "kept unreadable\n";
  }
  for (const std::string& line : editor.messages().lines()) out << line << "\n";
}

// The child: entries typed (each appended to the history), then the data files written as the
// window writes them when it closes, after a library was opened (a recent file); the message
// boxes go to the report.
TEST(FailingDiskChild, WritesTheDataFiles) {
  ChildEditor child;
  if (!child.asked()) GTEST_SKIP() << "run by FailingDiskEditorTest";
  for (const char* entry : {"l", "0,0", "5,5"}) child.editor().CommandEntered(entry);
  child.editor().CommandKey(Key::kEscape);
  child.editor().preferences().Write();
  std::ofstream out = child.Report();
  out << "done\n";
  for (const std::string& box : child.ui().message_boxes) out << box << "\n";
}

// The parent: a program folder with a library, and the child run in it on a sound disk, then
// with each of its calls failing in turn.
class FailingDiskEditorTest : public ::testing::Test {
 protected:
  FailingDiskEditorTest() {
    InstallProgramFiles(dir_.path());
    AppendBlock(library_, "AAA", {"L(0,0)-(1,1);K(0,0,0);GR(0,10)"});
    AppendBlock(library_, "BBB", {"O(0,0,1)"}, "cm");
  }

  // The child on a sound disk, the files of failing counted: the calls of each kind it made.
  std::map<std::string, long> SoundRun(const char* child, const std::filesystem::path& failing) {
    child_ = child;
    environment_ = "LD_PRELOAD=" + std::string(BLOK_FAILING_DISK) +
                   " ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0 BLOK_CHILD_DIR=" +
                   dir_.path().string() + " BLOK_CHILD_REPORT=" + report_.string() +
                   " BLOK_FAIL_DIR=" + failing.string();
    Run(" BLOK_FAIL_COUNT=" + (scratch_ / "counts").string());
    return FailingDiskCounts(scratch_ / "counts");
  }

  // The child with the n-th call of that kind failing with error: what it reported.
  std::string FailingRun(const char* call, long n, const DiskError& error) {
    std::filesystem::remove(report_);
    Run(std::string(" BLOK_FAIL_CALL=") + call + " BLOK_FAIL_AT=" + std::to_string(n) +
        " BLOK_FAIL_ERRNO=" + error.name);
    return ReadBytes(report_);
  }

  TestDir dir_;
  std::filesystem::path library_ = dir_ / "Bloki" / "lib.blk";
  TestDir scratch_;
  std::filesystem::path report_ = scratch_ / "report";

 private:
  void Run(const std::string& failing) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command = environment_ + failing + " " + self +
                                " --gtest_filter=FailingDiskChild." + child_ + " >/dev/null 2>&1";
    (void)std::system(command.c_str());
  }

  std::string child_;
  std::string environment_;
};

TEST_F(FailingDiskEditorTest, SaveLeavesTheLibraryWholeAndTheBlockUnsaved) {
  const std::string before = ReadBytes(library_);
  // On a sound disk: the library it makes, and the calls that takes.
  std::map<std::string, long> calls = SoundRun("SavesABlock", library_.parent_path());
  ASSERT_EQ(ReadBytes(report_).substr(0, 18), "saved 1\nunsaved 0\n") << ReadBytes(report_);
  const auto saved_library = scratch_ / "saved.blk";
  std::filesystem::copy_file(library_, saved_library);
  ASSERT_NE(ReadBytes(saved_library), before);
  ASSERT_GT(calls["write"], 0);
  for (const char* call : kFailingCalls) {
    int refused = 0;
    for (long n = 1; n <= calls[call]; ++n) {
      SCOPED_TRACE(std::string(call) + " #" + std::to_string(n));
      const DiskError& error = kDiskErrors[n % std::size(kDiskErrors)];
      WriteBytes(library_, before);
      const std::string what = FailingRun(call, n, error);
      ASSERT_FALSE(what.empty()) << "the child did not finish";
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(library_.parent_path()), {}), 1)
          << "something left beside the library";
      if (what.starts_with("saved 1\n")) {
        // The same blocks as the save on a sound disk wrote (its time may be another second).
        EXPECT_EQ(CzytajListeBlokow(library_).value(), CzytajListeBlokow(saved_library).value());
        EXPECT_EQ(WczytajBlok(library_, "Nowy").value().value().lines,
                  WczytajBlok(saved_library, "Nowy").value().value().lines)
            << "a save that is not whole";
        continue;
      }
      ++refused;
      EXPECT_TRUE(ReadBytes(library_) == before) << "the library changed";
      EXPECT_THAT(what, ::testing::HasSubstr("unsaved 1\n"));
      EXPECT_THAT(what, ::testing::HasSubstr(library_.string()));
      EXPECT_THAT(what, ::testing::HasSubstr(std::strerror(error.value)));
    }
    std::cout << "| Zapisz blok | " << call << " | " << calls[call] << " | " << refused << " | "
              << calls[call] - refused << " |\n";
  }
}

// The recovery file holds a whole snapshot or none, no temporary file is left beside it, and a
// snapshot lost is told with the reason.
TEST_F(FailingDiskEditorTest, RecoveryFileIsWholeOrNoneAndAFailureIsTold) {
  const auto folder = dir_ / "Odzysk";
  std::map<std::string, long> calls = SoundRun("KeepsARecoveryFile", folder);
  ASSERT_TRUE(ReadBytes(report_).starts_with("kept 4\n")) << ReadBytes(report_);
  std::filesystem::remove_all(folder);
  for (const char* call : kFailingCalls) {
    int told = 0;
    for (long n = 1; n <= calls[call]; ++n) {
      SCOPED_TRACE(std::string(call) + " #" + std::to_string(n));
      const DiskError& error = kDiskErrors[n % std::size(kDiskErrors)];
      const std::string what = FailingRun(call, n, error);
      ASSERT_FALSE(what.empty()) << "the child did not finish";
      // The first snapshot, the second, or none (a failed first one): never a part of one.
      EXPECT_TRUE(what.starts_with("kept 3\n") || what.starts_with("kept 4\n") ||
                  what.starts_with("kept none\n"))
          << what;
      // A snapshot lost is told, with the reason; a failed call that lost nothing (a look at
      // this run's own lock while offering others' files) may pass in silence.
      const bool newest = what.starts_with("kept 4\n");
      const bool reason = what.find(std::strerror(error.value)) != std::string::npos;
      EXPECT_TRUE(newest || reason) << what;
      told += reason;
      // What a killed editor leaves, and no more: the recovery file and its lock.
      for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name.ends_with(".blkr") || name.ends_with(".lock")) << "left: " << name;
      }
      std::filesystem::remove_all(folder);
    }
    std::cout << "| recovery file | " << call << " | " << calls[call] << " | " << told << " |\n";
  }
}

// The data files each stay as they were or are whole and new, nothing is left beside them, and a
// file of settings not written is told with its name and the reason.
TEST_F(FailingDiskEditorTest, DataFilesAreOldOrNewAndAFailureIsTold) {
  const auto folder = dir_ / "Dane";
  WriteBytes(folder / "PozMenu.Lpk", "");
  const FolderFiles before = FilesIn(folder);
  std::map<std::string, long> calls = SoundRun("WritesTheDataFiles", folder);
  ASSERT_EQ(ReadBytes(report_), "done\n");
  const FolderFiles written = FilesIn(folder);
  ASSERT_NE(written, before);
  for (const char* call : kFailingCalls) {
    int told = 0;
    for (long n = 1; n <= calls[call]; ++n) {
      SCOPED_TRACE(std::string(call) + " #" + std::to_string(n));
      const DiskError& error = kDiskErrors[n % std::size(kDiskErrors)];
      PutBack(folder, before);
      const std::string what = FailingRun(call, n, error);
      ASSERT_TRUE(what.starts_with("done\n")) << "the child did not finish";
      bool kept_old = false;
      for (const auto& [name, bytes] : FilesIn(folder)) {
        ASSERT_TRUE(written.contains(name)) << "left: " << name;
        const bool old = before.contains(name) && bytes == before.at(name);
        EXPECT_TRUE(old || bytes == written.at(name)) << name << " is neither old nor new";
        if (bytes != written.at(name)) {
          kept_old = true;
          EXPECT_THAT(what, ::testing::HasSubstr(name)) << "not told";
        }
      }
      // The three entries' appends come first, one open and one write each: one that fails is
      // told, though the history is whole again after the rewrite at exit.
      if ((call == std::string("open") || call == std::string("write")) && n <= 3) {
        EXPECT_THAT(what, ::testing::HasSubstr("Historia.txt"));
        EXPECT_THAT(what, ::testing::HasSubstr(std::strerror(error.value)));
      }
      if (kept_old) {
        ++told;
        EXPECT_THAT(what, ::testing::HasSubstr(std::strerror(error.value)));
      }
    }
    std::cout << "| data files | " << call << " | " << calls[call] << " | " << told << " |\n";
  }
}

}  // namespace
}  // namespace blok::testing
