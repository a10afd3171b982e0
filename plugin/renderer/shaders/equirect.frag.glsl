#version 410 core

// One cube face from a latitude-longitude image.
uniform sampler2D textureSampler;
uniform vec3 initialCoord;
uniform vec3 coordIncX;
uniform vec3 coordIncY;

in vec2 textureCoords;
out vec4 outColor;

void main()
{
    vec3 d = initialCoord + textureCoords.x * coordIncX + textureCoords.y * coordIncY;
    float s = atan(d.x, d.z) / 6.28318531 + 0.5;
    float t = atan(d.y, sqrt(d.x * d.x + d.z * d.z)) / 3.1415 + 0.5;
    vec2 gradientX = vec2(length(dFdx(d.xy)) / 6.28318531, dFdx(t));
    vec2 gradientY = vec2(length(dFdy(d.xy)) / 6.28318531, dFdy(t));
    outColor = textureGrad(textureSampler, vec2(s, t), gradientX, gradientY);
}
