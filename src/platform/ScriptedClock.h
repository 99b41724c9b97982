#pragma once

#include "platform/TimeSource.h"

// A clock that only moves when told to: tests advance it by a fixed frame time.
class ScriptedClock : public TimeSource {
  public:
    explicit ScriptedClock(double start = 0.0) : current(start) {}
    double now() override { return current; }
    void set(double seconds) { current = seconds; }
    void advance(double seconds) { current += seconds; }

  private:
    double current;
};
