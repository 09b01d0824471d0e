// The shared render sequence of `twr render` and `twr burn`: its failures,
// their exit statuses and the radii it leaves.
#include <gtest/gtest.h>

#include <string>

#include "cli/LabelOptions.h"
#include "common/RecordingMessages.h"
#include "label/CELLayout.h"
#include "label/LabelTestSupport.h"

namespace twr {
namespace {

using cli::LabelOptions;
using cli::RenderAsMainWindow;
using cli::RenderedLabel;

LabelOptions Options(std::optional<int> layout, std::optional<double> inner = {},
                     std::optional<double> outer = {}) {
  LabelOptions o;
  o.layout = layout;
  o.inner = inner;
  o.outer = outer;
  return o;
}

const char* kSmallLayout =
    "BaseLength=400\nBgColor=255\nTitleWidth=200\nTitleHeight=40\nTitlePosX=100\n"
    "TitlePosY=60\nRingLength=8\nInnerRadius=30\nOuterRadius=50\n";

TEST(RenderAsMainWindow, FailsWithAMessageAndAStatus) {
  struct Case {
    std::string ini;
    LabelOptions options;
    int status;
    const char* message;
    const char* detail;
  };
  const std::string one = test::OneLayout(kSmallLayout);
  const Case cases[] = {
      {"", {}, cli::kExitFailure, "Cannot load .ini file.", "does not exist"},
      {"[Config]\nLayoutNum=0\n",
       {},
       cli::kExitFailure,
       "Cannot load .ini file.",
       "holds no layout"},
      {one, Options(1), cli::kExitUsage, "Layout 1 does not exist", ""},
      {one, Options(-1), cli::kExitUsage, "Layout -1 does not exist", ""},
      {one, Options({}, 20, 50), cli::kExitUsage, "Input correct burning area.", ""},
      {one, Options({}, 40, 40), cli::kExitUsage, "Input correct burning area.", ""},
      {test::OneLayout("BaseLength=0\n"),
       {},
       cli::kExitFailure,
       "Layout 0 cannot be drawn: BaseLength must be 1 to 10000 label pixels.",
       ""},
      // A hand-edited section, and a burning area that narrows the ring band.
      {test::OneLayout("BaseLength=140\nRingLength=8\n"),
       {},
       cli::kExitFailure,
       "Layout 0 cannot be drawn: BaseLength must be 145 to 10000 label pixels for a ring band "
       "of 8 mm (ring text needs a strip of 10 label pixels; RingLength 0 leaves it out).",
       ""},
      {one, Options({}, 40, 41), cli::kExitFailure,
       "Layout 0 cannot be drawn in the burning area 40.0 - 41.0 mm: BaseLength must be 1160 to "
       "10000",
       ""},
  };
  for (const Case& c : cases) {
    test::TempSettings s(c.ini);
    CELLayout layout(s.Path());
    test::RecordingMessages messages;
    RenderedLabel rendered;
    EXPECT_EQ(RenderAsMainWindow(c.options, layout, messages, rendered), c.status) << c.message;
    ASSERT_FALSE(messages.Records().empty()) << c.message;
    const auto last = messages.Records().back();
    EXPECT_NE(last.text.find(c.message), std::string::npos) << last.text;
    EXPECT_NE(last.detail.find(c.detail), std::string::npos) << last.detail;
  }
}

TEST(RenderAsMainWindow, RendersBothImagesAndKeepsChosenRadii) {
  test::TempSettings s(test::OneLayout(kSmallLayout));
  CELLayout layout(s.Path());
  test::RecordingMessages messages;
  RenderedLabel rendered;
  LabelOptions options;
  options.title = "Hi";
  options.notes = {"b", "[a]"};
  ASSERT_EQ(RenderAsMainWindow(options, layout, messages, rendered), cli::kExitOk);
  EXPECT_EQ(rendered.inner, 30);
  EXPECT_EQ(rendered.outer, 50);
  ASSERT_FALSE(layout.LabelImageData().isNull());
  EXPECT_EQ(layout.LabelImageData().width(), 400);
  EXPECT_EQ(layout.PreviewImage().Width(), 600);
  EXPECT_EQ(layout.NoteLines[0], "[a]");

  // One radius alone keeps the layout's other one.
  options.inner = 32.5;
  ASSERT_EQ(RenderAsMainWindow(options, layout, messages, rendered), cli::kExitOk);
  EXPECT_EQ(rendered.inner, 32.5);
  EXPECT_EQ(rendered.outer, 50);
  options.outer = 40;
  ASSERT_EQ(RenderAsMainWindow(options, layout, messages, rendered), cli::kExitOk);
  EXPECT_EQ(rendered.outer, 40);
  EXPECT_DOUBLE_EQ(layout.Layout().RingBand, 7.5);  // min(40 - 32.5, RingLength 8)
  EXPECT_TRUE(messages.Records().empty());
}

}  // namespace
}  // namespace twr
