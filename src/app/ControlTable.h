#pragma once
// The main window's controls as one table: id, kind, template text and
// rectangle in dialog units. Creation, layout and tests all walk it.
#include <wx/gdicmn.h>

#include <span>

namespace vantrel {

enum ControlId {
  IDOK_EXIT = 1,  // wxID_OK's value differs; the exit button keeps its own id
  IDC_PLAYLIST = 1000,
  IDC_OPEN = 1001,
  IDC_LANGUAGE = 1002,
  IDC_VIDEO = 1003,
  IDC_PLAY = 1004,
  IDC_STOP = 1005,
  IDC_SCREENSHOT = 1006,
  IDC_FULLSCREEN = 1007,
  IDC_METER = 1009,
  IDC_SPEED_UNIT = 1010,
  IDC_VOLUME_LABEL = 1011,
  IDC_LANGUAGE_LABEL = 1012,
  IDC_VOLUME = 1013,
  IDC_PROGRESS = 1014,
  IDC_TIME_POS = 1015,
  IDC_TIME_LEN = 1016,
  IDC_LED_TIME = 1017,
  IDC_LED_LATITUDE = 1018,
  IDC_LED_LONGITUDE = 1019,
  IDC_LED_SPEED = 1020,
  IDC_LED_MAX_SPEED = 1021,
  IDC_LED_AVG_SPEED = 1022,
  IDC_LED_DISTANCE = 1023,
  IDC_BIG_MAP = 1024,
  IDC_SPEED_LABEL = 1025,
  IDC_MAX_SPEED_LABEL = 1026,
  IDC_AVG_SPEED_LABEL = 1027,
  IDC_DISTANCE_LABEL = 1028,
  IDC_TIME_LABEL = 1029,
  IDC_LATITUDE_LABEL = 1030,
  IDC_LONGITUDE_LABEL = 1031,
  IDC_SPEED_UNIT_LABEL = 1032,
  IDC_MAP = 1034,
  IDC_LOADING = 1035,
  IDC_STATUS = 1039,
};

constexpr int IDM_ABOUTBOX = 0x0010;

enum class ControlKind { ListBox, Button, Label, ComboBox, Meter, Readout, Slider, Video, Browser };

enum ControlFlags : unsigned {
  kNone = 0,
  kHidden = 1u << 0,
  kDisabled = 1u << 1,
  kBorder = 1u << 2,
  kCentered = 1u << 3,
  kSorted = 1u << 4,
  kOverlay = 1u << 5,  // a label over another control, shown and hidden often
};

struct ControlSpec {
  int id;
  const char* name;
  ControlKind kind;
  const char* text;  // template text, UTF-8
  wxRect dialogUnits;
  unsigned flags;
};

// Dialog template 102: the client area and every control, in creation order.
inline const wxSize kDialogSizeDlu{627, 389};
std::span<const ControlSpec> dialogControls();
const ControlSpec* findControl(int id);

// Dialog units to pixels as the dialog manager maps them: each edge is scaled
// on its own and rounded, so widths follow from the rounded edges.
// base is the dialog font's average character width and height.
wxRect dialogRectToPixels(const wxRect& dlu, const wxSize& base);
wxSize dialogSizeToPixels(const wxSize& dlu, const wxSize& base);

}  // namespace vantrel
