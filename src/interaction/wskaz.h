#pragma once

#include <string>

#include "geometry/geometry.h"

namespace blok {

// A point whose x is this has not been entered.
inline constexpr double kUnsetCoordinate = -99999.0;
inline constexpr Point kUnsetPoint{kUnsetCoordinate, kUnsetCoordinate};

// The running command and its step. The flags say what the command waits for; the field names
// are those the "WSKAZ?" overlay shows.
struct Wskaz {
  bool maOrto = false;     // ORTOJest holds a reference for ortho and the rubber band
  bool pokazStan = false;  // the state overlay is drawn; survives every reset
  bool szukaj = false;     // objects are being selected for MOVE, COPY, STRE or OBROT
  bool SzukTekst = false;  // the string of a text is awaited
  bool szukajP0 = false;   // centre, insertion point or rotation centre awaited
  bool szukajP1 = false;   // first point or base point awaited
  bool szukajP2 = false;   // second point or target point awaited
  bool szukajR = false;    // a radius awaited
  bool szukajA1 = false;   // start angle of an arc, angle of a text, rotation angle awaited
  bool szukajA2 = false;   // end angle of an arc awaited
  std::string Polecenie;   // "LINIA", "PROST", "OKRAG", "LUK", "TEKST", "MOVE", ... or empty
  Point ORTOJest = kUnsetPoint;
  Point p0 = kUnsetPoint;
  Point P1 = kUnsetPoint;
  Point P2 = kUnsetPoint;
  float R = 0;
  float A1 = 0;  // radians
  float A2 = 0;  // radians
  float odleglosc = 0;
  bool ramka = false;          // a selection rectangle is being dragged
  bool wybor = false;          // objects are being selected for SC, U or ED
  bool wskazObiekt = false;    // one object is to be picked (TR, W, OFFSET)
  bool edycja = false;         // ED: the object to edit is being picked
  bool usun = false;           // U: objects to delete are being selected
  bool odsunKierunek = false;  // OFFSET: the side is awaited
  bool skaluj = false;         // SC is running
  bool skalujBaza = false;     // SC: the base point is awaited
  bool tnijKrawedz = false;
  bool tnijObiekt = false;
  bool wydluzKrawedz = false;
  bool wydluzObiekt = false;
  bool fazuj1 = false;
  bool fazuj2 = false;
  int obiekt1 = -1;
  int obiekt2 = -1;
  Point punktKlikniecia = kUnsetPoint;
};

// The text being placed by "T": read by its preview and its writer.
struct TekstRoboczy {
  double x = 0;
  double y = 0;
  std::string text;
  float height = 0;
  float width = 0;
  float angle = 0;  // degrees
};

}  // namespace blok
