#include "db/WordList.h"

CWordList::~CWordList() {}
