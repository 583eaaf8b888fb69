#include "tools/lxdbuild/Lexicon.h"

#include "db/Format.h"

namespace lxdbuild {

std::string ToLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + ('a' - 'A'));
        }
    }
    return text;
}

bool IsSingleLowerWord(const std::string& word) {
    if (word.empty()) {
        return false;
    }
    for (char c : word) {
        if (c < 'a' || c > 'z') {
            return false;
        }
    }
    return true;
}

bool IsMinorKind(uint32_t kind) {
    return kind >= lxd::kKindArticle && kind <= lxd::kKindParticle;
}

bool IsKindWordNetLacks(uint32_t kind) {
    return kind == lxd::kKindInterjection || IsMinorKind(kind);
}

bool HasMinorSense(const CLexicon& lexicon, const Entry& entry) {
    for (const auto* list : {&entry.senses, &entry.minorSenses}) {
        for (uint32_t sense : *list) {
            if (IsMinorKind(lexicon.synsets[sense].kind)) return true;
        }
    }
    return false;
}

void CLexicon::IndexVariants() {
    variants.clear();
    for (const auto& entry : entries) {
        variants[ToLower(entry.first)].push_back(entry.first);
    }
}

const std::vector<std::string>& CLexicon::VariantsOf(const std::string& lower) const {
    static const std::vector<std::string> none;
    auto found = variants.find(lower);
    return found == variants.end() ? none : found->second;
}

}  // namespace lxdbuild
