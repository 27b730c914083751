// A library as several writers share it: two at once, a writer killed halfway, and the
// editor's question asked while the library is held.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <future>
#include <string>
#include <vector>

#include "document/block_file.h"
#include "document/library_lock.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using namespace std::chrono_literals;
using testing::ReadBytes;
using testing::TestDir;
using testing::WriteBytes;

constexpr SaveTime kTime{2026, 3, 4, 5, 6, 7};
// Tests need not wait for the disk.
constexpr ReplaceOptions kQuick{.durable = false};

BlockToSave Block(std::string name, std::vector<std::string> lines) {
  return {std::move(name), "m", std::move(lines), false, kTime};
}

ino_t Inode(const std::filesystem::path& file) {
  struct stat info {};
  ::stat(file.c_str(), &info);
  return info.st_ino;
}

class SharedLibraryTest : public ::testing::Test {
 protected:
  TestDir dir_;
  std::filesystem::path file_ = dir_ / "lib.blk";
};

// Without the lock both writers read the same old file and the later rename drops the other's
// block.
TEST_F(SharedLibraryTest, TwoWritersAtOnceLoseNothing) {
  ASSERT_TRUE(DopiszBlok(file_, Block("Stary", {"O(0,0,1)"}), kQuick));
  constexpr int kWriters = 8;
  std::vector<std::future<Result<void>>> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.push_back(std::async(std::launch::async, [this, w] {
      const std::string name = "Blok " + std::to_string(w);
      return w % 2 == 0 ? DopiszBlok(file_, Block(name, {"O(0,0,2)"}), kQuick)
                        : ZastapBlok(file_, Block(name, {"O(0,0,3)"}), kQuick);
    }));
  }
  for (auto& writer : writers) {
    const auto written = writer.get();
    EXPECT_TRUE(written) << written.error().message;
  }
  const auto names = CzytajListeBlokow(file_);
  ASSERT_TRUE(names);
  EXPECT_EQ(names->size(), kWriters + 1u);
}

TEST_F(SharedLibraryTest, AWriterThatWaitsTooLongSaysTheLibraryIsBusy) {
  ASSERT_TRUE(DopiszBlok(file_, Block("A", {"O(0,0,1)"}), kQuick));
  const std::string before = ReadBytes(file_);
  const auto held = LibraryLock::Acquire(file_, 0ms);
  ASSERT_TRUE(held);
  // The writers' patience is the lock's default; a held library is busy after it.
  const auto start = std::chrono::steady_clock::now();
  const auto removed = UsunBlokZPliku(file_, "A", kQuick);
  ASSERT_FALSE(removed);
  EXPECT_GE(std::chrono::steady_clock::now() - start, kLockPatience);
  EXPECT_NE(removed.error().message.find("jest zajęty"), std::string::npos);
  EXPECT_EQ(ReadBytes(file_), before);
}

// What a killed writer left beside the library goes with the next write; what belongs to
// another library, or is no temporary file of ours, stays.
TEST_F(SharedLibraryTest, LeftoversOfThisLibraryGoWithTheNextWrite) {
  ASSERT_TRUE(DopiszBlok(file_, Block("A", {"O(0,0,1)"}), kQuick));
  const struct {
    const char* name;
    bool goes;
  } files[] = {
      {"UsunPom-lib.blk-a1B2c3.txt", true},
      {"UsunPom-lib.blk-zzzzzz.txt", true},
      {"UsunPom-inna.blk-a1B2c3.txt", false},  // another library's writer may be at work
      {"UsunPom-lib.blk-a1B2c.txt", false},
      {"UsunPom.txt", false},
      {"lib.blk.bak", false},
  };
  for (const auto& f : files) WriteBytes(dir_ / f.name, "x");
  ASSERT_TRUE(DopiszBlok(file_, Block("B", {"O(0,0,1)"}), kQuick));
  for (const auto& f : files) EXPECT_EQ(std::filesystem::exists(dir_ / f.name), !f.goes) << f.name;
}

// The editor's save: the question is asked only for a name the library holds, and "no" leaves
// the library as it was, inode and all.
TEST_F(SharedLibraryTest, TheOverwriteQuestionIsAskedUnderTheLock) {
  ASSERT_TRUE(DopiszBlok(file_, Block("A", {"O(0,0,1)"}), kQuick));
  const struct {
    const char* label;
    const char* name;
    bool answer;
    bool asked, replaced, written;
  } cases[] = {
      {"a new name is not asked about", "B", false, false, false, true},
      {"an old name, yes", "A", true, true, true, true},
      {"an old name, no", "A", false, true, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string before = ReadBytes(file_);
    const ino_t inode = Inode(file_);
    bool asked = false;
    const auto saved = ZapiszBlok(
        file_, Block(c.name, {"O(0,0,5)"}),
        [&] {
          asked = true;
          // Another writer could not get in now.
          EXPECT_FALSE(LibraryLock::Acquire(file_, 0ms));
          return c.answer;
        },
        kQuick);
    ASSERT_TRUE(saved) << saved.error().message;
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(saved->replaced, c.replaced);
    EXPECT_EQ(saved->written, c.written);
    if (!c.written) {
      EXPECT_EQ(ReadBytes(file_), before);
      EXPECT_EQ(Inode(file_), inode);
    }
  }
  EXPECT_EQ(*CzytajListeBlokow(file_), (std::vector<std::string>{"B", "A"}));
}

// A removal copies every other line as it stands: line ends, bytes code page 1250 leaves
// undefined, and a last line without its line end.
TEST_F(SharedLibraryTest, KeptLinesKeepTheirBytes) {
  const std::string foreign = "obce\x81\x98 bajty\n";
  const std::string kept =
      "\n____________________v1.0\nNazwa:\nZ\n2026-03-04\n05:06:07\nGrupa:\nnull\nJednostka:\nm\n"
      "____________________\n\n______________________________OpisBloku\nO(0,0,1)\r\n"
      "______________________________KONIEC";
  const std::string removed =
      "\r\n____________________v1.0\r\nNazwa:\r\nX\r\n2026-03-04\r\n05:06:07\r\nGrupa:\r\nnull\r\n"
      "Jednostka:\r\nm\r\n____________________\r\n\r\n______________________________OpisBloku\r\n"
      "______________________________KONIEC\r\n";
  WriteBytes(file_, foreign + removed + kept);
  ASSERT_EQ(UsunBlokZPliku(file_, "X", kQuick).value_or(0), 1u);
  // The empty line before the removed record stays; the one after it, which opened the next
  // record, goes.
  const std::string left = foreign + "\r\n" + kept.substr(1);
  EXPECT_EQ(ReadBytes(file_), left);
  // An append after a last line without its line end starts on a line of its own.
  ASSERT_TRUE(DopiszBlok(file_, Block("Y", {"O(0,0,2)"}), kQuick));
  EXPECT_EQ(*CzytajListeBlokow(file_), (std::vector<std::string>{"Z", "Y"}));
  EXPECT_EQ(ReadBytes(file_).substr(0, left.size() + 4), left + "\r\n\r\n");
}

// A link is followed to the file it leads to, also when that file is still to be made; a loop
// of links is refused at once instead of waited on.
TEST_F(SharedLibraryTest, LinksLeadToTheLibrary) {
  std::filesystem::create_symlink("nowa.blk", dir_ / "link.blk");
  ASSERT_TRUE(DopiszBlok(dir_ / "link.blk", Block("A", {"O(0,0,1)"}), kQuick));
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.blk"));
  EXPECT_EQ(*CzytajListeBlokow(dir_ / "nowa.blk"), std::vector<std::string>{"A"});
  ASSERT_TRUE(ZastapBlok(dir_ / "link.blk", Block("B", {"O(0,0,1)"}), kQuick));
  EXPECT_EQ(*CzytajListeBlokow(dir_ / "nowa.blk"), (std::vector<std::string>{"A", "B"}));
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.blk"));

  std::filesystem::create_symlink("petla2.blk", dir_ / "petla1.blk");
  std::filesystem::create_symlink("petla1.blk", dir_ / "petla2.blk");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(DopiszBlok(dir_ / "petla1.blk", Block("A", {"O(0,0,1)"}), kQuick));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "petla1.blk"));
}

// A record that lost its end marker ends where the next one starts; when that one goes, the
// lines after it must not become the damaged record's name or drawing.
TEST_F(SharedLibraryTest, RemovingTheBlockAfterADamagedOneLeavesItReadingTheSame) {
  const std::string damaged_header =
      "\r\n____________________v1.0\r\nNazwa:\r\nUszkodzony\r\n2026-03-04\r\n05:06:07\r\n"
      "Grupa:\r\nnull\r\nJednostka:\r\nm\r\n____________________\r\n\r\n"
      "______________________________OpisBloku\r\n";
  const std::string next =
      "\r\n____________________v1.0\r\nNazwa:\r\nNastepny\r\n2026-03-04\r\n05:06:07\r\n"
      "Grupa:\r\nnull\r\nJednostka:\r\nm\r\n____________________\r\n\r\n"
      "______________________________OpisBloku\r\nO(0,0,2)\r\n"
      "______________________________KONIEC\r\n";
  const struct {
    const char* label;
    std::string file;
  } cases[] = {
      {"a drawing, then foreign lines",
       damaged_header + "O(0,0,1)\r\n\r\n" + next + "obce\r\nL(1,1)-(2,2)\r\n"},
      {"a header cut short", "\r\n____________________v1.0\r\n\r\n" + next + "Nazwa:\r\nX\r\n"},
      {"at the end of the file", damaged_header + "O(0,0,1)\r\n" + next},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    WriteBytes(file_, c.file);
    auto names = *CzytajListeBlokow(file_);
    ASSERT_EQ(names.size(), 2u);
    const auto damaged = *WczytajBlok(file_, names[0]);
    ASSERT_EQ(UsunBlokZPliku(file_, "Nastepny", kQuick).value_or(0), 1u);
    EXPECT_EQ(*CzytajListeBlokow(file_), std::vector<std::string>{names[0]});
    EXPECT_EQ(*WczytajBlok(file_, names[0]), damaged);
    // And a block saved after it leaves it so too.
    ASSERT_TRUE(ZastapBlok(file_, Block("Nowy", {"O(0,0,3)"}), kQuick));
    EXPECT_EQ(*WczytajBlok(file_, names[0]), damaged);
  }
}

// An end marker inside a header closes the record there: the fields past it read as empty, and
// the marker itself is no field.
TEST_F(SharedLibraryTest, AnEndMarkerInTheHeaderClosesTheRecordThere) {
  const std::vector<std::string> header = {"____________________v1.0",
                                           "Nazwa:",
                                           "A",
                                           "2026-03-04",
                                           "05:06:07",
                                           "Grupa:",
                                           "null",
                                           "Jednostka:",
                                           "cm",
                                           "____________________",
                                           "",
                                           "______________________________OpisBloku"};
  const struct {
    size_t at;  // where the end marker stands, counted from the start marker
    const char* name;
    const char* unit;
  } cases[] = {{1, "", ""},  {2, "", ""},    {3, "A", ""},
               {8, "A", ""}, {9, "A", "cm"}, {12, "A", "cm"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.at);
    std::string bytes = "\r\n";
    for (size_t i = 0; i < c.at; ++i) bytes += header[i] + "\r\n";
    bytes += "______________________________KONIEC\r\nO(0,0,1)\r\n";
    WriteBytes(file_, bytes);
    EXPECT_EQ(*CzytajListeBlokow(file_), std::vector<std::string>{c.name});
    const auto loaded = *WczytajBlok(file_, c.name);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->unit, c.unit);
    EXPECT_TRUE(loaded->lines.empty());
  }
}

// A library made for a save that is then refused does not stay behind as an empty file.
TEST_F(SharedLibraryTest, ARefusedFirstSaveLeavesNoFile) {
  const auto saved = DopiszBlok(file_, Block("____________________v1.0", {"O(0,0,1)"}), kQuick);
  ASSERT_FALSE(saved);
  EXPECT_FALSE(std::filesystem::exists(file_));
  EXPECT_FALSE(ZastapBlok(dir_ / "brak.blk", Block("A", {"O(0,0,1)"}), kQuick));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "brak.blk"));
}

}  // namespace
}  // namespace blok
