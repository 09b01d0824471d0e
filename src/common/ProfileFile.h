// Reader and writer of the settings file (private-profile "ini" format):
// section and key names are case-insensitive, keys and values are trimmed,
// integers are the leading decimal number of the value, strings are cut to 79
// bytes, lines starting with ';' are comments, a UTF-8 byte order mark at
// the start is read as nothing. The file is indexed once when it is read, so
// every lookup takes the same time whatever the file's size. Changes are
// made to the text with every other line kept byte for byte
// (ApplyProfileChanges); common/SettingsEdit writes them to the file.
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
// Largest settings file read: far beyond the 10,000 layouts it may hold.
inline constexpr long long kMaxSettingsFileBytes = 64LL * 1024 * 1024;

class ProfileFile {
 public:
  ProfileFile() = default;
  // Reads and parses the file; a missing or unreadable file (or one larger
  // than kMaxSettingsFileBytes, a pipe or a device) gives an empty profile
  // whose lookups all return their defaults.
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
// as the file's lines do (CR LF when the file has any, or is empty), a byte
// order mark at the start stays where it is. False,
// leaving `out` alone, when a section, key or value holds a line break or a
// section or key name is empty.
bool ApplyProfileChanges(std::string_view text, const std::vector<ProfileSectionChange>& changes,
                         std::string& out);

// Case-insensitive ASCII comparison, as the settings lookups use.
bool ProfileNameEquals(std::string_view a, std::string_view b);
std::string_view TrimProfileBlanks(std::string_view text);

}  // namespace twr
