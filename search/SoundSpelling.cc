#include "search/SoundSpelling.h"

#include <cstring>

namespace {

struct Rule {
    const char* from;
    const char* to;
    bool atStart;  // applies only at the start of the word
};

// Tried in order at each position; the first that matches is applied.
const Rule kRules[] = {
    {"kn", "n", true},     {"gn", "n", true},     {"wr", "r", true},    {"ps", "s", true},
    {"ough", "uf", false}, {"augh", "af", false}, {"igh", "i", false},  {"ght", "t", false},
    {"tch", "ch", false},  {"ych", "ik", false},  {"alm", "am", false}, {"sch", "sk", false},
    {"ph", "f", false},    {"wh", "w", false},    {"ck", "k", false},   {"qu", "kw", false},
    {"dge", "j", false},   {"ce", "se", false},   {"ci", "si", false},  {"cy", "si", false},
    {"ch", "ch", false},   {"c", "k", false},     {"q", "k", false},    {"x", "ks", false},
    {"ee", "i", false},    {"ea", "i", false},    {"ie", "i", false},   {"ei", "i", false},
    {"oo", "u", false},    {"ou", "u", false},    {"y", "i", false},    {"z", "s", false},
};

bool Starts(const std::string& text, size_t at, const char* prefix) {
    for (size_t i = 0; prefix[i] != '\0'; ++i) {
        if (at + i >= text.size() || text[at + i] != prefix[i]) return false;
    }
    return true;
}

}  // namespace

std::string SoundSpelling(const std::string& folded) {
    std::string spelled;
    for (size_t at = 0; at < folded.size();) {
        const Rule* applied = nullptr;
        for (const Rule& rule : kRules) {
            if ((!rule.atStart || at == 0) && Starts(folded, at, rule.from)) {
                applied = &rule;
                break;
            }
        }
        const char* out = applied != nullptr ? applied->to : nullptr;
        size_t used = applied != nullptr ? strlen(applied->from) : 1;
        std::string piece = out != nullptr ? std::string(out) : folded.substr(at, 1);
        for (char c : piece) {
            if (spelled.empty() || spelled.back() != c) spelled.push_back(c);
        }
        at += used;
    }
    // A final silent e: "fone", "nite".
    if (spelled.size() > 2 && spelled.back() == 'e') spelled.pop_back();
    return spelled;
}
