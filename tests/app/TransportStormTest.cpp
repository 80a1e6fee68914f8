// A storm on the real window: a seeded random run of transport actions on a
// playlist of short recordings (one of them unplayable). After every action
// the window must settle, within a bound only a hang or deadlock crosses, into
// one of its three looks (idle, playing, paused) matching the player's state.
#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/listbox.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "TempFolder.h"
#include "app/ControlTable.h"
#include "app/LanguageTable.h"
#include "app/VantrelDlg.h"
#include "engine/Messages.h"
#include "engine/PlayerState.h"
#include "support/ProcessState.h"
#include "support/WxTestSupport.h"
#include "widgets/BitmapSlider.h"

using namespace vantrel;
namespace fs = std::filesystem;

namespace {

constexpr unsigned kSeed = 20261210;
constexpr int kActions = 1000;
// Generous: sanitizer builds run several times slower.
constexpr int kSettleBoundMs = 10000;
// The longest the run pauses between actions, so playbacks get under way and
// sometimes end. Under ThreadSanitizer the whole run must stay within the test
// time limit, so it pauses less, and every tenth action waits out the
// 100 ms start timer so that playbacks still get going.
#if defined(__SANITIZE_THREAD__)
constexpr int kMaxPauseMs = 5;
constexpr int kLongPauseEvery = 10;
#else
constexpr int kMaxPauseMs = 60;
constexpr int kLongPauseEvery = 0;
#endif
constexpr int kLongPauseMs = 150;

int pauseAfter(int action, std::mt19937& rng) {
  if (kLongPauseEvery > 0 && action % kLongPauseEvery == 0) return kLongPauseMs;
  return std::uniform_int_distribution<int>(0, kMaxPauseMs)(rng);
}

enum class Look { None, Idle, Playing, Paused };

const char* lookName(Look look) {
  switch (look) {
    case Look::Idle:
      return "idle";
    case Look::Playing:
      return "playing";
    case Look::Paused:
      return "paused";
    case Look::None:
      break;
  }
  return "none";
}

}  // namespace

class TransportStorm : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // The language file and the screenshots land in throwaway folders.
    if (const char* home = std::getenv("HOME")) savedHome_ = home;
    setenv("HOME", userFolder_.withSlash().c_str(), 1);
    savedDir_ = fs::current_path();
    fs::current_path(userFolder_.path());
    const fs::path fixtures = VANTREL_FIXTURES;
    for (const char* name :
         {"play-short.MOV", "play-silent.mp4", "notrack.MOV", "play-garbage.mp4", "play-mp3.mp4"}) {
      fs::copy_file(fixtures / name, playlistFolder_.path() / name);
    }
  }
  void TearDown() override {
    fs::current_path(savedDir_);
    setenv("HOME", savedHome_.c_str(), 1);
  }

  testsupport::TempFolder userFolder_;
  testsupport::TempFolder playlistFolder_;
  std::string savedHome_;
  fs::path savedDir_;
};

// The window and the actions a user can take on it.
class StormWindow {
 public:
  explicit StormWindow(const fs::path& playlist) {
    dialog_.Show();
    dialog_.OpenFolder(playlist.string());
  }
  Look look() {
    // Long texts are wrapped onto two lines on the button.
    wxString play = dialog_.FindWindow(IDC_PLAY)->GetLabel();
    play.Replace("\n", " ");
    const bool stop = dialog_.FindWindow(IDC_STOP)->IsEnabled();
    switch (player_.playState.load()) {
      case Idle:
        if (play == dialog_.LanguageText(kSlotPlayStopped) && !stop &&
            !dialog_.FindWindow(IDC_SCREENSHOT)->IsEnabled() && progress()->GetRangeMax() == 0)
          return Look::Idle;
        break;
      case Playing:
        if (play == dialog_.LanguageText(kSlotPlayPlaying) && stop) return Look::Playing;
        break;
      case Paused:
        if (play == dialog_.LanguageText(kSlotPlayPaused) && stop) return Look::Paused;
        break;
    }
    return Look::None;
  }
  bool settled() { return look() != Look::None; }
  // What the window and the player show, for a failure message.
  std::string describe() {
    return "state " + std::to_string(player_.playState.load()) + ", play button \"" +
           dialog_.FindWindow(IDC_PLAY)->GetLabel().utf8_string() + "\", stop " +
           (dialog_.FindWindow(IDC_STOP)->IsEnabled() ? "enabled" : "disabled") + ", finished " +
           std::to_string(player_.finished.load()) + ", opening " +
           std::to_string(player_.opening.load()) + ", file " + player_.getFileName();
  }

  // One random action, more often the ones that start and pause a playback;
  // returns its name for the failure message.
  std::string act(std::mt19937& rng) {
    enum { Play, Stop, Seek, DoubleClick, Volume, SpeedUnit, LanguageChoice, FullScreen, Shot };
    static const double kWeights[] = {6, 1, 3, 2, 1, 1, 1, 1, 1};
    switch (std::discrete_distribution<int>(std::begin(kWeights), std::end(kWeights))(rng)) {
      case Play:
        click(IDC_PLAY);
        return "play/pause/resume";
      case Stop:
        click(IDC_STOP);
        return "stop";
      case Seek:
        return seek(rng);
      case DoubleClick:
        return doubleClick(rng);
      case Volume:
        return volume(rng);
      case SpeedUnit:
        return choose(IDC_SPEED_UNIT, rng, "speed unit");
      case LanguageChoice:
        return choose(IDC_LANGUAGE, rng, "language");
      case FullScreen:
        dialog_.ToggleFullScreen();
        return "full screen";
      default:
        // A disabled button cannot be clicked.
        if (!dialog_.FindWindow(IDC_SCREENSHOT)->IsEnabled()) return "screenshot (disabled)";
        click(IDC_SCREENSHOT);
        return "screenshot";
    }
  }

  void stopAndWait() {
    click(IDC_STOP);
    testsupport::pumpUntil([&] { return player_.finished && look() == Look::Idle; },
                           kSettleBoundMs);
  }

  int entries() { return static_cast<int>(list()->GetCount()); }

 private:
  void click(int id) {
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(dialog_.FindWindow(id));
    dialog_.GetEventHandler()->ProcessEvent(event);
  }
  void releaseSlider(int id) {
    wxThreadEvent event(wxEVT_THREAD, WM_SLIDER_SET);
    event.SetExtraLong(id);
    dialog_.GetEventHandler()->ProcessEvent(event);
  }
  std::string seek(std::mt19937& rng) {
    const int top = progress()->GetRangeMax();
    const int to = std::uniform_int_distribution<int>(0, std::max(top, 0))(rng);
    progress()->SetPos(to);
    releaseSlider(IDC_PROGRESS);
    return "seek " + std::to_string(to);
  }
  std::string doubleClick(std::mt19937& rng) {
    const int entry = std::uniform_int_distribution<int>(0, entries() - 1)(rng);
    list()->SetSelection(entry);
    wxCommandEvent event(wxEVT_LISTBOX_DCLICK, IDC_PLAYLIST);
    event.SetEventObject(list());
    event.SetInt(entry);
    list()->GetEventHandler()->ProcessEvent(event);
    return "double-click " + std::to_string(entry);
  }
  std::string volume(std::mt19937& rng) {
    auto* slider = static_cast<CBitmapSlider*>(dialog_.FindWindow(IDC_VOLUME));
    slider->SetPos(std::uniform_int_distribution<int>(0, 128)(rng));
    releaseSlider(IDC_VOLUME);
    return "volume";
  }
  std::string choose(int id, std::mt19937& rng, const char* what) {
    auto* box = static_cast<wxChoice*>(dialog_.FindWindow(id));
    const int item = std::uniform_int_distribution<int>(0, box->GetCount() - 1)(rng);
    box->SetSelection(item);
    wxCommandEvent event(wxEVT_CHOICE, id);
    event.SetEventObject(box);
    event.SetInt(item);
    box->GetEventHandler()->ProcessEvent(event);
    return std::string(what) + " " + std::to_string(item);
  }
  CBitmapSlider* progress() {
    return static_cast<CBitmapSlider*>(dialog_.FindWindow(IDC_PROGRESS));
  }
  wxListBox* list() { return static_cast<wxListBox*>(dialog_.FindWindow(IDC_PLAYLIST)); }

  PlayerState player_;
  CVantrelDlg dialog_{player_};
};

TEST_F(TransportStorm, EveryActionSettlesIntoADescribedLook) {
  int looksSeen[4] = {};
  {
    StormWindow window(playlistFolder_.path());
    ASSERT_EQ(window.entries(), 5);
    std::mt19937 rng(kSeed);
    for (int i = 0; i < kActions; ++i) {
      const std::string action = window.act(rng);
      // Let the playback run a little, sometimes past a start or an end.
      testsupport::pumpFor(pauseAfter(i, rng));
      ASSERT_TRUE(testsupport::pumpUntil([&] { return window.settled(); }, kSettleBoundMs))
          << "action " << i << " (" << action << ") left the window in no look; seed " << kSeed
          << "; " << window.describe();
      ++looksSeen[static_cast<int>(window.look())];
    }
    window.stopAndWait();
    EXPECT_EQ(window.look(), Look::Idle);
    EXPECT_EQ(testsupport::engineWorkerThreads(), 0);
  }
  std::printf("looks after an action: idle %d, playing %d, paused %d\n", looksSeen[1], looksSeen[2],
              looksSeen[3]);
  // The run went through every look, or it tested less than it claims.
  for (Look look : {Look::Idle, Look::Playing, Look::Paused}) {
    EXPECT_GT(looksSeen[static_cast<int>(look)], 20) << lookName(look);
  }
}
