#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/text_file.h"
#include "model/error.h"

namespace blok {

// A block file is a sequence of block records:
//   (empty line) / start marker / "Nazwa:" / name / date / time / "Grupa:" / "null" /
//   "Jednostka:" / unit / header end / (empty line) / drawing marker / entity lines / end marker
// Readers look only for the markers; lines between records are allowed and ignored. A record
// ends at its end marker or just before the next start marker, whichever comes first (else at
// the end of the file), so a damaged record never takes the next one with it.
inline constexpr std::string_view kBlockStartMarker = "____________________v1.0";
inline constexpr std::string_view kNameLabel = "Nazwa:";
inline constexpr std::string_view kGroupLabel = "Grupa:";
inline constexpr std::string_view kGroupValue = "null";
inline constexpr std::string_view kUnitLabel = "Jednostka:";
inline constexpr std::string_view kHeaderEnd = "____________________";
inline constexpr std::string_view kDrawingMarker = "______________________________OpisBloku";
inline constexpr std::string_view kBlockEndMarker = "______________________________KONIEC";

// The interactive save writes entity lines cut to this many characters.
inline constexpr size_t kCutLineLength = 255;

struct LoadedBlock {
  std::string name;
  std::string unit;
  std::vector<std::string> lines;
  bool operator==(const LoadedBlock&) const = default;
};

// Local date and time written into a saved block's header.
struct SaveTime {
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  static SaveTime Now();
  std::string Date() const;  // "2026-12-07"
  std::string Time() const;  // "09:05:00"
};

struct BlockToSave {
  std::string name;
  std::string unit;
  std::vector<std::string> lines;
  bool cut_at_255 = false;  // the interactive save cuts every entity line
  SaveTime time = SaveTime::Now();
};

// Names of the file's blocks in file order; a name saved twice is listed twice.
Result<std::vector<std::string>> CzytajListeBlokow(const std::filesystem::path& file);

// The last block of that name in the file, or nothing when there is none. The drawing of a
// record that lost its end marker leaves out the empty lines at its end.
Result<std::optional<LoadedBlock>> WczytajBlok(const std::filesystem::path& file,
                                               std::string_view name);

// Every block record of the file in file order, read as WczytajBlok reads one; a name saved
// twice gives two blocks.
Result<std::vector<LoadedBlock>> WczytajWszystkieBloki(const std::filesystem::path& file);

// What a pass over every block record of a library hears, in file order, as its lines stream
// past, not converted from CP1250: for passes that keep little of each block. The views hold
// only during the call.
class BlockRecordReader {
 public:
  virtual ~BlockRecordReader() = default;
  // A record starts; name is its header's name line.
  virtual void Begin(std::string_view name) = 0;
  // A line of its drawing, as WczytajWszystkieBloki reads them, the empty ones included.
  virtual void Line(std::string_view line) = 0;
  virtual void End() = 0;
  // Asked when the file has been read through: true reads it once more from its start, the
  // file as it was opened even if a writer has replaced it since.
  virtual bool ReadAgain() { return false; }
};
Result<void> ReadBlockRecords(const std::filesystem::path& file, BlockRecordReader& reader);

// The writers below each make one read-modify-write of the file under its lock (LibraryLock):
// the file is read once, streamed into its replacement, and the replacement renamed over it;
// on any failure the file stays exactly as it was. Two writers of one file, in this program
// or another, take turns; a writer that waits too long gives up with a message.

// Removes every block of that name; every other line stays, whole and in order, byte for byte.
// The count of blocks removed; with none the file is left untouched.
Result<size_t> UsunBlokZPliku(const std::filesystem::path& file, std::string_view name,
                              const ReplaceOptions& options = {});

// Gives every block of old_name the name new_name; every other byte stays, and in the renamed
// records only the name line changes. Refused, leaving the file untouched, when new_name is
// not one a save takes (fewer than kShortestName characters, a character the code page cannot
// hold, over 255 characters, a marker) or some block already bears it. The count of records
// renamed; with none the file is left untouched.
inline constexpr size_t kShortestName = 3;
Result<size_t> RenameBlock(const std::filesystem::path& file, std::string_view old_name,
                           std::string_view new_name, const ReplaceOptions& options = {});

// Appends one block record at the end; creates the file when it does not exist.
Result<void> DopiszBlok(const std::filesystem::path& file, const BlockToSave& block,
                        const ReplaceOptions& options = {});

// Removes every block of the name and appends the new record. The file must exist.
Result<void> ZastapBlok(const std::filesystem::path& file, const BlockToSave& block,
                        const ReplaceOptions& options = {});

// The editor's save: as ZastapBlok, but when the file holds a block of the name, may_replace
// (the question whether to overwrite it) is asked first, under the lock, so that the answer
// holds for the file as it is written; false leaves the file as it was; without may_replace the
// block is replaced unasked. The file is read once. A library that went away after it was
// opened (deleted, moved, its medium replugged) is made again, as DopiszBlok makes one: the
// drawing is never lost for want of the file it came from.
struct SaveOutcome {
  bool replaced = false;  // the file held a block of the name
  bool written = false;
};
Result<SaveOutcome> ZapiszBlok(const std::filesystem::path& file, const BlockToSave& block,
                               const std::function<bool()>& may_replace,
                               const ReplaceOptions& options = {});

// Several blocks in one read-modify-write, as ZapiszBlok saves one: every record of their names
// removed and the new records appended in order; the file is made when missing. A name the file
// already holds calls the whole save off unless replace is given, so the library takes all of
// the blocks or none.
struct BlocksSaveOutcome {
  std::vector<std::string> existing;  // names the file held, in the order met
  bool written = false;
};
Result<BlocksSaveOutcome> SaveBlocks(const std::filesystem::path& file,
                                     const std::vector<BlockToSave>& blocks, bool replace,
                                     const ReplaceOptions& options = {});

// The block of that name (its last record) saved into another library, or into the same one
// under new_name (empty: the same name), as ZapiszBlok saves: may_replace is asked, under the
// lock, when the target holds a block of the name; a may_replace that says no leaves it as it
// was (outcome.written false). The record gets the time of the copy.
Result<SaveOutcome> KopiujBlok(const std::filesystem::path& from, std::string_view name,
                               const std::filesystem::path& to, std::string_view new_name,
                               const std::function<bool()>& may_replace,
                               const ReplaceOptions& options = {});

// Several blocks of one library (each its last record) saved into another in one
// read-modify-write under its lock, as KopiujBlok saves one; the target is made when missing.
// For each name the target already holds, may_replace(name) is asked under the lock, in the
// order of the names: true replaces that block, false leaves the target's own and copies the
// others, nothing calls the whole copy off. The records get the time of the copy. A name the
// source does not hold is refused before anything is asked or written.
struct BlocksCopyOutcome {
  std::vector<std::string> copied;  // in the order given
  bool called_off = false;
};
Result<BlocksCopyOutcome> KopiujBloki(
    const std::filesystem::path& from, const std::vector<std::string>& names,
    const std::filesystem::path& to,
    const std::function<std::optional<bool>(std::string_view name)>& may_replace,
    const ReplaceOptions& options = {});

// The lines of one block record as written (UTF-8, without line ends).
std::vector<std::string> BlockRecordLines(const BlockToSave& block);

}  // namespace blok
