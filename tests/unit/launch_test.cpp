// The launch rules: window styles, start failures and how a command line
// splits into words.
#include <gtest/gtest.h>

#include "launch/launch.h"

using namespace qx;
using namespace qx::launch;

namespace {
std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> words;
    EXPECT_TRUE(splitCommandLine(line, words)) << line;
    return words;
}
using Words = std::vector<std::string>;
}  // namespace

TEST(Launch, WindowStylesMapToShowCodes) {
    EXPECT_EQ(showWindowCode(0), 0);
    EXPECT_EQ(showWindowCode(1), 1);
    EXPECT_EQ(showWindowCode(2), 2);
    EXPECT_EQ(showWindowCode(3), 3);
    EXPECT_EQ(showWindowCode(4), 4);
    EXPECT_EQ(showWindowCode(6), 7);
    EXPECT_EQ(showWindowCode(5), -1);
    EXPECT_EQ(showWindowCode(7), -1);
    EXPECT_EQ(showWindowCode(-1), -1);
}

TEST(Launch, StartFailuresBecomeRuntimeErrors) {
    EXPECT_EQ(startErrorNumber(StartFailure::None), 0);
    EXPECT_EQ(startErrorNumber(StartFailure::NotFound), 53);
    EXPECT_EQ(startErrorNumber(StartFailure::AccessDenied), 70);
    EXPECT_EQ(startErrorNumber(StartFailure::OutOfMemory), 7);
    EXPECT_EQ(startErrorNumber(StartFailure::Invalid), 5);
    EXPECT_EQ(startFailureMessage(u"nope.exe /x", 53), u"Error starting task nope.exe /x\r\nFile not found");
}

TEST(Launch, CommandLineSplitsLikeAShell) {
    EXPECT_EQ(split("prog a  b\tc"), (Words{"prog", "a", "b", "c"}));
    EXPECT_EQ(split("  "), Words{});
    EXPECT_EQ(split("\"/opt/my app/run\" 'x y' z"), (Words{"/opt/my app/run", "x y", "z"}));
    EXPECT_EQ(split("a\\ b c\\\\d"), (Words{"a b", "c\\d"}));
    EXPECT_EQ(split("\"q\\\"uote\\\\ \\n\""), (Words{"q\"uote\\ \\n"}));
    EXPECT_EQ(split("'it\\s' lit"), (Words{"it\\s", "lit"}));
    EXPECT_EQ(split("pre\"mid dle\"post ''"), (Words{"premid dlepost", ""}));
    std::vector<std::string> words;
    EXPECT_FALSE(splitCommandLine("prog \"open", words));
    EXPECT_FALSE(splitCommandLine("prog 'open", words));
}
