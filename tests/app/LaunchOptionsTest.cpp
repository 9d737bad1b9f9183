#include "app/LaunchOptions.h"

#include <gtest/gtest.h>

#include "AppTestSupport.h"

namespace {

std::optional<LaunchOptions> parse(QStringList arguments, QString* error = nullptr) {
    velk::test::editorApplication();
    arguments.prepend(QStringLiteral("velk-vovezid"));
    QString why;
    std::optional<LaunchOptions> options = LaunchOptions::parse(arguments, why);
    if (error)
        *error = why;
    return options;
}

TEST(LaunchOptions, noArgumentsLookForARealAmplifierOnTheAutomaticService) {
    const std::optional<LaunchOptions> options = parse({});
    ASSERT_TRUE(options);
    EXPECT_FALSE(options->simulate);
    EXPECT_FALSE(options->midi);
    EXPECT_TRUE(options->screenshot.isEmpty());
}

TEST(LaunchOptions, simulateNamesTheHead) {
    EXPECT_EQ(parse({QStringLiteral("--simulate"), QStringLiteral("dual")})->simulate,
              velk::sim::HeadModel::Dual);
    EXPECT_EQ(parse({QStringLiteral("--simulate=single")})->simulate, velk::sim::HeadModel::Single);
}

TEST(LaunchOptions, unknownHeadOrServiceIsRefusedWithAReason) {
    QString error;
    EXPECT_FALSE(parse({QStringLiteral("--simulate"), QStringLiteral("triple")}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("triple")));
    EXPECT_FALSE(parse({QStringLiteral("--midi"), QStringLiteral("coremidi")}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("coremidi")));
}

TEST(LaunchOptions, midiAndScreenshotAreTaken) {
    const std::optional<LaunchOptions> options =
        parse({QStringLiteral("--midi"), QStringLiteral("jack"), QStringLiteral("--screenshot"),
               QStringLiteral("a.png")});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->midi, midi::ServiceChoice::Jack);
    EXPECT_EQ(options->screenshot, QStringLiteral("a.png"));
}

TEST(LaunchOptions, screenshotIsSeenBeforeTheApplicationExists) {
    char program[] = "velk-vovezid", flag[] = "--screenshot", file[] = "x.png",
         joined[] = "--screenshot=x.png", other[] = "--simulate";
    char* separate[] = {program, flag, file, nullptr};
    char* together[] = {program, joined, nullptr};
    char* without[] = {program, other, file, nullptr};
    EXPECT_TRUE(LaunchOptions::wantsScreenshot(3, separate));
    EXPECT_TRUE(LaunchOptions::wantsScreenshot(2, together));
    EXPECT_FALSE(LaunchOptions::wantsScreenshot(3, without));
}

}  // namespace
