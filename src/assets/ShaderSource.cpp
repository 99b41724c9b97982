#include "assets/ShaderSource.h"

namespace {

const char* versionLines(GlTarget target, ShaderKind kind) {
    if (target == GlTarget::Web) {
        // Fragment stages have no default precision for floats nor for shadow samplers;
        // high precision keeps the shadow and water depths as the desktop computes them.
        return "#version 300 es\n"
               "precision highp float;\n"
               "precision highp int;\n"
               "precision highp sampler2DShadow;\n";
    }
    // The HUD needs nothing past GLSL 1.30; the level's programs reach the compatibility
    // context's clip vertex, which the water's images use.
    return kind == ShaderKind::Hud ? "#version 130\n" : "#version 330 compatibility\n";
}

} // namespace

std::string assembleShaderSource(GlTarget target, ShaderKind kind, const std::string& file,
                                 const std::string& library) {
    std::string source = versionLines(target, kind);
    source += file;
    if (!library.empty()) {
        // A file whose last line lacks its newline must not run into the library's first.
        if (!file.empty() && file.back() != '\n')
            source += '\n';
        source += library;
    }
    return source;
}
