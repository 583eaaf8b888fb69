#include "tools/lxdbuild/GcideSenseText.h"

#include <algorithm>
#include <vector>

namespace lxdbuild {

namespace {

constexpr size_t kMaxLabelLength = 40;

bool IsUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The usage one label's words give, the strongest when it names several
// ("Obs. or Prov. Eng.": obsolete).
GcideUsage UsageOfLabel(const std::string& label) {
    std::vector<std::string> words;
    size_t at = 0;
    while (at < label.size()) {
        size_t end = label.find_first_of(" ,&", at);
        if (end == std::string::npos) end = label.size();
        if (end > at) words.push_back(label.substr(at, end - at));
        at = end + 1;
    }
    GcideUsage usage = GcideUsage::kCurrent;
    auto raise = [&](GcideUsage to) {
        if (usage == GcideUsage::kCurrent || to < usage) usage = to;
    };
    for (const std::string& word : words) {
        if (word.compare(0, 3, "Obs") == 0) raise(GcideUsage::kObsolete);
        if (word.compare(0, 7, "Archaic") == 0) raise(GcideUsage::kArchaic);
        if (word == "R." || word == "Rare") raise(GcideUsage::kRare);
        if (word == "Prov." || word == "Scot." || word == "Local" ||
            word.compare(0, 4, "Dial") == 0)
            raise(GcideUsage::kRegional);
    }
    return usage;
}

// Calls visit(open, close) for each top-level bracketed group of the text.
template <typename Visit>
void ForEachGroup(const std::string& text, Visit visit) {
    for (size_t open = text.find('['); open != std::string::npos;) {
        int depth = 0;
        size_t close = open;
        for (; close < text.size(); ++close) {
            depth += text[close] == '[';
            if (text[close] == ']' && --depth == 0) break;
        }
        if (close >= text.size()) return;
        visit(open, close);
        open = text.find('[', close + 1);
    }
}

// Removes the groups that are no part of a definition: those opening with a
// capital or a digit (labels, source tags, etymologies); lower-case ones
// ("unto here [their] rest") stay.
std::string WithoutGroups(const std::string& text) {
    std::string out;
    size_t kept = 0;
    ForEachGroup(text, [&](size_t open, size_t close) {
        char first = open + 1 < close ? text[open + 1] : ' ';
        if (!IsUpper(first) && !IsDigit(first)) return;
        out += text.substr(kept, open - kept);
        kept = close + 1;
    });
    return out + text.substr(kept);
}

// Cuts the text before its first author citation ("--Shak.", "--Sir W.
// Scott."); a dash in the text ("-- used before comparatives") is no citation.
std::string WithoutCitation(const std::string& text) {
    for (size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at + 2)) {
        if (at + 2 < text.size() && IsUpper(text[at + 2])) return text.substr(0, at);
    }
    return text;
}

std::string Tidy(std::string text) {
    std::string out;
    for (char c : text) {
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        if ((c == '.' || c == ',' || c == ';') && !out.empty() && out.back() == ' ') out.pop_back();
        out += c;
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == ',' || out.back() == ';'))
        out.pop_back();
    return out;
}

// Stray parentheses or brackets, or a header's digits run into the text
// ("37), definite article").
bool IsGarbled(const std::string& text) {
    int parens = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        parens += text[i] == '(';
        if (text[i] == ')' && --parens < 0) return true;
        if (text[i] == '\\' || text[i] == '[' || text[i] == ']') return true;
    }
    return parens != 0;
}

}  // namespace

GcideUsage CGcideSenseText::UsageOf(const std::string& text) {
    GcideUsage usage = GcideUsage::kCurrent;
    ForEachGroup(text, [&](size_t open, size_t close) {
        // A long group is a label only by its first word ("[Obs., except in
        // the archaic phrase ...]"); an etymology may name "Obs." inside.
        std::string content = text.substr(open + 1, close - open - 1);
        if (content.size() > kMaxLabelLength) content = content.substr(0, content.find(' '));
        GcideUsage label = UsageOfLabel(content);
        if (usage == GcideUsage::kCurrent || (label != GcideUsage::kCurrent && label < usage))
            usage = label;
    });
    return usage;
}

GcideSense CGcideSenseText::Clean(const std::string& definition, GcideUsage headerUsage) {
    GcideSense sense;
    sense.usage = UsageOf(definition);
    if (sense.usage == GcideUsage::kCurrent) sense.usage = headerUsage;
    sense.text = Tidy(WithoutCitation(WithoutGroups(definition)));
    sense.empty = sense.text.empty() || sense.text.back() == ':' ||
                  std::none_of(sense.text.begin(), sense.text.end(),
                               [](char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; });
    sense.garbled = !sense.empty && IsGarbled(sense.text);
    return sense;
}

std::string CGcideSenseText::Labelled(const GcideSense& sense) {
    if (sense.usage == GcideUsage::kCurrent) return sense.text;
    return std::string("(") + UsageName(sense.usage) + ") " + sense.text;
}

const char* CGcideSenseText::UsageName(GcideUsage usage) {
    switch (usage) {
        case GcideUsage::kObsolete:
            return "obsolete";
        case GcideUsage::kArchaic:
            return "archaic";
        case GcideUsage::kRare:
            return "rare";
        case GcideUsage::kRegional:
            return "regional";
        case GcideUsage::kCurrent:
            break;
    }
    return "current";
}

}  // namespace lxdbuild
