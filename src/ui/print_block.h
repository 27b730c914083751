#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <optional>
#include <span>
#include <string>

#include "model/parsed_entity.h"
#include "view/stroke_font.h"

namespace blok {

// How the block goes onto the page: fitted, or 1:N in its own unit (1 unit of the block is
// 1/N of that unit on paper).
struct PrintScale {
  std::optional<double> one_to;  // N; nothing: fitted to the page
};

// What is printed: the block being edited, as the view draws it.
struct PrintedBlock {
  std::string name;
  std::string unit;
  std::span<const ParsedEntity> records;
  std::string date;  // "2026-12-09", in the corner stamp
};

// The scale question before the preview: "Dopasuj do strony" or "Skala 1:N".
class TDrukowanie : public QDialog {
  Q_OBJECT

 public:
  explicit TDrukowanie(QWidget* parent);
  // The scale chosen; nothing while N is no number above zero.
  std::optional<PrintScale> scale() const;

 private:
  QRadioButton* fit_;
  QRadioButton* one_to_;
  QLineEdit* n_;
};

// Device pixels per millimetre of the paper the painter draws on.
double PixelsPerMm(const QPaintDevice& device);

// The block on a page of width x height device pixels: drawn with the view's renderer (its
// thicknesses as on the screen at that scale), centred in the page above the stamp in the
// bottom right corner that names the block, its unit, the scale and the date.
void PaintBlockPage(QPainter& painter, int width, int height, double pixels_per_mm,
                    const PrintedBlock& block, const PrintScale& scale, const StrokeFont& font);

}  // namespace blok
