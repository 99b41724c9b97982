uniform sampler2D colorTexture;
uniform sampler2DShadow shadowMap;
uniform vec3 light_position;
uniform vec4 light_color;
uniform vec4 ambient_color;

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 uv;
#ifdef GL_ES
in float clipDistance;
#endif
in vec4 shadowCoord;

out vec4 fragColor;

// The map holds back faces only, so a receiver is normally well in front of its occluder;
// this small offset (about 0.02 units at the level's depth) only guards the contact lines.
const float depthBias = 0.0005;

// 3x3 taps of the hardware-filtered comparison: shadows with soft, unstepped edges.
float visibility() {
    vec3 p = shadowCoord.xyz / shadowCoord.w;
    if (shadowCoord.w <= 0.0 || p.x <= 0.0 || p.x >= 1.0 || p.y <= 0.0 || p.y >= 1.0 ||
        p.z >= 1.0)
        return 1.0;
    // One texel of the map, whatever size the game chose for it.
    vec2 texel = 1.0 / vec2(textureSize(shadowMap, 0));
    float lit = 0.0;
    for (int i = -1; i <= 1; ++i) {
        for (int j = -1; j <= 1; ++j) {
            vec2 offset = vec2(float(i), float(j)) * 1.5 * texel;
            lit += texture(shadowMap, vec3(p.xy + offset, p.z - depthBias));
        }
    }
    return lit / 9.0;
}

// From "level_texture.frag", which the loader joins after this file.
vec4 levelTexture(sampler2D tex, vec2 st);

void main() {
#ifdef GL_ES
    if (clipDistance < 0.0)
        discard;
#endif
    vec3 n = normalize(worldNormal);
    vec3 toLight = normalize(light_position - worldPosition);
    float diffuse = max(dot(n, toLight), 0.0);
    float shade = diffuse > 0.0 ? visibility() : 0.0;
    vec4 base = levelTexture(colorTexture, uv);
    vec3 light = ambient_color.rgb + light_color.rgb * (0.65 * diffuse * shade);
    fragColor = vec4(min(base.rgb * light, vec3(1.0)), 1.0);
}
