#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document/drawing.h"
#include "interaction/snap.h"
#include "support/editing_support.h"
#include "support/recording_canvas.h"

namespace blok {
namespace {

using ::blok::testing::RecordingCanvas;

// A crowded drawing of every kind, colour and thickness commands and a line that does not read
// among them, so that the cursor has many entities near it at every zoom.
std::vector<std::string> CrowdedLines(std::mt19937& random) {
  std::uniform_real_distribution<double> where(-4, 4);
  std::uniform_real_distribution<double> size(0, 2);
  std::uniform_int_distribution<int> kind(0, 6);
  std::uniform_int_distribution<int> angle(0, 359);
  const auto n = [](double v) { return std::to_string(v); };
  std::vector<std::string> lines;
  for (int i = 0; i < 400; ++i) {
    const double x = where(random), y = where(random), s = size(random), t = size(random);
    switch (kind(random)) {
      case 0:
        lines.push_back("L(" + n(x) + "," + n(y) + ")-(" + n(x + s - 2) + "," + n(y + t - 2) + ")");
        break;
      case 1:
        lines.push_back("P(" + n(x) + "," + n(y) + ")-(" + n(x + s) + "," + n(y - t) + ")");
        break;
      case 2:
        lines.push_back("O(" + n(x) + "," + n(y) + "," + n(s) + ")");
        break;
      case 3:
        lines.push_back("LUK(" + n(x) + "," + n(y) + "," + n(s) + "," +
                        std::to_string(angle(random)) + "," + std::to_string(angle(random)) + ")");
        break;
      case 4:
        lines.push_back("T(" + n(x) + "," + n(y) + ",'Opis'," + n(s) + "," + n(t) + "," +
                        std::to_string(angle(random)) + ")");
        break;
      case 5:
        lines.push_back(i % 2 == 0 ? "K(255,0,0)" : "GR(0.5)");
        break;
      default:
        lines.push_back("L(" + n(x) + ",");
    }
  }
  return lines;
}

struct SwitchCase {
  const char* name;
  SnapSettings settings;
};

const SwitchCase kSwitches[] = {
    {"Crossing", {.intersection = true}},
    {"EndsAndCentres", {.end = true, .centre = true}},
    {"FirstFour", {.end = true, .middle = true, .centre = true, .intersection = true}},
    {"AllEight",
     {.end = true,
      .middle = true,
      .centre = true,
      .intersection = true,
      .perpendicular = true,
      .tangent = true,
      .nearest = true,
      .quadrant = true}},
};

// The drawing's compact boxes only spare the records of far entities: the snap and the point
// taken are those of the records alone, at every zoom and for every set of switches.
TEST(SnapOverDrawing, CatchesWhatTheRecordsAloneCatch) {
  std::mt19937 random(41);
  Drawing drawing;
  drawing.Load(CrowdedLines(random));
  const auto records = drawing.records();
  std::uniform_int_distribution<int> pixel(-20, 1020);
  const OrthoReference last{{1.5, -2.5}, true};
  int caught = 0;
  for (const double scale : {1.0, 24.0, 60.0}) {
    ViewTransform view;
    view.SetViewSize(1000, 1000);
    view.SetScale(scale);
    for (int probe = 0; probe < 500; ++probe) {
      const int x = pixel(random), y = pixel(random);
      for (const SwitchCase& c : kSwitches) {
        const WynikSnapu alone = SzukajSnapu(records, view, StrokeFont{}, c.settings, x, y, last);
        const WynikSnapu boxed = SzukajSnapu(drawing, view, StrokeFont{}, c.settings, x, y, last);
        const auto where = [&] {
          return std::string(c.name) + " scale " + std::to_string(scale) + " at " +
                 std::to_string(x) + "," + std::to_string(y);
        };
        ASSERT_EQ(boxed.found, alone.found) << where();
        caught += alone.found ? 1 : 0;
        if (!alone.found) continue;
        ASSERT_EQ(boxed.kind, alone.kind) << where();
        ASSERT_EQ(boxed.point.x, alone.point.x) << where();
        ASSERT_EQ(boxed.point.y, alone.point.y) << where();
        RecordingCanvas first, second;
        const Point p = PunktWskazany(first, records, view, StrokeFont{}, c.settings, last, x, y);
        const Point q = PunktWskazany(second, drawing, view, StrokeFont{}, c.settings, last, x, y);
        ASSERT_EQ(p.x, q.x) << where();
        ASSERT_EQ(p.y, q.y) << where();
      }
    }
  }
  // The drawing is crowded enough that the comparison is mostly of snaps caught.
  EXPECT_GT(caught, 400);
}

}  // namespace
}  // namespace blok
