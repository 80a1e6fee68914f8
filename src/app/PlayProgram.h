#pragma once
// `vantrel --play` hands over to vantrel-play, the engine's program beside
// this executable, so the playback does not carry the window's libraries.

namespace vantrel {

// The player program's name, looked for in this executable's folder.
inline constexpr const char* kPlayProgram = "vantrel-play";

// Replaces this process with the player program, given args (argc entries
// after --play). Returns only when it cannot be run (not installed beside
// this executable); the caller then plays in this process.
void runPlayProgram(int argc, char** argv);

}  // namespace vantrel
