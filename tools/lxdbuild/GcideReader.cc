#include "tools/lxdbuild/GcideReader.h"

#include <algorithm>

#include "db/Format.h"
#include "tools/lxdbuild/PartOfSpeechOrder.h"
#include "tools/lxdbuild/SourceFiles.h"

namespace lxdbuild {

namespace {

constexpr size_t kMaxDefinitions = 4;
constexpr size_t kMaxDefinitionLength = 320;
constexpr size_t kMaxCodeLength = 8;

const std::map<std::string, std::string>& CharacterCodes() {
    static const std::map<std::string, std::string> codes = {
        {"=a", "ā"},    {"=e", "ē"},    {"imac", "ī"}, {"=i", "ī"},    {"=o", "ō"},
        {"=u", "ū"},    {"=y", "ȳ"},    {"=ae", "ǣ"},  {"=oo", "ōō"},  {"-e", "ē"},
        {"-o", "ō"},    {"-u", "ū"},    {"-i", "ī"},   {"a^", "ă"},    {"e^", "ĕ"},
        {"i^", "ĭ"},    {"o^", "ŏ"},    {"u^", "ŭ"},   {"y^", "y̆"},    {"oo^", "ŏŏ"},
        {"\"a", "ä"},   {"\"e", "ë"},   {"\"i", "ï"},  {"\"o", "ö"},   {"\"u", "ü"},
        {"'a", "á"},    {"'e", "é"},    {"'i", "í"},   {"'o", "ó"},    {"'u", "ú"},
        {"'E", "É"},    {"`a", "à"},    {"`e", "è"},   {"`u", "ù"},    {"^a", "â"},
        {"^e", "ê"},    {"^i", "î"},    {"^o", "ô"},   {"^u", "û"},    {"~a", "ã"},
        {"~e", "ẽ"},    {"~n", "ñ"},    {",c", "ç"},   {"ae", "æ"},    {"AE", "Æ"},
        {"oe", "œ"},    {"eth", "ð"},   {"th", "θ"},   {"thorn", "þ"}, {"yogh", "ȝ"},
        {"ng", "ŋ"},    {".a", "ȧ"},    {".u", "u̇"},   {".n", "ṅ"},    {".t", "ṭ"},
        {".r", "ṛ"},    {"*a", "å"},    {"*u", "ů"},   {"root", "√"},  {"sect", "§"},
        {"deg", "°"},   {"alpha", "α"}, {"beta", "β"}, {"gamma", "γ"}, {"delta", "δ"},
        {"theta", "θ"}, {"iota", "ι"},  {"pi", "π"},   {"phi", "φ"},   {"tau", "τ"},
    };
    return codes;
}

// A bracketed character code at text[i]: its length and its token.
bool CodeAt(const std::string& text, size_t i, std::string& token, size_t& length) {
    if (text[i] != '[') {
        return false;
    }
    size_t close = text.find(']', i + 1);
    if (close == std::string::npos || close == i + 1 || close - i - 1 > kMaxCodeLength) {
        return false;
    }
    token = text.substr(i + 1, close - i - 1);
    length = close - i + 1;
    if (CharacterCodes().count(token) != 0) {
        return true;
    }
    // Lower-case letters and accent marks without a full stop: a code this
    // reader does not know, still a code.
    return std::all_of(token.begin(), token.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || std::string("\"'`=~^,-*").find(c) != std::string::npos;
    });
}

std::string CollapseSpaces(const std::string& text) {
    std::string out;
    for (char c : text) {
        bool space = c == ' ' || c == '\n' || c == '\t' || c == '\r';
        if (space) {
            if (!out.empty() && out.back() != ' ') {
                out += ' ';
            }
        } else if (c != '<' && c != '>' && c != '\f') {
            out += c;
        }
    }
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

size_t HeaderEnd(const std::string& entry) {
    size_t end = std::min(entry.find("\n   1. "), entry.find("\n\n"));
    return end == std::string::npos ? entry.size() : end;
}

std::string Unmarked(std::string word) {
    word.erase(std::remove_if(word.begin(), word.end(),
                              [](char c) { return c == '"' || c == '*' || c == '`'; }),
               word.end());
    return word;
}

// A headword as written before its syllable form: letters, with apostrophes,
// hyphens, spaces and syllable marks inside.
bool IsHeadwordText(const std::string& text) {
    return !text.empty() && text.size() < 64 && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '\'' || c == '-' ||
               c == ' ' || c == '"' || c == '*' || c == '`';
    });
}

// Splits the header into its headwords ("Word \Syl"la*ble\", several
// separated by commas) and the part-of-speech mark that follows them,
// without parenthesised pronunciations and bracketed groups. False when the
// header has no complete headword.
bool ParseHeader(const std::string& entry, std::vector<std::string>* headwords, std::string* mark) {
    headwords->clear();
    size_t at = 0;
    for (;;) {
        size_t open = entry.find(" \\", at);
        if (open == std::string::npos || !IsHeadwordText(entry.substr(at, open - at))) break;
        size_t close = entry.find('\\', open + 2);
        if (close == std::string::npos) return false;
        headwords->push_back(Unmarked(entry.substr(at, open - at)));
        at = close + 1;
        size_t next = entry.find_first_not_of(", ", at);
        if (next == std::string::npos || entry.find(" \\", next) == std::string::npos) break;
        if (!IsHeadwordText(entry.substr(next, entry.find(" \\", next) - next))) break;
        at = next;
    }
    if (headwords->empty()) return false;
    size_t end = std::max(at, HeaderEnd(entry));
    std::string plain;
    int depth = 0;
    for (char c : entry.substr(at, end - at)) {
        depth += c == '(';
        if (depth == 0) plain += c;
        depth -= c == ')' && depth > 0;
    }
    plain = CollapseSpaces(plain.substr(0, plain.find('[')));
    size_t start = plain.find_first_not_of(", ");
    *mark = start == std::string::npos ? std::string() : plain.substr(start);
    return true;
}

bool StartsWith(const std::string& text, const char* head) {
    return text.compare(0, std::char_traits<char>::length(head), head) == 0;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// GCIDE writes "?" for a character it lost ("Gr. ?", "m?s", "r?\"sh?n"); a
// question mark ends a word and is followed by no letter ("what is this?").
bool IsLostCharacter(const std::string& text, size_t at) {
    const bool afterLetter = at > 0 && (IsLetter(text[at - 1]) || text[at - 1] == '.');
    size_t next = at + 1;
    if (next < text.size() && (text[next] == '"' || text[next] == '*' || text[next] == '`')) ++next;
    const bool beforeLetter = next < text.size() && (IsLetter(text[next]) || text[next] == '?');
    return !afterLetter || beforeLetter;
}

// Where the header's lines end: the first line break outside brackets and
// parentheses (a pronunciation may run over lines: "(\"the\", when emphatic
// ...;\n 37), definite article.").
size_t HeaderLinesEnd(const std::string& entry) {
    int brackets = 0, parens = 0;
    for (size_t i = 0; i < entry.size(); ++i) {
        if (entry[i] == '[') {
            ++brackets;
        } else if (entry[i] == ']' && brackets > 0) {
            --brackets;
        } else if (entry[i] == '(') {
            ++parens;
        } else if (entry[i] == ')' && parens > 0) {
            --parens;
        } else if (entry[i] == '\n' && brackets == 0 && parens == 0) {
            return i;
        }
    }
    return std::string::npos;
}

// A label of capitalised abbreviations ("U. S.", "Obs. or Prov. Eng."): no origin.
bool IsLabel(const std::string& group) {
    size_t at = 0;
    while (at < group.size()) {
        size_t end = std::min(group.find(' ', at), group.size());
        const std::string word = group.substr(at, end - at);
        const bool abbreviation =
            !word.empty() && word[0] >= 'A' && word[0] <= 'Z' && word.back() == '.';
        if (!abbreviation && word != "or" && word != "&" && !word.empty()) return false;
        at = end + 1;
    }
    return true;
}

// A bracketed group of the header that tells forms, not an origin:
// "[Compar. {Happier}; superl. {Happiest}.]", "[Possess. {Your} ...]".
bool IsGrammarNote(const std::string& group) {
    static const char* const kOpenings[] = {"Compar.", "Superl.", "Possess.", "Poss.", "Sing.",
                                            "Pl.",     "Nom.",    "Obj.",     "Dat.",  "Acc.",
                                            "Imp.",    "Pres.",   "Pret.",    "P. p.", "P. pr.",
                                            "Inf.",    "Written", "Also",     "Fem.",  "Masc."};
    return std::any_of(std::begin(kOpenings), std::end(kOpenings),
                       [&](const char* opening) { return StartsWith(group, opening); });
}

// Cuts a long definition after its last full clause within the limit.
std::string Shorten(const std::string& text) {
    if (text.size() <= kMaxDefinitionLength) {
        return text;
    }
    size_t cut = text.rfind("; ", kMaxDefinitionLength);
    if (cut == std::string::npos || cut < kMaxDefinitionLength / 2) {
        cut = text.rfind(' ', kMaxDefinitionLength);
    }
    return text.substr(0, cut == std::string::npos ? kMaxDefinitionLength : cut) + " ...";
}

}  // namespace

CGcideReader::CGcideReader(CBuildReport& report) : report(report) {}

bool CGcideReader::DecodeCharacters(const std::string& text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        std::string token;
        size_t length = 0;
        if (text[i] == '?' && IsLostCharacter(text, i)) {
            return false;
        }
        if (CodeAt(text, i, token, length)) {
            auto code = CharacterCodes().find(token);
            if (code == CharacterCodes().end()) {
                return false;
            }
            out += code->second;
            i += length - 1;
            continue;
        }
        out += text[i];
    }
    out = CollapseSpaces(out);
    return true;
}

std::string CGcideReader::Etymology(const std::string& entry, bool& damaged) {
    damaged = false;
    std::string header = entry.substr(0, HeaderEnd(entry));
    for (size_t i = 0; i < header.size(); ++i) {
        std::string token;
        size_t length = 0;
        if (header[i] != '[' || CodeAt(header, i, token, length)) {
            continue;
        }
        int depth = 0;
        size_t close = i;
        for (; close < header.size(); ++close) {
            if (CodeAt(header, close, token, length)) {
                close += length - 1;
            } else if (header[close] == '[') {
                ++depth;
            } else if (header[close] == ']' && --depth == 0) {
                break;
            }
        }
        if (close >= header.size()) {
            return std::string();
        }
        std::string content = header.substr(i + 1, close - i - 1);
        bool isEtymology = !content.empty() && content[0] >= 'A' && content[0] <= 'Z' &&
                           content.find(' ') != std::string::npos && !IsGrammarNote(content) &&
                           !IsLabel(content) && !IsCrossReference(content);
        if (isEtymology) {
            std::string decoded;
            if (!DecodeCharacters(content, decoded)) {
                damaged = true;
                return std::string();
            }
            return decoded;
        }
        i = close;
    }
    return std::string();
}

bool CGcideReader::SyllableBreaks(const std::string& entry, std::vector<size_t>& breaks) {
    size_t open = entry.find(" \\");
    size_t close = open == std::string::npos ? open : entry.find('\\', open + 2);
    if (close == std::string::npos) {
        return false;
    }
    breaks.clear();
    size_t letters = 0;
    bool marked = false;
    for (size_t i = open + 2; i < close; ++i) {
        char c = entry[i];
        if (c == '"' || c == '*' || c == '`') {
            marked = true;
            if (letters > 0 && (breaks.empty() || breaks.back() != letters)) {
                breaks.push_back(letters);
            }
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            ++letters;
        } else {
            return false;  // phrases and forms with other characters
        }
    }
    while (!breaks.empty() && breaks.back() >= letters) {
        breaks.pop_back();
    }
    return marked;
}

std::vector<std::string> CGcideReader::Headwords(const std::string& entry) {
    std::vector<std::string> headwords;
    std::string mark;
    ParseHeader(entry, &headwords, &mark);
    return headwords;
}

uint32_t CGcideReader::MarkKind(const std::string& entry) {
    std::vector<std::string> headwords;
    std::string mark;
    if (!ParseHeader(entry, &headwords, &mark)) return 0;
    if (StartsWith(mark, "definite article") || StartsWith(mark, "indefinite article") ||
        StartsWith(mark, "art.")) {
        return lxd::kKindArticle;
    }
    // Possessives (my: "a. & poss. pron.") and quantifiers (every: "a. & a.
    // pron.", each: "a. or a. pron.") stand before a noun: determiners.
    if (StartsWith(mark, "a.") &&
        (mark.find("poss.") != std::string::npos || mark.find("a. pron.") != std::string::npos)) {
        return lxd::kKindDeterminer;
    }
    for (const char* pronoun : {"pron.", "poss. pron.", "possessive pron.", "pers. pron.",
                                "rel. pron.", "dem. pron.", "interrog. pron."}) {
        if (StartsWith(mark, pronoun)) return lxd::kKindPronoun;
    }
    if (StartsWith(mark, "conj.")) return lxd::kKindConjunction;
    if (StartsWith(mark, "interj.")) return lxd::kKindInterjection;
    if (StartsWith(mark, "prep.")) return lxd::kKindPreposition;
    if (StartsWith(mark, "n.")) return lxd::kKindNoun;
    for (const char* verb : {"v.", "imp.", "p. p.", "p. pr.", "auxiliary"}) {
        if (StartsWith(mark, verb)) return lxd::kKindVerb;
    }
    if (StartsWith(mark, "adv.")) return lxd::kKindAdverb;
    if (StartsWith(mark, "a.") || StartsWith(mark, "adj.")) return lxd::kKindAdjective;
    // The articles a and an have no mark; their definitions name what they are.
    if (mark.find_first_not_of(". ") == std::string::npos) {
        const std::vector<std::string> definitions = Definitions(entry, 1);
        if (!definitions.empty() && definitions[0].find("indefinite article") != std::string::npos)
            return lxd::kKindArticle;
    }
    return 0;
}

uint32_t CGcideReader::MinorKind(const std::string& entry) {
    uint32_t kind = MarkKind(entry);
    return IsKindWordNetLacks(kind) ? kind : 0;
}

std::vector<GcideSense> CGcideReader::Senses(const std::string& entry, size_t max,
                                             uint64_t* damaged) {
    std::vector<GcideSense> senses;
    size_t headerEnd = HeaderEnd(entry);
    const GcideUsage headerUsage = CGcideSenseText::UsageOf(entry.substr(0, headerEnd));
    std::vector<std::string> headwords;
    std::string mark;
    ParseHeader(entry, &headwords, &mark);
    std::vector<std::pair<size_t, size_t>> spans;
    for (int number = 1; spans.size() < max; ++number) {
        std::string mark = "\n   " + std::to_string(number) + ". ";
        size_t start = entry.find(mark, headerEnd > 0 ? headerEnd - 1 : 0);
        if (start == std::string::npos) {
            break;
        }
        spans.emplace_back(start + mark.size(), std::string::npos);
        headerEnd = start + mark.size();
    }
    if (spans.empty()) {
        // One unnumbered definition: the lines after the header's, whose
        // bracketed groups may run over several lines.
        size_t start = HeaderLinesEnd(entry);
        if (start == std::string::npos) {
            return senses;
        }
        spans.emplace_back(start + 1, std::string::npos);
    }
    for (const auto& span : spans) {
        size_t end = entry.size();
        for (const char* stop : {"\n   [", "\n      [", "\n\n", "\n   Note:"}) {
            end = std::min(end, entry.find(stop, span.first));
        }
        std::string text = entry.substr(span.first, end - span.first);
        text.erase(std::remove_if(text.begin(), text.end(),
                                  [](char c) { return c == '{' || c == '}' || c == '$'; }),
                   text.end());
        std::string decoded;
        if (!DecodeCharacters(text, decoded)) {
            if (damaged != nullptr) ++*damaged;
            continue;
        }
        // A mark on the line after a long pronunciation ("37),\n definite article.").
        if (!mark.empty() && StartsWith(decoded, mark.c_str())) decoded.erase(0, mark.size());
        GcideSense sense = CGcideSenseText::Clean(decoded, headerUsage);
        sense.text = Shorten(sense.text);
        senses.push_back(std::move(sense));
    }
    return senses;
}

std::vector<std::string> CGcideReader::Definitions(const std::string& entry, size_t max,
                                                   uint64_t* damaged) {
    std::vector<std::string> definitions;
    for (const GcideSense& sense : Senses(entry, max, damaged)) {
        if (!sense.empty && !sense.garbled) definitions.push_back(sense.text);
    }
    return definitions;
}

void CGcideReader::Read(const std::string& index, const std::string& indexPath,
                        std::string dictionaryText) {
    dictionary = std::move(dictionaryText);
    static const std::string digits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    auto decode = [](const std::string& text, size_t& value) {
        value = 0;
        for (char c : text) {
            size_t digit = digits.find(c);
            if (digit == std::string::npos || value > (SIZE_MAX >> 6)) {
                return false;
            }
            value = value * 64 + digit;
        }
        return !text.empty();
    };
    CSourceFiles::ForEachLine(index, [&](const std::string& line, long number) {
        size_t tab1 = line.find('\t');
        size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        size_t offset = 0, length = 0;
        if (tab2 == std::string::npos || !decode(line.substr(tab1 + 1, tab2 - tab1 - 1), offset) ||
            !decode(line.substr(tab2 + 1), length) || offset + length > dictionary.size()) {
            report.Malformed(indexPath, number, "not an index line");
            return;
        }
        entries[ToLower(line.substr(0, tab1))].emplace_back(offset, length);
    });
}

std::string CGcideReader::EntryText(size_t offset, size_t length) const {
    return dictionary.substr(offset, length);
}

std::vector<std::string> CGcideReader::Keys() const {
    std::vector<std::string> keys;
    for (const auto& item : entries) keys.push_back(item.first);
    return keys;
}

std::vector<std::string> CGcideReader::EntriesOf(const std::string& key) const {
    std::vector<std::string> texts;
    auto found = entries.find(key);
    if (found == entries.end()) return texts;
    for (const auto& span : found->second) {
        std::string entry = EntryText(span.first, span.second);
        // An entry that names this word only as a variant does not define it.
        for (const auto& headword : Headwords(entry)) {
            if (ToLower(headword) == key) {
                texts.push_back(std::move(entry));
                break;
            }
        }
    }
    return texts;
}

std::string CGcideReader::OriginFor(const std::vector<std::string>& texts, uint32_t kind) {
    bool kindSeen = false;
    std::vector<std::string> others;  // etymologies of current entries of other kinds
    for (const auto& entry : texts) {
        const std::vector<GcideSense> senses = Senses(entry, 16);
        // An entry of obsolete senses only is another word of the same spelling.
        if (!senses.empty() && std::none_of(senses.begin(), senses.end(), [](const GcideSense& s) {
                return s.usage == GcideUsage::kCurrent;
            })) {
            continue;
        }
        bool damaged = false;
        std::string origin = Etymology(entry, damaged);
        if (CPartOfSpeechOrder::GroupKind(MarkKind(entry)) != kind) {
            if (!origin.empty()) others.push_back(std::move(origin));
            continue;
        }
        kindSeen = true;
        figures.damaged += damaged;
        if (!origin.empty() || damaged) return origin;
    }
    // No entry of that part of speech: the word's etymology when its other
    // entries agree on one (walk, n. and v.), none when homographs differ.
    const bool agree = !others.empty() &&
                       std::all_of(others.begin(), others.end(), [&](const std::string& origin) {
                           return origin == others.front();
                       });
    return !kindSeen && agree ? others.front() : std::string();
}

void CGcideReader::AddTo(CLexicon& lexicon) {
    for (const auto& item : entries) {
        const std::string& key = item.first;
        const auto& variants = lexicon.VariantsOf(key);
        if (variants.empty()) continue;
        const std::vector<std::string> texts = EntriesOf(key);
        for (const auto& entry : texts) {
            std::vector<size_t> breaks;
            if (syllables.count(key) == 0 && IsSingleLowerWord(key) &&
                std::find(variants.begin(), variants.end(), key) != variants.end() &&
                SyllableBreaks(entry, breaks)) {
                syllables.emplace(key, breaks);
            }
        }
        // The origin of the homograph the page opens with: the entry of the
        // part of speech of its first sense.
        for (const auto& headword : variants) {
            Entry& entry = lexicon.entries[headword];
            const std::vector<uint32_t>& senses =
                entry.senses.empty() ? entry.minorSenses : entry.senses;
            if (!entry.redirect.empty() || senses.empty()) continue;
            const uint32_t kind =
                CPartOfSpeechOrder::GroupKind(lexicon.synsets[senses.front()].kind);
            entry.origin = OriginFor(texts, kind);
            figures.etymologies += !entry.origin.empty();
        }
    }
}

}  // namespace lxdbuild
