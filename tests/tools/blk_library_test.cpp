// blk on libraries that are damaged, protected or not libraries at all: it must say so and
// leave them as they were.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "document/library_lock.h"
#include "support/blk_runner.h"
#include "support/child_process.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using testing::ReadBytes;
using testing::TestDir;
using testing::WriteBytes;

using testing::BlkFrom;
using testing::BlkRun;
BlkRun Blk(const std::string& args, const std::string& input = "") {
  return testing::BlkWithInput(args, input);
}

std::string Record(std::string_view name, std::initializer_list<std::string_view> lines,
                   bool closed = true) {
  std::string r = "\r\n____________________v1.0\r\nNazwa:\r\n";
  r += name;
  r += "\r\n2026-03-04\r\n05:06:07\r\nGrupa:\r\nnull\r\nJednostka:\r\nm\r\n"
       "____________________\r\n\r\n______________________________OpisBloku\r\n";
  for (auto l : lines) {
    r += l;
    r += "\r\n";
  }
  return closed ? r + "______________________________KONIEC\r\n" : r;
}

class BlkLibraryTest : public ::testing::Test {
 protected:
  TestDir dir_;
  std::filesystem::path file_ = dir_ / "lib.blk";
  std::string path_ = file_.string();
};

TEST_F(BlkLibraryTest, ADamagedBlockStaysApartFromTheNext) {
  WriteBytes(file_, Record("AAA", {"O(0,0,1)"}, false) + Record("BBB", {"O(0,0,2)"}));
  EXPECT_EQ(Blk("list " + path_).out, "AAA\nBBB\n");
  EXPECT_EQ(Blk("show " + path_ + " AAA").out, "unit: m\nO(0,0,1)\n");
  ASSERT_EQ(Blk("remove " + path_ + " AAA").status, 0);
  EXPECT_EQ(Blk("list " + path_).out, "BBB\n");
  EXPECT_EQ(Blk("show " + path_ + " BBB").out, "unit: m\nO(0,0,2)\n");

  WriteBytes(file_, Record("AAA", {"O(0,0,1)"}, false) + Record("BBB", {"O(0,0,2)"}));
  ASSERT_EQ(Blk("save " + path_ + " AAA m", "O(0,0,3)\n").status, 0);
  EXPECT_EQ(Blk("list " + path_).out, "BBB\nAAA\n");
  EXPECT_EQ(Blk("show " + path_ + " BBB").out, "unit: m\nO(0,0,2)\n");
  EXPECT_EQ(Blk("show " + path_ + " AAA").out, "unit: m\nO(0,0,3)\n");
}

// What a refused command must leave: the same file, same bytes, same owner, nothing beside it.
struct FileState {
  std::string bytes;
  ino_t inode;
  uid_t owner;
  mode_t mode;
  bool operator==(const FileState&) const = default;
};

FileState StateOf(const std::filesystem::path& file) {
  struct stat info {};
  EXPECT_EQ(::stat(file.c_str(), &info), 0) << file;
  return {ReadBytes(file), info.st_ino, info.st_uid, info.st_mode};
}

TEST_F(BlkLibraryTest, AReadOnlyLibraryIsRefused) {
  struct Case {
    const char* what;
    mode_t mode;
    bool as_nobody;
  };
  const Case cases[] = {
      {"0444", 0444, false},
      {"root's 0644 in a 0777 folder, user nobody", 0644, true},
  };
  ::chmod(dir_.path().c_str(), 0777);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.as_nobody && ::getuid() != 0) continue;
    WriteBytes(file_, Record("AAA", {"O(0,0,1)"}) + Record("BBB", {"O(0,0,2)"}));
    ::chmod(file_.c_str(), c.mode);
    const FileState before = StateOf(file_);
    EXPECT_TRUE(testing::InChild([&] {
      if (c.as_nobody && ::setgid(65534) + ::setuid(65534) != 0) return false;
      for (const std::string& args :
           {"save " + path_ + " AAA m", "save " + path_ + " CCC m", "remove " + path_ + " AAA"}) {
        const BlkRun run = Blk(args, "O(0,0,3)\n");
        if (run.status != 2 || run.err.find("tylko do odczytu") == std::string::npos ||
            run.err.find(path_) == std::string::npos) {
          std::fprintf(stderr, "%s: %d %s\n", args.c_str(), run.status, run.err.c_str());
          return false;
        }
      }
      return true;
    }));
    EXPECT_EQ(StateOf(file_), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
    ::chmod(file_.c_str(), 0644);
  }
}

// Devices, pipes, folders and files beyond 256 MB are refused with a message, left as they are.
TEST_F(BlkLibraryTest, NoLibraryNoEndlessInput) {
  ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0644), 0);
  std::filesystem::create_directory(dir_ / "folder");
  const std::string big = (dir_ / "big.blk").string();
  WriteBytes(big, "");
  std::filesystem::resize_file(big, (256 << 20) + 1);  // sparse: nothing of it on the disk
  WriteBytes(file_, Record("AAA", {"O(0,0,1)"}));
  const FileState before = StateOf(file_);
  const std::string fifo = (dir_ / "fifo").string(), folder = (dir_ / "folder").string();
  const std::string drawing = (dir_ / "drawing").string();
  WriteBytes(drawing, "O(0,0,1)\n");
  struct Case {
    std::string args;
    std::string input;  // standard input from this file
    const char* says;
  };
  const Case cases[] = {
      {"list /dev/zero", "/dev/null", "/dev/zero: to nie jest zwykły plik"},
      {"show /dev/zero AAA", "/dev/null", "/dev/zero: to nie jest zwykły plik"},
      {"save " + fifo + " AAA m", drawing, "fifo: to nie jest zwykły plik"},
      {"remove " + fifo + " AAA", "/dev/null", "fifo: to nie jest zwykły plik"},
      {"save " + folder + " AAA m", drawing, "folder: to nie jest zwykły plik"},
      {"list " + big, "/dev/null", "big.blk: dane są większe niż 256 MB"},
      {"save " + big + " AAA m", drawing, "big.blk: dane są większe niż 256 MB"},
      {"parse", big, "standardowego wejścia: dane są większe niż 256 MB"},
      {"save " + path_ + " BBB m", big, "standardowego wejścia: dane są większe niż 256 MB"},
  };
  for (const Case& c : cases) {
    const BlkRun run = BlkFrom(c.args, c.input);
    EXPECT_EQ(run.status, 2) << c.args;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << c.args << ": " << run.err;
  }
  EXPECT_TRUE(std::filesystem::is_fifo(dir_ / "fifo"));
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "folder"));
  EXPECT_EQ(std::filesystem::file_size(big), (256u << 20) + 1);
  EXPECT_EQ(StateOf(file_), before);
}

TEST_F(BlkLibraryTest, ABlockThatWouldForgeRecordsIsNotSaved) {
  WriteBytes(file_, Record("BBB", {"O(0,0,2)"}));
  const FileState before = StateOf(file_);
  struct Case {
    std::string args;
    std::string input;
    const char* says;
  };
  const Case cases[] = {
      {"save " + path_ + " AAA m", "O(0,0,1)\n______________________________KONIEC\nO(0,0,3)\n",
       "linia rysunku 2 jest znacznikiem końca bloku"},
      {"save " + path_ + " ____________________v1.0 m", "O(0,0,1)\n",
       "nazwa jest znacznikiem początku bloku"},
  };
  for (const Case& c : cases) {
    const BlkRun run = Blk(c.args, c.input);
    EXPECT_EQ(run.status, 2) << c.args;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(path_), std::string::npos) << run.err;
  }
  EXPECT_EQ(StateOf(file_), before);
}

TEST_F(BlkLibraryTest, RemovingWhatIsNotThereSaysSoAndWritesNothing) {
  std::string lf = Record("AAA", {"O(0,0,1)"}) + Record("BBB", {"O(0,0,2)"});
  std::erase(lf, '\r');  // a rewrite would show as CR LF line ends
  WriteBytes(file_, lf);
  const FileState before = StateOf(file_);
  for (const char* name : {"CCC", "aaa", "null", "O(0,0,1)"}) {
    const BlkRun run = Blk("remove " + path_ + " '" + name + "'");
    EXPECT_EQ(run.status, 1) << name;
    EXPECT_NE(run.err.find("w pliku " + path_ + " nie ma bloku " + name), std::string::npos)
        << run.err;
    EXPECT_EQ(StateOf(file_), before);
  }
  const BlkRun removed = Blk("remove " + path_ + " AAA");
  EXPECT_EQ(removed.status, 0);
  EXPECT_EQ(removed.err, "");
  EXPECT_EQ(Blk("list " + path_).out, "BBB\n");
}

}  // namespace
}  // namespace blok

namespace blok {
namespace {

// Writers started together, as scripts on several machines would: every block arrives.
TEST_F(BlkLibraryTest, WritersAtOnceLoseNoBlock) {
  WriteBytes(file_, Record("AAA", {"O(0,0,1)"}));
  static const std::string blk = std::string(BLOK_BIN_DIR) + "/blk";
  std::string script;
  for (int i = 0; i < 10; ++i) {
    script += "echo 'O(0,0," + std::to_string(i + 1) + ")' | " + blk + " save " + path_ + " Blok" +
              std::to_string(i) + " m >/dev/null & ";
  }
  script += "wait";
  ASSERT_EQ(std::system(script.c_str()), 0);
  const std::string listed = Blk("list " + path_).out;
  EXPECT_NE(listed.find("AAA\n"), std::string::npos);
  for (int i = 0; i < 10; ++i) {
    EXPECT_NE(listed.find("Blok" + std::to_string(i) + "\n"), std::string::npos) << listed;
  }
}

TEST_F(BlkLibraryTest, AHeldLibraryIsBusy) {
  WriteBytes(file_, Record("AAA", {"O(0,0,1)"}));
  const std::string before = ReadBytes(file_);
  const auto held = LibraryLock::Acquire(file_);
  ASSERT_TRUE(held);
  const BlkRun run = Blk("remove " + path_ + " AAA");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("jest zajęty"), std::string::npos) << run.err;
  EXPECT_EQ(ReadBytes(file_), before);
}

// blk dups: 0 when nothing is saved twice, 1 with the findings, 2 when the file cannot be read.
TEST_F(BlkLibraryTest, DupsFindsASymbolSavedTwice) {
  WriteBytes(file_,
             Record("Studnia", {"O(0,0,1)", "L(-1,0)-(1,0)"}) + Record("Zasuwa", {"O(0,0,2)"}));
  EXPECT_EQ(Blk("dups " + path_).status, 0);
  WriteBytes(file_, Record("Studnia", {"O(0,0,1)", "L(-1,0)-(1,0)"}) +
                        Record("Studnia kopia", {"// ta sama", "L(-1,0)-(1,0)", "O(0,0,1.00001)"}) +
                        Record("Zasuwa", {"O(0,0,2)"}) + Record("Zasuwa", {"O(0,0,3)"}));
  const BlkRun run = Blk("dups " + path_);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "Ten sam rysunek: Studnia | Studnia kopia\nNazwa zapisana 2 razy: Zasuwa\n");
  EXPECT_EQ(Blk("dups " + (dir_ / "nie-ma.blk").string()).status, 2);
}

// blk copy with several names: all of them in one write of the target, or none.
TEST_F(BlkLibraryTest, CopyTakesSeveralNamesAllOrNone) {
  WriteBytes(file_, Record("Studnia", {"O(0,0,1)"}) + Record("Wpust", {"O(0,0,2)"}) +
                        Record("Zasuwa", {"O(0,0,3)"}));
  const auto other = dir_ / "inna.blk";
  WriteBytes(other, Record("Zasuwa", {"O(0,0,9)"}));
  const std::string before = ReadBytes(other);
  const BlkRun refused = Blk("copy " + path_ + " " + other.string() + " Studnia Zasuwa Wpust");
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(ReadBytes(other), before);
  EXPECT_EQ(Blk("copy " + path_ + " " + other.string() + " Studnia Zasuwa Wpust --replace").status,
            0);
  EXPECT_EQ(Blk("list " + other.string()).out, "Studnia\nZasuwa\nWpust\n");
  EXPECT_EQ(Blk("show " + other.string() + " Zasuwa").status, 0);
  EXPECT_NE(Blk("show " + other.string() + " Zasuwa").out.find("O(0,0,3)"), std::string::npos);
}

// blk rename and blk copy: done as asked, or refused with the library as it was.
TEST_F(BlkLibraryTest, RenameAndCopy) {
  WriteBytes(file_, Record("Studnia", {"O(0,0,1)"}) + Record("Zasuwa", {"O(0,0,2)"}));
  const std::string other = (dir_ / "inna.blk").string();
  const struct {
    std::string args;
    int status;
    bool changes;
  } runs[] = {
      {"rename " + path_ + " Studnia Zasuwa", 2, false},
      {"rename " + path_ + " Brak Nowy", 1, false},
      {"rename " + path_ + " Studnia Wpust", 0, true},
      {"copy " + path_ + " " + other + " Wpust Zasuwa", 0, false},
      {"copy " + path_ + " " + other + " Zasuwa", 2, false},
      {"copy " + path_ + " " + other + " Brak", 2, false},
  };
  for (const auto& r : runs) {
    const std::string before = ReadBytes(file_);
    EXPECT_EQ(Blk(r.args).status, r.status) << r.args;
    EXPECT_EQ(ReadBytes(file_) != before, r.changes) << r.args;
  }
  EXPECT_EQ(Blk("list " + path_).out, "Wpust\nZasuwa\n");
  EXPECT_EQ(Blk("list " + other).out, "Wpust\nZasuwa\n");
  ASSERT_EQ(Blk("copy " + path_ + " " + other + " Zasuwa --replace").status, 0);
  EXPECT_EQ(Blk("list " + other).out, "Wpust\nZasuwa\n");
}

}  // namespace
}  // namespace blok
