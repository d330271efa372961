#include "launch/launch.h"

#include "core/error.h"
#include "core/msgbox.h"
#include "launch/launch_sys.h"

namespace qx::launch {

std::int32_t startErrorNumber(StartFailure failure) {
    switch (failure) {
        case StartFailure::None: return 0;
        case StartFailure::NotFound: return err::FileNotFound;
        case StartFailure::AccessDenied: return err::PermissionDenied;
        case StartFailure::OutOfMemory: return 7;
        case StartFailure::Invalid: break;
    }
    return err::InvalidProcedureCall;
}

int showWindowCode(std::int32_t windowStyle) {
    switch (windowStyle) {
        case 0: return 0;  // hidden
        case 1: return 1;  // normal
        case 2: return 2;  // minimised
        case 3: return 3;  // maximised
        case 4: return 4;  // normal, not activated
        case 6: return 7;  // minimised, not activated
        default: return -1;
    }
}

bool splitCommandLine(const std::string& line, std::vector<std::string>& words) {
    words.clear();
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const std::size_t close = line.find('\'', i + 1);
            if (close == std::string::npos) return false;
            word.append(line, i + 1, close - i - 1);
            i = close;
        } else if (c == '"') {
            for (++i;; ++i) {
                if (i >= line.size()) return false;
                if (line[i] == '"') break;
                if (line[i] == '\\' && i + 1 < line.size() &&
                    (line[i + 1] == '"' || line[i + 1] == '\\' || line[i + 1] == '$' || line[i + 1] == '`')) {
                    ++i;
                }
                word += line[i];
            }
        } else if (c == '\\') {
            if (i + 1 < line.size()) word += line[++i];
        } else {
            word += c;
        }
    }
    if (inWord) words.push_back(word);
    return true;
}

String startFailureMessage(const String& program, std::int32_t errorNumber) {
    return u"Error starting task " + program + u"\r\n" + standardErrorText(errorNumber);
}

void shellAndWait(const String& program, std::int32_t windowStyle) {
    const int show = showWindowCode(windowStyle);
    std::int32_t error = 0;
    sys::Process process;
    if (show < 0 || program.find_first_not_of(u" \t") == String::npos)
        error = err::InvalidProcedureCall;
    else
        error = startErrorNumber(sys::start(toNarrow(program), show, process));
    if (error != 0) {
        messageBox(startFailureMessage(program, error), 48, u"Error");
        return;
    }
    sys::waitFor(process);
}

}  // namespace qx::launch
