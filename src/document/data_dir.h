#pragma once

#include <filesystem>

namespace blok {

// Where the stroke fonts (Dane/) and the sample library (Bloki/) are: beside the program, as in
// the build tree or a folder it was unpacked into, else in the share folder an installation
// puts them in (../share/blokedit from the program's folder).
std::filesystem::path FindDataDir(const std::filesystem::path& program_dir);

}  // namespace blok
