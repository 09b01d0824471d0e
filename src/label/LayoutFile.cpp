// Reading, rewriting and saving the layouts of a settings file, and the
// pictures that go with them.
#include "label/LayoutFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "common/SettingsLocation.h"
#include "common/Translate.h"
#include "label/ImageBuffer.h"

namespace twr {

namespace {

namespace fs = std::filesystem;

constexpr const char* kConfigSection = "Config";
constexpr const char* kLayoutNumKey = "LayoutNum";
constexpr const char* kFontKey = "Font";
// Names tried for a copied picture before giving up: name.png, name-2.png ...
constexpr int kMaxPictureNames = 1000;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\f' || c == '\v';
}

// A text value as the file has to hold it so that the reader gives it back:
// quoted when the reader would trim its blanks or take away its quotes.
std::string Written(std::string_view value) {
  const bool blankEnds = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
  const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
  std::string written(value);
  if (blankEnds || quoted) {
    written.insert(written.begin(), '"');
    written += '"';
  }
  return written;
}

std::string KeyText(const LayoutDefinition& layout, const std::string& key) {
  const std::string value = LayoutKeyValue(layout, key);
  return IsLayoutTextKey(key) ? Written(value) : value;
}

const std::string* OtherValue(const LayoutDefinition& layout, std::string_view key) {
  for (const auto& [k, v] : layout.OtherKeys)
    if (ProfileNameEquals(k, key)) return &v;
  return nullptr;
}

int LayoutCount(const ProfileFile& ini) {
  return std::clamp(ini.GetInt(kConfigSection, kLayoutNumKey, 0), 0, kMaxLayoutCount);
}

std::string ReadBytes(const fs::path& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  ok = static_cast<bool>(in) || in.eof();
  return bytes;
}

// Letters, digits, '.', '-' and '_' stay; anything else becomes '-'.
std::string SafeStem(const std::string& stem) {
  std::string safe;
  for (char c : stem) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-' || c == '_';
    safe += plain ? c : '-';
  }
  if (safe.empty() || safe.front() == '.') safe.insert(safe.begin(), 'p');
  return safe;
}

std::string LowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// Copies `source` to `target` through a temporary name, so that a copy cut
// short never stands under the picture's name.
bool CopyWhole(const std::string& bytes, const fs::path& target, std::string& problem) {
  const fs::path part = target.string() + ".part";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      problem = Tr("LayoutFile", "it could not be written (is the disk full?)");
      std::error_code ec;
      fs::remove(part, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(part, target, ec);
  if (ec) {
    problem = ec.message();
    fs::remove(part, ec);
    return false;
  }
  return true;
}

}  // namespace

std::vector<LayoutDefinition> LayoutsOfText(std::string_view text) {
  const ProfileFile ini = ProfileFile::Parse(text);
  std::vector<LayoutDefinition> layouts;
  const int count = LayoutCount(ini);
  layouts.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) layouts.push_back(ReadLayoutDefinition(ini, i));
  return layouts;
}

std::string LayoutKeyAsWritten(const LayoutDefinition& layout, const std::string& key) {
  return KeyText(layout, key);
}

std::string SaveFailureText(const std::string& path, const std::string& problem) {
  return Arg(Tr("LayoutFile", "Cannot save the settings file %1: %2."), {path, problem});
}

std::string CheckLayoutIndex(const std::vector<LayoutDefinition>& layouts, int index) {
  if (index >= 0 && index < static_cast<int>(layouts.size())) return {};
  return Arg(Tr("LayoutFile",
                "Layout %1 does not exist: the settings file has %2 layouts, "
                "numbered from 0."),
             {std::to_string(index), std::to_string(layouts.size())});
}

std::string AddLayout(std::vector<LayoutDefinition>& layouts, LayoutDefinition layout) {
  if (static_cast<int>(layouts.size()) >= kMaxLayoutCount)
    return Arg(Tr("LayoutFile", "A settings file holds at most %1 layouts."),
               {std::to_string(kMaxLayoutCount)});
  if (std::string why = CheckLayoutKey(layout, "Name"); !why.empty()) return why + ".";
  layouts.push_back(std::move(layout));
  return {};
}

std::string DeleteLayout(std::vector<LayoutDefinition>& layouts, int index) {
  if (std::string why = CheckLayoutIndex(layouts, index); !why.empty()) return why;
  if (layouts.size() == 1)
    return Tr("LayoutFile",
              "The only layout cannot be deleted: a settings file without layouts opens neither "
              "program.");
  layouts.erase(layouts.begin() + index);
  return {};
}

std::string MoveLayout(std::vector<LayoutDefinition>& layouts, int from, int to) {
  if (std::string why = CheckLayoutIndex(layouts, from); !why.empty()) return why;
  if (std::string why = CheckLayoutIndex(layouts, to); !why.empty()) return why;
  LayoutDefinition moving = std::move(layouts[static_cast<std::size_t>(from)]);
  layouts.erase(layouts.begin() + from);
  layouts.insert(layouts.begin() + to, std::move(moving));
  return {};
}

bool LayoutFile::Read(const std::string& path, std::string* problem) {
  std::string text;
  if (!ReadProfileText(path, text, problem)) return false;
  path_ = path;
  text_ = std::move(text);
  layouts_ = LayoutsOfText(text_);
  return true;
}

std::string LayoutFile::Folder() const {
  return SettingsFolderOf(path_);
}

bool LayoutFile::ChangedOnDisk() const {
  std::string now;
  if (!ReadProfileText(path_, now)) return true;
  return now != text_;
}

bool LayoutFile::RewriteText(std::string_view text, const std::vector<LayoutDefinition>& layouts,
                             std::string& out) {
  const ProfileFile ini = ProfileFile::Parse(text);
  const int oldCount = LayoutCount(ini);
  const int newCount = static_cast<int>(layouts.size());
  std::vector<ProfileSectionChange> changes;
  if (!ini.HasKey(kConfigSection, kLayoutNumKey) ||
      ini.GetInt(kConfigSection, kLayoutNumKey, 0) != newCount)
    changes.push_back({kConfigSection, {{kLayoutNumKey, std::to_string(newCount)}}, false, {}});

  for (int i = 0; i < newCount; ++i) {
    const LayoutDefinition& want = layouts[static_cast<std::size_t>(i)];
    ProfileSectionChange change;
    change.section = LayoutSectionName(i);
    if (!ini.HasSection(change.section)) {
      // A new section spells out every key.
      change.addAfter = i > 0 ? LayoutSectionName(i - 1) : kConfigSection;
      for (const std::string& key : LayoutKeyNames())
        change.keys.push_back({key, KeyText(want, key)});
      for (const auto& [key, value] : want.OtherKeys) change.keys.push_back({key, value});
      changes.push_back(std::move(change));
      continue;
    }
    // Only what differs, as the reader sees it, is written.
    const LayoutDefinition have = ReadLayoutDefinition(ini, i);
    for (const std::string& key : LayoutKeyNames())
      if (LayoutKeyValue(want, key) != LayoutKeyValue(have, key))
        change.keys.push_back({key, KeyText(want, key)});
    for (const auto& [key, value] : have.OtherKeys)
      if (OtherValue(want, key) == nullptr) change.keys.push_back({key, std::nullopt});
    for (const auto& [key, value] : want.OtherKeys) {
      const std::string* had = OtherValue(have, key);
      if (had == nullptr || *had != value) change.keys.push_back({key, value});
    }
    if (!change.keys.empty()) changes.push_back(std::move(change));
  }
  for (int i = newCount; i < oldCount; ++i) {
    const std::string section = LayoutSectionName(i);
    if (ini.HasSection(section)) changes.push_back({section, {}, true, {}});
  }
  return ApplyProfileChanges(text, changes, out);
}

FileWriteResult LayoutFile::Save(const std::vector<LayoutDefinition>& layouts) {
  // The file as it is now: lines that others changed meanwhile stay theirs.
  // One that has gone is written again from what was read.
  std::string current;
  std::string problem;
  if (!ReadProfileText(path_, current, &problem)) {
    std::error_code ec;
    if (fs::exists(path_, ec)) return {false, problem};
    current = text_;
  }
  std::string out;
  if (!RewriteText(current, layouts, out))
    return {false, Tr("LayoutFile", "a value holds a line break")};
  if (out != current) {
    FileWriteResult written = ReplaceFileAtomically(path_, out);
    if (!written.ok) return written;
  }
  text_ = std::move(out);
  layouts_ = layouts;
  return {true, {}};
}

FileWriteResult LayoutFile::SaveAs(const std::string& path,
                                   std::vector<LayoutDefinition>& layouts) {
  std::error_code ec;
  const std::string newFolder = SettingsFolderOf(path);
  const bool sameFolder = fs::weakly_canonical(newFolder, ec) == fs::weakly_canonical(Folder(), ec);
  std::vector<LayoutDefinition> moved = layouts;
  std::vector<std::string> copies;  // pictures made for this save
  auto dropCopies = [&] {
    for (const std::string& copy : copies) fs::remove(fs::path(newFolder) / copy, ec);
  };
  if (!sameFolder) {
    for (LayoutDefinition& layout : moved) {
      if (layout.BgImage.empty() || fs::path(layout.BgImage).is_absolute()) continue;
      const std::string source = ResolveSettingsPath(Folder(), layout.BgImage);
      if (!fs::is_regular_file(source, ec)) continue;  // missing before as after
      const Picture picture = AdoptPictureInto(newFolder, source);
      if (!picture.ok) {
        dropCopies();
        return {false, picture.problem};
      }
      if (picture.copied) copies.push_back(picture.value);
      layout.BgImage = picture.value;
    }
  }

  std::string base;
  std::string problem;
  if (!ReadProfileText(path, base, &problem)) {
    if (fs::exists(path, ec)) {
      dropCopies();
      return {false, problem};
    }
    // A new settings file: the font comes along.
    const std::string eol = text_.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    const ProfileFile ini = ProfileFile::Parse(text_);
    base.clear();
    if (ini.HasKey(kConfigSection, kFontKey))
      base = std::string("[") + kConfigSection + "]" + eol + kFontKey + "=" +
             ini.GetStored(kConfigSection, kFontKey) + eol;
  }
  std::string out;
  if (!RewriteText(base, moved, out)) {
    dropCopies();
    return {false, Tr("LayoutFile", "a value holds a line break")};
  }
  FileWriteResult written = ReplaceFileAtomically(path, out);
  if (!written.ok) {
    dropCopies();
    return written;
  }
  path_ = path;
  text_ = std::move(out);
  layouts_ = moved;
  layouts = std::move(moved);
  return written;
}

LayoutFile::Picture LayoutFile::AdoptPicture(const std::string& picturePath) const {
  return AdoptPictureInto(Folder(), picturePath);
}

LayoutFile::Picture LayoutFile::AdoptPictureInto(const std::string& settingsFolder,
                                                 const std::string& picturePath) {
  Picture result;
  {
    ImageBuffer probe;
    std::string why;
    if (!probe.Load(picturePath, &why)) {
      result.problem = picturePath + " " + why;
      return result;
    }
  }
  std::error_code ec;
  const fs::path folder = fs::weakly_canonical(settingsFolder, ec);
  const fs::path picture = fs::weakly_canonical(picturePath, ec);
  // Inside the settings file's folder already: named from there.
  const fs::path relative = picture.lexically_relative(folder);
  if (!relative.empty() && *relative.begin() != ".." && relative.is_relative()) {
    const std::string value = relative.generic_string();
    if (value.size() <= kProfileStringMax) {
      result.ok = true;
      result.value = value;
      return result;
    }
  }

  bool read = false;
  const std::string bytes = ReadBytes(picture, read);
  if (!read) {
    result.problem = Arg(Tr("LayoutFile", "%1 cannot be read"), {picturePath});
    return result;
  }
  const fs::path bg = folder / kDefaultPicturesFolder;
  fs::create_directories(bg, ec);
  if (ec) {
    result.problem =
        Arg(Tr("LayoutFile", "cannot make the folder %1: %2"), {bg.string(), ec.message()});
    return result;
  }
  const std::string extension = LowerAscii(picture.extension().string());
  std::string stem = SafeStem(picture.stem().string());
  // "bg/" + stem + "-1000" + extension within the key's 79 bytes.
  const std::size_t room = kProfileStringMax - std::string(kDefaultPicturesFolder).size() - 1 - 5 -
                           std::min<std::size_t>(extension.size(), 16);
  if (stem.size() > room) stem.resize(room);
  for (int n = 1; n <= kMaxPictureNames; ++n) {
    const std::string name =
        stem + (n == 1 ? std::string() : "-" + std::to_string(n)) + extension.substr(0, 16);
    const fs::path target = bg / name;
    const std::string value = std::string(kDefaultPicturesFolder) + "/" + name;
    if (fs::exists(target, ec)) {
      bool same = false;
      if (fs::is_regular_file(target, ec)) {
        bool ok = false;
        same = ReadBytes(target, ok) == bytes && ok;
      }
      if (!same) continue;
      result.ok = true;
      result.value = value;
      return result;
    }
    std::string why;
    if (!CopyWhole(bytes, target, why)) {
      result.problem =
          Arg(Tr("LayoutFile", "cannot copy %1 into %2: %3"), {picturePath, bg.string(), why});
      return result;
    }
    result.ok = true;
    result.value = value;
    result.copied = true;
    return result;
  }
  result.problem =
      Arg(Tr("LayoutFile", "there are too many pictures named %1 in %2"), {stem, bg.string()});
  return result;
}

}  // namespace twr
