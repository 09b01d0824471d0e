// PDF and SVG export through QPdfWriter and QSvgGenerator.
#include "label/LabelExport.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>
#include <charconv>

#include "common/Strings.h"
#include "common/Translate.h"
#include "common/WholeFile.h"
#include "drive/DiscGeometry.h"
#include "label/CELLayout.h"
#include "label/PictureFile.h"

namespace twr {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerInch = 72.0;
// Device units of the PDF page: fine enough that no placement is rounded.
constexpr int kPdfResolution = 1200;
// The SVG's size is written as pixels at a resolution: 1160 at 254 dpi is
// 116 mm to the digit.
constexpr int kSvgResolution = 254;
constexpr double kGuideWidthMm = 0.2;

bool EndsWith(const std::string& path, const char* suffix) {
  const std::string s = suffix;
  if (path.size() <= s.size()) return false;
  for (std::size_t i = 0; i < s.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(path[path.size() - s.size() + i])) != s[i])
      return false;
  return true;
}

// The guides in millimetre units: the hub and the burning area, centred.
void DrawGuides(QPainter& painter, const ExportOptions& options) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setBrush(Qt::NoBrush);
  const QPointF centre(kLabelRadiusMm, kLabelRadiusMm);
  QPen area(QColor(0, 0, 255), kGuideWidthMm);
  painter.setPen(area);
  for (double r : {options.innerRadius, options.outerRadius})
    if (r > 0.0) painter.drawEllipse(centre, r, r);
  QPen hub(QColor(255, 0, 0), kGuideWidthMm);
  painter.setPen(hub);
  painter.drawEllipse(centre, kHubRadiusMm, kHubRadiusMm);
  painter.restore();
}

// Qt writes the page's size in whole points ("/MediaBox [0 0 329.000000
// 329.000000]", 116.06 mm); the exact size, 328.818898 points, has the same
// number of characters, so it is put in place without moving any offset of
// the file.
// "/MediaBox [0 0 W W]" with six decimals, whatever the locale.
QByteArray MediaBox(double points) {
  char number[32];
  const auto result =
      std::to_chars(number, number + sizeof number, points, std::chars_format::fixed, 6);
  const QByteArray n(number, static_cast<qsizetype>(result.ptr - number));
  return "/MediaBox [0 0 " + n + " " + n + "]";
}

bool ExactMediaBox(QByteArray& pdf, double qtPoints, double exactPoints) {
  const QByteArray from = MediaBox(qtPoints), to = MediaBox(exactPoints);
  if (from.size() != to.size()) return false;
  const qsizetype at = pdf.indexOf(from);
  if (at < 0 || pdf.indexOf(from, at + 1) >= 0) return false;
  pdf.replace(at, from.size(), to);
  return true;
}

bool WritePdf(CELLayout& layout, const ExportOptions& options, QByteArray& out,
              std::string& problem) {
  QBuffer buffer(&out);
  buffer.open(QIODevice::WriteOnly);
  const double exactPoints = kLabelWidthMm / kMmPerInch * kPointsPerInch;
  double qtPoints = 0.0;
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfResolution);
    writer.setPageSize(QPageSize(QSizeF(kLabelWidthMm, kLabelWidthMm), QPageSize::Millimeter,
                                 QStringLiteral("Label"), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(QString::fromStdString(options.title));
    writer.setCreator(QString::fromStdString(std::string(kAppName) + " " + kVersionText));
    qtPoints = writer.pageLayout().fullRectPoints().height();
    QPainter painter;
    if (!painter.begin(&writer)) {
      problem = Tr("LabelExport", "the PDF writer could not start");
      return false;
    }
    const double unitsPerMm = kPdfResolution / kMmPerInch;
    // Qt places the page's top at its whole-point height; the exact page
    // is a little lower, so the drawing moves down by the difference.
    const double drop = (qtPoints - exactPoints) / kPointsPerInch * kPdfResolution;
    painter.translate(0.0, drop);
    const double side = layout.LabelImage().Width();
    if (!layout.PaintLabel(painter, kLabelWidthMm * unitsPerMm / side)) {
      problem = Tr("LabelExport", "there is no rendered label");
      return false;
    }
    if (options.guides) {
      painter.scale(unitsPerMm, unitsPerMm);
      DrawGuides(painter, options);
    }
    painter.end();
  }
  buffer.close();
  if (!ExactMediaBox(out, qtPoints, exactPoints) && qtPoints != exactPoints) {
    problem = Tr("LabelExport", "the PDF writer did not give a page of 116 x 116 mm");
    return false;
  }
  return true;
}

bool WriteSvg(CELLayout& layout, const ExportOptions& options, QByteArray& out,
              std::string& problem) {
  QBuffer buffer(&out);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setResolution(kSvgResolution);
  // A positive size rounded half up, as the stored drawings were made.
  // NOLINTNEXTLINE(bugprone-incorrect-roundings)
  const int size = static_cast<int>(kLabelWidthMm * kSvgResolution / kMmPerInch + 0.5);
  generator.setSize(QSize(size, size));
  generator.setViewBox(QRectF(0, 0, kLabelWidthMm, kLabelWidthMm));
  generator.setTitle(QString::fromStdString(options.title));
  generator.setDescription(QString::fromStdString(std::string(kAppName) + " " + kVersionText +
                                                  ": a disc label 116 mm across"));
  QPainter painter;
  if (!painter.begin(&generator)) {
    problem = Tr("LabelExport", "the SVG writer could not start");
    return false;
  }
  const double side = layout.LabelImage().Width();
  if (!layout.PaintLabel(painter, kLabelWidthMm / side)) {
    problem = Tr("LabelExport", "there is no rendered label");
    return false;
  }
  if (options.guides) DrawGuides(painter, options);
  painter.end();
  return true;
}

}  // namespace

ExportFormat ExportFormatFor(const std::string& path) {
  if (EndsWith(path, ".pdf")) return ExportFormat::Pdf;
  if (EndsWith(path, ".svg")) return ExportFormat::Svg;
  return ExportFormat::None;
}

bool ExportLabel(CELLayout& layout, const std::string& path, const ExportOptions& options,
                 std::string& problem) {
  const ExportFormat format = ExportFormatFor(path);
  if (format == ExportFormat::None) {
    problem = Tr("LabelExport", "its name does not end in .pdf or .svg");
    return false;
  }
  if (!layout.LabelImage().Exists()) {
    problem = Tr("LabelExport", "there is no rendered label");
    return false;
  }
  QByteArray bytes;
  const bool drawn = format == ExportFormat::Pdf ? WritePdf(layout, options, bytes, problem)
                                                 : WriteSvg(layout, options, bytes, problem);
  if (!drawn) return false;
  const FileWriteResult written = ReplaceFileAtomically(
      path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  problem = written.problem;
  return written.ok;
}

bool WriteLabelFile(CELLayout& layout, const std::string& path, const ExportOptions& options,
                    std::string& problem) {
  if (ExportFormatFor(path) != ExportFormat::None)
    return ExportLabel(layout, path, options, problem);
  const QImage label = layout.LabelImageData();
  if (label.isNull()) {
    problem = Tr("LabelExport", "there is no rendered label");
    return false;
  }
  return WritePicture(label, path, kLabelWidthMm, problem);
}

}  // namespace twr
