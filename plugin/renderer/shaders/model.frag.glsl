#version 330

// The sphere's look: five optional maps, per-light GGX specular and diffuse light,
// environment reflection and image light, illumination, soft edge, hemisphere cut.
// Output is premultiplied.

const float PI = 3.1415926536;
const int LT_PARALLEL = 0;
const int LT_SPOT = 1;
const int LT_POINT = 2;

struct LightProperties {
    vec3 position;
    vec3 direction;
    vec4 color;
    int lightType;
    int falloffType;
    float falloff;
    float spotConeCos;
    float spotFeather;
};

layout(std140) uniform Lights {
    int numLights;
    vec4 ambientLights;
    LightProperties lights[8];
};

uniform sampler2D diffuseSampler;
uniform sampler2D glossinessSampler;
uniform sampler2D illuminationSampler;
uniform sampler2D normalSampler;
uniform samplerCube environmentSampler;

uniform mat4 normalMatrix;
uniform vec3 eyePosition;
uniform vec4 modelColor;
uniform int uvType;
uniform float edgeFeather;
uniform float edgeShrink;
uniform float diffuseGamma;
uniform float glossinessGamma;
uniform float illuminationGamma;
uniform float environmentGamma;
uniform int useDiffuseTexture;
uniform int useGlossinessTexture;
uniform int useIlluminationTexture;
uniform int useNormalTexture;
uniform int useEnvironmentTexture;
uniform float diffuseBlend;
uniform float diffuseBrightness;
uniform float glossinessBrightness;
uniform float illuminationBrightness;
uniform float environmentBrightness;
uniform float ambientAmount;
uniform float diffuseAmount;
uniform float glossinessAmount;
uniform float specularAmount;
uniform float reflectivityAmount;
uniform vec4 illuminationColor;
uniform float normalAmount;
uniform float normalInvertGreen;
uniform float clipLighting;
uniform mat4 environmentRotation;
uniform float illuminationFresnel;
uniform float illuminationFresnelBias;
uniform float illuminationShadowLight;
uniform float illuminationShadowLightContrast;
uniform float illuminationShadowLightExpand;
uniform float illuminationBumpInfluence;
uniform float uvFeathering;
uniform vec2 uvRepeat;
uniform vec2 uvOffset;
uniform vec2 uvRotation;
uniform int unlitMode;
uniform int flattenBottom;

in vec3 pixelPosition;
in vec3 normal;
in vec4 tangent;
in vec3 originalPosition;
in vec3 vertexPosition;
in vec3 vertexNormal;

out vec4 outColor;

float mean(vec4 c)
{
    return dot(c.rgb, vec3(1.0 / 3.0));
}

vec2 rotateCoords(vec2 c)
{
    return vec2(c.x * uvRotation.x - c.y * uvRotation.y, c.y * uvRotation.x + c.x * uvRotation.y);
}

vec2 unrotateCoords(vec2 c)
{
    return vec2(c.x * uvRotation.x + c.y * uvRotation.y, c.y * uvRotation.x - c.x * uvRotation.y);
}

vec4 rgb2hsv(vec4 c)
{
    vec4 K = vec4(0.0, -1.0 / 3.0, 2.0 / 3.0, -1.0);
    vec4 p = c.g < c.b ? vec4(c.b, c.g, K.w, K.z) : vec4(c.g, c.b, K.x, K.y);
    vec4 q = c.r < p.x ? vec4(p.x, p.y, p.w, c.r) : vec4(c.r, p.y, p.z, p.x);
    float d = q.x - min(q.w, q.y);
    float e = 1.0e-10;
    return vec4(abs(q.z + (q.w - q.y) / (6.0 * d + e)), d / (q.x + e), q.x, c.a);
}

vec4 hsv2rgb(vec4 c)
{
    vec4 K = vec4(1.0, 2.0 / 3.0, 1.0 / 3.0, 3.0);
    vec3 p = abs(fract(c.xxx + K.xyz) * 6.0 - K.www);
    return vec4(c.z * mix(K.xxx, clamp(p - K.xxx, 0.0, 1.0), c.y), c.a);
}

vec4 brightness(vec4 c, float b)
{
    if (b != 1.0)
        return hsv2rgb(rgb2hsv(c) * vec4(1.0, 1.0, b, 1.0));
    return c;
}

void getSphericalTextureCoords(out vec2 uv, out vec2 gradX, out vec2 gradY)
{
    uv = vec2(0.0);
    gradX = vec2(0.0);
    gradY = vec2(0.0);
    if (uvType != 1)
        return;
    vec3 d = normalize(originalPosition);
    float u = -atan(-d.x, -d.z) / (2.0 * PI) + 0.5;
    float v = atan(d.y, sqrt(d.x * d.x + d.z * d.z)) / PI + 0.5;
    uv = vec2(u, v);
    gradX = vec2(length(dFdx(d.xy)) / (2.0 * PI), dFdx(v));
    gradY = vec2(length(dFdy(d.xy)) / (2.0 * PI), dFdy(v));
}

vec3 triplanarWeights(vec3 n)
{
    vec3 w = pow(normalize(max(abs(n), 0.00001)), vec3(uvFeathering));
    return w / (w.x + w.y + w.z) * max(vec3(0.0), sign(n));
}

vec2 planeCoords(vec2 q)
{
    return rotateCoords(q) * uvRepeat + uvOffset + 0.5;
}

vec4 triplanarMapping(sampler2D map, vec3 n, vec3 p)
{
    vec3 w = triplanarWeights(n);
    vec3 q = p * 0.5;
    return w.x * texture(map, planeCoords(q.zy)) + w.y * texture(map, planeCoords(q.xz)) +
           w.z * texture(map, planeCoords(q.xy));
}

vec3 triplanarNormalMapping(sampler2D map, vec3 m, vec3 n, vec3 p, vec3 k)
{
    vec3 w = triplanarWeights(m);
    vec3 q = p * 0.5 * k;
    vec3 X = texture(map, planeCoords(q.zy)).xyz * 2.0 - 1.0;
    vec3 Y = texture(map, planeCoords(q.xz)).xyz * 2.0 - 1.0;
    vec3 Z = texture(map, planeCoords(q.xy)).xyz * 2.0 - 1.0;
    X.y *= normalInvertGreen;
    Y.y *= normalInvertGreen;
    Z.y *= normalInvertGreen;
    vec3 Xn = vec3(unrotateCoords(X.xy) * vec2(k.z, 1.0) + n.zy, n.x);
    vec3 Yn = vec3(unrotateCoords(Y.xy) * vec2(k.x, k.z) + n.xz, n.y);
    vec3 Zn = vec3(unrotateCoords(Z.xy) * vec2(k.x, 1.0) + n.xy, n.z);
    return mat3(normalMatrix) * (Xn.zyx * w.x + Yn.xzy * w.y + Zn.xyz * w.z);
}

vec4 sampleTexture(sampler2D map, vec2 uv, vec2 gradX, vec2 gradY, bool isNormalMap)
{
    vec4 c;
    if (uvType == 1) {
        c = textureGrad(map, (rotateCoords(uv - 0.5) + 0.5) * uvRepeat + uvOffset, gradX, gradY);
    } else if (uvType == 2) {
        if (isNormalMap) {
            return vec4(normalize(
                triplanarNormalMapping(map, vertexNormal, vertexNormal, vertexPosition,
                                       vec3(-1.0, 1.0, 1.0)) +
                triplanarNormalMapping(map, -vertexNormal, vertexNormal, vertexPosition,
                                       vec3(1.0, 1.0, -1.0))), 1.0);
        }
        c = triplanarMapping(map, vertexNormal, vertexPosition * vec3(-1.0, 1.0, 1.0)) +
            triplanarMapping(map, -vertexNormal, vertexPosition * vec3(1.0, 1.0, -1.0));
    } else if (uvType == 3) {
        c = texture(map, rotateCoords(vertexPosition.xy) * 0.5 * uvRepeat + uvOffset + 0.5);
    } else if (uvType == 4) {
        c = texture(map, rotateCoords(vertexPosition.xz) * 0.5 * uvRepeat + uvOffset + 0.5);
    } else {
        c = texture(map, rotateCoords(vertexPosition.zy) * 0.5 * uvRepeat + uvOffset + 0.5);
    }
    c = max(c, vec4(0.0));
    if (isNormalMap) {
        c = c * 2.0 - 1.0;
        c.y *= normalInvertGreen;
        c.xy = unrotateCoords(c.xy);
    }
    return c;
}

float calculate_specular(vec3 N, float roughness, float NdotL, vec3 H, vec3 V)
{
    float NdotH = max(0.0, dot(N, H));
    float r = roughness * 0.875 + 0.125;
    float alpha = r * r * r;
    float alpha2 = alpha * alpha;
    float denominator = NdotH * NdotH * (alpha2 - 1.0) + 1.0;
    float D = alpha2 / (3.1415927 * denominator * denominator);
    float k = alpha / 2.0;
    float NdotV = max(0.0, dot(N, V));
    float Gv = 1.0 / (NdotV * (1.0 - k) + k);
    float Gl = 1.0 / (NdotL * (1.0 - k) + k);
    return D * Gv * Gl / 4.0 * NdotV;
}

float fresnel(float x, float f, float bias)
{
    if (bias < 0.01)
        return 1.0;
    float i = f > 0.0 ? 1.0 - x : x;
    return pow(i, bias) * abs(f) + (1.0 - abs(f));
}

void get_light(vec3 E, vec3 P, vec3 F, float g, out vec4 diffuse, out vec4 specular,
               out float amount)
{
    diffuse = vec4(0.0);
    specular = vec4(0.0);
    amount = 0.0;
    for (int i = 0; i < numLights; ++i) {
        LightProperties light = lights[i];
        vec3 L = light.lightType == LT_PARALLEL ? normalize(-light.direction)
                                                : normalize(light.position - pixelPosition);
        float s = 1.0;
        if (light.lightType == LT_SPOT) {
            float c = dot(light.direction, -L);
            if (c <= light.spotConeCos) {
                s = 0.0;
            } else if (light.spotFeather > 0.0) {
                float coneAngle = acos(light.spotConeCos);
                s = clamp(max(0.0, (coneAngle - acos(c)) / coneAngle) / light.spotFeather, 0.0, 1.0);
            }
            float smoothed = smoothstep(0.0, 1.0, s);
            s = clamp(smoothed * smoothed, 0.0, 1.0);
        }
        vec3 H = normalize(L + E);
        float FdotL = dot(F, L);
        float clip = 1.0 - clamp(FdotL * -(1.0 / (1.0 - clipLighting * 0.99)), 0.0, 1.0);
        float NdotL = dot(P, L);
        float clampedNdotL = max(0.0, NdotL);

        amount += s * mix(FdotL, NdotL, illuminationBumpInfluence * clip) *
                  clamp(mean(light.color), 0.0, 1.0);
        specular += s * clampedNdotL * clip * calculate_specular(P, 1.0 - g, clampedNdotL, H, E) *
                    light.color;
        diffuse += s * clampedNdotL * clip * light.color;
    }
    specular *= specularAmount;
    diffuse = diffuse * diffuseAmount + ambientLights * ambientAmount;
}

vec4 environmentAt(vec3 direction, float level)
{
    vec4 c = pow(textureLod(environmentSampler, mat3(environmentRotation) * direction, level),
                 vec4(environmentGamma));
    return brightness(c, environmentBrightness);
}

void main()
{
    if (flattenBottom == 1 && vertexPosition.y > 0.00001)
        discard;

    vec3 E = normalize(eyePosition - pixelPosition);
    vec3 F = normalize(normal);
    if (!gl_FrontFacing)
        F = -F;
    vec2 uv;
    vec2 gradX;
    vec2 gradY;
    getSphericalTextureCoords(uv, gradX, gradY);

    vec4 Dm = vec4(1.0);
    if (useDiffuseTexture != 0) {
        vec4 sampled = sampleTexture(diffuseSampler, uv, gradX, gradY, false);
        Dm = mix(vec4(1.0), pow(sampled, vec4(diffuseGamma, diffuseGamma, diffuseGamma, 1.0)),
                 diffuseBlend);
        Dm = brightness(Dm, diffuseBrightness);
    }

    float g = glossinessAmount;
    if (useGlossinessTexture != 0) {
        vec4 Gm = pow(sampleTexture(glossinessSampler, uv, gradX, gradY, false),
                      vec4(glossinessGamma));
        Gm = brightness(Gm, glossinessBrightness);
        g *= clamp(mean(Gm), 0.0, 1.0);
    }

    vec4 Im = vec4(1.0);
    if (useIlluminationTexture != 0) {
        Im = pow(sampleTexture(illuminationSampler, uv, gradX, gradY, false),
                 vec4(illuminationGamma));
        Im = brightness(Im, illuminationBrightness);
    }

    vec3 P = F;
    if (useNormalTexture != 0) {
        vec3 t = sampleTexture(normalSampler, uv, gradX, gradY, true).xyz;
        if (uvType == 2) {
            P = normalize(mix(F, t, normalAmount));
        } else {
            vec3 T = normalize(tangent.xyz);
            vec3 B = normalize(cross(F, T) * tangent.w);
            P = normalize(mat3(T, B, F) * normalize(mix(vec3(0.0, 0.0, 1.0), t, normalAmount)));
        }
    }

    vec4 reflection = vec4(0.0);
    vec4 imageLight = vec4(0.0);
    if (useEnvironmentTexture != 0) {
        float edge = max(0.0, 1.0 - abs(dot(P, E)));
        float rf = mix(1.0 - (1.0 - g) * 0.6, 1.0, reflectivityAmount);
        float reflectivity = mix(pow(edge, 5.0) * rf, 1.0, reflectivityAmount * 0.99 + 0.01);
        reflection = environmentAt(normalize(reflect(-E, P)), (1.0 - g) * 6.0) * reflectivity;
        imageLight = environmentAt(P, 6.0);
    }

    vec4 diffuse;
    vec4 specular;
    float amount;
    if (unlitMode == 1) {
        amount = 1.0;
        diffuse = vec4(1.0);
        specular = vec4(0.0);
    } else {
        get_light(E, P, F, g, diffuse, specular, amount);
    }

    vec3 In = normalize(mix(F, P, illuminationBumpInfluence));
    vec4 illumination = Im * illuminationColor *
                        fresnel(clamp(dot(In, E), 0.0, 1.0), illuminationFresnel,
                                illuminationFresnelBias);
    float a = clamp(amount + illuminationShadowLightExpand, 0.0, 1.0);
    vec4 shadowPart = illumination * pow(1.0 - a, illuminationShadowLightContrast) *
                      max(0.0, 1.0 - max(0.0, illuminationShadowLight));
    vec4 lightPart = illumination * pow(a, illuminationShadowLightContrast) *
                     max(0.0, 1.0 - max(0.0, -illuminationShadowLight));

    vec4 colour = modelColor * Dm * (imageLight + diffuse) + specular + shadowPart + lightPart +
                  reflection;
    colour.a = Dm.a * modelColor.a;

    if (edgeFeather > 0.0 || edgeShrink > 0.0) {
        float ef = max(0.001, edgeFeather);
        float dist = 1.0 - acos(max(0.0, dot(E, F))) / (PI * 0.5);
        float shrunk = clamp((dist - edgeShrink) / (1.0 - edgeShrink * 0.999), 0.0, 1.0);
        colour.a *= clamp(1.0 - (ef - shrunk) / ef, 0.0, 1.0);
    }

    outColor = vec4(colour.rgb * colour.a, colour.a);
}
