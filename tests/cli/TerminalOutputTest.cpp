// What `twr` writes while it works: the status line live and plain, the
// burn's progress in words, and numbers with a point in a German locale.
#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <string>

#include "cli/BurnProgressView.h"
#include "cli/StatusLine.h"
#include "common/DecimalText.h"

namespace twr::cli {
namespace {

std::string Contents(std::FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string text;
  for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
  return text;
}

TEST(StatusLine, LiveRedrawsInPlacePlainWritesLinesSparingly) {
  std::FILE* live = std::tmpfile();
  StatusLine liveLine(live, true);
  liveLine.Show("Burning  10%", false);
  liveLine.Show("Burning  10%", false);  // unchanged: nothing drawn
  liveLine.Show("Done", true);
  liveLine.End();
  EXPECT_EQ(Contents(live), "\rBurning  10%\rDone        \n");
  std::fclose(live);

  std::FILE* plain = std::tmpfile();
  auto now = std::chrono::steady_clock::time_point{};
  StatusLine plainLine(plain, false, [&] { return now; });
  plainLine.Show("a 1", false);  // the first line always
  plainLine.Show("a 2", false);  // too soon
  plainLine.Show("b", true);     // significant
  now += StatusLine::kPlainInterval;
  plainLine.Show("b", false);  // due, but unchanged
  plainLine.Show("c", false);  // due
  EXPECT_EQ(Contents(plain), "a 1\nb\nc\n");
  std::fclose(plain);
}

TEST(BurnProgressView, DescribesEachPhaseAndOneLinePerPercent) {
  BurnProgressState s;
  s.low = 0;
  s.high = 200;
  s.phase = BurnPhase::Burning;
  s.position = 85;
  s.text = "03:05";
  EXPECT_EQ(DescribeProgress(s), "Burning  42%  03:05 left  (write 85 of 200)");
  EXPECT_EQ(WritePosition(s), "write 85 of 200 (42%)");
  s.phaseDetail = 2;  // losses of streaming so far
  EXPECT_EQ(DescribeProgress(s),
            "Burning  42%  03:05 left  (write 85 of 200)  Loss of streaming (2 so far)");
  s.phase = BurnPhase::DriveBusy;
  s.phaseDetail = 7;
  EXPECT_EQ(DescribeProgress(s), "Drive busy (retrying for 7 s)  (write 85 of 200)");
  s.phase = BurnPhase::WaitingForDrive;
  s.phaseDetail = 3;
  EXPECT_EQ(DescribeProgress(s), "Waiting for the drive (3/255)");
  s.phase = BurnPhase::Done;
  EXPECT_EQ(DescribeProgress(s), "");

  std::FILE* out = std::tmpfile();
  auto now = std::chrono::steady_clock::time_point{};
  StatusLine line(out, false, [&] { return now; });
  BurnProgressView view(line);
  s = {};
  s.high = 1000;
  s.phase = BurnPhase::Burning;
  for (s.position = 0; s.position <= 1000; ++s.position) {
    // Losses of streaming on the way add no lines of their own.
    s.phase = s.position % 7 == 3 ? BurnPhase::StreamingLost : BurnPhase::Burning;
    s.phaseDetail = s.position / 7;
    view.Update(s);
  }
  s.phase = BurnPhase::Synchronising;
  view.Update(s);
  const std::string text = Contents(out);
  std::fclose(out);
  int lines = 0;
  for (char c : text) lines += c == '\n';
  EXPECT_EQ(lines, 101 + 1);  // 0% ... 100%, then the phase
  EXPECT_NE(text.find("Synchronising the drive's cache"), std::string::npos);
}

TEST(DecimalText, APointInEveryLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
    GTEST_SKIP() << "de_DE.UTF-8 is not installed (scripts/install-deps.sh --test makes it)";
  char c[16];
  std::snprintf(c, sizeof c, "%.1f", 25.5);
  EXPECT_STREQ(c, "25,5");  // what a locale-bound format would print
  EXPECT_EQ(FormatDecimal(25.5, 1), "25.5");
  EXPECT_EQ(FormatDecimal(25.55, 1), "25.6");
  EXPECT_EQ(FormatDecimal(58.0, 1), "58.0");
  double v = 0.0;
  EXPECT_TRUE(ParseDecimal("25.5", v));
  EXPECT_EQ(v, 25.5);
  EXPECT_FALSE(ParseDecimal("25,5", v));
  int n = 0;
  EXPECT_TRUE(ParseInteger("-12", n));
  EXPECT_EQ(n, -12);
  std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace twr::cli
