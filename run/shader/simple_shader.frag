#version 330 compatibility

uniform sampler2D colorTexture;
uniform sampler2DShadow shadowMap;
uniform vec3 light_position;
uniform vec4 light_color;
uniform vec4 ambient_color;
// True while the level's textures carry mipmaps (the scene's usual filtering).
uniform bool levelTexturesMipmapped;

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 uv;
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

// 1 in the pixels of the second row (or column) of a 2x2 pixel block, 0 in the first, whichever
// way up the target is: blocks start on even rows of the target's memory.
float secondOfPair(float m, float stepToSecond) {
    return stepToSecond > 0.0 ? m : 1.0 - m;
}

// Software GL (llvmpipe) filters anisotropically by visiting every texel in the box around a
// 2x2 block's footprint, at the mip level of the footprint's narrower side. A sliver of a
// wall seen edge-on, or a block whose pixels land far apart on the texture, makes that box
// enormous: one such block held a frame for over a minute. Those blocks alone are sampled
// differently: a footprint more than 1024 times longer than wide is shortened to that, and
// one that covers the whole texture at every level gets the smallest level's single texel,
// which is what the filter returns there anyway. Every other block is sampled as it always was.
vec4 levelTexture(sampler2D tex, vec2 st) {
    const float longestElongation = 1024.0;
    float rowParity = mod(gl_FragCoord.y - 0.5, 2.0);
    float columnParity = mod(gl_FragCoord.x - 0.5, 2.0);
    float bottom = secondOfPair(rowParity, dFdy(rowParity));
    float right = secondOfPair(columnParity, dFdx(columnParity));
    vec2 rowStep = dFdx(st);
    vec2 columnStep = dFdy(st);
    // The block's steps as the filter takes them: from its first pixel along the first row
    // and the first column.
    vec2 across = rowStep - bottom * dFdy(rowStep);
    vec2 down = columnStep - right * dFdx(columnStep);
    ivec2 size = textureSize(tex, 0);
    vec2 acrossTexels = across * vec2(size);
    vec2 downTexels = down * vec2(size);
    float across2 = dot(acrossTexels, acrossTexels);
    float down2 = dot(downTexels, downTexels);
    float narrower2 = min(across2, down2);

    float limit2 = longestElongation * longestElongation * max(narrower2, 1.0);
    vec2 shortened = st;
    if (across2 > limit2)
        shortened -= right * rowStep * (1.0 - sqrt(limit2 / across2));
    if (down2 > limit2)
        shortened -= bottom * down * (1.0 - sqrt(limit2 / down2));

    // The filter's level is half the exponent of the narrower side's squared length; the
    // smallest level of a full chain is the exponent of the larger side.
    int levelWanted = ((floatBitsToInt(narrower2) >> 23) - 127) >> 1;
    int smallestLevel = (floatBitsToInt(float(max(size.x, size.y))) >> 23) - 127;
    bool coversTexture = levelTexturesMipmapped && smallestLevel > 0 && levelWanted >= smallestLevel;
    // A block whose pixels all sample its first pixel's place costs one small footprint.
    vec2 firstPixel = st - right * rowStep - bottom * down;
    vec4 filtered = texture(tex, coversTexture ? firstPixel : shortened);
    return coversTexture ? texelFetch(tex, ivec2(0), smallestLevel) : filtered;
}

void main() {
    vec3 n = normalize(worldNormal);
    vec3 toLight = normalize(light_position - worldPosition);
    float diffuse = max(dot(n, toLight), 0.0);
    float shade = diffuse > 0.0 ? visibility() : 0.0;
    vec4 base = levelTexture(colorTexture, uv);
    vec3 light = ambient_color.rgb + light_color.rgb * (0.65 * diffuse * shade);
    fragColor = vec4(min(base.rgb * light, vec3(1.0)), 1.0);
}
