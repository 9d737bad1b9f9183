#include "cli/ListCommand.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/CliTestSupport.h"
#include "common/MIDIManager.h"
#include "midi/VirtualMidiHub.h"

namespace velk::cli {
namespace {

using testing::StartsWith;

// "list" on the in-process service, the port manager's seam for tests and the simulator.
class List : public test::CliTest {
protected:
    void SetUp() override {
        CMIDIManager::setServiceProvider([this] { return hub.openService(); });
    }
    void TearDown() override { CMIDIManager::setServiceProvider(nullptr); }

    midi::VirtualMidiHub hub;
};

TEST_F(List, printsEveryEndpointWithItsIndexAndMarksTheAmplifiersAsTextOrJson) {
    EXPECT_EQ(run({"list"}), eExit_Done);
    EXPECT_THAT(out.str(), testing::HasSubstr("Sources:\n    none\nDestinations:\n    none\n"));

    auto keys = hub.addDevice("Keys", nullptr, {.source = true, .destination = false});
    auto amp = hub.addDevice("VelkSolvo/\"Ab\" 2", nullptr, {});
    EXPECT_EQ(run({"list"}), eExit_Done);
    EXPECT_EQ(out.str(),
              "MIDI service: in-process\nSources:\n     0  Keys\n  *  1  VelkSolvo/\"Ab\" 2\n"
              "Destinations:\n  *  0  VelkSolvo/\"Ab\" 2\n* the amplifier's ports (names containing "
              "\"VelkSolvo/\")\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(run({"--json", "list"}), eExit_Done);
    EXPECT_EQ(out.str(), R"({"service":"virtual","sources":[{"index":0,"name":"Keys","amplifier":false},)"
                         R"({"index":1,"name":"VelkSolvo/\"Ab\" 2","amplifier":true}],)"
                         R"("destinations":[{"index":0,"name":"VelkSolvo/\"Ab\" 2","amplifier":true}]})"
                         "\n");
}

TEST_F(List, saysWhyThereIsNoServiceAndFailsWithItsOwnStatus) {
    CMIDIManager::setServiceProvider([] { return std::shared_ptr<midi::MidiService>(); });
    testing::internal::CaptureStderr();  // the port manager's own diagnostic line
    EXPECT_EQ(run({"list", "--json"}), eExit_NotFound);
    EXPECT_EQ(out.str(), "{\"service\":null,\"reason\":\"no MIDI service provided\"}\n");
    EXPECT_EQ(err.str(), "velkctl: no MIDI service: no MIDI service provided.\n");

    if (!std::filesystem::exists("/dev/snd/seq")) {
        EXPECT_EQ(run({"list", "--midi", "alsa"}), eExit_NotFound);
        EXPECT_THAT(err.str(), StartsWith("velkctl: no MIDI service: no ALSA sequencer ("));
        EXPECT_EQ(out.str(), "");
    }
    testing::internal::GetCapturedStderr();
}

}  // namespace
}  // namespace velk::cli
