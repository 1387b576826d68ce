#version 430 core
// Cook-Torrance shading (GGX distribution, Smith-Schlick geometry, Schlick Fresnel) of one
// material over six directional, point and spot lights each, with the 5 × 5 filtered shadow of
// the shadow-casting directional light. Output 0 is the lit colour, output 1 its bright part,
// the source of the bloom. Both targets hold 8 bits per channel, so colours end at 1.
in VertexData {
    vec3 worldPosition;
    vec3 worldNormal;
    vec4 shadowPosition;
} fragmentIn;

const int maxLights = 6;
const float PI = 3.14159265359;
// Radiance of a light of intensity 1: a white surface that faces it is lit to 1.
const float lightScale = PI;
// Share of the albedo lit without any light, scaled by the ambient occlusion.
const float ambientLevel = 0.5;
// Luminance above which a colour blooms; below 1, since the targets cannot hold more.
const float bloomThreshold = 0.8;

struct PointLight {
    vec3 position;
    vec3 intensity;
    vec3 attenuation; // constant, linear and quadratic terms: 1 / (c + l d + q d²)
};

struct DirectionalLight {
    vec3 direction; // the way the light travels
    vec3 intensity;
};

struct SpotLight {
    vec3 position;
    vec3 direction;
    vec3 intensity;
    vec3 attenuation;
    float outerAngle; // cosine of the half-angle at which the cone ends
    float innerAngle; // cosine of the half-angle up to which it is at full intensity
};

uniform PointLight pointLights[maxLights];
uniform DirectionalLight directionalLights[maxLights];
uniform SpotLight spotLights[maxLights];

uniform vec3 eyePos;
uniform vec3 albedo;
uniform float metalness;
uniform float roughness;
uniform float ao;

uniform sampler2D shadowMap;
uniform float shadowMapKernel[25];
uniform uvec2 shadowMapKernelSize;
uniform vec3 shadowSourceLightDirection;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 brightColor;

bool isOff(vec3 intensity) {
    return all(equal(intensity, vec3(0.0)));
}

float distributionGGX(float nDotH, float alpha) {
    float alpha2 = alpha * alpha;
    float d = nDotH * nDotH * (alpha2 - 1.0) + 1.0;
    return alpha2 / max(PI * d * d, 1e-7);
}

float geometrySchlickGGX(float cosine, float k) {
    return cosine / (cosine * (1.0 - k) + k);
}

vec3 fresnelSchlick(float cosine, vec3 f0) {
    return f0 + (1.0 - f0) * pow(clamp(1.0 - cosine, 0.0, 1.0), 5.0);
}

// Light arriving from direction toLight (unit) with the given radiance, reflected toward the eye.
vec3 reflected(vec3 n, vec3 toEye, vec3 toLight, vec3 radiance) {
    float nDotL = dot(n, toLight);
    if (nDotL <= 0.0) {
        return vec3(0.0);
    }
    vec3 halfway = toEye + toLight;
    // Eye and light exactly opposite: no halfway vector, and no highlight either.
    halfway = dot(halfway, halfway) > 1e-12 ? normalize(halfway) : n;
    float nDotV = max(dot(n, toEye), 1e-4);
    // A perfect mirror (roughness 0) has an infinitely thin highlight: keep a little spread.
    float rough = clamp(roughness, 0.05, 1.0);
    float k = (rough + 1.0) * (rough + 1.0) / 8.0;
    vec3 f0 = mix(vec3(0.04), albedo, metalness);
    vec3 fresnel = fresnelSchlick(max(dot(halfway, toEye), 0.0), f0);
    float geometry = geometrySchlickGGX(nDotV, k) * geometrySchlickGGX(nDotL, k);
    vec3 specular = distributionGGX(max(dot(n, halfway), 0.0), rough * rough) * geometry * fresnel
                    / (4.0 * nDotV * nDotL + 1e-4);
    vec3 diffuse = (vec3(1.0) - fresnel) * (1.0 - metalness) * albedo / PI;
    return (diffuse + specular) * radiance * lightScale * nDotL;
}

float attenuated(vec3 attenuation, float range) {
    float falloff = attenuation.x + attenuation.y * range + attenuation.z * range * range;
    return 1.0 / max(falloff, 1e-4);
}

// 0 where the shadow light reaches the fragment, 1 where something nearer to the light hides it.
// The bias grows with the slope to the light, against acne on surfaces that face it at a grazing
// angle.
float shadowing(vec3 n) {
    vec3 projected = fragmentIn.shadowPosition.xyz / fragmentIn.shadowPosition.w * 0.5 + 0.5;
    if (projected.z > 1.0) {
        return 0.0;
    }
    vec3 toLight = normalize(-shadowSourceLightDirection);
    float bias = max(0.005 * (1.0 - dot(n, toLight)), 0.0008);
    vec2 texel = 1.0 / vec2(textureSize(shadowMap, 0));
    uvec2 size = min(shadowMapKernelSize, uvec2(5u));
    vec2 centre = vec2(size / 2u);
    float shadow = 0.0;
    for (uint y = 0u; y < size.y; ++y) {
        for (uint x = 0u; x < size.x; ++x) {
            vec2 offset = (vec2(x, y) - centre) * texel;
            float nearest = texture(shadowMap, projected.xy + offset).r;
            shadow += shadowMapKernel[y * 5u + x] * (projected.z - bias > nearest ? 1.0 : 0.0);
        }
    }
    return clamp(shadow, 0.0, 1.0);
}

bool castsTheShadow(vec3 direction) {
    return dot(normalize(direction), normalize(shadowSourceLightDirection)) > 0.9999;
}

void main() {
    vec3 n = normalize(fragmentIn.worldNormal);
    vec3 toEye = normalize(eyePos - fragmentIn.worldPosition);
    vec3 lit = vec3(0.0);
    float shadow = shadowing(n);

    for (int i = 0; i < maxLights; ++i) {
        DirectionalLight light = directionalLights[i];
        if (isOff(light.intensity)) {
            continue;
        }
        vec3 radiance = light.intensity * (castsTheShadow(light.direction) ? 1.0 - shadow : 1.0);
        lit += reflected(n, toEye, normalize(-light.direction), radiance);
    }
    for (int i = 0; i < maxLights; ++i) {
        PointLight light = pointLights[i];
        if (isOff(light.intensity)) {
            continue;
        }
        vec3 toLight = light.position - fragmentIn.worldPosition;
        float range = length(toLight);
        vec3 radiance = light.intensity * attenuated(light.attenuation, range);
        lit += reflected(n, toEye, toLight / max(range, 1e-4), radiance);
    }
    for (int i = 0; i < maxLights; ++i) {
        SpotLight light = spotLights[i];
        if (isOff(light.intensity)) {
            continue;
        }
        vec3 toLight = light.position - fragmentIn.worldPosition;
        float range = length(toLight);
        toLight /= max(range, 1e-4);
        float cosine = dot(-toLight, normalize(light.direction));
        float cone = clamp((cosine - light.outerAngle) / max(light.innerAngle - light.outerAngle, 1e-4), 0.0, 1.0);
        vec3 radiance = light.intensity * attenuated(light.attenuation, range) * cone;
        lit += reflected(n, toEye, toLight, radiance);
    }

    vec3 color = clamp(albedo * ao * ambientLevel + lit, 0.0, 1.0);
    fragColor = vec4(color, 1.0);
    float luminance = dot(color, vec3(0.2126, 0.7152, 0.0722));
    brightColor = vec4(luminance > bloomThreshold ? color : vec3(0.0), 1.0);
}
