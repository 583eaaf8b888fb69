// Arbitrary bytes as the dictionary file: open it, look words up with and
// without inflections, list the index in both directions from several
// anchors, render every word found and hyphenate its headword.

#include <cstring>

#include "db/DictDatabase.h"
#include "db/Hyphenator.h"
#include "db/IndexListing.h"
#include "db/Lookup.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/SeedDictionaries.h"
#include "render/RenderManager.h"

namespace {

constexpr int kWordsListed = 40;
constexpr size_t kWordsRendered = 12;

struct Listing {
    int remaining;
    std::vector<std::string> words;
};

int32_t CollectWord(void* context, const char* word, uint32_t) {
    Listing* listing = static_cast<Listing*>(context);
    if (listing->words.size() < kWordsRendered) listing->words.emplace_back(word);
    return --listing->remaining > 0 ? 1 : 0;
}

// Reads every byte of a finished view, so that a missing terminator shows.
size_t Touch(const char* text) {
    return text == nullptr ? 0 : strlen(text);
}

void Render(CRenderManager& manager, const std::string& word) {
    manager.RenderWord(word.c_str(), 0);
    const CWordDefinition* definition = manager.GetWordDefinition();
    volatile size_t total = Touch(definition->GetDictionaryHtml()) +
                            Touch(definition->GetLinksHtml()) +
                            Touch(definition->GetThesaurusHtml()) +
                            Touch(definition->GetHyphenation()) + Touch(definition->GetHeadword());
    (void)total;
}

void Hyphenate(CDictDatabase& database, const char* word) {
    if (database.hyphenator == nullptr) return;
    free(database.hyphenator->Hyphenate(word));
}

void LookUp(CDictDatabase& database, const std::string& word, std::vector<std::string>* found) {
    for (bool inflections : {false, true}) {
        char buffer[lxd::kKeyBufferSize];
        if (word.size() >= sizeof buffer) return;
        memcpy(buffer, word.c_str(), word.size() + 1);
        uint32_t position = 0;
        if (LookupWord(&database, buffer, sizeof buffer, &position, inflections)) {
            Hyphenate(database, buffer);
            found->emplace_back(buffer);
        }
    }
}

void List(CDictDatabase& database, std::vector<std::string>* found) {
    const char* const anchors[] = {"", "a", "cat", "m", "Paris", "zz", "\x7f"};
    for (const char* anchor : anchors) {
        for (bool forward : {true, false}) {
            Listing listing{kWordsListed, {}};
            ListIndexWords(&database, CollectWord, &listing, anchor, forward, !forward);
            found->insert(found->end(), listing.words.begin(), listing.words.end());
        }
    }
    for (int position : {0, 511, 1023}) {
        Listing listing{kWordsListed, {}};
        ListFromScrollPosition(&database, CollectWord, &listing, position);
        found->insert(found->end(), listing.words.begin(), listing.words.end());
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lxfuzz::EnterScratchDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!lxfuzz::WriteFile("data/wordnet.lxd", data, size)) return 0;
    CDictDatabase database;
    if (!database.Open("./data/wordnet.lxd")) return 0;
    std::vector<std::string> found;
    for (const std::string& word : lxfuzz::ProbeWords()) LookUp(database, word, &found);
    List(database, &found);
    CRenderManager manager(&database);
    manager.SetSpeakerHtml("<a href=\"~playaudio\">speaker</a>");
    for (const std::string& word : lxfuzz::ProbeWords()) Render(manager, word);
    for (const std::string& word : found) {
        Render(manager, word);
        Render(manager, word + ":2");
    }
    return 0;
}
