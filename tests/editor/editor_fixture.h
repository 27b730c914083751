#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/block_file.h"
#include "editor/editor.h"
#include "support/fake_surface.h"
#include "support/scripted_ui.h"
#include "support/test_dir.h"

namespace blok::testing {

inline constexpr SaveTime kFixedTime{2026, 3, 4, 5, 6, 7};

// A program directory as installed: the fonts in Dane/ (built beside the test programs) and an
// empty Bloki/.
inline void InstallProgramFiles(const std::filesystem::path& program_dir) {
  const std::filesystem::path built = std::filesystem::path(BLOK_BIN_DIR) / "Dane";
  std::filesystem::create_directories(program_dir / "Dane");
  std::filesystem::create_directories(program_dir / "Bloki");
  for (const char* font : {"Romans100.Lzs", "Greeks100.Lzs"}) {
    ASSERT_TRUE(std::filesystem::exists(built / font))
        << built / font << " is missing: build the stroke_fonts target first";
    std::filesystem::copy_file(built / font, program_dir / "Dane" / font);
  }
}

inline void AppendBlock(const std::filesystem::path& file, const std::string& name,
                        std::vector<std::string> lines, const std::string& unit = "m") {
  ASSERT_TRUE(DopiszBlok(file, {name, unit, std::move(lines), false, kFixedTime}));
}

inline std::vector<std::string> BlockNames(const std::filesystem::path& file) {
  auto names = CzytajListeBlokow(file);
  EXPECT_TRUE(names.has_value()) << names.error().message;
  return names.value_or(std::vector<std::string>{});
}

// The block's lines as stored, or nothing when the file holds no block of that name.
inline std::optional<std::vector<std::string>> StoredLines(const std::filesystem::path& file,
                                                           const std::string& name) {
  auto block = WczytajBlok(file, name);
  EXPECT_TRUE(block.has_value()) << block.error().message;
  if (!block || !*block) return std::nullopt;
  return (*block)->lines;
}

// An editor started in a fresh program directory, with a library Bloki/lib.blk holding the
// blocks AAA, BBB and CCC.
class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallProgramFiles(dir_.path());
    AppendBlock(library_, "AAA", {"L(0,0)-(1,1);K(0,0,0);GR(0,10)"});
    AppendBlock(library_, "BBB", {"O(0,0,1)", "P(0,0)-(2,2)"}, "cm");
    AppendBlock(library_, "CCC", {"T(0,0,'Zażółć',1,1,0)"}, "mm");
    ASSERT_TRUE(editor_.Start());
    editor_.OfferRecovery();  // as the window does once it is shown
    ui_.ClearRecords();
  }

  // Opens the library through the recent-files path, with no question due.
  void OpenLibrary() {
    editor_.OtworzOstatniPlik(library_.string());
    ASSERT_EQ(editor_.library().open_file(), library_);
    ui_.ClearRecords();
  }

  // An opened library with a block of this name being drawn: unsaved.
  void StartDrawing(const std::string& name, std::vector<std::string> lines = {"O(5,5,1)"}) {
    OpenLibrary();
    editor_.block().SetBlockName(name);
    for (std::string& line : lines) editor_.block().DodajObiekt(std::move(line));
    ASSERT_TRUE(editor_.block().unsaved());
  }

  void SelectBlock(const std::string& name) {
    const auto& names = editor_.library().block_list().names();
    const auto found = std::find(names.begin(), names.end(), name);
    ASSERT_NE(found, names.end()) << name;
    editor_.library().SelectBlock(static_cast<size_t>(found - names.begin()));
  }

  TestDir dir_;
  std::filesystem::path library_ = dir_ / "Bloki" / "lib.blk";
  ScriptedUi ui_;
  FakeSurface surface_;
  Editor editor_{dir_.path(), ui_, surface_};
};

}  // namespace blok::testing
