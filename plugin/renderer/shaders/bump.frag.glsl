#version 410 core

// Sobel filter on the grey value of a height map, packed as a tangent-space normal.
uniform sampler2D textureSampler;
uniform vec2 pixelSize;
uniform vec2 scaleFactor;

in vec2 textureCoords;
out vec4 outColor;

float grey(vec2 offset)
{
    return dot(texture(textureSampler, textureCoords + offset * pixelSize),
               vec4(1.0 / 3.0, 1.0 / 3.0, 1.0 / 3.0, 0.0));
}

void main()
{
    float tl = grey(vec2(-1.0, -1.0));
    float t = grey(vec2(0.0, -1.0));
    float tr = grey(vec2(1.0, -1.0));
    float l = grey(vec2(-1.0, 0.0));
    float r = grey(vec2(1.0, 0.0));
    float bl = grey(vec2(-1.0, 1.0));
    float b = grey(vec2(0.0, 1.0));
    float br = grey(vec2(1.0, 1.0));

    float gx = (tr + 2.0 * r + br) - (tl + 2.0 * l + bl);
    float gy = (bl + 2.0 * b + br) - (tl + 2.0 * t + tr);
    vec3 n = normalize(vec3(-gx * scaleFactor.x, -gy * scaleFactor.y, 0.5));
    outColor = vec4((n + vec3(1.0)) * 0.5, 1.0);
}
