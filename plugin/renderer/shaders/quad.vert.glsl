#version 330

// Full-screen quad: (0,0)-(1,1) covers the viewport.
layout(location = 0) in vec4 inPosition;

out vec2 textureCoords;

void main()
{
    gl_Position = vec4(inPosition.xy * 2.0 - 1.0, 0.0, 1.0);
    textureCoords = inPosition.xy;
}
