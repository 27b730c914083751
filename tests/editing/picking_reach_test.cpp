#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editing/picking.h"
#include "support/editing_support.h"
#include "support/random_drawing.h"

namespace blok {
namespace {

// A pass that asks the compact box first skips the entity when it says no: it may say no only
// where the record's own test does, whatever the reach has narrowed to.
TEST(ReachTestByCompactBox, NeverRefusesWhatTheRecordMayReach) {
  std::mt19937 random(17);
  std::uniform_int_distribution<int> pixel(-20, 1020);
  std::uniform_real_distribution<float> reach(0, 120);
  const std::vector<std::string> lines = blok::testing::RandomLines(random, 300);
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
