// Names of a word's pronunciation recording, shared by the engine's audio
// cache and the audio server: the cache file name and the download path.
#ifndef LEXORA_HOST_AUDIONAMES_H
#define LEXORA_HOST_AUDIONAMES_H

#include <cstddef>

// Writes `baseUrl` followed by "/pron/vox/%02X/%06X_%s" into `url` and
// "vox_%02X_%06X_%s" into `fileName`, from the CRC-32 of the lower-cased word
// (low byte, high 24 bits) and the word with every byte other than 0-9 and a-z
// made '_'. False, with both buffers left empty, when either text does not
// fit its buffer or memory runs out.
bool MakeAudioNames(const char* word, const char* baseUrl, char* url, size_t urlSize,
                    char* fileName, size_t fileNameSize);

#endif  // LEXORA_HOST_AUDIONAMES_H
