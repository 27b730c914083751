#pragma once

#include <string>

#include "geometry/geometry.h"

namespace blok {

// A point whose x is this has not been entered.
inline constexpr double kUnsetCoordinate = -99999.0;
inline constexpr Point kUnsetPoint{kUnsetCoordinate, kUnsetCoordinate};

// The running command and its step as the "WSKAZ?" overlay and the tests read them, built from
// the command's typed state; the field names are those the overlay shows.
struct Wskaz {
  bool maOrto = false;     // ORTOJest holds a reference for ortho and the rubber band
  bool pokazStan = false;  // the state overlay is drawn; survives every reset
  bool szukaj = false;     // objects are being selected for MOVE, COPY, STRE, LUSTRO, OBROT, SZYK
  bool SzukTekst = false;  // the string of a text is awaited
  bool szukajP0 = false;   // centre, insertion point or base point awaited
  bool szukajP1 = false;   // first point awaited
  bool szukajP2 = false;   // second point or target point awaited
  bool szukajR = false;    // a radius awaited
  bool szukajA1 = false;   // start angle of an arc, angle of a text, rotation angle awaited
  bool szukajA2 = false;   // end angle of an arc awaited
  std::string Polecenie;   // "LINIA", "PROST", "OKRAG", "LUK", "TEKST", "MOVE", ... or empty
  Point ORTOJest = kUnsetPoint;
  Point p0 = kUnsetPoint;
  Point P1 = kUnsetPoint;
  Point P2 = kUnsetPoint;
  bool wybor = false;  // objects are being selected for SC, U or ED
  bool usun = false;   // U: objects to delete are being selected
  bool tnijKrawedz = false;
  bool tnijObiekt = false;
  bool fazuj2 = false;
  int obiekt1 = -1;
  int obiekt2 = -1;
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
