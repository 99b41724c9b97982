#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

// Sets an environment variable for one scope and puts back what was there before (its value,
// or its absence), so a test cannot change what the tests after it see.
class ScopedEnvironment {
  public:
    // A null value clears the variable for the scope.
    ScopedEnvironment(std::string variable, const char* value) : name(std::move(variable)) {
        if (const char* previous = std::getenv(name.c_str()))
            saved = previous;
        set(value);
    }
    ~ScopedEnvironment() { set(saved ? saved->c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    // Changes the variable again within the same scope; null clears it.
    void set(const char* value) {
        if (value)
            setenv(name.c_str(), value, 1);
        else
            unsetenv(name.c_str());
    }

  private:
    std::string name;
    std::optional<std::string> saved;
};
