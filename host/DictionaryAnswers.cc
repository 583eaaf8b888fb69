#include "host/DictionaryAnswers.h"

#include <cstdlib>
#include <cstring>

#include "db/IndexListing.h"
#include "db/Lookup.h"
#include "host/Engine.h"
#include "host/JsonAnswer.h"
#include "host/RequestEvent.h"
#include "render/RenderManager.h"
#include "render/WordDefinition.h"

namespace {

const char* Text(void* data) {
    return data == nullptr ? "" : static_cast<const char*>(data);
}

void WriteIndexWords(const char* anchor, uint32_t packed, FILE* out) {
    bool forward = (packed & kListForward) != 0;
    bool exclusive = (packed & kListExclusive) != 0;
    fputs("{\"anchor\":", out);
    WriteJsonString(anchor, out);
    fputs(forward ? ",\"forward\":\"1\",\"words\":[\n" : ",\"forward\":\"0\",\"words\":[\n", out);
    IndexWordSink sink{true, static_cast<int32_t>(packed & kListCountMask), out};
    ListIndexWords(GetDatabase(), AddIndexWord, &sink, anchor, forward, exclusive);
    fputs("]}", out);
}

void WriteMember(const char* name, const char* html, FILE* out) {
    fprintf(out, ",\n\"%s\":", name);
    WriteJsonString(html, out);
}

void WriteDefinition(const char* word, const CWordDefinition& definition, FILE* out) {
    fputs("{\"word\":", out);
    WriteJsonString(word, out);
    if (definition.IsSingleSynset()) {
        fprintf(out, ",\n\"singleSynset\":\"%d\"", definition.GetSingleSynset());
    }
    if (definition.HasDictionary()) WriteMember("dictionary", definition.GetDictionaryHtml(), out);
    if (definition.HasLinks()) WriteMember("links", definition.GetLinksHtml(), out);
    if (definition.HasThesaurus()) WriteMember("thesaurus", definition.GetThesaurusHtml(), out);
    fputs("}", out);
}

}  // namespace

bool FindDefinitionWord(const char* word, char* buffer, uint32_t* position) {
    const char* sense = strchr(word, ':');
    size_t stemLength = sense == nullptr ? strlen(word) : static_cast<size_t>(sense - word);
    if (stemLength >= kDefinitionWordSize) return false;
    memcpy(buffer, word, stemLength);
    buffer[stemLength] = '\0';
    *position = 0;
    if (!LookupWord(GetDatabase(), buffer, kDefinitionWordSize, position, true)) return false;
    if (sense == nullptr) return true;
    size_t headwordLength = strlen(buffer);
    size_t senseLength = strlen(sense);
    if (headwordLength + senseLength >= kDefinitionWordSize) return false;
    memcpy(buffer + headwordLength, sense, senseLength + 1);
    return true;
}

int32_t AddIndexWord(void* context, const char* word, uint32_t) {
    IndexWordSink* sink = static_cast<IndexWordSink*>(context);
    if (sink->first) {
        sink->first = false;
    } else {
        fputc(',', sink->out);
    }
    WriteJsonString(word, sink->out);
    --sink->remaining;
    return sink->remaining > 0 ? 1 : 0;
}

void WriteNoDefinition(const char* word, FILE* out) {
    fputs("{\"word\":", out);
    WriteJsonString(word, out);
    fputs(",\"errorcode\":\"nodefinition\",\"error\":\"Lexora could not find definitions for \\\"",
          out);
    WriteJsonStringBody(word, out);
    fputs("\\\".\"}", out);
}

void AnswerGetIndexWords(const SDL_UserEvent& e) {
    CAnswer answer;
    if (EnsureDatabaseOpen()) {
        WriteIndexWords(Text(e.data1), PackedListing(e), answer.Stream());
    } else {
        fputs(kDatabaseErrorAnswer, answer.Stream());
    }
    answer.Deliver("Callback_GetIndexWords");
    FreeRequestCopies(e);
}

bool WriteDefinitionAnswer(const char* word, FILE* out) {
    char buffer[kDefinitionWordSize];
    uint32_t position = 0;
    if (!EnsureDatabaseOpen()) {
        fputs(kDatabaseErrorAnswer, out);
        return false;
    }
    if (!FindDefinitionWord(word, buffer, &position)) {
        WriteNoDefinition(word, out);
        return false;
    }
    CRenderManager* manager = GetRenderManager();
    manager->RenderWord(buffer, position);
    WriteDefinition(buffer, *manager->GetWordDefinition(), out);
    return true;
}

void AnswerGetDefinition(const SDL_UserEvent& e) {
    CAnswer answer;
    WriteDefinitionAnswer(Text(e.data1), answer.Stream());
    answer.Deliver("Callback_GetDefinition");
    FreeRequestCopies(e);
}
