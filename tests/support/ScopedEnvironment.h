#pragma once

#include <optional>
#include <string>

// Sets an environment variable for one scope and puts back what was there before (its value,
// or its absence), so a test cannot change what the tests after it see.
class ScopedEnvironment {
  public:
    // A null value clears the variable for the scope.
    ScopedEnvironment(std::string name, const char* value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    // Changes the variable again within the same scope; null clears it.
    void set(const char* value);

  private:
    std::string name;
    std::optional<std::string> saved;
};
