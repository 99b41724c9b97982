// Depth only, from the light.

layout(location = 0) in vec4 vertex;

uniform mat4 perspective;
uniform mat4 view;
uniform mat4 model;

void main() {
    gl_Position = perspective * view * model * vertex;
}
