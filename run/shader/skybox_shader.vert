// The sky cube around the viewer.

layout(location = 0) in vec4 vertex;
in vec2 texCoord;

uniform mat4 perspective;
uniform mat4 view;
uniform mat4 model;

out vec2 uv;

void main() {
    uv = texCoord;
#ifndef GL_ES
    gl_ClipVertex = vec4(1.0, 0.0, 0.0, 1.0);
#endif
    gl_Position = perspective * view * model * vertex;
}
