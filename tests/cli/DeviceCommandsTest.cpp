// Every device command of velkctl against the simulated head on the in-process MIDI hub: what it
// prints, its exit status, and what the head holds afterwards.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstring>
#include <thread>

#include "cli/SimulatedAmplifier.h"
#include "common/VelkManager.h"
#include "eLibrary/AudioFileBuilder.h"
#include "sim/StockCabinets.h"

namespace velk::cli {
namespace {

using sim::HeadModel;
using sim::Request;
using namespace std::chrono_literals;

QJsonObject jsonObject(const std::string& text) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

std::vector<int16_t> coefficientsOf(const FIRCOE& record) {
    return {std::begin(record.coe), std::end(record.coe)};
}

std::vector<int16_t> coefficientsOf(const QJsonArray& array) {
    std::vector<int16_t> values;
    for (const QJsonValue& value : array)
        values.push_back(static_cast<int16_t>(value.toInt()));
    return values;
}

// The coefficients a file of `samples` gives: the samples, then zeros to 2048.
std::vector<int16_t> coefficientsOf(const std::vector<int32_t>& samples) {
    std::vector<int16_t> values(FIRCOE::kCoefficientCount, 0);
    std::copy(samples.begin(), samples.end(), values.begin());
    return values;
}

class DeviceCommands : public test::VelkctlOnHub {
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

    testaudio::TempDir files;
    std::vector<int32_t> left, right;
    std::string stereoFile;
};

// ---- info and dump

struct InfoCase {
    HeadModel model;
    uint16_t mainVersion;
    bool fxLoopConnection;

    friend void PrintTo(const InfoCase& c, std::ostream* os) {
        *os << (c.model == HeadModel::Dual ? "dual" : "single") << " v" << c.mainVersion;
    }
};

class InfoCommand : public test::VelkctlOnHub, public testing::WithParamInterface<InfoCase> {};

TEST_P(InfoCommand, reportsModelFirmwareAndWhetherTheFxLoopConnectionSettingExists) {
    plugHead(GetParam().model, GetParam().mainVersion);
    ASSERT_EQ(run({"info", "--json"}), 0) << err.str();
    const QJsonObject info = jsonObject(out.str());
    EXPECT_EQ(info["model"].toString(), GetParam().model == HeadModel::Dual ? "dual" : "single");
    EXPECT_EQ(info["amps"].toInt(), GetParam().model == HeadModel::Dual ? 2 : 1);
    EXPECT_EQ(info["mainVersion"].toInt(), GetParam().mainVersion);
    EXPECT_EQ(info["fxLoopConnection"].toBool(), GetParam().fxLoopConnection);
    EXPECT_EQ(err.str(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Heads, InfoCommand,
    testing::Values(InfoCase{HeadModel::Dual, 41, false}, InfoCase{HeadModel::Dual, 42, true},
                    InfoCase{HeadModel::Dual, 49, true}, InfoCase{HeadModel::Dual, 50, false},
                    InfoCase{HeadModel::Dual, 109, false}, InfoCase{HeadModel::Dual, 110, true},
                    InfoCase{HeadModel::Single, 45, false}, InfoCase{HeadModel::Single, 110, false}));

TEST_F(DeviceCommands, infoPrintsThreeLines) {
    plugHead(HeadModel::Single, 47);
    ASSERT_EQ(run({"info"}), 0) << err.str();
    EXPECT_EQ(out.str(),
              "Model: single-amp head (Amp I)\n"
              "Main firmware version: 47\n"
              "FX loop send/return connection setting: not available\n");
}

// Every setting away from its default, and a name and gain of its own in every slot.
void personalise(sim::AmpState& state) {
    state.effectBlock = {2, 1, 1, 3, 2, 4, 5, 0, 3, 2, 0, 1, 3, 0, 0, 0};
    for (int slot = 0; slot < sim::AmpState::kSlots; ++slot) {
        std::memset(state.firSlots[slot].name, 0, FIRCOE::kNameSize);
        std::snprintf(state.firSlots[slot].name, FIRCOE::kNameSize, "Cab %d", slot);
        state.firSlots[slot].gain = CVelkManager::shortGain(-20 + slot);
    }
    for (int amp = 0; amp < 2; ++amp)
        state.playBuffers[amp] = state.firSlots[state.currentSlot(amp)];
}

TEST_F(DeviceCommands, dumpShowsWhatTheFullReadFound) {
    plugHead();
    head->editState(personalise);
    ASSERT_EQ(run({"dump", "--json"}), 0) << err.str();
    const QJsonObject dump = jsonObject(out.str());
    EXPECT_EQ(dump["model"].toString(), "dual");
    const QJsonArray amps = dump["amps"].toArray();
    ASSERT_EQ(amps.size(), 2);
    EXPECT_EQ(amps[0].toObject()["ampType"].toInt(), 2);
    EXPECT_EQ(amps[0].toObject()["booster"].toString(), "green");
    EXPECT_EQ(amps[0].toObject()["fxLoop"].toBool(), true);
    EXPECT_EQ(amps[0].toObject()["reverb"].toString(), "hall");
    EXPECT_EQ(amps[0].toObject()["noiseGate"].toInt(), 2);
    EXPECT_EQ(amps[0].toObject()["playing"].toObject()["slot"].toInt(), 2);
    EXPECT_EQ(amps[0].toObject()["playing"].toObject()["name"].toString(), "Cab 2");
    EXPECT_EQ(amps[1].toObject()["ampType"].toInt(), 3);
    EXPECT_EQ(amps[1].toObject()["booster"].toString(), "amber");
    EXPECT_EQ(amps[1].toObject()["fxLoop"].toBool(), false);
    EXPECT_EQ(amps[1].toObject()["reverb"].toString(), "plate");
    EXPECT_EQ(amps[1].toObject()["playing"].toObject()["slot"].toInt(), 8);
    const QJsonObject connection = dump["fxLoopConnection"].toObject();
    EXPECT_EQ(connection["available"].toBool(), true);
    EXPECT_EQ(connection["send"].toInt(), 4);
    EXPECT_EQ(connection["return"].toInt(), 5);
    const QJsonArray stored = dump["storedIrs"].toArray();
    ASSERT_EQ(stored.size(), 10);
    for (int slot = 0; slot < 10; ++slot) {
        const QJsonObject ir = stored[slot].toObject();
        EXPECT_EQ(ir["slot"].toInt(), slot);
        EXPECT_EQ(ir["amp"].toInt(), slot / 5 + 1);
        EXPECT_EQ(ir["ampType"].toInt(), slot % 5);
        EXPECT_EQ(ir["name"].toString(), QString("Cab %1").arg(slot));
        EXPECT_EQ(ir["gainDb"].toDouble(), -20.0 + slot);
        EXPECT_FALSE(ir.contains("coefficients")) << "the amplifier never sends them";
    }
}

TEST_F(DeviceCommands, dumpOfTheSingleAmpHeadShowsOnlyAmpI) {
    plugHead(HeadModel::Single);
    head->editState(personalise);
    ASSERT_EQ(run({"dump"}), 0) << err.str();
    EXPECT_NE(
        out.str().find(
            "Amp I\n  Amp type:    2 (Drive)\n  Booster:     green\n  FX loop:     on\n"
            "  Reverb:      hall\n  Noise gate:  2\n  Plays:       stored IR 2, \"Cab 2\" at -18.0 dB\n"),
        std::string::npos)
        << out.str();
    EXPECT_EQ(out.str().find("Amp II"), std::string::npos);
    EXPECT_NE(out.str().find("  4  Amp I   amp type 4 (High Gain)    -16.0 dB  \"Cab 4\"\n"),
              std::string::npos);
    EXPECT_EQ(out.str().find("  5  "), std::string::npos);
}

// ---- set

struct SetCase {
    const char* label;
    std::vector<std::string> arguments;
    size_t effectByte;
    uint8_t value;
    std::string printed;

    friend void PrintTo(const SetCase& c, std::ostream* os) { *os << c.label; }
};

class SetCommand : public test::VelkctlOnHub, public testing::WithParamInterface<SetCase> {};

TEST_P(SetCommand, changesTheHeadsSetting) {
    plugHead();
    std::vector<std::string> arguments = {"set"};
    arguments.insert(arguments.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    ASSERT_EQ(run(arguments), 0) << err.str();
    EXPECT_EQ(head->state().effectBlock[GetParam().effectByte], GetParam().value);
    EXPECT_EQ(out.str(), GetParam().printed);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SetCommand,
    testing::Values(SetCase{"boosterOfAmpI", {"1", "booster", "amber"}, 1, 2, "Amp I booster: amber\n"},
                    SetCase{"fxLoopOfAmpI", {"1", "fx-loop", "on"}, 2, 1, "Amp I fx-loop: on\n"},
                    SetCase{"reverbOfAmpII", {"2", "reverb", "hall"}, 11, 3, "Amp II reverb: hall\n"},
                    SetCase{"noiseGateOfAmpII", {"2", "noise-gate", "3"}, 12, 3, "Amp II noise-gate: 3\n"},
                    SetCase{"sendConnection", {"send-connection", "4"}, 5, 4, "send-connection: 4\n"},
                    SetCase{"returnConnection", {"return-connection", "2"}, 6, 2, "return-connection: 2\n"},
                    SetCase{"asJson",
                            {"2", "booster", "green", "--json"},
                            9,
                            1,
                            "{\"amp\":2,\"setting\":\"booster\",\"value\":\"green\"}\n"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(DeviceCommands, ampIIOfTheSingleAmpHeadIsRefused) {
    plugHead(HeadModel::Single);
    EXPECT_EQ(run({"set", "2", "booster", "green"}), 1);
    EXPECT_EQ(err.str(), "velkctl: this is a single-amp head: it has only Amp I. Use AMP 1.\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(head->receivedCount(Request::EffectParameter), 0);
    EXPECT_EQ(run({"ir", "install", "2", stereoFile}), 1);
    EXPECT_EQ(head->receivedCount(Request::CoefficientPacket), 0);
}

TEST_F(DeviceCommands, fxLoopConnectionIsRefusedWhereTheHeadHasNoSuchSetting) {
    plugHead(HeadModel::Dual, 50);
    EXPECT_EQ(run({"set", "send-connection", "1", "--json"}), 1);
    EXPECT_EQ(
        firstLine(err.str()),
        "velkctl: this amplifier has no FX loop send/return connection setting: it needs the dual-amp head "
        "with main firmware 42 to 49 or above 109 (this one runs 50).");
    EXPECT_EQ(out.str(), "{\"error\":null,\"key\":\"Cli_Err_NoFxLoopConnection\"}\n");
    EXPECT_EQ(head->receivedCount(Request::EffectParameter), 0);
}

// ---- impulse responses

TEST_F(DeviceCommands, installStoresTheFileInTheSlotOfTheAmpsCurrentAmpType) {
    plugHead();
    ASSERT_TRUE(head->changeAmpType(1, 3));
    ASSERT_EQ(run({"ir", "install", "2", stereoFile, "--name", "Rig A", "--gain", "-6", "--json"}), 0)
        << err.str();

    const FIRCOE stored = head->firSlot(8);
    EXPECT_STREQ(stored.name, "Rig A");
    EXPECT_EQ(stored.gain, CVelkManager::shortGain(-6));
    EXPECT_EQ(coefficientsOf(stored), coefficientsOf(left));
    EXPECT_TRUE(sim::sameRecord(head->playBuffer(1), stored));
    for (int slot : {0, 5, 7, 9})
        EXPECT_TRUE(sim::sameRecord(head->firSlot(slot), sim::stockCabinet(slot))) << slot;
    EXPECT_EQ(out.str(),
              "{\"amp\":2,\"ampType\":3,\"slot\":8,\"name\":\"Rig A\",\"gainDb\":-6.0,\"stored\":true}\n");
}

TEST_F(DeviceCommands, installNamesTheRecordAfterTheFileAndReadsTheChosenChannel) {
    plugHead();
    ASSERT_EQ(run({"ir", "install", "1", stereoFile, "--channel", "right"}), 0) << err.str();
    const FIRCOE stored = head->firSlot(0);
    EXPECT_STREQ(stored.name, "Closed Back 4x12");
    EXPECT_EQ(stored.gain, CVelkManager::shortGain(-12));
    EXPECT_EQ(coefficientsOf(stored), coefficientsOf(right));
    EXPECT_EQ(out.str(), "Amp I, amp type 0 (Clean): stored IR 0 is now \"Closed Back 4x12\" at -12.0 dB.\n");
}

TEST_F(DeviceCommands, installKeepsNamesAsTheNameFieldDoes) {
    plugHead();
    ASSERT_EQ(run({"ir", "install", "1", stereoFile, "--name", "Caña 100%1 " + std::string(60, 'x')}), 0);
    EXPECT_EQ(std::string(head->firSlot(0).name), "Ca?a 100%1 " + std::string(52, 'x'));
    EXPECT_NE(out.str().find("\"Ca?a 100%1 xxx"), std::string::npos) << out.str();
}

TEST_F(DeviceCommands, previewPlaysTheFileAndStoresNothing) {
    plugHead();
    ASSERT_EQ(run({"ir", "preview", "2", stereoFile, "--gain", "-9.5"}), 0) << err.str();
    const FIRCOE playing = head->playBuffer(1);
    EXPECT_STREQ(playing.name, "Closed Back 4x12");
    EXPECT_EQ(playing.gain, CVelkManager::shortGain(-9.5));
    EXPECT_EQ(coefficientsOf(playing), coefficientsOf(left));
    EXPECT_EQ(head->receivedCount(Request::FlashWrite), 0);
    EXPECT_TRUE(sim::sameRecord(head->firSlot(5), sim::stockCabinet(5)));
    EXPECT_EQ(out.str(), "Amp II plays \"Closed Back 4x12\" at -9.5 dB (a preview: nothing is stored).\n");
}

TEST_F(DeviceCommands, bypassPlaysTheUnitImpulseAndOffPlaysTheStoredIrAgain) {
    plugHead();
    ASSERT_EQ(run({"ir", "bypass", "1", "on"}), 0) << err.str();
    EXPECT_TRUE(head->state().isBypassed(0));
    EXPECT_STREQ(head->playBuffer(0).name, "Bypass");
    EXPECT_EQ(out.str(), "Amp I: speaker simulation bypassed.\n");

    ASSERT_EQ(run({"ir", "bypass", "1", "off", "--json"}), 0) << err.str();
    EXPECT_TRUE(sim::sameRecord(head->playBuffer(0), head->firSlot(0)));
    EXPECT_EQ(head->receivedCount(Request::SelectStoredIr), 1);
    EXPECT_EQ(out.str(), "{\"amp\":1,\"bypass\":false}\n");
}

TEST_F(DeviceCommands, gainChangesWhatTheAmpPlays) {
    plugHead();
    ASSERT_EQ(run({"ir", "gain", "2", "-0.5"}), 0) << err.str();
    EXPECT_EQ(head->playBuffer(1).gain, CVelkManager::shortGain(-0.5));
    EXPECT_EQ(head->firSlot(5).gain, sim::stockCabinet(5).gain);
    EXPECT_EQ(out.str(), "Amp II: impulse response gain -0.5 dB.\n");
}

TEST_F(DeviceCommands, renameRewritesTheStoredIrUnderItsNewName) {
    plugHead();
    ASSERT_TRUE(head->changeAmpType(0, 2));
    ASSERT_EQ(run({"ir", "rename", "1", "Studio B"}), 0) << err.str();
    FIRCOE expected = sim::stockCabinet(2);
    std::memset(expected.name, 0, FIRCOE::kNameSize);
    std::strcpy(expected.name, "Studio B");
    EXPECT_TRUE(sim::sameRecord(head->firSlot(2), expected));
    EXPECT_EQ(head->receivedCount(Request::FlashWrite), 1);
    EXPECT_EQ(out.str(), "Amp I, amp type 2 (Drive): stored IR 2 is now \"Studio B\" at -3.0 dB.\n");
}

TEST_F(DeviceCommands, renameToTheSameNameSendsNothing) {
    plugHead();
    ASSERT_EQ(run({"ir", "rename", "1", sim::stockCabinet(0).name}), 0) << err.str();
    EXPECT_EQ(head->receivedCount(Request::IrName), 0);
    EXPECT_EQ(head->receivedCount(Request::FlashWrite), 0);
    EXPECT_NE(out.str().find("is already named"), std::string::npos) << out.str();
}

TEST_F(DeviceCommands, resetPutsTheFactorysIrsBack) {
    plugHead();
    ASSERT_EQ(run({"ir", "install", "2", stereoFile}), 0) << err.str();
    ASSERT_FALSE(sim::sameRecord(head->firSlot(5), sim::stockCabinet(5)));
    ASSERT_EQ(run({"ir", "reset", "--yes"}), 0) << err.str();
    EXPECT_TRUE(sim::sameRecord(head->firSlot(5), sim::stockCabinet(5)));
    EXPECT_EQ(head->receivedCount(Request::InitIrData), 1);
    EXPECT_EQ(out.str(), "Every stored impulse response is back to the factory's.\n");
}

// ---- failures

class RefusedPacket : public DeviceCommands, public testing::WithParamInterface<int> {};

// The last packet's acknowledgement may come after the stream is announced as sent; a refusal
// there must stop the install as surely as one in the middle.
TEST_P(RefusedPacket, failsTheInstallBeforeAnythingIsWritten) {
    plugHead();
    const int packet = GetParam();
    head->editAmpFaults([packet](sim::AmpFaults& faults) { faults.rejectedPackets.set(packet); });
    EXPECT_EQ(run({"ir", "install", "1", stereoFile, "--json"}), 4);
    EXPECT_EQ(err.str(),
              "error 1002 (Err_ReceiveData): The amplifier rejected the data it was sent.\n"
              "Run the command again; if the amplifier keeps refusing, switch it off and on.\n");
    EXPECT_EQ(out.str(), "{\"error\":1002,\"key\":\"Err_ReceiveData\"}\n");
    EXPECT_EQ(head->receivedCount(Request::CoefficientPacket), 10);
    EXPECT_EQ(head->receivedCount(Request::FlashWrite), 0);
    EXPECT_TRUE(sim::sameRecord(head->firSlot(0), sim::stockCabinet(0)));
}

INSTANTIATE_TEST_SUITE_P(Packets, RefusedPacket, testing::Values(0, 4, 9));

TEST_F(DeviceCommands, aFailedFlashWriteIsReported) {
    plugHead();
    head->editAmpFaults([](sim::AmpFaults& faults) { faults.failingFlashWrites = 1; });
    EXPECT_EQ(run({"ir", "install", "1", stereoFile}), 4);
    EXPECT_EQ(firstLine(err.str()),
              "error 1003 (Err_FIRData_Write): The amplifier could not write the impulse response into its "
              "memory.");
    EXPECT_TRUE(sim::sameRecord(head->firSlot(0), sim::stockCabinet(0)));
    EXPECT_EQ(out.str(), "");
}

TEST_F(DeviceCommands, anUnansweredFlashWriteIsATimeOut) {
    plugHead();
    head->editWireFaults([](sim::WireFaults& faults) { faults.dropReplies(Request::FlashWrite); });
    EXPECT_EQ(run({"ir", "install", "1", stereoFile}), 4);
    EXPECT_EQ(err.str(),
              "error 1004 (Err_Timeout): The amplifier did not answer in time.\n"
              "Check that the amplifier is switched on and connected, then run the command again.\n");
}

TEST_F(DeviceCommands, aHeadThatNeverAnswersIsNotFound) {
    plugHead();
    head->setSilent(true);
    EXPECT_EQ(run({"info", "--timeout", "400"}), 3);
    EXPECT_EQ(
        err.str(),
        "velkctl: the amplifier's MIDI ports were found on virtual, but it did not answer within 400 ms.\n"
        "Switch the amplifier off and on again and check the USB cable; close any other program that talks "
        "to it.\n");
}

TEST_F(DeviceCommands, noAmplifierAtAllIsNotFound) {
    EXPECT_EQ(run({"dump", "--timeout", "300", "--json"}), 3);
    EXPECT_EQ(
        err.str(),
        "velkctl: no amplifier found on virtual within 300 ms: no MIDI port has \"VelkSolvo/\" in its name.\n"
        "Switch the amplifier on and connect it by USB, then try again; if its ports have another name, give "
        "part of it with --match TEXT.\n");
    EXPECT_EQ(out.str(), "{\"error\":null,\"key\":\"Cli_Err_NoAmplifier\"}\n");
}

TEST_F(DeviceCommands, noMidiServiceIsNotFoundEither) {
    Environment none = environment();
    none.openService = [](midi::ServiceChoice) {
        return midi::ServiceSelection{nullptr, "no JACK server running"};
    };
    EXPECT_EQ(makeVelkctl(none).run({"info"}, out, err), 3);
    EXPECT_EQ(firstLine(err.str()), "velkctl: no MIDI service could be opened: no JACK server running.");
}

TEST_F(DeviceCommands, matchFindsPortsOfAnotherName) {
    plugHead(HeadModel::Dual, 110, "Bench/Amp 7");
    EXPECT_EQ(run({"info", "--timeout", "300"}), 3);
    EXPECT_EQ(run({"info", "--match", "Bench/", "--json"}), 0) << err.str();
    EXPECT_EQ(jsonObject(out.str())["model"].toString(), "dual");
}

// ---- output on the terminal

TEST_F(DeviceCommands, traceShowsEverySysexBothWays) {
    plugHead(HeadModel::Single);
    ASSERT_EQ(run({"info", "--trace"}), 0);
    const std::string trace = err.str();
    EXPECT_NE(trace.find(" out F0 43 7D 10 58 32 70 01 00 00 F7\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find(" in  F0 43 7D 60 58 48 44 31 F7\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find(" out F0 43 7D 20 58 48 44 32 55 54 49 4C F7\n"), std::string::npos) << trace;
}

TEST_F(DeviceCommands, progressOfLongOperationsIsDrawnOnATerminalOnly) {
    plugHead();
    ASSERT_EQ(run({"ir", "install", "1", stereoFile}), 0);
    EXPECT_EQ(err.str(), "");

    interactive = true;
    ASSERT_EQ(run({"ir", "install", "1", stereoFile}), 0);
    const std::string drawn = err.str();
    EXPECT_NE(drawn.find("\rAmp I: sending the impulse response, packet 1 of 10"), std::string::npos)
        << drawn;
    EXPECT_NE(drawn.find("\rAmp I: sending the impulse response, packet 10 of 10"), std::string::npos)
        << drawn;
    EXPECT_NE(drawn.find("\rAmp I: writing into the amplifier's memory…"), std::string::npos) << drawn;
    EXPECT_EQ(drawn.back(), '\r') << "the line is cleared before the result";
    EXPECT_NE(out.str().find("stored IR 0 is now"), std::string::npos);
}

// ---- the simulator as velkctl runs it

class SimulateCommand : public test::VelkctlOnHub {
protected:
    // Runs `simulate` on its own thread until stopped; waits for its ports to appear.
    void startSimulator(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "simulate");
        simulator = std::thread([this, arguments] {
            simulatorExit = makeVelkctl(environment()).run(arguments, simulatorOut, simulatorErr);
        });
        const auto service = hub.openService();
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (service->sources().empty() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(5ms);
    }

    int stopSimulator() {
        stop.request();
        simulator.join();
        return simulatorExit;
    }

    void TearDown() override {
        if (simulator.joinable())
            stopSimulator();
    }

    std::thread simulator;
    int simulatorExit = -1;
    std::ostringstream simulatorOut, simulatorErr;
};

TEST_F(SimulateCommand, runsAHeadThatVelkctlDrivesAndPrintsItsStateWhenStopped) {
    testaudio::TempDir dir;
    const std::vector<int32_t> samples = testaudio::noise(2100, 16, 3);
    const std::string file =
        dir.write("big.wav", testaudio::wavFile({.channels = 1}, testaudio::wavSamples(16, samples)));
    startSimulator({"--model", "single", "--firmware", "45", "--json"});
    ASSERT_EQ(run({"ir", "install", "1", file, "--name", "X"}), 0) << err.str();
    ASSERT_EQ(run({"set", "2", "booster", "amber"}), 1) << "the head is a single-amp head";
    ASSERT_EQ(stopSimulator(), 0);

    EXPECT_EQ(
        simulatorErr.str(),
        "Simulating the single-amp head (Amp I) as \"VelkSolvo/Single\" on virtual. Stop with Ctrl-C.\n");
    const QJsonObject state = jsonObject(simulatorOut.str());
    EXPECT_EQ(state["model"].toString(), "single");
    EXPECT_EQ(state["mainVersion"].toInt(), 45);
    const QJsonArray stored = state["storedIrs"].toArray();
    ASSERT_EQ(stored.size(), 5);
    const QJsonObject slot0 = stored[0].toObject();
    EXPECT_EQ(slot0["name"].toString(), "X");
    EXPECT_EQ(slot0["gain"].toInt(), CVelkManager::shortGain(-12));
    EXPECT_EQ(coefficientsOf(slot0["coefficients"].toArray()),
              std::vector<int16_t>(samples.begin(), samples.begin() + FIRCOE::kCoefficientCount));
    EXPECT_EQ(coefficientsOf(stored[1].toObject()["coefficients"].toArray()),
              coefficientsOf(sim::stockCabinet(1)));
}

TEST_F(SimulateCommand, appliesItsFaults) {
    testaudio::TempDir dir;
    const std::string file =
        dir.write("a.wav", testaudio::wavFile({.channels = 1}, testaudio::wavSamples(16, {5})));
    startSimulator({"--fault", "reject-packet=0", "--fault", "fail-flash-write"});
    EXPECT_EQ(run({"ir", "preview", "1", file}), 4);
    EXPECT_EQ(firstLine(err.str()),
              "error 1002 (Err_ReceiveData): The amplifier rejected the data it was sent.");
    EXPECT_EQ(run({"ir", "rename", "2", "Y"}), 4);
    EXPECT_EQ(firstLine(err.str()),
              "error 1003 (Err_FIRData_Write): The amplifier could not write the impulse response into its "
              "memory.");
    EXPECT_EQ(stopSimulator(), 0);
    EXPECT_NE(simulatorOut.str().find("Model: dual-amp head (Amp I and Amp II)\n"), std::string::npos);
}

// Ports that cannot appear, as when no MIDI service runs.
class NowherePorts : public sim::DevicePorts {
public:
    int plug(const std::string&, ReceiveHandler) override { return -ENODEV; }
    void unplug() override {}
    int send(std::span<const uint8_t>) override { return -ENOTCONN; }
    std::string plugFailure() const override { return "no JACK server running (cannot connect to a server)"; }
};

TEST_F(SimulateCommand, saysWhyWhenItCannotAppear) {
    Environment nowhere = environment();
    nowhere.makeDevicePorts = [](midi::ServiceChoice) { return std::make_unique<NowherePorts>(); };
    EXPECT_EQ(makeVelkctl(nowhere).run({"simulate", "--midi", "jack"}, out, err), 3);
    EXPECT_EQ(firstLine(err.str()),
              "velkctl: the simulator could not appear on a MIDI service: no JACK server running (cannot "
              "connect to a "
              "server).");
}

}  // namespace
}  // namespace velk::cli
