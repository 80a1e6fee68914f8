#include "engine/KeyCatchUp.h"

#include "engine/Display.h"

namespace vantrel {

bool KeyCatchUp::startsAt(const Picture& picture) {
  if (catchingUp_ || !armed_ || !picture.playingOn || !picture.keyQueued) return false;
  catchingUp_ = farBehind(picture.time, picture.clock, picture.speed);
  return catchingUp_;
}

bool KeyCatchUp::farBehind(double time, double clock, double speed) {
  return clock - time > kCatchUpSeconds * speed;
}

KeyCatchUp::Packet KeyCatchUp::packet(bool key, double time, double clock, double speed,
                                      bool laterKeyQueued) {
  if (!catchingUp_) {
    if (key) armed_ = true;
    return Packet::Decode;
  }
  if (!key) return Packet::LeaveOut;
  if (laterKeyQueued && clock - time > kTooLateSeconds * speed) return Packet::LeaveOut;
  catchingUp_ = false;
  armed_ = false;
  return Packet::Restart;
}

void KeyCatchUp::reset() {
  catchingUp_ = false;
  armed_ = true;
}

}  // namespace vantrel
