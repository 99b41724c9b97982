#include "app/GameOptions.h"

namespace {
GameOptions options;
} // namespace

const GameOptions& gameOptions() {
    return options;
}

void setGameOptions(const GameOptions& replacement) {
    options = replacement;
}
