#pragma once

#include <filesystem>

#include "commands.h"

namespace blok {

// The pictures of blk diff --pictures: both versions of a changed block in one view, zoomed to
// the two together, on white; what was removed red, what was added green, what stayed black.
// Painting starts with the first picture and the font is read once, for the whole command.
cli::DiffPictureWriter DiffPictures(const std::filesystem::path& font_file);

}  // namespace blok
