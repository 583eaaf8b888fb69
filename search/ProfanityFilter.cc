#include "search/ProfanityFilter.h"

#include <new>

#include "db/DictDatabase.h"

CProfanityFilter::CProfanityFilter(const std::vector<const char*>& list)
    : words(list.begin(), list.end()) {}

bool CProfanityFilter::IsFiltered(const char* headword) const {
    return headword != nullptr && words.count(headword) != 0;
}

bool CProfanityFilter::LoadInto(CDictDatabase* database, const std::vector<const char*>& list) {
    CWordFilter* filter = nullptr;
    try {
        filter = new CProfanityFilter(list);
    } catch (const std::bad_alloc&) {
        return false;
    }
    delete database->wordFilter;
    database->wordFilter = filter;
    return true;
}
