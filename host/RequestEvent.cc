#include "host/RequestEvent.h"

#include <cstdlib>

void FreeRequestCopies(const SDL_UserEvent& e) {
    free(e.data1);
    if (e.code == kRequestGetAudioFile || e.code == kRequestGetSpellingSuggestions ||
        e.code == kRequestGetSoundsLike || e.code == kRequestGetWildcardWords) {
        free(e.data2);
    }
}
