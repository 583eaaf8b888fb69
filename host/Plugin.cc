#include "host/Plugin.h"

#include <SDL.h>
#include <syslog.h>

#include <cstdio>

#include "host/Engine.h"
#include "host/EventLoop.h"
#include "host/HeadwordCheck.h"
#include "host/MethodHandlers.h"
#include "host/SearchMethods.h"
#include "platform/PDL.h"

int RunPlugin() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        printf("Could not init SDL: %s\n", SDL_GetError());
        return 1;
    }
    // Without its bridge (its port held by another engine) the engine could
    // answer nobody; the library has said why on standard error.
    if (PDL_Init(0) != PDL_NOERROR) {
        SDL_Quit();
        return 1;
    }
    RegisterMethods();
    RegisterSearchMethods();
    RegisterHeadwordCheck();
    PDL_JSRegistrationComplete();
    PDL_CallJS("ready", nullptr, 0);
    syslog(LOG_INFO,
           "====================================== LXCORE PLUGIN LOADED "
           "===================================");

    RunEventLoop();

    ReleaseEngine();
    // Room in the queue lets a call still waiting to post finish, so the
    // library can stop at once.
    DiscardQueuedRequests();
    PDL_Quit();
    // No request can arrive any more; free what the quit left queued.
    DiscardQueuedRequests();
    SDL_Quit();
    syslog(LOG_INFO,
           "====================================== LXCORE PLUGIN UNLOADED "
           "===================================");
    return 0;
}
