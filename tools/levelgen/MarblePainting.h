#pragma once

#include <glm/glm.hpp>

class Image;

// A black marble with white veins, lit from the upper left (rows growing upwards), as an
// antialiased ellipse centred at `centre` with radii `radius` in pixels. The life icon, the
// loading screen and the desktop icon all show this one marble.
void paintMarble(Image& image, glm::vec2 centre, glm::vec2 radius);
