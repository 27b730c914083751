// blk through its real binary, as a person at a shell uses it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/blk_runner.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using testing::ReadBytes;
using testing::TestDir;
using testing::WriteBytes;

using testing::BlkRun;

// What blk printed, with what it said on standard error when it failed.
BlkRun Blk(const std::string& args, const std::string& input = "") {
  BlkRun run = testing::BlkWithInput(args, input);
  if (run.status != 0) run.out += run.err;
  return run;
}

class BlkTest : public ::testing::Test {
 protected:
  TestDir dir_;
  std::string file_ = (dir_ / "lib.blk").string();
};

TEST_F(BlkTest, SaveListShowCheckRemove) {
  const std::string drawing =
      "L(0,0)-(1,1);K(255,0,0);GR(0,25)\n"
      "T(0,0,'Zażółć',1,0.5,0);K(0,0,0);GR(0,10)\n"
      "// opis\n"
      "L(x,0)-(1,1)\n";
  ASSERT_EQ(Blk("save " + file_ + " 'Właz' cm", drawing).status, 0);
  ASSERT_EQ(Blk("save " + file_ + " Zasuw m", "O(0,0,1)\n").status, 0);
  ASSERT_EQ(Blk("save " + file_ + " 'Właz' mm", "O(0,0,2)\n").status, 0);
  // The file is code page 1250; the terminal is UTF-8.
  EXPECT_NE(ReadBytes(file_).find("W\xB3"
                                  "az\r\n"),
            std::string::npos);
  EXPECT_EQ(Blk("list " + file_).out, "Zasuw\nWłaz\n");
  EXPECT_EQ(Blk("show " + file_ + " 'Właz'").out, "unit: mm\nO(0,0,2)\n");

  ASSERT_EQ(Blk("save " + file_ + " 'Właz' cm", drawing).status, 0);
  const BlkRun check = Blk("check " + file_ + " 'Właz'");
  EXPECT_EQ(check.status, 1);
  EXPECT_EQ(check.out.substr(0, check.out.find("blk:")),
            "0 ok L(0,0)-(1,1);K(255,0,0);GR(0,25)\n"
            "1 ok T(0,0,'Zażółć',1,0.5,0);K(0,0,0);GR(0,10)\n"
            "2 comment // opis\n"
            "3 invalid L(x,0)-(1,1)\n");
  EXPECT_EQ(Blk("check " + file_ + " Zasuw").status, 0);

  ASSERT_EQ(Blk("remove " + file_ + " 'Właz'").status, 0);
  EXPECT_EQ(Blk("list " + file_).out, "Zasuw\n");
}

TEST_F(BlkTest, ParseGivesRecordsAsJson) {
  const BlkRun run =
      Blk("parse \"L(1,2)-(3,4);K(255,0,0);GR(0,5)\" \"LUK(0,0,1,0,90)\" \"T(0,0,'a',1,0.6,0)\" "
          "\"K(żółty)\" \"GR(0,35)\" \"// x\" \"P(a,0)-(1,1)\"");
  ASSERT_EQ(run.status, 0);
  std::vector<nlohmann::json> lines;
  std::istringstream in(run.out);
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], nlohmann::json::parse(R"({"kind":"line","valid":true,"x1":1.0,"y1":2.0,
      "x2":3.0,"y2":4.0,"colour":[255,0,0],"thickness":0.5})"));
  EXPECT_EQ(lines[1]["a2"], 90 * 0.01745329252);
  EXPECT_EQ(lines[1]["thickness"], 0.1);  // the default, as its shortest decimal
  EXPECT_EQ(lines[2]["w"], 0.6);
  EXPECT_EQ(lines[3], nlohmann::json::parse(R"({"kind":"colour","valid":true,
      "colour":[255,255,0]})"));
  EXPECT_EQ(lines[4]["thickness"], 0.35);
  EXPECT_EQ(lines[5]["kind"], "none");
  EXPECT_EQ(lines[6]["kind"], "rectangle");
  EXPECT_EQ(lines[6]["valid"], false);
  // Lines on standard input read the same.
  EXPECT_EQ(Blk("parse", "GR(0,35)\r\n").out,
            "{\"kind\":\"thickness\",\"thickness\":0.35,"
            "\"valid\":true}\n");
}

TEST_F(BlkTest, ErrorsSayWhatAndLeaveTheFileAlone) {
  const std::string missing = (dir_ / "brak.blk").string();
  for (const std::string& args : {"list " + missing, "show " + missing + " A",
                                  "remove " + missing + " A", "check " + missing + " A"}) {
    const BlkRun run = Blk(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_NE(run.out.find("brak.blk"), std::string::npos) << run.out;
  }
  ASSERT_EQ(Blk("save " + file_ + " Zasuw m", "O(0,0,1)\n").status, 0);
  const std::string before = ReadBytes(file_);
  EXPECT_NE(Blk("show " + file_ + " Nieznany").status, 0);
  EXPECT_NE(Blk("save " + file_ + " Pusty m", "").status, 0);
  // Bad arguments: one line on standard error.
  for (const char* args : {"save lib.blk", "list a b c"}) {
    const BlkRun run = Blk(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
  }
  EXPECT_EQ(ReadBytes(file_), before);
}

// A command line without a known command says so and lists every command.
TEST_F(BlkTest, AMissingOrUnknownCommandListsTheCommands) {
  const struct {
    const char* args;
    const char* says;
  } cases[] = {
      {"", "blk: no command given\n"},
      {"frobnicate", "blk: unknown command 'frobnicate'\n"},
      {"lista", "blk: unknown command 'lista'\n"},
      {"Render x y", "blk: unknown command 'Render'\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const BlkRun run = testing::BlkWithInput(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with(c.says)) << run.err;
    for (const char* command :
         {"list", "show", "check", "parse", "save", "remove", "render", "export", "catalogue"}) {
      EXPECT_NE(run.err.find(std::string("\n  ") + command + " "), std::string::npos)
          << command << " in " << run.err;
    }
  }
}

// Standard error carries blk's own messages only, not Qt's notes about its environment.
TEST_F(BlkTest, RenderKeepsQtsNotesOffStandardError) {
  ASSERT_EQ(Blk("save " + file_ + " Zasuw m", "O(0,0,1)\n").status, 0);
  const std::string png = (dir_ / "a.png").string();
  for (const char* env : {"env -u XDG_RUNTIME_DIR", "XDG_RUNTIME_DIR=/nonexistent"}) {
    SCOPED_TRACE(env);
    const BlkRun run = testing::BlkWithInput("render " + file_ + " Zasuw -o " + png, "", env);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(std::filesystem::is_regular_file(png));
  }
}

// On a system without the code page's converter no command runs, and none touches a file:
// it would read and write the Polish letters wrongly.
TEST_F(BlkTest, WithoutTheCodePageNothingRuns) {
  ASSERT_EQ(Blk("save " + file_ + " Zasuw m", "T(0,0,'żółw',1,1,0)\n").status, 0);
  const std::string before = ReadBytes(file_);
  const std::string created = (dir_ / "nowy.blk").string();
  // The sanitizer's runtime would otherwise object to a library loaded before it.
  const std::string env =
      "LD_PRELOAD=" + std::string(BLOK_NO_CODE_PAGE) + " ASAN_OPTIONS=verify_asan_link_order=0";
  for (const std::string& args :
       {"list " + file_, "show " + file_ + " Zasuw", "check " + file_ + " Zasuw",
        "save " + file_ + " Zasuw m", "save " + created + " Nowy m", "remove " + file_ + " Zasuw",
        "render " + file_ + " Zasuw -o " + (dir_ / "a.png").string(),
        std::string("parse 'O(0,0,1)'")}) {
    SCOPED_TRACE(args);
    const BlkRun run = testing::BlkWithInput(args, "O(0,0,2)\n", env);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("blk: Brak konwersji znaków CP1250"), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadBytes(file_), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
  // Help still answers.
  EXPECT_EQ(testing::BlkWithInput("--help", "", env).status, 0);
}

std::string Repeated(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST_F(BlkTest, SaveRefusesWhatTheFileCannotKeep) {
  ASSERT_EQ(Blk("save " + file_ + " Zasuw m", "O(0,0,1)\n").status, 0);
  const std::string before = ReadBytes(file_);
  const struct {
    std::string args, input, message;  // name and unit for the shell; a part of what blk says
  } cases[] = {
      // Code page 1250 has no such characters: they would be saved as "?".
      {"'😀 中文' m", "O(0,0,1)\n", "nazwa bloku zawiera znak „😀” (U+1F600)"},
      {"A m", "O(0,0,1)\nT(0,0,'中文',1,1,0)\n", "linia 2 zawiera znak „中” (U+4E2D)"},
      {"'A\xFF' m", "O(0,0,1)\n", "nazwa bloku zawiera niepoprawny zapis UTF-8 (bajt 0xFF)"},
      {"A km", "O(0,0,1)\n", "nieznana jednostka „km”: dozwolone są m, cm i mm"},
      {"A ''", "O(0,0,1)\n", "nieznana jednostka „”"},
      {"A m", "  \r\n\n", "na wejściu nie ma linii"},
      {"'" + Repeated("ż", 256) + "' m", "O(0,0,1)\n", "nazwa bloku ma 256 znaków"},
  };
  for (const auto& c : cases) {
    const BlkRun run = Blk("save " + file_ + " " + c.args, c.input);
    EXPECT_EQ(run.status, 2) << c.args;
    EXPECT_NE(run.out.find(c.message), std::string::npos) << run.out;
  }
  EXPECT_EQ(ReadBytes(file_), before);
}

TEST_F(BlkTest, SaveKeepsEveryLine) {
  const std::string longest = Repeated("ż", 255);
  const struct {
    std::string name, input, shown;
  } cases[] = {
      {"A", "O(0,0,1)\nK\n", "O(0,0,1)\nK\n"},  // a one-character last line
      {"A", "O(0,0,2)\nL\n", "O(0,0,2)\nL\n"},  // and again, replacing the block
      {"B", "\r\nO(0,0,1)\n\n", "\nO(0,0,1)\n\n"},
      {longest, "T(0,0,'€ °',1,1,0)", "T(0,0,'€ °',1,1,0)\n"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Blk("save " + file_ + " '" + c.name + "' cm", c.input).status, 0) << c.name;
    EXPECT_EQ(Blk("show " + file_ + " '" + c.name + "'").out, "unit: cm\n" + c.shown) << c.name;
  }
}

uint32_t BigEndian(std::string_view bytes, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

TEST_F(BlkTest, RenderWritesTheFormatTheExtensionNames) {
  ASSERT_EQ(Blk("save " + file_ + " Znak m",
                "T(0,0,'Zażółć',1,1,0);K(0,0,0);GR(0,10)\nO(0,0,3);K(255,0,0);GR(0,25)\n")
                .status,
            0);
  const std::string png = (dir_ / "znak.png").string();
  ASSERT_EQ(Blk("render " + file_ + " Znak -o " + png + " --size 320x200").status, 0);
  const std::string bytes = ReadBytes(png);
  ASSERT_GT(bytes.size(), 24u);
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
  EXPECT_EQ(BigEndian(bytes, 16), 320u);  // the header's width and height
  EXPECT_EQ(BigEndian(bytes, 20), 200u);
  ASSERT_EQ(Blk("render " + file_ + " Znak -o " + png + " --plain").status, 0);
  EXPECT_EQ(BigEndian(ReadBytes(png), 16), 800u);

  const std::string svg = (dir_ / "znak.svg").string();
  ASSERT_EQ(Blk("render " + file_ + " Znak -o " + svg).status, 0);
  EXPECT_NE(ReadBytes(svg).find("<svg"), std::string::npos);

  // The extension names the format, in either case; one it cannot tell, or that Qt only reads,
  // is refused and nothing is written.
  const struct {
    const char* file;
    std::string_view starts_with;  // empty: refused
  } formats[] = {{"znak.jpg", "\xFF\xD8\xFF"},
                 {"znak.JPEG", "\xFF\xD8\xFF"},
                 {"znak.bmp", "BM"},
                 {"znak.Svg", "<?xml"},
                 {"znak.xyz", ""},
                 {"znak", ""},
                 {"znak.gif", ""}};
  for (const auto& f : formats) {
    const std::filesystem::path image = dir_ / f.file;
    const BlkRun run = Blk("render " + file_ + " Znak -o " + image.string() + " --size 64x48");
    EXPECT_EQ(run.status, f.starts_with.empty() ? 2 : 0) << run.out;
    EXPECT_EQ(std::filesystem::exists(image), !f.starts_with.empty()) << f.file;
    if (!f.starts_with.empty()) {
      EXPECT_TRUE(ReadBytes(image).starts_with(f.starts_with)) << f.file;
    }
  }
  EXPECT_EQ(Blk("render " + file_ + " Znak -o " + png + " --size 12").status, 2);
  EXPECT_EQ(Blk("render " + file_ + " Brak -o " + png).status, 2);
  EXPECT_EQ(Blk("render " + file_ + " Znak -o " + (dir_ / "no/such/dir.png").string()).status, 2);
}

}  // namespace
}  // namespace blok
