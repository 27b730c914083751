#include "document/dxf_import.h"

#include <sys/stat.h>
#include <unistd.h>

#include <new>
#include <set>

#include "document/dxf_convert.h"
#include "document/dxf_geometry.h"
#include "document/dxf_reader.h"
#include "document/dxf_values.h"
#include "document/library_rules.h"
#include "document/text_file.h"
#include "model/cp1250.h"
#include "model/unit.h"

namespace blok {
namespace {

using dxf::Affine;
using dxf::BlockDefinition;
using dxf::Decode;
using dxf::Drawing;
using dxf::Entity;
using dxf::Scaling;
using dxf::Translation;

std::optional<std::string> NameProblem(const std::string& name) {
  if (name.empty()) return "pusta nazwa bloku";
  if (name.find_first_of("\r\n") != std::string::npos) return "nazwa zawiera koniec wiersza";
  return BlockNameProblem(name);
}

Result<DxfImportReport> Import(std::string_view bytes, const std::filesystem::path& file,
                               const DxfImportOptions& options) {
  if (options.unit && !IsUnit(*options.unit)) {
    return Fail("nieznana jednostka „" + *options.unit + "”: dozwolone są " + AllowedUnits());
  }
  auto groups = dxf::Tokenize(bytes, file.string());
  if (!groups) return std::unexpected(groups.error());
  const Drawing drawing = dxf::ReadDrawing(*groups);
  DxfImportReport report;
  const dxf::UnitChoice unit = dxf::ChooseUnit(drawing, options, report);
  const Affine root = Scaling(unit.scale, unit.scale);
  dxf::Converter converter(drawing, options, unit, report);
  const std::string refused = "nie można zaimportować " + file.string() + ": ";

  const auto add = [&](std::string name, const std::vector<Entity>& entities, double base_x,
                       double base_y, const BlockDefinition* self) -> Result<void> {
    if (const auto problem = NameProblem(name)) {
      return Fail(refused + "nazwa bloku „" + name + "”: " + *problem);
    }
    auto lines = converter.Block(name, entities, root * Translation(-base_x, -base_y), self);
    if (!lines) return Fail(refused + lines.error().message);
    if (lines->empty()) {
      report.notes.push_back("blok " + name + " nie ma obiektów do zapisania: pominięty");
      return {};
    }
    report.blocks.push_back({std::move(name), unit.unit, std::move(*lines), self == nullptr});
    return {};
  };
  const std::string nothing = refused + "rysunek nie ma obiektów do zapisania";

  const bool definitions = options.all_blocks || !options.only.empty();
  if (!definitions || options.with_model) {
    if (auto added =
            add(options.model_name, drawing.model, drawing.base_x, drawing.base_y, nullptr);
        !added) {
      return std::unexpected(added.error());
    }
    if (!definitions) {
      if (report.blocks.empty()) return Fail(nothing);
      return report;
    }
  }
  std::set<std::string> wanted;
  for (const std::string& name : options.only) wanted.insert(UpperCp1250(name));
  std::set<std::string> found, taken;
  for (const BlockDefinition& b : drawing.blocks) {
    const std::string name = Decode(b.name, drawing.encoding);
    // Model and paper spaces, anonymous blocks (hatches, dimensions) and external references
    // are not symbols.
    if (name.empty() || name.starts_with('*') || (b.flags & (1 | 4 | 32)) != 0) continue;
    const std::string key = UpperCp1250(name);
    if (!wanted.empty() && !wanted.contains(key)) continue;
    if (!taken.insert(key).second) continue;  // DXF knows one block of a name
    found.insert(key);
    if (auto added = add(name, b.entities, b.base_x, b.base_y, &b); !added) {
      return std::unexpected(added.error());
    }
  }
  for (const std::string& name : options.only) {
    if (!found.contains(UpperCp1250(name))) {
      return Fail(refused + "rysunek nie ma bloku " + name);
    }
  }
  if (report.blocks.empty()) {
    return Fail(options.with_model ? nothing : refused + "rysunek nie ma bloków do zapisania");
  }
  return report;
}

}  // namespace

Result<DxfImportReport> ImportDxfBytes(std::string_view bytes, const std::filesystem::path& file,
                                       const DxfImportOptions& options) {
  try {
    return Import(bytes, file, options);
  } catch (const std::bad_alloc&) {
    return Fail("nie można zaimportować " + file.string() + ": za mało pamięci");
  }
}

Result<DxfImportReport> ImportDxf(const std::filesystem::path& file,
                                  const DxfImportOptions& options) {
  auto fd = OpenTextFile(file);
  if (!fd) return std::unexpected(fd.error());
  std::string bytes;
  try {
    struct stat status {};
    if (::fstat(fd->get(), &status) == 0 && status.st_size > 0) {
      bytes.reserve(static_cast<size_t>(status.st_size));
    }
    char buffer[1 << 16];
    for (;;) {
      const ssize_t got = ::read(fd->get(), buffer, sizeof buffer);
      if (got < 0) {
        if (errno == EINTR) continue;
        return Fail("nie można odczytać pliku " + file.string());
      }
      if (got == 0) break;
      bytes.append(buffer, static_cast<size_t>(got));
      if (bytes.size() > kMaxTextBytes)
        return std::unexpected(TooLargeError(file.string(), kMaxTextBytes));
    }
  } catch (const std::bad_alloc&) {
    return Fail("nie można odczytać pliku " + file.string() + ": za mało pamięci");
  }
  return ImportDxfBytes(bytes, file, options);
}

}  // namespace blok
