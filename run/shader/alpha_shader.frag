uniform sampler2D colorTexture;
uniform sampler2D alphaMap;
#ifdef GL_ES
// WebGL has no alpha test: fragments at or below this alpha are discarded instead (below
// zero while the transparency is off).
uniform float alphaCutoff;
#endif

in vec2 uv;

out vec4 fragColor;

// From "level_texture.frag", which the loader joins after this file.
vec4 levelTexture(sampler2D tex, vec2 st);

void main() {
    float alpha = levelTexture(alphaMap, uv).r;
#ifdef GL_ES
    if (alpha <= alphaCutoff)
        discard;
#endif
    // The alpha test (greater than 0.1) cuts the holes; what survives it is written fully
    // opaque, so a leaf seen through the gap of another never blends into a ghost.
    fragColor = vec4(levelTexture(colorTexture, uv).rgb, alpha > 0.1 ? 1.0 : alpha);
}
