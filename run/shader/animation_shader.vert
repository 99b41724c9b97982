#version 330 compatibility
// Keyframe morphs: two whole poses blended by the weight the model chose this frame.

layout(location = 0) in vec4 vertex;
in vec4 vertexB;
in vec3 normal;
in vec3 normalB;
in vec2 texCoord;

uniform mat4 perspective;
uniform mat4 view;
uniform mat4 model;
uniform float weightingFact;
uniform vec4 clipPlane;

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 uv;

void main() {
    vec4 world = model * mix(vertex, vertexB, weightingFact);
    worldPosition = world.xyz;
    worldNormal = mat3(model) * mix(normal, normalB, weightingFact);
    uv = texCoord;
    // The water's clip plane travels in "clipPlane"; the fixed plane 0 is (1, 0, 0, 0), so
    // clipping tests this signed distance exactly when GL_CLIP_PLANE0 is enabled.
    gl_ClipVertex = vec4(dot(world, clipPlane), 0.0, 0.0, 1.0);
    gl_Position = perspective * view * world;
}
