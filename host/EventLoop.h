// The main thread's event loop: takes request events off the SDL queue one at
// a time, in posting order, and runs their answer routines until SDL_QUIT.
#ifndef LEXORA_HOST_EVENTLOOP_H
#define LEXORA_HOST_EVENTLOOP_H

#include <SDL.h>

// Logs `event` and runs the answer routine of a request event (user event
// with code 0 to 3); every other event is ignored. False for SDL_QUIT.
bool HandleEvent(const SDL_Event& event);
// Waits for and handles events until SDL_QUIT (or until waiting fails).
// Requests queued behind the quit event stay in the queue.
void RunEventLoop();
// Takes every event still queued off the queue, freeing the argument copies
// of requests without answering them.
void DiscardQueuedRequests();

#endif  // LEXORA_HOST_EVENTLOOP_H
