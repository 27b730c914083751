// The DXF import on arbitrary bytes: it may refuse, never crash, and what it gives must save and
// read back: names the library takes, lines that read as valid entities of at most 255
// characters, a unit of the three.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "document/dxf_import.h"
#include "document/library_rules.h"
#include "fuzz_support.h"
#include "model/cp1250.h"
#include "model/entity_reader.h"
#include "model/entity_writer.h"
#include "model/unit.h"

namespace {

using blok::fuzz::Require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  blok::DxfImportOptions options;
  options.model_name = "fuzz";
  options.capital = {10, 50};
  options.text_length = [](std::string_view text, double width) {
    return static_cast<double>(text.size()) * width;
  };
  // The length picks the mode, so that the fuzzer reaches the block definitions too.
  options.all_blocks = size % 2 == 1;
  const auto report = blok::ImportDxfBytes(bytes, "fuzz.dxf", options);
  if (!report) {
    Require(!report.error().message.empty());
    return 0;
  }
  for (const blok::DxfBlock& block : report->blocks) {
    Require(!blok::BlockNameProblem(block.name));
    Require(blok::IsUnit(block.unit));
    Require(!block.lines.empty());
    for (const std::string& line : block.lines) {
      Require(blok::CharacterCount(line) <= blok::kLongestEntityLine);
      Require(blok::IsValid(blok::ReadEntity(line, blok::ReadingDefaults{})));
    }
  }
  return 0;
}
