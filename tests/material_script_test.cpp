#include "render/material_script.h"

#include "render/material_tables.h"
#include "render_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using render_test::logLines;

// Stand-ins for the texture and shader objects; only their addresses matter.
Texture* const kWood = reinterpret_cast<Texture*>(0x1000);
ShaderProgram* const kGlass = reinterpret_cast<ShaderProgram*>(0x2000);
ShaderProgram* const kChrome = reinterpret_cast<ShaderProgram*>(0x3000);

// Knows one texture, two shaders (glass has "shine", chrome has "tint") and
// records what the compiler asked for.
class FakeHost : public ScriptHost {
 public:
  Texture* GetTexture(const char* path) override {
    texturePaths.push_back(path);
    return std::string(path) == "data\\textures\\wood.tga" ? kWood : nullptr;
  }
  ShaderProgram* GetShader(const char* path) override {
    std::string p(path);
    if (p == "data\\shaders\\glass.vs") return kGlass;
    if (p == "data\\shaders\\chrome.vs") return kChrome;
    return nullptr;
  }
  int GetUniformLocation(ShaderProgram* program, const char* name) override {
    std::string n(name);
    if (program == kGlass && n == "shine") return 7;
    if (program == kChrome && n == "tint") return 9;
    return -1;
  }
  void CreateDynamicCubemap(int id) override { cubemapIds.push_back(id); }

  std::vector<std::string> texturePaths;
  std::vector<int> cubemapIds;
};

const char kCommands[] =
    "0 Color\r\n1 Blend\r\n2 Draw\r\n3 ZPass\r\n4 UseTexture\r\n5 UseShader\r\n6 ZWrite\r\n"
    "7 Uniform1f\r\n8 Uniform4f\r\n9 UseDynamicTexture\r\n10 CubemapSection\r\n11 AlphaTest\r\n"
    "12 Future\r\n";
const char kConstants[] = "ALPHA 2\r\nHALF 0.5\r\n";

class ScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(parseCommandTable(reinterpret_cast<const uint8_t*>(kCommands), sizeof kCommands - 1, tables, why));
    ASSERT_TRUE(
        parseConstantTable(reinterpret_cast<const uint8_t*>(kConstants), sizeof kConstants - 1, tables, why));
  }

  void compile(const std::string& text, int cubemapId = 0) {
    compileMaterialScript(reinterpret_cast<const uint8_t*>(text.data()), text.size(), tables, host, cubemapId,
                          script);
  }

  std::vector<const MaterialCommand*> commands() const {
    std::vector<const MaterialCommand*> list;
    for (const MaterialCommand* c : script.commands) list.push_back(c);
    return list;
  }

  render_test::ScratchFolder scratch;
  MaterialTables tables;
  FakeHost host;
  MaterialScript script;
};

}  // namespace

TEST_F(ScriptTest, EmptyScriptHasNoCommands) {
  compile("");
  EXPECT_EQ(script.commands.size(), 0);
  EXPECT_EQ(render_test::logText(), "Log started");
}

TEST_F(ScriptTest, SingleDrawWithLineEndIsOneCommandAndNoMessage) {
  compile("Draw\r\n");
  ASSERT_EQ(script.commands.size(), 1);
  EXPECT_EQ(commands()[0]->opcode, kOpDraw);
  EXPECT_EQ(render_test::logText(), "Log started");
}

TEST_F(ScriptTest, CommentsRunToTheCarriageReturnOrTheEnd) {
  compile("ZWrite 0\r\n// Blend 1 is not read\r\nDraw\r\n; Blend 2 at the end");
  ASSERT_EQ(script.commands.size(), 2);
  EXPECT_EQ(commands()[0]->opcode, kOpZWrite);
  EXPECT_EQ(commands()[1]->opcode, kOpDraw);
  // A comment token glued to the next word still ends at the carriage return.
  MaterialScript second;
  compileMaterialScript(reinterpret_cast<const uint8_t*>("/x Draw\rDraw"), 12, tables, host, 0, second);
  EXPECT_EQ(second.commands.size(), 1);
}

TEST_F(ScriptTest, UnknownKeywordConsumesOnlyItself) {
  compile("Sparkle 1 2\r\nDraw");
  EXPECT_EQ(logLines("Material: Unknown command \"Sparkle\""), 1);
  EXPECT_EQ(logLines("Material: Unknown command \"1\""), 1);
  EXPECT_EQ(logLines("Material: Unknown command \"2\""), 1);
  ASSERT_EQ(script.commands.size(), 1);
}

TEST_F(ScriptTest, OpcodeBeyondTheLastIsDiscarded) {
  compile("Future Draw");
  EXPECT_EQ(logLines("Material: Unknown opcode 12"), 1);
  ASSERT_EQ(script.commands.size(), 1);
  EXPECT_EQ(commands()[0]->opcode, kOpDraw);
}

TEST_F(ScriptTest, NumericArgumentsTakeConstantsHexOctalAndDefaultToZero) {
  compile("Blend ALPHA Blend 0x2 Blend 010 Blend shiny AlphaTest HALF Color 1 0.25 junk");
  std::vector<const MaterialCommand*> c = commands();
  ASSERT_EQ(c.size(), 6u);
  EXPECT_EQ(c[0]->intArg, 2);
  EXPECT_EQ(c[1]->intArg, 2);
  EXPECT_EQ(c[2]->intArg, 8);
  EXPECT_EQ(c[3]->intArg, 0);
  EXPECT_EQ(c[4]->floatArgs[0], 0.5f);
  EXPECT_EQ(c[5]->floatArgs[0], 1.0f);
  EXPECT_EQ(c[5]->floatArgs[1], 0.25f);
  EXPECT_EQ(c[5]->floatArgs[2], 0.0f);
}

TEST_F(ScriptTest, TextureNamesAreLookedUpUnderTheTextureFolder) {
  compile("UseTexture 0 NONE UseTexture 1 wood.tga UseTexture 2 rust.tga");
  std::vector<const MaterialCommand*> c = commands();
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0]->resource, nullptr);
  EXPECT_EQ(c[1]->intArg, 1);
  EXPECT_EQ(c[1]->resource, kWood);
  EXPECT_EQ(c[2]->resource, nullptr);
  // "NONE" is not looked up; the names are not constant-substituted.
  EXPECT_EQ(host.texturePaths, (std::vector<std::string>{"data\\textures\\wood.tga", "data\\textures\\rust.tga"}));
  EXPECT_EQ(logLines("Error: Texture \"data\\textures\\rust.tga\" not found"), 1);
}

TEST_F(ScriptTest, OutOfRangeUnitsAndOverlongTokensAreRejected) {
  compile("UseTexture 8 wood.tga UseDynamicTexture -1 " + std::string(64, 'a') + " " + std::string(63, 'b') +
          " Draw");
  EXPECT_EQ(logLines("Material: Texture unit 8 out of range, command ignored"), 1);
  EXPECT_EQ(logLines("Material: Texture unit -1 out of range, command ignored"), 1);
  EXPECT_EQ(logLines("Material: Token longer than 63 bytes ignored"), 1);
  EXPECT_EQ(logLines("Material: Unknown command \"" + std::string(63, 'b') + "\""), 1);
  EXPECT_TRUE(host.texturePaths.empty());
  EXPECT_TRUE(host.cubemapIds.empty());
  EXPECT_FALSE(script.hasDynamicCubemap);
  ASSERT_EQ(script.commands.size(), 1);
}

TEST_F(ScriptTest, DynamicTextureAndCubemapSectionSetTheFlags) {
  compile("UseDynamicTexture 1 CubemapSection Draw", 42);
  EXPECT_TRUE(script.hasDynamicCubemap);
  EXPECT_TRUE(script.hasCubemapSection);
  EXPECT_EQ(host.cubemapIds, std::vector<int>{42});
  EXPECT_EQ(commands()[0]->intArg, 1);
}

#if STRAVO_GLSL
TEST_F(ScriptTest, UniformsAreLookedUpInTheLastNamedShader) {
  compile(
      "Uniform1f shine 1\r\n"
      "UseShader glass.vs\r\n"
      "Uniform1f shine 0.5\r\n"
      "UseShader NONE\r\n"
      "Uniform4f shine 1 2 3 4\r\n"
      "Uniform1f dull 1\r\n"
      "UseShader missing.vs\r\n"
      "Uniform1f shine 1\r\n");
  std::vector<const MaterialCommand*> c = commands();
  ASSERT_EQ(c.size(), 8u);
  EXPECT_EQ(c[0]->intArg, -1);
  EXPECT_EQ(c[1]->resource, kGlass);
  EXPECT_EQ(c[2]->intArg, 7);
  EXPECT_EQ(c[2]->floatArgs[0], 0.5f);
  EXPECT_EQ(c[3]->resource, nullptr);
  // After "NONE" the uniform is still found in glass.
  EXPECT_EQ(c[4]->intArg, 7);
  EXPECT_EQ(c[4]->floatArgs[3], 4.0f);
  EXPECT_EQ(c[5]->intArg, -1);
  EXPECT_EQ(c[7]->intArg, -1);
  EXPECT_EQ(logLines("Error: Uniforms (\"shine\") must go after UseShader"), 2);
  EXPECT_EQ(logLines("Error: Uniform \"dull\" not found"), 1);
  EXPECT_EQ(logLines("Error: Shader \"data\\shaders\\missing.vs\" not found"), 1);
}
#else
TEST_F(ScriptTest, WithoutShadersUniformsGetLocationZeroSilently) {
  compile("UseShader missing.vs Uniform1f shine 0.5 Draw");
  std::vector<const MaterialCommand*> c = commands();
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[1]->intArg, 0);
  EXPECT_EQ(c[1]->floatArgs[0], 0.5f);
  EXPECT_EQ(logLines("Error: Shader \"data\\shaders\\missing.vs\" not found"), 1);
  EXPECT_EQ(logLines("Error: Uniforms (\"shine\") must go after UseShader"), 0);
}
#endif

TEST(MaterialTables, IntegersReadAsPercentIWithHexAndOctal) {
  const char text[] = "0x0A Ten\n012 AlsoTen\n-3 Minus 4Glued 2 Draw 5 Draw";
  MaterialTables tables;
  std::string why;
  ASSERT_TRUE(parseCommandTable(reinterpret_cast<const uint8_t*>(text), sizeof text - 1, tables, why));
  EXPECT_EQ(tables.FindCommand("Ten"), 10);
  EXPECT_EQ(tables.FindCommand("AlsoTen"), 10);
  EXPECT_EQ(tables.FindCommand("Minus"), -3);
  EXPECT_EQ(tables.FindCommand("Glued"), 4);
  // The first of two equal keywords wins; lookups are exact.
  EXPECT_EQ(tables.FindCommand("Draw"), 2);
  EXPECT_EQ(tables.FindCommand("draw"), -1);
}

TEST(MaterialTables, MalformedTablesKeepWhatCameBefore) {
  render_test::ScratchFolder scratch;
  const char commands[] = "2 Draw\r\nDraw 3\r\n4 Late";
  MaterialTables tables;
  std::string why;
  EXPECT_FALSE(parseCommandTable(reinterpret_cast<const uint8_t*>(commands), sizeof commands - 1, tables, why));
  EXPECT_EQ(tables.commands.size(), 1);
  std::string longName = std::string(64, 'n') + " 1 SHORT 2\r\nODD";
  EXPECT_FALSE(parseConstantTable(reinterpret_cast<const uint8_t*>(longName.data()), longName.size(), tables, why));
  ASSERT_EQ(tables.constants.size(), 1);
  EXPECT_STREQ(tables.SubstituteConstant("SHORT"), "2");
  EXPECT_STREQ(tables.SubstituteConstant("OTHER"), "OTHER");
  EXPECT_EQ(logLines("MatRenderer: Skipping a table entry with a token longer than 63 bytes"), 1);
}
