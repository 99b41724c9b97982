#pragma once

#include <string>
#include <utility>
#include <vector>

// The words a test starts the game with, laid out as main receives them: the program's name
// first, then each word, for as long as this object lives.
class ProgramArguments {
  public:
    explicit ProgramArguments(std::vector<std::string> given) : words(std::move(given)) {
        words.insert(words.begin(), "quillorb");
        for (const std::string& word : words)
            pointers.push_back(word.c_str());
    }
    ProgramArguments(const ProgramArguments&) = delete;
    ProgramArguments& operator=(const ProgramArguments&) = delete;

    int count() const { return static_cast<int>(pointers.size()); }
    const char* const* values() const { return pointers.data(); }

  private:
    std::vector<std::string> words;
    std::vector<const char*> pointers;
};
