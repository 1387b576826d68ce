#version 430 core
// Depth only: the shadow framebuffer has no colour buffer.
void main() {
}
