#include "diff_pictures.h"

#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

#include "cli.h"
#include "model/entity_visit.h"
#include "render.h"
#include "ui/painter_canvas.h"
#include "view/renderer.h"
#include "view/view_transform.h"

namespace blok {
namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr Colour kRemoved = 0x0000FF, kAdded = 0x00A000, kKept = 0x000000;  // 0x00BBGGRR

// The shapes of both versions, each in the colour of its fate and with the thickness in force
// at its line; colour and thickness commands go, having been applied. The pass draws the first
// records last: what was removed lies on top, then what was added, then what stayed, so that no
// change hides under a line it replaced.
std::vector<ParsedEntity> ColouredRecords(const BlockChange& change) {
  const std::vector<DrawingLine> lines = CompareDrawings(change.before.lines, change.after.lines);
  std::vector<std::pair<LineFate, ParsedEntity>> shapes;
  ReadingDefaults in_force;
  // A thickness command rules the lines above it: walk up from the last line.
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    const Colour colour = line->fate == LineFate::kRemoved ? kRemoved
                          : line->fate == LineFate::kAdded ? kAdded
                                                           : kKept;
    ParsedEntity entity = ParseEntity(line->text);
    bool shape = true;
    const auto paint = [&](auto& record) {
      record.colour = colour;
      record.thickness = ResolveThickness(record.thickness, in_force);
    };
    VisitEntityToChange(entity, Overloaded{
                                    [&](MutableLineEntity e) { paint(e.segment); },
                                    [&](MutableRectangleEntity e) { paint(e.segment); },
                                    [&](CircleRecord& r) { paint(r); },
                                    [&](ArcRecord& r) { paint(r); },
                                    [&](TextRecord& r) { paint(r); },
                                    [&](ColourRecord&) { shape = false; },
                                    [&](ThicknessRecord& r) {
                                      in_force.thickness = r.thickness;
                                      shape = false;
                                    },
                                });
    if (shape && entity.valid()) shapes.emplace_back(line->fate, std::move(entity));
  }
  std::vector<ParsedEntity> records;
  for (const LineFate fate : {LineFate::kRemoved, LineFate::kAdded, LineFate::kKept}) {
    for (auto& [its_fate, entity] : shapes) {
      if (its_fate == fate) records.push_back(std::move(entity));
    }
  }
  return records;
}

struct Painting {
  OffscreenPainting painting;
  std::unique_ptr<StrokeFont> font;
};

}  // namespace

cli::DiffPictureWriter DiffPictures(const std::filesystem::path& font_file) {
  auto state = std::make_shared<std::unique_ptr<Painting>>();
  return [state, font_file](const std::filesystem::path& png,
                            const BlockChange& change) -> Result<void> {
    if (!*state) {
      auto painting = std::make_unique<Painting>();
      auto font = cli::LoadPaintingFont(font_file);
      if (!font) return std::unexpected(font.error());
      painting->font = std::move(*font);
      *state = std::move(painting);
    }
    const StrokeFont& font = *(*state)->font;
    const std::vector<ParsedEntity> records = ColouredRecords(change);
    ViewTransform view;
    FitPicture(view, ComputeExtents(records, font), kWidth, kHeight);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    {
      QPainter painter(&image);
      PainterCanvas canvas(painter);
      DrawPlainBlock(canvas, view, records, font);
    }
    if (!image.save(QString::fromStdString(png.string()), "PNG")) {
      return Fail("Nie można zapisać pliku " + png.string());
    }
    return {};
  };
}

}  // namespace blok
