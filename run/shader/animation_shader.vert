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
#ifdef GL_ES
out float clipDistance;
#endif

void main() {
    vec4 world = model * mix(vertex, vertexB, weightingFact);
    worldPosition = world.xyz;
    worldNormal = mat3(model) * mix(normal, normalB, weightingFact);
    uv = texCoord;
    // The water's clip plane travels in "clipPlane". On the desktop the fixed plane 0 is
    // (1, 0, 0, 0), so clipping tests this signed distance exactly when GL_CLIP_PLANE0 is
    // enabled; WebGL has no clip planes, so the fragment stage discards below the plane, which
    // is (0, 0, 0, 0) whenever nothing is clipped.
#ifdef GL_ES
    clipDistance = dot(world, clipPlane);
#else
    gl_ClipVertex = vec4(dot(world, clipPlane), 0.0, 0.0, 1.0);
#endif
    gl_Position = perspective * view * world;
}
