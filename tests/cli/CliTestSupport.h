#pragma once

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include <sstream>

#include "cli/CommandDispatcher.h"
#include "strings/StringTable.h"

namespace velk::cli::test {

// velkctl in the test's process. Its texts come from the string table, which needs a running
// application.
class CliTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "cli_tests";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
        ASSERT_TRUE(velk::strings::install());
    }

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
