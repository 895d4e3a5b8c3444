// tavrix-newdb PATH [--sample]: creates a new, empty party file at PATH (refusing an existing
// one); with --sample it holds a small party to try the program with.
#include "store/Error.h"
#include "store/PartySchema.h"

#include <cstring>
#include <iostream>
#include <string>

namespace {
const char* const usage =
    "usage: tavrix-newdb PATH [--sample]\n"
    "Creates a new party file at PATH; --sample adds a small party to try Tavrix with.\n";
}

int main(int argc, char** argv)
{
    std::string path;
    bool sample = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--sample") == 0)
            sample = true;
        else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << usage;
            return 0;
        }
        else if (path.empty())
            path = argv[i];
        else {
            std::cerr << "tavrix-newdb: one party file at a time (got '" << argv[i] << "' too)\n";
            return 2;
        }
    }
    if (path.empty()) {
        std::cerr << usage;
        return 2;
    }
    try {
        store::createPartyFile(path, sample);
    }
    catch (const store::Error& e) {
        std::cerr << "tavrix-newdb: " << e.what() << "\n";
        return 1;
    }
    std::cout << "Created " << path << (sample ? " with a sample party" : "") << "\n";
    return 0;
}
