#include "app/LibraryTexts.h"

#include <array>
#include <string_view>

#include "app/LanguageTable.h"

namespace vantrel {

namespace {

using Texts = std::array<std::string_view, kLanguageCount>;

// clang-format off
// Chinese, Korean, Japanese, English, Russian, German, Dutch; in the order of LibraryText.
constexpr Texts kTexts[] = {
    {"行程", "주행 기록", "ドライブ", "Drives", "Поездки", "Fahrten", "Ritten"},
    {"日期", "날짜", "日付", "Date", "Дата", "Datum", "Datum"},
    {"时间", "시간", "時間", "Time", "Время", "Zeit", "Tijd"},
    {"片段", "클립", "クリップ", "Clips", "Клипы", "Clips", "Clips"},
    {"距离", "거리", "距離", "Distance", "Расстояние", "Strecke", "Afstand"},
    {"最高速度", "최고 속도", "最高速度", "Max speed", "Макс. скорость", "Max. Geschw.", "Max. snelheid"},
    {"导出行程...", "주행 내보내기...", "ドライブを書き出す...", "Export drive...", "Экспорт поездки...", "Fahrt exportieren...", "Rit exporteren..."},
    {"无法读取", "읽을 수 없음", "読めません", "unreadable", "не читается", "nicht lesbar", "onleesbaar"},
    {"正在读取片段：%zu / %zu", "클립 읽는 중: %zu / %zu", "クリップを読み込み中: %zu / %zu", "Reading clips: %zu of %zu", "Чтение клипов: %zu из %zu", "Clips werden gelesen: %zu von %zu", "Clips lezen: %zu van %zu"},
    {"取消", "취소", "キャンセル", "Cancel", "Отмена", "Abbrechen", "Annuleren"},
    {"正在读取文件夹中的片段...", "폴더의 클립을 읽는 중...", "フォルダーのクリップを読み込み中...", "Reading the clips of the folder...", "Чтение клипов папки...", "Die Clips des Ordners werden gelesen...", "De clips van de map worden gelezen..."},
    {"%zu 个行程，共 %zu 个片段", "주행 %zu개, 클립 %zu개", "ドライブ %zu 件、クリップ %zu 件", "Drives: %zu, clips: %zu", "Поездок: %zu, клипов: %zu", "Fahrten: %zu, Clips: %zu", "Ritten: %zu, clips: %zu"},
    {"（读取已取消：文件夹的其余部分未列入）", " (읽기 취소됨: 폴더의 나머지는 빠짐)", "（読み込みを取り消しました: フォルダーの残りは含まれません）", " (reading was cancelled: the rest of the folder is left out)", " (чтение отменено: остальная часть папки не учтена)", " (Lesen abgebrochen: der Rest des Ordners fehlt)", " (lezen geannuleerd: de rest van de map ontbreekt)"},
    {"，%zu 个无法读取", ", %zu개를 읽을 수 없음", "、%zu 件は読めません", ", %zu could not be read", ", не прочитано: %zu", ", %zu nicht lesbar", ", %zu onleesbaar"},
    {"此处的录像", "이곳의 녹화", "ここの録画", "Recordings here", "Записи здесь", "Aufnahmen hier", "Opnamen hier"},
    {"%.0f 米内没有录像经过", "%.0f m 이내를 지나는 녹화 없음", "%.0f m 以内を通る録画はありません", "No recording passes within %.0f m", "В пределах %.0f м записей нет", "Keine Aufnahme kommt näher als %.0f m", "Geen opname komt binnen %.0f m"},
    {"%s 的 %s（%s），相距 %.0f 米", "%s %s (%s), %.0f m 거리", "%s の %s（%s）、%.0f m 先", "%s at %s (%s), %.0f m away", "%s на %s (%s), в %.0f м", "%s bei %s (%s), %.0f m entfernt", "%s op %s (%s), %.0f m verderop"},
    {"导出行程轨迹", "주행 경로 내보내기", "ドライブの軌跡を書き出す", "Export the drive's track", "Экспорт трека поездки", "Track der Fahrt exportieren", "Track van de rit exporteren"},
    {"已导出到 %s", "내보냄: %s", "書き出しました: %s", "Exported to %s", "Экспортировано в %s", "Exportiert nach %s", "Geëxporteerd naar %s"},
    {"未导出：%s", "내보내지 못함: %s", "書き出せませんでした: %s", "Not exported: %s", "Не экспортировано: %s", "Nicht exportiert: %s", "Niet geëxporteerd: %s"},
    {"该行程没有 GPS 轨迹", "이 주행에는 GPS 경로가 없음", "このドライブには GPS 軌跡がありません", "the drive has no GPS track", "у поездки нет GPS-трека", "die Fahrt hat keinen GPS-Track", "de rit heeft geen GPS-track"},
    {"没有可绘制的轨迹", "그래프로 그릴 경로 없음", "グラフにする軌跡がありません", "No track to chart", "Нет трека для графика", "Kein Track für das Diagramm", "Geen track voor de grafiek"},
    {"速度", "속도", "速度", "Speed", "Скорость", "Geschwindigkeit", "Snelheid"},
    {"海拔", "고도", "高度", "Altitude", "Высота", "Höhe", "Hoogte"},
    {"G 值", "G 값", "G 値", "G-force", "Перегрузка", "G-Kraft", "G-kracht"},
};
// clang-format on

static_assert(std::size(kTexts) == static_cast<size_t>(LibraryText::Count),
              "one row per library text");

}  // namespace

wxString libraryText(int language, LibraryText text) {
  const Texts& row = kTexts[static_cast<size_t>(text)];
  const std::string_view chosen = row[isValidLanguage(language) ? language : kEnglish];
  return wxString::FromUTF8(chosen.data(), chosen.size());
}

}  // namespace vantrel
