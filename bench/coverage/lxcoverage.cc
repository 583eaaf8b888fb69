// Reads words, one a line, and looks each up as a definition request does
// (inflection rules, one redirect, the request's 57-byte buffer). Prints how
// many the dictionary answers and, one a line, the words it does not.
//   lxcoverage DICTIONARY < words
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "db/DictDatabase.h"
#include "db/Lookup.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lxcoverage DICTIONARY < words\n");
        return 2;
    }
    CDictDatabase database;
    if (!database.Open(argv[1])) {
        std::fprintf(stderr, "lxcoverage: cannot open %s\n", argv[1]);
        return 1;
    }
    std::vector<std::string> unanswered;
    long words = 0;
    for (std::string word; std::getline(std::cin, word);) {
        if (word.empty()) continue;
        ++words;
        char buffer[57];
        uint32_t position = 0;
        bool fits = word.size() < sizeof buffer;
        if (fits) std::strcpy(buffer, word.c_str());
        if (!fits || !LookupWord(&database, buffer, sizeof buffer, &position, true)) {
            unanswered.push_back(word);
        }
    }
    std::printf("%ld words, %ld answered, %zu without an answer:\n", words,
                words - static_cast<long>(unanswered.size()), unanswered.size());
    for (const auto& word : unanswered) std::printf("%s\n", word.c_str());
    return 0;
}
