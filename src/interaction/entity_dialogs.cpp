#include "interaction/entity_dialogs.h"

#include <array>
#include <cmath>
#include <utility>
#include <variant>

#include "interaction/entity_writers.h"
#include "interaction/typed_input.h"
#include "model/angles.h"
#include "model/cp1250.h"
#include "model/entity_writer.h"
#include "model/numbers.h"

namespace blok {
namespace {

// A text at an angle this close to 0 or 90 opens with that angle's button.
constexpr double kAngleTolerance = 0.01;

constexpr std::string_view kNoRadius = "Promień musi być większy od zera.";

std::unexpected<std::string> Refusal(std::string_view message) {
  return std::unexpected(std::string(message));
}

// A field as a number the patterns can write: either separator, within the writers' range.
std::optional<double> FieldNumber(std::string_view field) {
  const std::optional<double> value = TypedNumber(field);
  if (!value || !WritableNumber(*value)) return std::nullopt;
  return value;
}

// The fields in order, converted; the first that is no number names the error.
template <size_t N>
std::expected<std::array<double, N>, std::string> FieldNumbers(
    const std::array<const std::string*, N>& fields) {
  std::array<double, N> values{};
  for (size_t i = 0; i < N; ++i) {
    const std::optional<double> value = FieldNumber(*fields[i]);
    if (!value) return std::unexpected(NumberError(*fields[i]));
    values[i] = *value;
  }
  return values;
}

bool IsThicknessFromSize(std::string_view text) {
  return ToLocalDecimal(text) == ToLocalDecimal(kThicknessFromSize);
}

// The thickness is written as shown, so it must at least read as a number.
std::optional<std::string> ThicknessError(std::string_view text, bool from_size_allowed) {
  if (FieldNumber(text) || (from_size_allowed && IsThicknessFromSize(text))) return std::nullopt;
  return NumberError(text);
}

std::string Shown(double v) { return FormatPattern(v, kValuePattern, kWorkingSeparator); }
std::string Shown(float v) { return Shown(FloatAsDecimal(v)); }

// The end of every apply: the line written, the dialog's thickness box normalised, and the line
// kept as the result. A segment's x1 is written "#############0.####", its other coordinates
// "#############0.0###"; the thickness as shown.
DialogResult<std::string> Built(const EntityFields& fields, Colour colour, std::string& thickness,
                                std::optional<std::string>& result) {
  auto line = WriteEntityLine(
      fields, {kValuePattern, kCoordinatePattern, colour, std::string_view(thickness)});
  if (!line) {
    // The fields were checked to be writable numbers before.
    if (line.error() == LineRefusal::kText) {
      return std::unexpected(UnwrittenText(std::get<TextFields>(fields).text, line.error()));
    }
    return Refusal(kLineTooLong);
  }
  thickness = ToLocalDecimal(thickness);
  result = *line;
  return std::move(*line);
}

}  // namespace

std::string NumberError(std::string_view field) {
  return "\"" + std::string(field) + "\" nie jest poprawną liczbą.";
}

void LineDialogModel::Fill(const SegmentRecord& record, int index) {
  typ = record.kind == 'P' ? "P" : "L";
  nr = index;
  x1 = Shown(record.x1);
  y1 = Shown(record.y1);
  x2 = Shown(record.x2);
  y2 = Shown(record.y2);
  colour = record.colour;
  thickness = Shown(record.thickness);
  result.reset();
}

DialogResult<std::string> LineDialogModel::Apply() {
  result.reset();
  const auto v = FieldNumbers<4>({&x1, &y1, &x2, &y2});
  if (!v) return std::unexpected(v.error());
  if (auto error = ThicknessError(thickness, false)) return std::unexpected(*error);
  const auto& [vx1, vy1, vx2, vy2] = *v;
  return Built(SegmentFields{typ == "P" ? 'P' : 'L', vx1, vy1, vx2, vy2}, colour, thickness,
               result);
}

void CircleDialogModel::Fill(const CircleRecord& record, int index) {
  typ = "O";
  nr = index;
  x = Shown(record.x);
  y = Shown(record.y);
  r = Shown(record.radius);
  colour = record.colour;
  thickness = Shown(record.thickness);
  result.reset();
}

void CircleDialogModel::Fill(const ArcRecord& record, int index) {
  typ = "L";
  nr = index;
  x = Shown(record.x);
  y = Shown(record.y);
  r = Shown(record.radius);
  start = Shown(record.start_angle * kDegreesPerRadian);
  end = Shown(record.end_angle * kDegreesPerRadian);
  colour = record.colour;
  thickness = Shown(record.thickness);
  result.reset();
}

DialogResult<std::string> CircleDialogModel::Apply() {
  result.reset();
  const auto centre = FieldNumbers<3>({&x, &y, &r});
  if (!centre) return std::unexpected(centre.error());
  std::array<double, 2> angles{};
  if (arc()) {
    const auto read = FieldNumbers<2>({&start, &end});
    if (!read) return std::unexpected(read.error());
    angles = *read;
  }
  if (auto error = ThicknessError(thickness, false)) return std::unexpected(*error);
  const auto& [cx, cy, radius] = *centre;
  // A radius that prints as 0 or less would be no circle at all.
  if (!(*ParseNumber(FormatPattern(radius, kValuePattern), '.') > 0)) return Refusal(kNoRadius);
  const EntityFields fields = arc() ? EntityFields{ArcFields{cx, cy, radius, angles[0], angles[1]}}
                                    : EntityFields{CircleFields{cx, cy, radius}};
  return Built(fields, colour, thickness, result);
}

void TextDialogModel::Fill(const TextRecord& record, int index) {
  nr = index;
  text = record.text;
  x = Shown(record.x);
  y = Shown(record.y);
  height = Shown(record.height);
  width = Shown(record.width);
  colour = record.colour;
  thickness = Shown(record.thickness);
  if (std::abs(record.angle) < kAngleTolerance) {
    angle_choice = TextAngleChoice::kPoziom;
  } else if (std::abs(record.angle - 90) < kAngleTolerance) {
    angle_choice = TextAngleChoice::kPion;
  } else {
    angle_choice = TextAngleChoice::kRecznie;
    angle = Shown(record.angle);
  }
  result.reset();
}

DialogResult<std::string> TextDialogModel::Apply() {
  result.reset();
  const auto v = FieldNumbers<4>({&x, &y, &height, &width});
  if (!v) return std::unexpected(v.error());
  double a = 0;
  if (angle_choice == TextAngleChoice::kPion) {
    a = 90;
  } else if (angle_choice == TextAngleChoice::kRecznie) {
    const auto typed = FieldNumbers<1>({&angle});
    if (!typed) return std::unexpected(typed.error());
    a = (*typed)[0];
  }
  if (auto error = ThicknessError(thickness, true)) return std::unexpected(*error);
  // As the writers take a typed text, and 255 characters at most.
  const auto fitted = FitTypedText(text);
  if (!fitted) return Refusal(fitted.error());
  const std::string written_text = CutToCharacters(fitted->text, kMaxTypedCharacters);
  if (written_text.empty()) return Refusal(kNoText);
  const auto& [tx, ty, h, w] = *v;
  return Built(TextFields{tx, ty, written_text, h, w, a}, colour, thickness, result);
}

void PropertiesDialogModel::Show() {
  change_colour = change_thickness = change_height = change_width = false;
  result.reset();
}

void PropertiesDialogModel::ThicknessEdited(std::string text) {
  thickness_text = std::move(text);
  change_thickness = true;
}

void PropertiesDialogModel::HeightEdited(std::string text) {
  height_text = std::move(text);
  change_height = true;
}

void PropertiesDialogModel::WidthEdited(std::string text) {
  width_text = std::move(text);
  change_width = true;
}

void PropertiesDialogModel::ColourDialogClosed(std::optional<Colour> chosen) {
  if (chosen) colour = *chosen;
  change_colour = true;
}

DialogResult<PropertyChange> PropertiesDialogModel::Apply() {
  result.reset();
  if (!change_colour && !change_thickness && !change_height && !change_width) {
    return Refusal("");
  }
  const auto v = FieldNumbers<3>({&thickness_text, &height_text, &width_text});
  if (!v) return std::unexpected(v.error());
  PropertyChange change;
  change.colour = change_colour;
  change.thickness = change_thickness;
  change.height = change_height;
  change.width = change_width;
  change.colour_value = colour;
  change.thickness_value = static_cast<float>((*v)[0]);
  change.height_value = static_cast<float>((*v)[1]);
  change.width_value = static_cast<float>((*v)[2]);
  result = change;
  return change;
}

}  // namespace blok
