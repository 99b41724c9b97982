#include "ProgramArguments.h"

#include <utility>

ProgramArguments::ProgramArguments(std::vector<std::string> given) : words(std::move(given)) {
    words.insert(words.begin(), "quillorb");
    for (const std::string& word : words)
        pointers.push_back(word.c_str());
}
