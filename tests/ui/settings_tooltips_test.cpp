// The settings bar's short captions explain themselves in a tooltip, on the control and on the
// caption before it alike.
#include <gtest/gtest.h>

#include <QLabel>

#include "ui/window_fixture.h"

namespace blok {
namespace {

class SettingsTooltipsTest : public testing::WindowTest {};

TEST_F(SettingsTooltipsTest, CrypticControlsHaveTooltips) {
  const struct {
    const char* control;
    const char* label;  // the caption before it, none where the control has its own
  } cases[] = {
      {"CB_PunktBazowy", nullptr}, {"CB_RysujSiatka", nullptr},
      {"CB_SiatkaKrok", "krok"},   {"CB_SiatkaRozmiar", "rozmiar"},
      {"CBGrubosci", "grub."},     {"CB_HTekstu", "h"},
      {"CB_STekstu", "s"},
  };
  auto* bar = Find<QWidget>("PanelUstawienia");
  ASSERT_NE(bar, nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.control);
    auto* control = Find<QWidget>(c.control);
    ASSERT_NE(control, nullptr);
    EXPECT_FALSE(control->toolTip().trimmed().isEmpty());
    if (c.label == nullptr) continue;
    int found = 0;
    for (QLabel* label : bar->findChildren<QLabel*>()) {
      if (label->text() != c.label) continue;
      ++found;
      EXPECT_EQ(label->toolTip(), control->toolTip());
    }
    EXPECT_EQ(found, 1);
  }
}

}  // namespace
}  // namespace blok
