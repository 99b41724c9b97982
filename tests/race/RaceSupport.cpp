#include "RaceSupport.h"

#include <algorithm>

#include <glm/gtc/matrix_transform.hpp>

#include "assets/AnimationModel.h"
#include "assets/HierarchicalAnimationModel.h"
#include "assets/Sphere.h"
#include "levelgen/CourseRoute.h"
#include "physics/Camera.h"
#include "physics/PhysicsWorld.h"
#include "physics/RaceState.h"
#include "scene/Scene.h"

namespace race {

RaceDriver makeDriver() {
    Scene* s = scene();
    return RaceDriver(level::routeWaypoints(), level::barrierWaitWaypoint(),
                      level::sawWaitWaypoint(), s->getAnimatedModel(0)->getBoundingCenter(),
                      s->getSawBlade()->getBoundingCenter());
}

DriveResult driveToFinish(RaceDriver& driver, double frameTime, double limitSeconds) {
    return driveToFinish(
        driver, [frameTime] { return frameTime; }, limitSeconds);
}

DriveResult driveToFinish(RaceDriver& driver, const std::function<double()>& nextFrameTime,
                          double limitSeconds) {
    DriveResult result;
    const int startLives = race::state().lives;
    while (result.seconds < limitSeconds && !race::state().isWon() && !race::state().isGameOver()) {
        double frameTime = nextFrameTime();
        driver.drive(view(frameTime), keys());
        runFrame(frameTime);
        result.seconds += frameTime;
        result.progress = std::max(result.progress, driver.progress());
    }
    keys().releaseAll();
    result.won = race::state().isWon();
    result.livesLost = startLives - race::state().lives;
    return result;
}

void placeOnRoute(int waypoint) {
    const std::vector<glm::vec3> route = level::routeWaypoints();
    const glm::vec3 here = route[waypoint];
    glm::vec3 along = route[waypoint + 1] - here;
    along.y = 0.0f;
    along = glm::normalize(along);
    scene()->getMarble()->setTransform(glm::translate(glm::mat4(1.0f), here));
    scene()->getPhysicsWorld()->setVelocity(glm::vec3(0.0f));
    scene()->getCamera()->lookAt(here - 14.4f * along + glm::vec3(0, 4, 0), here);
}

} // namespace race
