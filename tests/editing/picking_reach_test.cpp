#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editing/picking.h"
#include "support/editing_support.h"

namespace blok {
namespace {

// A pass that asks the compact box first skips the entity when it says no: it may say no only
// where the record's own test does, whatever the reach has narrowed to.
TEST(ReachTestByCompactBox, NeverRefusesWhatTheRecordMayReach) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> where(-6, 6);
  std::uniform_real_distribution<double> size(0, 3);
  std::uniform_int_distribution<int> kind(0, 4);
  std::uniform_int_distribution<int> pixel(-20, 1020);
  std::uniform_real_distribution<float> reach(0, 120);
  const auto n = [](double v) { return std::to_string(v); };
  std::vector<std::string> lines;
  for (int i = 0; i < 300; ++i) {
    const double x = where(random), y = where(random), s = size(random), t = size(random);
    switch (kind(random)) {
      case 0:
        lines.push_back("L(" + n(x) + "," + n(y) + ")-(" + n(x + s) + "," + n(y - t) + ")");
        break;
      case 1:
        lines.push_back("P(" + n(x) + "," + n(y) + ")-(" + n(x + s) + "," + n(y + t) + ")");
        break;
      case 2:
        lines.push_back("O(" + n(x) + "," + n(y) + "," + n(s) + ")");
        break;
      case 3:
        lines.push_back("LUK(" + n(x) + "," + n(y) + "," + n(s) + ",30,120)");
        break;
      default:
        lines.push_back("T(" + n(x) + "," + n(y) + ",'Opis'," + n(s) + "," + n(t) + ",45)");
    }
  }
  const std::vector<ParsedEntity> records = blok::testing::Parse(lines);
  int reached = 0;
  for (const double scale : {2.0, 24.0}) {
    ViewTransform view;
    view.SetViewSize(1000, 1000);
    view.SetScale(scale);
    for (int probe = 0; probe < 100; ++probe) {
      ReachTest test(view, StrokeFont{}, pixel(random), pixel(random), kPairReach);
      for (const float narrowed : {kPairReach, reach(random), reach(random) / 20}) {
        test.Narrow(narrowed);
        for (const ParsedEntity& entity : records) {
          if (!test.MayReach(entity)) continue;
          ++reached;
          ASSERT_TRUE(test.MayReach(CompactBoxOf(entity))) << "reach " << narrowed;
        }
      }
    }
  }
  EXPECT_GT(reached, 1000);
}

}  // namespace
}  // namespace blok
