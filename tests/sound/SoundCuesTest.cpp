#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "sound/SoundCues.h"

namespace {

// The race's own step length.
constexpr double dt = 1.0 / 60.0;

// A race heard step by step: every cue with the race time it came at.
struct Listener {
    SoundCues cues;
    double time = 0.0;
    std::vector<double> impactTimes;
    std::vector<SoundCue> heard;

    void run(int steps, const StepSound& what) {
        for (int i = 0; i < steps; ++i) {
            cues.step(dt, what);
            time += dt;
            for (const SoundCue& cue : cues.takeCues()) {
                heard.push_back(cue);
                if (cue.kind == SoundCue::Kind::Impact)
                    impactTimes.push_back(time);
            }
        }
    }
    int count(SoundCue::Kind kind) const {
        int n = 0;
        for (const SoundCue& cue : heard)
            n += cue.kind == kind;
        return n;
    }
};

// On the ground every step loses gravity's pull (42 units/s² over a 60th of a second) into it.
StepSound rolling(float speed, float impactSpeed = 0.7f) {
    StepSound step;
    step.onGround = true;
    step.groundSpeed = speed;
    step.impactSpeed = impactSpeed;
    step.remainingTime = 200.0;
    return step;
}

// In the air the marble keeps its speed, but nothing rolls.
StepSound flying(float speed = 0.0f) {
    StepSound step = rolling(speed, 0.0f);
    step.onGround = false;
    return step;
}

TEST(SoundCues, RestIsSilentAndADropKnocksOnceHarderWhenHigher) {
    Listener rest;
    rest.run(120, rolling(0.0f));
    EXPECT_TRUE(rest.heard.empty());
    EXPECT_EQ(rest.cues.rollLevel(), 0.0f);

    // Landing from a one-unit drop loses about 9 units/s, from a ten-unit drop about 29.
    float strength[2] = {};
    const float landing[2] = {9.0f, 29.0f};
    for (int k = 0; k < 2; ++k) {
        Listener drop;
        drop.run(30, flying());
        drop.run(1, rolling(10.0f, landing[k]));
        drop.run(120, rolling(10.0f));
        ASSERT_EQ(drop.count(SoundCue::Kind::Impact), 1) << landing[k];
        EXPECT_EQ(drop.heard.size(), 1u);
        strength[k] = drop.heard[0].strength;
    }
    EXPECT_GT(strength[1], strength[0]);
}

TEST(SoundCues, RollingGrowsWithSpeedAndFallsSilentInTheAirAndAtRest) {
    float previous = 0.0f;
    for (float speed : {1.0f, 5.0f, 15.0f, 40.0f}) {
        Listener ride;
        ride.run(60, rolling(speed));
        EXPECT_GT(ride.cues.rollLevel(), previous) << speed;
        EXPECT_LE(ride.cues.rollLevel(), 1.0f);
        previous = ride.cues.rollLevel();
        ride.run(30, flying(speed));
        EXPECT_EQ(ride.cues.rollLevel(), 0.0f) << "in the air after " << speed;
    }
    Listener stop;
    stop.run(60, rolling(30.0f));
    stop.run(30, rolling(0.0f));
    EXPECT_EQ(stop.cues.rollLevel(), 0.0f);
}

TEST(SoundCues, ABouncingMarbleNeverRattles) {
    // Hops of a few centimetres every other step are rolling over rough ground, not landings.
    Listener rough;
    for (int i = 0; i < 60; ++i) {
        rough.run(1, flying());
        rough.run(1, rolling(8.0f, 1.5f));
    }
    EXPECT_EQ(rough.count(SoundCue::Kind::Impact), 0);

    // Real bounces, one every third step: knocks, but never two in a tenth of a second.
    Listener bounce;
    for (int i = 0; i < 40; ++i) {
        bounce.run(2, flying());
        bounce.run(1, rolling(8.0f, 12.0f));
    }
    ASSERT_GE(bounce.impactTimes.size(), 1u);
    double closest = 1.0;
    for (size_t i = 1; i < bounce.impactTimes.size(); ++i)
        closest = std::min(closest, bounce.impactTimes[i] - bounce.impactTimes[i - 1]);
    EXPECT_GE(closest, 0.1);
}

TEST(SoundCues, TheLastTenSecondsTickAndTheRaceEndsSoundOnceEach) {
    Listener countdown;
    StepSound step = rolling(0.0f);
    for (step.remainingTime = 15.0; step.remainingTime > 0.0; step.remainingTime -= dt)
        countdown.run(1, step);
    EXPECT_EQ(countdown.count(SoundCue::Kind::Tick), 10);
    // Time out: a life lost, a full countdown again, and no more ticks.
    step.lifeLost = true;
    step.remainingTime = 300.0;
    countdown.run(1, step);
    step.lifeLost = false;
    countdown.run(60, step);
    EXPECT_EQ(countdown.count(SoundCue::Kind::Tick), 10);
    EXPECT_EQ(countdown.count(SoundCue::Kind::LifeLost), 1);

    Listener won;
    step.won = true;
    won.run(60, step);
    EXPECT_EQ(won.count(SoundCue::Kind::Win), 1);

    Listener over;
    step.won = false;
    step.lifeLost = step.gameOver = true;
    over.run(1, step);
    step.lifeLost = false;
    over.run(60, step);
    EXPECT_EQ(over.count(SoundCue::Kind::GameOver), 1);
    EXPECT_EQ(over.count(SoundCue::Kind::LifeLost), 0) << "the game-over phrase says it";
}

} // namespace
