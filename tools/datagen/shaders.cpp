#include "tools/datagen/shaders.h"

namespace {

// Shared by the lit programs: the light and the eye in the object's own frame
// (the renderer fills light0 and observer per object), the normal as the mesh gives it.
const char* const kLitVertex =
    "#version 110\n"
    "uniform vec3 light0;\n"
    "uniform vec3 observer;\n"
    "varying vec3 normal;\n"
    "varying vec3 toLight;\n"
    "varying vec3 toEye;\n"
    "void main() {\n"
    "  gl_Position = ftransform();\n"
    "  gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "  gl_FrontColor = gl_Color;\n"
    "  normal = gl_Normal;\n"
    "  toLight = light0 - gl_Vertex.xyz;\n"
    "  toEye = observer - gl_Vertex.xyz;\n"
    "}\n";

// params: x ambient, y diffuse, z specular, w shininess.
const char* const kLitFragment =
    "#version 110\n"
    "uniform sampler2D tex0;\n"
    "uniform vec4 lit_params;\n"
    "varying vec3 normal;\n"
    "varying vec3 toLight;\n"
    "varying vec3 toEye;\n"
    "void main() {\n"
    "  vec3 n = normalize(normal);\n"
    "  vec3 l = normalize(toLight);\n"
    "  vec3 e = normalize(toEye);\n"
    "  float diffuse = max(dot(n, l), 0.0);\n"
    "  float specular = pow(max(dot(reflect(-l, n), e), 0.0), lit_params.w);\n"
    "  vec4 base = texture2D(tex0, gl_TexCoord[0].st) * gl_Color;\n"
    "  gl_FragColor = vec4(base.rgb * (lit_params.x + lit_params.y * diffuse) + lit_params.z * specular, base.a);\n"
    "}\n";

// The rims reflect the fixed surroundings picture on unit 1, looked up by
// the reflected view direction in world coordinates.
const char* const kChromeVertex =
    "#version 110\n"
    "uniform vec3 light0;\n"
    "uniform vec3 observer;\n"
    "uniform mat3 direction_matrix;\n"
    "varying vec3 normal;\n"
    "varying vec3 toLight;\n"
    "varying vec3 toEye;\n"
    "varying vec3 worldReflect;\n"
    "void main() {\n"
    "  gl_Position = ftransform();\n"
    "  gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "  gl_FrontColor = gl_Color;\n"
    "  normal = gl_Normal;\n"
    "  toLight = light0 - gl_Vertex.xyz;\n"
    "  toEye = observer - gl_Vertex.xyz;\n"
    "  worldReflect = direction_matrix * reflect(-normalize(toEye), normalize(gl_Normal));\n"
    "}\n";

// params: x reflection head-on, y reflection at grazing angles, z specular, w shininess.
const char* const kChromeFragment =
    "#version 110\n"
    "uniform sampler2D tex0;\n"
    "uniform samplerCube cube1;\n"
    "uniform vec4 chrome_params;\n"
    "varying vec3 normal;\n"
    "varying vec3 toLight;\n"
    "varying vec3 toEye;\n"
    "varying vec3 worldReflect;\n"
    "void main() {\n"
    "  vec3 n = normalize(normal);\n"
    "  vec3 l = normalize(toLight);\n"
    "  vec3 e = normalize(toEye);\n"
    "  float diffuse = max(dot(n, l), 0.0);\n"
    "  float specular = pow(max(dot(reflect(-l, n), e), 0.0), chrome_params.w);\n"
    "  float facing = 1.0 - max(dot(n, e), 0.0);\n"
    "  float mirror = mix(chrome_params.x, chrome_params.y, facing * facing * facing);\n"
    "  vec3 base = texture2D(tex0, gl_TexCoord[0].st).rgb;\n"
    "  vec3 surroundings = textureCube(cube1, worldReflect).rgb;\n"
    "  vec3 lit = base * (0.35 + 0.75 * diffuse);\n"
    "  gl_FragColor = vec4(mix(lit, surroundings * base * 1.3, mirror) + chrome_params.z * specular, 1.0);\n"
    "}\n";

// The clear coat of the car's paint and glass. The light is far off, so its
// direction is taken per vertex; the reflected view direction too, turned
// into the dynamic cube map's layout, where every face is rendered turned
// 180 degrees about y: a world direction (x, y, z) is found at (-x, y, -z).
const char* const kCoatVertex =
    "#version 110\n"
    "uniform vec3 light0;\n"
    "uniform vec3 observer;\n"
    "uniform mat3 direction_matrix;\n"
    "varying vec3 normal;\n"
    "varying vec3 lightDir;\n"
    "varying vec3 toEye;\n"
    "varying vec3 mirrored;\n"
    "void main() {\n"
    "  gl_Position = ftransform();\n"
    "  normal = gl_Normal;\n"
    "  lightDir = normalize(light0 - gl_Vertex.xyz);\n"
    "  toEye = observer - gl_Vertex.xyz;\n"
    "  vec3 r = direction_matrix * reflect(-normalize(toEye), gl_Normal);\n"
    "  mirrored = vec3(-r.x, r.y, -r.z);\n"
    "}\n";

// A lit base colour under the surroundings, weighted by a Fresnel-like term
// from the head-on reflectance (colour.a) to the grazing one (params.w),
// rising with the cube of the grazing factor (a little earlier than
// Schlick's fifth power, so the mirror shows at the chase camera's angles);
// a sharp highlight of the light on top. One texture read; the
// highlight's power is five squarings (x^32), cheaper than pow on a software
// rasteriser. params: x ambient, y diffuse, z highlight.
const char* const kCoatFragment =
    "#version 110\n"
    "uniform samplerCube cube1;\n"
    "uniform vec4 coat_colour;\n"
    "uniform vec4 coat_params;\n"
    "varying vec3 normal;\n"
    "varying vec3 lightDir;\n"
    "varying vec3 toEye;\n"
    "varying vec3 mirrored;\n"
    "void main() {\n"
    "  vec3 n = normalize(normal);\n"
    "  vec3 e = normalize(toEye);\n"
    "  float diffuse = max(dot(n, lightDir), 0.0);\n"
    "  float grazing = 1.0 - max(dot(n, e), 0.0);\n"
    "  float fresnel = mix(coat_colour.a, coat_params.w, grazing * grazing * grazing);\n"
    "  float s = max(dot(reflect(-e, n), lightDir), 0.0);\n"
    "  s *= s;\n"
    "  s *= s;\n"
    "  s *= s;\n"
    "  s *= s;\n"
    "  s *= s;\n"
    "  vec3 base = coat_colour.rgb * (coat_params.x + coat_params.y * diffuse);\n"
    "  vec3 surroundings = textureCube(cube1, mirrored).rgb;\n"
    "  gl_FragColor = vec4(mix(base, surroundings, fresnel) + coat_params.z * s, 1.0);\n"
    "}\n";

// Road and ground: the base picture, the detail picture close by, light from
// the sun and haze far off. The road is seen at grazing angles, where
// mipmapping without anisotropic filtering (software rasterisers have none)
// washes its markings out: both its pictures are read from faces of a cube
// map (unit 2), which is sampled without mipmaps, as flat repeating
// pictures: the road from the positive-x face, where a face coordinate
// (s, t) lies in direction (1, 1 - 2t, 1 - 2s), the detail from the
// negative-x face, direction (-1, 1 - 2t, 2s - 1). Unfiltered, the fine
// detail would sparkle far off, so it fades with the squared distance, from
// full at 3 m to nothing at 10 m, about as mipmaps would have averaged it
// away; per fragment, as the road's triangles are metres wide. The ground is
// large and flat-ish, so the light, the sheen and the haze are worked out per
// vertex; a ground fragment reads one picture, a road fragment two.
// params: x ambient, y diffuse, z detail strength, w specular sheen.
const char* const kRoadVertex =
    "#version 110\n"
    "uniform vec3 light0;\n"
    "uniform vec3 observer;\n"
    "uniform vec4 ground_params;\n"
    "varying vec2 sheenHaze;\n"
    "varying vec3 toEye;\n"
    "void main() {\n"
    "  gl_Position = ftransform();\n"
    "  gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "  gl_TexCoord[1] = gl_MultiTexCoord1;\n"
    "  vec3 n = normalize(gl_Normal);\n"
    "  vec3 l = normalize(light0 - gl_Vertex.xyz);\n"
    "  toEye = observer - gl_Vertex.xyz;\n"
    "  float distance = length(toEye);\n"
    "  float diffuse = max(dot(n, l), 0.0);\n"
    "  float sheen = pow(max(dot(reflect(-l, n), toEye / distance), 0.0), 16.0) * ground_params.w;\n"
    "  gl_FrontColor = vec4(gl_Color.rgb * (ground_params.x + ground_params.y * diffuse), 1.0);\n"
    "  sheenHaze = vec2(sheen, clamp((distance - 180.0) / 700.0, 0.0, 0.55));\n"
    "}\n";

const char* const kRoadFragment =
    "#version 110\n"
    "uniform samplerCube cube2;\n"
    "uniform vec4 ground_params;\n"
    "varying vec2 sheenHaze;\n"
    "varying vec3 toEye;\n"
    "void main() {\n"
    "  vec2 face = fract(gl_TexCoord[0].st);\n"
    "  vec2 grain = fract(gl_TexCoord[1].st);\n"
    "  vec3 picture = textureCube(cube2, vec3(1.0, 1.0 - 2.0 * face.t, 1.0 - 2.0 * face.s)).rgb;\n"
    "  float detail = textureCube(cube2, vec3(-1.0, 1.0 - 2.0 * grain.t, 2.0 * grain.s - 1.0)).r * 2.0 - 1.0;\n"
    "  float near = clamp((100.0 - dot(toEye, toEye)) / 91.0, 0.0, 1.0);\n"
    "  vec3 colour = picture * gl_Color.rgb * (1.0 + ground_params.z * near * detail) + sheenHaze.x;\n"
    "  gl_FragColor = vec4(mix(colour, vec3(0.62, 0.70, 0.74), sheenHaze.y), 1.0);\n"
    "}\n";

// Grass and gravel carry their own fine grain: one picture, nothing else.
const char* const kGroundFragment =
    "#version 110\n"
    "uniform sampler2D tex0;\n"
    "varying vec2 sheenHaze;\n"
    "void main() {\n"
    "  vec3 colour = texture2D(tex0, gl_TexCoord[0].st).rgb * gl_Color.rgb + sheenHaze.x;\n"
    "  gl_FragColor = vec4(mix(colour, vec3(0.62, 0.70, 0.74), sheenHaze.y), 1.0);\n"
    "}\n";

const char* const kSkyVertex =
    "#version 110\n"
    "void main() {\n"
    "  gl_Position = ftransform();\n"
    "  gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "}\n";

const char* const kSkyFragment =
    "#version 110\n"
    "uniform sampler2D tex0;\n"
    "void main() {\n"
    "  gl_FragColor = vec4(texture2D(tex0, gl_TexCoord[0].st).rgb, 1.0);\n"
    "}\n";

// Trees: leaves let some light through, lit from both sides and darker
// toward the inside (the bark takes the same light); light and haze per
// vertex, as a tree is small on the screen.
const char* const kFoliageVertex =
    "#version 110\n"
    "uniform vec3 light0;\n"
    "uniform vec3 observer;\n"
    "varying float haze;\n"
    "void main() {\n"
    "  gl_Position = ftransform();\n"
    "  gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "  float wrap = dot(normalize(gl_Normal), normalize(light0 - gl_Vertex.xyz)) * 0.5 + 0.5;\n"
    "  gl_FrontColor = vec4(vec3(0.35 + 0.8 * wrap), 1.0);\n"
    "  haze = clamp((length(observer - gl_Vertex.xyz) - 180.0) / 700.0, 0.0, 0.5);\n"
    "}\n";

const char* const kFoliageFragment =
    "#version 110\n"
    "uniform sampler2D tex0;\n"
    "varying float haze;\n"
    "void main() {\n"
    "  vec4 base = texture2D(tex0, gl_TexCoord[0].st);\n"
    "  gl_FragColor = vec4(mix(base.rgb * gl_Color.rgb, vec3(0.62, 0.70, 0.74), haze), base.a);\n"
    "}\n";

// Skid marks and the shadow bring their own strength as forced colours; the
// darkening blend subtracts colour x picture from what is under them.
const char* const kDecalVertex =
    "#version 110\n"
    "void main() {\n"
    "  gl_Position = ftransform();\n"
    "  gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "  gl_FrontColor = gl_Color;\n"
    "}\n";

const char* const kSkidFragment =
    "#version 110\n"
    "uniform sampler2D tex0;\n"
    "void main() {\n"
    "  gl_FragColor = vec4(gl_Color.rgb * texture2D(tex0, vec2(gl_TexCoord[0].s, 0.0)).rgb, 1.0);\n"
    "}\n";

const char* const kShadowFragment =
    "#version 110\n"
    "uniform sampler2D tex0;\n"
    "void main() {\n"
    "  vec3 strength = gl_Color.rgb * texture2D(tex0, gl_TexCoord[0].st).rgb;\n"
    "  gl_FragColor = vec4(strength * strength * 1.4, 1.0);\n"
    "}\n";

}  // namespace

// The ghost car, drawn additively: a tint that brightens toward the outline
// (where the surface turns away from the eye) and on the lit side.
// params: rgb the tint, w its strength.
const char* const kGhostFragment =
    "#version 110\n"
    "uniform vec4 ghost_params;\n"
    "varying vec3 normal;\n"
    "varying vec3 toLight;\n"
    "varying vec3 toEye;\n"
    "void main() {\n"
    "  vec3 n = normalize(normal);\n"
    "  float facing = abs(dot(n, normalize(toEye)));\n"
    "  float rim = (1.0 - facing) * (1.0 - facing);\n"
    "  float diffuse = max(dot(n, normalize(toLight)), 0.0);\n"
    "  gl_FragColor = vec4(ghost_params.rgb * ghost_params.w * (0.3 + 0.4 * diffuse + 1.2 * rim), 1.0);\n"
    "}\n";

std::vector<ShaderPair> buildShaders() {
  return {
      {"lit", kLitVertex, kLitFragment},
      {"paint", kCoatVertex, kCoatFragment},
      {"chrome", kChromeVertex, kChromeFragment},
      {"road", kRoadVertex, kRoadFragment},
      {"ground", kRoadVertex, kGroundFragment},
      {"sky", kSkyVertex, kSkyFragment},
      {"foliage", kFoliageVertex, kFoliageFragment},
      {"skidmark", kDecalVertex, kSkidFragment},
      {"shadow", kDecalVertex, kShadowFragment},
      {"ghost", kLitVertex, kGhostFragment},
  };
}

void writeShaders(DataSetWriter& writer) {
  for (const ShaderPair& s : buildShaders()) {
    writeTextFile(writer, ("data\\shaders\\" + s.name + ".vs").c_str(), s.vertex);
    writeTextFile(writer, ("data\\shaders\\" + s.name + ".fs").c_str(), s.fragment);
  }
}
