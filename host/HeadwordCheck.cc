#include "host/HeadwordCheck.h"

#include <cstdlib>
#include <cstring>

#include "host/DictionaryAnswers.h"
#include "host/Engine.h"
#include "host/JsonAnswer.h"
#include "host/MethodHandlers.h"
#include "host/RequestEvent.h"
#include "platform/PDL.h"

namespace {

PDL_bool HandleFindHeadwords(PDL_JSParameters* params) {
    if (!HasArgumentCount(params, "FindHeadwords", 1, 1)) return 0;
    char* text = strdup(PDL_GetJSParamString(params, 0));
    return PostRequest(params, kRequestFindHeadwords, text, nullptr, text != nullptr);
}

// Writes the headword of the line [begin, end) as a JSON string ("" when
// the line names none or does not fit the lookup's buffer).
void WriteLineHeadword(const char* begin, const char* end, FILE* out) {
    if (end > begin && end[-1] == '\r') --end;
    const size_t length = static_cast<size_t>(end - begin);
    char line[kDefinitionWordSize];
    char headword[kDefinitionWordSize];
    uint32_t position = 0;
    if (length == 0 || length >= sizeof line) {
        fputs("\"\"", out);
        return;
    }
    memcpy(line, begin, length);
    line[length] = '\0';
    WriteJsonString(FindDefinitionWord(line, headword, &position) ? headword : "", out);
}

}  // namespace

void RegisterHeadwordCheck() {
    PDL_RegisterJSHandler("FindHeadwords", HandleFindHeadwords);
}

void WriteHeadwords(const char* text, FILE* out) {
    if (!EnsureDatabaseOpen()) {
        fputs(kDatabaseErrorAnswer, out);
        return;
    }
    fputs("{\"words\":[", out);
    const char* begin = text;
    for (size_t line = 0; line < kMaxHeadwordLines; ++line) {
        const char* end = strchr(begin, '\n');
        if (end == nullptr) end = begin + strlen(begin);
        if (line > 0) fputc(',', out);
        WriteLineHeadword(begin, end, out);
        if (*end == '\0') break;
        begin = end + 1;
    }
    fputs("]}", out);
}

void AnswerFindHeadwords(const SDL_UserEvent& e) {
    CAnswer answer;
    WriteHeadwords(e.data1 == nullptr ? "" : static_cast<const char*>(e.data1), answer.Stream());
    answer.Deliver("Callback_FindHeadwords");
    FreeRequestCopies(e);
}
