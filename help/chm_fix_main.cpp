// velquior_chm_fix INPUT.chm OUTPUT.chm [STAGE]: the help compiler's output
// made fit to ship (see chm_repack.h). The output appears only once it has
// been read back and found whole; any fault fails the build with its reason.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "help/chm_repack.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: velquior_chm_fix INPUT.chm OUTPUT.chm [STAGING_FOLDER]\n");
    return 2;
  }
  const std::filesystem::path input = argv[1];
  const std::filesystem::path output = argv[2];
  const std::string stage = argc == 4 ? argv[3] : "";
  std::filesystem::path partial = output;
  partial += ".part";
  try {
    const std::string bytes = velquior::help::RepackChm(input, stage);
    {
      std::ofstream out(partial, std::ios::binary | std::ios::trunc);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      if (!out.flush()) throw std::runtime_error("cannot write " + partial.string());
    }
    velquior::help::CheckRepacked(input, partial, stage);
    std::filesystem::rename(partial, output);
  } catch (const std::exception& e) {
    std::error_code ec;
    std::filesystem::remove(partial, ec);
    std::fprintf(stderr, "velquior_chm_fix: %s: %s\n", input.string().c_str(), e.what());
    return 1;
  }
  return 0;
}
