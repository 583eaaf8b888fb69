// A rough spelling of how an English word sounds, to compare a word spelled
// by ear with the spelling meant: letters that spell the same sound are
// written one way (ph and f, ck and k, soft c and s, qu and kw, igh and i,
// ough and uf, psych and sik, salmon's alm and am ...), doubled letters once, a final silent e
// dropped. Input and output are ASCII-folded text; other bytes pass unchanged.
#ifndef LEXORA_SEARCH_SOUNDSPELLING_H
#define LEXORA_SEARCH_SOUNDSPELLING_H

#include <string>

std::string SoundSpelling(const std::string& folded);

#endif  // LEXORA_SEARCH_SOUNDSPELLING_H
