// libpdl on this desktop: the script side is whatever talks to the local
// bridge (the web app's page, curl, the integration tests).
#include "platform/PDL.h"

#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/AppRuntime.h"
#include "platform/Bridge.h"
#include "platform/HandlerTable.h"
#include "platform/LastError.h"
#include "platform/ListeningPort.h"

namespace {

constexpr int kDefaultPort = 7770;

CHandlerTable handlers;
std::unique_ptr<CBridge> bridge;

// LXCORE_PORT, or the default port when it is unset or not a port number.
int BridgePort() {
    const char* text = getenv("LXCORE_PORT");
    if (text == nullptr || text[0] == '\0') return kDefaultPort;
    char* end = nullptr;
    long port = strtol(text, &end, 10);
    if (*end != '\0' || port < 0 || port > 65535) return kDefaultPort;
    return static_cast<int>(port);
}

}  // namespace

extern "C" PDL_Err PDL_Init(unsigned int flags) {
    if (flags != 0) {
        SetLastPdlError("PDL_Init: flags must be 0");
        return PDL_EINVALIDINPUT;
    }
    if (bridge) return PDL_NOERROR;
    auto starting = std::make_unique<CBridge>(handlers);
    // The web app's own routes (static files, downloads) join the bridge
    // here, before it starts listening.
    CAppRuntime::Install(*starting, ".");
    int port = BridgePort();
    if (!starting->Start(port)) {
        ReportListenFailure("lxcore bridge", "127.0.0.1", port, "LXCORE_PORT");
        SetLastPdlError("PDL_Init: cannot listen on 127.0.0.1:" + std::to_string(port));
        return PDL_ECONNECTION;
    }
    bridge = std::move(starting);
    return PDL_NOERROR;
}

extern "C" PDL_Err PDL_RegisterJSHandler(const char* name, PDL_JSHandlerFunc handler) {
    return handlers.Register(name, handler);
}

extern "C" PDL_Err PDL_JSRegistrationComplete(void) {
    handlers.Complete();
    return PDL_NOERROR;
}

extern "C" PDL_Err PDL_CallJS(const char* functionName, const char** params, int numParams) {
    if (functionName == nullptr || numParams < 0 || (numParams > 0 && params == nullptr)) {
        SetLastPdlError("PDL_CallJS: bad arguments");
        return PDL_EINVALIDINPUT;
    }
    if (!bridge) {
        SetLastPdlError("PDL_CallJS: the bridge is not running");
        return PDL_ECONNECTION;
    }
    // Nothing may be thrown back into the C caller. The error texts are short
    // enough to be set without allocating.
    try {
        std::vector<std::string> texts;
        for (int i = 0; i < numParams; ++i) texts.emplace_back(params[i] ? params[i] : "");
        bridge->Publish(functionName, texts);
    } catch (const std::bad_alloc&) {
        SetLastPdlError("out of memory");
        return PDL_EMEMORY;
    } catch (const std::exception&) {
        SetLastPdlError("bridge failed");
        return PDL_EOTHER;
    }
    return PDL_NOERROR;
}

extern "C" void PDL_Quit(void) {
    if (bridge) bridge->Stop();
    bridge.reset();
    handlers.Clear();
}
