// Entry point of the lxcore engine. It runs in the application directory: the
// data files it opens are relative to the working directory.
#include <syslog.h>

#include <cstdlib>

#include "host/Plugin.h"

int main() {
    // The log also goes to standard error, for machines without a syslog daemon.
    openlog("LXCORE", LOG_PERROR, LOG_USER);
    // Without a display SDL's video start needs the dummy driver.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    return RunPlugin();
}
