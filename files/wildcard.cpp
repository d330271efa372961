#include "files/wildcard.h"

#include <vector>

namespace qx::files {

namespace {
// The pattern after translation: every element is a literal character or one
// of the search operators the directory search uses internally.
enum class Op : unsigned char { Literal, Star, StarToLastDot, OneOrDotEnd, DotOrEnd };

struct Element {
    Op op;
    char16_t ch;
};

std::vector<Element> translate(StringView pattern) {
    std::vector<Element> out;
    if (pattern == u"*.*") {
        out.push_back({Op::Star, 0});
        return out;
    }
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i];
        const bool nextIsWild = i + 1 < pattern.size() && (pattern[i + 1] == u'*' || pattern[i + 1] == u'?');
        if (c == u'?') {
            out.push_back({Op::OneOrDotEnd, 0});
        } else if (c == u'*') {
            const bool beforeDot = i + 1 < pattern.size() && pattern[i + 1] == u'.';
            out.push_back({beforeDot ? Op::StarToLastDot : Op::Star, 0});
        } else if (c == u'.' && (nextIsWild || i + 1 == pattern.size())) {
            out.push_back({Op::DotOrEnd, 0});
        } else {
            out.push_back({Op::Literal, foldCase(c)});
        }
    }
    return out;
}
}  // namespace

bool hasWildcards(StringView text) { return text.find_first_of(u"*?") != StringView::npos; }

bool matchesWildcard(StringView pattern, StringView name) {
    const std::vector<Element> ops = translate(pattern);
    const std::size_t m = ops.size();
    const std::size_t n = name.size();
    const std::size_t lastDot = name.rfind(u'.');

    // can[p][k]: the pattern from element p on matches the name from position k on.
    // Filled from the end, so every operator looks only at later cells.
    std::vector<std::vector<char>> can(m + 1, std::vector<char>(n + 1, 0));
    can[m][n] = 1;
    for (std::size_t p = m; p-- > 0;) {
        const Element e = ops[p];
        for (std::size_t k = n + 1; k-- > 0;) {
            const bool atEnd = k == n;
            bool ok = false;
            switch (e.op) {
                case Op::Literal:
                    ok = !atEnd && foldCase(name[k]) == e.ch && can[p + 1][k + 1];
                    break;
                case Op::Star:
                    // Nothing here, or this character and then the same star again.
                    ok = can[p + 1][k] || (!atEnd && can[p][k + 1]);
                    break;
                case Op::StarToLastDot:
                    // Like Star, but the name's last dot cannot be swallowed.
                    ok = can[p + 1][k] || (!atEnd && k != lastDot && can[p][k + 1]);
                    break;
                case Op::OneOrDotEnd:
                    ok = (atEnd || name[k] == u'.') ? can[p + 1][k] : can[p + 1][k + 1];
                    break;
                case Op::DotOrEnd:
                    ok = atEnd ? can[p + 1][k] : (name[k] == u'.' && can[p + 1][k + 1]);
                    break;
            }
            can[p][k] = ok ? 1 : 0;
        }
    }
    return can[0][0] != 0;
}

}  // namespace qx::files
