// Feeds arbitrary drive answers (data, sense, status) to every response
// reader of the drive object: identification, discovery, the composite
// reads and the write sense. Nothing may crash or read out of bounds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "drive/CELDevice.h"
#include "drive/DiscName.h"

namespace {

// Answers each command from the fuzz input: a status byte, a data length,
// that many data bytes and 32 sense bytes; zeros once the input runs out.
class FuzzTransport : public twr::ScsiTransport {
 public:
  FuzzTransport(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  twr::ScsiResult Execute(std::span<const std::uint8_t>, twr::ScsiDirection,
                          std::span<std::uint8_t> data) override {
    twr::ScsiResult result;
    result.ok = (Next() & 1) != 0;
    std::size_t length = Next();
    length = (length << 8 | Next()) % (data.size() + 1);
    for (std::size_t i = 0; i < length; ++i) data[i] = Next();
    result.transferred = data.size();
    std::array<std::uint8_t, twr::kTransportSenseSize> sense{};
    for (std::uint8_t& s : sense) s = Next();
    result.SetSense(sense);
    return result;
  }

 private:
  std::uint8_t Next() { return pos_ < size_ ? data_[pos_++] : 0; }
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static auto device = std::make_unique<twr::CELDevice>();
  auto transport = std::make_shared<FuzzTransport>(data, size);
  device->SetDriveSourceProvider([transport] {
    std::vector<twr::DriveSource> sources(2);
    sources[0].letter = 'D';
    sources[1].letter = 'E';
    for (auto& s : sources)
      s.open = [transport]() -> std::shared_ptr<twr::ScsiTransport> { return transport; };
    return sources;
  });
  const int count = device->EnumerateDrives();
  for (int i = 0; i <= count; ++i) (void)device->GetDriveItem(i);
  device->AttachTransport(transport);

  (void)twr::IdentifyDisc(*device);
  (void)device->GetDiscKind();
  (void)device->GetDiscStatus();
  (void)device->IsLabelSide();
  (void)device->GetRecordedOuterRadius();
  std::string a, b, c;
  device->ReadVolumeInfo(a, b, c);
  device->ReadInquiryStrings(a, b, c);
  twr::ElsPageBytes page;
  device->ReadModePage(twr::ElsPageLayout::kPageCode, page.data());
  std::uint8_t toc[twr::kFullTocLength];
  device->ReadFullToc(toc);
  std::uint8_t sense[3];
  device->Write12(0x30000, 2448, 1, sense);
  device->CloseDrive();
  return 0;
}
