#pragma once

// The structure of a text DXF file: group codes and values, sections, tables, blocks and
// entities, read without interpreting the entities' geometry.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/error.h"

namespace blok::dxf {

// A number of a value line, blanks around it allowed; nothing when it is none.
std::optional<double> RealOf(std::string_view text);
std::optional<long long> IntOf(std::string_view text);

// One group of the file: its code and its value line (without the line end).
struct Group {
  int code;
  std::string_view value;
};

// The groups of one entity (or table entry), its first being its type.
struct Entity {
  const Group* begin = nullptr;
  const Group* end = nullptr;
  std::vector<Entity> vertices;  // of a POLYLINE, up to its SEQEND

  std::string_view type() const { return begin->value; }
  const Group* Find(int code) const {
    for (const Group* g = begin + 1; g < end; ++g) {
      if (g->code == code) return g;
    }
    return nullptr;
  }
  double Real(int code, double otherwise = 0) const {
    const Group* g = Find(code);
    if (g == nullptr) return otherwise;
    return RealOf(g->value).value_or(otherwise);
  }
  long long Int(int code, long long otherwise = 0) const {
    const Group* g = Find(code);
    if (g == nullptr) return otherwise;
    return IntOf(g->value).value_or(otherwise);
  }
  std::string_view Text(int code) const {
    const Group* g = Find(code);
    return g == nullptr ? std::string_view() : g->value;
  }
};

// What a LAYER table entry gives its entities.
struct Layer {
  long long colour = 7;
  std::optional<long long> true_colour;
  long long lineweight = -3;
};

// A BLOCK of the BLOCKS section with its entities.
struct BlockDefinition {
  std::string_view name;  // as the file spells it
  long long flags = 0;
  double base_x = 0, base_y = 0;
  std::vector<Entity> entities;
};

// How the file's strings become UTF-8.
enum class Encoding { kUtf8, kCp1250, kLatin1 };

// What an import needs of a drawing; its views point into the groups read.
struct Drawing {
  Encoding encoding = Encoding::kLatin1;
  std::optional<long long> units;
  double base_x = 0, base_y = 0;                  // $INSBASE
  double point_size = 0;                          // $PDSIZE: below zero a share of the screen
  std::unordered_map<std::string, Layer> layers;  // by upper-case name
  std::vector<BlockDefinition> blocks;
  std::unordered_map<std::string, size_t> block_index;  // by upper-case name
  std::vector<Entity> model;
};

// The file's code / value pairs up to its EOF. Binary DXF, text that is not DXF and a file
// cut short are errors naming the file.
Result<std::vector<Group>> Tokenize(std::string_view bytes, const std::string& file);

// The header variables, layers, blocks and model space entities (paper space left out).
Drawing ReadDrawing(const std::vector<Group>& groups);

// A string of the file in UTF-8, its \\U+XXXX escapes decoded.
std::string Decode(std::string_view bytes, Encoding encoding);

// ASCII letters in upper case, as DXF compares names.
std::string UpperAscii(std::string_view s);

}  // namespace blok::dxf
