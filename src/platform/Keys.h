#pragma once

// Key codes are GLFW 3's named constants; only the constants are pulled in here, so
// simulation code can name keys without seeing any GL or window header.
#ifndef GLFW_INCLUDE_NONE
#define GLFW_INCLUDE_NONE
#endif
#include <GLFW/glfw3.h>
