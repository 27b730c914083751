#pragma once

#include <dxflib/dl_writer_ascii.h>

#include <charconv>
#include <cstdio>
#include <string>

namespace blok::dxf {

// dxflib's writer, with the file collected in memory so that it is written as a whole through
// FileReplacement. Numbers are written as the shortest decimals that read back the same.
class MemoryWriter : public DL_WriterA {
 public:
  explicit MemoryWriter(DL_Codes::version version) : DL_WriterA("", version) {}

  std::string& bytes() { return bytes_; }

  void dxfReal(int gc, double value) const override {
    char text[64];
    const auto end = std::to_chars(text, text + sizeof(text), value).ptr;
    std::string number(text, end);
    if (number.find_first_of(".e") == std::string::npos) number += ".0";
    dxfString(gc, number);
  }
  void dxfInt(int gc, int value) const override { dxfString(gc, std::to_string(value)); }
  void dxfHex(int gc, int value) const override {
    char text[16];
    std::snprintf(text, sizeof(text), "%X", static_cast<unsigned>(value));
    dxfString(gc, text);
  }
  void dxfString(int gc, const char* value) const override {
    char code[16];
    std::snprintf(code, sizeof(code), "%3d\n", gc);
    bytes_ += code;
    bytes_ += value;
    bytes_ += '\n';
  }
  void dxfString(int gc, const std::string& value) const override { dxfString(gc, value.c_str()); }

 private:
  mutable std::string bytes_;
};

}  // namespace blok::dxf
