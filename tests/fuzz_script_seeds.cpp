// Writes the seed corpus of fuzz_script into the folder given as the argument:
// the standard command table, a constant table and scripts using every command.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  const std::string commands =
      "0 Color\r\n1 Blend\r\n2 Draw\r\n3 ZPass\r\n4 UseTexture\r\n5 UseShader\r\n6 ZWrite\r\n"
      "7 Uniform1f\r\n8 Uniform4f\r\n9 UseDynamicTexture\r\n0xA CubemapSection\r\n013 AlphaTest\r\n12 Odd\r\n";
  const std::string constants = "ALPHA 2\r\nHALF 0.5\r\nUNIT 1\r\n";
  const std::string scripts[] = {
      "Color 1 0.5 HALF\r\nBlend ALPHA\r\nZPass 1\r\nZWrite 0\r\nAlphaTest 0.25\r\nDraw\r\n",
      "UseTexture 0 a.tga\r\nUseTexture UNIT b.tga\r\nUseTexture 2 NONE\r\nDraw\r\n",
      "// comment\r\nUseShader a.vs\r\nUniform1f u 1\r\nUseShader NONE\r\nUniform4f v 1 2 3 4\r\nDraw\r\n",
      "UseDynamicTexture 0\r\nDraw\r\nCubemapSection\r\nColor 0 0 0\r\nDraw\r\n; end",
      "Odd 1 2 Unknown Draw",
  };
  int n = 0;
  for (const std::string& script : scripts) {
    std::string input = commands + '\0' + constants + '\0' + script;
    std::string path = std::string(argv[1]) + "/seed" + std::to_string(n++) + ".txt";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 1;
    std::fwrite(input.data(), 1, input.size(), f);
    std::fclose(f);
  }
  return 0;
}
