// `twr layouts` and `twr render`: the layouts of ./twr.ini and the label
// and preview pictures the window program would draw.
#include <QImage>
#include <QString>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/LabelOptions.h"
#include "cli/TerminalMessages.h"
#include "label/BandOverlay.h"
#include "label/CELLayout.h"

namespace twr::cli {

namespace {

bool WritePicture(const QImage& image, const std::string& path, const char* what,
                  Messages& messages) {
  if (!image.save(QString::fromStdString(path), "PNG")) {
    messages.Show("Cannot write the " + std::string(what) + " to '" + path + "'.",
                  MessageIcon::Error);
    return false;
  }
  std::printf("Wrote the %s (%d x %d) to %s\n", what, image.width(), image.height(), path.c_str());
  return true;
}

}  // namespace

int RunLayouts(int argc, char** argv) {
  ArgParser parser("layouts", "Lists the layouts of ./twr.ini: number, tab, name.");
  if (ArgParser::Result r = parser.Parse(argc, argv); r != ArgParser::kOk)
    return ExitStatusFor(r);
  TerminalMessages messages;
  CELLayout layout;
  std::vector<std::string> names;
  if (!layout.LoadLayoutNames(names)) {
    messages.ShowString(kStrCannotLoadIni, MessageIcon::Error);
    return 1;
  }
  for (std::size_t i = 0; i < names.size(); ++i) std::printf("%zu\t%s\n", i, names[i].c_str());
  return 0;
}

int RunRender(int argc, char** argv) {
  ArgParser parser("render",
                   "Renders a layout of ./twr.ini as the window program does: the full-size\n"
                   "label picture that a burn etches and the 600 x 600 preview with the\n"
                   "burning area drawn in blue.");
  LabelOptions options;
  std::string labelPath, previewPath;
  AddLabelOptions(parser, options);
  parser.Option("label", "FILE.png", "Write the full-size label picture.", &labelPath);
  parser.Option("preview", "FILE.png", "Write the preview with the burning area.", &previewPath);
  if (ArgParser::Result r = parser.Parse(argc, argv); r != ArgParser::kOk)
    return ExitStatusFor(r);

  TerminalMessages messages;
  CELLayout layout;
  SetProcessLayout(&layout);
  RenderedLabel rendered;
  const bool ok = RenderAsMainWindow(options, layout, messages, rendered);
  int status = ok ? 0 : 1;
  if (ok) {
    std::printf("Rendered layout %d \"%s\", burning area %.01f - %.01f [mm]\n",
                rendered.layoutIndex, rendered.layoutName.c_str(), rendered.inner, rendered.outer);
    if (!labelPath.empty() && !WritePicture(*layout.LabelImageData(), labelPath, "label", messages))
      status = 1;
    if (!previewPath.empty()) {
      QImage preview = layout.PreviewImage().Image().copy();
      DrawBandLimits(preview, rendered.inner, rendered.outer);
      if (!WritePicture(preview, previewPath, "preview", messages)) status = 1;
    }
  }
  SetProcessLayout(nullptr);
  return status;
}

}  // namespace twr::cli
