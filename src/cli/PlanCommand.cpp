// `twr plan`: what a burn of a label would take, before any disc is used:
// the band, what sets each of its edges, the steps, passes, writes and time
// at each quality, for the automatic area and the manual one, from the
// virtual drive's ELS page.
#include <QImage>

#include <array>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "burn/DocumentWarnings.h"
#include "burn/MarkedBand.h"
#include "burn/SimulatedEtch.h"
#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/GuiApplication.h"
#include "cli/LabelOptions.h"
#include "cli/Print.h"
#include "cli/SettingsFile.h"
#include "cli/TerminalMessages.h"
#include "common/DecimalText.h"
#include "common/JsonWriter.h"
#include "drive/CELDevice.h"
#include "drive/virtual/VirtualDriveConfig.h"
#include "label/BurningArea.h"
#include "label/CELLayout.h"
#include "label/Design.h"
#include "label/LabelWarnings.h"
#include "label/LayoutSettings.h"

namespace twr::cli {

namespace {

constexpr int kRadiusDecimals = 1;
constexpr int kMinuteDecimals = 2;
constexpr std::array<const char*, kQualityCount> kQualityIds = {"draft", "normal", "high"};

std::string Mm(double value) {
  return FormatDecimal(value, kRadiusDecimals);
}

// One quality of the plan: the manual band's burn and the automatic one's.
struct QualityPlan {
  BurnQuality quality = BurnQuality::Draft;
  BurnPlan manual;
  AutomaticArea automatic;
  std::string innerSetBy, outerSetBy;      // in words
  std::string innerSetById, outerSetById;  // for --json
};

// What sets an edge of the automatic area: the part of the label at the
// pixel of the outermost (innermost) mark, or the limit of the disc.
void NameEdge(const CELLayout& layout, int x, int y, bool dataSide, std::string& words,
              std::string& id) {
  if (x < 0) {
    words = dataSide ? Tr("PlanCommand", "the end of the recorded data")
                     : Tr("PlanCommand", "the drive's limit");
    id = dataSide ? "data" : "limit";
    return;
  }
  const LabelPart part = LabelPartAt(layout, x, y);
  words = LabelPartName(part);
  id = LabelPartId(part);
}

void WriteBurn(JsonWriter& out, const BurnPlan& plan) {
  out.BeginObject()
      .Key("inner")
      .Fixed(plan.band.inner, kRadiusDecimals + 1)
      .Key("outer")
      .Fixed(plan.band.outer, kRadiusDecimals + 1)
      .Key("steps")
      .Int(plan.stepCount)
      .Key("passes")
      .Int(plan.steps)
      .Key("writes")
      .Int(plan.writes)
      .Key("minutes")
      .Fixed(plan.requiredTime, kMinuteDecimals)
      .Key("time")
      .String(plan.timeText)
      .EndObject();
}

void PrintJson(const RenderedLabel& rendered, bool automatic, const std::string& disc,
               const std::vector<QualityPlan>& plans) {
  JsonWriter out;
  out.BeginObject().Key("layout").BeginObject().Key("index");
  if (rendered.layoutIndex == kGivenLayout)
    out.Null();
  else
    out.Int(rendered.layoutIndex);
  out.Key("name").String(rendered.layoutName).EndObject();
  out.Key("area").String(automatic ? "auto" : "manual").Key("disc").String(disc);
  out.Key("qualities").BeginArray();
  for (const QualityPlan& q : plans) {
    const bool marks = q.automatic.marks.marks;
    out.BeginObject()
        .Key("quality")
        .String(kQualityIds[static_cast<std::size_t>(q.quality)])
        .Key("marks")
        .Bool(marks);
    // What sets an edge: the user for the manual area, nothing when nothing marks.
    for (const auto& [key, id] :
         {std::pair{"innerSetBy", &q.innerSetById}, std::pair{"outerSetBy", &q.outerSetById}}) {
      out.Key(key);
      if (!automatic)
        out.String("manual");
      else if (marks)
        out.String(*id);
      else
        out.Null();
    }
    out.Key("burn");
    if (automatic && !marks)
      out.Null();
    else
      WriteBurn(out, automatic ? q.automatic.plan : q.manual);
    out.Key("manual");
    WriteBurn(out, q.manual);
    out.Key("automatic");
    if (marks)
      WriteBurn(out, q.automatic.plan);
    else
      out.Null();
    out.EndObject();
  }
  out.EndArray().EndObject();
  std::printf("%s\n", out.Text().c_str());
}

void PrintBurn(const std::string& quality, const BurnPlan& plan) {
  PrintLine(stdout, Tr("PlanCommand", "%1: %2 - %3 mm, %4 steps of %5 passes, %6 writes, %7"),
            {quality, Mm(plan.band.inner), Mm(plan.band.outer), std::to_string(plan.stepCount),
             std::to_string(plan.steps), std::to_string(plan.writes), plan.timeText});
}

void PrintText(const RenderedLabel& rendered, bool automatic,
               const std::vector<QualityPlan>& plans) {
  if (rendered.layoutIndex == kGivenLayout)
    PrintLine(stdout, Tr("PlanCommand", "The design's layout \"%1\""), {rendered.layoutName});
  else
    PrintLine(stdout, Tr("PlanCommand", "Layout %1 \"%2\""),
              {std::to_string(rendered.layoutIndex), rendered.layoutName});
  PrintLine(stdout,
            automatic ? Tr("PlanCommand",
                           "Automatic burning area: the narrowest band that holds every mark.")
                      : Tr("PlanCommand", "Manual burning area."),
            {});
  for (const QualityPlan& q : plans) {
    const std::string name = Tr("BurnPlan", kQualityNames[static_cast<std::size_t>(q.quality)]);
    const AutomaticArea& a = q.automatic;
    if (!a.marks.marks) {
      PrintLine(stdout,
                Tr("PlanCommand",
                   "%1: nothing of this label marks the disc at this quality; a burn would leave "
                   "it blank."),
                {name});
      continue;
    }
    PrintBurn(name, automatic ? a.plan : q.manual);
    if (automatic) {
      PrintLine(stdout,
                Tr("PlanCommand", "    inner edge: %1 (a mark at %2 mm); outer edge: %3 (%4 mm)"),
                {q.innerSetBy, Mm(a.marks.inner), q.outerSetBy, Mm(a.marks.outer)});
      PrintLine(stdout, Tr("PlanCommand", "    the manual area %1 - %2 mm takes %3"),
                {Mm(q.manual.band.inner), Mm(q.manual.band.outer), q.manual.timeText});
    } else {
      PrintLine(stdout, Tr("PlanCommand", "    with --area auto: %1 - %2 mm, %3"),
                {Mm(a.plan.band.inner), Mm(a.plan.band.outer), a.plan.timeText});
    }
  }
}

}  // namespace

int RunPlan(int argc, char** argv) {
  ArgParser parser("plan",
                   Tr("PlanCommand",
                      "Says what a burn of a label would take, without a disc: the burning area,\n"
                      "what sets each of its edges, the steps, passes, writes and time at each\n"
                      "quality, planned as a burn plans them from the virtual drive's ELS page.\n"
                      "The label options are those of 'twr render'."));
  LabelOptions options;
  std::string designPath, areaText, qualityText, discText;
  bool rimtone = false, json = false;
  AddLabelOptions(parser, options);
  AddDesignOption(parser, designPath);
  AddAreaOption(parser, areaText);
  parser.Choice("quality", "Q",
                Tr("PlanCommand", "Only this quality: draft, normal or high (default: all three)."),
                {"draft", "normal", "high"}, &qualityText);
  parser.Flag("rimtone", Tr("PlanCommand", "The outer band of a DVD-R/DVD+R data side."), &rimtone);
  parser.Choice("disc", "KIND", Tr("PlanCommand", "With --rimtone: the data side, dvd-r or dvd+r."),
                {"dvd-r", "dvd+r"}, &discText);
  parser.Flag("json", Tr("PlanCommand", "Print the plan as JSON (described in man twr)."), &json);
  if (ArgParser::Result r = parser.Parse(argc, argv); r != ArgParser::kOk) return ExitStatusFor(r);

  StartGui();
  TerminalMessages messages;
  if (!LoadDesignOption(designPath, options, messages)) return kExitFailure;
  // A design's Rimtone mode stands unless the options say.
  if (options.design != nullptr) rimtone = rimtone || options.design->rimtone;
  if (rimtone != !discText.empty())
    return parser.UsageError(
        Tr("PlanCommand",
           "--rimtone (or a design for Rimtone mode) needs --disc dvd-r or --disc dvd+r, and "
           "--disc needs --rimtone"));
  const bool automatic = UsesAutomaticArea(areaText, options);
  // In Rimtone mode the band starts outside the data area at the least.
  const BurnDisc disc =
      !rimtone ? BurnDisc::LabelSide()
               : BurnDisc::AssumedDataSide(discText == "dvd-r" ? kDiscDvdR : kDiscDvdPlusR);

  CELLayout layout(Settings().path);
  RenderedLabel rendered;
  if (const int status =
          RenderAsMainWindow(options, layout, messages, rendered, LowestInnerRadius(disc));
      status != kExitOk)
    return status;
  const ElsPage page(ExampleElsPage());
  // The QR code at each quality planned.
  WarnedBurn warned{disc, automatic, {rendered.inner, rendered.outer}, {}};
  for (int i = 0; i < kQualityCount; ++i)
    if (qualityText.empty() || qualityText == kQualityIds[static_cast<std::size_t>(i)])
      warned.qualities.push_back(static_cast<BurnQuality>(i));
  PrintLabelWarnings("plan", DocumentWarnings(layout, options.TypedNote(), page, warned));

  const QImage label = layout.LabelImageData();
  std::vector<QualityPlan> plans;
  for (int i = 0; i < kQualityCount; ++i) {
    if (!qualityText.empty() && qualityText != kQualityIds[static_cast<std::size_t>(i)]) continue;
    QualityPlan q;
    q.quality = static_cast<BurnQuality>(i);
    const BurnTarget target{{rendered.inner, rendered.outer}, disc, q.quality};
    q.manual = PlanBurn(page, target);
    q.automatic = PlanAutomaticArea(page, label, target);
    NameEdge(layout, q.automatic.marks.innerX, q.automatic.marks.innerY, rimtone, q.innerSetBy,
             q.innerSetById);
    NameEdge(layout, q.automatic.marks.outerX, q.automatic.marks.outerY, false, q.outerSetBy,
             q.outerSetById);
    plans.push_back(std::move(q));
  }
  if (json)
    PrintJson(rendered, automatic, rimtone ? discText : "label", plans);
  else
    PrintText(rendered, automatic, plans);
  return kExitOk;
}

}  // namespace twr::cli
