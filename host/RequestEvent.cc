#include "host/RequestEvent.h"

#include <cstdlib>

void FreeRequestCopies(const SDL_UserEvent& e) {
    free(e.data1);
    if (e.code == kRequestGetAudioFile) free(e.data2);
}
