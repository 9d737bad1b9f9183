#include "cli/ListCommand.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/CliTestSupport.h"
#include "cli/CommandDispatcher.h"
#include "common/MIDIManager.h"
#include "midi/VirtualMidiHub.h"

namespace {

using namespace velk::cli;

// "list" on the in-process service, the port manager's seam for tests and the simulator.
class List : public CliTest {
protected:
    void SetUp() override {
        CMIDIManager::setServiceProvider([this] { return hub.openService(); });
    }
    void TearDown() override { CMIDIManager::setServiceProvider(nullptr); }

    int run(const std::vector<std::string>& arguments) { return makeVelkctl().run(arguments, out, err); }
    std::unique_ptr<midi::VirtualDevice> addDevice(const std::string& name,
                                                   midi::VirtualDeviceSides sides = {}) {
        return hub.addDevice(name, nullptr, sides);
    }

    midi::VirtualMidiHub hub;
    std::ostringstream out, err;
};

TEST_F(List, printsEveryEndpointWithItsIndexAndMarksTheAmplifiers) {
    auto keys = addDevice("Keys", {.source = true, .destination = false});
    auto amp = addDevice("VelkSolvo/Ab 2");

    EXPECT_EQ(run({"list"}), eExit_Done);

    EXPECT_EQ(out.str(),
              "MIDI service: in-process\n"
              "Sources:\n"
              "     0  Keys\n"
              "  *  1  VelkSolvo/Ab 2\n"
              "Destinations:\n"
              "  *  0  VelkSolvo/Ab 2\n"
              "* the amplifier's ports (names containing \"VelkSolvo/\")\n");
    EXPECT_EQ(err.str(), "");
}

TEST_F(List, saysWhenThereIsNothingToList) {
    EXPECT_EQ(run({"list"}), eExit_Done);
    EXPECT_THAT(out.str(), testing::HasSubstr("Sources:\n    none\nDestinations:\n    none\n"));
}

TEST_F(List, printsJsonForScripts) {
    auto amp = addDevice("VelkSolvo/\"Ab\"", {.source = true, .destination = false});
    auto other = addDevice("Synth", {.source = false, .destination = true});

    EXPECT_EQ(run({"list", "--json"}), eExit_Done);

    EXPECT_EQ(out.str(),
              "{\"service\":\"virtual\",\"sources\":[{\"index\":0,\"name\":\"VelkSolvo/"
              "\\\"Ab\\\"\",\"amplifier\":true}],"
              "\"destinations\":[{\"index\":0,\"name\":\"Synth\",\"amplifier\":false}]}\n");
}

TEST_F(List, saysWhyThereIsNoServiceAndFailsWithItsOwnStatus) {
    CMIDIManager::setServiceProvider([] { return std::shared_ptr<midi::MidiService>(); });
    testing::internal::CaptureStderr();  // the port manager's own diagnostic line

    EXPECT_EQ(run({"list", "--json"}), eExit_NotFound);

    testing::internal::GetCapturedStderr();
    EXPECT_EQ(out.str(), "{\"service\":null,\"reason\":\"no MIDI service provided\"}\n");
    EXPECT_EQ(err.str(), "velkctl: no MIDI service: no MIDI service provided.\n");
}

TEST_F(List, forcedAlsaWithoutASequencerSaysWhy) {
    if (std::filesystem::exists("/dev/snd/seq"))
        GTEST_SKIP() << "this machine has an ALSA sequencer";
    testing::internal::CaptureStderr();

    EXPECT_EQ(run({"list", "--midi", "alsa"}), eExit_NotFound);

    testing::internal::GetCapturedStderr();
    EXPECT_THAT(err.str(), testing::StartsWith("velkctl: no MIDI service: no ALSA sequencer ("));
    EXPECT_EQ(out.str(), "");
}

TEST_F(List, refusesAnUnknownServiceAndExtraArguments) {
    EXPECT_EQ(run({"list", "--midi", "coremidi"}), eExit_Usage);
    EXPECT_THAT(err.str(), testing::HasSubstr("the MIDI service must be \"auto\", \"alsa\" or \"jack\", not "
                                              "\"coremidi\"."));
    EXPECT_EQ(run({"list", "ports"}), eExit_Usage);
    EXPECT_THAT(err.str(), testing::HasSubstr("unexpected argument \"ports\"."));
}

TEST_F(List, isInTheOverview) {
    EXPECT_EQ(run({"--help"}), eExit_Done);
    EXPECT_THAT(out.str(), testing::HasSubstr("velkctl list [--midi auto|alsa|jack] [--json]"));
}

}  // namespace
