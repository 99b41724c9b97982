#include "sound/SoundCues.h"

#include <algorithm>
#include <cmath>

namespace {
// Resting on the ground loses gravity's pull into it every step (under one unit a second at
// 60 steps a second); a landing or a hit worth hearing loses several times that.
const float impactThreshold = 4.0f;
// Loses this much or more and the knock plays at full strength.
const float hardImpact = 30.0f;
const float quietestImpact = 0.25f;
// A marble bouncing on a slope touches many times a second; more than one knock in this much
// race time is heard as a rattle, not as landings.
const double impactGap = 0.15;
// The last seconds of the countdown that tick.
const int tickedSeconds = 10;
// Below this the marble is heard as resting; at the top speed on the flat and above, the
// rolling plays at its loudest and highest.
const float restingSpeed = 0.3f;
const float fullRollSpeed = 45.0f;
// How fast the rolling level may change, per second of race time: quick enough to follow a
// landing, slow enough that a sudden stop or take-off fades instead of clicking.
const float levelChangePerSecond = 6.0f;
} // namespace

void SoundCues::step(double dt, const StepSound& what) {
    listenForImpact(dt, what.impactSpeed);
    countDown(what.remainingTime);
    // The last life lost ends the game: the game-over phrase says both.
    bool endsGame = what.gameOver && !wasOver;
    if (what.lifeLost && !endsGame)
        pending.push_back({SoundCue::Kind::LifeLost});
    if (endsGame)
        pending.push_back({SoundCue::Kind::GameOver});
    if (what.won && !wasWon)
        pending.push_back({SoundCue::Kind::Win});
    wasWon = what.won;
    wasOver = what.gameOver;
    followRolling(dt, what);
}

void SoundCues::listenForImpact(double dt, float impactSpeed) {
    if (dt > 0.0 && std::isfinite(dt))
        sinceImpact += dt;
    if (!(impactSpeed >= impactThreshold) || sinceImpact < impactGap)
        return;
    float hardness =
        std::min(1.0f, (impactSpeed - impactThreshold) / (hardImpact - impactThreshold));
    pending.push_back(
        {SoundCue::Kind::Impact, quietestImpact + (1.0f - quietestImpact) * hardness});
    sinceImpact = 0.0;
}

// A whole second passed on the way down is a tick; a countdown set back up (a new attempt)
// passes none.
void SoundCues::countDown(double remainingTime) {
    if (countingDown) {
        for (int second = tickedSeconds; second >= 1; --second) {
            if (lastRemaining > second && remainingTime <= second)
                pending.push_back({SoundCue::Kind::Tick});
        }
    }
    lastRemaining = remainingTime;
    countingDown = true;
}

void SoundCues::followRolling(double dt, const StepSound& what) {
    float target = 0.0f;
    if (what.onGround && what.groundSpeed >= restingSpeed)
        target = std::min(1.0f, what.groundSpeed / fullRollSpeed);
    float most = levelChangePerSecond * static_cast<float>(std::max(0.0, dt));
    level += std::clamp(target - level, -most, most);
}

std::vector<SoundCue> SoundCues::takeCues() {
    std::vector<SoundCue> cues;
    cues.swap(pending);
    return cues;
}

void SoundCues::reset() {
    *this = SoundCues();
}
