#include "app/AppIcon.h"

#include <wx/dcmemory.h>
#include <wx/graphics.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace vantrel {

static wxIcon drawIcon(int size) {
  wxImage image(size, size);
  image.InitAlpha();
  std::fill_n(image.GetAlpha(), size * size, 0);
  wxBitmap bitmap(image);
  {
    wxMemoryDC dc(bitmap);
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    const double c = size / 2.0, r = size * 0.46;
    gc->SetPen(wxPen(wxColour(40, 40, 40), std::max(1, size / 16)));
    gc->SetBrush(wxBrush(wxColour(24, 28, 36)));
    gc->DrawEllipse(c - r, c - r, 2 * r, 2 * r);
    // Green, yellow and red arc of the dial, then the needle at about 70%.
    const wxColour bands[] = {{60, 200, 80}, {240, 210, 40}, {230, 50, 40}};
    for (int b = 0; b < 3; ++b) {
      wxGraphicsPath arc = gc->CreatePath();
      double from = M_PI * (0.75 + 0.5 * b), to = from + M_PI * 0.5;
      arc.AddArc(c, c, r * 0.78, from, to, true);
      gc->SetPen(wxPen(bands[b], std::max(2, size / 10)));
      gc->StrokePath(arc);
    }
    double angle = M_PI * 0.75 + 1.5 * M_PI * 0.7;
    gc->SetPen(wxPen(wxColour(255, 60, 40), std::max(1, size / 14)));
    gc->StrokeLine(c, c, c + std::cos(angle) * r * 0.8, c + std::sin(angle) * r * 0.8);
    gc->SetBrush(wxBrush(wxColour(200, 200, 200)));
    gc->SetPen(*wxTRANSPARENT_PEN);
    gc->DrawEllipse(c - size / 12.0, c - size / 12.0, size / 6.0, size / 6.0);
  }
  wxIcon icon;
  icon.CopyFromBitmap(bitmap);
  return icon;
}

wxIconBundle appIcons() {
  wxIconBundle bundle;
  for (int size : {16, 32, 48, 64}) bundle.AddIcon(drawIcon(size));
  return bundle;
}

}  // namespace vantrel
