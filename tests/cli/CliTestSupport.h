#pragma once

#include <gtest/gtest.h>
#include <QCoreApplication>

#include "strings/StringTable.h"

// The command line's texts come from the string table, which needs a running application.
class CliTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "cli_tests";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
        ASSERT_TRUE(velk::strings::install());
    }
};
