#pragma once
// Catching up with the sound when the machine cannot decode the pictures fast
// enough: once the pictures come out far behind the sound clock, the decoder
// leaves out the packets up to a key picture near the clock and starts afresh
// there. The picture stands for the rest of that key interval while the sound
// plays on; then the two are in step again. Decoding thread only.
namespace vantrel {

// Behind the sound by more than this (seconds of playing time: kCatchUpSeconds
// x speed of the recording), a picture starts a catch-up. Five times the
// display's drop line: a picture now and then that comes late catches up by
// itself, and a frozen picture for the rest of a key interval (up to a second
// on dashcams) is worth it only for a lag anyone sees.
constexpr double kCatchUpSeconds = 0.5;

class KeyCatchUp {
 public:
  // A picture handed over to the display.
  struct Picture {
    double time;   // its time, seconds of the recording
    double clock;  // the sound clock (or the silent recording's) as it is handed over
    double speed;
    // Playing on in step with the sound, from a picture already handed over
    // in this serial: not the first picture after a start or a seek, not on
    // the way to a seek's target, not paused or stepping, not a recording
    // without sound or past the end of its sound.
    bool playingOn;
    bool keyQueued;  // a key packet of this serial waits in the video queue
  };
  // Whether a picture this far behind the clock would start a catch-up.
  static bool farBehind(double time, double clock, double speed);
  // Whether a catch-up starts at this picture: it is far behind, and a key
  // picture to catch up at has already been read (never one the file may
  // not have: without a further key the pictures play on late).
  bool startsAt(const Picture& picture);

  enum class Packet {
    Decode,
    LeaveOut,  // not decoded; counted as dropped
    Restart,   // the key to go on from: flush the decoder, then decode it
  };
  // What becomes of a packet read from the video queue. While catching up
  // all but key packets are left out; a key packet too as long as it is
  // still behind the clock by more than the display's drop line and a later
  // key is already queued, so a catch-up never runs past the last key read.
  // laterKeyQueued: another key packet of this serial waits behind it.
  Packet packet(bool key, double time, double clock, double speed, bool laterKeyQueued);

  bool catchingUp() const { return catchingUp_; }
  // A seek or a new playback: whatever was under way is void.
  void reset();

 private:
  bool catchingUp_ = false;
  // Hysteresis: after a catch-up the next one waits for a key picture decoded
  // in full order, so at least a whole key interval plays between two.
  bool armed_ = true;
};

}  // namespace vantrel
