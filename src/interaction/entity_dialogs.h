#pragma once

// The models behind the entity dialogs (LinieEdycja, OkragEdycja, TekstyEdycja) and "Zmiana
// cech" (EdycjaCech): the fields as the forms show them, how a record fills them, and what the
// apply button makes of them. A form lives for the whole run, and so does its model: a field
// keeps its text between openings.
//
// Every number field takes "." and "," alike. A field that is still no number, or a line that
// would not come back from the file as it was entered, keeps the dialog open with a message.

#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "editing/transform.h"
#include "model/entity.h"

namespace blok {

// What an apply button makes: the value, or the text of a message box after which the dialog
// stays open (empty: it stays open without a word).
template <typename T>
using DialogResult = std::expected<T, std::string>;

// "\"abc\" nie jest poprawną liczbą.": the window's message for a field that is no number.
std::string NumberError(std::string_view field);

// The text dialog's thickness item that leaves the thickness to the drawing's GR( command: it
// is written as shown and reads as no number.
inline constexpr std::string_view kThicknessFromSize = "0.1*rozmiar";

// TLinieEdycja: a line or a rectangle.
struct LineDialogModel {
  std::string typ = "........";   // "L" or "P"
  int nr = -1;                    // the line edited; negative: the line is added
  std::string x1, y1, x2, y2;     // E_x1, E_y1, E_x2, E_y2
  Colour colour = 0;              // the swatch Shape
  std::string thickness = "0.1";  // CBGrubosci, written as shown
  // The line the last successful Apply built.
  std::optional<std::string> result;

  void Fill(const SegmentRecord& record, int index);
  // "Wprowadź". x1 is written "#############0.####", the other three "#############0.0###".
  DialogResult<std::string> Apply();
};

// TOkragEdycja: a circle (typ "O") or an arc (typ "L").
struct CircleDialogModel {
  std::string typ = "........";
  int nr = -1;
  std::string x, y, r;     // E_x1, E_y1, E_r
  std::string start, end;  // E_ks, E_kk: arc angles in degrees (GrupaKaty)
  Colour colour = 0;
  std::string thickness = "0.1";
  std::optional<std::string> result;

  // GrupaKaty is enabled for an arc only.
  bool arc() const { return typ == "L"; }
  // A circle leaves E_ks and E_kk as they were.
  void Fill(const CircleRecord& record, int index);
  void Fill(const ArcRecord& record, int index);
  // The arc's angles are written as entered: 300 to 30 is a legal arc across 0.
  DialogResult<std::string> Apply();
};

// The radio buttons of the group "Kąt obrotu".
enum class TextAngleChoice { kPoziom, kPion, kRecznie };  // RBPoziom, RBPion, RBRecznie

// TTekstyEdycja.
struct TextDialogModel {
  int nr = -1;
  std::string text;          // Tekst
  std::string x, y;          // E_X, E_y
  std::string height = "1";  // Rozmiar
  std::string width = "1";   // Szerokosc
  TextAngleChoice angle_choice = TextAngleChoice::kPoziom;
  std::string angle = "0";  // Kat, read for RBRecznie only
  Colour colour = 0;
  std::string thickness = "0.1";
  std::optional<std::string> result;

  // An angle of 0 or 90 (within 0.01) checks its button and leaves Kat as it was.
  void Fill(const TextRecord& record, int index);
  DialogResult<std::string> Apply();
};

// TEdycjaCech: which properties of the selection to change, and to what.
struct PropertiesDialogModel {
  bool change_colour = false;           // CB_Kol
  bool change_thickness = false;        // CB_Gr
  bool change_height = false;           // CB_Ht
  bool change_width = false;            // CB_St
  Colour colour = 0;                    // the swatch S_kol
  std::string thickness_text = "0,10";  // CBGrubosci
  std::string height_text = "0,60";     // CBHTekstu
  std::string width_text = "0,50";      // CBSTekstu
  std::optional<PropertyChange> result;

  // The form is shown: every box cleared, the values kept.
  void Show();
  // The user changed a combo's text: its box is checked.
  void ThicknessEdited(std::string text);
  void HeightEdited(std::string text);
  void WidthEdited(std::string text);
  // The colour dialog closed (nothing: cancelled). CB_Kol is checked either way.
  void ColourDialogClosed(std::optional<Colour> chosen);
  // "Wykonaj". Nothing checked: stays open without a word. All three combos must be numbers,
  // checked or not.
  DialogResult<PropertyChange> Apply();
};

}  // namespace blok
