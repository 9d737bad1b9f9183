#pragma once

#include <gtest/gtest.h>
#include <QJsonDocument>
#include <QJsonObject>

#include <sstream>

#include "cli/CommandDispatcher.h"

namespace velk::cli::test {

// velkctl in the test's process.
class CliTest : public testing::Test {
protected:
    // Runs one command line; what it printed is in `out` and `err`.
    int run(const std::vector<std::string>& arguments,
            const Environment& environment = platformEnvironment()) {
        out.str("");
        err.str("");
        return makeVelkctl(environment).run(arguments, out, err);
    }

    std::ostringstream out, err;
};

inline QJsonObject jsonObject(const std::string& text) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

inline std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

}  // namespace velk::cli::test
