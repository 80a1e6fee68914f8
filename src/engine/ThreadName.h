#pragma once
// Names the calling thread ("playback", "demux", "dec/video", "dec/audio") so
// a debugger or `top -H` shows who is busy. Names longer than 15 bytes are cut.
namespace vantrel {
void setCurrentThreadName(const char* name);
}  // namespace vantrel
