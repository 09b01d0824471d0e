// The QR box's code: libqrencode's symbol as plain modules, and their grid.
#include "label/QrCode.h"

#include <qrencode.h>

#include <memory>

namespace twr {

QrCode EncodeQr(std::string_view text) {
  QrCode code;
  if (text.empty() || text.size() > kQrMaxBytes) return code;
  // Byte mode keeps the text's bytes as they are (UTF-8), whatever they hold.
  const std::unique_ptr<QRcode, void (*)(QRcode*)> symbol(
      QRcode_encodeData(static_cast<int>(text.size()),
                        reinterpret_cast<const unsigned char*>(text.data()), 0, QR_ECLEVEL_M),
      QRcode_free);
  if (!symbol || symbol->width <= 0) return code;
  code.width = symbol->width;
  const std::size_t count = static_cast<std::size_t>(code.width) * code.width;
  code.dark.resize(count);
  // Bit 0 of each of libqrencode's bytes is the module's colour.
  for (std::size_t i = 0; i < count; ++i) code.dark[i] = symbol->data[i] & 1U;
  return code;
}

bool QrHolds(std::string_view text) {
  return !EncodeQr(text).Empty();
}

QrGrid PlaceQr(int across, int side) {
  QrGrid grid;
  if (across <= 0 || side <= 0) return grid;
  grid.across = across;
  grid.side = side;
  grid.pitch = side / across;
  grid.offset = (side - grid.pitch * across) / 2;
  return grid;
}

}  // namespace twr
