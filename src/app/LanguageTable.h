#pragma once
// The user-interface texts of the seven languages: 7 rows of 35 slots, UTF-8.
// Slots that no control reads are empty.
#include <string_view>

namespace vantrel {

constexpr int kLanguageCount = 7;
constexpr int kLanguageSlots = 35;

// Language indices; also the positions in the language box.
enum LanguageIndex { kChinese = 0, kKorean, kJapanese, kEnglish, kRussian, kGerman, kDutch };

enum LanguageSlot {
  kSlotLongitudeLabel = 1,
  kSlotLatitudeLabel = 2,
  kSlotSpeedLabel = 3,
  kSlotMaxSpeedLabel = 4,
  kSlotAvgSpeedLabel = 5,
  kSlotDistanceLabel = 6,
  kSlotOpen = 7,
  kSlotPlayStopped = 8,
  kSlotPlayPlaying = 9,
  kSlotPlayPaused = 10,
  kSlotStop = 11,
  kSlotScreenshot = 12,
  kSlotVolumeLabel = 13,
  kSlotFullScreen = 14,
  kSlotFullScreenReturn = 15,
  kSlotBigMap = 16,
  kSlotTimeLabel = 17,
  kSlotBigMapClose = 18,
  kSlotExit = 19,
  kSlotSpeedUnitLabel = 32,
  kSlotLanguageLabel = 33,
  kSlotLoading = 34,
};

constexpr bool isValidLanguage(int language) {
  return language >= 0 && language < kLanguageCount;
}

// The text of language and slot; empty when either is outside the table.
std::string_view languageText(int language, int slot);

// The language's name as the language box lists it; empty when invalid.
std::string_view languageName(int language);

}  // namespace vantrel
