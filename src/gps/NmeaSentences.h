#pragma once
// Cuts a byte stream into NMEA 0183 sentences as loggers and cameras really
// write them: CR, LF or CR LF line ends, blank lines, sentences glued without
// a line break, NUL bytes, UTF-8 or UTF-16 text with a byte-order mark.
// Sentences longer than kMaxNmeaLine are skipped; a sentence with a checksum
// is passed on only when the checksum holds, without it.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace vantrel {

constexpr size_t kMaxNmeaLine = 4096;

class NmeaSentences {
 public:
  // sentence: from its '$' up to (not including) the '*' of its checksum;
  // checked: it had a checksum, and the checksum held.
  using Sink = std::function<void(std::string_view sentence, bool checked)>;
  explicit NmeaSentences(Sink sink) : sink_(std::move(sink)) {}

  // The next bytes of the stream, in any pieces.
  void feed(std::string_view bytes);
  // The stream has ended: a last sentence without a line end is passed on.
  void finish();

 private:
  enum class Encoding { Unknown, Bytes, Utf16Le, Utf16Be };
  void decode(std::string_view bytes);
  void take(char c);
  void endLine();

  Sink sink_;
  Encoding encoding_ = Encoding::Unknown;
  std::string start_;     // the first bytes, until the encoding is known
  int pendingByte_ = -1;  // the first half of a UTF-16 unit
  std::string line_;
  bool overlong_ = false;  // the current line passed kMaxNmeaLine
};

// The XOR of the characters between '$' and '*', as two hex digits checks it.
bool nmeaChecksumHolds(std::string_view sentence, std::string_view checksum);

}  // namespace vantrel
