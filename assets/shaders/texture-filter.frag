#version 430 core
// One pass of the separable Gaussian blur of the bloom: nine texels along x or y. The pass
// covers its target texel for texel, so the taps are whole-texel fetches, without filtering
// (twice as fast as filtered samples in the software driver). Outside the texture a tap reads
// black, as the targets' border does, so no light wraps round the edges of the view.
in vec2 uv;

uniform sampler2D targetTexture;
uniform bool isHorizontal;

layout(location = 0) out vec4 fragColor;

const float weights[5] = float[](0.227027, 0.1945946, 0.1216216, 0.054054, 0.016216);

vec3 tap(ivec2 texel, ivec2 size) {
    bool inside = all(greaterThanEqual(texel, ivec2(0))) && all(lessThan(texel, size));
    return inside ? texelFetch(targetTexture, texel, 0).rgb : vec3(0.0);
}

void main() {
    ivec2 size = textureSize(targetTexture, 0);
    ivec2 centre = ivec2(uv * vec2(size));
    ivec2 axis = isHorizontal ? ivec2(1, 0) : ivec2(0, 1);
    vec3 sum = tap(centre, size) * weights[0];
    for (int i = 1; i < 5; ++i) {
        sum += (tap(centre + axis * i, size) + tap(centre - axis * i, size)) * weights[i];
    }
    fragColor = vec4(sum, 1.0);
}
