#include <gtest/gtest.h>

#include "map/ScriptText.h"

using namespace vantrel;

TEST(JsStringLiteral, EscapesEverythingThatCouldEndOrBendTheString) {
  struct Case {
    std::string text;
    const char* literal;
  };
  const Case cases[] = {
      {"", R"("")"},
      {"-48.117300", R"("-48.117300")"},
      {R"(a"b)", R"("a\"b")"},
      {R"(back\slash)", R"("back\\slash")"},
      {"it's", R"("it's")"},
      {"line\nfeed\r\ttab", R"("line\nfeed\r\ttab")"},
      {std::string("nul\0byte", 8), R"("nul\u0000byte")"},
      {"\x1b\x7f", R"("\u001B\u007F")"},
      {"</script>", R"("</script>")"},
      {"\xe2\x80\xa8", R"("\u2028")"},                    // ends a line in older engines
      {"\xe5\x9c\xb0\xe5\x9b\xbe", R"("\u5730\u56FE")"},  // 地图
      {"\xf0\x9f\x9a\x97", R"("\uD83D\uDE97")"},          // U+1F697 as a surrogate pair
      {"\xff", R"("\uFFFD")"},                            // not UTF-8
      {"\xc0\xaf", R"("\uFFFD\uFFFD")"},                  // overlong '/'
      {"\xed\xa0\x80", R"("\uFFFD\uFFFD\uFFFD")"},        // a surrogate
      {"\xe5\x9c", R"("\uFFFD\uFFFD")"},                  // cut short
  };
  for (const Case& c : cases) EXPECT_EQ(jsStringLiteral(c.text), c.literal) << c.text;
}

TEST(BatchScript, ListsEachCallWithItsModeNameAndArguments) {
  const ScriptBatch calls = {
      {"clrRTploy", {}, CallMode::Continue},
      {"mapinitialize", {"1.5", "-2"}, CallMode::StopOnFailure},
      {"setStartPoint", {"a\"b"}, CallMode::AfterSuccess},
  };
  const std::string script = batchScript(calls);
  const std::string tail =
      R"(([[0,"clrRTploy"],[1,"mapinitialize","1.5","-2"],[2,"setStartPoint","a\"b"]]))";
  ASSERT_GE(script.size(), tail.size());
  EXPECT_EQ(script.substr(script.size() - tail.size()), tail);
  EXPECT_EQ(script.rfind("(function(calls){", 0), 0u);
}

TEST(BatchOutcome, ReadsTheRunnersReport) {
  BatchOutcome outcome;
  ASSERT_TRUE(parseBatchOutcome("-1\n0\n0\n\n42", outcome));
  EXPECT_EQ(outcome.firstFailure, -1);
  EXPECT_EQ(outcome.failures, 0);
  EXPECT_FALSE(outcome.stopped);
  EXPECT_EQ(outcome.value, "42");

  ASSERT_TRUE(parseBatchOutcome("3\n2\n1\nboom is not defined\nmulti\nline", outcome));
  EXPECT_EQ(outcome.firstFailure, 3);
  EXPECT_EQ(outcome.failures, 2);
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(outcome.reason, "boom is not defined");
  EXPECT_EQ(outcome.value, "multi\nline");

  for (const char* bad : {"", "x\n0\n0\n\n", "1\n2\n3", "-1\n0\n0", "1.5\n0\n0\n\n"}) {
    BatchOutcome untouched{7, 7, true, "r", "v"};
    EXPECT_FALSE(parseBatchOutcome(bad, untouched)) << bad;
    EXPECT_EQ(untouched.firstFailure, 7);
  }
}
