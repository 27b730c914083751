// What the targets that start the whole editor share: a program directory as installed with a
// library to open, a surface that draws nothing, and a Ui that cancels every dialog.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/block_file.h"
#include "editor/ui.h"
#include "fuzz_support.h"
#include "view/null_canvas.h"
#include "view/surface.h"

namespace blok::fuzz {

// Every dialog cancelled, every question answered "Kasuj": nothing is ever saved or opened.
class CancellingUi : public Ui {
 public:
  Answer Ask(const Question&) override { return Answer::kKasuj; }
  void ShowMessage(std::string_view) override {}
  std::optional<std::filesystem::path> OpenFileDialog(const FileDialog&) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> SaveFileDialog(const FileDialog&) override {
    return std::nullopt;
  }
  std::vector<std::filesystem::path> OpenFilesDialog(const FileDialog&) override { return {}; }
  std::optional<std::filesystem::path> ChooseFolder(const FileDialog&) override {
    return std::nullopt;
  }
  std::unique_ptr<Progress> ShowProgress(std::string_view) override { return nullptr; }
  std::optional<Colour> ChooseColour(Colour) override { return std::nullopt; }
  bool ChooseBlocks(std::vector<OfferedBlock>&, bool&) override { return false; }
  std::optional<size_t> ChooseBlockToInsert(const std::vector<OfferedBlock>&) override {
    return std::nullopt;
  }
  std::optional<std::string> AskText(std::string_view, std::string_view,
                                     std::string_view) override {
    return std::nullopt;
  }
  void ShowText(const std::vector<std::string>&) override {}
  bool OpenWithShell(const std::filesystem::path&) override { return false; }
  void CopyToClipboard(std::string_view) override {}
  void PutEntitiesOnClipboard(std::string_view, std::string_view) override {}
  ClipboardContents ReadClipboard() override { return {}; }
  void Redraw() override {}
  void SetCursor(CursorShape) override {}
  void SetPrompt(std::string_view) override {}
  void FocusCommandEntry() override {}
  void ShowRelativePanel(bool) override {}
  void SetStatusText(std::string_view) override {}
  // The entity dialogs are confirmed as filled, so that their writing runs too.
  bool EditLine(LineDialogModel& model) override { return model.Apply().has_value(); }
  bool EditCircle(CircleDialogModel& model) override { return model.Apply().has_value(); }
  bool EditText(TextDialogModel& model) override { return model.Apply().has_value(); }
  bool ChangeProperties(PropertiesDialogModel& model) override { return model.Apply().has_value(); }
};

class NullSurface : public Surface {
 public:
  int width() const override { return width_; }
  int height() const override { return height_; }
  Canvas& ImageCanvas() override { return image_; }
  void Present() override {}
  Canvas& OverlayCanvas() override { return overlay_; }
  void RestoreView() override {}
  void Resize(int width, int height) { width_ = width, height_ = height; }

 private:
  int width_ = 800;
  int height_ = 600;
  NullCanvas image_;
  NullCanvas overlay_;
};

// A program directory as installed, with the built fonts and a library whose blocks give the
// snaps something to catch: crossings, arcs, texts, far and degenerate entities, bad lines.
class ProgramDir {
 public:
  ProgramDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "blok-editor-fuzz-XXXXXX").string();
    Require(mkdtemp(pattern.data()) != nullptr);
    dir_ = pattern;
    const std::filesystem::path built = std::filesystem::path(BLOK_BIN_DIR) / "Dane";
    std::filesystem::create_directories(dir_ / "Dane");
    std::filesystem::create_directories(dir_ / "Bloki");
    for (const char* font : {"Romans100.Lzs", "Greeks100.Lzs"}) {
      std::filesystem::copy_file(built / font, dir_ / "Dane" / font);
    }
    const SaveTime time{2026, 1, 2, 3, 4, 5};
    const BlockToSave blocks[] = {
        {"Studzienka",
         "m",
         {"// studzienka", "O(0,0,0.6);K(0,0,0);GR(0,25)", "O(0,0,0.45)",
          "L(-0.45,0.0)-(0.45,0.0);K(0,0,0);GR(0,10)", "L(0.0,-0.45)-(0.0,0.45)",
          "P(-1,-1)-(1,1);K(255,0,0);GR(0.35)", "LUK(0,0,2,0,90);K(0,0,128);GR(0,10)",
          "T(0.7,0.1,'Zażółć gęślą',0.3,0.25,30);K(0,0,128);GR(0,10)", "K(czerwony)", "GR(0.5)"},
         false,
         time},
        {"Skrajne",
         "cm",
         {"L(0,0)-(3e38,1)", "L(-3e38,-3e38)-(3e38,3e38)", "O(1e-30,0,1e-30)", "O(5,5,0)",
          "LUK(0,0,1e38,-720,720)", "LUK(2,2,1,90,90)", "P(0,0)-(0,0)", "L(1,1)-(1,1)",
          "T(0,0,'',0,0,0)", "T(1,1,'Ąą',1e30,1e30,1e30)", "L(0,0)-(", "nic", "GR(-5)"},
         false,
         time},
    };
    library_ = dir_ / "Bloki" / "lib.blk";
    for (const auto& block : blocks) Require(DopiszBlok(library_, block).has_value());
    pristine_ = ReadFile(library_);
  }
  // The library as made, again: a run that saved into it leaves the next one the same start.
  void RestoreLibrary() const { WriteFile(library_, pristine_); }
  ~ProgramDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  const std::filesystem::path& dir() const { return dir_; }
  const std::filesystem::path& library() const { return library_; }

 private:
  std::filesystem::path dir_;
  std::filesystem::path library_;
  std::string pristine_;
};

}  // namespace blok::fuzz
