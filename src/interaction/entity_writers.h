#pragma once

// The writers that turn collected points, radius, angles and a typed text into entity lines.
// They decide what to add and what to say; WriteEntityLine builds the lines, and the caller adds
// them through the journal.
//
// A writer never produces a line that the readers would take for something else or that a save
// would cut: a number at or beyond kLargestWritten, a line break, a text that would not read
// back as typed, or a line of more than 255 characters is refused with the writer's message.

#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/geometry.h"
#include "model/entity.h"
#include "model/entity_writer.h"

namespace blok {

// The main window's current colour swatch and the CBGrubosci text as shown ("0,10").
struct EntityStyle {
  Colour colour = 0;
  std::string thickness_text = "0,10";
};

// What a writer makes: the entity lines to add, in the order to add them (each its own journal
// record), and the message for the message pane. No lines: refused (the message says why).
// error: a message-box text when a value could not be converted at all (the text size boxes).
struct WriterResult {
  std::vector<std::string> lines;
  std::string message;
  std::optional<std::string> error;
};

// A text the user typed, as it goes into an entity line. A straight apostrophe would end the
// text's quotes, so the blanks after it would be lost on reading: it becomes ’ (U+2019, which
// the code page holds), and note says so. A character the code page cannot hold refuses the
// text: the error names it and its code point, and what was typed is left to be corrected.
struct TypedText {
  std::string text;
  std::string note;
};
std::expected<TypedText, std::string> FitTypedText(std::string_view typed);
// Why text typed into the drawing cannot be saved as typed ("Tekst zawiera znak „☃” (U+2603),
// którego nie ma w stronie kodowej 1250."), or nothing.
std::optional<std::string> TypedTextProblem(std::string_view typed);
// Why a text entity's line could not be written, for the user.
std::string UnwrittenText(std::string_view text, LineRefusal why);
inline constexpr std::string_view kNoText = "Tekst jest pusty.";
inline constexpr std::string_view kLineTooLong = "Linia obiektu byłaby dłuższa niż 255 znaków.";

WriterResult DodajLinie(Point p1, Point p2, const EntityStyle& style);
WriterResult DodajProstokat(Point p1, Point p2, const EntityStyle& style);
WriterResult DodajOkrag(Point p0, float r, const EntityStyle& style);
// The start and end (radians, counter-clockwise) DodajLuk writes for two directions: as given,
// or with a positive side the sweep of at most half a turn between them.
struct ArcSweep {
  float start, end;
};
ArcSweep WrittenArcSweep(float a1, float a2, double side);
// a1, a2 in radians (singles); side as the step machine computes it (typed angles pass 1).
WriterResult DodajLuk(Point p0, float r, float a1, float a2, double side, const EntityStyle& style);
// angle a1 in radians; height_text/width_text: the CB_HTekstu / CB_STekstu texts.
WriterResult DodajTekst(Point p0, float a1, std::string_view text, std::string_view height_text,
                        std::string_view width_text, const EntityStyle& style);

// The direct entries typed into the command line: "L(x1,y1)-(x2,y2)", "P(...)-(...)" (messages
// "Dodaj linię." / "Dodaj prostokat.", refusal "Nieprawidłowy zapis!") and "T(x,y)_text"
// ("Dodaj tekst.", refusal "Nieprawidłowy zapis").
WriterResult DirectSegment(std::string_view entry, const EntityStyle& style);
// "O(x,y,r)" and "LUK(x,y,r,a1,a2)", with or without ";K(r,g,b);GR(t)", read as the drawing
// is read and written as the o and a commands write them, the tail typed kept, else the colour
// and thickness in force ("Dodaj okrąg." / "Dodaj łuk."; an entry that does not read refused
// "Nieprawidłowy zapis!", a radius or sweep of nothing as the commands refuse it).
WriterResult DirectShape(std::string_view entry, const EntityStyle& style);
WriterResult DirectText(std::string_view entry, std::string_view height_text,
                        std::string_view width_text, const EntityStyle& style);

}  // namespace blok
