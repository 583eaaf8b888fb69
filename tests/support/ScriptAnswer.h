// Reads back the answer that code under test delivered through the in-process
// plug-in library double (pdlfake).
#ifndef LEXORA_TESTS_SUPPORT_SCRIPTANSWER_H
#define LEXORA_TESTS_SUPPORT_SCRIPTANSWER_H

#include <string>

namespace lxtest {

// The one parameter of the one script call made since the last take, which
// must go to `callback`; a test failure and "" otherwise.
std::string TakeAnswer(const std::string& callback);

}  // namespace lxtest

#endif  // LEXORA_TESTS_SUPPORT_SCRIPTANSWER_H
