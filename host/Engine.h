// The engine's two long-lived objects: the open dictionary and the render
// manager built on it. Created together by the first request that needs them,
// used and destroyed on the main thread only.
#ifndef LEXORA_HOST_ENGINE_H
#define LEXORA_HOST_ENGINE_H

class CDictDatabase;
class CRenderManager;

// True when the database is open on return. Opens "./data/wordnet.lxd" and
// builds the render manager (speaker link, IPA table) if that has not yet
// succeeded; a failed open leaves nothing behind, so the next call tries again.
bool EnsureDatabaseOpen();
// Destroys the render manager, then the database.
void ReleaseEngine();
// The open database and its render manager, or null before a successful open.
CDictDatabase* GetDatabase();
CRenderManager* GetRenderManager();

#endif  // LEXORA_HOST_ENGINE_H
