#include "document/dxf_reader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <initializer_list>

#include "model/cp1250.h"

namespace blok::dxf {
namespace {

// A group code: digits with blanks around them, at most 1071; -1 when it is none.
int GroupCode(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const size_t digits = i;
  int code = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && i - digits < 5; ++i) {
    code = code * 10 + (text[i] - '0');
  }
  if (i == digits) return -1;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  return i == text.size() && code <= 1071 ? code : -1;
}

std::string_view Trimmed(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Entities from groups[i] (a code 0 group) up to a code 0 group of one of the stop types;
// POLYLINE collects its VERTEX entities and INSERT its ATTRIBs up to their SEQEND.
std::vector<Entity> ReadEntities(const std::vector<Group>& groups, size_t& i,
                                 std::initializer_list<std::string_view> stop) {
  std::vector<Entity> entities;
  const auto at_stop = [&] { return std::ranges::find(stop, groups[i].value) != stop.end(); };
  const auto one = [&] {
    Entity e{&groups[i], &groups[i] + 1, {}};
    ++i;
    while (i < groups.size() && groups[i].code != 0) ++i;
    e.end = groups.data() + i;
    return e;
  };
  while (i < groups.size() && !(groups[i].code == 0 && at_stop())) {
    if (groups[i].code != 0) {
      ++i;
      continue;
    }
    Entity e = one();
    if (e.type() == "POLYLINE" || (e.type() == "INSERT" && e.Int(66) == 1)) {
      while (i < groups.size() && groups[i].code == 0 && groups[i].value != "SEQEND" &&
             (groups[i].value == "VERTEX" || groups[i].value == "ATTRIB")) {
        Entity v = one();
        if (v.type() == "VERTEX") e.vertices.push_back(v);
      }
      if (i < groups.size() && groups[i].value == "SEQEND") one();
    }
    entities.push_back(std::move(e));
  }
  return entities;
}

void ReadHeader(const std::vector<Group>& groups, size_t& i, Drawing& d) {
  std::string_view variable;
  std::string_view version, code_page;
  for (; i < groups.size() && groups[i].code != 0; ++i) {
    const Group& g = groups[i];
    if (g.code == 9) {
      variable = Trimmed(g.value);
    } else if (variable == "$ACADVER" && g.code == 1) {
      version = Trimmed(g.value);
    } else if (variable == "$DWGCODEPAGE" && g.code == 3) {
      code_page = Trimmed(g.value);
    } else if (variable == "$INSUNITS" && g.code == 70) {
      d.units = IntOf(g.value);
    } else if (variable == "$INSBASE" && g.code == 10) {
      d.base_x = RealOf(g.value).value_or(0);
    } else if (variable == "$INSBASE" && g.code == 20) {
      d.base_y = RealOf(g.value).value_or(0);
    } else if (variable == "$PDSIZE" && g.code == 40) {
      d.point_size = RealOf(g.value).value_or(0);
    }
  }
  // From version AC1021 (2007) on the file is UTF-8 whatever code page it names.
  if (version.size() == 6 && version.starts_with("AC") && version >= "AC1021") {
    d.encoding = Encoding::kUtf8;
  } else if (UpperAscii(code_page) == "ANSI_1250") {
    d.encoding = Encoding::kCp1250;
  }
}

bool ValidUtf8(std::string_view bytes) {
  for (size_t pos = 0; pos < bytes.size();) {
    if (DecodeUtf8(bytes, pos) == kBadCodePoint) return false;
  }
  return true;
}

bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

Result<std::vector<Group>> Tokenize(std::string_view bytes, const std::string& file) {
  if (bytes.starts_with("AutoCAD Binary DXF")) {
    return Fail("plik " + file + " to binarny DXF: zapisz go jako DXF tekstowy (ASCII)");
  }
  std::vector<Group> groups;
  // Counted first: a drawing of many megabytes is not moved again and again as it grows.
  groups.reserve(static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) / 2 + 1);
  size_t pos = 0, line = 0;
  const auto next_line = [&](std::string_view& out) {
    if (pos >= bytes.size()) return false;
    size_t end = bytes.find('\n', pos);
    if (end == std::string_view::npos) end = bytes.size();
    out = bytes.substr(pos, end - pos);
    if (!out.empty() && out.back() == '\r') out.remove_suffix(1);
    pos = end + 1;
    ++line;
    return true;
  };
  std::string_view code_text, value;
  while (next_line(code_text)) {
    const int code = GroupCode(code_text);
    if (code < 0) {
      if (groups.empty()) return Fail("plik " + file + " nie jest rysunkiem DXF");
      return Fail("plik DXF " + file + " jest uszkodzony: w linii " + std::to_string(line) +
                  " oczekiwano kodu grupy");
    }
    if (!next_line(value)) break;
    groups.push_back({code, value});
    if (code == 0 && value == "EOF") return groups;
  }
  if (groups.empty() || (groups.front().code != 0 && groups.front().code != 999)) {
    return Fail("plik " + file + " nie jest rysunkiem DXF");
  }
  return Fail("plik DXF " + file + " jest niepełny: brak końca rysunku (EOF)");
}

std::optional<double> RealOf(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double v = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || ptr != text.data() + text.size() || !std::isfinite(v)) {
    return std::nullopt;
  }
  return v;
}

std::optional<long long> IntOf(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long v = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  return v;
}

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

Drawing ReadDrawing(const std::vector<Group>& groups) {
  Drawing d;
  size_t i = 0;
  while (i < groups.size()) {
    if (!(groups[i].code == 0 && groups[i].value == "SECTION")) {
      ++i;
      continue;
    }
    ++i;
    const std::string_view section =
        i < groups.size() && groups[i].code == 2 ? groups[i].value : "";
    if (i < groups.size()) ++i;
    if (section == "HEADER") {
      ReadHeader(groups, i, d);
    } else if (section == "TABLES") {
      for (const Entity& e : ReadEntities(groups, i, {"ENDSEC", "EOF"})) {
        if (e.type() != "LAYER") continue;
        Layer layer;
        layer.colour = e.Int(62, 7);
        if (e.Find(420) != nullptr) layer.true_colour = e.Int(420);
        layer.lineweight = e.Int(370, -3);
        d.layers[UpperAscii(e.Text(2))] = layer;
      }
    } else if (section == "BLOCKS") {
      while (i < groups.size() &&
             !(groups[i].code == 0 && (groups[i].value == "ENDSEC" || groups[i].value == "EOF"))) {
        if (!(groups[i].code == 0 && groups[i].value == "BLOCK")) {
          ++i;
          continue;
        }
        const Group* head_begin = &groups[i];
        ++i;
        while (i < groups.size() && groups[i].code != 0) ++i;
        const Entity head{head_begin, groups.data() + i, {}};
        BlockDefinition block{head.Text(2), head.Int(70), head.Real(10), head.Real(20), {}};
        block.entities = ReadEntities(groups, i, {"ENDBLK", "ENDSEC", "EOF", "BLOCK"});
        if (i < groups.size() && groups[i].value == "ENDBLK") ++i;
        const std::string key = UpperAscii(block.name);
        if (!d.block_index.contains(key)) d.block_index[key] = d.blocks.size();
        d.blocks.push_back(std::move(block));
      }
    } else if (section == "ENTITIES") {
      for (Entity& e : ReadEntities(groups, i, {"ENDSEC", "EOF"})) {
        if (e.Int(67) == 1) continue;  // paper space
        d.model.push_back(std::move(e));
      }
    }
  }
  return d;
}

// A string of the file in UTF-8, its \U+XXXX escapes (characters its code page lacks) decoded.
std::string Decode(std::string_view bytes, Encoding encoding) {
  std::string text;
  if (encoding == Encoding::kCp1250) {
    text = Cp1250ToUtf8(bytes);
  } else if (encoding == Encoding::kUtf8) {
    text = bytes;
  } else if (ValidUtf8(bytes)) {
    // Some writers put UTF-8 into files of older versions without saying so.
    text = bytes;
  } else {
    for (const char c : bytes) AppendUtf8(text, static_cast<unsigned char>(c));
  }
  if (text.find("\\U+") == std::string::npos) return text;
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 3, "\\U+") == 0 && i + 7 <= text.size() &&
        std::all_of(text.begin() + static_cast<long>(i) + 3,
                    text.begin() + static_cast<long>(i) + 7, IsHex)) {
      AppendUtf8(out, static_cast<char32_t>(std::stoul(text.substr(i + 3, 4), nullptr, 16)));
      i += 6;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace blok::dxf
