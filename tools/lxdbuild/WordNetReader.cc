#include "tools/lxdbuild/WordNetReader.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "db/Format.h"

namespace lxdbuild {

namespace {

constexpr size_t kMaxUsageSamples = 3;

char FileOfPos(char pos) {
    return pos == 's' ? 'a' : pos;
}

uint32_t SenseKind(char pos) {
    switch (pos) {
        case 'n':
            return lxd::kKindNoun;
        case 'v':
            return lxd::kKindVerb;
        case 'a':
            return lxd::kKindAdjective;
        case 's':
            return lxd::kKindAdjectiveSatellite;
        default:
            return lxd::kKindAdverb;
    }
}

bool ParseNumber(const std::string& text, int base, uint32_t& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    unsigned long parsed = std::strtoul(text.c_str(), &end, base);
    if (*end != '\0' || parsed > 0xFFFFFFFFul) {
        return false;
    }
    value = static_cast<uint32_t>(parsed);
    return true;
}

void Trim(std::string& text) {
    size_t start = text.find_first_not_of(' ');
    size_t end = text.find_last_not_of(' ');
    text = start == std::string::npos ? std::string() : text.substr(start, end - start + 1);
}

std::string ReplaceDollars(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '$') {
            out += "\xEF\xBC\x84";
        } else {
            out += c;
        }
    }
    return out;
}

// The data-file word without its adjective marker, still with '_'.
std::string StripMarker(const std::string& word) {
    for (const char* marker : {"(a)", "(p)", "(ip)"}) {
        size_t length = std::char_traits<char>::length(marker);
        if (word.size() > length && word.compare(word.size() - length, length, marker) == 0) {
            return word.substr(0, word.size() - length);
        }
    }
    return word;
}

}  // namespace

CWordNetReader::CWordNetReader(const CSourceFiles& sources, CBuildReport& report)
    : sources(sources), report(report) {}

std::string CWordNetReader::ShowMember(const std::string& word) {
    std::string shown = StripMarker(word);
    std::replace(shown.begin(), shown.end(), '_', ' ');
    return shown;
}

std::string CWordNetReader::ConvertGloss(const std::string& gloss) {
    std::string text = gloss;
    Trim(text);
    size_t samplesStart = text.find("; \"");
    size_t definitionEnd = samplesStart;
    if (!text.empty() && text[0] == '"') {
        samplesStart = 0;
        definitionEnd = 0;
    }
    std::string definition = text.substr(0, definitionEnd);
    Trim(definition);
    std::string out = ReplaceDollars(definition);
    if (samplesStart == std::string::npos) {
        return out;
    }
    std::string rest = text.substr(samplesStart == 0 ? 0 : samplesStart + 2);
    size_t start = 0;
    while (start < rest.size()) {
        size_t next = rest.find("; \"", start + 1);
        std::string sample =
            rest.substr(start, next == std::string::npos ? std::string::npos : next - start);
        if (!sample.empty() && sample[0] == '"') {
            sample.erase(0, 1);
        }
        size_t closing = sample.rfind('"');
        if (closing != std::string::npos) {
            sample.erase(closing, 1);
        }
        Trim(sample);
        if (!sample.empty()) {
            out += '$';
            out += ReplaceDollars(sample);
        }
        if (next == std::string::npos) {
            break;
        }
        start = next + 2;
    }
    return out;
}

uint32_t CWordNetReader::LinkKind(const std::string& symbol, char pos) {
    static const std::map<std::string, uint32_t> kinds = {
        {"!", 136},  {"@", 140},  {"@i", 140}, {"~", 144},  {"~i", 144}, {"+", 148},  {"<", 156},
        {";c", 164}, {"-c", 168}, {";r", 172}, {"-r", 176}, {";u", 180}, {"-u", 184}, {"*", 188},
        {">", 192},  {"$", 196},  {"^", 200},  {"&", 204},  {"#m", 208}, {"#s", 212}, {"#p", 216},
        {"%m", 220}, {"%s", 224}, {"%p", 228}, {"=", 232},
    };
    if (symbol == "\\") {
        return pos == 'r' ? 152 : 160;  // derived from (adverbs), pertainym (adjectives)
    }
    auto found = kinds.find(symbol);
    return found == kinds.end() ? 0 : found->second;
}

bool CWordNetReader::ParseDataLine(const std::string& line, char file, Synset& synset,
                                   std::vector<RawPointer>& pointers, uint32_t& offset) {
    size_t bar = line.find(" | ");
    std::istringstream fields(line.substr(0, bar));
    std::string token, lexFile, type;
    uint32_t count = 0;
    if (!(fields >> token) || !ParseNumber(token, 10, offset) || !(fields >> lexFile >> type) ||
        type.size() != 1 || FileOfPos(type[0]) != file || !(fields >> token) ||
        !ParseNumber(token, 16, count) || count == 0 || count > 255) {
        return false;
    }
    synset.pos = type[0];
    synset.kind = SenseKind(synset.pos);
    if (!ParseNumber(lexFile, 10, synset.lexFile)) {
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        std::string word, lexId;
        if (!(fields >> word >> lexId)) {
            return false;
        }
        synset.members.push_back(word);
    }
    if (!(fields >> token) || !ParseNumber(token, 10, count)) {
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        RawPointer pointer;
        std::string target, targetPos, sourceTarget;
        uint32_t members = 0;
        if (!(fields >> pointer.symbol >> target >> targetPos >> sourceTarget) ||
            !ParseNumber(target, 10, pointer.targetOffset) || targetPos.size() != 1 ||
            sourceTarget.size() != 4 || !ParseNumber(sourceTarget, 16, members)) {
            return false;
        }
        pointer.targetFile = FileOfPos(targetPos[0]);
        pointer.source = static_cast<uint8_t>(members >> 8);
        pointer.target = static_cast<uint8_t>(members & 0xFF);
        pointers.push_back(pointer);
    }
    if (bar != std::string::npos) {
        synset.gloss = ConvertGloss(line.substr(bar + 3));
    }
    return true;
}

void CWordNetReader::ReadDataFile(CLexicon& lexicon, const std::string& name, char file) {
    std::string path = sources.Require(kPackage, "usr/share/wordnet/data." + name);
    std::string text = CSourceFiles::ReadAll(path);
    dataPaths.push_back(path);
    const std::string* stablePath = &dataPaths.back();
    CSourceFiles::ForEachLine(text, [&](const std::string& line, long number) {
        if (line.empty() || line[0] == ' ') {
            return;  // licence header
        }
        Synset synset;
        std::vector<RawPointer> pointers;
        uint32_t offset = 0;
        if (!ParseDataLine(line, file, synset, pointers, offset)) {
            report.Malformed(path, number, "not a synset line");
            return;
        }
        uint32_t index = static_cast<uint32_t>(lexicon.synsets.size());
        synsetAt[{file, offset}] = index;
        for (auto& pointer : pointers) {
            pointer.synset = index;
            pointer.path = stablePath;
            pointer.line = number;
            rawPointers.push_back(pointer);
        }
        lexicon.synsets.push_back(std::move(synset));
    });
}

void CWordNetReader::ResolvePointers(CLexicon& lexicon) {
    for (const auto& pointer : rawPointers) {
        Synset& synset = lexicon.synsets[pointer.synset];
        auto target = synsetAt.find({pointer.targetFile, pointer.targetOffset});
        uint32_t kind = LinkKind(pointer.symbol, synset.pos);
        if (target == synsetAt.end() || kind == 0 || pointer.source > synset.members.size() ||
            pointer.target > lexicon.synsets[target->second].members.size()) {
            report.Malformed(*pointer.path, pointer.line,
                             "pointer " + pointer.symbol + " " +
                                 std::to_string(pointer.targetOffset) + " cannot be resolved");
            continue;
        }
        synset.links.push_back({kind, target->second, pointer.source, pointer.target});
    }
    rawPointers.clear();
}

void CWordNetReader::ReadIndexFile(CLexicon& lexicon, const std::string& name, char file) {
    std::string path = sources.Require(kPackage, "usr/share/wordnet/index." + name);
    std::string text = CSourceFiles::ReadAll(path);
    CSourceFiles::ForEachLine(text, [&](const std::string& line, long number) {
        if (line.empty() || line[0] == ' ') {
            return;
        }
        std::istringstream fields(line);
        std::string lemma, pos, token;
        uint32_t synsetCount = 0, pointerCount = 0;
        bool good = static_cast<bool>(fields >> lemma >> pos >> token) &&
                    ParseNumber(token, 10, synsetCount) && static_cast<bool>(fields >> token) &&
                    ParseNumber(token, 10, pointerCount);
        for (uint32_t i = 0; good && i < pointerCount; ++i) {
            good = static_cast<bool>(fields >> token);
        }
        good = good && static_cast<bool>(fields >> token >> token);  // sense and tagged counts
        std::replace(lemma.begin(), lemma.end(), '_', ' ');
        std::vector<uint32_t> senses;
        for (uint32_t i = 0; good && i < synsetCount; ++i) {
            uint32_t offset = 0;
            auto found = synsetAt.end();
            good = static_cast<bool>(fields >> token) && ParseNumber(token, 10, offset) &&
                   (found = synsetAt.find({file, offset})) != synsetAt.end();
            if (good) {
                senses.push_back(found->second);
            }
        }
        if (!good || senses.empty()) {
            report.Malformed(path, number, "not an index line");
            return;
        }
        senseOrder[{lemma, file}] = senses;
        // Head adjectives before satellites, each in WordNet's sense order,
        // so that each forms one heading.
        std::stable_partition(senses.begin(), senses.end(),
                              [&](uint32_t synset) { return lexicon.synsets[synset].pos != 's'; });
        for (uint32_t synset : senses) {
            const Synset& s = lexicon.synsets[synset];
            auto member = std::find_if(s.members.begin(), s.members.end(),
                                       [&](const std::string& w) { return ToLower(w) == lemma; });
            if (member == s.members.end()) {
                report.Malformed(path, number, "lemma " + lemma + " is not a member of its synset");
                continue;
            }
            lexicon.entries[*member].senses.push_back(synset);
        }
    });
}

void CWordNetReader::ReadUsageSamples(CLexicon& lexicon) {
    std::string sentencesPath = sources.Require(kPackage, "usr/share/wordnet/sents.vrb");
    std::string indexPath = sources.Require(kPackage, "usr/share/wordnet/sentidx.vrb");
    std::map<uint32_t, std::string> sentences;
    CSourceFiles::ForEachLine(
        CSourceFiles::ReadAll(sentencesPath), [&](const std::string& line, long number) {
            size_t space = line.find(' ');
            uint32_t id = 0;
            if (space == std::string::npos || !ParseNumber(line.substr(0, space), 10, id) ||
                line.find("%s") == std::string::npos) {
                report.Malformed(sentencesPath, number, "not a numbered sentence frame");
                return;
            }
            sentences[id] = line.substr(space + 1);
        });
    CSourceFiles::ForEachLine(CSourceFiles::ReadAll(indexPath), [&](const std::string& line,
                                                                    long number) {
        size_t percent = line.find('%');
        size_t space = line.find(' ');
        if (percent == std::string::npos || space == std::string::npos || percent > space) {
            report.Malformed(indexPath, number, "not a sense key with frame numbers");
            return;
        }
        std::string lemma = line.substr(0, percent);
        std::replace(lemma.begin(), lemma.end(), '_', ' ');
        std::istringstream ids(line.substr(space + 1));
        std::string id;
        while (std::getline(ids, id, ',')) {
            uint32_t value = 0;
            auto sentence = sentences.end();
            if (!ParseNumber(id, 10, value) ||
                (sentence = sentences.find(value)) == sentences.end()) {
                report.Malformed(indexPath, number, "unknown frame " + id);
                continue;
            }
            for (const auto& headword : lexicon.VariantsOf(lemma)) {
                Entry& entry = lexicon.entries[headword];
                auto& samples = entry.usageSamples;
                bool isVerb =
                    std::any_of(entry.senses.begin(), entry.senses.end(),
                                [&](uint32_t s) { return lexicon.synsets[s].pos == 'v'; });
                if (isVerb && samples.size() < kMaxUsageSamples &&
                    std::find(samples.begin(), samples.end(), sentence->second) == samples.end()) {
                    samples.push_back(sentence->second);
                }
            }
        }
    });
}

void CWordNetReader::ReadTagCounts(CLexicon& lexicon) {
    for (auto& synset : lexicon.synsets) {
        synset.tagCounts.assign(synset.members.size(), 0);
    }
    // Optional: without the counts every sense is equally common.
    std::string path = sources.Find("usr/share/wordnet/cntlist.rev");
    if (path.empty()) {
        return;
    }
    static const char kFileOfType[] = " nvara";  // sense key synset types 1..5
    CSourceFiles::ForEachLine(
        CSourceFiles::ReadAll(path), [&](const std::string& line, long number) {
            std::istringstream fields(line);
            std::string key, senseNumber, count;
            uint32_t sense = 0, tags = 0, type = 0;
            size_t percent = line.find('%');
            if (!(fields >> key >> senseNumber >> count) || percent == std::string::npos ||
                percent + 1 >= key.size() || !ParseNumber(senseNumber, 10, sense) ||
                !ParseNumber(count, 10, tags) ||
                !ParseNumber(key.substr(percent + 1, 1), 10, type) || type < 1 || type > 5) {
                report.Malformed(path, number, "not a sense key with counts");
                return;
            }
            std::string lemma = key.substr(0, percent);
            std::replace(lemma.begin(), lemma.end(), '_', ' ');
            auto order = senseOrder.find({lemma, kFileOfType[type]});
            if (order == senseOrder.end() || sense == 0 || sense > order->second.size()) {
                return;  // a sense of a lemma this build does not hold
            }
            Synset& synset = lexicon.synsets[order->second[sense - 1]];
            for (size_t i = 0; i < synset.members.size(); ++i) {
                if (ToLower(synset.members[i]) == lemma) {
                    synset.tagCounts[i] += tags;
                }
            }
        });
}

void CWordNetReader::Read(CLexicon& lexicon) {
    const std::pair<const char*, char> files[] = {
        {"noun", 'n'}, {"verb", 'v'}, {"adj", 'a'}, {"adv", 'r'}};
    for (const auto& file : files) {
        ReadDataFile(lexicon, file.first, file.second);
    }
    ResolvePointers(lexicon);
    for (auto& synset : lexicon.synsets) {
        for (auto& member : synset.members) {
            member = ShowMember(member);
        }
    }
    for (const auto& file : files) {
        ReadIndexFile(lexicon, file.first, file.second);
    }
    lexicon.IndexVariants();
    ReadUsageSamples(lexicon);
    ReadTagCounts(lexicon);
    synsetAt.clear();
    senseOrder.clear();
}

}  // namespace lxdbuild
