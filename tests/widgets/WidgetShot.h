#pragma once
// Reading back what a window shows: a screenshot of the display cut to the
// window's client area, saved under the build tree so a person can look too.
#include <wx/image.h>
#include <wx/window.h>

#include <string>

#include "WxPrinters.h"
#include "support/WxTestSupport.h"

namespace widgettest {

// Paints window now, then returns its client area as the screen shows it;
// an invalid image when no screenshot could be taken.
inline wxImage grabClientArea(wxWindow* window, const std::string& name) {
  window->Refresh();
  window->Update();
  testsupport::pumpFor(200);
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  const std::string path = testsupport::saveScreenshot(name);
  wxImage shot;
  if (path.empty() || !shot.LoadFile(path, wxBITMAP_TYPE_PNG)) return wxImage();
  const wxRect area(window->ClientToScreen(wxPoint(0, 0)), window->GetClientSize());
  wxImage client = shot.GetSubImage(area);
  client.SaveFile(std::string(VANTREL_BINARY_DIR) + "/screenshots/" + name + "-client.png",
                  wxBITMAP_TYPE_PNG);
  return client;
}

inline wxColour pixelAt(const wxImage& image, int x, int y) {
  return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
}

}  // namespace widgettest
