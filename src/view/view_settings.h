#pragma once

#include <string>

namespace blok {

// The main window's settings that a full redraw reads, as the window holds them.
struct ViewSettings {
  bool grid_snap = false;             // CB_Siatka: draws the grid lines
  bool draw_grid = true;              // CB_RysujSiatka: draws the axes with their ticks and labels
  bool base_point = true;             // CB_PunktBazowy: the dot at the origin
  std::string grid_size_text = "10";  // CB_SiatkaRozmiar as typed; read at every redraw
  float grid_step = 1;                // kept by the window from CB_SiatkaKrok
};

}  // namespace blok
