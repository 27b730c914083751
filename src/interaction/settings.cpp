#include "interaction/settings.h"

#include <cmath>
#include <limits>

#include "model/numbers.h"

namespace blok {
namespace {

constexpr float kSmallestGridStep = 0.01f;

// The number as a single, when it is one: a value beyond the single range is no setting.
std::optional<float> SingleFromText(std::string_view text) {
  const std::optional<double> value = ParseNumber(text, kWorkingSeparator);
  if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) return std::nullopt;
  return static_cast<float>(*value);
}

}  // namespace

float GridStepFromText(std::string_view text) {
  const std::optional<float> step = SingleFromText(text);
  if (!step) return 1;
  return *step < kSmallestGridStep ? kSmallestGridStep : *step;
}

std::optional<float> TextSizeFromText(std::string_view text) { return SingleFromText(text); }

}  // namespace blok
