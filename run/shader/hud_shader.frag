in vec2 uv;

uniform sampler2D colorTexture;
// White for pictures and plain text; a warning or a greyed line tints the glyphs.
uniform vec4 tint;

out vec4 hudColor;

void main() {
    vec4 texel = texture(colorTexture, uv);
    // Nothing is blended on the HUD: keep only the covered texels of glyphs and icons so the
    // scene shows between the letters and around the marble.
    if (texel.a < 0.5)
        discard;
    hudColor = texel * tint;
}
