// The label text model: limits in width units without split characters, note lines,
// folder-first order, the number fields of a series and the hand-over to
// the renderer.
#include <gtest/gtest.h>

#include "common/Utf8.h"
#include "label/CELLayout.h"
#include "label/DiscQrText.h"
#include "label/LabelTestSupport.h"
#include "label/LabelTexts.h"
#include "label/NumberFields.h"

namespace twr {
namespace {

// Limits count width units as a double-byte code page counts bytes: one a
// character, two an East Asian wide or fullwidth one, none a combining mark;
// never UTF-8 bytes. ASCII counts its bytes as before.
TEST(LabelTexts, LimitsCountWidthUnitsAndNeverSplitACharacter) {
  struct Case {
    const char* text;
    std::size_t limit;
    const char* kept;
    std::size_t width;
  };
  const Case cases[] = {
      // ASCII, an em dash, accented Latin
      {"Concert 2026", 7, "Concert", 12},
      {"Concert 2026 \u2014 disc 1 of 5", 24, "Concert 2026 \u2014 disc 1 of", 26},
      {"Caf\u00E9 cr\u00E8me", 4, "Caf\u00E9", 10},
      // CJK and kana, Hangul, fullwidth forms; halfwidth kana count one
      {"\u65E5\u672C\u8A9E\u30C6\u30AD\u30B9\u30C8", 5, "\u65E5\u672C", 14},
      {"\uD55C\uAD6D", 3, "\uD55C", 4},
      {"\uFF21\uFF22\uFF23", 3, "\uFF21", 6},
      {"\uFF71\uFF72\uFF73", 2, "\uFF71\uFF72", 3},
      // Combining marks stay with their letter; a wide one that does not fit
      // ends the cut
      {"e\u0301e\u0301e\u0301", 2, "e\u0301e\u0301", 3},
      {"A\u00E9\u65E5", 3, "A\u00E9", 4},
      // Emoji, also joined ones
      {"\U0001F600\U0001F600", 3, "\U0001F600", 4},
      {"\U0001F468\u200D\U0001F469", 3, "\U0001F468\u200D", 4},
      // A byte that is no UTF-8 counts one
      {"a\xFF\x62", 2, "a\xFF", 3},
      {"x", 0, "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(WidthPrefix(c.text, c.limit), c.kept);
    EXPECT_EQ(TextWidth(c.text), c.width);
  }

  LabelTexts t;
  std::string wide;
  for (int i = 0; i < 130; ++i) wide += "\u65E5";
  EXPECT_TRUE(t.SetTitle(wide));
  EXPECT_EQ(t.Title().size(), 128u * 3);    // 256 units
  EXPECT_FALSE(t.SetTitle(wide + "more"));  // the same cut: no change
  EXPECT_TRUE(t.SetDate(std::string(300, 'd')));
  EXPECT_EQ(t.Date().size(), 256u);
  EXPECT_TRUE(t.SetNote(std::string(2559, 'n') + "\u20AC"));  // the euro sign counts one
  EXPECT_EQ(TextWidth(t.Note()), 2560u);
}

TEST(LabelTexts, SplitTakesTenLinesFromCrLfOrBareLf) {
  LabelTexts t;
  t.SetNote("one\r\ntwo\nthree\r\n\r\nfive");
  t.SplitNoteLines();
  EXPECT_EQ(t.NoteLines()[0], "one");
  EXPECT_EQ(t.NoteLines()[1], "two");
  EXPECT_EQ(t.NoteLines()[2], "three");
  EXPECT_EQ(t.NoteLines()[3], "");
  EXPECT_EQ(t.NoteLines()[4], "five");
  EXPECT_EQ(t.NoteLines()[9], "");

  std::string many;
  for (int i = 0; i < 12; ++i) many += "L" + std::to_string(i) + "\r\n";
  t.SetNote(many);
  t.SplitNoteLines();
  EXPECT_EQ(t.NoteLines()[9], "L9");  // lines after the tenth are ignored

  t.SetNote("");
  t.SplitNoteLines();
  for (const std::string& line : t.NoteLines()) EXPECT_TRUE(line.empty());
}

TEST(LabelTexts, FoldersComeFirstStablyAndTheNoteIsRebuilt) {
  LabelTexts t;
  t.SetNote("a.txt\r\n[Photos]\r\n\r\nb.txt\r\n[Music]");
  t.SplitNoteLines();
  t.OrderNoteLines();
  const NoteLineArray expected{"[Photos]", "[Music]", "a.txt", "", "b.txt", "", "", "", "", ""};
  EXPECT_EQ(t.NoteLines(), expected);
  EXPECT_EQ(t.Note(), "[Photos]\r\n[Music]\r\na.txt\r\n\r\nb.txt\r\n\r\n\r\n\r\n\r\n\r\n");

  LabelTexts empty;
  empty.SetNote("\r\n\r\n");
  empty.SplitNoteLines();
  empty.OrderNoteLines();
  EXPECT_EQ(empty.Note(), "\r\n\r\n");  // all lines empty: untouched
}

TEST(LabelTexts, PublishHandsOrderedLinesToTheRenderer) {
  test::TempSettings s;
  CELLayout layout(s.Path());
  LabelTexts t;
  t.SetTitle("Title");
  t.SetDate("2024");
  t.SetNote("x\n[Dir]\n");
  t.PublishLabelTexts(layout);
  EXPECT_EQ(layout.Title, "Title");
  EXPECT_EQ(layout.Date, "2024");
  EXPECT_EQ(layout.NoteLines[0], "[Dir]");
  EXPECT_EQ(layout.NoteLines[1], "x");
}

TEST(LabelTexts, NumberFieldsAreFilledInWhatTheRendererGets) {
  struct Case {
    const char* typed;
    const char* drawn;  // disc 2 of 12
  };
  const Case cases[] = {
      {"Holidays {n} of {N}", "Holidays 2 of 12"},
      {"{n}{n}{N}", "2212"},
      {"{{n} is literal, {{{n}}", "{n} is literal, {2}"},  // "{{" is one brace
      {"{x} { n} {n {N }{", "{x} { n} {n {N }{"},          // not fields: kept as typed
      {"}{N}}", "}12}"},
      {"{", "{"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FillNumberFields(c.typed, 2, 12), c.drawn) << c.typed;
  EXPECT_TRUE(HasNumberFields("a {N}"));
  EXPECT_FALSE(HasNumberFields("a {{n} b"));

  // Published, the fields are filled (1 of 1 for a single disc) and the
  // folder order still sees the "[" the line was typed with.
  test::TempSettings s;
  CELLayout layout(s.Path());
  LabelTexts t;
  t.SetTitle("Disc {n}/{N}");
  t.SetDate("{N} discs");
  t.SetNote("x {n}\n[{n}]\n");
  t.PublishLabelTexts(layout);
  EXPECT_EQ(layout.Title, "Disc 1/1");
  t.SetDiscNumber(3, 5);
  t.PublishLabelTexts(layout);
  EXPECT_EQ(layout.Title, "Disc 3/5");
  EXPECT_EQ(layout.Date, "5 discs");
  EXPECT_EQ(layout.NoteLines[0], "[3]");
  EXPECT_EQ(layout.NoteLines[1], "x 3");
  EXPECT_EQ(t.Title(), "Disc {n}/{N}");  // the typed texts keep their fields
  t.SetDiscNumber(0, -4);
  EXPECT_EQ(t.DiscNumber(), 1);
  EXPECT_EQ(t.DiscCount(), 1);
}

// The disc's QR text: the parts it has, the date written out, a capped
// count said as "at least", names whole and in order until one does not fit.
TEST(LabelTexts, DiscQrTextTakesWhatFitsWhole) {
  struct Case {
    const char* what;
    DiscQrFacts facts;
    std::size_t maxBytes;
    const char* text;
  };
  const std::vector<std::string> names{"DATA/", "Read me.txt", "Gr\u00F6\u00DFe.txt", "z"};
  const Case cases[] = {
      {"all parts",
       {"BACKUP", "20240501", true, false, 1234, 56'749'999, names},
       300,
       "BACKUP, 2024-05-01, 1234 files, 56.7 MB, DATA/, Read me.txt, Gr\u00F6\u00DFe.txt, z"},
      {"names end at the first that does not fit",
       {"BACKUP", "20240501", true, false, 1234, 56'749'999, names},
       62,
       "BACKUP, 2024-05-01, 1234 files, 56.7 MB, DATA/, Read me.txt"},
      {"capped count, whole megabytes, one file",
       {"V", "2024", true, true, 200000, 4'482'000'000, {}},
       300,
       "V, 2024, 200000+ files, 4482+ MB"},
      {"one file", {"", "", true, false, 1, 400'000, {"a"}}, 300, "1 file, 0.4 MB, a"},
      {"not counted, no volume",
       {"", "19991231", false, false, 0, 0, {"x/"}},
       300,
       "1999-12-31, x/"},
      {"nothing", {}, 300, ""},
      {"room for nothing", {"VOLUME", "", false, false, 0, 0, {"a"}}, 3, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DiscQrText(c.facts, c.maxBytes), c.text) << c.what;
    EXPECT_LE(DiscQrText(c.facts, c.maxBytes).size(), c.maxBytes) << c.what;
  }
  EXPECT_EQ(MegabytesText(0), "0.0");
  EXPECT_EQ(MegabytesText(99'949'999), "99.9");
  EXPECT_EQ(MegabytesText(734'003'200), "734");
}

}  // namespace
}  // namespace twr
