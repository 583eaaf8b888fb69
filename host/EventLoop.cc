#include "host/EventLoop.h"

#include <syslog.h>

#include "host/AudioFiles.h"
#include "host/DictionaryAnswers.h"
#include "host/HeadwordCheck.h"
#include "host/HeapTrim.h"
#include "host/ManagedWords.h"
#include "host/MeaningAnswer.h"
#include "host/RequestEvent.h"
#include "host/SearchAnswers.h"

namespace {

bool IsRequest(const SDL_Event& event) {
    return event.type == SDL_USEREVENT && IsRequestCode(static_cast<uint32_t>(event.user.code));
}

void AnswerRequest(const SDL_UserEvent& e) {
    switch (e.code) {
        case kRequestGetIndexWords:
            AnswerGetIndexWords(e);
            break;
        case kRequestGetManagedWords:
            AnswerGetManagedWords(e);
            break;
        case kRequestGetDefinition:
            AnswerGetDefinition(e);
            break;
        case kRequestGetAudioFile:
            AnswerGetAudioFile(e);
            break;
        case kRequestSearchDefinitions:
            AnswerSearchDefinitions(e);
            break;
        case kRequestFindHeadwords:
            AnswerFindHeadwords(e);
            break;
        case kRequestGetSpellingSuggestions:
        case kRequestGetSoundsLike:
        case kRequestGetWildcardWords:
        case kRequestGetRandomWord:
        case kRequestGetCommonWord:
        case kRequestGetWordOfTheDay:
            AnswerSearchRequest(e);
            break;
    }
}

}  // namespace

bool HandleEvent(const SDL_Event& event) {
    syslog(LOG_INFO, "**** SDL_WaitEvent returned with event type %d", event.type);
    if (IsRequest(event)) {
        AnswerRequest(event.user);
        static CHeapTrim heapTrim;
        heapTrim.CountAnswer();
    }
    return event.type != SDL_QUIT;
}

void RunEventLoop() {
    for (;;) {
        SDL_Event event;
        // A failed wait leaves the record undefined: it is never dispatched,
        // and the engine stops rather than spin on a broken queue.
        if (SDL_WaitEvent(&event) == 0) {
            syslog(LOG_ERR, "*** SDL_WaitEvent failed, %s", SDL_GetError());
            return;
        }
        if (!HandleEvent(event)) return;
    }
}

void DiscardQueuedRequests() {
    SDL_Event event;
    while (SDL_PollEvent(&event) == 1) {
        if (IsRequest(event)) FreeRequestCopies(event.user);
    }
}
