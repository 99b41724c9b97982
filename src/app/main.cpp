#include "app/Application.h"

int main() {
    return runGame();
}
