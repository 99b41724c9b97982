uniform sampler2D colorTexture;
uniform vec3 light_position;
uniform vec4 light_color;
uniform vec4 ambient_color;

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 uv;
#ifdef GL_ES
in float clipDistance;
#endif

out vec4 fragColor;

// From "level_texture.frag", which the loader joins after this file.
vec4 levelTexture(sampler2D tex, vec2 st);

void main() {
#ifdef GL_ES
    if (clipDistance < 0.0)
        discard;
#endif
    vec3 n = normalize(worldNormal);
    float diffuse = max(dot(n, normalize(light_position - worldPosition)), 0.0);
    vec3 light = ambient_color.rgb + light_color.rgb * (0.65 * diffuse);
    fragColor = vec4(min(levelTexture(colorTexture, uv).rgb * light, vec3(1.0)), 1.0);
}
