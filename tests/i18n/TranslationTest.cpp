// The program in the user's language: which language the environment asks
// for, the compiled-in German translation answering the core's texts, and
// `twr` run as a user runs it, German under LANGUAGE=de and English byte for
// byte under LANGUAGE=C or LC_ALL=C.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <QCoreApplication>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "burn/BurnPlan.h"
#include "cli/TerminalMessages.h"
#include "common/SettingsLocation.h"
#include "common/Strings.h"
#include "common/TempDir.h"
#include "common/Translate.h"
#include "common/WholeFile.h"
#include "drive/CELDevice.h"
#include "drive/DiscName.h"
#include "i18n/Languages.h"
#include "i18n/Translations.h"
#include "label/Design.h"
#include "label/MergeCsv.h"
#include "ui/model/LayoutDesignerModel.h"

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

// Texts of the layers below the front ends, each with its values in the
// sentence: English as written without a translation, German with it, and
// English again for what is kept in files and JSON.
TEST(ProgramTranslations, LayerTextsAreWholeSentencesInEitherLanguage) {
  const test::TempDir dir("i18n-layers");
  struct Case {
    std::function<std::string()> text;
    const char* english;
    const char* german;
  };
  const Case cases[] = {
      {[] { return DiscNameFor(kDiscUnknown, 0, true).Shown(); }, "Etchlume disc  label-side",
       "Etchlume-Disc  Labelseite"},
      {[] { return DiscNameFor(kDiscUnknown, 0, true).text; }, "Etchlume disc  label-side",
       "Etchlume disc  label-side"},
      {[] { return ReadMergeCsv("title,colour\nA,b\n").Message(); },
       "row 1: column 2 is named \"colour\"; the columns are title, date and note1 to note10",
       "Zeile 1: Spalte 2 heißt »colour«; die Spalten sind title, date und note1 bis note10"},
      {[] { return ReadMergeCsv("note1\n\"A\nA\"\n\"B\n").Message(); },
       "row 3 (line 4): field 1 opens a double quote that is never closed",
       "Zeile 3 (Textzeile 4): Feld 1 öffnet ein doppeltes Anführungszeichen, das nie geschlossen "
       "wird"},
      {[] {
         LabelDocument design;
         std::string problem;
         ParseDesign(std::string("{\"format\": \"") + kDesignFormatName + "\", \"version\": 99}",
                     design, problem);
         return problem;
       },
       "it was written by a newer Titlewright (format version 99); this one reads version 1",
       "es wurde von einem neueren Titlewright geschrieben (Formatversion 99); dieses liest "
       "Version 1"},
      {[&dir] {
         std::string bytes, problem;
         ReadRegularFile(dir.Path().string(), 100, bytes, problem);
         return problem;
       },
       "it is a folder", "die Datei ist ein Ordner"},
      {[] {
         return LocateSettings({"/nowhere/twr.ini", ".", "", "", ""}).problem;
       },
       "/nowhere/twr.ini does not exist", "/nowhere/twr.ini existiert nicht"},
      {[] {
         return PlanFailureDetail({PlanCheck::FeedDivisor, 0});
       },
       "The feed divisor that the page selects (offset 58 or 60) is 0. The drive's ELS page "
       "cannot be used for a burn.",
       "Der Vorschubteiler, den die Seite wählt (Offset 58 oder 60), ist 0. Die ELS-Seite des "
       "Laufwerks taugt nicht zum Brennen."},
      // The layout designer's texts go through the application's translator.
      {[] { return ui::LayoutDesignerModel().SetNumber("TitlePosX", 1); },
       "No settings file is open", "Keine Einstellungsdatei ist geöffnet"},
      {[&dir] {
         std::ofstream(dir / "empty.ini") << "[Config]\nLayoutNum=0\n";
         std::string problem;
         ui::LayoutDesignerModel().Open(dir.File("empty.ini"), 0, &problem);
         return problem;
       },
       "it holds no layout", "sie enthält kein Layout"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text(), c.english);
  i18n::ProgramTranslations german({"de"});
  german.InstallInto(*QCoreApplication::instance());
  for (const Case& c : cases) EXPECT_EQ(c.text(), c.german);
}

// twr's [y/N] question takes y in every language and the language's own
// first letter (j) where it speaks German.
TEST(ProgramTranslations, YesAnswersFollowTheLanguage) {
  const auto answer = [](const char* typed) {
    std::istringstream in(typed);
    std::streambuf* const old = std::cin.rdbuf(in.rdbuf());
    const bool yes = cli::TerminalMessages().AskYesNo("Go on?", MessageIcon::Warning);
    std::cin.rdbuf(old);
    return yes;
  };
  EXPECT_TRUE(answer("y\n"));
  EXPECT_FALSE(answer("j\n"));
  const i18n::ProgramTranslations german({"de"});
  for (const char* yes : {"j\n", "Ja\n", "y\n", "Yes\n"}) EXPECT_TRUE(answer(yes)) << yes;
  for (const char* no : {"n\n", "\n", "", "nein\n"}) EXPECT_FALSE(answer(no)) << no;
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

// Runs twr (or `program`) in `dir` with only PATH, HOME and `locale` in its
// environment.
Outcome Twr(const test::TempDir& dir, const std::string& locale, const std::string& arguments,
            const char* program = TWR_CLI_PATH) {
  const std::string command =
      "cd '" + dir.Path().string() + "' && env -i PATH=/usr/bin:/bin HOME='" + dir.Path().string() +
      "' " + locale + " timeout 20 '" + program + "' " + arguments + " > out.txt 2> err.txt";
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

// The label's warnings in twr and the window program's --help, German under
// LANGUAGE=de, and under LANGUAGE=C the English bytes as they always were.
TEST(TwrLanguage, WarningsAndTheWindowProgramsHelp) {
  const test::TempDir dir("i18n-render");
  std::ofstream(dir / "twr.ini") << "[Config]\nLayoutNum=0\n";
  ASSERT_EQ(Twr(dir, "", "layout new --name Probe").status, 0);
  ASSERT_EQ(Twr(dir, "", "layout set 0 TitleMaxNum=4").status, 0);
  std::string lines;
  for (int k = 1; k <= 11; ++k) lines += " --note L" + std::to_string(k);
  const std::string render = "render --title Sommerfest --label l.png" + lines;
  const struct {
    std::string arguments;
    const char* program;
    std::string english;  // stderr, or stdout when nothing went to stderr
    std::string german;   // a line of it
  } cases[] = {
      {render, TWR_CLI_PATH,
       "twr render: warning: The title \"Sommerfest\" is cut to \"Somm\" (TitleMaxNum=4 "
       "characters; a wide East Asian character counts two).\n"
       "twr render: warning: Only ten note lines are drawn; 1 more line is left out: \"L11\".\n",
       "twr render: Warnung: Der Titel »Sommerfest« wird auf »Somm« gekürzt (TitleMaxNum=4 "
       "Zeichen; ein breites ostasiatisches Zeichen zählt doppelt).\n"},
      {"--help", TWR_APP_PATH,
       "Usage: titlewright [--config FILE] [--screenshot FILE] [DESIGN.twrlabel]\n\n"
       "Designs a round disc label and etches it with an Etchlume drive.\n\n"
       "  DESIGN.twrlabel    open this label design\n"
       "  --config FILE      read the layouts from FILE\n"
       "  --screenshot FILE  write the main window to a PNG once it is open, then exit\n"
       "  --version          print the version and exit\n"
       "  --help             print this help and exit\n",
       "  --screenshot FILE  das Hauptfenster als PNG schreiben, sobald es offen ist, dann "
       "beenden\n"},
  };
  for (const auto& c : cases) {
    const Outcome english = Twr(dir, "LANG=de_DE.UTF-8 LANGUAGE=C", c.arguments, c.program);
    EXPECT_EQ(english.status, 0) << c.arguments;
    EXPECT_EQ(english.err.empty() ? english.out : english.err, c.english);
    EXPECT_EQ(Twr(dir, "", c.arguments, c.program), english) << c.arguments;
    const Outcome german = Twr(dir, "LANG=de_DE.UTF-8 LANGUAGE=de", c.arguments, c.program);
    EXPECT_NE((german.out + german.err).find(c.german), std::string::npos)
        << german.out << german.err;
  }
}

}  // namespace
}  // namespace twr
