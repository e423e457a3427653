// quarnex-loadgen: plays many games against a match server and measures it
// (see docs/online.md).
#include <exception>
#include <iostream>

#include "tools/loadgen/LoadGen.h"
#include "tools/loadgen/LoadOptions.h"
#include "tools/loadgen/RoomFiller.h"

namespace {

int Run(int argc, char** argv) {
    qx::loadgen::LoadOptions options;
    std::string error;
    if (!qx::loadgen::LoadOptions::Parse(argc, argv, options, error)) {
        std::cerr << "quarnex-loadgen: " << error << '\n' << qx::loadgen::LoadOptions::Usage();
        return 2;
    }
    if (options.help) {
        std::cout << qx::loadgen::LoadOptions::Usage() << "See docs/online.md.\n";
        return 0;
    }
    if (options.fill > 0) {
        boost::asio::io_context io;
        qx::loadgen::EnetClientHost host(io, 4 * options.fill, options.bind);
        qx::loadgen::RoomFiller filler(io, host, options);
        std::cout << "filling " << options.fill << " rooms: " << filler.Run() << " packets sent"
                  << std::endl;
        return 0;
    }
    qx::loadgen::LoadGen load(options);
    return load.Run(std::cout);
}

}  // namespace

// A failure of the system underneath (no sockets, no memory) is said, not
// thrown out of main.
int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "quarnex-loadgen: " << e.what() << '\n';
        return 1;
    }
}
