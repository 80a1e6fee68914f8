// NMEA logs cut to a span: every line is given the time of the RMC sentence
// it belongs to, and the lines whose time lies in the span are kept.
#include <deque>
#include <optional>
#include <string>

#include "gps/NmeaFixes.h"
#include "gps/TextFields.h"
#include "gps/TrackCutRanges.h"
#include "gps/UtcTime.h"

namespace vantrel {

namespace {

// The lines of a log with their places in the file: bytes, or UTF-16 after
// its byte-order mark (then text holds the characters below 128).
class RawLines {
 public:
  explicit RawLines(std::FILE* file) : file_(file) {
    const int a = std::getc(file), b = std::getc(file);
    if (a == 0xFF && b == 0xFE) {
      unit_ = 2;
      littleEndian_ = true;
    } else if (a == 0xFE && b == 0xFF) {
      unit_ = 2;
    } else {
      std::rewind(file);
    }
    at_ = std::ftell(file);
  }
  long start() const { return unit_ == 2 ? 2 : 0; }  // past the byte-order mark

  // The next line: its bytes [begin, end) with its line end, and its text
  // without CR and LF. false at the end of the file.
  bool next(long& begin, long& end, std::string& text) {
    text.clear();
    begin = at_;
    for (;;) {
      const int c = unit_ == 2 ? readUnit() : std::getc(file_);
      if (c == EOF) break;
      at_ += unit_;
      if (c == '\n') break;
      if (c != '\r') text.push_back(c < 128 ? static_cast<char>(c) : '?');
    }
    end = at_;
    return end > begin;
  }

 private:
  int readUnit() {
    const int a = std::getc(file_);
    const int b = std::getc(file_);
    if (a == EOF || b == EOF) return EOF;
    return littleEndian_ ? a | (b << 8) : (a << 8) | b;
  }

  std::FILE* file_;
  int unit_ = 1;
  bool littleEndian_ = false;
  long at_ = 0;
};

// A line waiting to be kept or left out once its place is known.
struct Pending {
  long begin, end;
  std::optional<int64_t> place;  // ms from the track's second 0
  bool fix;                      // a valid RMC: a fix of the track
};

class NmeaCut {
 public:
  NmeaCut(const CutRequest& request, std::vector<ByteRange>& kept)
      : request_(request), kept_(kept) {}

  void take(long begin, long end, const std::string& text);
  void finish();
  int fixesKept() const { return fixesKept_; }

 private:
  void settle(int64_t place);
  void flush();

  const CutRequest& request_;
  std::vector<ByteRange>& kept_;
  std::deque<Pending> pending_;
  std::optional<int64_t> lastPlace_;    // of the last RMC
  std::optional<int64_t> lastMsOfDay_;  // its time of day
  int fixesKept_ = 0;
};

void NmeaCut::take(long begin, long end, const std::string& text) {
  const size_t dollar = text.find('$');
  const std::vector<std::string_view> f = splitFields(
      dollar == std::string::npos ? std::string_view() : std::string_view(text).substr(dollar));
  const bool isRmc = !f.empty() && isNmeaType(f[0], "RMC");
  std::optional<int64_t> utc;
  if (isRmc && f.size() >= 10) {
    if (const std::optional<int64_t> ms = parseClockMs(f[1])) utc = nmeaDateMs(f[9], *ms);
  }
  if (utc) {
    const int64_t place = *utc - request_.originUtcMs;
    pending_.push_back({begin, end, place, f[2] == "A"});
    settle(place);
    lastPlace_ = place;
    lastMsOfDay_ = parseClockMs(f[1]);
    flush();
    return;
  }
  // A GGA of the last RMC's time, and lines without a time of their own,
  // go with the RMC before them; a g-sensor line and a GGA of another time
  // with the RMC after them, as the log's reader pairs them.
  const bool gga = !f.empty() && isNmeaType(f[0], "GGA");
  const bool sameTime = gga && f.size() > 1 && parseClockMs(f[1]) == lastMsOfDay_;
  const bool waitsForNext = (gga && !sameTime) || (!f.empty() && f[0] == "$GSENSORD");
  pending_.push_back({begin, end, waitsForNext ? std::nullopt : lastPlace_, false});
  flush();
}

// Lines waiting for the next RMC take its place.
void NmeaCut::settle(int64_t place) {
  for (Pending& line : pending_) {
    if (!line.place) line.place = place;
  }
}

void NmeaCut::flush() {
  const int64_t startMs = static_cast<int64_t>(request_.start * 1000);
  const int64_t endMs = static_cast<int64_t>(request_.end * 1000);
  while (!pending_.empty() && pending_.front().place) {
    const Pending& line = pending_.front();
    // Before the first fix counts as second 0.
    const int64_t place = std::max<int64_t>(*line.place, 0);
    if (place >= startMs && place < endMs) {
      keepRange(kept_, line.begin, line.end);
      fixesKept_ += line.fix;
    }
    pending_.pop_front();
  }
}

void NmeaCut::finish() {
  // Lines after the last RMC go with it; a log without any goes nowhere.
  if (lastPlace_) settle(*lastPlace_);
  flush();
}

}  // namespace

int nmeaCutRanges(std::FILE* file, const CutRequest& request, std::vector<ByteRange>& kept) {
  RawLines lines(file);
  if (lines.start() > 0) keepRange(kept, 0, lines.start());
  NmeaCut cut(request, kept);
  long begin, end;
  std::string text;
  while (lines.next(begin, end, text)) cut.take(begin, end, text);
  cut.finish();
  return std::ferror(file) ? -1 : cut.fixesKept();
}

}  // namespace vantrel
