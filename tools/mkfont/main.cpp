// mkfont: builds a stroke font file of the program from a Hershey font (.jhf).
//
//   mkfont [--no-accented] <input.jhf> <output.Lzs>
//
// --no-accented leaves out the letters composed with diacritics (for fonts whose ASCII letters
// are not Latin). On any failure nothing is written and the exit status is 1.
//
// The Hershey Fonts were originally created by Dr. A. V. Hershey while working at the U. S.
// National Bureau of Standards. The format of the Font data in this distribution was originally
// created by James Hurt, Cognition, Inc., 900 Technology Park Drive, Billerica, MA 01821.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "mkfont/font_builder.h"
#include "mkfont/hershey.h"

namespace {

int Usage() {
  std::cerr << "usage: mkfont [--no-accented] <input.jhf> <output.Lzs>\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool compose_letters = true;
  std::vector<std::string_view> files;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--no-accented") {
      compose_letters = false;
    } else if (arg.starts_with("-")) {
      return Usage();
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2) return Usage();
  const std::filesystem::path input(files[0]);
  const std::filesystem::path output(files[1]);
  const auto fail = [&](const std::filesystem::path& file, const std::string& message) {
    std::cerr << "mkfont: " << file.string() << ": " << message << '\n';
    std::error_code ignored;
    std::filesystem::remove(output, ignored);  // no stale font survives a failed build
    return 1;
  };

  std::ifstream in(input, std::ios::binary);
  if (!in) return fail(input, "cannot open");
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return fail(input, "cannot read");

  const auto glyphs = blok::mkfont::ParseHershey(text);
  if (!glyphs) return fail(input, glyphs.error().message);
  const auto font = blok::mkfont::BuildStrokeFont(*glyphs, compose_letters);
  if (!font) return fail(input, font.error().message);
  const std::string bytes = blok::mkfont::EncodeStrokeFont(*font);

  // Written beside the target and renamed over it, so a reader never sees half a font.
  std::filesystem::path temporary = output;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return fail(temporary, "cannot write");
  }
  std::error_code error;
  std::filesystem::rename(temporary, output, error);
  if (error) return fail(output, error.message());
  return 0;
}
