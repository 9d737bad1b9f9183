// Every device command of velkctl against the simulated head on the in-process MIDI hub: what it
// prints, its exit status, and what the head holds afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <regex>
#include <thread>

#include "cli/CliTestSupport.h"
#include "cli/SimulatorFaults.h"
#include "common/VelkManager.h"
#include "eLibrary/AudioFileBuilder.h"
#include "midi/VirtualMidiHub.h"
#include "sim/AmpSimulator.h"
#include "sim/EditorMessages.h"
#include "sim/StockCabinets.h"
#include "sim/VirtualDevicePorts.h"

namespace velk::cli::test {
namespace {

using sim::HeadModel;
using sim::Request;

std::vector<int16_t> coefficientsOf(const FIRCOE& record) {
    return {std::begin(record.coe), std::end(record.coe)};
}

// The coefficients a file of `samples` gives: the samples, then zeros to 2048.
std::vector<int16_t> coefficientsOf(const std::vector<int32_t>& samples) {
    std::vector<int16_t> values(FIRCOE::kCoefficientCount, 0);
    std::copy(samples.begin(), samples.end(), values.begin());
    return values;
}

// velkctl on the in-process MIDI hub, where the test plugs in a simulated head.
class DeviceCommands : public CliTest {
protected:
    void SetUp() override {
        left = testaudio::noise(300, 16, 7);
        right = testaudio::noise(300, 16, 8);
        std::vector<int32_t> interleaved;
        for (size_t i = 0; i < left.size(); ++i)
            interleaved.insert(interleaved.end(), {left[i], right[i]});
        stereoFile = files.write("Closed Back 4x12.wav",
                                 testaudio::wavFile({.channels = 2}, testaudio::wavSamples(16, interleaved)));
    }

    Environment environment() {
        Environment environment;
        environment.openService = [this](midi::ServiceChoice) {
            return midi::ServiceSelection{hub.openService(), ""};
        };
        environment.interactive = interactive;
        return environment;
    }

    void plugHead(HeadModel model = HeadModel::Dual, uint16_t mainVersion = 110,
                  const std::string& portName = {}) {
        head = std::make_unique<sim::AmpSimulator>(std::make_unique<sim::VirtualDevicePorts>(hub),
                                                   sim::AmpSimulator::Options{model, mainVersion, portName});
        ASSERT_EQ(head->plug(), 0);
    }

    int run(const std::vector<std::string>& arguments) { return CliTest::run(arguments, environment()); }

    midi::VirtualMidiHub hub;
    std::unique_ptr<sim::AmpSimulator> head;
    bool interactive = false;
    testaudio::TempDir files;
    std::vector<int32_t> left, right;
    std::string stereoFile;
};

TEST_F(DeviceCommands, infoReportsModelFirmwareAndWhetherTheFxLoopConnectionSettingExists) {
    // The firmware bounds of the setting are the window's test table; these show the command uses them.
    const std::tuple<HeadModel, int, bool> heads[] = {
        {HeadModel::Dual, 41, false}, {HeadModel::Dual, 110, true}, {HeadModel::Single, 110, false}};
    for (const auto& [model, mainVersion, fxLoopConnection] : heads) {
        plugHead(model, static_cast<uint16_t>(mainVersion));
        ASSERT_EQ(run({"--json", "info"}), 0) << err.str();
        EXPECT_EQ(out.str(), std::string(model == HeadModel::Dual ? R"({"model":"dual","amps":2)"
                                                                  : R"({"model":"single","amps":1)") +
                                 ",\"mainVersion\":" + std::to_string(mainVersion) +
                                 ",\"fxLoopConnection\":" + (fxLoopConnection ? "true" : "false") + "}\n");
        EXPECT_EQ(err.str(), "");
    }
    plugHead(HeadModel::Single, 47);
    ASSERT_EQ(run({"info"}), 0) << err.str();
    EXPECT_EQ(out.str(),
              "Model: single-amp head (Amp I)\nMain firmware version: 47\n"
              "FX loop send/return connection setting: not available\n");
}

TEST_F(DeviceCommands, dumpShowsWhatTheFullReadFound) {
    plugHead();
    head->editState(sim::test::personalise);
    ASSERT_EQ(run({"dump", "--json"}), 0) << err.str();
    EXPECT_EQ(
        out.str(),
        R"({"model":"dual","mainVersion":110,"amps":[{"amp":1,"ampType":2,"booster":"green","fxLoop":true,)"
        R"("reverb":"hall","noiseGate":2,"playing":{"slot":2,"amp":1,"ampType":2,"name":"Cab 2","gain":2062,)"
        R"("gainDb":-18.0}},{"amp":2,"ampType":3,"booster":"amber","fxLoop":false,"reverb":"plate","noiseGate":3,)"
        R"("playing":{"slot":8,"amp":2,"ampType":3,"name":"Cab 8","gain":4115,"gainDb":-12.0}}],)"
        R"("fxLoopConnection":{"available":true,"send":4,"return":5},"storedIrs":[)"
        R"({"slot":0,"amp":1,"ampType":0,"name":"Cab 0","gain":1638,"gainDb":-20.0},)"
        R"({"slot":1,"amp":1,"ampType":1,"name":"Cab 1","gain":1838,"gainDb":-19.0},)"
        R"({"slot":2,"amp":1,"ampType":2,"name":"Cab 2","gain":2062,"gainDb":-18.0},)"
        R"({"slot":3,"amp":1,"ampType":3,"name":"Cab 3","gain":2314,"gainDb":-17.0},)"
        R"({"slot":4,"amp":1,"ampType":4,"name":"Cab 4","gain":2596,"gainDb":-16.0},)"
        R"({"slot":5,"amp":2,"ampType":0,"name":"Cab 5","gain":2914,"gainDb":-15.0},)"
        R"({"slot":6,"amp":2,"ampType":1,"name":"Cab 6","gain":3269,"gainDb":-14.0},)"
        R"({"slot":7,"amp":2,"ampType":2,"name":"Cab 7","gain":3668,"gainDb":-13.0},)"
        R"({"slot":8,"amp":2,"ampType":3,"name":"Cab 8","gain":4115,"gainDb":-12.0},)"
        R"({"slot":9,"amp":2,"ampType":4,"name":"Cab 9","gain":4618,"gainDb":-11.0}]})"
        "\n");

    plugHead(HeadModel::Single);
    head->editState(sim::test::personalise);
    ASSERT_EQ(run({"dump"}), 0) << err.str();
    const std::string text = out.str();
    EXPECT_NE(
        text.find(
            "Amp I\n  Amp type:    2 (Drive)\n  Booster:     green\n  FX loop:     on\n"
            "  Reverb:      hall\n  Noise gate:  2\n  Plays:       stored IR 2, \"Cab 2\" at -18.0 dB\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("  4  Amp I   amp type 4 (High Gain)    -16.0 dB  \"Cab 4\"\n"), std::string::npos);
    EXPECT_EQ(text.find("Amp II"), std::string::npos) << "the single-amp head has only Amp I";
    EXPECT_EQ(text.find("  5  "), std::string::npos);

    // An amp type the head does not have names no slot: neither this amp's nor the other amp's.
    plugHead();
    head->editState([](sim::AmpState& state) { state.effectBlock[0] = 7; });
    ASSERT_EQ(run({"dump"}), 0) << err.str();
    EXPECT_NE(out.str().find("  Amp type:    7 (unknown)\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("(no stored IR: the amp type is unknown)"), std::string::npos) << out.str();
}

TEST_F(DeviceCommands, setChangesTheHeadsSetting) {
    plugHead();
    const std::tuple<std::vector<std::string>, size_t, uint8_t, std::string> settings[] = {
        {{"set", "1", "booster", "amber"}, 1, 2, "Amp I booster: amber\n"},
        {{"set", "1", "fx-loop", "on"}, 2, 1, "Amp I fx-loop: on\n"},
        {{"set", "2", "reverb", "hall"}, 11, 3, "Amp II reverb: hall\n"},
        {{"set", "2", "noise-gate", "3"}, 12, 3, "Amp II noise-gate: 3\n"},
        {{"set", "send-connection", "4"}, 5, 4, "send-connection: 4\n"},
        {{"set", "return-connection", "2"}, 6, 2, "return-connection: 2\n"},
        {{"--json", "set", "2", "booster", "green"},
         9,
         1,
         R"({"amp":2,"setting":"booster","value":"green"})"
         "\n"}};
    for (const auto& [arguments, effectByte, value, printed] : settings) {
        ASSERT_EQ(run(arguments), 0) << err.str();
        EXPECT_EQ(head->state().effectBlock[effectByte], value) << printed;
        EXPECT_EQ(out.str(), printed);
    }
}

TEST_F(DeviceCommands, refusesWhatTheHeadDoesNotHave) {
    plugHead(HeadModel::Single);
    EXPECT_EQ(run({"set", "2", "booster", "green"}), 1);
    EXPECT_EQ(err.str(), "velkctl: this is a single-amp head: it has only Amp I. Use AMP 1.\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(run({"ir", "install", "2", stereoFile}), 1);
    EXPECT_EQ(head->receivedCount(Request::EffectParameter), 0);
    EXPECT_EQ(head->receivedCount(Request::CoefficientPacket), 0);

    plugHead(HeadModel::Dual, 50);
    EXPECT_EQ(run({"set", "send-connection", "1", "--json"}), 1);
    EXPECT_EQ(
        firstLine(err.str()),
        "velkctl: this amplifier has no FX loop send/return connection setting: it needs the dual-amp head "
        "with main firmware 42 to 49 or above 109 (this one runs 50).");
    EXPECT_EQ(out.str(), "{\"error\":null,\"key\":\"Cli_Err_NoFxLoopConnection\"}\n");
    EXPECT_EQ(head->receivedCount(Request::EffectParameter), 0);
}

TEST_F(DeviceCommands, previewPlaysTheFileAndInstallStoresItInTheSlotOfTheAmpsCurrentAmpType) {
    plugHead();
    ASSERT_EQ(run({"ir", "preview", "2", stereoFile, "--gain", "-9.5"}), 0) << err.str();
    const FIRCOE playing = head->playBuffer(1);
    EXPECT_STREQ(playing.name, "Closed Back 4x12");
    EXPECT_EQ(playing.gain, CVelkManager::shortGain(-9.5));
    EXPECT_EQ(coefficientsOf(playing), coefficientsOf(left));
    EXPECT_EQ(head->receivedCount(Request::FlashWrite), 0);
    EXPECT_TRUE(sim::sameRecord(head->firSlot(5), sim::stockCabinet(5)));
    EXPECT_EQ(out.str(), "Amp II plays \"Closed Back 4x12\" at -9.5 dB (a preview: nothing is stored).\n");

    ASSERT_TRUE(head->changeAmpType(1, 3));
    const std::string name = "Caña 100%1 " + std::string(60, 'x');
    ASSERT_EQ(run({"ir", "install", "2", stereoFile, "--name", name, "--gain", "-6"}), 0) << err.str();
    const FIRCOE stored = head->firSlot(8);
    const std::string kept = "Ca?a 100%1 " + std::string(52, 'x');  // as the name field keeps it
    EXPECT_EQ(std::string(stored.name), kept);
    EXPECT_EQ(stored.gain, CVelkManager::shortGain(-6));
    EXPECT_EQ(coefficientsOf(stored), coefficientsOf(left));
    EXPECT_TRUE(sim::sameRecord(head->playBuffer(1), stored));
    for (int slot : {0, 5, 7, 9})
        EXPECT_TRUE(sim::sameRecord(head->firSlot(slot), sim::stockCabinet(slot))) << slot;
    EXPECT_EQ(out.str(), "Amp II, amp type 3 (Lead): stored IR 8 is now \"" + kept + "\" at -6.0 dB.\n");
    EXPECT_EQ(err.str(), "") << "no progress off a terminal";

    ASSERT_EQ(run({"--json", "ir", "install", "1", stereoFile, "--channel", "right"}), 0) << err.str();
    EXPECT_STREQ(head->firSlot(0).name, "Closed Back 4x12");
    EXPECT_EQ(head->firSlot(0).gain, CVelkManager::shortGain(-12));
    EXPECT_EQ(coefficientsOf(head->firSlot(0)), coefficientsOf(right));
    EXPECT_EQ(out.str(),
              R"({"amp":1,"ampType":0,"slot":0,"name":"Closed Back 4x12","gainDb":-12.0,"stored":true})"
              "\n");
}

TEST_F(DeviceCommands, bypassGainRenameAndResetChangeWhatTheAmpPlaysAndStores) {
    plugHead();
    ASSERT_EQ(run({"ir", "bypass", "1", "on"}), 0) << err.str();
    EXPECT_TRUE(head->state().isBypassed(0));
    EXPECT_STREQ(head->playBuffer(0).name, "Bypass");
    EXPECT_EQ(out.str(), "Amp I: speaker simulation bypassed.\n");
    ASSERT_EQ(run({"ir", "bypass", "1", "off", "--json"}), 0) << err.str();
    EXPECT_TRUE(sim::sameRecord(head->playBuffer(0), head->firSlot(0)));
    EXPECT_EQ(head->receivedCount(Request::SelectStoredIr), 1);
    EXPECT_EQ(out.str(), "{\"amp\":1,\"bypass\":false}\n");

    ASSERT_EQ(run({"ir", "gain", "2", "-0.5"}), 0) << err.str();
    EXPECT_EQ(head->playBuffer(1).gain, CVelkManager::shortGain(-0.5));
    EXPECT_EQ(head->firSlot(5).gain, sim::stockCabinet(5).gain);
    EXPECT_EQ(out.str(), "Amp II: impulse response gain -0.5 dB.\n");

    ASSERT_TRUE(head->changeAmpType(0, 2));
    ASSERT_EQ(run({"ir", "rename", "1", "Studio B"}), 0) << err.str();
    FIRCOE renamed = sim::stockCabinet(2);
    std::strncpy(renamed.name, "Studio B", FIRCOE::kNameSize);  // the rest of the field zeroed
    EXPECT_TRUE(sim::sameRecord(head->firSlot(2), renamed));
    EXPECT_EQ(out.str(), "Amp I, amp type 2 (Drive): stored IR 2 is now \"Studio B\" at -3.0 dB.\n");
    const int namesSent = head->receivedCount(Request::IrName);
    ASSERT_EQ(run({"ir", "rename", "1", "Studio B"}), 0) << err.str();
    EXPECT_EQ(head->receivedCount(Request::IrName), namesSent) << "the same name again sends nothing";
    EXPECT_EQ(head->receivedCount(Request::FlashWrite), 1);
    EXPECT_NE(out.str().find("is already named"), std::string::npos) << out.str();

    head->editState(sim::test::personalise);
    ASSERT_EQ(run({"ir", "reset", "--yes"}), 0) << err.str();
    for (int slot = 0; slot < sim::AmpState::kSlots; ++slot)
        EXPECT_TRUE(sim::sameRecord(head->firSlot(slot), sim::stockCabinet(slot))) << slot;
    EXPECT_EQ(out.str(), "Every stored impulse response is back to the factory's.\n");
}

// The head's faults are set as `velkctl simulate --fault` sets them. The last packet's
// acknowledgement may come after the stream is announced as sent; a refusal there must stop the
// install as surely as one in the middle. Nothing new is stored either way.
TEST_F(DeviceCommands, aRefusedPacketAFailedWriteOrAnUnansweredResetFailsWithTheHeadsError) {
    const std::vector<std::string> install = {"ir", "install", "1", stereoFile, "--json"};
    const std::string refused = R"({"error":1002,"key":"Err_ReceiveData"})";
    const std::tuple<std::string, std::vector<std::string>, std::string, int> faults[] = {
        {"reject-packet=0", install, refused, 0},
        {"reject-packet=4", install, refused, 0},
        {"reject-packet=9", install, refused, 0},
        {"fail-flash-write",
         {"ir", "rename", "1", "Y", "--json"},
         R"({"error":1003,"key":"Err_FIRData_Write"})",
         1},
        {"no-reply=init", {"ir", "reset", "--yes", "--json"}, R"({"error":1004,"key":"Err_Timeout"})", 0}};
    for (const auto& [fault, arguments, error, flashWrites] : faults) {
        plugHead();
        parseSimulatorFault(fault)(*head);
        EXPECT_EQ(run(arguments), 4) << fault;
        EXPECT_EQ(out.str(), error + "\n");
        EXPECT_EQ(head->receivedCount(Request::FlashWrite), flashWrites) << fault;
        EXPECT_TRUE(sim::sameRecord(head->firSlot(0), sim::stockCabinet(0))) << fault;
    }
}

// The amp's type knob turned while the file streams: the amp reloads its play buffer, so it plays
// a mix, and nothing may be stored, in Amp II's slots or anywhere.
TEST_F(DeviceCommands, anAmpTypeChangeDuringTheStreamFailsTheInstallBeforeAnythingIsWritten) {
    plugHead();
    head->editWireFaults(
        [](sim::WireFaults& faults) { faults.holdReplies(Request::CoefficientPacket, true); });
    int status = -1;
    std::thread install([&] { status = run({"ir", "install", "2", stereoFile}); });
    const bool streaming = head->waitForReceived(Request::CoefficientPacket, 1, std::chrono::seconds(5));
    const bool changed = head->changeAmpType(1, 4);
    head->editWireFaults(
        [](sim::WireFaults& faults) { faults.holdReplies(Request::CoefficientPacket, false); });
    head->releaseHeldReplies();
    install.join();
    ASSERT_TRUE(streaming && changed);
    EXPECT_EQ(status, 4);
    EXPECT_NE(err.str().find("the amp type of Amp II was changed on the amplifier"), std::string::npos)
        << err.str();
    EXPECT_EQ(head->receivedCount(Request::FlashWrite), 0);
    for (int slot = 0; slot < 10; ++slot)
        EXPECT_TRUE(sim::sameRecord(head->firSlot(slot), sim::stockCabinet(slot))) << slot;
}

TEST_F(DeviceCommands, noServiceOrNoPortsIsNotFound) {
    plugHead(HeadModel::Dual, 110, "Bench/Amp 7");
    EXPECT_EQ(run({"--timeout", "300", "dump", "--json"}), 3);
    EXPECT_EQ(
        err.str(),
        "velkctl: no amplifier found on virtual within 300 ms: no MIDI port has \"VelkSolvo/\" in its name.\n"
        "Switch the amplifier on and connect it by USB, then try again; if its ports have another name, give "
        "part of it with --match TEXT.\n");
    EXPECT_EQ(out.str(), "{\"error\":null,\"key\":\"Cli_Err_NoAmplifier\"}\n");
    EXPECT_EQ(run({"--match", "Bench/", "info", "--json"}), 0) << err.str();
    EXPECT_EQ(jsonObject(out.str())["model"].toString(), "dual");

    Environment none = environment();
    none.openService = [](midi::ServiceChoice) {
        return midi::ServiceSelection{nullptr, "no JACK server running"};
    };
    EXPECT_EQ(CliTest::run({"info"}, none), 3);
    EXPECT_EQ(firstLine(err.str()), "velkctl: no MIDI service could be opened: no JACK server running.");
}

TEST_F(DeviceCommands, traceShowsEverySysexBothWays) {
    plugHead(HeadModel::Single);
    ASSERT_EQ(run({"--trace", "info"}), 0);
    const std::string trace = err.str();
    for (const char* message : {" out F0 43 7D 10 58 32 70 01 00 00 F7  heartbeat\n",
                                " in  F0 43 7D 60 58 48 44 31 F7  heartbeat reply, single-amp head\n",
                                " out F0 43 7D 20 58 48 44 32 55 54 49 4C F7  dump request UTIL\n"})
        EXPECT_NE(trace.find(message), std::string::npos) << message;
    const std::regex traceLine(R"(\d\d:\d\d:\d\d\.\d{6} (out|in ) F0( [0-9A-F]{2})* F7  \w.*)");
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);)
        EXPECT_TRUE(std::regex_match(line, traceLine)) << line;
}

TEST_F(DeviceCommands, progressOfLongOperationsIsDrawnOnATerminalOnly) {
    plugHead();
    interactive = true;
    ASSERT_EQ(run({"ir", "install", "1", stereoFile}), 0);
    const std::string drawn = err.str();
    for (const char* step : {"\rAmp I: sending the impulse response, packet 1 of 10",
                             "\rAmp I: sending the impulse response, packet 10 of 10",
                             "\rAmp I: writing into the amplifier's memory…"})
        EXPECT_NE(drawn.find(step), std::string::npos) << drawn;
    EXPECT_EQ(drawn.back(), '\r') << "the line is cleared before the result";
    EXPECT_NE(out.str().find("stored IR 0 is now"), std::string::npos);
}

// With no JACK server to join, the simulator says why instead of appearing.
TEST_F(DeviceCommands, simulateSaysWhyWhenItCannotAppear) {
    struct NoWait : StopRequest {
        void wait() override {}
    };
    // JACK clients of this process look for a server that does not run; no other test here uses JACK.
    setenv("JACK_DEFAULT_SERVER", "velk-no-such-server", 1);
    Environment nowhere = platformEnvironment();
    nowhere.makeStopRequest = [] { return std::make_unique<NoWait>(); };
    EXPECT_EQ(CliTest::run({"simulate", "--midi", "jack"}, nowhere), 3);
    EXPECT_EQ(firstLine(err.str()),
              "velkctl: the simulator could not appear on a MIDI service: no JACK server running (cannot "
              "connect to a server).");
    unsetenv("JACK_DEFAULT_SERVER");
}

}  // namespace
}  // namespace velk::cli::test
