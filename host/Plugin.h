// The engine's life from start-up to shut-down, apart from the process set-up
// (log, environment) that the entry point does.
#ifndef LEXORA_HOST_PLUGIN_H
#define LEXORA_HOST_PLUGIN_H

// Starts SDL and the plug-in library, registers the methods, tells the script
// side "ready", serves requests until SDL_QUIT and shuts everything down.
// Returns the process exit status: 0, or 1 when SDL cannot start.
int RunPlugin();

#endif  // LEXORA_HOST_PLUGIN_H
