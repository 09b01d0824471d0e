// Arbitrary bytes as a label design (.twrlabel): the reader either refuses
// them with a sentence, or gives a design that the writer accepts and whose
// file reads back as the same design; its picture is decoded as the
// renderer uses pictures.
#include <QGuiApplication>
#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "label/Design.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QGuiApplication app(*argc, *argv);  // image format plugins
  QLoggingCategory::setFilterRules("qt.gui.imageio*=false");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  twr::LabelDocument design;
  std::string problem;
  if (!twr::ParseDesign(bytes, design, problem)) {
    if (problem.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  if (!twr::CheckDesign(design).empty()) std::abort();
  using Kind = twr::DesignBackground::Kind;
  const twr::DesignBackground& bg = design.background;
  if (bg.kind == Kind::Picture &&
      (bg.image.isNull() || bg.image.format() != QImage::Format_RGB888 || bg.bytes.isEmpty()))
    std::abort();
  if ((bg.kind == Kind::None) != design.layout.BgImage.empty()) std::abort();
  const std::string text = twr::DesignText(design);
  twr::LabelDocument again;
  if (!twr::ParseDesign(text, again, problem)) std::abort();
  if (twr::DesignText(again) != text) std::abort();
  return 0;
}
