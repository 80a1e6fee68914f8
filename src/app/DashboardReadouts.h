#pragma once
// The main window's readouts and gauge as the dashboard shows them.
#include "gps/Dashboard.h"

class wxWindow;

namespace vantrel {

class CDashboardReadouts : public DashboardDisplay {
 public:
  // window: the main window holding the LED readouts and the gauge.
  explicit CDashboardReadouts(wxWindow& window) : m_window(window) {}

  void ShowReadout(Readout readout, const std::string& text) override;
  void ShowGauge(double value) override;
  void ShowGaugeUnits(const std::string& units) override;

 private:
  wxWindow& m_window;
};

// The control that shows readout.
int readoutControlId(Readout readout);

}  // namespace vantrel
