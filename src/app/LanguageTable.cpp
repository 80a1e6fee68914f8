#include "app/LanguageTable.h"

#include <array>

namespace vantrel {

namespace {

// One row per slot that is read, the texts in language order; written this
// way so a translation sits beside its siblings.
struct SlotTexts {
  int slot;
  std::array<std::string_view, kLanguageCount> texts;
};

// clang-format off
constexpr SlotTexts kSlotRows[] = {
    // Chinese, Korean, Japanese, English, Russian, German, Dutch
    {kSlotLongitudeLabel, {"当前经度:", "눈앞의경도:", "当面の経度:", "Current Longitude:", "долгота на данный момент", "Längengrad:", "Lengtegraad:"}},
    {kSlotLatitudeLabel, {"当前纬度:", "눈앞의위도:", "当面の緯度:", "Current Latitude:", "широта на данный момент", "Breitengrad:", "Breedtegraad:"}},
    {kSlotSpeedLabel, {"当前速度:", "눈앞의속도:", "当面の速度:", "Current Speed:", "скорость на данный момент", "Geschwindigkeit:", "Snelheid:"}},
    {kSlotMaxSpeedLabel, {"最大速度:", "최대속도:", "最大速度:", "Maximum Speed:", "максимальная скорость", "Max. Geschwindigkeit:", "Max. snelheid:"}},
    {kSlotAvgSpeedLabel, {"平均速度:", "평군속도:", "平均速度:", "Average Speed:", "средняя скорость", "Durch. Geschw:", "Gem. snelheid:"}},
    {kSlotDistanceLabel, {"总行程:", "총노정:", "総道のり:", "Total Distance:", "общий пробег", "Totale Distanz:", "Totale afstand:"}},
    {kSlotOpen, {"打开文件", "파일열기", "ファイル オープン", "Open File", "открыть папку", "Öffnen", "Open"}},
    {kSlotPlayStopped, {"开始播放", "방송캐시", "放送開始", "Play", "проиграть", "Play", "Play"}},
    {kSlotPlayPlaying, {"暂停播放", "잠시중지", "タイム", "Pause", "пауза", "Pause", "Pauze"}},
    {kSlotPlayPaused, {"继续播放", "계속방송", "放送続き", "Resume", "продолжить проигрование", "Zurück", "Hervatten"}},
    {kSlotStop, {"停止播放", "방송중지", "放送停止", "Stop", "СТОП", "Stop", "Stop"}},
    {kSlotScreenshot, {"视频截图", "비디오 캡쳬", "ビデオキャプチャー", "Screenshot", "стоп-кадр", "Screenshot", "Schermafdruk"}},
    {kSlotVolumeLabel, {"音量:", "음량", "音量:", "Volume:", "громкость", "Lautstärke:", "Volume:"}},
    {kSlotFullScreen, {"全屏切换", "풀화면 바꿔", "フルスクリーン換える", "Full Screen", "На весь экран", "Vollbild", "Groot scherm"}},
    {kSlotFullScreenReturn, {"退出全屏", "풀화면 퇴출", "フルスクリーン退出", "Return", "Свернуть", "Vollbild schl.", "Klein scherm"}},
    {kSlotBigMap, {"查看大地图", "큰 지도 보기", "大地図を見る", "View Large Map", "Карта", "Große Karte", "Grote kaart"}},
    {kSlotTimeLabel, {"当前时间", "눈앞의시간", "当面の時間", "Current Time:", "время на данный момент", "Aktuelle UTC Zeit", "Huidige UTC tijd"}},
    {kSlotBigMapClose, {"退出大地图", "큰 지도 퇴출", "大地図退出", "Exit Large Map", "покинуть просмотр на большой карте", "Kleine Karte", "Kleine kaart"}},
    {kSlotExit, {"退出", "퇴출", "退出", "Exit", "выйти", "Beenden", "Afsluiten"}},
    {kSlotSpeedUnitLabel, {"速度单位：", "Speed Unit:", "Speed Unit:", "Speed Unit:", "Speed Unit:", "Speed Unit:", "Speed Unit:"}},
    {kSlotLanguageLabel, {"语言:", "Language:", "Language:", "Language:", "Language:", "Language:", "Language:"}},
    {kSlotLoading, {"正在加载地图,请稍候...", "Loading Maps, Please wait...", "Loading Maps, Please wait...", "Loading Maps, Please wait...", "Loading Maps, Please wait...", "Loading Maps, Please wait...", "Loading Maps, Please wait..."}},
};

constexpr std::array<std::string_view, kLanguageCount> kLanguageNames{
    "中文简体(Chinese)", "한국의(Korean)", "日本語(Japanese)", "English",
    "русский(Russian)", "Deutsch(DE)", "Nederlands (NL)"};
// clang-format on

using Table = std::array<std::array<std::string_view, kLanguageSlots>, kLanguageCount>;

// The 7 x 35 table, laid out language by language from the slot rows.
constexpr Table buildTable() {
  Table table{};
  for (const SlotTexts& row : kSlotRows) {
    for (int language = 0; language < kLanguageCount; ++language) {
      table[language][row.slot] = row.texts[language];
    }
  }
  return table;
}

constexpr Table kLanguageTable = buildTable();

}  // namespace

std::string_view languageText(int language, int slot) {
  if (!isValidLanguage(language) || slot < 0 || slot >= kLanguageSlots) return {};
  return kLanguageTable[language][slot];
}

std::string_view languageName(int language) {
  return isValidLanguage(language) ? kLanguageNames[language] : std::string_view{};
}

}  // namespace vantrel
