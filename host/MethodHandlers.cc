#include "host/MethodHandlers.h"

#include <SDL.h>
#include <syslog.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/AudioFiles.h"
#include "host/ManagedWords.h"
#include "host/MeaningAnswer.h"
#include "host/RequestEvent.h"
#include "platform/PDL.h"

namespace {

std::atomic<long> postWaitLimitMs{5000};

}  // namespace

bool HasArgumentCount(PDL_JSParameters* params, const char* method, int least, int most) {
    int count = PDL_GetNumJSParams(params);
    if (count >= least && count <= most) return true;
    syslog(LOG_INFO, "**** wrong number of parameters for %s", method);
    char message[64];
    snprintf(message, sizeof message, "wrong number of parameters for %s", method);
    PDL_JSException(params, message);
    return false;
}

namespace {

char* CopyArgument(PDL_JSParameters* params, int index) {
    return strdup(PDL_GetJSParamString(params, index));
}

// SDL's queue is small (128 events with sdl12-compat): a burst of requests
// waits for the main thread to make room instead of being dropped.
bool PushWithinLimit(SDL_Event* event) {
    const Uint32 start = SDL_GetTicks();
    while (SDL_PushEvent(event) != 0) {
        if (static_cast<long>(SDL_GetTicks() - start) >= postWaitLimitMs) return false;
        SDL_Delay(1);
    }
    return true;
}

}  // namespace

PDL_bool PostRequest(PDL_JSParameters* params, int code, void* data1, void* data2,
                     bool copiesMade) {
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.user.type = SDL_USEREVENT;
    event.user.code = code;
    event.user.data1 = data1;
    event.user.data2 = data2;
    const char* failure = nullptr;
    if (!copiesMade) {
        failure = "out of memory";
    } else if (!PushWithinLimit(&event)) {
        failure = "request queue full";
    }
    if (failure == nullptr) return 1;
    syslog(LOG_ERR, "*** request %d refused: %s", code, failure);
    FreeRequestCopies(event.user);
    PDL_JSException(params, failure);
    return 0;
}

namespace {

PDL_bool HandleGetIndexWords(PDL_JSParameters* params) {
    if (!HasArgumentCount(params, "GetIndexWords", 4, 4)) return 0;
    uint32_t packed = static_cast<uint32_t>(PDL_GetJSParamInt(params, 1));
    if (PDL_GetJSParamInt(params, 2) != 0) packed |= kListForward;
    if (PDL_GetJSParamInt(params, 3) != 0) packed |= kListExclusive;
    char* anchor = CopyArgument(params, 0);
    return PostRequest(params, kRequestGetIndexWords, anchor,
                       reinterpret_cast<void*>(static_cast<uintptr_t>(packed)), anchor != nullptr);
}

PDL_bool HandleGetManagedWords(PDL_JSParameters* params) {
    if (!HasArgumentCount(params, "GetManagedWords", 1, 1)) return 0;
    char* name = CopyArgument(params, 0);
    return PostRequest(params, kRequestGetManagedWords, name, nullptr, name != nullptr);
}

PDL_bool HandleSetManagedWords(PDL_JSParameters* params) {
    if (!HasArgumentCount(params, "SetManagedWords", 2, 2)) return 0;
    const char* exception = nullptr;
    if (!StoreManagedWords(PDL_GetJSParamString(params, 0), PDL_GetJSParamString(params, 1),
                           &exception)) {
        PDL_JSException(params, exception != nullptr ? exception : "list not stored");
        return 0;
    }
    return 1;
}

PDL_bool HandleGetDefinition(PDL_JSParameters* params) {
    if (!HasArgumentCount(params, "GetDefinition", 1, 1)) return 0;
    char* word = CopyArgument(params, 0);
    return PostRequest(params, kRequestGetDefinition, word, nullptr, word != nullptr);
}

PDL_bool HandleGetAudioFile(PDL_JSParameters* params) {
    if (!HasArgumentCount(params, "GetAudioFile", 1, 2)) return 0;
    bool withDownload = PDL_GetNumJSParams(params) == 2;
    char* word = CopyArgument(params, 0);
    char* download = withDownload ? CopyArgument(params, 1) : nullptr;
    return PostRequest(params, kRequestGetAudioFile, word, download,
                       word != nullptr && (!withDownload || download != nullptr));
}

PDL_bool HandleSearchDefinitions(PDL_JSParameters* params) {
    if (!HasArgumentCount(params, "SearchDefinitions", 2, 2)) return 0;
    const int count = PDL_GetJSParamInt(params, 1);
    if (count < 1 || count > kMaxMeaningResults) {
        PDL_JSException(params, "count out of range for SearchDefinitions (1 to 100)");
        return 0;
    }
    char* text = CopyArgument(params, 0);
    return PostRequest(params, kRequestSearchDefinitions, text,
                       reinterpret_cast<void*>(static_cast<uintptr_t>(count)), text != nullptr);
}

PDL_bool HandleCleanUp(PDL_JSParameters* params) {
    if (!HasArgumentCount(params, "CleanUp", 0, 0)) return 0;
    CleanUpAudioCache();
    return 1;
}

}  // namespace

void RegisterMethods() {
    PDL_RegisterJSHandler("GetIndexWords", HandleGetIndexWords);
    PDL_RegisterJSHandler("GetManagedWords", HandleGetManagedWords);
    PDL_RegisterJSHandler("SetManagedWords", HandleSetManagedWords);
    PDL_RegisterJSHandler("GetDefinition", HandleGetDefinition);
    PDL_RegisterJSHandler("GetAudioFile", HandleGetAudioFile);
    PDL_RegisterJSHandler("CleanUp", HandleCleanUp);
    PDL_RegisterJSHandler("SearchDefinitions", HandleSearchDefinitions);
}

void SetPostWaitLimit(std::chrono::milliseconds limit) {
    postWaitLimitMs = limit.count();
}
