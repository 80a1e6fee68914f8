#include "app/DashboardReadouts.h"

#include "app/ControlTable.h"
#include "widgets/LEDDisplay.h"
#include "widgets/Meter.h"

namespace vantrel {

int readoutControlId(Readout readout) {
  switch (readout) {
    case Readout::Time:
      return IDC_LED_TIME;
    case Readout::Latitude:
      return IDC_LED_LATITUDE;
    case Readout::Longitude:
      return IDC_LED_LONGITUDE;
    case Readout::Speed:
      return IDC_LED_SPEED;
    case Readout::MaxSpeed:
      return IDC_LED_MAX_SPEED;
    case Readout::AvgSpeed:
      return IDC_LED_AVG_SPEED;
    case Readout::Distance:
      return IDC_LED_DISTANCE;
  }
  return wxID_NONE;
}

void CDashboardReadouts::ShowReadout(Readout readout, const std::string& text) {
  if (auto* led = dynamic_cast<CLEDDisplay*>(m_window.FindWindow(readoutControlId(readout)))) {
    led->SetText(wxString::FromUTF8(text));
  }
}

void CDashboardReadouts::ShowGauge(double value) {
  if (auto* meter = dynamic_cast<CMeter*>(m_window.FindWindow(IDC_METER))) meter->SetValue(value);
}

void CDashboardReadouts::ShowGaugeUnits(const std::string& units) {
  if (auto* meter = dynamic_cast<CMeter*>(m_window.FindWindow(IDC_METER))) {
    meter->SetUnits(wxString::FromUTF8(units));
  }
}

}  // namespace vantrel
