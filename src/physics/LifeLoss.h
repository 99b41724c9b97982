#pragma once

// Why the race took a life: what the player is told as the marble goes back to the start.
enum class LifeLoss {
    None,
    // Over the edge of the course: an out-of-bounds plane or below the floor.
    OffCourse,
    // The keyframe-animated stop obstacle.
    Barrier,
    Saw,
    TimeUp,
};
