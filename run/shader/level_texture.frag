#version 330 compatibility
// The level programs' colour lookups, linked into each of them.

// True while the level's textures carry mipmaps (the scene's usual filtering).
uniform bool levelTexturesMipmapped;

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
