#pragma once

// The viewport and the scissor (box and switch) as they were when the scope began are back when
// it ends: glPushAttrib on the desktop, read and set again on the web.
class GlViewScope {
  public:
    GlViewScope();
    ~GlViewScope();
    GlViewScope(const GlViewScope&) = delete;
    GlViewScope& operator=(const GlViewScope&) = delete;

#ifdef __EMSCRIPTEN__
  private:
    // The desktop's attribute stack keeps these itself.
    int viewport[4] = {};
    int scissor[4] = {};
    bool scissorOn = false;
#endif
};
