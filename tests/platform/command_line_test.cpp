#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/command_line.h"

namespace {

using Args = std::vector<std::u16string>;

struct SplitCase {
  std::u16string commandLine;
  Args args;
};

// Under Wine this checks the system's CommandLineToArgvW, natively our own splitter: the
// same table for both keeps them in step.
const SplitCase kSplitCases[] = {
    {u"prog", {u"prog"}},
    {uR"("C:\Program Files\x.exe" a b)", {uR"(C:\Program Files\x.exe)", u"a", u"b"}},
    {uR"("C:\a\b.exe")", {uR"(C:\a\b.exe)"}},
    {uR"("a b"c d)", {u"a b", u"c", u"d"}},
    {uR"(  prog a)", {u"", u"prog", u"a"}},
    {uR"(C:\x\"y z)", {uR"(C:\x\"y)", u"z"}},
    {u"prog\ta\t\tb ", {u"prog", u"a", u"b"}},
    {uR"(prog a\\b c)", {u"prog", uR"(a\\b)", u"c"}},
    {uR"(prog "a b" c)", {u"prog", u"a b", u"c"}},
    {uR"(prog a"b c"d e)", {u"prog", u"ab cd", u"e"}},
    {uR"(prog a\"b)", {u"prog", u"a\"b"}},
    {uR"(prog a\\"b c")", {u"prog", uR"(a\b c)"}},
    {uR"(prog a\\\"b)", {u"prog", uR"(a\"b)"}},
    {uR"(prog a\\\\"b")", {u"prog", uR"(a\\b)"}},
    {uR"(prog "a\\")", {u"prog", uR"(a\)"}},
    {uR"(prog a\)", {u"prog", uR"(a\)"}},
    {uR"(prog "")", {u"prog", u""}},
    {uR"(prog "" "")", {u"prog", u"", u""}},
    {uR"(prog "a""b")", {u"prog", u"a\"b"}},
    {uR"(prog """")", {u"prog", u"\""}},
    {uR"(prog """ a)", {u"prog", u"\"", u"a"}},
    {uR"(prog "a"" b")", {u"prog", u"a\"", u"b"}},
    {uR"(prog "a b)", {u"prog", u"a b"}},
    {uR"(prog --dll="C:\x y\a.dll" --entry=Run)", {u"prog", uR"(--dll=C:\x y\a.dll)", u"--entry=Run"}},
    {u"prog --\u540d\u524d=\u5024 \u00fc", {u"prog", u"--\u540d\u524d=\u5024", u"\u00fc"}},
};

TEST(CommandLineTest, SplitsByTheWindowsRules) {
  for (const SplitCase& c : kSplitCases) {
    Args args;
    ASSERT_TRUE(platform::SplitCommandLine(c.commandLine, args));
    EXPECT_EQ(args, c.args) << "command line: " << std::string(c.commandLine.begin(), c.commandLine.end());
  }
}

TEST(CommandLineTest, EmptyCommandLineGivesOneArgument) {
  // The system names its own program there; our splitter an empty one.
  Args args;
  ASSERT_TRUE(platform::SplitCommandLine(u"", args));
  EXPECT_EQ(args.size(), 1u);
}

TEST(CommandLineTest, JoinIsUndoneExactlyBySplit) {
  const Args kLists[] = {
      {u"prog"},
      {uR"(C:\Program Files\rundll.exe)", u"--dll=a b.dll"},
      {u"", u"a"},
      {u"prog", u"", u"x", u""},
      {u"prog", u"a\"b", uR"(a\)", uR"(a\\"b)", uR"(\\)", u"\"", uR"(\")", u"\"\"\""},
      {u"prog", u"tab\there", u"  lead", u"trail  ", uR"(C:\dir with space\)"},
      {u"prog", u"\u00fc\u540d\u524d \u5024", u"\U0001F600"},
      {uR"(C:\a\b.exe)", uR"(--dll=Plugins\x.dll)", u"sync=Evt1"},
  };
  for (const Args& list : kLists) {
    std::u16string joined = platform::JoinCommandLine(list);
    Args back;
    ASSERT_TRUE(platform::SplitCommandLine(joined, back));
    EXPECT_EQ(back, list) << std::string(joined.begin(), joined.end());
  }
}

TEST(CommandLineTest, JoinQuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(platform::JoinCommandLine({u"prog", u"--a=1", uR"(C:\x\y)"}), uR"(prog --a=1 C:\x\y)");
  EXPECT_EQ(platform::JoinCommandLine({u"a b", u"c d"}), uR"("a b" "c d")");
  EXPECT_EQ(platform::JoinCommandLine({u"prog", uR"(a\ b\)"}), uR"(prog "a\ b\\")");
  EXPECT_EQ(platform::JoinCommandLine({u""}), u"");
}

}  // namespace
