#include "document/data_dir.h"

namespace blok {

std::filesystem::path FindDataDir(const std::filesystem::path& program_dir) {
  std::error_code ec;
  if (std::filesystem::exists(program_dir / "Dane" / "Romans100.Lzs", ec)) return program_dir;
  return program_dir.parent_path() / "share" / "blokedit";
}

}  // namespace blok
