#include <gtest/gtest.h>

#include "platform/CommandLine.h"

namespace bx {
namespace {

using TArgs = std::vector<std::string>;

TEST(CommandLine, BlanksSeparateQuotesGroupAndAreRemoved) {
  // What the Control Panel's command line looks like.
  EXPECT_EQ(SplitCommandLine(R"("C:\Windows\system32\control.exe" "C:\Apps\Bexora.cpl",Bexora)"),
            (TArgs{R"(C:\Windows\system32\control.exe)", R"(C:\Apps\Bexora.cpl,Bexora)"}));
  EXPECT_EQ(SplitCommandLine("control.exe  \t a b\t"), (TArgs{"control.exe", "a", "b"}));
  EXPECT_EQ(SplitCommandLine(R"(p "My Pictures\x y.cpl" z)"),
            (TArgs{"p", R"(My Pictures\x y.cpl)", "z"}));
  EXPECT_EQ(SplitCommandLine(R"(p a"b c"d)"), (TArgs{"p", "ab cd"}));
  EXPECT_EQ(SplitCommandLine(R"(p "" x)"), (TArgs{"p", "", "x"}));
  EXPECT_EQ(SplitCommandLine(R"(p "unclosed group)"), (TArgs{"p", "unclosed group"}));
  EXPECT_EQ(SplitCommandLine(""), (TArgs{""}));
  EXPECT_EQ(SplitCommandLine("p"), (TArgs{"p"}));
}

TEST(CommandLine, BackslashesAndQuotesFollowTheRuntime) {
  EXPECT_EQ(SplitCommandLine(R"(p C:\a\b\ c)"), (TArgs{"p", R"(C:\a\b\)", "c"}));
  EXPECT_EQ(SplitCommandLine(R"(p a\"b)"), (TArgs{"p", R"(a"b)"}));
  EXPECT_EQ(SplitCommandLine(R"(p a\\"b c")"), (TArgs{"p", R"(a\b c)"}));
  EXPECT_EQ(SplitCommandLine(R"(p a\\\"b)"), (TArgs{"p", R"(a\"b)"}));
  EXPECT_EQ(SplitCommandLine(R"(p "a""b" c)"), (TArgs{"p", R"(a"b)", "c"}));
  EXPECT_EQ(SplitCommandLine(R"(p "C:\Apps\" x)"), (TArgs{"p", R"(C:\Apps" x)"}));
  // The program name takes quotes as grouping only, backslashes as they are.
  EXPECT_EQ(SplitCommandLine(R"("C:\Program Files\"x.exe y)"),
            (TArgs{R"(C:\Program Files\x.exe)", "y"}));
  EXPECT_EQ(SplitCommandLine(R"(C:\a"b c"\d.exe e)"), (TArgs{R"(C:\ab c\d.exe)", "e"}));
}

}  // namespace
}  // namespace bx
