// Writes the replay fuzzer's seed files into the folder given: a replay of
// every kind of event and a few damaged ones.
#include <fstream>
#include <iostream>
#include <string>

namespace {

const char* const kSeeds[] = {
    ("quarnex-replay 1\nseed 4294967295\nplayers human computer\nticks 40\n0 R N Ahc\n"
     "3 T-2147483648,2147483647 Ff Fd Fu Fn K0 K13 Nch Ncc R\n39 R | R E R Ahh\n"
     "end 00ff00ff00ff00ff\n"),
    ("quarnex-replay 1\nseed 5\nplayers human computer\nticks 900\n0 R N Ahc\n"
     "807 | E Ach\nend 0123456789abcdef\n"),
    "quarnex-replay 1\nseed 1\nplayers computer computer\nticks 0\nend 0000000000000000\n",
    "quarnex-replay 1\nseed 2\nplayers human human\nticks 10\n0 N N N Ahh Ahh Ahh\nend",
    "quarnex-replay 2\n",
    ("quarnex-replay 2\nseed 7\nplayers human computer\nticks 130\n0 R N A\n60 K1\n"
     "check 60 0a0b0c0d\n61 | E\n75 Ach\ncheck 120 ffffffff\nend 00ff00ff00ff00ff\n"
     "digest 1b49bc3520a719b0\n"),
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_replay_seeds DIRECTORY\n";
        return 2;
    }
    int index = 0;
    for (const char* seed : kSeeds) {
        std::ofstream(std::string(argv[1]) + "/seed-" + std::to_string(index++) + ".qxr",
                      std::ios::binary)
            << seed;
    }
    return 0;
}
