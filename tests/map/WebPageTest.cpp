#include <gtest/gtest.h>
#include <wx/frame.h>

#include <memory>

#include "map/Explorer1.h"
#include "map/MapTestSupport.h"
#include "map/WebEngineCheck.h"
#include "map/WebPage.h"

using namespace vantrel;

namespace {

const std::string kBridgePage =
    testsupport::fileUrl(std::string(VANTREL_SOURCE_DIR) + "/tests/map/bridge-page.html");

class Bridge : public testing::Test {
 protected:
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, "bridge", wxDefaultPosition, wxSize(400, 300));
    browser.Create(frame, wxID_ANY, wxRect(0, 0, 400, 300));
    frame->Show();
  }
  void TearDown() override { frame->Destroy(); }
  void Load() {
    browser.Navigate(kBridgePage);
    ASSERT_TRUE(testsupport::waitForPage(browser));
    page.AttachDocument(browser.Document());
  }

  wxFrame* frame = nullptr;
  CExplorer1 browser;
  CWebPage page;
};

}  // namespace

TEST_F(Bridge, CallsFailWithoutEffectUntilThePageHasLoaded) {
  EXPECT_FALSE(page.CallScriptFunction("record", {"x", "y"}));
  EXPECT_EQ(page.LastError(), "JSCall Error:\nCannot GetScript");
  browser.Navigate(kBridgePage);
  EXPECT_EQ(browser.Document(), nullptr);  // loading
  EXPECT_FALSE(page.AttachDocument(browser.Document()));
  EXPECT_EQ(page.LastError(), "JSCall Error:\nNULL pointer");
  EXPECT_FALSE(page.CallScriptFunction("record", {"x", "y"}));
  EXPECT_EQ(page.LastError(), "JSCall Error:\nCannot GetScript");

  ASSERT_TRUE(testsupport::waitForPage(browser));
  CWebPage fresh;  // each routine attaches afresh and now finds the page
  ASSERT_TRUE(fresh.AttachDocument(browser.Document()));
  EXPECT_TRUE(fresh.CallScriptFunction("record", {"z", ""}));
  EXPECT_EQ(testsupport::evaluate(browser, "recorded()"), "z");
}

TEST_F(Bridge, UndefinedNamesAndThrowingFunctionsFailWithTheReason) {
  Load();
  EXPECT_FALSE(page.CallScriptFunction("nosuch"));
  EXPECT_EQ(page.LastError(), "JSCall Error:\nnosuch: nosuch is not defined");
  EXPECT_FALSE(page.CallScriptFunction("thrower", {"bad input", ""}));
  EXPECT_EQ(page.LastError(), "JSCall Error:\nthrower: bad input");
  EXPECT_FALSE(page.CallScriptFunction("calls"));  // a value, not a function
}

TEST_F(Bridge, ArgumentsArriveInOrderAsTheExactTexts) {
  Load();
  const std::vector<std::string> args = {"first",
                                         "-48.117300",
                                         "",
                                         R"(quote " and ' and \ )",
                                         "line\nbreak\r\t",
                                         "');record('injected');('",
                                         "</script><b>",
                                         "地图 карта",
                                         "\xf0\x9f\x9a\x97"};
  wxString result;
  ASSERT_TRUE(page.CallScriptFunction("echo", args, &result));
  std::string expected;
  for (size_t i = 0; i < args.size(); ++i) expected += (i ? "\x01" : "") + args[i];
  EXPECT_EQ(result.utf8_string(), expected);
  EXPECT_EQ(testsupport::evaluate(browser, "recorded()"), "");  // nothing ran but echo

  ASSERT_TRUE(page.CallScriptFunction("echo", {"a", "b"}, &result));
  EXPECT_EQ(result,
            "a\x01"
            "b");
  ASSERT_TRUE(page.CallScriptFunction("argc", &result));
  EXPECT_EQ(result, "0");
  ASSERT_TRUE(page.CallScriptFunction("codes", {std::string("n\0\x01", 3)}, &result));
  EXPECT_EQ(result, "110,0,1");
  ASSERT_TRUE(page.CallScriptFunction("echo", {"\xff"}, &result));
  EXPECT_EQ(result, wxString::FromUTF8("\xef\xbf\xbd"));  // not UTF-8: U+FFFD
}

TEST_F(Bridge, BatchRunsInOrderStopsWhereToldAndSkipsAfterFailures) {
  Load();
  BatchOutcome outcome = page.CallScriptBatch({
      {"record", {"1"}, CallMode::Continue},
      {"thrower", {"soft"}, CallMode::Continue},
      {"record", {"skipped"}, CallMode::AfterSuccess},
      {"record", {"2"}, CallMode::AfterSuccess},
      {"record", {"3"}, CallMode::Continue},
      {"record", {"4"}, CallMode::AfterSuccess},
      {"thrower", {"hard"}, CallMode::StopOnFailure},
      {"record", {"never"}, CallMode::Continue},
  });
  EXPECT_EQ(testsupport::evaluate(browser, "recorded()"), "1,3,4");
  EXPECT_EQ(outcome.firstFailure, 1);
  EXPECT_EQ(outcome.failures, 2);
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(outcome.reason, "soft");
  EXPECT_EQ(page.LastError(), "JSCall Error:\nthrower: soft");

  outcome = page.CallScriptBatch({{"record", {"5"}}, {"echo", {"x", "y"}}});
  EXPECT_EQ(outcome.firstFailure, -1);
  EXPECT_FALSE(outcome.stopped);
  EXPECT_EQ(outcome.value, "x\x01y");
}

TEST_F(Bridge, SilentBrowserAnswersThePagesDialogsItself) {
  browser.SetSilent(true);
  Load();
  wxString result;
  ASSERT_TRUE(page.CallScriptFunction("alerter", &result));  // would wait for a click otherwise
  EXPECT_EQ(result, "after");
}

TEST(WebEngine, BackendIsFoundAndItsVersionRecorded) {
  const WebEngine engine = checkWebEngine();
  ASSERT_TRUE(engine.available);
  EXPECT_FALSE(engine.version.empty());
  EXPECT_EQ(webEngineText(engine), "Map engine: " + engine.version);
}

TEST(WebEngine, WithoutABackendTheMapShowsANoticeAndCallsFailCleanly) {
  const WebEngine none = checkWebEngine("no-such-engine");
  EXPECT_FALSE(none.available);
  EXPECT_EQ(webEngineText(none), "Map engine: none, the maps are off");

  auto* frame = new wxFrame(nullptr, wxID_ANY, "no engine");
  {
    CExplorer1 browser;
    browser.Create(frame, wxID_ANY, wxRect(0, 0, 200, 100), "no-such-engine");
    ASSERT_NE(browser.Window(), nullptr);
    EXPECT_EQ(browser.Window()->GetLabel(), "No web engine: the map is not available.");
    browser.Navigate(kBridgePage);
    browser.SetSilent(true);
    EXPECT_EQ(browser.Document(), nullptr);
    CWebPage page;
    page.AttachDocument(browser.Document());
    EXPECT_FALSE(page.CallScriptFunction("record", {"a", "b"}));
    EXPECT_EQ(page.LastError(), "JSCall Error:\nCannot GetScript");
    EXPECT_TRUE(page.CallScriptBatch({{"record", {"a"}}}).stopped);
  }
  frame->Destroy();
}
