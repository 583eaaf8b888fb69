#include "host/MeaningAnswer.h"

#include <syslog.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <string>

#include "db/Format.h"
#include "host/Engine.h"
#include "host/JsonAnswer.h"
#include "host/RequestEvent.h"
#include "host/SearchAnswers.h"
#include "meaning/MeaningFormat.h"
#include "meaning/MeaningIndex.h"
#include "render/HtmlRender.h"

namespace {

std::unique_ptr<CMeaningIndex> meaningIndex;
std::unique_ptr<CMeaningSearch> meaningSearch;

// Opens the index for the open dictionary unless that has succeeded before;
// a failure leaves nothing behind, so the next request tries again.
CMeaningSearch* EnsureMeaningSearch() {
    if (meaningSearch != nullptr) return meaningSearch.get();
    std::unique_ptr<CMeaningIndex> opened(new CMeaningIndex());
    if (!opened->Open(lxm::kFileName, GetDatabase())) {
        syslog(LOG_ERR, "*** cannot open %s", lxm::kFileName);
        return nullptr;
    }
    meaningSearch.reset(new CMeaningSearch(GetDatabase(), opened.get()));
    meaningIndex = std::move(opened);
    return meaningSearch.get();
}

// Results the filter leaves out are replaced by the next ones: this many more
// are searched for while it is on.
constexpr size_t kFilterReserve = 20;

// The first `count` results whose words `filter` (null: none) lets through.
std::vector<MeaningResult> Search(CMeaningSearch* search, const char* text, size_t count,
                                  bool* cut) {
    const CWordFilter* filter = ActiveWordFilter();
    if (filter == nullptr) return search->Search(text, count, cut);
    std::vector<MeaningResult> results = search->Search(text, count + kFilterReserve, cut);
    // The filter names words, and the offensive senses of words kept for
    // other senses as "word:n".
    results.erase(std::remove_if(results.begin(), results.end(),
                                 [filter](const MeaningResult& result) {
                                     std::string sense =
                                         result.word + ":" + std::to_string(result.sense);
                                     return filter->IsFiltered(result.word.c_str()) ||
                                            filter->IsFiltered(sense.c_str());
                                 }),
                  results.end());
    if (results.size() > count) results.resize(count);
    return results;
}

void WriteSearchError(const char* text, const char* message, FILE* out) {
    fputs("{\"text\":", out);
    WriteJsonString(text, out);
    fputs(",\"errorcode\":\"searcherror\",\"error\":", out);
    WriteJsonString(message, out);
    fputs("}", out);
}

void AnswerWithDatabase(const char* text, size_t count, FILE* out) {
    try {
        CMeaningSearch* search = EnsureMeaningSearch();
        if (search == nullptr) {
            WriteSearchError(
                text, "Lexora could not open its search data. Please reinstall Lexora.", out);
            return;
        }
        bool cut = false;
        const std::vector<MeaningResult> results = Search(search, text, count, &cut);
        WriteMeaningResults(text, results, cut, out);
    } catch (const std::bad_alloc&) {
        // Nothing is written before the results are complete.
        WriteSearchError(text, "Lexora ran out of memory while searching.", out);
    }
}

// The part of speech a result is shown with; a satellite adjective is an
// adjective to the reader. "" when the kind has no name.
const char* PartOfSpeechName(uint32_t kind) {
    return CHtmlRender::GetPartOfSpeechName(
        kind == lxd::kKindAdjectiveSatellite ? lxd::kKindAdjective : kind);
}

// The result's other members, when it has any: ,"also":["…",…]
void WriteAlso(const std::vector<std::string>& also, FILE* out) {
    if (also.empty()) return;
    fputs(",\"also\":[", out);
    for (size_t i = 0; i < also.size(); ++i) {
        if (i != 0) fputc(',', out);
        WriteJsonString(also[i].c_str(), out);
    }
    fputc(']', out);
}

}  // namespace

void WriteMeaningResults(const char* text, const std::vector<MeaningResult>& results, bool cut,
                         FILE* out) {
    fputs("{\"text\":", out);
    WriteJsonString(text, out);
    fputs(",\"results\":[", out);
    for (size_t i = 0; i < results.size(); ++i) {
        fputs(i == 0 ? "\n{\"word\":" : ",\n{\"word\":", out);
        WriteJsonString(results[i].word.c_str(), out);
        fprintf(out, ",\"sense\":%u,\"gloss\":", results[i].sense);
        WriteJsonString(results[i].gloss.c_str(), out);
        const char* pos = PartOfSpeechName(results[i].kind);
        if (*pos != '\0') fprintf(out, ",\"pos\":\"%s\"", pos);
        WriteAlso(results[i].also, out);
        fputs("}", out);
    }
    fputs(cut ? "],\"truncated\":true}" : "]}", out);
}

void AnswerSearchDefinitions(const SDL_UserEvent& e) {
    CAnswer answer;
    const char* text = e.data1 == nullptr ? "" : static_cast<const char*>(e.data1);
    const size_t count = std::min(static_cast<size_t>(reinterpret_cast<uintptr_t>(e.data2)),
                                  static_cast<size_t>(kMaxMeaningResults));
    if (EnsureDatabaseOpen()) {
        AnswerWithDatabase(text, count, answer.Stream());
    } else {
        fputs(kDatabaseErrorAnswer, answer.Stream());
    }
    answer.Deliver("Callback_SearchDefinitions");
    FreeRequestCopies(e);
}

void ReleaseMeaningSearch() {
    meaningSearch.reset();
    meaningIndex.reset();
}
