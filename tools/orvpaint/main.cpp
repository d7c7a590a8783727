// orvpaint: a command-line host for the engine. It uses only the exported interface.
//
//   orvpaint play SCRIPT [-o OUT] [--size WxH] [--canvas IMAGE] [--seed N]
//   orvpaint demo [-o OUT]
//   orvpaint compose -o OUT [--zoom Z] IMAGE[:MODE[:OPACITY]]...
//   orvpaint info FILE
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "commands.h"

using namespace orvpaint;

namespace {

const char* kUsage =
    "usage: orvpaint COMMAND [OPTIONS]\n"
    "\n"
    "commands:\n"
    "  play SCRIPT   paint a paint script onto a new page and write the picture\n"
    "  demo          paint the built-in demonstration script and write the picture\n"
    "  compose       stack image files as layers with blend modes and write the composite\n"
    "  info FILE     print the size, resolution and alpha of an image file\n"
    "\n"
    "'orvpaint COMMAND --help' describes a command.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    const std::string cmd = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    if (cmd == "play") return cmdPlay(args);
    if (cmd == "demo") return cmdDemo(args);
    if (cmd == "compose") return cmdCompose(args);
    if (cmd == "info") return cmdInfo(args);
    std::fprintf(stderr, "orvpaint: unknown command '%s' (try orvpaint --help)\n", cmd.c_str());
    return 2;
}
