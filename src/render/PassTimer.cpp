#include "render/PassTimer.h"

#include <GL/glew.h>

#include "platform/GlTarget.h"

namespace {
PassTimer* current = nullptr;
} // namespace

PassTimer::PassTimer() {
    glGenQueries(1, &query);
}

PassTimer::~PassTimer() {
    if (current == this)
        current = nullptr;
    glDeleteQueries(1, &query);
}

void PassTimer::install(PassTimer* timer) {
    current = timer;
}

PassTimer* PassTimer::installed() {
    return current;
}

void PassTimer::begin() {
    // Work still queued from before the pass would otherwise be drawn, and booked, inside it.
    glFinish();
    gltarget::beginTimeQuery(query);
}

void PassTimer::end(const char* pass) {
    // A software rasteriser draws lazily: finishing inside the query puts the pass's work in it.
    glFinish();
    double milliseconds = gltarget::endTimeQueryMilliseconds(query);
    auto found = byName.find(pass);
    if (found == byName.end()) {
        found = byName.emplace(pass, Total()).first;
        names.push_back(pass);
    }
    found->second.milliseconds += milliseconds;
    found->second.count += 1;
}

PassTiming::PassTiming(const char* pass) : pass(pass), timer(PassTimer::installed()) {
    if (timer)
        timer->begin();
}

PassTiming::~PassTiming() {
    if (timer)
        timer->end(pass);
}
