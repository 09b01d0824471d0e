// The burning-area check of `twr` with the configuration dialog's detail.
#include "cli/AreaCheck.h"

#include <charconv>
#include <string>

#include "common/Messages.h"
#include "common/Translate.h"
#include "label/BurningArea.h"

namespace twr::cli {

namespace {

// The shortest text that reads back as the same number, with a point.
std::string Mm(double millimetres) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, millimetres);
  return std::string(text, result.ptr);
}

}  // namespace

bool CheckAreaOptions(double inner, double outer, double lowestInner, Messages& messages) {
  if (IsBurningAreaValid(inner, outer, lowestInner)) return true;
  // The inner radius first (out of its range, or not below the outer), then
  // an outer radius past the edge, as the dialog picks the field. The texts
  // are the dialog's own, translated there.
  std::string detail;
  if (lowestInner <= inner && inner < outer)
    detail =
        Arg(Tr("TitleConfigModel",
               "Outer radius %1 mm: allowed above the inner radius (%2 mm) and at most %3 mm."),
            {Mm(outer), Mm(inner), Mm(kBandOuterLimitMm)});
  else if (lowestInner > kBandInnerLimitMm)
    detail = Arg(Tr("TitleConfigModel",
                    "Inner radius %1 mm: allowed from %2 mm (where the disc's data area ends) to "
                    "below the outer radius (%3 mm)."),
                 {Mm(inner), Mm(lowestInner), Mm(outer)});
  else
    detail = Arg(Tr("TitleConfigModel",
                    "Inner radius %1 mm: allowed from %2 mm to below the outer radius (%3 mm)."),
                 {Mm(inner), Mm(lowestInner), Mm(outer)});
  messages.ShowDetailed(StringText(kStrBadBurningArea), detail, MessageIcon::Error);
  return false;
}

}  // namespace twr::cli
