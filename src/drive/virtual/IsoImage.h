// A disc image for the virtual drive: raw 2048-byte blocks read from the
// file, and the root listing (Joliet / Rock Ridge names) through libiso9660.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "drive/DriveSource.h"

namespace twr {

class IsoImage {
 public:
  // Nullptr when the file cannot be opened for reading or is not a regular
  // file (a FIFO is never waited on); `why` (if given) says which.
  static std::unique_ptr<IsoImage> Open(const std::string& path, std::string* why = nullptr);
  ~IsoImage();
  IsoImage(const IsoImage&) = delete;
  IsoImage& operator=(const IsoImage&) = delete;

  // The image's size in 2048-byte blocks (a last partial block counts).
  std::uint32_t BlockCount() const { return blocks_; }
  // Reads `out.size() / 2048` blocks from `lba`; false when any lies past
  // the end of the image or the file cannot be read.
  bool ReadBlocks(std::uint32_t lba, std::span<std::uint8_t> out) const;
  // The entries of the root directory, in directory order, "." and ".."
  // left out. False when the image holds no readable ISO 9660 file system.
  bool ListRoot(std::vector<DiscEntry>& entries) const;
  const std::string& Path() const { return path_; }

 private:
  // The volume descriptor set (a primary descriptor, a terminator, block
  // size 2048) and the root directory of each descriptor lie inside the
  // image, with every directory record and system use entry well formed.
  bool FileSystemSound() const;
  bool DirectorySound(std::uint32_t extent, std::uint32_t bytes) const;

  IsoImage(int fd, std::string path, std::uint32_t blocks)
      : fd_(fd), path_(std::move(path)), blocks_(blocks) {}
  int fd_;
  std::string path_;
  std::uint32_t blocks_;
};

}  // namespace twr
