#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "model/entity.h"

namespace blok {

// The kind of an entity command, judged on TrimLineStart(line) by its first characters.
EntityKind ClassifyLine(std::string_view line);

// One reader per kind; each expects a line that ClassifyLine gave its kind. A reader never
// fails to its caller: an unreadable body clears the record's valid flag, an unreadable tail
// field falls back to the defaults.
SegmentRecord ReadSegment(std::string_view line, const ReadingDefaults& defaults);
CircleRecord ReadCircle(std::string_view line, const ReadingDefaults& defaults);
ArcRecord ReadArc(std::string_view line, const ReadingDefaults& defaults);
TextRecord ReadText(std::string_view line, const ReadingDefaults& defaults);
ColourRecord ReadColourCommand(std::string_view line, const ReadingDefaults& defaults);
ThicknessRecord ReadThicknessCommand(std::string_view line, const ReadingDefaults& defaults);

// Classifies the line and reads it with the reader of its kind; monostate for a line of no kind.
using EntityRecord = std::variant<std::monostate, SegmentRecord, CircleRecord, ArcRecord,
                                  TextRecord, ColourRecord, ThicknessRecord>;
EntityRecord ReadEntity(std::string_view line, const ReadingDefaults& defaults);

// Whether a record read by ReadEntity is valid (monostate never is).
bool IsValid(const EntityRecord& record);

// "K(r,g,b)" with the three bytes of the colour, lowest first.
std::string FormatColour(Colour colour);

// ";K(r,g,b);GR(thickness)": the colour and thickness written behind an entity's body.
std::string StyleTail(Colour colour, std::string_view thickness);
// The same, written at the end of out.
void AppendStyleTail(std::string& out, Colour colour, std::string_view thickness);

}  // namespace blok
