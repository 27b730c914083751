#include "ui/library_catalogue.h"

#include <sys/stat.h>

#include <QIODevice>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/block_file.h"
#include "document/library_rules.h"
#include "document/text_file.h"
#include "ui/painter_canvas.h"
#include "view/renderer.h"
#include "view/stroke_font.h"

namespace blok {
namespace {

// Device pixels of the PDF: fine enough that the stroke font's whole-pixel steps do not show.
constexpr int kDotsPerInch = 600;
constexpr double kPixelsPerMm = kDotsPerInch / 25.4;

constexpr Colour kInk = 0x000000;
constexpr Colour kGrey = 0x707070;
constexpr Colour kFrameGrey = 0xB4B4B4;

// Labels are drawn in pixels: at this scale one world unit is one pixel.
constexpr double kLabelScale = 1000;
// The stroke font's letters are this much wider per unit of width than TextLength estimates.
constexpr double kLabelLengthFactor = 12.0 / 11.8;

int Mm(double mm) { return static_cast<int>(std::lround(mm * kPixelsPerMm)); }

Result<int> GridCount(std::string_view option, std::string_view what, std::string_view text,
                      int most) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > most) {
    return Fail(std::string(option) + ": " + std::string(what) + " musi być liczbą od 1 do " +
                std::to_string(most) + ", a nie „" + std::string(text) + "”");
  }
  return value;
}

bool HasPdfExtension(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  std::ranges::transform(extension, extension.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".pdf";
}

// "1 blok", "3 bloki", "12 bloków", "22 bloki".
std::string BlockCount(size_t n) {
  const size_t tens = n % 100;
  const size_t ones = n % 10;
  const char* word = n == 1                                                 ? "blok"
                     : (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14)) ? "bloki"
                                                                            : "bloków";
  return std::to_string(n) + " " + word;
}

// The library's last change, local time: the catalogue shows the library as it was then.
std::string ChangeTime(const std::filesystem::path& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return {};
  std::tm local{};
  localtime_r(&info.st_mtime, &local);
  char buffer[32];
  std::strftime(buffer, sizeof(buffer), "%Y-%m-%d %H:%M", &local);
  return buffer;
}

enum class Align { kLeft, kCentre, kRight };

// A line of stroke-font text, letters height pixels high, on a baseline; narrowed to fit
// max_width, and cut short with "..." when even narrowed it does not.
class Labeller {
 public:
  Labeller(Canvas& canvas, const StrokeFont& font) : canvas_(canvas), font_(font) {}

  void Draw(std::string text, Colour colour, double height, int x, int baseline, int max_width,
            Align align) {
    double width = 0.8 * height;
    const double narrowest = 0.55 * height;
    if (const double length = Length(text, width); length > max_width) {
      width = std::max(narrowest, width * max_width / length);
    }
    if (Length(text, width) > max_width) {
      while (!text.empty() && Length(text + "...", width) > max_width) {
        // Whole characters only: a UTF-8 sequence is never split.
        size_t cut = text.size() - 1;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        text.erase(cut);
      }
      text += "...";
    }
    const int length = static_cast<int>(Length(text, width));
    const int left = align == Align::kLeft     ? x
                     : align == Align::kCentre ? x + (max_width - length) / 2
                                               : x + max_width - length;
    const int pen = std::max(2, static_cast<int>(height / 12));
    DrawText(canvas_, font_, text, colour, pen, height, width, 0, left, baseline, kLabelScale);
  }

 private:
  double Length(std::string_view text, double width) const {
    return TextLength(font_, text, width) * kLabelLengthFactor;
  }

  Canvas& canvas_;
  const StrokeFont& font_;
};

// Where everything goes on a page, in device pixels.
struct PageLayout {
  int width, height;
  int left, right;  // the printed area
  int title_baseline;
  int header_rule;
  int grid_top, grid_bottom;
  int footer_rule;
  int footer_baseline;
  double title_height, footer_height;
  double cell_width, cell_height;
  int gap;  // between tiles
  double name_height, unit_height;
  int label_room;  // below a tile's frame: name and unit

  PageLayout(int page_width, int page_height, int columns, int rows)
      : width(page_width), height(page_height) {
    left = Mm(14);
    right = width - Mm(14);
    title_height = Mm(5);
    footer_height = Mm(2.6);
    title_baseline = Mm(12) + static_cast<int>(title_height);
    header_rule = title_baseline + Mm(3);
    grid_top = header_rule + Mm(4);
    footer_baseline = height - Mm(11);
    footer_rule = footer_baseline - static_cast<int>(footer_height) - Mm(2.5);
    grid_bottom = footer_rule - Mm(3);
    cell_width = double(right - left) / columns;
    cell_height = double(grid_bottom - grid_top) / rows;
    gap = static_cast<int>(std::min<double>(Mm(4), 0.08 * cell_width));
    name_height =
        std::clamp(std::min(cell_width / 16, cell_height / 11), double(Mm(1.3)), double(Mm(3)));
    unit_height = 0.8 * name_height;
    label_room = static_cast<int>(name_height * 1.7 + unit_height * 1.7);
  }
};

// The output written through a FileReplacement: the PDF goes to a temporary file beside it.
class ReplacementDevice : public QIODevice {
 public:
  explicit ReplacementDevice(FileReplacement& replacement) : replacement_(replacement) {
    open(QIODevice::WriteOnly);
  }
  const std::optional<Error>& failure() const { return failure_; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    if (failure_) return -1;
    auto written = replacement_.Write({data, static_cast<size_t>(size)});
    if (!written) {
      failure_ = written.error();
      return -1;
    }
    return size;
  }

 private:
  FileReplacement& replacement_;
  std::optional<Error> failure_;
};

struct Catalogue {
  std::string title;
  std::string footer;  // the library's file name and date
  std::vector<ListedBlock> tiles;
  int columns, rows;
};

void DrawTile(QPainter& painter, const PageLayout& layout, const ListedBlock& tile, int x, int y,
              const StrokeFont& font) {
  const int width = static_cast<int>(layout.cell_width) - layout.gap;
  const int height = static_cast<int>(layout.cell_height) - layout.gap;
  const int frame_bottom = y + height - layout.label_room;
  const int pad = std::max(Mm(1.2), std::min(width, frame_bottom - y) / 25);
  const int box_width = width - 2 * pad;
  const int box_height = frame_bottom - y - 2 * pad;
  if (box_width > 0 && box_height > 0) {
    // A text longer than its estimate must not run into the next tile.
    painter.save();
    painter.translate(x + pad, y + pad);
    painter.setClipRect(0, 0, box_width, box_height);
    PainterCanvas canvas(painter);
    const std::vector<ParsedEntity> records = ParseLines(tile.block->lines);
    ViewTransform view;
    FitPicture(view, ComputeExtents(records, font), box_width, box_height, 0.92);
    DrawPlainBlock(canvas, view, records, font);
    painter.restore();
  }
  PainterCanvas canvas(painter);
  canvas.SetPenColour(kFrameGrey);
  canvas.SetPenWidth(Mm(0.2));
  canvas.SetBrushStyle(BrushStyle::kClear);
  canvas.Rectangle(x, y, x + width, frame_bottom);
  Labeller labels(canvas, font);
  const int name_baseline = frame_bottom + static_cast<int>(layout.name_height * 1.45);
  labels.Draw(tile.block->name, kInk, layout.name_height, x, name_baseline, width, Align::kCentre);
  std::string unit = "jednostka: " + tile.block->unit;
  if (tile.records > 1) unit += ", zapisany " + std::to_string(tile.records) + " razy";
  labels.Draw(unit, kGrey, layout.unit_height, x,
              name_baseline + static_cast<int>(layout.unit_height * 1.6), width, Align::kCentre);
}

void DrawPage(QPainter& painter, const PageLayout& layout, const Catalogue& catalogue, int page,
              int pages, const StrokeFont& font) {
  const size_t per_page = static_cast<size_t>(catalogue.columns) * catalogue.rows;
  const size_t first = static_cast<size_t>(page) * per_page;
  const size_t end = std::min(catalogue.tiles.size(), first + per_page);
  for (size_t i = first; i < end; ++i) {
    const size_t at = i - first;
    const int column = static_cast<int>(at % catalogue.columns);
    const int row = static_cast<int>(at / catalogue.columns);
    DrawTile(painter, layout, catalogue.tiles[i],
             layout.left + static_cast<int>(column * layout.cell_width) + layout.gap / 2,
             layout.grid_top + static_cast<int>(row * layout.cell_height) + layout.gap / 2, font);
  }
  PainterCanvas canvas(painter);
  Labeller labels(canvas, font);
  const int printed = layout.right - layout.left;
  const std::string count = BlockCount(catalogue.tiles.size());
  const double count_height = layout.footer_height * 1.2;
  const int count_room =
      static_cast<int>(TextLength(font, count, 0.8 * count_height) * kLabelLengthFactor + Mm(4));
  labels.Draw(catalogue.title, kInk, layout.title_height, layout.left, layout.title_baseline,
              printed - count_room, Align::kLeft);
  labels.Draw(count, kGrey, count_height, layout.left, layout.title_baseline, printed,
              Align::kRight);
  if (catalogue.tiles.empty()) {
    labels.Draw("Plik nie zawiera bloków.", kGrey, layout.title_height * 0.7, layout.left,
                layout.grid_top + Mm(20), printed, Align::kCentre);
  }
  canvas.SetPenColour(kInk);
  canvas.SetPenWidth(Mm(0.25));
  canvas.Line(layout.left, layout.header_rule, layout.right, layout.header_rule);
  canvas.SetPenColour(kFrameGrey);
  canvas.Line(layout.left, layout.footer_rule, layout.right, layout.footer_rule);
  const std::string number = "Strona " + std::to_string(page + 1) + " z " + std::to_string(pages);
  const int number_room = static_cast<int>(
      TextLength(font, number, 0.8 * layout.footer_height) * kLabelLengthFactor + Mm(4));
  labels.Draw(catalogue.footer, kGrey, layout.footer_height, layout.left, layout.footer_baseline,
              printed - number_room, Align::kLeft);
  labels.Draw(number, kGrey, layout.footer_height, layout.left, layout.footer_baseline, printed,
              Align::kRight);
}

}  // namespace

Result<void> MakeCatalogue(const CatalogueRequest& request, const StrokeFont& font) {
  const auto columns =
      GridCount("--columns", "liczba kolumn", request.columns, kMaxCatalogueColumns);
  if (!columns) return std::unexpected(columns.error());
  const auto rows = GridCount("--rows", "liczba wierszy", request.rows, kMaxCatalogueRows);
  if (!rows) return std::unexpected(rows.error());
  if (!HasPdfExtension(request.output)) {
    return Fail("katalog bloków to plik PDF: nazwa " + request.output.string() +
                " powinna kończyć się na .pdf");
  }
  std::error_code ec;
  if (std::filesystem::equivalent(request.library, request.output, ec)) {
    return Fail("nie można zapisać katalogu w pliku bloków, z którego powstaje: " +
                request.library.string());
  }
  const auto blocks = WczytajWszystkieBloki(request.library);
  if (!blocks) return std::unexpected(blocks.error());

  Catalogue catalogue{
      .title = request.title.value_or(request.library.filename().string()),
      .footer = request.library.filename().string(),
      .tiles = BlocksAsListed(*blocks),
      .columns = *columns,
      .rows = *rows,
  };
  if (const std::string changed = ChangeTime(request.library); !changed.empty()) {
    catalogue.footer += ", zmieniony " + changed;
  }
  const size_t per_page = static_cast<size_t>(*columns) * *rows;
  const int pages =
      static_cast<int>(std::max<size_t>(1, (catalogue.tiles.size() + per_page - 1) / per_page));

  // A PDF has no reason to be small enough to read back as a text file.
  auto replacement =
      FileReplacement::Begin(request.output, {.limit = std::numeric_limits<std::uintmax_t>::max()});
  if (!replacement) return std::unexpected(replacement.error());
  ReplacementDevice device(*replacement);
  {
    QPdfWriter writer(&device);
    writer.setResolution(kDotsPerInch);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(QString::fromStdString(catalogue.title));
    writer.setCreator(QStringLiteral("blk"));
    QPainter painter;
    if (!painter.begin(&writer)) return Fail("Nie można zapisać pliku " + request.output.string());
    const PageLayout layout(writer.width(), writer.height(), *columns, *rows);
    for (int page = 0; page < pages; ++page) {
      if (page > 0) writer.newPage();
      DrawPage(painter, layout, catalogue, page, pages, font);
      // The replacement is not committed: the output stays as it was.
      if (request.progress && !request.progress(page + 1, pages)) {
        return Fail(std::string(kExportCancelled));
      }
    }
    if (!painter.end() && !device.failure()) {
      return Fail("Nie można zapisać pliku " + request.output.string());
    }
  }
  if (device.failure()) return std::unexpected(*device.failure());
  return replacement->Commit();
}

}  // namespace blok
