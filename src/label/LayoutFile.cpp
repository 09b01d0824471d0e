// Reading, rewriting and saving the layouts of a settings file, and the
// pictures that go with them.
#include "label/LayoutFile.h"

#include <algorithm>
#include <filesystem>
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

std::string KeyText(const LayoutDefinition& layout, const LayoutKey& key) {
  const std::string value = key.Value(layout);
  return key.IsText() ? Written(value) : value;
}

const std::string* OtherValue(const LayoutDefinition& layout, std::string_view key) {
  for (const auto& [k, v] : layout.OtherKeys)
    if (ProfileNameEquals(k, key)) return &v;
  return nullptr;
}

int LayoutCount(const ProfileFile& ini) {
  return std::clamp(ini.GetInt(kConfigSection, kLayoutNumKey, 0), 0, kMaxLayoutCount);
}

// Why the file's LayoutNum cannot be written over: more layouts than a
// settings file holds ("" when it can).
std::string LayoutNumProblem(const ProfileFile& ini) {
  if (ini.GetInt(kConfigSection, kLayoutNumKey, 0) <= kMaxLayoutCount) return {};
  return Arg(Tr("LayoutFile",
                "its [%1] %2 is %3, more than the %4 layouts a settings file holds; set it to the "
                "number of its layouts"),
             {kConfigSection, kLayoutNumKey, ini.GetStored(kConfigSection, kLayoutNumKey),
              std::to_string(kMaxLayoutCount)});
}

// The layout `now` with the keys set that `wanted` changed from `base`.
LayoutDefinition MergeKeys(const LayoutDefinition& base, const LayoutDefinition& wanted,
                           const LayoutDefinition& now) {
  LayoutDefinition merged = now;
  for (const LayoutKey& key : LayoutKeys()) {
    const std::string value = key.Value(wanted);
    if (value != key.Value(base) && !AssignLayoutValue(merged, key.name, value).empty())
      return wanted;  // not expected: the value came from a layout
  }
  auto& others = merged.OtherKeys;
  for (const auto& [key, value] : base.OtherKeys) {
    if (OtherValue(wanted, key) != nullptr) continue;
    others.erase(
        std::remove_if(others.begin(), others.end(),
                       [&key = key](const auto& kv) { return ProfileNameEquals(kv.first, key); }),
        others.end());
  }
  for (const auto& [key, value] : wanted.OtherKeys) {
    const std::string* had = OtherValue(base, key);
    if (had != nullptr && *had == value) continue;
    auto it = std::find_if(others.begin(), others.end(), [&key = key](const auto& kv) {
      return ProfileNameEquals(kv.first, key);
    });
    if (it != others.end())
      it->second = value;
    else
      others.emplace_back(key, value);
  }
  return merged;
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

}  // namespace

std::vector<LayoutDefinition> LayoutsOfText(std::string_view text) {
  const ProfileFile ini = ProfileFile::Parse(text);
  std::vector<LayoutDefinition> layouts;
  const int count = LayoutCount(ini);
  layouts.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) layouts.push_back(ReadLayoutDefinition(ini, i));
  return layouts;
}

std::string LayoutKeyAsWritten(const LayoutDefinition& layout, const LayoutKey& key) {
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

LayoutFile::LayoutFile() = default;
LayoutFile::~LayoutFile() = default;
LayoutFile::LayoutFile(LayoutFile&&) noexcept = default;
LayoutFile& LayoutFile::operator=(LayoutFile&&) noexcept = default;

bool LayoutFile::LockForEdit(const std::string& path, std::string& problem) {
  lock_.reset();
  lock_ = SettingsEditLock::Acquire(path, problem);
  if (lock_) lockPath_ = SettingsEditLockPath(path);
  return lock_ != nullptr;
}

const SettingsEditLock* LayoutFile::HeldLock(const std::string& path) const {
  return lock_ && SettingsEditLockPath(path) == lockPath_ ? lock_.get() : nullptr;
}

bool LayoutFile::Read(const std::string& path, std::string* problem) {
  std::string text, why;
  if (!ReadRegularFile(path, kMaxSettingsFileBytes, text, why)) {
    if (problem) *problem = why;
    return false;
  }
  path_ = path;
  text_ = std::move(text);
  layouts_ = LayoutsOfText(text_);
  return true;
}

std::string LayoutFile::Folder() const {
  return SettingsFolderOf(path_);
}

bool LayoutFile::ChangedOnDisk() const {
  std::string now, problem;
  if (!ReadRegularFile(path_, kMaxSettingsFileBytes, now, problem)) return true;
  return now != text_;
}

std::string LayoutFile::RewriteText(std::string_view text,
                                    const std::vector<LayoutDefinition>& layouts,
                                    std::string& out) {
  const ProfileFile ini = ProfileFile::Parse(text);
  if (std::string why = LayoutNumProblem(ini); !why.empty()) return why;
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
    change.addAfter = i > 0 ? LayoutSectionName(i - 1) : kConfigSection;
    if (i >= oldCount) {
      // A new layout: a section that stands there beyond LayoutNum (hidden
      // by it) is someone's, never replaced.
      if (ini.HasSection(change.section))
        return Arg(Tr("LayoutFile",
                      "it holds a [%1] section beyond the %2 layouts its [%3] %4 counts, which a "
                      "new layout would replace; make %4 count it, or remove the section"),
                   {change.section, std::to_string(oldCount), kConfigSection, kLayoutNumKey});
      // A new section spells out every key.
      for (const LayoutKey& key : LayoutKeys())
        change.keys.push_back({key.name, KeyText(want, key)});
      for (const auto& [key, value] : want.OtherKeys) change.keys.push_back({key, value});
      changes.push_back(std::move(change));
      continue;
    }
    // Only what differs, as the reader sees it, is written (a missing
    // section reads as the defaults).
    const LayoutDefinition have = ReadLayoutDefinition(ini, i);
    for (const LayoutKey& key : LayoutKeys())
      if (key.Value(want) != key.Value(have)) change.keys.push_back({key.name, KeyText(want, key)});
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
  if (!ApplyProfileChanges(text, changes, out))
    return Tr("LayoutFile", "a value holds a line break");
  return {};
}

std::vector<LayoutDefinition> LayoutFile::MergeLayouts(const std::vector<LayoutDefinition>& base,
                                                       const std::vector<LayoutDefinition>& wanted,
                                                       const std::vector<LayoutDefinition>& now) {
  std::vector<LayoutDefinition> merged;
  const std::size_t kept = std::min(base.size(), wanted.size());
  for (std::size_t i = 0; i < kept; ++i) {
    if (wanted[i] == base[i]) {
      if (i < now.size()) merged.push_back(now[i]);  // otherwise others deleted it
      continue;
    }
    merged.push_back(i < now.size() ? MergeKeys(base[i], wanted[i], now[i]) : wanted[i]);
  }
  for (std::size_t i = base.size(); i < now.size(); ++i) merged.push_back(now[i]);
  for (std::size_t i = base.size(); i < wanted.size(); ++i) merged.push_back(wanted[i]);
  return merged;
}

FileWriteResult LayoutFile::Save(const std::vector<LayoutDefinition>& layouts) {
  std::vector<LayoutDefinition> saved;
  std::string written;
  FileWriteResult result = EditSettingsFile(
      path_,
      [&](const SettingsText& now, std::string& out) {
        // One that has gone is written again from what was read.
        const std::string& current = now.exists ? now.text : text_;
        saved =
            current == text_ ? layouts : MergeLayouts(layouts_, layouts, LayoutsOfText(current));
        std::string why = RewriteText(current, saved, out);
        if (why.empty()) written = out;
        return why;
      },
      HeldLock(path_));
  if (!result.ok) return result;
  text_ = std::move(written);
  layouts_ = std::move(saved);
  return result;
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
        return {false, picture.problem, false};
      }
      if (picture.copied) copies.push_back(picture.value);
      layout.BgImage = picture.value;
    }
  }

  std::string written;
  FileWriteResult result = EditSettingsFile(
      path,
      [&](const SettingsText& now, std::string& out) {
        std::string base = now.text;
        if (!now.exists) {
          // A new settings file: the font comes along.
          const std::string eol = text_.find("\r\n") != std::string::npos ? "\r\n" : "\n";
          const ProfileFile ini = ProfileFile::Parse(text_);
          if (ini.HasKey(kConfigSection, kFontKey))
            base = std::string("[") + kConfigSection + "]" + eol + kFontKey + "=" +
                   ini.GetStored(kConfigSection, kFontKey) + eol;
        }
        std::string why = RewriteText(base, moved, out);
        if (why.empty()) written = out;
        return why;
      },
      HeldLock(path));
  if (!result.ok) {
    dropCopies();
    return result;
  }
  if (!HeldLock(path)) {
    lock_.reset();
    lockPath_.clear();
  }
  path_ = path;
  text_ = std::move(written);
  layouts_ = moved;
  layouts = std::move(moved);
  return result;
}

LayoutFile::Picture LayoutFile::AdoptPicture(const std::string& picturePath) const {
  return AdoptPictureInto(Folder(), picturePath);
}

LayoutFile::Picture LayoutFile::AdoptPictureInto(const std::string& settingsFolder,
                                                 const std::string& picturePath) {
  Picture result;
  {
    // Decoded as the renderer would (an SVG drawn small: what it draws
    // at the label's side is checked when it is drawn there).
    constexpr int kProbeSide = 64;
    ImageBuffer probe;
    std::string why;
    if (!probe.Load(picturePath, &why, kProbeSide)) {
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

  std::string bytes, why;
  if (!ReadRegularFile(picture.string(), kMaxPictureBytes, bytes, why)) {
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
    std::string name = stem;
    if (n > 1) name.append("-").append(std::to_string(n));
    name.append(extension, 0, 16);
    const fs::path target = bg / name;
    const std::string value = std::string(kDefaultPicturesFolder) + "/" + name;
    // Never over another picture, also one that another program copies
    // there at the same moment; one with the same bytes is used again.
    const FileWriteResult made = CreateFileAtomically(target.string(), bytes);
    if (made.exists) {
      std::string there;
      if (!ReadRegularFile(target.string(), kMaxPictureBytes, there, why) || there != bytes)
        continue;
    } else if (!made.ok) {
      result.problem = Arg(Tr("LayoutFile", "cannot copy %1 into %2: %3"),
                           {picturePath, bg.string(), made.problem});
      return result;
    }
    result.ok = true;
    result.value = value;
    result.copied = made.ok;
    return result;
  }
  result.problem =
      Arg(Tr("LayoutFile", "there are too many pictures named %1 in %2"), {stem, bg.string()});
  return result;
}

}  // namespace twr
