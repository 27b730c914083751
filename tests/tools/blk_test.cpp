// blk through its real binary, as a person at a shell uses it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/test_dir.h"

namespace blok {
namespace {

using testing::ReadBytes;
using testing::TestDir;
using testing::WriteBytes;

struct BlkRun {
  int status;
  std::string out;
};

// Runs blk with the arguments (already quoted for the shell) and standard input from a file.
BlkRun Blk(const std::string& args, const std::string& input = "") {
  static const std::string blk = std::string(BLOK_BIN_DIR) + "/blk";
  TestDir dir;
  WriteBytes(dir / "in", input);
  const std::string command =
      blk + " " + args + " < " + (dir / "in").string() + " 2>" + (dir / "err").string();
  BlkRun run{0, ""};
  FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0;) run.out.append(buffer, n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (run.status != 0) run.out += ReadBytes(dir / "err");
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
  for (const char* args : {"frobnicate", "", "save lib.blk", "list a b c"}) {
    const BlkRun run = Blk(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
  }
  EXPECT_EQ(ReadBytes(file_), before);
}

struct RefusedSave {
  const char* args;  // name and unit, quoted for the shell
  const char* input;
  const char* message;  // a part of what blk says
};

TEST_F(BlkTest, SaveRefusesWhatTheFileCannotKeep) {
  ASSERT_EQ(Blk("save " + file_ + " Zasuw m", "O(0,0,1)\n").status, 0);
  const std::string before = ReadBytes(file_);
  const RefusedSave cases[] = {
      // Code page 1250 has no such characters: they would be saved as "?".
      {"'😀 中文' m", "O(0,0,1)\n", "nazwa bloku zawiera znak „😀” (U+1F600)"},
      {"'Właz' m", "O(0,0,1)\nT(0,0,'中文',1,1,0)\n", "linia 2 zawiera znak „中” (U+4E2D)"},
      {"'A\xFF' m", "O(0,0,1)\n", "nazwa bloku zawiera niepoprawny zapis UTF-8 (bajt 0xFF)"},
      {"Zasuw m", "T(0,0,'\xC3',1,1,0)\n", "linia 1 zawiera niepoprawny zapis UTF-8 (bajt 0xC3)"},
  };
  for (const auto& c : cases) {
    const BlkRun run = Blk("save " + file_ + " " + c.args, c.input);
    EXPECT_EQ(run.status, 2) << c.args;
    EXPECT_NE(run.out.find(c.message), std::string::npos) << run.out;
  }
  EXPECT_EQ(ReadBytes(file_), before);
  // What the code page holds is saved and found again by its name.
  ASSERT_EQ(Blk("save " + file_ + " 'Znak € ° ß' m", "T(0,0,'ł € °',1,1,0)\n").status, 0);
  EXPECT_EQ(Blk("show " + file_ + " 'Znak € ° ß'").out, "unit: m\nT(0,0,'ł € °',1,1,0)\n");
}

std::string Repeated(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST_F(BlkTest, SaveRefusesWhatTheEditorWouldNotWrite) {
  ASSERT_EQ(Blk("save " + file_ + " Zasuw m", "O(0,0,1)\n").status, 0);
  const std::string before = ReadBytes(file_);
  const std::string too_long = "'" + Repeated("ż", 256) + "' m";
  const std::string end_marker = "______________________________KONIEC";
  const std::string start_marker = "____________________v1.0";
  const struct {
    std::string args, input, message;
  } cases[] = {
      {"A km", "O(0,0,1)\n", "nieznana jednostka „km”: dozwolone są m, cm i mm"},
      {"A M", "O(0,0,1)\n", "nieznana jednostka „M”"},
      {"A ''", "O(0,0,1)\n", "nieznana jednostka „”"},
      {"A m", "\n\n\n", "na wejściu nie ma linii"},
      {"A m", "  \r\n\r\n", "na wejściu nie ma linii"},
      {too_long, "O(0,0,1)\n", "nazwa bloku ma 256 znaków, a może mieć najwyżej 255"},
      {"A m", "O(0,0,1)\n" + end_marker + "\nO(0,0,2)\n", "linia 2 jest znacznikiem końca bloku"},
      {"A m", start_marker + "\n", "linia 1 jest znacznikiem początku bloku"},
      {start_marker + " m", "O(0,0,1)\n", "nazwa bloku jest znacznikiem początku bloku"},
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
    std::string name, unit, input, shown;
  } cases[] = {
      {"A", "cm", "O(0,0,1)\nK\n", "O(0,0,1)\nK\n"},  // a one-character last line
      {"B", "mm", "K\n", "K\n"},
      {"C", "m", "O(0,0,1)\n\nGR(1)\n\n", "O(0,0,1)\n\nGR(1)\n\n"},
      {"D", "m", "\r\nO(0,0,1)\r\n", "\nO(0,0,1)\n"},
      {longest, "m", "O(0,0,1)", "O(0,0,1)\n"},  // 255 characters of the code page
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Blk("save " + file_ + " '" + c.name + "' " + c.unit, c.input).status, 0) << c.name;
    EXPECT_EQ(Blk("show " + file_ + " '" + c.name + "'").out, "unit: " + c.unit + "\n" + c.shown)
        << c.name;
  }
  // Saved again, a block is replaced whole, its last line included.
  ASSERT_EQ(Blk("save " + file_ + " A m", "O(0,0,2)\nL\n").status, 0);
  EXPECT_EQ(Blk("show " + file_ + " A").out, "unit: m\nO(0,0,2)\nL\n");
  EXPECT_EQ(Blk("list " + file_).out, "B\nC\nD\n" + longest + "\nA\n");
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

  // The extension names the format, in either case.
  const struct {
    const char* file;
    std::string_view starts_with;
  } formats[] = {
      {"znak.jpg", "\xFF\xD8\xFF"}, {"znak.JPEG", "\xFF\xD8\xFF"}, {"znak.bmp", "BM"},
      {"znak.ppm", "P6"},           {"znak.PNG", "\x89PNG"},       {"znak.Svg", "<?xml"},
  };
  for (const auto& f : formats) {
    const std::string image = (dir_ / f.file).string();
    ASSERT_EQ(Blk("render " + file_ + " Znak -o " + image + " --size 64x48").status, 0) << f.file;
    EXPECT_TRUE(ReadBytes(image).starts_with(f.starts_with)) << f.file;
  }
  // One the format cannot be told from, or that Qt only reads, is refused and nothing written.
  for (const char* file : {"znak.xyz", "znak", "znak.gif", "znak.png.txt"}) {
    const std::filesystem::path image = dir_ / file;
    const BlkRun run = Blk("render " + file_ + " Znak -o " + image.string());
    EXPECT_EQ(run.status, 2) << file;
    EXPECT_NE(run.out.find("rozszerzenie powinno być jednym z .bmp,"), std::string::npos)
        << run.out;
    EXPECT_FALSE(std::filesystem::exists(image)) << file;
  }

  EXPECT_EQ(Blk("render " + file_ + " Znak -o " + png + " --size 12").status, 2);
  EXPECT_EQ(Blk("render " + file_ + " Brak -o " + png).status, 2);
  EXPECT_EQ(Blk("render " + file_ + " Znak -o " + (dir_ / "no/such/dir.png").string()).status, 2);
}

}  // namespace
}  // namespace blok
