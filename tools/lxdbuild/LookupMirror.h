// Predicts where the engine's word lookup lands for a typed word, from the
// headwords of a CLexicon instead of a finished file. CLookupMirror reads the
// lexicon it is given (which must outlive it) and changes nothing.
#ifndef LEXORA_TOOLS_LXDBUILD_LOOKUPMIRROR_H
#define LEXORA_TOOLS_LXDBUILD_LOOKUPMIRROR_H

#include <string>

#include "tools/lxdbuild/Lexicon.h"

namespace lxdbuild {

class CLookupMirror {
public:
    explicit CLookupMirror(const CLexicon& lexicon);
    virtual ~CLookupMirror() = default;

    // The headword (a key of the lexicon's entries) that a lookup of `typed`
    // with inflection rules ends at after following one redirect; empty when
    // it finds none.
    std::string Resolve(const std::string& typed) const;

private:
    // The headword a search for the lower-case `key` finds: the key itself
    // or a capitalised form of it; empty when neither exists.
    std::string Find(const std::string& key) const;
    std::string FindByRules(const std::string& lower) const;
    std::string FollowRedirect(const std::string& headword) const;

    const CLexicon& lexicon;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_LOOKUPMIRROR_H
