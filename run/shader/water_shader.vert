// The water surface: projected into the screen-aligned reflection and refraction images.

layout(location = 0) in vec4 vertex;
in vec2 texCoordReflection;

uniform mat4 model;
uniform mat4 view;
uniform mat4 perspective;

out vec4 clipPosition;
out vec3 worldPosition;
out vec2 waveUv;

void main() {
    vec4 world = model * vertex;
    worldPosition = world.xyz;
    // Ripples tile every few units, whatever the extent of the surface's own mapping.
    waveUv = texCoordReflection + world.xz * 0.05;
    clipPosition = perspective * view * world;
    gl_Position = clipPosition;
}
