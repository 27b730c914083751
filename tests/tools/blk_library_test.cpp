// blk on libraries that are damaged, protected or not libraries at all: it must say so and
// leave them as they were.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>

#include "support/test_dir.h"

namespace blok {
namespace {

using testing::ReadBytes;
using testing::TestDir;
using testing::WriteBytes;

struct BlkRun {
  int status;
  std::string out;
  std::string err;
};

// Runs blk with the arguments (already quoted for the shell), standard input from a file.
BlkRun BlkFrom(const std::string& args, const std::filesystem::path& input) {
  static const std::string blk = std::string(BLOK_BIN_DIR) + "/blk";
  TestDir dir;
  const std::string command =
      blk + " " + args + " < " + input.string() + " 2>" + (dir / "err").string();
  BlkRun run{0, "", ""};
  FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0;) run.out.append(buffer, n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadBytes(dir / "err");
  return run;
}

BlkRun Blk(const std::string& args, const std::string& input = "") {
  TestDir dir;
  WriteBytes(dir / "in", input);
  return BlkFrom(args, dir / "in");
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

}  // namespace
}  // namespace blok
