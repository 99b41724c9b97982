#pragma once

#include <string>

#include "platform/GlTarget.h"

// Our shader files carry no version line: what the driver is handed is the target's version
// (and on the web its precision) lines, then the file. A level program's fragment stage gets
// the lookup it shares (level_texture.frag) joined after it, since WebGL links exactly one
// shader object per stage.
enum class ShaderKind { Scene, Hud };

std::string assembleShaderSource(GlTarget target, ShaderKind kind, const std::string& file,
                                 const std::string& library = "");
