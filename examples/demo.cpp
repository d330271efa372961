// A C++ host walking the library's road: create the library object, hand it
// the host's application object, and print the version text.
#include <cstdio>
#include <iostream>

#include "core/clsQXGenRtns.h"
#include "core/error.h"
#include "core/hostapp.h"

int main() {
    using namespace qx;
    try {
        const ObjectRef app = host::makeApp(u"QXDemo", u"", u"QX Demo Host", u"QX Demo Company", 5, 0, 1);
        clsQXGenRtns lib;
        const String ini = lib.InitializeDll(Variant(app), Release);
        std::cout << "InitializeDll: INI file \"" << toUtf8(ini) << "\"\n";
        std::cout << "GetVersion: " << toUtf8(lib.GetVersion()) << "\n";
        std::cout << "VersionTypeString: " << toUtf8(lib.VersionTypeString()) << "\n";
        std::int32_t seconds = 3725;
        const String elapsed = lib.ConvertSecondsToHHMMSS(seconds);
        std::cout << "ConvertSecondsToHHMMSS(3725): " << toUtf8(elapsed) << " (the variable now holds " << seconds
                  << ")\n";
    } catch (const RuntimeError& e) {
        std::cerr << "error " << e.number() << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
