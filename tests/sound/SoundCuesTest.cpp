#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "sound/SoundCues.h"

namespace {

constexpr double dt = 1.0 / 60.0; // the race's own step
// On the ground every step loses gravity's pull (42 units/s² for a 60th of a second) into it.
constexpr float resting = 0.7f;

// A race heard step by step, the countdown running down as it goes.
struct Listener {
    SoundCues cues;
    double time = 0.0, remaining = 200.0;
    std::vector<std::pair<double, SoundCue>> heard; // each cue with its race time

    void run(int steps, StepSound what) {
        for (int i = 0; i < steps; ++i, time += dt) {
            what.remainingTime = remaining -= dt;
            cues.step(dt, what);
            for (const SoundCue& cue : cues.takeCues())
                heard.push_back({time, cue});
        }
    }
    long count(SoundCue::Kind kind) const {
        return std::count_if(heard.begin(), heard.end(),
                             [&](auto& cue) { return cue.second.kind == kind; });
    }
};

TEST(SoundCues, RestIsSilentAndADropKnocksOnceHarderWhenHigher) {
    Listener rest, low, high;
    rest.run(120, {true, 0.0f, resting});
    EXPECT_TRUE(rest.heard.empty());
    EXPECT_EQ(rest.cues.rollLevel(), 0.0f);
    // Landing from a one-unit drop loses about 9 units/s, from a ten-unit drop about 29.
    for (auto [drop, landing] : {std::pair{&low, 9.0f}, std::pair{&high, 29.0f}}) {
        drop->run(30, {false});
        drop->run(1, {true, 10.0f, landing});
        drop->run(120, {true, 10.0f, resting});
        ASSERT_EQ(drop->count(SoundCue::Kind::Impact), 1) << landing;
        EXPECT_EQ(drop->heard.size(), 1u);
    }
    EXPECT_GT(high.heard[0].second.strength, low.heard[0].second.strength);
}

TEST(SoundCues, RollingGrowsWithSpeedAndFallsSilentInTheAir) {
    float previous = 0.0f;
    for (float speed : {1.0f, 5.0f, 15.0f, 40.0f}) {
        Listener ride;
        ride.run(60, {true, speed, resting});
        EXPECT_GT(ride.cues.rollLevel(), previous) << speed;
        previous = ride.cues.rollLevel();
        ride.run(30, {false, speed});
        EXPECT_EQ(ride.cues.rollLevel(), 0.0f) << "in the air at " << speed;
    }
}

TEST(SoundCues, ABouncingMarbleNeverRattles) {
    Listener rough, bounce;
    for (int i = 0; i < 40; ++i) {
        // Hops of a few centimetres are rough ground, not landings.
        rough.run(2, {false, 8.0f});
        rough.run(1, {true, 8.0f, 1.5f});
        // Real bounces: knocks, but never two in a tenth of a second.
        bounce.run(2, {false, 8.0f});
        bounce.run(1, {true, 8.0f, 12.0f});
    }
    EXPECT_TRUE(rough.heard.empty());
    ASSERT_FALSE(bounce.heard.empty());
    for (size_t i = 1; i < bounce.heard.size(); ++i)
        ASSERT_GE(bounce.heard[i].first - bounce.heard[i - 1].first, 0.1) << "knock " << i;
}

TEST(SoundCues, TheLastTenSecondsTickAndTheRaceEndsSoundOnceEach) {
    Listener race;
    race.remaining = 15.0;
    race.run(15 * 60 - 1, {true});
    EXPECT_EQ(race.count(SoundCue::Kind::Tick), 10);
    // Time out: a life lost and the countdown full again; then each end, held for a second.
    // The flags after the speeds: life lost, won, game over.
    race.remaining = 300.0;
    race.run(1, {true, 0.0f, 0.0f, true, false, false});
    race.run(60, {true, 0.0f, 0.0f, false, true, false});
    race.run(1, {true, 0.0f, 0.0f, true, false, true});
    race.run(60, {true, 0.0f, 0.0f, false, false, true});
    EXPECT_EQ(race.count(SoundCue::Kind::Tick), 10);
    EXPECT_EQ(race.count(SoundCue::Kind::LifeLost), 1) << "the game-over phrase says the last";
    EXPECT_EQ(race.count(SoundCue::Kind::Win), 1);
    EXPECT_EQ(race.count(SoundCue::Kind::GameOver), 1);
}

} // namespace
