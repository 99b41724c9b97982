uniform sampler2D water_reflection;
uniform sampler2D water_refraction;
uniform sampler2D water_normalmap;
uniform sampler2D water_dudvmap;
uniform sampler2D water_depthmap;
uniform vec3 viewpos;
uniform vec3 lightpos;
uniform float time;
uniform float time2;
uniform vec4 waterColor;
// How far the waves shift the look-ups, as a fraction of the images (the game draws only
// that far around the surface into them).
uniform float distortion;

in vec4 clipPosition;
in vec3 worldPosition;
in vec2 waveUv;

out vec4 fragColor;

// The window's projection: needed to turn stored depths back into distances.
const float near = 0.1;
const float far = 1000.0;
const vec3 deepTint = vec3(0.05, 0.22, 0.26);

float eyeDistance(float depth) {
    float z = depth * 2.0 - 1.0;
    return 2.0 * near * far / (far + near - z * (far - near));
}

void main() {
    // Two layers of the du/dv map drifting against each other make the waves.
    vec2 drift = texture(water_dudvmap, waveUv + vec2(time, 0.0)).rg * 0.1;
    drift = waveUv + vec2(drift.x, drift.y + time2);
    vec2 offset = (texture(water_dudvmap, drift).rg * 2.0 - 1.0) * distortion;

    // Depth of water between the surface and the floor seen through it. The off-screen
    // images are coarser than the window, so at the shoreline a pixel can land on a texel
    // that saw past the clipped bank: the nearest floor among the texel and its four
    // neighbours keeps the edge shallow and takes the refracted colour from that floor.
    vec2 screen = clipPosition.xy / clipPosition.w * 0.5 + 0.5;
    // One texel of the off-screen images, whatever size the game chose for them.
    vec2 texel = 1.0 / vec2(textureSize(water_depthmap, 0));
    vec2 floorUv = screen;
    float floorDistance = eyeDistance(texture(water_depthmap, screen).r);
    vec2 taps[4] = vec2[4](vec2(texel.x, 0.0), vec2(-texel.x, 0.0), vec2(0.0, texel.y),
                           vec2(0.0, -texel.y));
    for (int i = 0; i < 4; ++i) {
        float d = eyeDistance(texture(water_depthmap, screen + taps[i]).r);
        if (d < floorDistance) {
            floorDistance = d;
            floorUv = screen + taps[i];
        }
    }
    float thickness = max(floorDistance - eyeDistance(gl_FragCoord.z), 0.0);
    // Shallow water near the banks ripples less, so the shoreline does not smear.
    offset *= clamp(thickness / 3.0, 0.0, 1.0);

    vec2 reflectUv = clamp(screen + offset, 0.001, 0.999);
    vec2 refractUv = clamp(floorUv + offset, 0.001, 0.999);
    vec3 reflection = texture(water_reflection, reflectUv).rgb;
    vec3 refraction = texture(water_refraction, refractUv).rgb;
    refraction = mix(refraction, deepTint, clamp(thickness / 12.0, 0.0, 0.75));

    vec3 bump = texture(water_normalmap, drift).rgb * 2.0 - 1.0;
    vec3 normal = normalize(vec3(bump.x, bump.z * 3.0, bump.y));

    vec3 toEye = normalize(viewpos - worldPosition);
    // Looking straight down shows the floor; grazing views show the sky.
    float fresnel = pow(1.0 - clamp(dot(toEye, vec3(0.0, 1.0, 0.0)), 0.0, 1.0), 2.0);
    fresnel = mix(0.25, 1.0, fresnel);
    vec3 colour = mix(refraction, reflection, fresnel);

    vec3 toLight = normalize(lightpos - worldPosition);
    float highlight = pow(max(dot(reflect(-toLight, normal), toEye), 0.0), 48.0);
    colour += vec3(0.55) * highlight;

    fragColor = vec4(colour, 1.0) * waterColor;
}
