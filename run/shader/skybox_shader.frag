uniform sampler2D colorTexture;

in vec2 uv;

out vec4 fragColor;

void main() {
    fragColor = vec4(texture(colorTexture, uv).rgb, 1.0);
}
