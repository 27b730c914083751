#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "interaction/snap_kind.h"
#include "model/entity.h"

namespace blok {

// The settings controls of the main window as values. They live for one run only.
struct Settings {
  bool ortho = false;                // CB_Orto
  bool grid_snap = false;            // CB_Siatka
  bool draw_grid = true;             // CB_RysujSiatka
  bool snap_end = false;             // CB_Koniec
  bool snap_middle = false;          // CB_Srodek
  bool snap_intersection = false;    // CB_Przeciecie
  bool snap_centre = false;          // CB_Centrum
  std::string grid_step_text = "1";  // CB_SiatkaKrok as typed
  float grid_step = 1;
  std::string grid_size_text = "10";      // CB_SiatkaRozmiar; the redraw reads the text
  std::string thickness_text = "0,10";    // CBGrubosci; new entities read the text
  std::string text_height_text = "0,60";  // CB_HTekstu as typed
  float text_height = 0.6f;               // the last height that was a number
  std::string text_width_text = "0,50";   // CB_STekstu as typed
  float text_width = 0.5f;
  Colour colour = 0;                      // the swatch Shape
  bool base_point = true;                 // CB_PunktBazowy
  bool overwrite_without_asking = false;  // CB_NadpisujBlok

  // The snaps that follow the four above in the bar.
  bool snap_perpendicular = false;  // CB_Prosto
  bool snap_tangent = false;        // CB_Styczny
  bool snap_nearest = false;        // CB_Najblizszy
  bool snap_quadrant = false;       // CB_Kwadrant
};

// The grid step typed into its box, with either decimal separator: 1 when it is not a number
// (nor a single-precision one), 0.01 when it is below 0.01.
float GridStepFromText(std::string_view text);

// A text height or width typed into its box, with either decimal separator; nothing when it is
// not a number that fits a single-precision value.
std::optional<float> TextSizeFromText(std::string_view text);

}  // namespace blok
