#include "interaction/entity_writers.h"

#include <cmath>
#include <initializer_list>
#include <utility>
#include <variant>

#include "interaction/typed_input.h"
#include "model/cp1250.h"
#include "model/entity_reader.h"
#include "model/numbers.h"

namespace blok {
namespace {

// Shorter segments, and radii and arc sweeps this small, would not show.
constexpr double kShortestSide = 1e-4;
constexpr double kSmallestRadius = 0.001;
constexpr double kSmallestSweep = 0.001;

constexpr std::string_view kLineRefused = "Anulowano linia.";
constexpr std::string_view kRectangleRefused = "Anulowano prostokąt.";
constexpr std::string_view kCircleRefused = "Anulowano okrąg (R=0).";
constexpr std::string_view kArcRefused = "Anulowano łuk (A1=A2 lub R=0).";
constexpr std::string_view kTextRefused = "Anulowano tekst.";
constexpr std::string_view kSegmentEntryRefused = "Nieprawidłowy zapis!";
constexpr std::string_view kTextEntryRefused = "Nieprawidłowy zapis";

// The direct entries carry no thickness of their own: the selector's, read as a number.
constexpr double kDirectThinnest = 0.05;
constexpr double kDirectThickness = 0.18;
constexpr double kDirectTextSizeFallback = 0.6;

WriterResult Refused(std::string_view message) { return {{}, std::string(message), {}}; }
WriterResult Added(std::string line, std::string message) {
  return {{std::move(line)}, std::move(message), {}};
}

bool Writable(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v) || std::abs(v) >= kLargestWritten) return false;
  }
  return true;
}

// One line of the drawing, short enough that a save keeps it whole.
bool FitsOneLine(std::string_view line) {
  return line.find_first_of("\r\n") == std::string_view::npos &&
         CharacterCount(line) <= kMaxTypedCharacters;
}

std::string Coordinate(double v) { return FormatKropka(kCoordinatePattern, v); }
std::string Value(double v) { return FormatKropka(kValuePattern, v); }
std::string Fixed2(double v) { return FormatPattern(v, kFixed2Pattern6, kWorkingSeparator); }

std::string SegmentLine(char kind, Point a, Point b, std::string_view tail) {
  return std::string(1, kind) + "(" + Coordinate(a.x) + "," + Coordinate(a.y) + ")-(" +
         Coordinate(b.x) + "," + Coordinate(b.y) + ")" + std::string(tail);
}

struct TextEntity {
  Point at;
  std::string text;
  double height, width, angle;
};

std::string TextLine(const TextEntity& t, std::string_view tail) {
  return "T(" + Value(t.at.x) + "," + Value(t.at.y) + ",'" + t.text + "'," + Value(t.height) + "," +
         Value(t.width) + "," + Value(t.angle) + ")" + std::string(tail);
}

// The text line to write, or nothing when it would not come back as it was typed: the format
// has no escapes, so "'," ends the text early and blanks after an odd "'" are dropped on reading.
std::optional<std::string> SoundTextLine(const TextEntity& t, std::string_view tail) {
  if (!Writable({t.at.x, t.at.y, t.height, t.width, t.angle})) return std::nullopt;
  std::string line = TextLine(t, tail);
  if (!FitsOneLine(line)) return std::nullopt;
  const EntityRecord read = ReadEntity(line, ReadingDefaults{});
  const auto* record = std::get_if<TextRecord>(&read);
  if (record == nullptr || !record->valid || record->text != t.text) return std::nullopt;
  return line;
}

// A character the code page cannot hold would come back from the file as something else.
std::string FitToCodePage(std::string_view text) { return Cp1250ToUtf8(Utf8ToCp1250(text)); }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string DirectTail(const EntityStyle& style, double thickness) {
  return StyleTail(style.colour, FormatPattern(thickness, kThicknessPattern, kWorkingSeparator));
}

}  // namespace

WriterResult DodajLinie(Point p1, Point p2, const EntityStyle& style) {
  if (PointDistance(p1.x, p1.y, p2.x, p2.y) <= kShortestSide ||
      !Writable({p1.x, p1.y, p2.x, p2.y})) {
    return Refused(kLineRefused);
  }
  std::string line = SegmentLine('L', p1, p2, StyleTail(style.colour, style.thickness_text));
  // Ends apart by a hair on a slant can still print as the same point.
  const bool printed_apart =
      Coordinate(p1.x) != Coordinate(p2.x) || Coordinate(p1.y) != Coordinate(p2.y);
  if (!printed_apart || !FitsOneLine(line)) return Refused(kLineRefused);
  return Added(std::move(line),
               "Dodano linię  " + FormatXY(p1.x, p1.y) + "  -   " + FormatXY(p2.x, p2.y));
}

WriterResult DodajProstokat(Point p1, Point p2, const EntityStyle& style) {
  // A flat rectangle would be two lines drawn twice over, or four points.
  if (!(std::abs(p2.x - p1.x) > kShortestSide && std::abs(p2.y - p1.y) > kShortestSide) ||
      !Writable({p1.x, p1.y, p2.x, p2.y})) {
    return Refused(kRectangleRefused);
  }
  const std::string tail = StyleTail(style.colour, style.thickness_text);
  const Point corners[] = {p1, {p1.x, p2.y}, p2, {p2.x, p1.y}};
  WriterResult result;
  for (size_t i = 0; i < 4; ++i) {
    result.lines.push_back(SegmentLine('L', corners[i], corners[(i + 1) % 4], tail));
    if (!FitsOneLine(result.lines.back())) return Refused(kRectangleRefused);
  }
  result.message = "Dodano prostokąt   " + FormatXY(p1.x, p1.y) + "  -   " + FormatXY(p2.x, p2.y);
  return result;
}

WriterResult DodajOkrag(Point p0, float r, const EntityStyle& style) {
  if (!(r > kSmallestRadius) || !Writable({p0.x, p0.y, r})) return Refused(kCircleRefused);
  std::string line = "O(" + Value(p0.x) + "," + Value(p0.y) + "," + Value(r) + ")" +
                     StyleTail(style.colour, style.thickness_text);
  if (!FitsOneLine(line)) return Refused(kCircleRefused);
  return Added(std::move(line), "Dodano okrg " + FormatXY(p0.x, p0.y) + " R=" + Fixed2(r));
}

WriterResult DodajLuk(Point p0, float r, float a1, float a2, double side,
                      const EntityStyle& style) {
  if (std::abs(double{a2} - a1) <= kSmallestSweep || !(r > kSmallestRadius)) {
    return Refused(kArcRefused);
  }
  // A positive side asks for the arc of at most half a turn between the two directions.
  float start = a1;
  float end = a2;
  if (side > 0) {
    if (double{a2} - a1 > kPi) {
      start = a2;
      end = static_cast<float>(a1 + kTwoPi);
    } else if (a2 < a1) {
      std::swap(start, end);
    }
  }
  // The sweep as the arc will be drawn, an end below the start going once round: typed 90 then
  // 90, or 0 then 360, come out of the turn above as an arc that starts where it ends.
  const float drawn_end = start > end ? static_cast<float>(end + kTwoPi) : end;
  if (!(double{drawn_end} - start > kSmallestSweep)) return Refused(kArcRefused);
  const double start_degrees = start * kDegreesPerRadian;
  const double end_degrees = end * kDegreesPerRadian;
  if (!Writable({p0.x, p0.y, r, start_degrees, end_degrees})) return Refused(kArcRefused);
  std::string line = "LUK(" + Value(p0.x) + "," + Value(p0.y) + "," + Value(r) + "," +
                     Value(start_degrees) + "," + Value(end_degrees) + ")" +
                     StyleTail(style.colour, style.thickness_text);
  if (!FitsOneLine(line)) return Refused(kArcRefused);
  return Added(std::move(line), "Dodano łuk " + FormatXY(p0.x, p0.y) + " R=" + Fixed2(r) + " A1= " +
                                    Fixed2(start_degrees) + " A2 = " + Fixed2(end_degrees));
}

WriterResult DodajTekst(Point p0, float a1, std::string_view text, std::string_view height_text,
                        std::string_view width_text, const EntityStyle& style) {
  if (text.empty()) return Refused(kTextRefused);
  const std::optional<double> height = TypedNumber(height_text);
  const std::optional<double> width = TypedNumber(width_text);
  if (!height || !width) {
    const std::string_view bad = height ? width_text : height_text;
    return {{}, {}, "\"" + std::string(bad) + "\" nie jest poprawną liczbą."};
  }
  const TextEntity entity{p0, CutToCharacters(FitToCodePage(text), kMaxTypedCharacters), *height,
                          *width, a1 * kDegreesPerRadian};
  std::optional<std::string> line =
      SoundTextLine(entity, StyleTail(style.colour, style.thickness_text));
  if (!line) return Refused(kTextRefused);
  return Added(std::move(*line), "Dodano tekst " + FormatXY(p0.x, p0.y) +
                                     " A= " + Fixed2(entity.angle) + "  " + entity.text);
}

WriterResult DirectSegment(std::string_view entry, const EntityStyle& style) {
  const char kind = entry.size() >= 2 && entry[1] == '(' ? Upper(entry[0]) : '\0';
  if (kind != 'L' && kind != 'P') return Refused(kSegmentEntryRefused);
  const std::optional<TypedSegment> segment = ParsujOdcinek(entry);
  const double thickness = LiczbaZDomyslna(style.thickness_text, kDirectThinnest, kDirectThickness);
  if (!segment ||
      !Writable({segment->p1.x, segment->p1.y, segment->p2.x, segment->p2.y, thickness})) {
    return Refused(kSegmentEntryRefused);
  }
  std::string line = SegmentLine(kind, segment->p1, segment->p2, DirectTail(style, thickness));
  if (!FitsOneLine(line)) return Refused(kSegmentEntryRefused);
  return Added(std::move(line), kind == 'L' ? "Dodaj linię." : "Dodaj prostokat.");
}

WriterResult DirectText(std::string_view entry, std::string_view height_text,
                        std::string_view width_text, const EntityStyle& style) {
  if (entry.size() < 2 || Upper(entry[0]) != 'T' || entry[1] != '(') {
    return Refused(kTextEntryRefused);
  }
  const std::optional<TypedPoint> typed = ParsujPunkt(entry);
  if (!typed) return Refused(kTextEntryRefused);
  const TextEntity entity{typed->point, FitToCodePage(typed->rest),
                          LiczbaZDomyslna(height_text, kDirectThinnest, kDirectTextSizeFallback),
                          LiczbaZDomyslna(width_text, kDirectThinnest, kDirectTextSizeFallback), 0};
  const double thickness = LiczbaZDomyslna(style.thickness_text, kDirectThinnest, kDirectThickness);
  std::optional<std::string> line;
  if (Writable({thickness})) line = SoundTextLine(entity, DirectTail(style, thickness));
  if (!line) return Refused(kTextEntryRefused);
  return Added(std::move(*line), "Dodaj tekst.");
}

}  // namespace blok
