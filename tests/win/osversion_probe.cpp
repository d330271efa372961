// Prints the library's operating-system text, for the test that runs it under
// the versions Wine can be told to report for one program.
#include <cstdio>

#include "sysinfo/osinfo.h"

int main() {
    std::printf("%s\n", qx::toNarrow(qx::sysinfo::getOSVersion()).c_str());
    return 0;
}
