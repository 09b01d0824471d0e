// `twr layout`: a layout of the settings file shown, added, changed,
// deleted or moved, with the layout designer's rules and its save (only the
// layout sections that change and LayoutNum are written, in one atomic
// replace, under the file's edit lock held from the read to the write;
// every other line of the file stays as it is).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/GuiApplication.h"
#include "cli/Print.h"
#include "cli/SettingsFile.h"
#include "common/JsonWriter.h"
#include "common/ProfileFile.h"
#include "common/Utf8.h"
#include "label/LayoutFile.h"

namespace twr::cli {

namespace {

constexpr const char* kLayoutSummary = TWR_TRANSLATE_NOOP(
    "LayoutCommands",
    "Shows, adds, changes, deletes and moves the layouts of the settings file, with\n"
    "the layout designer's limits. Only the layout sections that change and\n"
    "[Config] LayoutNum are written, in one step; every other line stays.");

void PrintLayoutUsage(std::FILE* out) {
  std::fputs(Tr("LayoutCommands",
                "Usage: twr layout show N [--json]\n"
                "       twr layout new [--from N] --name NAME\n"
                "       twr layout set N KEY=VALUE...\n"
                "       twr layout delete N\n"
                "       twr layout move N M\n\n"),
             out);
  std::fprintf(out, "%s\n\n%s\n", Tr("LayoutCommands", kLayoutSummary),
               Tr("LayoutCommands",
                  "Layouts are numbered from 0 as 'twr layouts' lists them. KEY is a key of a\n"
                  "[LayoutNN] section (TitlePosX, BgColor, RingType, ...). A BgImage picture is\n"
                  "copied into the settings file's bg/ folder unless it lies in that file's\n"
                  "folder already. Run 'twr layout SUBCOMMAND --help' for its options."));
}

// The arguments of a subcommand split into its numbers and words
// (positionals) and its options, which go to the option parser.
struct SplitArguments {
  std::vector<std::string> positionals;
  std::vector<std::string> options;  // options[0] is the command name
  bool help = false;
};

SplitArguments Split(int argc, char** argv, const std::vector<std::string>& valueOptions) {
  SplitArguments split;
  split.options.emplace_back(argv[0]);
  bool ended = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!ended && arg == "--") {
      ended = true;
      continue;
    }
    // A negative number is a value, not an option.
    if (ended || arg.rfind("--", 0) != 0) {
      if (!ended && arg == "-h") {
        split.help = true;
        continue;
      }
      split.positionals.push_back(arg);
      continue;
    }
    if (arg == "--help") {
      split.help = true;
      continue;
    }
    split.options.push_back(arg);
    const std::string name = arg.substr(2);
    for (const std::string& option : valueOptions) {
      if (name == option && i + 1 < argc) split.options.emplace_back(argv[++i]);
    }
  }
  return split;
}

class Subcommand {
 public:
  Subcommand(std::string name, std::string usage, std::string summary)
      : name_(std::move(name)),
        usage_(std::move(usage)),
        parser_("layout " + name_, std::move(summary)) {}

  ArgParser& Parser() { return parser_; }

  // Parses; kOk, or the exit status to return at once in `status`.
  bool Parse(int argc, char** argv, const std::vector<std::string>& valueOptions,
             std::size_t positionals, int& status) {
    split_ = Split(argc, argv, valueOptions);
    if (split_.help) {
      std::string help = parser_.Help();
      help.replace(0, help.find('\n'),
                   Arg(Tr("LayoutCommands", "Usage: twr layout %1"), {name_ + " " + usage_}));
      std::fputs(help.c_str(), stdout);
      status = kExitOk;
      return false;
    }
    std::vector<char*> args;
    for (std::string& a : split_.options) args.push_back(a.data());
    const ArgParser::Result result = parser_.Parse(static_cast<int>(args.size()), args.data());
    if (result != ArgParser::kOk) {
      status = ExitStatusFor(result);
      return false;
    }
    const bool many = positionals == kMany;
    if ((!many && split_.positionals.size() != positionals) ||
        (many && split_.positionals.size() < 2)) {
      status = parser_.UsageError(Arg(Tr("LayoutCommands", "needs %1"), {usage_}));
      return false;
    }
    return true;
  }
  const std::vector<std::string>& Positionals() const { return split_.positionals; }
  int UsageError(const std::string& message) const { return parser_.UsageError(message); }

  // A layout number among the positionals.
  bool Number(std::size_t at, int& out, int& status) const {
    if (!ParseInt(split_.positionals[at], out)) {
      status = UsageError(
          Arg(Tr("LayoutCommands", "'%1' is not a layout number"), {split_.positionals[at]}));
      return false;
    }
    return true;
  }

  static constexpr std::size_t kMany = static_cast<std::size_t>(-1);

 private:
  std::string name_;
  std::string usage_;
  ArgParser parser_;
  SplitArguments split_;
};

// The settings file's layouts; false after saying why. A command that
// changes them holds the file's edit lock from here until it ends, so that
// what it writes is made from what the file holds then.
bool ReadLayouts(LayoutFile& file, const char* command, bool forEdit = true) {
  std::string problem;
  if (forEdit && !file.LockForEdit(Settings().path, problem)) {
    PrintLine(stderr, Tr("LayoutCommands", "twr layout %1: %2"),
              {command, SaveFailureText(Settings().path, problem)});
    return false;
  }
  if (file.Read(Settings().path, &problem)) return true;
  PrintLine(stderr, Tr("LayoutCommands", "twr layout %1: cannot read the settings file %2: %3"),
            {command, Settings().path, problem});
  return false;
}

int SaveLayouts(LayoutFile& file, const std::vector<LayoutDefinition>& layouts,
                const char* command) {
  const FileWriteResult saved = file.Save(layouts);
  if (saved.ok) return kExitOk;
  PrintLine(stderr, Tr("LayoutCommands", "twr layout %1: %2"),
            {command, SaveFailureText(file.Path(), saved.problem)});
  return kExitFailure;
}

int Refuse(const char* command, const std::string& why) {
  PrintLine(stderr, Tr("LayoutCommands", "twr layout %1: %2"), {command, why});
  return kExitUsage;
}

std::string Quoted(const std::string& name) {
  std::string quoted(1, '"');
  quoted += name;
  quoted += '"';
  return quoted;
}

int RunShow(int argc, char** argv) {
  Subcommand sub("show", "N [--json]",
                 Tr("LayoutCommands",
                    "Prints the keys of layout N as its [LayoutNN] section holds them, one\n"
                    "KEY=VALUE per line, or as JSON with --json."));
  bool json = false;
  sub.Parser().Flag("json",
                    Tr("LayoutCommands",
                       "Print {\"settings\", \"index\", \"section\", \"keys\": {KEY: value}} "
                       "(numbers as numbers)."),
                    &json);
  int status = 0, index = 0;
  if (!sub.Parse(argc, argv, {"config"}, 1, status) || !sub.Number(0, index, status)) return status;
  LayoutFile file;
  if (!ReadLayouts(file, "show", false)) return kExitFailure;
  if (std::string why = CheckLayoutIndex(file.Layouts(), index); !why.empty())
    return Refuse("show", why);
  const LayoutDefinition& layout = file.Layouts()[static_cast<std::size_t>(index)];
  const std::string section = LayoutSectionName(index);
  if (json) {
    JsonWriter out;
    out.BeginObject()
        .Key("settings")
        .String(file.Path())
        .Key("index")
        .Int(index)
        .Key("section")
        .String(section)
        .Key("keys")
        .BeginObject();
    for (const LayoutKey& key : LayoutKeys()) {
      out.Key(key.name);
      if (key.IsText())
        out.String(key.Value(layout));
      else
        out.Int(key.Number(layout));
    }
    for (const auto& [key, value] : layout.OtherKeys) out.Key(key).String(value);
    out.EndObject().EndObject();
    std::printf("%s\n", out.Text().c_str());
    return kExitOk;
  }
  // Values as the file holds them, control characters shown as escapes.
  std::printf("[%s]\n", section.c_str());
  for (const LayoutKey& key : LayoutKeys())
    std::printf("%s=%s\n", key.name, TerminalText(LayoutKeyAsWritten(layout, key)).c_str());
  for (const auto& [key, value] : layout.OtherKeys)
    std::printf("%s=%s\n", TerminalText(key).c_str(), TerminalText(value).c_str());
  return kExitOk;
}

int RunNew(int argc, char** argv) {
  Subcommand sub("new", "[--from N] --name NAME",
                 Tr("LayoutCommands",
                    "Adds a layout at the end of the list: a copy of layout N with --from,\n"
                    "otherwise the built-in starting layout (title, date and note boxes, title\n"
                    "and date on the upper arc of the ring, notes below)."));
  std::optional<int> from;
  std::string name;
  sub.Parser().Integer("from", "N", Tr("LayoutCommands", "Copy layout N."), &from);
  sub.Parser().Option("name", "NAME",
                      Tr("LayoutCommands", "The new layout's name (1 to 79 bytes)."), &name);
  int status = 0;
  if (!sub.Parse(argc, argv, {"from", "name", "config"}, 0, status)) return status;
  if (name.empty()) return sub.UsageError(Tr("LayoutCommands", "needs --name NAME"));
  LayoutFile file;
  if (!ReadLayouts(file, "new")) return kExitFailure;
  std::vector<LayoutDefinition> layouts = file.Layouts();
  LayoutDefinition layout = StarterLayout();
  if (from) {
    if (std::string why = CheckLayoutIndex(layouts, *from); !why.empty()) return Refuse("new", why);
    layout = layouts[static_cast<std::size_t>(*from)];
  }
  if (std::string why = SetLayoutValue(layout, "Name", name); !why.empty())
    return Refuse("new", why + ".");
  if (std::string why = AddLayout(layouts, std::move(layout)); !why.empty())
    return Refuse("new", why);
  if (const int saved = SaveLayouts(file, layouts, "new"); saved != kExitOk) return saved;
  const std::string added = std::to_string(layouts.size() - 1);
  if (from)
    PrintLine(stdout, Tr("LayoutCommands", "Added layout %1 %2 (a copy of layout %3)"),
              {added, Quoted(name), std::to_string(*from)});
  else
    PrintLine(stdout, Tr("LayoutCommands", "Added layout %1 %2 (the built-in starting layout)"),
              {added, Quoted(name)});
  return kExitOk;
}

int RunSet(int argc, char** argv) {
  Subcommand sub("set", "N KEY=VALUE...",
                 Tr("LayoutCommands",
                    "Sets keys of layout N (the keys of a [LayoutNN] section, VALUE as the file\n"
                    "writes it). Every value is checked first: one outside its limits is refused\n"
                    "with the reason and nothing is written. A BgImage picture (named from the\n"
                    "current folder) is copied into the settings file's bg/ folder unless it lies\n"
                    "in that file's folder already; BgImage= takes the picture away."));
  int status = 0, index = 0;
  if (!sub.Parse(argc, argv, {"config"}, Subcommand::kMany, status) ||
      !sub.Number(0, index, status))
    return status;
  LayoutFile file;
  if (!ReadLayouts(file, "set")) return kExitFailure;
  if (std::string why = CheckLayoutIndex(file.Layouts(), index); !why.empty())
    return Refuse("set", why);
  std::vector<LayoutDefinition> layouts = file.Layouts();
  LayoutDefinition& layout = layouts[static_cast<std::size_t>(index)];
  std::vector<const LayoutKey*> keys;
  std::string picture;  // a BgImage named here, to be adopted
  bool pictureSet = false;
  for (std::size_t i = 1; i < sub.Positionals().size(); ++i) {
    const std::string& assignment = sub.Positionals()[i];
    const std::size_t eq = assignment.find('=');
    if (eq == std::string::npos)
      return sub.UsageError(Arg(Tr("LayoutCommands", "'%1' is not KEY=VALUE"), {assignment}));
    const LayoutKey* key = FindLayoutKey(assignment.substr(0, eq));
    const std::string value = assignment.substr(eq + 1);
    if (key == nullptr) {
      std::string names;
      for (const LayoutKey& k : LayoutKeys())
        names += (names.empty() ? "" : ", ") + std::string(k.name);
      return Refuse("set",
                    Arg(Tr("LayoutCommands", "'%1' is not a key of a layout (the keys: %2)."),
                        {assignment.substr(0, eq), names}));
    }
    keys.push_back(key);
    // A picture is adopted once every other value is found good.
    if (key->unit == LayoutUnit::PicturePath) {
      picture = value;
      pictureSet = true;
      continue;
    }
    if (std::string why = AssignLayoutValue(layout, key->name, value); !why.empty())
      return Refuse("set", why + ".");
  }
  for (const LayoutKey* key : keys) {
    if (key->unit == LayoutUnit::PicturePath) continue;
    if (std::string why = CheckLayoutKey(layout, key->name); !why.empty())
      return Refuse("set", why + ".");
  }
  LayoutFile::Picture adopted;
  if (pictureSet && !picture.empty()) {
    StartGui();  // the picture is decoded to see that it can be used
    const std::string path = std::filesystem::absolute(picture).string();
    adopted = file.AdoptPicture(path);
    if (!adopted.ok)
      return Refuse("set", Arg(Tr("LayoutCommands", "BgImage: %1."), {adopted.problem}));
    if (std::string why = SetLayoutValue(layout, "BgImage", adopted.value); !why.empty())
      return Refuse("set", why + ".");
  } else if (pictureSet) {
    layout.BgImage.clear();
  }
  const int saved = SaveLayouts(file, layouts, "set");
  if (saved != kExitOk) {
    // A picture copied for this change goes again.
    std::error_code ec;
    if (adopted.copied)
      std::filesystem::remove(std::filesystem::path(file.Folder()) / adopted.value, ec);
    return saved;
  }
  std::string done;
  for (const LayoutKey* key : keys)
    done.append(" ").append(key->name).append("=").append(key->Value(layout));
  PrintLine(stdout, Tr("LayoutCommands", "Layout %1:%2"), {std::to_string(index), done});
  return kExitOk;
}

int RunDelete(int argc, char** argv) {
  Subcommand sub("delete", "N",
                 Tr("LayoutCommands",
                    "Deletes layout N; the layouts after it move up one place. The only layout\n"
                    "cannot be deleted."));
  int status = 0, index = 0;
  if (!sub.Parse(argc, argv, {"config"}, 1, status) || !sub.Number(0, index, status)) return status;
  LayoutFile file;
  if (!ReadLayouts(file, "delete")) return kExitFailure;
  std::vector<LayoutDefinition> layouts = file.Layouts();
  const std::string name = index >= 0 && index < static_cast<int>(layouts.size())
                               ? layouts[static_cast<std::size_t>(index)].Name
                               : std::string();
  if (std::string why = DeleteLayout(layouts, index); !why.empty()) return Refuse("delete", why);
  if (const int saved = SaveLayouts(file, layouts, "delete"); saved != kExitOk) return saved;
  PrintLine(stdout, Tr("LayoutCommands", "Deleted layout %1 %2; %3 layouts are left"),
            {std::to_string(index), Quoted(name), std::to_string(layouts.size())});
  return kExitOk;
}

int RunMove(int argc, char** argv) {
  Subcommand sub(
      "move", "N M",
      Tr("LayoutCommands", "Moves layout N to place M; the layouts between move over by one."));
  int status = 0, from = 0, to = 0;
  if (!sub.Parse(argc, argv, {"config"}, 2, status) || !sub.Number(0, from, status) ||
      !sub.Number(1, to, status))
    return status;
  LayoutFile file;
  if (!ReadLayouts(file, "move")) return kExitFailure;
  std::vector<LayoutDefinition> layouts = file.Layouts();
  if (std::string why = MoveLayout(layouts, from, to); !why.empty()) return Refuse("move", why);
  if (const int saved = SaveLayouts(file, layouts, "move"); saved != kExitOk) return saved;
  PrintLine(stdout, Tr("LayoutCommands", "Moved layout %1 %2 to place %3"),
            {std::to_string(from), Quoted(layouts[static_cast<std::size_t>(to)].Name),
             std::to_string(to)});
  return kExitOk;
}

}  // namespace

int RunLayout(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "%s\n\n", Tr("LayoutCommands", "twr layout: no subcommand given"));
    PrintLayoutUsage(stderr);
    return kExitUsage;
  }
  const std::string sub = argv[1];
  if (sub == "--help" || sub == "-h" || sub == "help") {
    PrintLayoutUsage(stdout);
    return kExitOk;
  }
  struct Entry {
    const char* name;
    int (*run)(int, char**);
  };
  static constexpr Entry kSubcommands[] = {
      {"show", RunShow}, {"new", RunNew}, {"set", RunSet}, {"delete", RunDelete}, {"move", RunMove},
  };
  std::vector<std::string> names{"help"};
  for (const Entry& e : kSubcommands) {
    if (sub == e.name) return e.run(argc - 1, argv + 1);
    names.emplace_back(e.name);
  }
  const std::string meant = ClosestWord(sub, names);
  std::fprintf(
      stderr, "%s\n\n",
      (meant.empty()
           ? Arg(Tr("LayoutCommands", "twr layout: unknown subcommand '%1'"), {sub})
           : Arg(Tr("LayoutCommands", "twr layout: unknown subcommand '%1'; did you mean '%2'?"),
                 {sub, meant}))
          .c_str());
  PrintLayoutUsage(stderr);
  return kExitUsage;
}

}  // namespace twr::cli
