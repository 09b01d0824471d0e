// A drive for tests: answers each command from a script (by opcode or by a
// function) and records every CDB, direction and length it was sent.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "drive/CELDevice.h"
#include "drive/ScsiTransport.h"

namespace twr::test {

struct ScriptedReply {
  bool ok = true;
  std::vector<std::uint8_t> data;   // copied to the start of the data span
  std::vector<std::uint8_t> sense;  // copied to the start of the sense span
  // Bytes the drive says it transferred (a short answer); the default says
  // nothing, as a transport that cannot tell.
  std::size_t transferred = SIZE_MAX;
  // The status byte the drive sends; none by default, as a transport that
  // cannot tell.
  int status = kNoScsiStatus;
};

struct SentCommand {
  std::vector<std::uint8_t> cdb;
  ScsiDirection direction;
  std::size_t length;
};

class ScriptedTransport : public ScsiTransport {
 public:
  using Handler = std::function<ScriptedReply(const SentCommand&)>;

  void On(std::uint8_t opcode, ScriptedReply reply) {
    handlers_[opcode] = [reply](const SentCommand&) { return reply; };
  }
  void On(std::uint8_t opcode, Handler handler) { handlers_[opcode] = std::move(handler); }

  ScsiResult Execute(std::span<const std::uint8_t> cdb, ScsiDirection direction,
                     std::span<std::uint8_t> data) override {
    SentCommand sent{{cdb.begin(), cdb.end()}, direction, data.size()};
    sentData_.assign(data.begin(), data.end());
    sent_.push_back(sent);
    ScsiResult result;
    result.transferred = data.size();
    auto it = handlers_.find(cdb.empty() ? 0xFF : cdb[0]);
    if (it == handlers_.end()) return result;
    const ScriptedReply reply = it->second(sent);
    std::copy_n(reply.data.begin(), std::min(reply.data.size(), data.size()), data.begin());
    result.SetSense(reply.sense);
    result.transferred = std::min(reply.transferred, data.size());
    result.status = reply.status;
    result.ok = reply.ok;
    return result;
  }

  const std::vector<SentCommand>& Sent() const { return sent_; }
  const SentCommand& Last() const { return sent_.back(); }
  // The data span of the last command as it was handed over (data out).
  const std::vector<std::uint8_t>& LastData() const { return sentData_; }
  void Clear() { sent_.clear(); }

 private:
  std::map<std::uint8_t, Handler> handlers_;
  std::vector<SentCommand> sent_;
  std::vector<std::uint8_t> sentData_;
};

// A drive object with a scripted drive open.
struct ScriptedDrive {
  std::unique_ptr<CELDevice> device = std::make_unique<CELDevice>();
  std::shared_ptr<ScriptedTransport> drive = std::make_shared<ScriptedTransport>();
  ScriptedDrive() { device->AttachTransport(drive); }
};

inline std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> out;
  for (int v : values) out.push_back(static_cast<std::uint8_t>(v));
  return out;
}

}  // namespace twr::test
