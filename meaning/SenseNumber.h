// Which "headword:n" opens a sense: the definition request looks the
// headword up (in any capitals, through its inflections) and opens its n-th
// reference. A sense is opened by a headword only when that lookup lands on
// this very headword and one of its references is the sense's record.
#ifndef LEXORA_MEANING_SENSENUMBER_H
#define LEXORA_MEANING_SENSENUMBER_H

#include <cstdint>
#include <string>

class CDictDatabase;

// n (from 1) such that "headword:n" opens the sense record at `position`
// (without flags) of `database`, or 0 when "headword" opens no such sense.
// `*kind` (when given and found): the record kind of that reference, its
// part of speech.
uint32_t SenseNumberUnder(CDictDatabase* database, const std::string& headword, uint32_t position,
                          uint32_t* kind = nullptr);

#endif  // LEXORA_MEANING_SENSENUMBER_H
