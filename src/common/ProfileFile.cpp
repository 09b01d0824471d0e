// Settings-file reader and atomic writer.
#include "common/ProfileFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "common/Translate.h"
#include "common/Utf8.h"

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

bool ReadWholeFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  out = buffer.str();
  return !in.bad();
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool HasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
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
  std::string text;
  if (!ReadWholeFile(path, text)) return ProfileFile();
  ProfileFile p = Parse(text);
  p.exists_ = true;
  return p;
}

ProfileFile ProfileFile::Parse(std::string_view text) {
  ProfileFile p;
  p.exists_ = true;
  std::vector<std::string_view> lines;
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

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) ||
      HasLineBreak(value)) {
    return false;
  }
  std::string old;
  bool existed = ReadWholeFile(path, old);
  if (!existed && access(path.c_str(), F_OK) == 0) return false;  // there, but unreadable

  std::vector<std::string_view> lines, ends;
  SplitLines(old, lines, &ends);
  const std::string_view eol =
      (old.find("\r\n") != std::string::npos || old.empty()) ? "\r\n" : "\n";
  const std::string newLine = std::string(key) + "=" + std::string(value);

  // Find the section, the key line inside it and the last non-blank line of
  // the section (a new key goes right after it).
  long sectionLine = -1, keyLine = -1, lastContent = -1;
  std::string existingKey;  // the key's own spelling is kept when it is replaced
  bool inSection = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view name, k, v;
    if (SectionName(lines[i], name)) {
      if (inSection) break;  // left the section
      if (sectionLine < 0 && ProfileNameEquals(name, section)) {
        inSection = true;
        sectionLine = static_cast<long>(i);
        lastContent = static_cast<long>(i);
      }
      continue;
    }
    if (!inSection) continue;
    if (!TrimProfileBlanks(lines[i]).empty()) lastContent = static_cast<long>(i);
    if (KeyLine(lines[i], k, v) && ProfileNameEquals(k, key)) {
      keyLine = static_cast<long>(i);
      existingKey = std::string(k);
      break;
    }
  }

  std::string out;
  out.reserve(old.size() + newLine.size() + section.size() + 8);
  auto emit = [&](std::size_t i) {
    out.append(lines[i]);
    out.append(ends[i]);
  };
  if (keyLine >= 0) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (static_cast<long>(i) == keyLine) {
        out.append(existingKey + "=" + std::string(value));
        out.append(ends[i]);
      } else {
        emit(i);
      }
    }
  } else if (sectionLine >= 0) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      emit(i);
      if (static_cast<long>(i) == lastContent) {
        if (ends[i].empty()) out.append(eol);
        out.append(newLine);
        out.append(eol);
      }
    }
  } else {
    out = old;
    if (!out.empty() && out.back() != '\n') out.append(eol);
    out.append("[");
    out.append(section);
    out.append("]");
    out.append(eol);
    out.append(newLine);
    out.append(eol);
  }

  return ReplaceFileAtomically(path, out).ok;
}

namespace {

int g_writeFault = 0;

std::string LowerName(std::string_view name) {
  return LowerCopy(TrimProfileBlanks(name));
}

// The folder of a path ("." for a bare name).
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string WriteProblem(int error, const std::string& folder) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return Tr("ProfileFile", "the disk is full");
    case EROFS:
      return Tr("ProfileFile", "the file system is read-only");
    case EACCES:
    case EPERM:
      return Arg(Tr("ProfileFile", "the folder %1 may not be written to"), {folder});
    case EIO:
      return Tr("ProfileFile", "the disk reported an input/output error");
    default:
      return std::strerror(error);
  }
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
  out = std::move(result);
  return true;
}

bool ReadProfileText(const std::string& path, std::string& text, std::string* problem) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    if (problem)
      *problem = errno == ENOENT ? Tr("ProfileFile", "it does not exist") : std::strerror(errno);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    if (problem)
      *problem = S_ISDIR(st.st_mode) ? Tr("ProfileFile", "it is a folder")
                                     : Tr("ProfileFile", "it is not a regular file");
    return false;
  }
  if (!ReadWholeFile(path, text)) {
    if (problem) *problem = Tr("ProfileFile", "it cannot be read");
    return false;
  }
  return true;
}

void SetFileWriteFaultForTesting(int error) {
  g_writeFault = error;
}

FileWriteResult ReplaceFileAtomically(const std::string& path, std::string_view content) {
  // A link is followed: the file it names is the one replaced.
  std::string target = path;
  if (char* real = ::realpath(path.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  struct stat st;
  const bool existed = ::stat(target.c_str(), &st) == 0;
  if (existed) {
    if (!S_ISREG(st.st_mode)) return {false, Tr("ProfileFile", "it is not a regular file")};
    if ((st.st_mode & 0222) == 0) return {false, Tr("ProfileFile", "the file is read-only")};
    if (::access(target.c_str(), W_OK) != 0) {
      return {false, errno == EROFS ? Tr("ProfileFile", "the file system is read-only")
                                    : Tr("ProfileFile", "the file may not be written to")};
    }
  }
  const std::string dir = FolderOf(target);
  const std::string base = target.substr(target.rfind('/') + 1);
  std::string tmpl = dir + "/." + base + ".XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return {false, WriteProblem(errno, dir)};
  int error = 0;
  const mode_t mode = existed ? (st.st_mode & 07777) : 0644;
  if (::fchmod(fd, mode) != 0) error = errno;
  if (error == 0 && g_writeFault != 0) error = g_writeFault;
  if (error == 0 && !WriteAll(fd, content)) error = errno;
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(name.data(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(name.data());
    return {false, WriteProblem(error, dir)};
  }
  // The rename itself reaches the disk with the folder.
  const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return {true, {}};
}

}  // namespace twr
