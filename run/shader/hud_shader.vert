// Flat HUD geometry: corners already in HUD units, mapped to the window by the HUD matrix.
in vec4 vertex;
in vec2 texCoord;

uniform mat4 view;

out vec2 uv;

void main() {
    uv = texCoord;
    gl_Position = view * vertex;
}
