// Runs a fuzz target without libFuzzer: every file of the corpus folders
// given on the command line, then a fixed number of deterministic mutations of
// them. Lets the ordinary test suite keep each target exercised.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// When QUORVANT_FUZZ_LAST names a file, each input is written there before it
// runs, so that the one that crashed can be kept as a regression file.
void Run(const std::string& input) {
  if (const char* last = std::getenv("QUORVANT_FUZZ_LAST")) {
    std::ofstream(last, std::ios::binary | std::ios::trunc) << input;
  }
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

std::string Mutate(std::string s, std::mt19937& random) {
  const int edits = 1 + static_cast<int>(random() % 8);
  for (int e = 0; e < edits; ++e) {
    const size_t at = s.empty() ? 0 : random() % (s.size() + 1);
    switch (random() % 5) {
      case 0:
        if (at < s.size()) s[at] = static_cast<char>(random());
        break;
      case 1:
        s.insert(at, 1, "\"',|=[]\r\n~&0 \x00\xff"[random() % 16]);
        break;
      case 2:
        if (at < s.size()) s.erase(at, 1 + random() % 16);
        break;
      case 3:
        s.insert(at, s.substr(random() % (s.size() + 1), random() % 64));
        break;
      default:
        s.resize(at);
        break;
    }
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  int mutations = 2000;
  std::vector<std::string> seeds;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.starts_with("--mutations=")) {
      mutations = std::atoi(arg.c_str() + 12);
      continue;
    }
    for (const auto& entry : std::filesystem::directory_iterator(arg)) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      seeds.push_back(text.str());
    }
  }
  if (seeds.empty()) seeds.push_back("");
  for (const std::string& seed : seeds) Run(seed);
  std::mt19937 random(12345);
  for (int i = 0; i < mutations; ++i) Run(Mutate(seeds[random() % seeds.size()], random));
  std::printf("%zu seeds and %d mutations ran cleanly\n", seeds.size(), mutations);
  return 0;
}
