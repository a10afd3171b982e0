#version 410 core

// One cube face of the next blur level: the GGX lobe of one sample-table row.
uniform samplerCube textureSampler;
uniform sampler2D samplesSampler;
uniform vec3 initialCoord;
uniform vec3 coordIncX;
uniform vec3 coordIncY;
uniform float sampleLod;
uniform uint numSamples;
uniform uint roughnessLayer;

in vec2 textureCoords;
out vec4 outColor;

void main()
{
    vec3 N = normalize(initialCoord + textureCoords.x * coordIncX + textureCoords.y * coordIncY);
    vec3 up = abs(N.z) < 0.999 ? vec3(0.0, 0.0, 1.0) : vec3(1.0, 0.0, 0.0);
    vec3 T = normalize(cross(up, N));
    vec3 B = cross(N, T);

    vec4 sum = vec4(0.0);
    float weight = 0.0;
    for (uint i = 0u; i < numSamples; ++i) {
        vec3 p = texelFetch(samplesSampler, ivec2(int(i), int(roughnessLayer)), 0).xyz;
        vec3 H = T * p.x + B * p.y + N * p.z;
        vec3 L = reflect(-N, H);
        float q = dot(N, L);
        if (q > 0.0) {
            sum += textureLod(textureSampler, L, sampleLod) * q;
            weight += q;
        }
    }
    outColor = sum / weight;
}
