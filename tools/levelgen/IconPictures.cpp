// The desktop icon: the game's marble resting on a soft shadow, on a transparent square, in
// the sizes a desktop's icon theme looks for.
#include <algorithm>
#include <cmath>
#include <string>

#include "Generators.h"
#include "Image.h"
#include "MarblePainting.h"

namespace {

// Painted once this large and shrunk by whole blocks, so every size gets the same antialiased
// picture; 768 divides by each of them.
constexpr int canvasSize = 768;
constexpr int iconSizes[] = {16, 32, 48, 64, 128, 256};

// The blend leaves colours multiplied by coverage over the transparent background, so the
// whole canvas holds premultiplied colour: the shadow's edge fades to clear, never to grey.
void paintShadow(Image& image, glm::vec2 centre, glm::vec2 radius, float opacity) {
    for (int y = static_cast<int>(centre.y - radius.y); y <= centre.y + radius.y; ++y)
        for (int x = static_cast<int>(centre.x - radius.x); x <= centre.x + radius.x; ++x) {
            glm::vec2 q = (glm::vec2(x + 0.5f, y + 0.5f) - centre) / radius;
            float fade = std::max(0.0f, 1.0f - glm::dot(q, q));
            if (image.contains(x, y))
                image.at(x, y) = glm::vec4(0.0f, 0.0f, 0.0f, opacity * fade * fade);
        }
}

Image canvas() {
    Image image(canvasSize, canvasSize, glm::vec4(0.0f));
    paintShadow(image, {384.0f, 96.0f}, {270.0f, 70.0f}, 0.55f);
    paintMarble(image, {384.0f, 412.0f}, {328.0f, 328.0f});
    return image;
}

// Averages blocks of the premultiplied canvas and turns the result back into plain colour.
// A desktop shows a PNG's first stored row at the top, while our writer stores row 0 (the
// bottom) first for the game's loader, so the rows are handed over upside down here.
Image shrunkForDesktop(const Image& big, int size) {
    const int block = big.width() / size;
    Image small(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            glm::vec4 sum(0.0f);
            for (int by = 0; by < block; ++by)
                for (int bx = 0; bx < block; ++bx)
                    sum += big.at(x * block + bx, y * block + by);
            glm::vec4 mean = sum / static_cast<float>(block * block);
            glm::vec3 colour = mean.a > 0.0f ? glm::vec3(mean) / mean.a : glm::vec3(0.0f);
            small.at(x, size - 1 - y) = glm::vec4(colour, mean.a);
        }
    return small;
}

} // namespace

void generateIcons(const std::string& iconDir) {
    const Image big = canvas();
    for (int size : iconSizes) {
        std::string edge = std::to_string(size);
        std::string path = iconDir + "/hicolor/" + edge + "x" + edge + "/apps/quillorb.png";
        reportWrite(path, shrunkForDesktop(big, size).writePng(path, 4));
    }
}
