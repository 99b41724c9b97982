// Static models, the ground and the marble: lit by the level's light, shadowed by its map.

// Generic attribute 0 must carry the positions: a compatibility context draws nothing
// without it.
layout(location = 0) in vec4 vertex;
in vec3 normal;
in vec2 texCoord;

uniform mat4 PV;
uniform mat4 model;
uniform mat4 T;
uniform vec4 clipPlane;

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 uv;
#ifdef GL_ES
out float clipDistance;
#endif
out vec4 shadowCoord;

void main() {
    vec4 world = model * vertex;
    worldPosition = world.xyz;
    // The level only rotates and translates its models, so the upper 3x3 turns normals too.
    worldNormal = mat3(model) * normal;
    uv = texCoord;
    shadowCoord = T * world;
    // The water's clip plane travels in "clipPlane". On the desktop the fixed plane 0 is
    // (1, 0, 0, 0), so clipping tests this signed distance exactly when GL_CLIP_PLANE0 is
    // enabled; WebGL has no clip planes, so the fragment stage discards below the plane, which
    // is (0, 0, 0, 0) whenever nothing is clipped.
#ifdef GL_ES
    clipDistance = dot(world, clipPlane);
#else
    gl_ClipVertex = vec4(dot(world, clipPlane), 0.0, 0.0, 1.0);
#endif
    gl_Position = PV * world;
}
