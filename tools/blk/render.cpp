#include "render.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <vector>

#include "cli.h"
#include "ui/painter_canvas.h"
#include "view/renderer.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

namespace blok {
namespace {

void Draw(QPainter& painter, const RenderRequest& request, const StrokeFont& font) {
  PainterCanvas canvas(painter);
  ViewTransform view;
  view.SetViewSize(request.width, request.height);
  const std::vector<ParsedEntity> records = ParseLines(request.lines);
  view.ZoomAll(ComputeExtents(records, font));
  if (request.plain) {
    DrawPlainBlock(canvas, view, records, font);
  } else {
    // The editor's start-up settings with a file open.
    const ViewSettings settings;
    ReadingDefaults defaults;
    RenderFrame(canvas, view, request.width, request.height, records, font, settings, defaults);
  }
}

constexpr std::string_view kSvg = "svg";

// The format the output's extension names: "svg" or one that Qt has an image writer for.
Result<QByteArray> OutputFormat(const std::filesystem::path& output) {
  std::string extension = output.extension().string();
  std::ranges::transform(extension, extension.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (!extension.empty()) extension.erase(0, 1);  // the dot
  QList<QByteArray> formats = QImageWriter::supportedImageFormats();
  formats.append(QByteArray(kSvg.data(), kSvg.size()));
  std::ranges::sort(formats);
  const QByteArray format = QByteArray::fromStdString(extension);
  if (!extension.empty() && formats.contains(format)) return format;
  std::string known;
  for (const QByteArray& f : formats) known += (known.empty() ? "." : ", .") + f.toStdString();
  return Fail("nie wiadomo, w jakim formacie zapisać obraz " + output.string() +
              ": rozszerzenie powinno być jednym z " + known);
}

}  // namespace

OffscreenPainting::OffscreenPainting() {
  // Fonts, paint devices and the image writer plugins want an application object; a
  // command-line tool needs no display. It lives for one command only, so it is gone long
  // before Qt's own statics.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Standard error is blk's own: Qt's notes and warnings about its environment (no runtime
  // folder, no fonts configured) say nothing about the picture, and failures to write it are
  // reported by the caller. Only what Qt itself takes for an error still goes there.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
      std::fprintf(stderr, "blk: Qt: %s\n", message.toLocal8Bit().constData());
    }
  });
  app_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

OffscreenPainting::~OffscreenPainting() = default;

Result<void> RenderBlock(const RenderRequest& request, const std::filesystem::path& font_file) {
  if (request.width < 1 || request.height < 1 || request.width > 20000 || request.height > 20000) {
    return Fail("rozmiar obrazu poza zakresem 1..20000 pikseli");
  }
  const OffscreenPainting painting;
  // Known before anything is drawn: a name the format cannot be told from gets no file.
  const auto format = OutputFormat(request.output);
  if (!format) return std::unexpected(format.error());
  const auto font = cli::LoadPaintingFont(font_file);
  if (!font) return std::unexpected(font.error());
  const StrokeFont& stroke_font = **font;
  const QString output = QString::fromStdString(request.output.string());
  if (*format == kSvg.data()) {
    QSvgGenerator svg;
    svg.setFileName(output);
    svg.setSize(QSize(request.width, request.height));
    svg.setViewBox(QRect(0, 0, request.width, request.height));
    svg.setTitle(QStringLiteral("blok"));
    QPainter painter;
    if (!painter.begin(&svg)) return Fail("Nie można zapisać pliku " + request.output.string());
    Draw(painter, request, stroke_font);
    if (!painter.end()) return Fail("Nie można zapisać pliku " + request.output.string());
    return {};
  }
  QImage image(request.width, request.height, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    Draw(painter, request, stroke_font);
  }
  if (!image.save(output, format->constData())) {
    return Fail("Nie można zapisać pliku " + request.output.string());
  }
  return {};
}

}  // namespace blok
