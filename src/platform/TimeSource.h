#pragma once

// Where the game reads the time from. The GLFW backend reports real seconds since
// initialisation; tests install a scripted clock so frames run with a fixed frame time.
class TimeSource {
  public:
    virtual ~TimeSource() = default;
    virtual double now() = 0;
};
