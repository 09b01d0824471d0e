// Hostile layout values through every way a layout comes in: `twr layout set`
// (and the designer: the key checks), a settings file read for a render, the
// window's warnings or a design save, and a design file. Each gives the same refusal where the
// renderer cannot draw the value, and every layout accepted anywhere
// renders. Names that are no UTF-8 are read in one defined way.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "label/CELLayout.h"
#include "label/Design.h"
#include "label/LabelTestSupport.h"
#include "label/LabelWarnings.h"
#include "label/LayoutDefinition.h"
#include "label/LayoutFile.h"

namespace twr {
namespace {

// "KEY=VALUE KEY=VALUE" as pairs.
std::vector<std::pair<std::string, std::string>> Pairs(const std::string& keys) {
  std::vector<std::pair<std::string, std::string>> pairs;
  std::istringstream in(keys);
  for (std::string word; in >> word;) {
    const std::size_t eq = word.find('=');
    pairs.emplace_back(word.substr(0, eq), word.substr(eq + 1));
  }
  return pairs;
}

// The starting layout with the values assigned as they are (unchecked).
LayoutDefinition Starter(const std::string& keys) {
  LayoutDefinition d = StarterLayout();
  for (const auto& [key, value] : Pairs(keys)) EXPECT_EQ(AssignLayoutValue(d, key, value), "");
  return d;
}

// `twr layout set 0 KEYS...` and the designer: every value read, then each
// key checked in turn; the first refusal.
std::string ThroughLayoutSet(const std::string& keys) {
  LayoutDefinition d = StarterLayout();
  for (const auto& [key, value] : Pairs(keys))
    if (std::string why = AssignLayoutValue(d, key, value); !why.empty()) return why;
  for (const auto& [key, value] : Pairs(keys))
    if (std::string why = CheckLayoutKey(d, key); !why.empty()) return why;
  return {};
}

// A settings file holding the layout, as the renderer and `twr design save`
// read it.
std::string SettingsText(const LayoutDefinition& d) {
  std::string ini =
      std::string("[Config]\nLayoutNum=1\nFont=") + test::kTestFace + "\n[Layout00]\n";
  for (const LayoutKey& key : LayoutKeys())
    ini += std::string(key.name) + "=" + key.Value(d) + "\n";
  return ini;
}

LabelDocument DesignOf(const LayoutRecord& record) {
  LabelDocument d;
  d.title = "Concert 2026";
  d.date = "2026-05-01";
  d.notes = {"[Photos]", "Track 1", "Track 2"};
  d.layoutName = "Starter";
  d.layout = record;
  d.fontFace = test::kTestFace;
  return d;
}

// A design file of the starting layout with the values written over its own.
std::string DesignFileText(const std::string& keys) {
  std::string text = DesignText(DesignOf(RecordOfDefinition(StarterLayout())));
  for (const auto& [key, value] : Pairs(keys)) {
    const std::string member = "\"" + key + "\": ";
    const std::size_t at = text.find(member);
    EXPECT_NE(at, std::string::npos) << key;
    const std::size_t end = text.find_first_of(",\n", at);
    text.replace(at + member.size(), end - at - member.size(), value);
  }
  return text;
}

void ExpectRenders(CELLayout& renderer, int index, bool keepRadii, const std::string& what) {
  renderer.Title = "Concert 2026";
  renderer.Date = "2026";
  renderer.NoteLines = {"Track 1", "Track 2"};
  EXPECT_TRUE(renderer.RenderLabel(index, keepRadii)) << what;
  EXPECT_TRUE(renderer.RenderPreview(index, 600, 600, keepRadii)) << what;
}

TEST(LayoutLimits, EveryWayInRefusesWhatCannotBeDrawnAndWhatIsTakenRenders) {
  struct Case {
    const char* keys;      // over the starting layout: 1655 pixels, 5 mm ring band
    const char* edit;      // `twr layout set`, the designer ("" taken)
    const char* settings;  // a settings section drawn or saved as a design
    const char* design;    // a design file
  };
  const char* const kSide = "BaseLength must be 1 to 10000 label pixels";
  const char* const kRing5 = "BaseLength must be 232 to 10000 label pixels for a ring band of 5 mm";
  const char* const kRing1 =
      "BaseLength must be 1160 to 10000 label pixels for a ring band of 1 mm";
  const char* const kNegative = "RingLength must be 0 (no ring text) or more mm";
  const Case cases[] = {
      {"BaseLength=1 RingLength=0", "", "", ""},
      {"BaseLength=0", kSide, kSide,
       "\"layout.BaseLength\" is 0, not a whole number from 1 to 10000"},
      {"BaseLength=10001 RingLength=0", kSide, kSide,
       "\"layout.BaseLength\" is 10001, not a whole number from 1 to 10000"},
      {"BaseLength=10000 RingLength=0", "", "", ""},
      {"BaseLength=231", kRing5, kRing5, kRing5},
      {"BaseLength=232", "", "", ""},
      {"BaseLength=1000 RingLength=1", kRing1, kRing1, kRing1},
      {"BaseLength=1160 RingLength=1", "", "", ""},
      {"InnerRadius=57 BaseLength=1000",
       "InnerRadius 57 makes the ring band 1 mm, too thin for ring text at BaseLength 1000: it "
       "needs BaseLength 1160 or more (RingLength 0 leaves the ring text out)",
       kRing1, kRing1},
      {"InnerRadius=50 OuterRadius=50 BaseLength=300", "", "", ""},  // no ring band
      {"RingLength=-1", "RingLength must be 0 to 33 mm (0: no ring text)", kNegative,
       "\"layout.RingLength\" is -1, not a whole number of 0 or more"},
      // The settings reader puts radii out of range back to 25 and 58 mm.
      {"InnerRadius=20", "InnerRadius must be 25 to 58 mm", "",
       "\"layout.InnerRadius\" is 20, not a whole number from 25 to 58"},
      // Values the editors keep tidy but the renderer draws: stored layouts keep them.
      {"RingLength=40", "RingLength must be 0 to 33 mm", "", ""},
      {"TitleWidth=5000", "TitleWidth must be 0 to 1655 label pixels (the side of the label)", "",
       ""},
      {"TitlePosX=-2000000000", "TitlePosX must be -1655 to 1655 label pixels", "", ""},
      {"TitleWidth=2147483647 TitlePosY=2147483647 NotePosX=-2147483648 NoteWidth=9 NoteHeight=9",
       "TitleWidth must be 0 to 1655", "", ""},
      {"TitleMaxNum=300",
       "TitleMaxNum must be 0 to 256 characters (a wide East Asian character counts two)", "", ""},
      {"RingType=7", "RingType must be 0 (one line around the full circle)", "", ""},
      // The settings reader clamps arcs and takes a grey's low byte; a design
      // file holds them as they are drawn.
      {"RingMAngle=270", "RingMAngle must be 0 to 180 degrees", "",
       "\"layout.RingMAngle\" is 270, not a whole number from 0 to 180"},
      {"BgColor=300", "BgColor must be a grey from 0 (black) to 255 (white)", "",
       "\"layout.BgColor\" is 300, not a whole number from 0 to 255"},
  };
  test::TempSettings settings;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    const std::string edit = ThroughLayoutSet(c.keys);
    EXPECT_EQ(edit.rfind(c.edit, 0), 0u) << "got: " << edit;
    if (*c.edit == '\0') {
      EXPECT_EQ(edit, "");
    }

    // The settings reader, for a render and for `twr design save`.
    settings.Write(SettingsText(Starter(c.keys)));
    LayoutRecord record;
    LoadLayout(settings.Path(), 0, false, record);
    const std::string read = CheckLayoutRecord(record);
    EXPECT_EQ(read.rfind(c.settings, 0), 0u) << "got: " << read;
    if (*c.settings == '\0') {
      EXPECT_EQ(read, "");
    }
    const std::string saved = CheckDesign(DesignOf(record));
    EXPECT_EQ(saved, read.empty() ? "" : "the layout cannot be drawn: " + read);

    LabelDocument design;
    std::string problem;
    const bool parsed = ParseDesign(DesignFileText(c.keys), design, problem);
    EXPECT_EQ(parsed, *c.design == '\0') << problem;
    EXPECT_NE(problem.find(c.design), std::string::npos) << "got: " << problem;

    // What one way takes, the others that read the same values take too,
    // and it renders.
    if (edit.empty()) {
      EXPECT_EQ(read, "");
    }
    CELLayout fromSettings(settings.Path());
    if (read.empty()) {
      ExpectRenders(fromSettings, 0, false, "the settings section");
    } else {
      // The window lists the refusal among the label's warnings.
      fromSettings.RenderLabel(0, false);
      const std::vector<LabelWarning> warnings = CheckLabel(fromSettings, "", {25, 58});
      ASSERT_FALSE(warnings.empty());
      EXPECT_EQ(warnings[0].kind, LabelWarning::Kind::NotDrawn);
      EXPECT_EQ(warnings[0].text,
                "The layout cannot be drawn: " + read + ". None of its texts is drawn or burned.");
    }
    if (parsed) {
      CELLayout renderer(settings.Path());
      ApplyDesignLayout(design, renderer);
      renderer.LoadLayout(kGivenLayout, false);
      renderer.SetBandRadii(design.innerRadius, design.outerRadius);
      ExpectRenders(renderer, kGivenLayout, true, "the design");
    }
  }
}

// The burning area narrows the ring band a design draws: a design whose
// area leaves its ring text too thin a strip is refused on saving, as it
// would be on reading.
TEST(LayoutLimits, TheBurningAreaCountsForADesignsRingBand) {
  LabelDocument d = DesignOf(RecordOfDefinition(Starter("BaseLength=1200")));
  d.innerRadius = 50;
  d.outerRadius = 50.9;  // a band of 0.9 mm: a strip of 9 pixels at 1200
  EXPECT_EQ(CheckDesign(d),
            "the layout cannot be drawn in the burning area 50 - 50.9 mm: BaseLength must be 1289 "
            "to 10000 label pixels for a ring band of 0.9 mm (ring text needs a "
            "strip of 10 label pixels; RingLength 0 leaves it out)");
  d.outerRadius = 51;
  EXPECT_EQ(CheckDesign(d), "");
}

// A name in a settings file that is no UTF-8 (Windows-1252, as older files
// hold) or holds control characters is read in one defined way, shown,
// listed and saved in a design; `twr layout set` takes neither.
TEST(LayoutLimits, NamesFromOutsideAreReadOneWayAndEditsRefuseThem) {
  struct Case {
    const char* stored;  // the bytes in the file
    const char* read;    // the name as read
    const char* edit;    // `twr layout set 0 Name=...`
  };
  const Case cases[] = {
      {"M\xFCller \x80 5", "M\u00FCller \u20AC 5", "Name must be UTF-8 text"},
      {"Caf\xC3\xA9", "Caf\u00E9", ""},
      {"a\x1B[31mred", "a[31mred", "Name must not hold control characters"},
      {"x\xC2\x9B\x31m", "x1m", "Name must not hold control characters"},  // C1 CSI
      {"\x81\x8D", "\uFFFD\uFFFD", "Name must be UTF-8 text"},             // unused in Windows-1252
  };
  test::TempSettings settings;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.read);
    settings.Write(std::string("[Config]\nLayoutNum=1\n[Layout00]\nName=") + c.stored +
                   "\nBaseLength=400\n");
    std::vector<std::string> names;
    ASSERT_TRUE(LoadLayoutNames(settings.Path(), names));
    EXPECT_EQ(names[0], c.read);
    LayoutFile file;
    ASSERT_TRUE(file.Read(settings.Path()));
    EXPECT_EQ(file.Layouts()[0].Name, c.read);
    LabelDocument design = DesignOf(RecordOfDefinition(file.Layouts()[0]));
    design.layoutName = names[0];
    EXPECT_EQ(CheckDesign(design), "");
    LayoutDefinition edited = StarterLayout();
    EXPECT_EQ(SetLayoutValue(edited, "Name", c.stored), c.edit);
  }
}

}  // namespace
}  // namespace twr
