// quarnex-loadgen: plays many games against a match server and measures it
// (see docs/online.md).
#include <iostream>

#include "tools/loadgen/LoadGen.h"
#include "tools/loadgen/LoadOptions.h"

int main(int argc, char** argv) {
    qx::loadgen::LoadOptions options;
    std::string error;
    if (!qx::loadgen::LoadOptions::Parse(argc, argv, options, error)) {
        std::cerr << "quarnex-loadgen: " << error << '\n' << qx::loadgen::LoadOptions::Usage();
        return 2;
    }
    qx::loadgen::LoadGen load(options);
    return load.Run(std::cout);
}
