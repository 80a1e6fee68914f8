#include "gps/MediaBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vantrel {

size_t MediaBytes::readAt(uint64_t offset, std::span<uint8_t> out) {
  if (offset >= size()) return 0;
  const uint64_t available = size() - offset;
  if (out.size() > available) out = out.first(static_cast<size_t>(available));
  const size_t got = readRaw(offset, out);
  bytesRead_ += got;
  return got;
}

std::optional<std::vector<uint8_t>> MediaBytes::readRange(uint64_t offset, uint64_t count,
                                                          size_t cap) {
  if (count > cap || offset > size() || count > size() - offset) return std::nullopt;
  std::vector<uint8_t> bytes(static_cast<size_t>(count));
  if (readAt(offset, bytes) != bytes.size()) return std::nullopt;
  return bytes;
}

FileBytes::FileBytes(const std::string& path) {
  // O_NONBLOCK: a FIFO given as a recording must not hang the loader.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  struct stat info {};
  if (fd_ >= 0 && (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))) {
    ::close(fd_);
    fd_ = -1;
  }
  if (fd_ >= 0) size_ = static_cast<uint64_t>(info.st_size);
}

FileBytes::~FileBytes() {
  if (fd_ >= 0) ::close(fd_);
}

size_t FileBytes::readRaw(uint64_t offset, std::span<uint8_t> out) {
  size_t done = 0;
  while (done < out.size()) {
    const ssize_t got =
        ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

size_t MemoryBytes::readRaw(uint64_t offset, std::span<uint8_t> out) {
  std::memcpy(out.data(), bytes_.data() + offset, out.size());
  return out.size();
}

}  // namespace vantrel
