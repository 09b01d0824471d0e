// A drive object with a virtual drive behind discovery, and message boxes
// answered by a recorder, for the window tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "drive/CELDevice.h"
#include "drive/virtual/VirtualDrive.h"
#include "ui/GuiMessages.h"

namespace twr::test {

struct UiRig {
  std::shared_ptr<VirtualDrive> drive;
  std::unique_ptr<CELDevice> device = std::make_unique<CELDevice>();
  ui::GuiMessages messages;
  // Every question is answered with this.
  bool answer = true;

  explicit UiRig(VirtualDriveConfig config)
      : drive(std::make_shared<VirtualDrive>(std::move(config))) {
    std::shared_ptr<VirtualDrive> d = drive;
    device->SetDriveSourceProvider(
        [d] { return std::vector<DriveSource>{VirtualDrive::SourceFor(d)}; });
    device->EnumerateDrives();
    messages.SetResponder(
        [this](const ui::GuiMessages::Request& r) { return r.question ? answer : true; });
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& r : messages.History()) texts.push_back(r.text);
    return texts;
  }
};

inline VirtualDriveConfig DriveWith(const std::string& disc, const std::string& flip = "",
                                    const std::string& status = "complete") {
  VirtualDriveConfig c;
  c.disc = disc;
  c.flip = flip;
  c.status = status;
  c.reloadDelaySeconds = 0;
  return c;
}

}  // namespace twr::test
