#include "document/block_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/child_process.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using testing::ReadBytes;
using testing::TestDir;
using testing::WriteBytes;

constexpr SaveTime kTime{2026, 3, 4, 5, 6, 7};

BlockToSave Block(std::string name, std::vector<std::string> lines, std::string unit = "m") {
  return {std::move(name), std::move(unit), std::move(lines), false, kTime};
}

// A record exactly as the editor writes it, in CP1250 with CR LF.
std::string Record(std::string_view name_cp1250, std::string_view unit,
                   std::initializer_list<std::string_view> lines_cp1250) {
  std::string r = "\r\n____________________v1.0\r\nNazwa:\r\n";
  r += name_cp1250;
  r += "\r\n2026-03-04\r\n05:06:07\r\nGrupa:\r\nnull\r\nJednostka:\r\n";
  r += unit;
  r += "\r\n____________________\r\n\r\n______________________________OpisBloku\r\n";
  for (auto l : lines_cp1250) {
    r += l;
    r += "\r\n";
  }
  return r + "______________________________KONIEC\r\n";
}

std::vector<std::string> Names(const std::filesystem::path& file) {
  auto names = CzytajListeBlokow(file);
  EXPECT_TRUE(names.has_value());
  return names.value_or(std::vector<std::string>{});
}

std::vector<std::string> Lines(const std::filesystem::path& file, std::string_view name) {
  auto block = WczytajBlok(file, name);
  EXPECT_TRUE(block.has_value() && block->has_value()) << name;
  return block && *block ? (*block)->lines : std::vector<std::string>{};
}

class BlockFileTest : public ::testing::Test {
 protected:
  TestDir dir_;
  std::filesystem::path file_ = dir_ / "lib.blk";
};

TEST_F(BlockFileTest, WritesTheRecordLayoutByteForByte) {
  ASSERT_TRUE(
      DopiszBlok(file_, Block("Zasuw", {"L(0,0)-(1,1);K(0,0,0);GR(0,10)", "O(0,0,1)"}, "cm")));
  EXPECT_EQ(ReadBytes(file_),
            Record("Zasuw", "cm", {"L(0,0)-(1,1);K(0,0,0);GR(0,10)", "O(0,0,1)"}));
}

TEST_F(BlockFileTest, PolishNamesAndTextsRoundTripInCodePage1250) {
  const std::vector<std::string> lines = {"T(0,0,'Zażółć gęślą jaźń',1,1,0);K(0,0,0);GR(0,10)"};
  ASSERT_TRUE(DopiszBlok(file_, Block("Studzienka ściekowa", lines)));
  EXPECT_NE(ReadBytes(file_).find("Studzienka \x9C"
                                  "ciekowa\r\n"),
            std::string::npos);
  EXPECT_EQ(Names(file_), std::vector<std::string>{"Studzienka ściekowa"});
  EXPECT_EQ(Lines(file_, "Studzienka ściekowa"), lines);
}

TEST_F(BlockFileTest, ListNameTestAndLoad) {
  WriteBytes(file_, "foreign line\r\n" + Record("AAA", "m", {"L(0,0)-(1,1)"}) +
                        Record("BBB", "mm", {"O(1,1,1)", "", "GR(1)"}) +
                        Record("AAA", "cm", {"P(0,0)-(2,2)"}));
  EXPECT_EQ(Names(file_), (std::vector<std::string>{"AAA", "BBB", "AAA"}));
  EXPECT_TRUE(WczytajBlok(file_, "BBB")->has_value());
  EXPECT_FALSE(WczytajBlok(file_, "bbb")->has_value());  // names compare case-sensitively
  EXPECT_FALSE(WczytajBlok(file_, "Nazwa:")->has_value());
  // The later of two blocks of one name is the one loaded.
  const auto aaa = *WczytajBlok(file_, "AAA");
  ASSERT_TRUE(aaa.has_value());
  EXPECT_EQ(aaa->unit, "cm");
  EXPECT_EQ(aaa->lines, std::vector<std::string>{"P(0,0)-(2,2)"});
  EXPECT_EQ(Lines(file_, "BBB"), (std::vector<std::string>{"O(1,1,1)", "", "GR(1)"}));
  EXPECT_FALSE(WczytajBlok(file_, "CCC")->has_value());
}

TEST_F(BlockFileTest, OnlyAHeaderNameLineStartsABlock) {
  // Every header carries the group value "null"; a block named so loads its own drawing.
  WriteBytes(file_, Record("null", "m", {"L(0,0)-(1,1)"}) + Record("BBB", "m", {"O(0,0,5)"}));
  EXPECT_EQ(Lines(file_, "null"), std::vector<std::string>{"L(0,0)-(1,1)"});
  // An entity line equal to a name does not start a block either.
  WriteBytes(file_, Record("O(0,0,5)", "m", {"L(0,0)-(1,1)"}) + Record("BBB", "m", {"O(0,0,5)"}));
  EXPECT_EQ(Lines(file_, "O(0,0,5)"), std::vector<std::string>{"L(0,0)-(1,1)"});
}

TEST_F(BlockFileTest, LfOnlyFilesAndMissingEndMarker) {
  std::string lf = Record("AAA", "m", {"L(0,0)-(1,1)"});
  std::erase(lf, '\r');
  WriteBytes(file_, lf + "\n____________________v1.0\nNazwa:\nBBB\n1\n2\n3\n4\n5\nmm\n6\n7\n8\n"
                         "O(0,0,1)\nO(0,0,2)");
  EXPECT_EQ(Names(file_), (std::vector<std::string>{"AAA", "BBB"}));
  EXPECT_EQ(Lines(file_, "AAA"), std::vector<std::string>{"L(0,0)-(1,1)"});
  // A record without its end marker ends at the end of the file.
  EXPECT_EQ(Lines(file_, "BBB"), (std::vector<std::string>{"O(0,0,1)", "O(0,0,2)"}));
  ASSERT_TRUE(UsunBlokZPliku(file_, "BBB"));
  EXPECT_EQ(Names(file_), std::vector<std::string>{"AAA"});
}

// The record without its end marker line (and the line end after it).
std::string Unclosed(std::string record) {
  const std::string marker = "______________________________KONIEC\r\n";
  return record.substr(0, record.size() - marker.size());
}

// Damaged records: whatever is done to the damaged block, every other block loads as before.
TEST_F(BlockFileTest, ADamagedRecordNeverTakesTheNextBlockWithIt) {
  const std::string aaa = Record("AAA", "m", {"L(0,0)-(1,1)"});
  const std::string ccc = Record("CCC", "cm", {"O(0,0,3)"});
  std::string ccc_tight = ccc;
  ccc_tight.erase(0, 2);  // no empty line in front of its start marker
  struct Case {
    const char* what;
    std::string file;
    std::string unit;                // of the damaged block BBB
    std::vector<std::string> lines;  // its drawing as loaded
    std::vector<std::string> names;  // the list
  };
  const Case cases[] = {
      {"end marker lost",
       aaa + Unclosed(Record("BBB", "mm", {"O(0,0,1)", "O(0,0,2)"})) + ccc,
       "mm",
       {"O(0,0,1)", "O(0,0,2)"},
       {"AAA", "BBB", "CCC"}},
      {"next start marker right after",
       Unclosed(Record("BBB", "mm", {"O(0,0,1)", "", "O(0,0,2)"})) + ccc_tight + aaa,
       "mm",
       {"O(0,0,1)", "", "O(0,0,2)"},
       {"BBB", "CCC", "AAA"}},
      {"empty lines before the next record",
       aaa + Unclosed(Record("BBB", "m", {"O(0,0,1)"})) + "\r\n\r\n" + ccc,
       "m",
       {"O(0,0,1)"},
       {"AAA", "BBB", "CCC"}},
      {"header cut short",
       aaa + "\r\n____________________v1.0\r\nNazwa:\r\nBBB\r\n2026\r\n" + ccc,
       "",
       {},
       {"AAA", "BBB", "CCC"}},
      {"start marker in place of the name label",
       aaa + "\r\n____________________v1.0" + ccc +
           "\r\n____________________v1.0\r\nNazwa:\r\nBBB\r\n",
       "",
       {},
       {"AAA", "", "CCC", "BBB"}},
      {"end marker inside the header",
       "\r\n____________________v1.0\r\nNazwa:\r\nBBB\r\n______________________________KONIEC\r\n"
       "Grupa:\r\nnull\r\nJednostka:\r\nmm\r\n" +
           ccc + aaa,
       "",
       {},
       {"BBB", "CCC", "AAA"}},
      {"last record, file ends in empty lines",
       aaa + ccc + Unclosed(Record("BBB", "m", {"O(0,0,1)"})) + "\r\n\r\n",
       "m",
       {"O(0,0,1)"},
       {"AAA", "CCC", "BBB"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(file_, c.file);
    EXPECT_EQ(Names(file_), c.names);
    const auto bbb = *WczytajBlok(file_, "BBB");
    ASSERT_TRUE(bbb.has_value());
    EXPECT_EQ(bbb->unit, c.unit);
    EXPECT_EQ(bbb->lines, c.lines);
    const auto others_as_before = [&] {
      EXPECT_EQ(Lines(file_, "AAA"), std::vector<std::string>{"L(0,0)-(1,1)"});
      EXPECT_EQ(Lines(file_, "CCC"), std::vector<std::string>{"O(0,0,3)"});
      EXPECT_EQ((*WczytajBlok(file_, "CCC"))->unit, "cm");
    };
    others_as_before();
    // Read all at once, every record comes in file order as it loads alone.
    const auto all = *WczytajWszystkieBloki(file_);
    ASSERT_EQ(all.size(), c.names.size());
    for (size_t i = 0; i < all.size(); ++i) {
      EXPECT_EQ(all[i].name, c.names[i]);
      if (std::find(c.names.begin() + i + 1, c.names.end(), c.names[i]) == c.names.end()) {
        EXPECT_EQ(all[i], *WczytajBlok(file_, c.names[i]));
      }
    }

    // Replacing the damaged block, and a block before or after it, leaves the rest alone.
    ASSERT_TRUE(ZastapBlok(file_, Block("BBB", {"P(0,0)-(1,1)"})));
    EXPECT_EQ(Lines(file_, "BBB"), std::vector<std::string>{"P(0,0)-(1,1)"});
    others_as_before();
    WriteBytes(file_, c.file);
    ASSERT_TRUE(ZastapBlok(file_, Block("AAA", {"L(0,0)-(1,1)"})));
    ASSERT_TRUE(ZastapBlok(file_, Block("CCC", {"O(0,0,3)"}, "cm")));
    EXPECT_EQ(*WczytajBlok(file_, "BBB"), bbb);
    others_as_before();

    WriteBytes(file_, c.file);
    ASSERT_TRUE(UsunBlokZPliku(file_, "BBB"));
    EXPECT_FALSE(WczytajBlok(file_, "BBB")->has_value());
    others_as_before();
  }
}

TEST_F(BlockFileTest, ShortFileReadsPastItsEndAsEmptyLines) {
  WriteBytes(file_, "____________________v1.0\r\nNazwa:\r\nAAA\r\n");
  EXPECT_EQ(Names(file_), std::vector<std::string>{"AAA"});
  const auto block = *WczytajBlok(file_, "AAA");
  ASSERT_TRUE(block.has_value());
  EXPECT_EQ(block->unit, "");
  EXPECT_TRUE(block->lines.empty());
  WriteBytes(file_, "");
  EXPECT_TRUE(Names(file_).empty());
}

TEST_F(BlockFileTest, ReplacingMovesTheBlockToTheEnd) {
  for (const char* name : {"AAA", "BBB", "CCC"}) {
    ASSERT_TRUE(DopiszBlok(file_, Block(name, {std::string("T(0,0,'") + name + "',1,1,0)"})));
  }
  ASSERT_TRUE(ZastapBlok(file_, Block("BBB", {"O(0,0,2)"})));
  EXPECT_EQ(Names(file_), (std::vector<std::string>{"AAA", "CCC", "BBB"}));
  EXPECT_EQ(ReadBytes(file_), Record("AAA", "m", {"T(0,0,'AAA',1,1,0)"}) +
                                  Record("CCC", "m", {"T(0,0,'CCC',1,1,0)"}) +
                                  Record("BBB", "m", {"O(0,0,2)"}));
}

TEST_F(BlockFileTest, SavingUnchangedGivesTheSameRecord) {
  const std::string original = Record("AAA", "mm", {"L(0,0)-(1,1)", "O(0,0,1)"});
  WriteBytes(file_, original);
  const auto loaded = **WczytajBlok(file_, "AAA");
  ASSERT_TRUE(ZastapBlok(file_, Block(loaded.name, loaded.lines, loaded.unit)));
  // The same record; the empty line that opened the removed one stays in front.
  EXPECT_EQ(ReadBytes(file_), "\r\n" + original);
}

TEST_F(BlockFileTest, RemovalDropsEveryBlockOfTheNameAndNothingElse) {
  const std::string long_line = "L(0,0)-(1,1);K(0,0,0);GR(0,10)//" + std::string(268, 'x');
  ASSERT_EQ(long_line.size(), 300u);
  WriteBytes(file_, Record("AAA", "m", {"L(0,0)-(1,1)"}) + Record("BBB", "m", {long_line}) +
                        Record("AAA", "m", {"O(0,0,1)"}) + "trailing foreign line\r\n");
  ASSERT_TRUE(UsunBlokZPliku(file_, "AAA"));
  // Other blocks' lines are copied whole, never cut to 255 characters. A removed record takes
  // the empty line after it (which opens the next record) but never a line that is not empty.
  EXPECT_EQ(ReadBytes(file_), Record("BBB", "m", {long_line}) + "\r\ntrailing foreign line\r\n");
  ASSERT_TRUE(UsunBlokZPliku(file_, "BBB"));
  EXPECT_EQ(ReadBytes(file_), "\r\ntrailing foreign line\r\n");
}

TEST_F(BlockFileTest, RemovalKeepsABlockThatFollowsWithoutAnEmptyLine) {
  std::string second = Record("BBB", "m", {"O(0,0,1)"});
  second.erase(0, 2);  // no empty line before the next start marker
  WriteBytes(file_, Record("AAA", "m", {"L(0,0)-(1,1)"}) + second);
  ASSERT_TRUE(UsunBlokZPliku(file_, "AAA"));
  EXPECT_EQ(ReadBytes(file_), "\r\n" + second);
  EXPECT_EQ(Lines(file_, "BBB"), std::vector<std::string>{"O(0,0,1)"});
}

// Removing says how many blocks went; with none it must not touch the file at all: a rewrite
// would convert its line ends and give it a new inode for nothing.
TEST_F(BlockFileTest, RemovingANameThatIsNotThereLeavesTheFileUntouched) {
  std::string lf = Record("AAA", "m", {"O(0,0,1)"}) + Record("AAA", "m", {"O(0,0,2)"});
  std::erase(lf, '\r');
  struct Case {
    std::string bytes;
    const char* name;
    size_t removed;
  };
  const Case cases[] = {
      {"", "AAA", 0},
      {"foreign line\r\nAAA\r\n", "AAA", 0},
      {lf, "aaa", 0},                 // names compare case-sensitively
      {lf, "null", 0},                // the group value names no block
      {lf, "O(0,0,1)", 0},            // nor does an entity line
      {lf + "\nstray", "Nazwa:", 0},  // nor the name label
      {lf, "AAA", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(file_, c.bytes);
    struct stat before {};
    ASSERT_EQ(::stat(file_.c_str(), &before), 0);
    EXPECT_EQ(UsunBlokZPliku(file_, c.name), c.removed);
    struct stat after {};
    ASSERT_EQ(::stat(file_.c_str(), &after), 0);
    if (c.removed == 0) {
      EXPECT_EQ(ReadBytes(file_), c.bytes);
      EXPECT_EQ(after.st_ino, before.st_ino);
    } else {
      EXPECT_FALSE(WczytajBlok(file_, c.name)->has_value());
    }
  }
}

TEST_F(BlockFileTest, LongLinesWholeOrCutAt255) {
  std::string long_line = "T(0,0,'";
  for (int i = 0; i < 290; ++i) long_line += "ą";
  long_line += "',1,1,0)";
  BlockToSave block = Block("AAA", {long_line});
  ASSERT_TRUE(DopiszBlok(file_, block));
  EXPECT_EQ(Lines(file_, "AAA"), std::vector<std::string>{long_line});
  block.cut_at_255 = true;
  ASSERT_TRUE(ZastapBlok(file_, block));
  const auto cut = Lines(file_, "AAA");
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(long_line.rfind(cut[0], 0), 0u);  // a prefix of the line
  std::string bytes = ReadBytes(file_);
  const size_t at = bytes.find("T(0,0,'");
  EXPECT_EQ(bytes.find("\r\n", at) - at, 255u);  // 255 characters of the file
}

TEST_F(BlockFileTest, LastLineOfOneCharacterIsNotWritten) {
  ASSERT_TRUE(DopiszBlok(file_, Block("AAA", {"O(0,0,1)", "", "GR(1)", ""})));
  EXPECT_EQ(Lines(file_, "AAA"), (std::vector<std::string>{"O(0,0,1)", "", "GR(1)"}));
  ASSERT_TRUE(ZastapBlok(file_, Block("AAA", {"O(0,0,1)", "x"})));
  EXPECT_EQ(Lines(file_, "AAA"), std::vector<std::string>{"O(0,0,1)"});
}

TEST_F(BlockFileTest, AppendAfterRemovingTheLastBlockLeavesTwoEmptyLines) {
  ASSERT_TRUE(DopiszBlok(file_, Block("AAA", {"O(0,0,1)"})));
  ASSERT_TRUE(DopiszBlok(file_, Block("BBB", {"O(0,0,2)"})));
  ASSERT_TRUE(UsunBlokZPliku(file_, "BBB"));
  ASSERT_TRUE(DopiszBlok(file_, Block("CCC", {"O(0,0,3)"})));
  EXPECT_EQ(ReadBytes(file_),
            Record("AAA", "m", {"O(0,0,1)"}) + "\r\n" + Record("CCC", "m", {"O(0,0,3)"}));
  EXPECT_EQ(Names(file_), (std::vector<std::string>{"AAA", "CCC"}));
}

TEST_F(BlockFileTest, FailuresNameTheFileAndLeaveItAsItWas) {
  const auto missing = dir_ / "brak.blk";
  for (const Error& e : {CzytajListeBlokow(missing).error(), WczytajBlok(missing, "A").error(),
                         UsunBlokZPliku(missing, "A").error(),
                         ZastapBlok(missing, Block("A", {"O(0,0,1)"})).error()}) {
    EXPECT_NE(e.message.find("brak.blk"), std::string::npos) << e.message;
  }
  EXPECT_FALSE(std::filesystem::exists(missing));

  // A line break in a name would break the file's structure.
  EXPECT_FALSE(DopiszBlok(file_, Block("A\nB", {"O(0,0,1)"})));
  EXPECT_FALSE(std::filesystem::exists(file_));
}

// A name, unit or entity line that would read back as a start or end marker would cut its
// record short and leave the rest as stray lines, or forge a record: such a block is refused.
TEST_F(BlockFileTest, LinesThatWouldReadAsMarkersAreRefused) {
  const std::string start(kBlockStartMarker), end(kBlockEndMarker);
  struct Case {
    BlockToSave block;
    const char* says;  // nothing: saved, and loads back as it was
  };
  const Case cases[] = {
      {Block("AAA", {"O(0,0,1)", end, "O(0,0,2)"}), "linia rysunku 2 jest znacznikiem końca bloku"},
      {Block("AAA", {start, "Nazwa:", "ZZZ"}), "linia rysunku 1 jest znacznikiem początku bloku"},
      {Block(start, {"O(0,0,1)"}), "nazwa jest znacznikiem początku bloku"},
      {Block(end, {"O(0,0,1)"}), "nazwa jest znacznikiem końca bloku"},
      {Block("AAA", {"O(0,0,1)"}, end), "jednostka jest znacznikiem końca bloku"},
      {Block("AAA", {"O(0,0,1)"}, start), "jednostka jest znacznikiem początku bloku"},
      // Other fixed lines are only counted, never looked for; near misses are plain text.
      {Block("AAA", {std::string(kDrawingMarker), std::string(kHeaderEnd), "O(0,0,1)"}), nullptr},
      {Block("AAA", {end + " ", " " + start, end.substr(1), "O(0,0,1)"}), nullptr},
      {Block(std::string(kHeaderEnd), {"O(0,0,1)"}, "Jednostka:"), nullptr},
  };
  const std::string original = Record("BBB", "m", {"O(0,0,9)"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.says ? c.says : c.block.lines.front());
    WriteBytes(file_, original);
    using Save =
        Result<void> (*)(const std::filesystem::path&, const BlockToSave&, const ReplaceOptions&);
    for (const Save save : {Save{ZastapBlok}, Save{DopiszBlok}}) {
      const auto saved = save(file_, c.block, {});
      if (!c.says) {
        ASSERT_TRUE(saved) << saved.error().message;
        const auto loaded = *WczytajBlok(file_, c.block.name);
        ASSERT_TRUE(loaded.has_value());
        EXPECT_EQ(loaded->lines, c.block.lines);
        EXPECT_EQ(loaded->unit, c.block.unit);
        continue;
      }
      ASSERT_FALSE(saved);
      EXPECT_NE(saved.error().message.find(c.says), std::string::npos) << saved.error().message;
      EXPECT_NE(saved.error().message.find(file_.string()), std::string::npos);
      EXPECT_EQ(ReadBytes(file_), original);
    }
    EXPECT_EQ(Lines(file_, "BBB"), std::vector<std::string>{"O(0,0,9)"});
  }
}

// A failed save must say so, name the file, and leave nothing behind.
template <typename T>
bool FailsNamingTheFile(const Result<T>& result, const std::filesystem::path& file) {
  return !result && result.error().message.find(file.string()) != std::string::npos;
}

TEST_F(BlockFileTest, SaveIntoAReadOnlyDirectoryLeavesTheFileUnchanged) {
  const std::string original = Record("AAA", "m", {"L(0,0)-(1,1)"}) + Record("BBB", "m", {"x"});
  WriteBytes(file_, original);
  ::chmod(dir_.path().c_str(), 0555);
  // Root may write anywhere: the attempt runs as an ordinary user then.
  EXPECT_TRUE(testing::InChild([&] {
    if (::getuid() == 0 && ::setgid(65534) + ::setuid(65534) != 0) return false;
    return FailsNamingTheFile(ZastapBlok(file_, Block("AAA", {"O(0,0,1)"})), file_) &&
           FailsNamingTheFile(UsunBlokZPliku(file_, "AAA"), file_) &&
           FailsNamingTheFile(DopiszBlok(file_, Block("CCC", {"O(0,0,1)"})), file_);
  }));
  ::chmod(dir_.path().c_str(), 0755);
  EXPECT_EQ(ReadBytes(file_), original);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
}

// A library the user may not write is refused even where its folder would let the user put a
// new file in its place.
TEST_F(BlockFileTest, AReadOnlyLibraryIsRefusedAndLeftAsItWas) {
  struct Case {
    const char* what;
    mode_t mode;
    bool as_nobody;  // root owns the file, user nobody saves
    bool through_link;
  };
  const Case cases[] = {
      {"0444, its owner", 0444, false, false},
      {"0444 through a symbolic link", 0444, false, true},
      {"0444, another user", 0444, true, false},
      {"root's 0644, another user", 0644, true, false},
      {"root's 0664, another user", 0664, true, false},
  };
  const std::string original = Record("AAA", "m", {"L(0,0)-(1,1)"}) + Record("BBB", "m", {"x"});
  ::chmod(dir_.path().c_str(), 0777);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.as_nobody && ::getuid() != 0) continue;  // only root can give the file away
    WriteBytes(file_, original);
    ::chmod(file_.c_str(), c.mode);
    struct stat before {};
    ASSERT_EQ(::stat(file_.c_str(), &before), 0);
    const auto link = dir_ / "link.blk";
    std::filesystem::remove(link);
    if (c.through_link) std::filesystem::create_symlink(file_, link);
    const auto target = c.through_link ? link : file_;
    const auto refused = [&](const auto& result) {
      return !result && result.error().message.find("tylko do odczytu") != std::string::npos &&
             result.error().message.find(target.string()) != std::string::npos;
    };
    EXPECT_TRUE(testing::InChild([&] {
      if (c.as_nobody && ::setgid(65534) + ::setuid(65534) != 0) return false;
      return refused(ZastapBlok(target, Block("AAA", {"O(0,0,1)"}))) &&
             refused(DopiszBlok(target, Block("CCC", {"O(0,0,1)"}))) &&
             refused(UsunBlokZPliku(target, "AAA"));
    }));
    struct stat after {};
    ASSERT_EQ(::stat(file_.c_str(), &after), 0);
    EXPECT_EQ(ReadBytes(file_), original);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}),
              c.through_link ? 2 : 1);
  }
  ::chmod(file_.c_str(), 0644);
}

TEST_F(BlockFileTest, SaveOntoAFullDiskLeavesTheFileUnchanged) {
  const std::string original = Record("AAA", "m", {"L(0,0)-(1,1)"});
  WriteBytes(file_, original);
  const std::vector<std::string> big(2000, "L(0,0)-(1,1);K(0,0,0);GR(0,10)");
  EXPECT_TRUE(testing::OnAFullDisk([&] {
    return FailsNamingTheFile(ZastapBlok(file_, Block("AAA", big)), file_) &&
           FailsNamingTheFile(DopiszBlok(file_, Block("BBB", big)), file_);
  }));
  EXPECT_EQ(ReadBytes(file_), original);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
}

TEST_F(BlockFileTest, ReplacementKeepsPermissionsAndFollowsLinks) {
  WriteBytes(file_, Record("AAA", "m", {"O(0,0,1)"}));
  ::chmod(file_.c_str(), 0640);
  const auto link = dir_ / "link.blk";
  std::filesystem::create_symlink(file_, link);
  ASSERT_TRUE(ZastapBlok(link, Block("AAA", {"O(0,0,2)"})));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(Lines(file_, "AAA"), std::vector<std::string>{"O(0,0,2)"});
  struct stat info {};
  ASSERT_EQ(::stat(file_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

}  // namespace
}  // namespace blok
