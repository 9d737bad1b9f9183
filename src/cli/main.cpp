#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandDispatcher.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    try {
        return velk::cli::makeVelkctl().run(arguments, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velkctl: %s\n", e.what());
        return EXIT_FAILURE;
    }
}
