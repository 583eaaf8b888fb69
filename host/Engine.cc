#include "host/Engine.h"

#include <syslog.h>

#include <new>

#include "db/DictDatabase.h"
#include "host/MeaningAnswer.h"
#include "host/SearchAnswers.h"
#include "render/RenderManager.h"

namespace {

const char kDatabasePath[] = "./data/wordnet.lxd";
const char kIPATablePath[] = "./data/IPA_to_IMG.txt";
const char kSpeakerHtml[] =
    "&nbsp;&nbsp;<a href=\"~playaudio\"><img id=\"LXSpeaker\" src=\"images/speaker.png\" /></a>";

CDictDatabase* database = nullptr;
CRenderManager* renderManager = nullptr;

}  // namespace

bool EnsureDatabaseOpen() {
    if (database != nullptr) return true;
    CDictDatabase* opened = new (std::nothrow) CDictDatabase();
    if (opened == nullptr) return false;
    if (!opened->Open(kDatabasePath)) {
        syslog(LOG_ERR, "*** cannot open %s (status %d)", kDatabasePath, opened->status);
        delete opened;
        return false;
    }
    CRenderManager* manager = new (std::nothrow) CRenderManager(opened);
    // Without its copy of the speaker link every page would lack the link for
    // as long as the engine runs; failing here lets the next request retry.
    if (manager == nullptr || !manager->SetSpeakerHtml(kSpeakerHtml)) {
        delete manager;
        delete opened;
        return false;
    }
    database = opened;
    renderManager = manager;
    // Without the table pronunciations are shown as stored.
    renderManager->LoadIPATable(kIPATablePath);
    return true;
}

void ReleaseEngine() {
    ReleaseMeaningSearch();
    ReleaseSearchData();
    delete renderManager;
    renderManager = nullptr;
    delete database;
    database = nullptr;
}

CDictDatabase* GetDatabase() {
    return database;
}

CRenderManager* GetRenderManager() {
    return renderManager;
}
