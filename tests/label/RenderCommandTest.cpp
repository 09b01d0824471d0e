// The shared render sequence of `twr render` and `twr burn`: its failures
// and the radii it leaves.
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

LabelOptions Options(std::string layout, std::string inner = {}, std::string outer = {}) {
  LabelOptions o;
  o.layout = std::move(layout);
  o.inner = std::move(inner);
  o.outer = std::move(outer);
  return o;
}

const char* kSmallLayout =
    "BaseLength=400\nBgColor=255\nTitleWidth=200\nTitleHeight=40\nTitlePosX=100\n"
    "TitlePosY=60\nRingLength=8\nInnerRadius=30\nOuterRadius=50\n";

TEST(RenderAsMainWindow, FailsWithAMessage) {
  struct Case {
    std::string ini;
    LabelOptions options;
    const char* message;
  };
  const std::string one = test::OneLayout(kSmallLayout);
  const Case cases[] = {
      {"", {}, "Cannot load .ini file."},
      {"[Config]\nLayoutNum=0\n", {}, "Cannot load .ini file."},
      {one, Options("1"), "Layout 1 does not exist"},
      {one, Options("x"), "not a whole number"},
      {one, Options("", "abc"), "not a number"},
      {one, Options("", "20", "50"), "Input correct burning area."},
      {test::OneLayout("BaseLength=0\n"), {}, "could not be rendered"},
  };
  for (const Case& c : cases) {
    test::TempSettings s(c.ini);
    CELLayout layout(s.Path());
    test::RecordingMessages messages;
    RenderedLabel rendered;
    EXPECT_FALSE(RenderAsMainWindow(c.options, layout, messages, rendered)) << c.message;
    EXPECT_NE(messages.Last().find(c.message), std::string::npos) << messages.Last();
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
  ASSERT_TRUE(RenderAsMainWindow(options, layout, messages, rendered));
  EXPECT_EQ(rendered.inner, 30);
  EXPECT_EQ(rendered.outer, 50);
  ASSERT_NE(layout.LabelImageData(), nullptr);
  EXPECT_EQ(layout.LabelImageData()->width(), 400);
  EXPECT_EQ(layout.PreviewImage().Width(), 600);
  EXPECT_EQ(layout.NoteLines[0], "[a]");

  options.inner = "32.5";
  options.outer = "40";
  ASSERT_TRUE(RenderAsMainWindow(options, layout, messages, rendered));
  EXPECT_EQ(rendered.inner, 32.5);
  EXPECT_EQ(rendered.outer, 40);
  EXPECT_DOUBLE_EQ(layout.Layout().RingBand, 7.5);  // min(40 - 32.5, RingLength 8)
  EXPECT_TRUE(messages.Records().empty());
}

}  // namespace
}  // namespace twr
