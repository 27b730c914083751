#pragma once

// The stroke font the build makes (BLOK_BIN_DIR/Dane), loaded once for a test program.
#include <gtest/gtest.h>

#include <filesystem>

#include "view/stroke_font.h"

namespace blok::testing {

inline const StrokeFont& BuiltRomans() {
  static const StrokeFont font = [] {
    Result<StrokeFont> loaded =
        LoadStrokeFont(std::filesystem::path(BLOK_BIN_DIR) / "Dane" / "Romans100.Lzs");
    if (!loaded) ADD_FAILURE() << loaded.error().message;
    return loaded.value_or(StrokeFont{});
  }();
  return font;
}

}  // namespace blok::testing
