// The level programs' colour lookups, joined to the fragment stage of each of them.

// True while the level's textures carry mipmaps (the scene's usual filtering).
uniform bool levelTexturesMipmapped;

// 1 in the pixels of the second row (or column) of a 2x2 pixel block, 0 in the first, whichever
// way up the target is: blocks start on even rows of the target's memory.
float secondOfPair(float m, float stepToSecond) {
    return stepToSecond > 0.0 ? m : 1.0 - m;
}

// Software GL (llvmpipe) filters anisotropically by visiting every texel in the box around
// the ellipse of a 2x2 block's footprint, at the mip level of the footprint's narrower side.
// Blocks whose box would hold more than a few thousand texels (a sheet seen edge-on, ground
// far away at a grazing angle, a block whose pixels land far apart on the texture) held
// frames for minutes. Those blocks take the texture's smallest mip level instead, its average
// colour; where the footprint covers the whole texture at every level, that is exactly what
// the filter returns. Every other block is sampled as it always was.
vec4 levelTexture(sampler2D tex, vec2 st) {
    // Half the box's width times half its height, in texels of the level the filter picks.
    const float largestBox = 1024.0;
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
    float narrower2 = min(dot(acrossTexels, acrossTexels), dot(downTexels, downTexels));

    // The filter's level is half the exponent of the narrower side's squared length; the
    // smallest level of a full chain is the exponent of the larger side.
    int levelWanted = ((floatBitsToInt(narrower2) >> 23) - 127) >> 1;
    int smallestLevel = (floatBitsToInt(float(max(size.x, size.y))) >> 23) - 127;
    int level = clamp(levelWanted, 0, smallestLevel);
    // The filter's ellipse at that level (widened by a texel all round) and its half box.
    vec2 u = vec2(acrossTexels.x, downTexels.x) / float(1 << level);
    vec2 v = vec2(acrossTexels.y, downTexels.y) / float(1 << level);
    float a = dot(v, v) + 1.0;
    float b = -2.0 * dot(u, v);
    float c = dot(u, u) + 1.0;
    float f = a * c - b * b / 4.0;
    float d = 4.0 * a * c - b * b;
    float halfWidth = 2.0 / d * sqrt(d * c * f);
    float halfHeight = 2.0 / d * sqrt(a * d * f);
    // Written so that a footprint of infinities or NaNs counts as too large.
    bool boxTooLarge = !(halfWidth * halfHeight < largestBox);
    bool average = levelTexturesMipmapped && smallestLevel > 0 &&
                   (levelWanted >= smallestLevel || boxTooLarge);
    // A block whose pixels all sample its first pixel's place costs one small footprint.
    vec2 firstPixel = st - right * rowStep - bottom * down;
    vec4 filtered = texture(tex, average ? firstPixel : st);
    return average ? texelFetch(tex, ivec2(0), smallestLevel) : filtered;
}
