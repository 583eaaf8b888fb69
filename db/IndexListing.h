// Runs of headwords next to an anchor word, for the scrolling index.
#ifndef LEXORA_DB_INDEXLISTING_H
#define LEXORA_DB_INDEXLISTING_H

#include "db/Trie.h"

class CDictDatabase;

// Walks the headword trie from `anchor` (forward: the anchor and after,
// ascending, leaving the anchor out when `exclusive`; backward: the words
// before it, nearest first), handing each headword to `visitor` until it stops.
bool ListIndexWords(CDictDatabase* database, TrieVisitor visitor, void* context,
                    const char* anchor, bool forward, bool exclusive);
// Lists forward from the prefix of scroll position `position`.
bool ListFromScrollPosition(CDictDatabase* database, TrieVisitor visitor, void* context,
                            int position);

#endif  // LEXORA_DB_INDEXLISTING_H
