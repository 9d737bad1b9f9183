#include <QCoreApplication>

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandDispatcher.h"
#include "strings/StringTable.h"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (!velk::strings::install())
        std::fprintf(stderr, "velkctl: the string table is missing; messages show their keys\n");
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    try {
        return velk::cli::makeVelkctl().run(arguments, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velkctl: %s\n", e.what());
        return EXIT_FAILURE;
    }
}
