#pragma once

// Many DXF drawings brought into a library at once, each drawing's model space as one block:
// what blk import and the window's folder import share. The files are found and named here and
// read into blocks; the caller writes them, all in one save.

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "document/block_file.h"
#include "document/dxf_import.h"
#include "model/error.h"

namespace blok {

// A DXF file to import: where it is, and the path the user is shown for it (relative to the
// folder it was found in, or as it was given).
struct DxfInput {
  std::filesystem::path file;
  std::filesystem::path shown;
};

// The files given as they stand and every *.dxf (of any case) under the folders given, each
// folder's in the order of their paths; a file met twice is taken once. A folder that cannot
// be read is an error.
Result<std::vector<DxfInput>> FindDxfFiles(const std::vector<std::filesystem::path>& inputs);

// The block name of each input, in its order: the file's stem; where stems clash, the names of
// the folders above it in front, one folder at a time, until every name is one of its own (a
// number after it where the folders run out). A stem shorter than the editor loads (three
// characters) takes folders in front too.
std::vector<std::string> DxfBlockNames(const std::vector<DxfInput>& inputs);

// Told before each file is read: its index (from 0), how many there are, its shown path.
// False stops the import.
using DxfBatchProgress =
    std::function<bool(size_t index, size_t count, const std::filesystem::path& shown)>;

struct DxfBatchReport {
  struct Refused {
    std::filesystem::path shown;
    std::string why;
  };
  struct Renamed {
    std::filesystem::path shown;
    std::string name;  // the block's name, which is not the file's stem
  };
  std::vector<BlockToSave> blocks;  // in the order of the files, each ready for SaveBlocks
  std::vector<Refused> refused;
  std::vector<Renamed> renamed;
  std::map<std::string, int> skipped;      // DXF entity type → how many, over all files
  std::map<std::string, int> notes;        // each note of the import → in how many files
  std::vector<std::string> changed_texts;  // "blok NAME: „old” → „new”", over all files
  size_t files = 0;                        // how many were found
  bool cancelled = false;                  // the progress said stop; blocks holds no full import
};

// Reads every input's model space (the options' model_name is set per file). A file that
// cannot be read goes into refused with its reason; the others go on.
DxfBatchReport ImportDxfFiles(const std::vector<DxfInput>& inputs, const DxfImportOptions& options,
                              const DxfBatchProgress& progress = {});

// The summary after an import, one line each: blocks written, files refused with their
// reasons, entities skipped by type, names changed, the notes.
std::vector<std::string> DxfBatchSummary(const DxfBatchReport& report);

}  // namespace blok
