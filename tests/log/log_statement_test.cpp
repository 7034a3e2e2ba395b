#include <gtest/gtest.h>

#include "log/log_statement.h"
#include "log/logger.h"
#include "platform/text.h"
#include "tests/log/log_test_support.h"

namespace {

TEST(LogStatementTest, PositionPrefixTakesTheNameBetweenLastBackslashAndLastDot) {
  const struct {
    const char* path;
    int line;
    const char* prefix;
  } cases[] = {
      {"C:\\src\\launcher\\runner.cpp", 44, "[  44][runner] "},
      {"runner.cpp", 44, "[  44] "},
      {"C:\\src\\runner", 7, "[   7] "},
      {"C:\\a.b\\runner", 7, "[   7] "},
      {"C:\\src\\.cpp", 1, "[   1] "},
      {"C:\\src\\x.cpp", 12345, "[12345][x] "},
      {"C:\\s\\a.b.cpp", 3, "[   3][a.b] "},
  };
  for (const auto& c : cases) EXPECT_EQ(LogUtils::PositionPrefix(c.path, c.line), c.prefix) << c.path;
}

TEST(LogStatementTest, PiecesFollowTagAndPosition) {
  EXPECT_EQ(LogUtils::LogStatement("[I]", "a\\b.cpp", 5).Text(), u"[I][   5][b] ");
  LogUtils::LogStatement statement("[I]", "x\\runner.cpp", 44);
  statement << u"LoadLibrary Failed: " << std::u16string(u"C:\\Tools\\x.dll") << " "
            << static_cast<const char*>(nullptr) << " " << 42 << u'!';
  EXPECT_EQ(statement.Text(),
            u"[I][  44][runner] LoadLibrary Failed: C:\\Tools\\x.dll (null) 42!");
}

int built = 0;
const char* Piece() {
  ++built;
  return "piece";
}

// The only test that binds the process-wide logger: its first Init fixes the file for good.
TEST(LogStatementTest, CallSiteBuildsTheStatementOnlyWhenTheLevelPasses) {
  logtest::TempFolder dir;
  const std::u16string path = dir.Path("rundll.log");
  LogUtils::InitLog(path);  // no switch file: logging is off
  RUNDLL_LOG_INFO << Piece();
  EXPECT_EQ(built, 0);

  logtest::Touch(path + u".on");
  LogUtils::InitLog(path);
  const int line = __LINE__ + 1;
  RUNDLL_LOG_INFO << Piece() << u" \u4e2d";
  EXPECT_EQ(built, 1);
  LogUtils::EndLog();
  RUNDLL_LOG_INFO << Piece();
  EXPECT_EQ(built, 1) << "nothing is built after EndLog";

  char position[32];
  std::snprintf(position, sizeof position, "[%4d]", line);
  const auto texts = logtest::Texts(path);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], "-------log start");
  EXPECT_EQ(texts[1], "[I]" + std::string(position) + "[log_statement_test] piece " +
                          platform::ToNarrow(u"\u4e2d"));
  EXPECT_EQ(texts[2], "-------log end");
}

}  // namespace
