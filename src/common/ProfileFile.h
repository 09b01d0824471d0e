// Reader and writer of the settings file (private-profile "ini" format):
// section and key names are case-insensitive, keys and values are trimmed,
// integers are the leading decimal number of the value, strings are cut to 79
// bytes, lines starting with ';' are comments. The file is indexed once when
// it is read, so every lookup takes the same time whatever the file's size.
// Writing keeps every other line of the file byte for byte and replaces the
// file atomically.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace twr {

// Longest string value a lookup returns (an 80-byte buffer with its NUL).
inline constexpr std::size_t kProfileStringMax = 79;

class ProfileFile {
 public:
  ProfileFile() = default;
  // Reads and parses the file; a missing or unreadable file gives an empty
  // profile whose lookups all return their defaults.
  static ProfileFile Load(const std::string& path);
  static ProfileFile Parse(std::string_view text);

  bool Exists() const { return exists_; }
  bool HasSection(std::string_view section) const;
  bool HasKey(std::string_view section, std::string_view key) const;

  // The leading decimal integer of the value (optional sign, digits); 0 when
  // the value does not start with one; `def` when the key is missing or empty.
  int GetInt(std::string_view section, std::string_view key, int def) const;
  // The value, trimmed, one pair of enclosing quotes removed, cut to 79 bytes
  // without splitting a UTF-8 character; `def` when the key is missing.
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view def = {}) const;
  // The value as stored (trimmed), without the 79-byte cut.
  std::string GetRaw(std::string_view section, std::string_view key,
                     std::string_view def = {}) const;
  // The value exactly as written after the equals sign, less the blanks
  // around it (quotes kept); `def` when the key is missing.
  std::string GetStored(std::string_view section, std::string_view key,
                        std::string_view def = {}) const;
  // Key names of a section, in file order (first spelling of each).
  std::vector<std::string> Keys(std::string_view section) const;

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  // One [section] line of the file: its key lines are entries_[first, last).
  struct Section {
    std::size_t first = 0;
    std::size_t last = 0;
  };
  // Index of the first section of that name in sections_, or -1.
  long FindSection(std::string_view section) const;
  const Entry* Find(std::string_view section, std::string_view key) const;
  // The index key of a key name within section number `section`.
  static std::string KeyIndexName(std::size_t section, std::string_view key);

  bool exists_ = false;
  std::vector<Entry> entries_;     // file order
  std::vector<Section> sections_;  // file order
  // Lower-cased name -> its first section: later sections of the same name
  // are never consulted.
  std::unordered_map<std::string, std::size_t> firstSection_;
  // Section number and lower-cased key -> the entry of the first key of
  // that name within the section.
  std::unordered_map<std::string, std::size_t> firstKey_;
};

// Sets section/key to value in the file at path (created when missing). The
// rest of the file is kept byte for byte; the new content is written to a
// temporary file in the same folder and renamed over the old one, so the
// file is never left half written. Returns false, changing nothing, when the
// write fails (a read-only file included) or when section, key or value
// hold a line break.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

// One key of a section set or removed by ApplyProfileChanges.
struct ProfileKeyChange {
  std::string key;
  // The new value; nullopt removes every line of the key from the section.
  std::optional<std::string> value;
};

// The changes to one section: the section consulted by the lookups (the
// first of its name) gets its keys changed or is removed; a missing one is
// added.
struct ProfileSectionChange {
  std::string section;
  std::vector<ProfileKeyChange> keys;
  // The header and the key lines go; comment lines stay where they are.
  bool removeSection = false;
  // A missing section is added after the key lines of this section (one
  // added earlier in the same list counts); at the end of the file when
  // empty or not there.
  std::string addAfter;
};

// The text with the changes made and every other line kept byte for byte:
// a changed key keeps its own spelling and the spacing before its value, a
// new key goes right after the last key line of its section, new lines end
// as the file's lines do (CR LF when the file has any, or is empty). False,
// leaving `out` alone, when a section, key or value holds a line break or a
// section or key name is empty.
bool ApplyProfileChanges(std::string_view text, const std::vector<ProfileSectionChange>& changes,
                         std::string& out);

// What became of writing a file; `problem` says why it failed, as words to
// follow "cannot write FILE: " ("the file is read-only", "the disk is
// full", ...).
struct FileWriteResult {
  bool ok = false;
  std::string problem;
};

// Replaces the file at `path` with `content` in one step: written to a
// temporary file in the same folder, flushed to the disk, renamed over the
// old file (which keeps its permissions). A file nobody may write to is
// refused as read-only, also when the program runs as root.
FileWriteResult ReplaceFileAtomically(const std::string& path, std::string_view content);

// The whole file; false with the reason in `problem` when it cannot be read.
bool ReadProfileText(const std::string& path, std::string& text, std::string* problem = nullptr);

// Tests: the next writes by ReplaceFileAtomically fail with this errno
// (0 ends it), as a full disk (ENOSPC) would make them.
void SetFileWriteFaultForTesting(int error);

// Case-insensitive ASCII comparison, as the settings lookups use.
bool ProfileNameEquals(std::string_view a, std::string_view b);
std::string_view TrimProfileBlanks(std::string_view text);

}  // namespace twr
