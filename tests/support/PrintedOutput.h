#pragma once

#include <functional>
#include <string>

// What call printed on standard output, kept out of the test log; the game's messages are
// part of what many tests check.
std::string printedBy(const std::function<void()>& call);
