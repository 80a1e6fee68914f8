#pragma once
// Random access to the bytes of a recording, for the readers that pick a few
// boxes out of it: a file read with pread, or bytes already in memory (the
// fuzz target and the tests). Counts what was read, so a benchmark can show
// how little of a large recording a track costs.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantrel {

class MediaBytes {
 public:
  virtual ~MediaBytes() = default;
  virtual uint64_t size() const = 0;
  // Reads up to out.size() bytes at offset; returns how many were read (fewer
  // at the end of the bytes or on a read error).
  size_t readAt(uint64_t offset, std::span<uint8_t> out);
  // offset and count lie within the bytes and count is at most cap: the
  // bytes; otherwise nullopt. Nothing is allocated beyond cap.
  std::optional<std::vector<uint8_t>> readRange(uint64_t offset, uint64_t count, size_t cap);
  uint64_t bytesRead() const { return bytesRead_; }

 protected:
  virtual size_t readRaw(uint64_t offset, std::span<uint8_t> out) = 0;

 private:
  uint64_t bytesRead_ = 0;
};

// A file opened for reading; valid() is false when it could not be opened.
class FileBytes : public MediaBytes {
 public:
  explicit FileBytes(const std::string& path);
  ~FileBytes() override;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  bool valid() const { return fd_ >= 0; }
  uint64_t size() const override { return size_; }

 protected:
  size_t readRaw(uint64_t offset, std::span<uint8_t> out) override;

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
};

// Bytes held by the caller, who keeps them alive.
class MemoryBytes : public MediaBytes {
 public:
  explicit MemoryBytes(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint64_t size() const override { return bytes_.size(); }

 protected:
  size_t readRaw(uint64_t offset, std::span<uint8_t> out) override;

 private:
  std::span<const uint8_t> bytes_;
};

}  // namespace vantrel
