#include "ScopedEnvironment.h"

#include <cstdlib>
#include <utility>

ScopedEnvironment::ScopedEnvironment(std::string variable, const char* value)
    : name(std::move(variable)) {
    if (const char* previous = std::getenv(name.c_str()))
        saved = previous;
    set(value);
}

ScopedEnvironment::~ScopedEnvironment() {
    set(saved ? saved->c_str() : nullptr);
}

void ScopedEnvironment::set(const char* value) {
    if (value)
        setenv(name.c_str(), value, 1);
    else
        unsetenv(name.c_str());
}
