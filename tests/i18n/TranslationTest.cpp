// The program in the user's language: which language the environment asks
// for, the compiled-in German translation answering the core's texts, and
// `twr` run as a user runs it, German under LANGUAGE=de and English byte for
// byte under LANGUAGE=C or LC_ALL=C.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/Strings.h"
#include "common/TempDir.h"
#include "common/Translate.h"
#include "i18n/Languages.h"
#include "i18n/Translations.h"

namespace twr {
namespace {

TEST(MessageLanguages, FollowTheLocaleAndLanguageAsGettextDoes) {
  using Env = std::map<std::string, std::string>;
  struct Case {
    Env env;
    std::vector<std::string> languages;
  };
  const Case cases[] = {
      {{}, {}},
      {{{"LANG", "de_DE.UTF-8"}}, {"de_DE", "de"}},
      {{{"LANG", "de_AT.UTF-8@euro"}}, {"de_AT", "de"}},
      {{{"LANG", "fr_FR.UTF-8"}, {"LC_MESSAGES", "de_CH.UTF-8"}}, {"de_CH", "de"}},
      {{{"LC_MESSAGES", "de_CH.UTF-8"}, {"LC_ALL", "pt_BR.UTF-8"}}, {"pt_BR", "pt"}},
      {{{"LANG", "de_DE.UTF-8"}, {"LC_ALL", ""}}, {"de_DE", "de"}},  // empty is unset
      // LANGUAGE's list replaces the locale's language...
      {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "fr:nl_BE"}}, {"fr", "nl_BE", "nl"}},
      {{{"LANG", "C.UTF-8"}, {"LANGUAGE", "::de:"}}, {"de"}},
      // ...but only where the locale is not C: LC_ALL=C keeps a script in English.
      {{{"LC_ALL", "C"}, {"LANGUAGE", "de"}}, {}},
      {{{"LANG", "POSIX"}, {"LANGUAGE", "de"}}, {}},
      {{{"LANGUAGE", "de"}}, {}},
      // C, POSIX and English end the list: the texts are written in English.
      {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "C"}}, {}},
      {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "fr:en_GB:de"}}, {"fr"}},
      {{{"LANG", "C.UTF-8"}}, {}},
      {{{"LANG", "en_US.UTF-8"}}, {}},
      // What is no language name is skipped, never looked for.
      {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "../x:d:de-DE:de"}}, {"de"}},
  };
  for (const Case& c : cases) {
    const auto languages = i18n::MessageLanguages([&](const char* name) -> const char* {
      const auto found = c.env.find(name);
      return found == c.env.end() ? nullptr : found->second.c_str();
    });
    std::string env;
    for (const auto& [name, value] : c.env) env += name + "=" + value + " ";
    EXPECT_EQ(languages, c.languages) << env;
  }
}

TEST(ProgramTranslations, AnswerTheCoreTextsWhileTheyLive) {
  const char* english = StringText(kStrDriveNotFound);
  EXPECT_STREQ(english, "Etchlume Drive is not found.");
  {
    // No translation for French: the next language is taken.
    const i18n::ProgramTranslations german({"fr", "de_DE", "de"});
    EXPECT_EQ(german.Language(), "de");
    EXPECT_STREQ(StringText(kStrDriveNotFound), "Etchlume-Laufwerk wurde nicht gefunden.");
    EXPECT_STREQ(Tr("Strings", "Config"), "Einstellungen");
    // The same pointer each time, valid after the translations are gone.
    EXPECT_EQ(Tr("Strings", "Config"), Tr("Strings", "Config"));
    // A text the translation lacks, or another context's, stays as written.
    const char* lacking = "A text nobody translated.";
    EXPECT_EQ(Tr("Strings", lacking), lacking);
    EXPECT_STREQ(Tr("twr", "Config"), "Config");
    EXPECT_STREQ(StringText(12345), "");
  }
  EXPECT_EQ(StringText(kStrDriveNotFound), english);
  const i18n::ProgramTranslations none({"xx", "fr"});
  EXPECT_EQ(none.Language(), "");
  EXPECT_STREQ(StringText(kStrDriveNotFound), "Etchlume Drive is not found.");
}

TEST(Arg, FillsNumberedPlacesInTheLanguagesOrder) {
  EXPECT_EQ(Arg("%2 of %1", {"8", "3"}), "3 of 8");
  EXPECT_EQ(Arg("Drive %1: (%2) %1", {"D", "/dev/sr0"}), "Drive D: (/dev/sr0) D");
  // A place without a value, a lone % and 100% stay as written.
  EXPECT_EQ(Arg("%1 %3 % 100% %0 %", {"a", "b"}), "a %3 % 100% %0 %");
  EXPECT_EQ(Arg("%1", {"%2"}), "%2");  // values are not filled in again
  EXPECT_EQ(Arg("", {}), "");
}

struct Outcome {
  int status = -1;
  std::string out, err;
  bool operator==(const Outcome& other) const {
    return status == other.status && out == other.out && err == other.err;
  }
};

std::string Read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs twr in `dir` with only PATH, HOME and `locale` in its environment.
Outcome Twr(const test::TempDir& dir, const std::string& locale, const std::string& arguments) {
  const std::string command =
      "cd '" + dir.Path().string() + "' && env -i PATH=/usr/bin:/bin HOME='" + dir.Path().string() +
      "' " + locale + " timeout 20 '" TWR_CLI_PATH "' " + arguments + " > out.txt 2> err.txt";
  Outcome run;
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = Read(dir / "out.txt");
  run.err = Read(dir / "err.txt");
  return run;
}

TEST(TwrLanguage, GermanUnderLanguageDeAndEnglishBytesUnderC) {
  const test::TempDir dir("i18n");
  // A virtual drive that refuses the ELS page: no drive can etch labels.
  std::ofstream(dir / "twr.ini") << "[Config]\nLayoutNum=0\n[VirtualDrive]\nLetter=W\nElsPage=0\n";

  const std::string german = "LANG=de_DE.UTF-8 LANGUAGE=de";
  const Outcome help = Twr(dir, german, "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("\n\n»twr BEFEHL --help« nennt die Optionen eines Befehls.\n"),
            std::string::npos)
      << help.out;
  const Outcome drives = Twr(dir, german, "drives");
  EXPECT_EQ(drives.status, 1);
  EXPECT_EQ(drives.err.rfind("Etchlume-Laufwerk wurde nicht gefunden.\n(W:) TWRVIRT", 0), 0u)
      << drives.err;
  // A message of twr's own, with its value filled into the German sentence.
  const Outcome layout = Twr(dir, german, "layout show x7");
  EXPECT_EQ(layout.status, 2);
  EXPECT_EQ(layout.err,
            "twr layout show: »x7« ist keine Layoutnummer (siehe »twr layout show --help«)\n");

  // English as written, the same bytes as with no locale at all.
  const Outcome englishHelp = Twr(dir, "", "--help");
  const Outcome englishDrives = Twr(dir, "", "drives");
  EXPECT_NE(englishHelp.out.find("\n\nRun 'twr COMMAND --help' for the options of a command.\n"),
            std::string::npos);
  EXPECT_EQ(englishDrives.err.rfind("Etchlume Drive is not found.\n", 0), 0u) << englishDrives.err;
  for (const char* locale : {"LANG=de_DE.UTF-8 LANGUAGE=C", "LC_ALL=C LANGUAGE=de",
                             "LC_ALL=C.UTF-8", "LANG=de_DE.UTF-8 LANGUAGE=en_US:de"}) {
    EXPECT_EQ(Twr(dir, locale, "--help"), englishHelp) << locale;
    EXPECT_EQ(Twr(dir, locale, "drives"), englishDrives) << locale;
    EXPECT_EQ(Twr(dir, locale, "layout show x7").err,
              "twr layout show: 'x7' is not a layout number (see 'twr layout show --help')\n")
        << locale;
  }
}

}  // namespace
}  // namespace twr
