// The launch rules: window styles, start failures and how a command line
// splits into words.
#include <gtest/gtest.h>

#include "launch/launch.h"

using namespace qx::launch;

namespace {
using Words = std::vector<std::string>;

Words split(const std::string& line) {
    Words words;
    EXPECT_TRUE(splitCommandLine(line, words)) << line;
    return words;
}
}  // namespace

TEST(Launch, WindowStylesMapToShowCodes) {
    EXPECT_EQ(showWindowCode(4), 4);
    EXPECT_EQ(showWindowCode(6), 7);
    EXPECT_EQ(showWindowCode(5), -1);
}

TEST(Launch, CommandLineSplitsLikeAShell) {
    EXPECT_EQ(split("  "), Words{});
    EXPECT_EQ(split("\"/opt/my app/run\" 'x y'\tz"), (Words{"/opt/my app/run", "x y", "z"}));
    EXPECT_EQ(split("\"q\\\"uote\\\\ \\n\""), (Words{"q\"uote\\ \\n"}));
    EXPECT_EQ(split("'it\\s' lit"), (Words{"it\\s", "lit"}));
    EXPECT_EQ(split("pre\"mid dle\"post ''"), (Words{"premid dlepost", ""}));
    Words words;
    for (const char* open : {"prog \"open", "prog 'open"}) EXPECT_FALSE(splitCommandLine(open, words)) << open;
}
