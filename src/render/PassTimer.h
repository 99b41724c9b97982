#pragma once

#include <map>
#include <string>
#include <vector>

// GPU time of the frame's passes, for the timedemo's report: while a timer is installed,
// each PassTiming scope measures its pass with a GL timer query and adds it under the pass's
// name. Without one (the game's normal run) a scope costs a null check.
class PassTimer {
  public:
    struct Total {
        double milliseconds = 0.0;
        int count = 0;
    };

    PassTimer();
    ~PassTimer();
    PassTimer(const PassTimer&) = delete;
    PassTimer& operator=(const PassTimer&) = delete;

    // The timer the scopes report to; nullptr stops timing.
    static void install(PassTimer* timer);
    static PassTimer* installed();

    void begin();
    void end(const char* pass);

    const std::map<std::string, Total>& totals() const { return byName; }
    // The pass names in the order they were first timed: the frame's order.
    const std::vector<std::string>& order() const { return names; }

  private:
    unsigned int query = 0;
    std::map<std::string, Total> byName;
    std::vector<std::string> names;
};

// Times the enclosing block as one pass when a PassTimer is installed. Passes must not nest.
class PassTiming {
  public:
    explicit PassTiming(const char* pass);
    ~PassTiming();
    PassTiming(const PassTiming&) = delete;
    PassTiming& operator=(const PassTiming&) = delete;

  private:
    const char* pass;
    PassTimer* timer;
};
