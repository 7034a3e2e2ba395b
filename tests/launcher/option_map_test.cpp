#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/option_map.h"

namespace {

struct Lookup {
  std::u16string name;
  bool found;
  std::u16string value;
};

struct MapCase {
  const char* what;
  std::u16string commandLine;
  std::vector<Lookup> lookups;
};

const MapCase kCases[] = {
    {"names ignore ASCII case",
     u"rundll.exe --DLL=a.dll",
     {{u"--dll", true, u"a.dll"}, {u"--Dll", true, u"a.dll"}, {u"--DLL", true, u"a.dll"}}},
    {"the last occurrence wins",
     u"rundll.exe --dll=a.dll --dll=b.dll",
     {{u"--dll", true, u"b.dll"}}},
    {"a bare word is a name with an empty value",
     u"rundll.exe --dll a.dll",
     {{u"--dll", true, u""}, {u"a.dll", true, u""}}},
    {"only the first = splits",
     u"rundll.exe --param=x=y",
     {{u"--param", true, u"x=y"}}},
    {"sync has no dashes; --sync is another name",
     u"rundll.exe --sync=Evt2 sync=Evt1",
     {{u"sync", true, u"Evt1"}, {u"--sync", true, u"Evt2"}}},
    {"name and value are trimmed",
     uR"(rundll.exe " --entry = Run ")",
     {{u"--entry", true, u"Run"}}},
    {"quotes around a value with a blank are removed by the split",
     uR"(rundll.exe --dll="C:\My Dir\a.dll")",
     {{u"--dll", true, uR"(C:\My Dir\a.dll)"}}},
    {"one quote, two quotes, a leading or a trailing quote",
     uR"(rundll.exe --a=\" --b=\"\" --c=\"abc --d=abc\")",
     {{u"--a", true, u""}, {u"--b", true, u""}, {u"--c", true, u"abc"}, {u"--d", true, u"abc"}}},
    {"quotes are removed after trimming, nothing is trimmed after them",
     uR"(rundll.exe "--dll= \" a \" ")",
     {{u"--dll", true, u" a "}}},
    {"the name is never unquoted",
     uR"(rundll.exe \"--dll\"=x)",
     {{u"\"--dll\"", true, u"x"}, {u"--dll", false, u""}}},
    {"an argument starting with = has the empty name",
     u"rundll.exe =x",
     {{u"", true, u"x"}}},
    {"the program path is stored as a name",
     uR"("C:\P\bin\rundll.exe" --entry=Run)",
     {{uR"(c:\p\BIN\rundll.EXE)", true, u""}, {u"--entry", true, u"Run"}}},
    {"non-ASCII letters match only in the same case",
     u"rundll.exe --\u00f1ame=1 --\u043f=2",
     {{u"--\u00f1ame", true, u"1"}, {u"--\u00d1AME", false, u""}, {u"--\u043f", true, u"2"},
      {u"--\u041f", false, u""}}},
    {"white space beyond ASCII is trimmed",
     u"rundll.exe \"--dll=\u3000a.dll\u00a0\"",
     {{u"--dll", true, u"a.dll"}}},
    {"absent options are not found",
     u"rundll.exe --dll=a.dll",
     {{u"--entry", false, u""}, {u"--dl", false, u""}, {u"--dll=", false, u""}}},
};

TEST(OptionMapTest, ParsesAndLooksUp) {
  for (const MapCase& c : kCases) {
    OptionMap map;
    ASSERT_TRUE(map.Parse(c.commandLine.c_str())) << c.what;
    for (const Lookup& lookup : c.lookups) {
      std::u16string value = u"untouched";
      EXPECT_EQ(map.Get(lookup.name, value), lookup.found) << c.what;
      EXPECT_EQ(value, lookup.found ? lookup.value : u"untouched") << c.what;
    }
  }
}

TEST(OptionMapTest, ParseReplacesEarlierEntries) {
  OptionMap map;
  ASSERT_TRUE(map.Parse(u"rundll.exe --dll=a.dll"));
  ASSERT_TRUE(map.Parse(u"rundll.exe --entry=Run"));
  std::u16string value;
  EXPECT_FALSE(map.Get(u"--dll", value));
  EXPECT_TRUE(map.Get(u"--entry", value));
  EXPECT_EQ(value, u"Run");
}

TEST(OptionMapTest, NullCommandLineCountsAsEmpty) {
  OptionMap map;
  EXPECT_TRUE(map.Parse(nullptr));
  std::u16string value;
  EXPECT_FALSE(map.Get(u"--dll", value));
  EXPECT_FALSE(map.Get(u"--param", value));
}

}  // namespace
