#include "app/ControlTable.h"

#include <algorithm>
#include <array>

namespace vantrel {

namespace {
using K = ControlKind;
const std::array kControls{
    ControlSpec{IDC_PLAYLIST, "IDC_PLAYLIST", K::ListBox, "", {454, 13, 168, 73}, kBorder | kSorted},
    ControlSpec{IDC_OPEN, "IDC_OPEN", K::Button, "打开文件", {5, 362, 67, 21}, kNone},
    ControlSpec{IDC_PLAY, "IDC_PLAY", K::Button, "开始播放", {80, 362, 67, 21}, kDisabled},
    ControlSpec{IDC_STOP, "IDC_STOP", K::Button, "停止播放", {157, 362, 67, 21}, kNone},
    ControlSpec{IDC_SCREENSHOT, "IDC_SCREENSHOT", K::Button, "视频截图", {234, 362, 67, 21}, kNone},
    ControlSpec{IDC_FULLSCREEN, "IDC_FULLSCREEN", K::Button, "全屏切换", {311, 362, 67, 21}, kNone},
    ControlSpec{IDOK_EXIT, "IDOK", K::Button, "退出", {385, 362, 67, 21}, kNone},
    ControlSpec{IDC_VOLUME_LABEL, "IDC_VOLUME_LABEL", K::Label, "音量:", {389, 262, 59, 8}, kNone},
    ControlSpec{IDC_VOLUME, "IDC_VOLUME", K::Slider, "", {389, 273, 63, 23}, kNone},
    ControlSpec{IDC_LANGUAGE, "IDC_LANGUAGE", K::ComboBox, "", {510, 368, 112, 30}, kNone},
    ControlSpec{IDC_LANGUAGE_LABEL, "IDC_LANGUAGE_LABEL", K::Label, "语言:", {457, 370, 42, 8}, kNone},
    ControlSpec{IDC_METER, "IDC_METER", K::Meter, "Static", {456, 238, 166, 125}, kNone},
    ControlSpec{IDC_TIME_LABEL, "IDC_TIME_LABEL", K::Label, "当前本地时间:", {5, 261, 81, 8}, kNone},
    ControlSpec{IDC_SPEED_LABEL, "IDC_SPEED_LABEL", K::Label, "当前速度(KM/H):", {6, 304, 93, 8}, kNone},
    ControlSpec{IDC_AVG_SPEED_LABEL, "IDC_AVG_SPEED_LABEL", K::Label, "平均速度(KM/H):", {216, 304, 88, 8}, kNone},
    ControlSpec{IDC_LATITUDE_LABEL, "IDC_LATITUDE_LABEL", K::Label, "当前经度:", {118, 261, 106, 8}, kNone},
    ControlSpec{IDC_MAX_SPEED_LABEL, "IDC_MAX_SPEED_LABEL", K::Label, "最大速度(KM/H):", {109, 304, 98, 8}, kNone},
    ControlSpec{IDC_LONGITUDE_LABEL, "IDC_LONGITUDE_LABEL", K::Label, "当前纬度:", {248, 261, 80, 8}, kNone},
    ControlSpec{IDC_DISTANCE_LABEL, "IDC_DISTANCE_LABEL", K::Label, "总行程(M):", {320, 305, 133, 8}, kNone},
    ControlSpec{IDC_LED_LATITUDE, "IDC_LED_LATITUDE", K::Readout, "当前本地时间:", {117, 274, 121, 23}, kBorder},
    ControlSpec{IDC_LED_LONGITUDE, "IDC_LED_LONGITUDE", K::Readout, "当前本地时间:", {249, 274, 121, 23}, kBorder},
    ControlSpec{IDC_LED_TIME, "IDC_LED_TIME", K::Readout, "当前本地时间:", {5, 274, 100, 23}, kBorder},
    ControlSpec{IDC_LED_SPEED, "IDC_LED_SPEED", K::Readout, "当前本地时间:", {5, 317, 87, 23}, kBorder},
    ControlSpec{IDC_LED_MAX_SPEED, "IDC_LED_MAX_SPEED", K::Readout, "当前本地时间:", {109, 317, 87, 23}, kBorder},
    ControlSpec{IDC_LED_AVG_SPEED, "IDC_LED_AVG_SPEED", K::Readout, "当前本地时间:", {216, 317, 87, 23}, kBorder},
    ControlSpec{IDC_LED_DISTANCE, "IDC_LED_DISTANCE", K::Readout, "当前本地时间:", {321, 317, 131, 23}, kBorder},
    ControlSpec{IDC_PROGRESS, "IDC_PROGRESS", K::Slider, "", {46, 346, 322, 8}, kNone},
    ControlSpec{IDC_TIME_POS, "IDC_TIME_POS", K::Label, "00:00:00", {6, 346, 30, 8}, kNone},
    ControlSpec{IDC_TIME_LEN, "IDC_TIME_LEN", K::Label, "00:00:00", {420, 347, 30, 8}, kNone},
    ControlSpec{IDC_BIG_MAP, "IDC_BIG_MAP", K::Button, "查看大地图", {549, 223, 74, 14}, kNone},
    ControlSpec{IDC_VIDEO, "IDC_VIDEO", K::Video, "", {6, 13, 446, 246}, kNone},
    ControlSpec{IDC_MAP, "IDC_MAP", K::Browser, "", {454, 89, 168, 132}, kNone},
    ControlSpec{IDC_SPEED_UNIT_LABEL, "IDC_SPEED_UNIT_LABEL", K::Label, "速度单位:", {456, 226, 36, 8}, kNone},
    ControlSpec{IDC_SPEED_UNIT, "IDC_SPEED_UNIT", K::ComboBox, "", {496, 224, 49, 14}, kSorted},
    ControlSpec{IDC_LOADING, "IDC_LOADING", K::Label, "Loading Maps, Please wait...", {16, 139, 423, 13}, kCentered | kOverlay},
    ControlSpec{IDC_STATUS, "IDC_STATUS", K::Label, "Static", {4, 4, 443, 8}, kHidden},
};

int scaleRounded(int units, int base, int divisor) {
  return (units * base + divisor / 2) / divisor;
}
}  // namespace

std::span<const ControlSpec> dialogControls() { return kControls; }

const ControlSpec* findControl(int id) {
  auto it = std::find_if(kControls.begin(), kControls.end(),
                         [id](const ControlSpec& c) { return c.id == id; });
  return it == kControls.end() ? nullptr : &*it;
}

wxRect dialogRectToPixels(const wxRect& dlu, const wxSize& base) {
  int left = scaleRounded(dlu.x, base.x, 4);
  int top = scaleRounded(dlu.y, base.y, 8);
  int right = scaleRounded(dlu.x + dlu.width, base.x, 4);
  int bottom = scaleRounded(dlu.y + dlu.height, base.y, 8);
  return {left, top, right - left, bottom - top};
}

wxSize dialogSizeToPixels(const wxSize& dlu, const wxSize& base) {
  return {scaleRounded(dlu.x, base.x, 4), scaleRounded(dlu.y, base.y, 8)};
}

}  // namespace vantrel
