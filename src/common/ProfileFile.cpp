// Settings-file reader and the changes made to its text.
#include "common/ProfileFile.h"

#include <climits>
#include <cstring>

#include "common/Utf8.h"
#include "common/WholeFile.h"

namespace twr {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The index key of a section or key name: ASCII letters lower-cased.
std::string LowerCopy(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) c = Lower(c);
  return lower;
}

// Splits text into lines, each without its terminator; `ends` gets the
// terminator of each line ("\r\n", "\n" or "" for the last one).
void SplitLines(std::string_view text, std::vector<std::string_view>& lines,
                std::vector<std::string_view>* ends) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t nl = text.find('\n', start);
    if (nl == std::string_view::npos) {
      lines.push_back(text.substr(start));
      if (ends) ends->push_back({});
      break;
    }
    std::size_t stop = nl;
    if (stop > start && text[stop - 1] == '\r') --stop;
    lines.push_back(text.substr(start, stop - start));
    if (ends) ends->push_back(text.substr(stop, nl + 1 - stop));
    start = nl + 1;
  }
}

// A section header "[name]" gives true and the trimmed name.
bool SectionName(std::string_view line, std::string_view& name) {
  std::string_view t = TrimProfileBlanks(line);
  if (t.empty() || t.front() != '[') return false;
  std::size_t close = t.find(']');
  name = TrimProfileBlanks(t.substr(1, close == std::string_view::npos ? t.size() - 1 : close - 1));
  return true;
}

// A "key = value" line gives true with the trimmed key and value.
bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
  std::string_view t = TrimProfileBlanks(line);
  if (t.empty() || t.front() == ';') return false;
  std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return false;
  key = TrimProfileBlanks(t.substr(0, eq));
  value = TrimProfileBlanks(t.substr(eq + 1));
  return !key.empty();
}

bool HasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

// A UTF-8 byte order mark at the start of the text, which is read as
// nothing (and kept where it is by a rewrite).
std::string_view ByteOrderMark(std::string_view text) {
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  return text.substr(0, 3) == kMark ? kMark : std::string_view();
}

}  // namespace

bool ProfileNameEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string_view TrimProfileBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

ProfileFile ProfileFile::Load(const std::string& path) {
  std::string text, problem;
  if (!ReadRegularFile(path, kMaxSettingsFileBytes, text, problem)) return ProfileFile();
  ProfileFile p = Parse(text);
  p.exists_ = true;
  return p;
}

ProfileFile ProfileFile::Parse(std::string_view text) {
  ProfileFile p;
  p.exists_ = true;
  std::vector<std::string_view> lines;
  text.remove_prefix(ByteOrderMark(text).size());
  SplitLines(text, lines, nullptr);
  // Every line is at most one section or one key: no rehashing on the way.
  p.firstSection_.reserve(lines.size());
  p.firstKey_.reserve(lines.size());
  for (std::string_view line : lines) {
    std::string_view name, key, value;
    if (SectionName(line, name)) {
      p.sections_.push_back({p.entries_.size(), p.entries_.size()});
      p.firstSection_.try_emplace(LowerCopy(name), p.sections_.size() - 1);
      continue;
    }
    if (!p.sections_.empty() && KeyLine(line, key, value)) {
      p.firstKey_.try_emplace(KeyIndexName(p.sections_.size() - 1, key), p.entries_.size());
      p.entries_.push_back({std::string(key), std::string(value)});
      p.sections_.back().last = p.entries_.size();
    }
  }
  return p;
}

std::string ProfileFile::KeyIndexName(std::size_t section, std::string_view key) {
  // The section number's bytes, then the lower-cased key.
  std::string name(sizeof section + key.size(), '\0');
  std::memcpy(name.data(), &section, sizeof section);
  for (std::size_t i = 0; i < key.size(); ++i) name[sizeof section + i] = Lower(key[i]);
  return name;
}

long ProfileFile::FindSection(std::string_view section) const {
  const auto it = firstSection_.find(LowerCopy(section));
  return it == firstSection_.end() ? -1 : static_cast<long>(it->second);
}

bool ProfileFile::HasSection(std::string_view section) const {
  return FindSection(section) >= 0;
}

const ProfileFile::Entry* ProfileFile::Find(std::string_view section, std::string_view key) const {
  const long s = FindSection(section);
  if (s < 0) return nullptr;
  const auto it = firstKey_.find(KeyIndexName(static_cast<std::size_t>(s), key));
  return it == firstKey_.end() ? nullptr : &entries_[it->second];
}

bool ProfileFile::HasKey(std::string_view section, std::string_view key) const {
  return Find(section, key) != nullptr;
}

int ProfileFile::GetInt(std::string_view section, std::string_view key, int def) const {
  const Entry* e = Find(section, key);
  if (!e || e->value.empty()) return def;
  std::string_view v = e->value;
  bool negative = false;
  std::size_t i = 0;
  if (i < v.size() && (v[i] == '-' || v[i] == '+')) {
    negative = v[i] == '-';
    ++i;
  }
  long long n = 0;
  for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i) {
    n = n * 10 + (v[i] - '0');
    if (n > static_cast<long long>(INT_MAX) + 1) n = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) n = -n;
  if (n > INT_MAX) n = INT_MAX;
  if (n < INT_MIN) n = INT_MIN;
  return static_cast<int>(n);
}

std::string ProfileFile::GetRaw(std::string_view section, std::string_view key,
                                std::string_view def) const {
  const Entry* e = Find(section, key);
  if (!e) return std::string(def);
  std::string_view v = e->value;
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  return std::string(v);
}

std::string ProfileFile::GetStored(std::string_view section, std::string_view key,
                                   std::string_view def) const {
  const Entry* e = Find(section, key);
  return e ? e->value : std::string(def);
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key,
                                   std::string_view def) const {
  return Utf8Cut(GetRaw(section, key, def), kProfileStringMax);
}

std::vector<std::string> ProfileFile::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  const long s = FindSection(section);
  if (s < 0) return keys;
  const Section& range = sections_[static_cast<std::size_t>(s)];
  // An entry is listed when it is the first of its name.
  for (std::size_t i = range.first; i < range.last; ++i) {
    const auto it = firstKey_.find(KeyIndexName(static_cast<std::size_t>(s), entries_[i].key));
    if (it != firstKey_.end() && it->second == i) keys.push_back(entries_[i].key);
  }
  return keys;
}

namespace {

std::string LowerName(std::string_view name) {
  return LowerCopy(TrimProfileBlanks(name));
}

}  // namespace

bool ApplyProfileChanges(std::string_view text, const std::vector<ProfileSectionChange>& changes,
                         std::string& out) {
  for (const ProfileSectionChange& change : changes) {
    if (TrimProfileBlanks(change.section).empty() || HasLineBreak(change.section) ||
        HasLineBreak(change.addAfter))
      return false;
    for (const ProfileKeyChange& key : change.keys) {
      if (TrimProfileBlanks(key.key).empty() || HasLineBreak(key.key) ||
          key.key.find('=') != std::string::npos || (key.value && HasLineBreak(*key.value)))
        return false;
    }
  }

  const std::string_view mark = ByteOrderMark(text);
  text.remove_prefix(mark.size());
  std::vector<std::string_view> lines, ends;
  SplitLines(text, lines, &ends);
  const std::string_view eol =
      (text.find("\r\n") != std::string_view::npos || text.empty()) ? "\r\n" : "\n";

  // The first section of each name: its header line, where it ends (the next
  // header) and its last key line.
  struct Extent {
    std::size_t header = 0;
    std::size_t end = 0;
    long lastKey = -1;
  };
  std::unordered_map<std::string, Extent> sections;
  std::vector<long> headers;  // header line of every section, in order
  {
    Extent* current = nullptr;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      std::string_view name, key, value;
      if (SectionName(lines[i], name)) {
        if (current) current->end = i;
        current = nullptr;
        auto [it, added] = sections.try_emplace(LowerCopy(name), Extent{i, lines.size(), -1});
        if (added) current = &it->second;
        continue;
      }
      if (current && KeyLine(lines[i], key, value)) current->lastKey = static_cast<long>(i);
    }
  }

  std::vector<bool> dropped(lines.size(), false);
  std::vector<std::optional<std::string>> replaced(lines.size());
  // Lines added before line k (k == lines.size(): at the end): new keys of
  // a section first, then new sections.
  std::vector<std::vector<std::string>> newKeys(lines.size() + 1), newSections(lines.size() + 1);
  std::unordered_map<std::string, std::size_t> addedAt;  // new section -> its slot

  for (const ProfileSectionChange& change : changes) {
    const std::string name = LowerName(change.section);
    const auto found = sections.find(name);
    if (found == sections.end()) {
      if (change.removeSection || addedAt.count(name)) continue;
      std::size_t slot = lines.size();
      const std::string after = LowerName(change.addAfter);
      if (auto a = addedAt.find(after); !after.empty() && a != addedAt.end()) {
        slot = a->second;
      } else if (auto s = sections.find(after); !after.empty() && s != sections.end()) {
        slot =
            static_cast<std::size_t>(s->second.lastKey >= 0 ? s->second.lastKey
                                                            : static_cast<long>(s->second.header)) +
            1;
      }
      std::vector<std::string>& block = newSections[slot];
      // A blank line between the section and what stands before it.
      const bool blankBefore = !(slot == 0 && block.empty()) &&
                               !(slot == lines.size() && lines.empty() && block.empty());
      if (blankBefore) block.emplace_back();
      block.push_back("[" + std::string(TrimProfileBlanks(change.section)) + "]");
      for (const ProfileKeyChange& key : change.keys)
        if (key.value) block.push_back(key.key + "=" + *key.value);
      addedAt[name] = slot;
      continue;
    }
    const Extent& extent = found->second;
    if (change.removeSection) {
      dropped[extent.header] = true;
      for (std::size_t i = extent.header + 1; i < extent.end; ++i) {
        std::string_view key, value;
        if (KeyLine(lines[i], key, value)) dropped[i] = true;
      }
      // The blank lines that set it apart from what stands before it.
      for (std::size_t i = extent.header; i > 0 && TrimProfileBlanks(lines[i - 1]).empty(); --i)
        dropped[i - 1] = true;
      continue;
    }
    const std::size_t slot =
        static_cast<std::size_t>(extent.lastKey >= 0 ? extent.lastKey
                                                     : static_cast<long>(extent.header)) +
        1;
    for (const ProfileKeyChange& change_key : change.keys) {
      bool seen = false;
      for (std::size_t i = extent.header + 1; i < extent.end; ++i) {
        std::string_view key, value;
        if (dropped[i] || !KeyLine(lines[i], key, value) || !ProfileNameEquals(key, change_key.key))
          continue;
        if (!change_key.value) {
          dropped[i] = true;
          continue;
        }
        // The key's spelling and the spacing up to its value stay.
        const std::string_view line = lines[i];
        std::size_t start = line.find('=') + 1;
        while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
        replaced[i] = std::string(line.substr(0, start)) + *change_key.value;
        seen = true;
        break;  // later lines of the same key are never read
      }
      if (!seen && change_key.value)
        newKeys[slot].push_back(change_key.key + "=" + *change_key.value);
    }
  }

  std::string result;
  result.reserve(text.size() + 256);
  auto emitAdded = [&](std::size_t slot) {
    for (const auto* block : {&newKeys[slot], &newSections[slot]}) {
      for (const std::string& line : *block) {
        if (!result.empty() && result.back() != '\n') result.append(eol);
        result.append(line);
        result.append(eol);
      }
    }
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    emitAdded(i);
    if (dropped[i]) continue;
    result.append(replaced[i] ? std::string_view(*replaced[i]) : lines[i]);
    result.append(ends[i]);
  }
  emitAdded(lines.size());
  std::string marked(mark);
  marked += result;
  out = std::move(marked);
  return true;
}

}  // namespace twr
