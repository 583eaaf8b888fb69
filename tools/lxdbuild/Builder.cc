#include "tools/lxdbuild/Builder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <unordered_set>

#include "db/DictWriter.h"
#include "db/Format.h"
#include "tools/lxdbuild/BrillLexicon.h"
#include "tools/lxdbuild/Contractions.h"
#include "tools/lxdbuild/DictionaryLayout.h"
#include "tools/lxdbuild/EverydayList.h"
#include "tools/lxdbuild/EverydayWords.h"
#include "tools/lxdbuild/FormOfNotes.h"
#include "tools/lxdbuild/GcideReader.h"
#include "tools/lxdbuild/HyphenationSource.h"
#include "tools/lxdbuild/InflectionMaker.h"
#include "tools/lxdbuild/IpaTable.h"
#include "tools/lxdbuild/MeaningIndexer.h"
#include "tools/lxdbuild/PartOfSpeechOrder.h"
#include "tools/lxdbuild/PronunciationSource.h"
#include "tools/lxdbuild/SearchDataMaker.h"
#include "tools/lxdbuild/ThesaurusReader.h"
#include "tools/lxdbuild/WordNetReader.h"

namespace lxdbuild {

namespace {

void MakeDirectories(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        std::string prefix = path.substr(0, slash);
        if (!prefix.empty()) {
            mkdir(prefix.c_str(), 0755);
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        throw CBuildError("cannot create the directory " + path);
    }
}

std::string Percent(uint64_t part, uint64_t whole) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", whole == 0 ? 0.0 : 100.0 * part / whole);
    return text;
}

uint64_t InterjectionCount(const CLexicon& lexicon) {
    return std::count_if(lexicon.synsets.begin(), lexicon.synsets.end(), [](const Synset& synset) {
        return synset.kind == lxd::kKindInterjection;
    });
}

}  // namespace

CBuilder::CBuilder(BuildOptions options)
    : options(std::move(options)), sources(this->options.sourceRoot), report(this->options.quiet) {
    if (this->options.imageDir.empty()) {
        this->options.imageDir = this->options.outDir + "/../images/ipa";
    }
}

void CBuilder::ReadWordNet() {
    report.BeginStage("WordNet");
    CWordNetReader(sources, report).Read(lexicon);
    uint64_t senses = 0;
    for (const auto& entry : lexicon.entries) {
        senses += entry.second.senses.size();
    }
    report.Set("WordNet headwords", lexicon.entries.size());
    report.Set("synsets", lexicon.synsets.size());
    report.EndStage(std::to_string(lexicon.entries.size()) + " headwords, " +
                    std::to_string(lexicon.synsets.size()) + " synsets, " + std::to_string(senses) +
                    " senses");
}

void CBuilder::MakeInflections() {
    report.BeginStage("inflections");
    inflections = std::make_unique<CInflectionMaker>(sources, report);
    inflections->Load();
    inflections->Make(lexicon);
    const InflectionFigures& figures = inflections->Figures();
    report.Set("plural forms", figures.plurals);
    report.Set("past tense forms", figures.pastTenses);
    report.Set("past participle forms", figures.pastParticiples);
    report.Set("comparison forms", figures.comparisons);
    report.Set("generated forms rejected", figures.rejected);
    report.Set("irregular forms redirected", figures.redirects);
    report.EndStage(std::to_string(figures.plurals) + " plurals, " +
                    std::to_string(figures.pastTenses) + " past tenses, " +
                    std::to_string(figures.comparisons) + " comparison forms, " +
                    std::to_string(figures.redirects) + " redirects, " +
                    std::to_string(figures.rejected) + " generated forms rejected");
}

void CBuilder::RedirectUnreachableForms() {
    report.BeginStage("unreachable forms");
    uint64_t added = CInflectionMaker::RedirectUnreachableForms(lexicon);
    report.Set("unreachable forms redirected", added);
    report.EndStage(std::to_string(added) + " redirects");
}

void CBuilder::AddFormOfNotes() {
    report.BeginStage("form-of notes");
    CFormOfNotes notes(inflections->WordList(), inflections->IrregularForms());
    notes.AddTo(lexicon);
    const FormOfFigures& figures = notes.Figures();
    report.Set("form-of notes", figures.notes);
    report.Set("forms redirected to their one base", figures.redirects);
    report.Set("forms made headwords of notes (several bases)", figures.formHeadwords);
    report.Set("forms whose lookup reaches one of several bases", figures.oneBaseReached);
    report.EndStage(std::to_string(figures.notes) + " notes, " + std::to_string(figures.redirects) +
                    " redirects, " + std::to_string(figures.formHeadwords) + " headwords of notes");
}

void CBuilder::EndStageWith(const std::vector<std::pair<std::string, uint64_t>>& figures) {
    std::string line;
    for (const auto& figure : figures) {
        report.Set(figure.first, figure.second);
        const std::string name = figure.first.substr(figure.first.find_first_not_of(' '));
        line += (line.empty() ? "" : ", ") + std::to_string(figure.second) + " " + name;
    }
    report.EndStage(line);
}

void CBuilder::AddEverydayList() {
    report.BeginStage("everyday list");
    CEverydayList list;
    list.AddTo(lexicon);
    const EverydayListFigures& figures = list.Figures();
    listInterjections = figures.interjections;
    EndStageWith({{"everyday list words", figures.words},
                  {"  new headwords", figures.newHeadwords},
                  {"  interjections", figures.interjections},
                  {"  shown first", figures.shownFirst}});
}

void CBuilder::AddContractions() {
    report.BeginStage("contractions");
    CContractions contractions;
    contractions.AddTo(lexicon);
    const ContractionFigures& figures = contractions.Figures();
    EndStageWith({{"contractions", figures.contractions},
                  {"  readings", figures.readings},
                  {"  readings left out (a word is no headword)", figures.readingsLeftOut}});
}

void CBuilder::AddPronunciations() {
    report.BeginStage("pronunciations");
    CPronunciationSource source(sources, report, options.useEspeak);
    source.Load();
    source.AddTo(lexicon);
    const PronunciationFigures& figures = source.Figures();
    uint64_t pronounced = figures.fromList + figures.fromSpeech + figures.mixed;
    report.Set("pronunciations", std::to_string(pronounced) + " (" +
                                     Percent(pronounced, lexicon.entries.size()) +
                                     " of all headwords, redirects included)");
    report.Set("  from the CMU list", figures.fromList);
    report.Set("  from eSpeak NG", figures.fromSpeech);
    report.Set("  phrases from both", figures.mixed);
    report.Set("headwords without a pronunciation", figures.without);
    report.Set("  a word eSpeak NG cannot pronounce", figures.silent);
    report.Set("  a word whose eSpeak NG phonemes do not map", figures.unmapped);
    report.EndStage(std::to_string(figures.fromList) + " from the CMU list, " +
                    std::to_string(figures.fromSpeech) + " from eSpeak NG, " +
                    std::to_string(figures.mixed) + " from both, " +
                    std::to_string(figures.without) + " without");
}

void CBuilder::ReadHyphenation() {
    report.BeginStage("hyphenation");
    std::string path =
        sources.Require(CHyphenationSource::kPackage, "usr/share/hyphen/hyph_en_US.dic");
    CHyphenationSource source(report);
    source.ReadPatterns(CSourceFiles::ReadAll(path), path);
    for (const auto& word : syllables) {
        source.AddSyllables(word.first, word.second);
    }
    hyphenPatterns = source.PatternKeys();
    hyphenExceptions = source.ExceptionKeys();
    const HyphenationFigures& figures = source.Figures();
    report.Set("hyphenation patterns kept", figures.patternsKept);
    report.Set("hyphenation patterns dropped", figures.patternsDropped);
    report.Set("hyphenation pattern keys", hyphenPatterns.size());
    report.Set("hyphenation exceptions (GCIDE syllables)", hyphenExceptions.size());
    report.EndStage(std::to_string(figures.patternsKept) + " patterns kept, " +
                    std::to_string(figures.patternsDropped) + " dropped, " +
                    std::to_string(hyphenPatterns.size()) + " keys, " +
                    std::to_string(hyphenExceptions.size()) + " exceptions");
}

void CBuilder::AddCompanions() {
    report.BeginStage("thesaurus");
    std::string path =
        sources.Require(CThesaurusReader::kPackage, "usr/share/mythes/th_en_US_v2.dat");
    CThesaurusReader thesaurus(report);
    thesaurus.Read(CSourceFiles::ReadAll(path), path, lexicon);
    report.Set("thesaurus lines", thesaurus.LineCount());
    report.EndStage(std::to_string(thesaurus.LineCount()) + " lines");

    report.BeginStage("GCIDE");
    std::string indexPath = sources.Require(CGcideReader::kPackage, "usr/share/dictd/gcide.index");
    std::string dictionaryPath =
        sources.Require(CGcideReader::kPackage, "usr/share/dictd/gcide.dict.dz");
    gcide = std::make_unique<CGcideReader>(report);
    gcide->Read(CSourceFiles::ReadAll(indexPath), indexPath, CSourceFiles::ReadAll(dictionaryPath));
    std::unordered_set<std::string> everydayWords;
    CSourceFiles::ForEachLine(CSourceFiles::ReadAll(sources.Require(CEverydayWords::kListPackage,
                                                                    CEverydayWords::kListPath)),
                              [&](const std::string& line, long) { everydayWords.insert(line); });
    CEverydayWords everyday(std::move(everydayWords), inflections->IrregularForms());
    everyday.AddTo(*gcide, lexicon);
    gcideGlosses.Collect(*gcide, lexicon);
    const EverydayFigures& words = everyday.Figures();
    report.Set("GCIDE senses", words.senses);
    report.Set("  of words WordNet lacks", words.words);
    report.Set("  of minor parts of speech", words.minorSenses);
    report.Set("  auxiliary senses", words.auxiliarySenses);
    report.Set("  interjection senses", InterjectionCount(lexicon) - listInterjections);
    report.Set("GCIDE definitions left out (damaged markup)", words.damaged);
    report.Set("GCIDE entries of wanted words without a mapped mark", words.unmarked);
    ReportCleaning(words.cleaning);
    report.EndStage(std::to_string(words.senses) + " senses (" + std::to_string(words.words) +
                    " new words), " + std::to_string(words.damaged) + " damaged definitions");
}

void CBuilder::ReportCleaning(const GcideSenseFigures& figures) {
    report.Set("GCIDE senses looked at, written current", figures.kept);
    for (size_t usage = 1; usage < kGcideUsages; ++usage) {
        const std::string name = CGcideSenseText::UsageName(static_cast<GcideUsage>(usage));
        report.Set("  " + name + ", dropped (the word has current senses)", figures.dropped[usage]);
        report.Set("  " + name + ", written labelled (the word has no other)",
                   figures.labelled[usage]);
    }
    report.Set("  empty, left out", figures.empty);
    report.Set("  garbled markup, left out", figures.garbled);
    report.Set("  cross-references, left out", figures.crossReferences);
    report.Set("  unused (another entry of the part of speech, or past four)", figures.unused);
}

void CBuilder::OrderPartsOfSpeech() {
    report.BeginStage("part-of-speech order");
    const std::string tagsPath = CSourceFiles::RequireNpm(
        options.nodeModules, CBrillLexicon::kPackage, CBrillLexicon::kTagsPath);
    const std::string wordsPath = CSourceFiles::RequireNpm(
        options.nodeModules, CBrillLexicon::kPackage, CBrillLexicon::kWordsPath);
    CBrillLexicon brill;
    brill.Read(CSourceFiles::ReadAll(tagsPath), CSourceFiles::ReadAll(wordsPath), wordsPath,
               report);
    CPartOfSpeechOrder order(brill);
    order.Apply(lexicon);
    const OrderFigures& figures = order.Figures();
    report.Set("Brill lexicon words", brill.Size());
    report.Set("headwords ordered by their Brill tags", figures.byTags);
    report.Set("headwords ordered by WordNet's tag counts", figures.byCounts);
    report.Set("headwords whose first part of speech moved", figures.firstMoved);
    report.EndStage(std::to_string(figures.byTags) + " by tags, " +
                    std::to_string(figures.byCounts) + " by counts, " +
                    std::to_string(figures.firstMoved) + " with another first part of speech");
}

void CBuilder::AddOrigins() {
    report.BeginStage("origins");
    gcide->AddTo(lexicon);
    syllables = gcide->Syllables();
    const GcideFigures& figures = gcide->Figures();
    report.Set("etymologies", figures.etymologies);
    report.Set("etymologies left out (damaged)", figures.damaged);
    report.EndStage(std::to_string(figures.etymologies) + " etymologies, " +
                    std::to_string(figures.damaged) + " damaged ones left out");
}

void CBuilder::WriteIpaTable() {
    report.BeginStage("IPA table");
    CIpaTable table;
    for (const auto& entry : lexicon.entries) {
        table.AddPronunciation(entry.second.pronunciation);
    }
    MakeDirectories(options.imageDir);
    table.Write(options.outDir + "/IPA_to_IMG.txt", options.imageDir);
    report.Set("IPA table rows", table.Rows().size());
    report.EndStage(std::to_string(table.Rows().size()) + " symbols, images in " +
                    options.imageDir);
}

void CBuilder::WriteDictionary() {
    report.BeginStage("layout and compression");
    CDictWriter writer;
    CDictionaryLayout layout(writer);
    if (!layout.Lay(lexicon)) {
        throw CBuildError("the dictionary cannot be laid out: " + layout.Error());
    }
    for (const auto& refused : layout.Refused()) {
        report.Warn("headword refused: " + refused);
    }
    if (!hyphenPatterns.empty() && !writer.SetHyphenPatterns(hyphenPatterns)) {
        throw CBuildError("hyphenation patterns refused: " + writer.GetError());
    }
    if (!hyphenExceptions.empty() && !writer.SetHyphenExceptions(hyphenExceptions)) {
        throw CBuildError("hyphenation exceptions refused: " + writer.GetError());
    }
    std::vector<unsigned char> file;
    if (!writer.Finish(&file)) {
        throw CBuildError("the dictionary file cannot be finished: " + writer.GetError());
    }
    MakeDirectories(options.outDir);
    std::string path = options.outDir + "/wordnet.lxd";
    std::string temporary = path + ".tmp";
    FILE* out = std::fopen(temporary.c_str(), "wb");
    bool written = out != nullptr && std::fwrite(file.data(), 1, file.size(), out) == file.size();
    if (out != nullptr) {
        written = std::fclose(out) == 0 && written;
    }
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw CBuildError("cannot write " + path);
    }
    synsetPositions = layout.SynsetPositions();
    const LayoutFigures& figures = layout.Figures();
    report.Set("headwords", figures.headwords);
    report.Set("headwords refused by the format", figures.headwordsRefused);
    report.Set("senses (references)", figures.senses);
    report.Set("sense records", figures.senseRecords);
    report.Set("links", figures.links);
    report.Set("similar-to links (all stored)", figures.similarToLinks);
    report.Set("redirects", figures.redirects);
    report.Set("distinct one-line records", figures.lineRecords);
    report.Set("one-line records refused by the format", figures.linesRefused);
    report.Set("record stream bytes", figures.streamLength);
    report.Set("file bytes", file.size());
    report.EndStage(std::to_string(figures.headwords) + " headwords, " +
                    std::to_string(file.size()) + " bytes written to " + path);
}

void CBuilder::WriteMeaningIndex() {
    report.BeginStage("meaning index");
    const CSearchDataMaker lists(sources, report);
    const WordTiers tiers{lists.ReadWordList("usr/share/dict/american-english-small"),
                          lists.ReadWordList("usr/share/dict/american-english")};
    CMeaningIndexer indexer(lexicon, synsetPositions, gcideGlosses, tiers);
    if (!indexer.Write(options.outDir + "/wordnet.lxd", options.outDir + "/meaning.lxm")) {
        throw CBuildError("the meaning index cannot be written: " + indexer.Error());
    }
    const MeaningFigures& figures = indexer.Figures();
    report.Set("meaning index senses", figures.senses);
    report.Set("meaning index senses no headword opens", figures.unreachable);
    report.Set("meaning index GCIDE definitions", gcideGlosses.Count());
    report.Set("meaning index terms", figures.terms);
    report.Set("meaning index term vectors", figures.vectors);
    report.Set("meaning index bytes", figures.bytes);
    report.EndStage(std::to_string(figures.senses) + " senses, " + std::to_string(figures.terms) +
                    " terms, " + std::to_string(figures.bytes) + " bytes");
}

void CBuilder::WriteSearchData() {
    report.BeginStage("search data");
    CSearchDataMaker maker(sources, report);
    maker.Write(lexicon, options.outDir + "/wordnet.lxd", options.outDir + "/search.lxs");
    const SearchFigures& figures = maker.Figures();
    report.Set("search data words", figures.words);
    report.Set("  with tag counts", figures.tagged);
    report.Set("  filtered (offensive)", figures.filtered);
    report.Set("    for a sense of their own", figures.offensive.words);
    report.Set("      (offensive synset members)", figures.offensive.senses);
    report.Set("    as forms", figures.offensive.forms);
    report.Set("    as compounds", figures.offensive.compounds);
    report.Set("  everyday words kept for an inoffensive sense", figures.offensive.kept);
    report.Set("    their offensive senses listed", figures.offensive.senseReferences);
    report.Set("search data bytes", figures.bytes);
    report.EndStage(std::to_string(figures.words) + " words, " + std::to_string(figures.filtered) +
                    " filtered, " + std::to_string(figures.bytes) + " bytes");
}

int CBuilder::Run() {
    try {
        ReadWordNet();
        MakeInflections();
        AddEverydayList();
        AddCompanions();
        OrderPartsOfSpeech();
        AddOrigins();
        RedirectUnreachableForms();
        AddFormOfNotes();
        AddContractions();
        AddPronunciations();
        ReadHyphenation();
        WriteDictionary();
        WriteMeaningIndex();
        WriteSearchData();
        WriteIpaTable();
    } catch (const CBuildError& failure) {
        std::fprintf(stderr, "lxdbuild: %s\n", failure.what());
        return 1;
    }
    report.PrintSummary();
    return 0;
}

}  // namespace lxdbuild
