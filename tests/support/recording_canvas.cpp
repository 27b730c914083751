#include "support/recording_canvas.h"

#include <ios>

#include "model/cp1250.h"

namespace blok::testing {
namespace {

std::vector<int> Flatten(std::span<const PixelPoint> points) {
  std::vector<int> ints;
  for (const PixelPoint& p : points) {
    ints.push_back(p.x);
    ints.push_back(p.y);
  }
  return ints;
}

const char* NameOf(CanvasCall::Kind kind) {
  using enum CanvasCall::Kind;
  switch (kind) {
    case kPenColour:
      return "PenColour";
    case kPenWidth:
      return "PenWidth";
    case kPenStyle:
      return "PenStyle";
    case kBrushColour:
      return "BrushColour";
    case kBrushStyle:
      return "BrushStyle";
    case kLine:
      return "Line";
    case kPolyline:
      return "Polyline";
    case kRectangle:
      return "Rectangle";
    case kEllipse:
      return "Ellipse";
    case kPolygon:
      return "Polygon";
    case kText:
      return "Text";
    case kFocusRectangle:
      return "FocusRectangle";
  }
  return "?";
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const CanvasCall& call) {
  out << NameOf(call.kind) << "(";
  for (std::size_t i = 0; i < call.ints.size(); ++i) out << (i ? "," : "") << call.ints[i];
  out << ") colour=0x" << std::hex << call.colour;
  if (call.background) out << " background=0x" << *call.background;
  out << std::dec;
  if (!call.text.empty()) out << " text=\"" << call.text << '"';
  return out << " pen=" << call.pen.width << (call.pen.style == PenStyle::kDotted ? " dotted" : "");
}

void RecordingCanvas::Record(CanvasCall::Kind kind, std::vector<int> ints, std::uint32_t colour) {
  CanvasCall call;
  call.kind = kind;
  call.ints = std::move(ints);
  call.colour = colour;
  call.pen = pen_;
  call.brush = brush_;
  calls_.push_back(std::move(call));
}

void RecordingCanvas::SetPenColour(std::uint32_t colour) {
  pen_.colour = colour;
  Record(CanvasCall::Kind::kPenColour, {}, colour);
}

void RecordingCanvas::SetPenWidth(int width) {
  pen_.width = width;
  Record(CanvasCall::Kind::kPenWidth, {width}, pen_.colour);
}

void RecordingCanvas::SetPenStyle(PenStyle style) {
  pen_.style = style;
  Record(CanvasCall::Kind::kPenStyle, {static_cast<int>(style)}, pen_.colour);
}

void RecordingCanvas::SetBrushColour(std::uint32_t colour) {
  brush_.colour = colour;
  Record(CanvasCall::Kind::kBrushColour, {}, colour);
}

void RecordingCanvas::SetBrushStyle(BrushStyle style) {
  brush_.style = style;
  Record(CanvasCall::Kind::kBrushStyle, {static_cast<int>(style)}, pen_.colour);
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2) {
  Record(CanvasCall::Kind::kLine, {x1, y1, x2, y2}, pen_.colour);
}

void RecordingCanvas::Polyline(std::span<const PixelPoint> points) {
  Record(CanvasCall::Kind::kPolyline, Flatten(points), pen_.colour);
}

void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Record(CanvasCall::Kind::kRectangle, {x1, y1, x2, y2}, pen_.colour);
}

void RecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Record(CanvasCall::Kind::kEllipse, {x1, y1, x2, y2}, pen_.colour);
}

void RecordingCanvas::Polygon(std::span<const PixelPoint> points) {
  Record(CanvasCall::Kind::kPolygon, Flatten(points), pen_.colour);
}

void RecordingCanvas::Text(int x, int y, std::string_view text, const TextStyle& style) {
  Record(CanvasCall::Kind::kText, {x, y, style.pixel_height}, style.colour);
  calls_.back().text = text;
  calls_.back().background = style.background;
}

int RecordingCanvas::TextWidth(std::string_view text, const TextStyle&) {
  return static_cast<int>(CharacterCount(text)) * kCharacterWidth;
}

void RecordingCanvas::FocusRectangle(int x1, int y1, int x2, int y2) {
  Record(CanvasCall::Kind::kFocusRectangle, {x1, y1, x2, y2}, pen_.colour);
}

std::vector<CanvasCall> RecordingCanvas::CallsOf(CanvasCall::Kind kind) const {
  std::vector<CanvasCall> found;
  for (const CanvasCall& call : calls_) {
    if (call.kind == kind) found.push_back(call);
  }
  return found;
}

std::vector<std::vector<int>> RecordingCanvas::Lines() const {
  std::vector<std::vector<int>> lines;
  for (const CanvasCall& call : calls_) {
    if (call.kind == CanvasCall::Kind::kLine) lines.push_back(call.ints);
  }
  return lines;
}

}  // namespace blok::testing
