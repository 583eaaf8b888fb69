#include "tools/lxdbuild/LookupMirror.h"

#include "db/Format.h"
#include "db/Lookup.h"

namespace lxdbuild {

CLookupMirror::CLookupMirror(const CLexicon& lexicon) : lexicon(lexicon) {}

std::string CLookupMirror::Find(const std::string& key) const {
    if (lexicon.entries.count(key) != 0) {
        return key;
    }
    const auto& variants = lexicon.VariantsOf(key);
    return variants.empty() ? std::string() : variants.front();
}

std::string CLookupMirror::FindByRules(const std::string& lower) const {
    char candidate[lxd::kKeyBufferSize];
    for (size_t i = 0; i < kMorphologyRuleCount; ++i) {
        const MorphologyRule& rule = kMorphologyRules[i];
        if (!ApplySuffixRule(candidate, sizeof candidate, lower.c_str(), rule.suffix,
                             rule.replacement)) {
            continue;
        }
        std::string stem = candidate;
        std::string found = Find(stem);
        if (found.empty() && rule.undouble && stem.size() > 1 &&
            stem[stem.size() - 1] == stem[stem.size() - 2]) {
            found = Find(stem.substr(0, stem.size() - 1));
        }
        if (!found.empty()) {
            return found;
        }
    }
    return std::string();
}

std::string CLookupMirror::FollowRedirect(const std::string& headword) const {
    const Entry& entry = lexicon.entries.at(headword);
    // Only a headword whose sole reference is the redirect is followed.
    if (entry.redirect.empty() || !entry.senses.empty() || !entry.minorSenses.empty()) {
        return headword;
    }
    return Find(ToLower(entry.redirect));
}

std::string CLookupMirror::Resolve(const std::string& typed) const {
    if (typed.empty() || typed.size() >= lxd::kKeyBufferSize) {
        return std::string();
    }
    std::string lower = ToLower(typed);
    std::string found = lower != typed && lexicon.entries.count(typed) != 0 ? typed : Find(lower);
    if (found.empty()) {
        found = FindByRules(lower);
    }
    return found.empty() ? found : FollowRedirect(found);
}

}  // namespace lxdbuild
