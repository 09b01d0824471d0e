// The rendered label as a PDF page or an SVG drawing exactly 116 mm across,
// for printable discs and paper labels: drawn by the renderer's own
// drawing routine (CELLayout::PaintLabel), so the file shows what the label
// image holds, with the texts as text and the background as a picture, and
// optionally the guides (the centre hole and the burning area's circles)
// drawn over it.
#pragma once

#include <string>

namespace twr {

class CELLayout;

enum class ExportFormat { None, Pdf, Svg };

// Pdf for a name ending in .pdf, Svg for .svg (any case), None otherwise.
ExportFormat ExportFormatFor(const std::string& path);

// The centre hole of a disc: 15 mm across.
inline constexpr double kHubRadiusMm = 7.5;

struct ExportOptions {
  bool guides = false;       // the hub and the burning area as thin circles
  double innerRadius = 0.0;  // mm, the burning area for the guides
  double outerRadius = 0.0;
  std::string title;  // the document's title
};

// Writes the label of the last RenderLabel of `layout` to `path` in the
// format of its name (PDF: one page of 116 x 116 mm; SVG: 116 mm square, a
// view box of 116 x 116 units of a millimetre). The file is replaced only
// once it is written whole. False with the reason in `problem`.
bool ExportLabel(CELLayout& layout, const std::string& path, const ExportOptions& options,
                 std::string& problem);

// The label of the last RenderLabel written to `path` as `twr render --label`
// and the window's Export write it: a .pdf or .svg through ExportLabel, any
// other name as a picture of the label image in the format of its extension
// (WritePicture), recorded as 116 mm across. False with the reason in
// `problem` (a name of neither kind included).
bool WriteLabelFile(CELLayout& layout, const std::string& path, const ExportOptions& options,
                    std::string& problem);

}  // namespace twr
