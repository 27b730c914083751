#include "interaction/entity_writers.h"

#include <cmath>
#include <utility>
#include <variant>

#include "document/library_rules.h"
#include "interaction/typed_input.h"
#include "model/angles.h"
#include "model/cp1250.h"
#include "model/numbers.h"
#include "model/parsed_entity.h"

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

// What the drawing commands write: segments with at least one decimal, and the selector's
// thickness text as shown.
LineFormat Drawn(const EntityStyle& style) {
  return {kCoordinatePattern, kCoordinatePattern, style.colour,
          std::string_view(style.thickness_text)};
}

// The direct entries read the selector's text as a number and write it back with the comma.
LineFormat Typed(const EntityStyle& style, double thickness) {
  return {kCoordinatePattern, kCoordinatePattern, style.colour,
          ThicknessNumber{thickness, kThicknessPattern, kWorkingSeparator}};
}

std::string Fixed2(double v) { return FormatPattern(v, kFixed2Pattern6, kWorkingSeparator); }

// A refusal of the text command, with its reason.
WriterResult TextRefused(std::string_view why) {
  return Refused(std::string(kTextRefused) + " " + std::string(why));
}

// The message of an added text, and what was made of the typed text.
std::string WithNote(std::string message, const std::string& note) {
  return note.empty() ? message : message + " (" + note + ")";
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::optional<std::string> TypedTextProblem(std::string_view typed) {
  if (const auto bad = NotInCodePage(typed)) return "Tekst zawiera " + *bad + ".";
  return std::nullopt;
}

std::expected<TypedText, std::string> FitTypedText(std::string_view typed) {
  if (auto problem = TypedTextProblem(typed)) return std::unexpected(std::move(*problem));
  TypedText fitted{FitToCodePage(typed).text, {}};
  if (TypographicApostrophes(fitted.text)) fitted.note = "apostrof zapisano jako ’";
  return fitted;
}

std::string UnwrittenText(std::string_view text, LineRefusal why) {
  if (why == LineRefusal::kText) {
    return "Tekstu \"" + std::string(text) + "\" nie można zapisać: po wczytaniu byłby inny.";
  }
  if (why == LineRefusal::kTooLong) return std::string(kLineTooLong);
  return "Liczba jest za duża, by ją zapisać.";
}

WriterResult DodajLinie(Point p1, Point p2, const EntityStyle& style) {
  if (PointDistance(p1.x, p1.y, p2.x, p2.y) <= kShortestSide) return Refused(kLineRefused);
  // Ends apart by a hair on a slant can still print as the same point.
  const auto printed = [](double v) { return FormatPattern(v, kCoordinatePattern); };
  if (printed(p1.x) == printed(p2.x) && printed(p1.y) == printed(p2.y)) {
    return Refused(kLineRefused);
  }
  auto line = WriteEntityLine(SegmentFields{'L', p1.x, p1.y, p2.x, p2.y}, Drawn(style));
  if (!line) return Refused(kLineRefused);
  return Added(std::move(*line),
               "Dodano linię  " + FormatXY(p1.x, p1.y) + "  -   " + FormatXY(p2.x, p2.y));
}

WriterResult DodajProstokat(Point p1, Point p2, const EntityStyle& style) {
  // A flat rectangle would be two lines drawn twice over, or four points.
  if (!(std::abs(p2.x - p1.x) > kShortestSide && std::abs(p2.y - p1.y) > kShortestSide)) {
    return Refused(kRectangleRefused);
  }
  const Point corners[] = {p1, {p1.x, p2.y}, p2, {p2.x, p1.y}};
  WriterResult result;
  for (size_t i = 0; i < 4; ++i) {
    const Point a = corners[i];
    const Point b = corners[(i + 1) % 4];
    auto line = WriteEntityLine(SegmentFields{'L', a.x, a.y, b.x, b.y}, Drawn(style));
    if (!line) return Refused(kRectangleRefused);
    result.lines.push_back(std::move(*line));
  }
  result.message = "Dodano prostokąt   " + FormatXY(p1.x, p1.y) + "  -   " + FormatXY(p2.x, p2.y);
  return result;
}

namespace {

WriterResult CircleLine(Point p0, double r, const LineFormat& format) {
  if (!(r > kSmallestRadius)) return Refused(kCircleRefused);
  auto line = WriteEntityLine(CircleFields{p0.x, p0.y, r}, format);
  if (!line) return Refused(kCircleRefused);
  return Added(std::move(*line), "Dodano okrg " + FormatXY(p0.x, p0.y) + " R=" + Fixed2(r));
}

// a1, a2 in radians, counter-clockwise.
WriterResult ArcLine(Point p0, double r, float a1, float a2, double side,
                     const LineFormat& format) {
  if (std::abs(double{a2} - a1) <= kSmallestSweep || !(r > kSmallestRadius)) {
    return Refused(kArcRefused);
  }
  const auto [start, end] = WrittenArcSweep(a1, a2, side);
  // The sweep as the arc will be drawn, an end below the start going once round: typed 90 then
  // 90, or 0 then 360, come out of the turn above as an arc that starts where it ends.
  const float drawn_end = start > end ? static_cast<float>(end + kTwoPi) : end;
  if (!(double{drawn_end} - start > kSmallestSweep)) return Refused(kArcRefused);
  const double start_degrees = start * kDegreesPerRadian;
  const double end_degrees = end * kDegreesPerRadian;
  auto line = WriteEntityLine(ArcFields{p0.x, p0.y, r, start_degrees, end_degrees}, format);
  if (!line) return Refused(kArcRefused);
  return Added(std::move(*line), "Dodano łuk " + FormatXY(p0.x, p0.y) + " R=" + Fixed2(r) +
                                     " A1= " + Fixed2(start_degrees) +
                                     " A2 = " + Fixed2(end_degrees));
}

}  // namespace

WriterResult DodajOkrag(Point p0, float r, const EntityStyle& style) {
  return CircleLine(p0, r, Drawn(style));
}

ArcSweep WrittenArcSweep(float a1, float a2, double side) {
  // A positive side asks for the arc of at most half a turn between the two directions.
  if (side > 0) {
    if (double{a2} - a1 > kPi) return {a2, static_cast<float>(a1 + kTwoPi)};
    if (a2 < a1) return {a2, a1};
  }
  return {a1, a2};
}

WriterResult DodajLuk(Point p0, float r, float a1, float a2, double side,
                      const EntityStyle& style) {
  return ArcLine(p0, r, a1, a2, side, Drawn(style));
}

WriterResult DodajTekst(Point p0, float a1, std::string_view text, std::string_view height_text,
                        std::string_view width_text, const EntityStyle& style) {
  if (text.empty()) return TextRefused(kNoText);
  const std::optional<double> height = TypedNumber(height_text);
  const std::optional<double> width = TypedNumber(width_text);
  if (!height || !width) {
    const std::string_view bad = height ? width_text : height_text;
    return {{}, {}, "\"" + std::string(bad) + "\" nie jest poprawną liczbą."};
  }
  auto fitted = FitTypedText(text);
  if (!fitted) return TextRefused(fitted.error());
  const std::string written = CutToCharacters(fitted->text, kMaxTypedCharacters);
  const double angle = a1 * kDegreesPerRadian;
  auto line =
      WriteEntityLine(TextFields{p0.x, p0.y, written, *height, *width, angle}, Drawn(style));
  if (!line) return TextRefused(UnwrittenText(written, line.error()));
  return Added(std::move(*line), WithNote("Dodano tekst " + FormatXY(p0.x, p0.y) +
                                              " A= " + Fixed2(angle) + "  " + written,
                                          fitted->note));
}

WriterResult DirectSegment(std::string_view entry, const EntityStyle& style) {
  const char kind = entry.size() >= 2 && entry[1] == '(' ? Upper(entry[0]) : '\0';
  if (kind != 'L' && kind != 'P') return Refused(kSegmentEntryRefused);
  const std::optional<TypedSegment> segment = ParsujOdcinek(entry);
  if (!segment) return Refused(kSegmentEntryRefused);
  const double thickness = LiczbaZDomyslna(style.thickness_text, kDirectThinnest, kDirectThickness);
  const auto& [p1, p2] = *segment;
  auto line = WriteEntityLine(SegmentFields{kind, p1.x, p1.y, p2.x, p2.y}, Typed(style, thickness));
  if (!line) return Refused(kSegmentEntryRefused);
  return Added(std::move(*line), kind == 'L' ? "Dodaj linię." : "Dodaj prostokat.");
}

WriterResult DirectShape(std::string_view entry, const EntityStyle& style) {
  const ParsedEntity read = ParseEntity(entry);
  if (!read.valid()) return Refused(kSegmentEntryRefused);
  // A tail the entry gives stands; what it lacks is in force as the drawing commands write it.
  const auto format = [&style](Colour colour, float thickness) {
    LineFormat format = Drawn(style);
    if (colour != kColourFromPass) format.colour = colour;
    if (!std::isnan(thickness)) format.thickness = ThicknessNumber{thickness};
    return format;
  };
  WriterResult result;
  if (const auto* c = std::get_if<CircleRecord>(&read.record)) {
    result = CircleLine({c->x, c->y}, c->radius, format(c->colour, c->thickness));
    if (!result.lines.empty()) result.message = "Dodaj okrąg.";
  } else if (const auto* a = std::get_if<ArcRecord>(&read.record)) {
    result = ArcLine({a->x, a->y}, a->radius, static_cast<float>(a->start_angle),
                     static_cast<float>(a->end_angle), 0, format(a->colour, a->thickness));
    if (!result.lines.empty()) result.message = "Dodaj łuk.";
  } else {
    return Refused(kSegmentEntryRefused);
  }
  return result;
}

WriterResult DirectText(std::string_view entry, std::string_view height_text,
                        std::string_view width_text, const EntityStyle& style) {
  if (entry.size() < 2 || Upper(entry[0]) != 'T' || entry[1] != '(') {
    return Refused(kTextEntryRefused);
  }
  const std::optional<TypedPoint> typed = ParsujPunkt(entry);
  if (!typed) return Refused(kTextEntryRefused);
  auto fitted = FitTypedText(typed->rest);
  if (!fitted) return Refused(std::string(kTextEntryRefused) + ". " + fitted.error());
  const TextFields fields{typed->point.x,
                          typed->point.y,
                          fitted->text,
                          LiczbaZDomyslna(height_text, kDirectThinnest, kDirectTextSizeFallback),
                          LiczbaZDomyslna(width_text, kDirectThinnest, kDirectTextSizeFallback),
                          0};
  const double thickness = LiczbaZDomyslna(style.thickness_text, kDirectThinnest, kDirectThickness);
  auto line = WriteEntityLine(fields, Typed(style, thickness));
  if (!line) {
    if (line.error() == LineRefusal::kNumber) return Refused(kTextEntryRefused);
    return Refused(std::string(kTextEntryRefused) + ". " +
                   UnwrittenText(fitted->text, line.error()));
  }
  return Added(std::move(*line), WithNote("Dodaj tekst.", fitted->note));
}

}  // namespace blok
