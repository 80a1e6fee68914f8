#include <gtest/gtest.h>
#include <wx/frame.h>

#include "map/Explorer1.h"
#include "map/MapPages.h"
#include "map/MapTestSupport.h"

using namespace vantrel;
using testsupport::evaluate;

namespace {

class PageMessagesTest : public testing::Test {
 protected:
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, "map", wxDefaultPosition, wxSize(620, 460));
    big.Create(frame, wxID_ANY, wxRect(0, 0, 600, 420));
    big.SetMessageHandler([this](const wxString& text) { messages.push_back(text.utf8_string()); });
    frame->Show();
    big.Navigate(testsupport::mapPage(kBigMapPage));
    ASSERT_TRUE(testsupport::waitForPage(big));
  }
  void TearDown() override { frame->Destroy(); }

  // The messages the page posted once count have come.
  std::vector<std::string> waitFor(size_t count) {
    testsupport::pumpUntil([&] { return messages.size() >= count; });
    return messages;
  }

  wxFrame* frame = nullptr;
  CExplorer1 big;
  std::vector<std::string> messages;
};

}  // namespace

TEST_F(PageMessagesTest, RightClickAndClicksOnADriveReachTheProgram) {
  evaluate(big, "vantrelMap.map.fire('contextmenu', {latlng: L.latLng(48.1, 11.5)}); true");
  EXPECT_EQ(waitFor(1), std::vector<std::string>{"place 48.100000 11.500000"});

  evaluate(big, "showDrive('48.1,11.5 48.2,11.6;48.3,11.7 48.4,11.8'); true");
  EXPECT_EQ(evaluate(big, "vantrelMap.drive.getLatLngs().length"), "2");
  evaluate(big, "vantrelMap.drive.fire('click', {latlng: L.latLng(48.15, 11.55)}); true");
  EXPECT_EQ(waitFor(2).back(), "route 48.150000 11.550000");

  evaluate(big, "clearDrive(); true");
  EXPECT_EQ(evaluate(big, "vantrelMap.drive === null"), "true");
}
