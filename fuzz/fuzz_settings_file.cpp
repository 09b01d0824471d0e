// Arbitrary bytes as a settings file: every lookup answers within the text,
// and a key written into the file is read back as written while the rest of
// the file keeps its lookups.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/ProfileFile.h"
#include "common/SettingsEdit.h"

namespace {

// A name of 1 to 8 letters and digits taken from the input.
std::string NameFrom(const std::uint8_t*& data, std::size_t& size) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string name;
  const std::size_t length = size > 0 ? 1 + data[0] % 8 : 1;
  for (std::size_t i = 0; i < length; ++i) {
    const std::uint8_t b = size > 0 ? data[0] : 'k';
    if (size > 0) ++data, --size;
    name += kLetters[b % (sizeof kLetters - 1)];
  }
  return name;
}

void CheckLookups(const twr::ProfileFile& profile, std::string_view section) {
  for (const std::string& key : profile.Keys(section)) {
    if (!profile.HasKey(section, key)) std::abort();
    if (profile.GetString(section, key).size() > twr::kProfileStringMax) std::abort();
    (void)profile.GetInt(section, key, 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first bytes name a section and key to look up and then to write.
  std::string section = NameFrom(data, size);
  std::string key = NameFrom(data, size);
  std::string value = NameFrom(data, size);
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const twr::ProfileFile profile = twr::ProfileFile::Parse(text);
  CheckLookups(profile, section);
  CheckLookups(profile, "Config");
  (void)profile.GetInt("Config", "LayoutNum", 0);

  static const std::string dir = [] {
    // A folder in memory where there is one: the writer syncs every file.
    char tmpl[] = "/dev/shm/twr-fuzz-ini-XXXXXX";
    char fallback[] = "/tmp/twr-fuzz-ini-XXXXXX";
    const char* made = mkdtemp(tmpl);
    if (made == nullptr) made = mkdtemp(fallback);
    return std::string(made ? made : "/tmp");
  }();
  const std::string path = dir + "/twr.ini";
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  // The settings editor: the key set in the file as it is now, under its lock.
  twr::ProfileSectionChange change;
  change.section = section;
  change.keys.push_back({key, value});
  if (!twr::ApplySettingsChanges(path, {change}).ok) std::abort();
  const twr::ProfileFile written = twr::ProfileFile::Load(path);
  // A section of that name that holds the key already keeps its place; the
  // value now read is the one written.
  if (written.GetRaw(section, key) != value) std::abort();
  // Another section keeps what it held.
  for (const std::string& k : profile.Keys("Config")) {
    if (twr::ProfileNameEquals(section, "Config")) break;
    if (written.GetRaw("Config", k) != profile.GetRaw("Config", k)) std::abort();
  }
  return 0;
}
