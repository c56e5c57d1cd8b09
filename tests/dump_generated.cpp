// Writes every generated file in every state of its own flags, both modes, into a folder,
// so that xmllint can check each one.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "engine/generators.h"
#include "tests/fakes/fake_platform.h"
#include "tests/template_test_support.h"

int main(int argc, char** argv) {
  using namespace kelvane;
  if (argc != 2)
    return 64;
  const std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);
  TemplateDirResources resources(KELVANE_TEMPLATE_DIR);
  for (const TargetFile& t : kTargetFiles) {
    const std::string text = resources.Load(kTemplateType, t.template_id).value();
    const std::string ext = t.path.ends_with(".dtd") ? ".dtd" : ".box";
    auto states = testing::OwnStates(t.template_id, testing::Custom());
    states.push_back(testing::Standard());
    for (const TweakOptions& options : states) {
      const std::string generated = FillTemplate(t.generator->table(), text, options);
      const auto name = out / (std::to_string(t.template_id) + "_" +
                               std::to_string(std::hash<std::string>{}(generated)) + ext);
      if (!std::filesystem::exists(name))
        std::ofstream(name, std::ios::binary) << generated;
    }
  }
  return 0;
}
