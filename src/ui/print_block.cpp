#include "ui/print_block.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "model/numbers.h"
#include "model/unit.h"
#include "ui/painter_canvas.h"
#include "ui/qt_text.h"
#include "view/renderer.h"
#include "view/view_transform.h"

namespace blok {

TDrukowanie::TDrukowanie(QWidget* parent) : QDialog(parent) {
  setObjectName("Drukowanie");
  setWindowTitle("Drukuj");
  fit_ = new QRadioButton("Dopasuj do strony", this);
  fit_->setObjectName("RBDopasuj");
  one_to_ = new QRadioButton("Skala 1:", this);
  one_to_->setObjectName("RBSkala");
  n_ = new QLineEdit("100", this);
  n_->setObjectName("ESkala");
  n_->setToolTip("N: jednostka bloku to 1/N tej jednostki na papierze");
  fit_->setChecked(true);
  n_->setEnabled(false);
  connect(one_to_, &QRadioButton::toggled, n_, &QLineEdit::setEnabled);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("BOK");
  buttons->button(QDialogButtonBox::Ok)->setText("Podgląd wydruku");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("BAnuluj");
  buttons->button(QDialogButtonBox::Cancel)->setText("Anuluj");
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (scale()) accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // A scale that is no number keeps the dialog open.
  connect(n_, &QLineEdit::textChanged, this, [this, buttons] {
    buttons->button(QDialogButtonBox::Ok)->setEnabled(scale().has_value());
  });

  auto* scale_row = new QHBoxLayout;
  scale_row->addWidget(one_to_);
  scale_row->addWidget(n_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fit_);
  layout->addLayout(scale_row);
  layout->addWidget(buttons);
}

std::optional<PrintScale> TDrukowanie::scale() const {
  if (fit_->isChecked()) return PrintScale{};
  const auto n = ParseNumber(S(n_->text()));
  if (!n || !(*n > 0)) return std::nullopt;
  return PrintScale{*n};
}

double PixelsPerMm(const QPaintDevice& device) {
  return device.width() / static_cast<double>(device.widthMM());
}

void PaintBlockPage(QPainter& painter, int width, int height, double pixels_per_mm,
                    const PrintedBlock& block, const PrintScale& scale, const StrokeFont& font) {
  // The stamp: four lines of the platform font in a frame in the bottom right corner.
  const Unit* unit = FindUnit(block.unit);
  const QString scale_text =
      scale.one_to ? "1:" + Q(FormatPattern(*scale.one_to, kValuePattern, kWorkingSeparator))
                   : QString("dopasowana do strony");
  const QStringList stamp = {
      "Blok: " + (block.name.empty() ? QString("(bez nazwy)") : Q(block.name)),
      "Jednostka: " + Q(block.unit), "Skala: " + scale_text, "Data: " + Q(block.date)};
  QFont stamp_font("Sans");
  stamp_font.setPixelSize(std::max(8, static_cast<int>(3 * pixels_per_mm)));
  painter.setFont(stamp_font);
  const QFontMetrics metrics(stamp_font, painter.device());
  int stamp_width = 0;
  for (const QString& line : stamp) {
    stamp_width = std::max(stamp_width, metrics.horizontalAdvance(line));
  }
  const int pad = static_cast<int>(2 * pixels_per_mm);
  stamp_width += 2 * pad;
  const int stamp_height = static_cast<int>(stamp.size()) * metrics.lineSpacing() + 2 * pad;
  const QRect frame(width - stamp_width, height - stamp_height, stamp_width - 1, stamp_height - 1);

  // The block above the stamp, so that a fitted drawing never runs under it.
  const int drawn_height = std::max(1, frame.top() - pad);
  ViewTransform view;
  const DrawingExtents extents = ComputeExtents(block.records, font);
  FitPicture(view, extents, width, drawn_height, 0.95);
  if (scale.one_to && unit != nullptr) {
    const double pixels_per_unit = unit->millimetres / *scale.one_to * pixels_per_mm;
    view.SetScale(1000 / pixels_per_unit);
  }
  painter.save();
  painter.setClipRect(0, 0, width, drawn_height);
  PainterCanvas canvas(painter);
  ReadingDefaults defaults;
  DrawEntities(canvas, view, block.records, font, defaults);
  painter.restore();

  painter.setPen(QPen(Qt::black, std::max(1.0, 0.25 * pixels_per_mm)));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(frame);
  int baseline = frame.top() + pad + metrics.ascent();
  for (const QString& line : stamp) {
    painter.drawText(frame.left() + pad, baseline, line);
    baseline += metrics.lineSpacing();
  }
}

}  // namespace blok
