#ifdef GL_ES
precision mediump float;
#endif
varying lowp vec4 v_color;
uniform highp mat4 u_m;
void main() { gl_FragColor = v_color; }
