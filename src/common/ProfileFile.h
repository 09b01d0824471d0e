// Reader and writer of the settings file (private-profile "ini" format):
// section and key names are case-insensitive, keys and values are trimmed,
// integers are the leading decimal number of the value, strings are cut to 79
// bytes, lines starting with ';' are comments. The file is indexed once when
// it is read, so every lookup takes the same time whatever the file's size.
// Writing keeps every other line of the file byte for byte and replaces the
// file atomically.
#pragma once

#include <cstddef>
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
// write fails or when section, key or value hold a line break.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

// Case-insensitive ASCII comparison, as the settings lookups use.
bool ProfileNameEquals(std::string_view a, std::string_view b);
std::string_view TrimProfileBlanks(std::string_view text);

}  // namespace twr
