// End to end through a real MIDI service, as a user runs it: a private JACK server (dummy driver),
// `velkctl simulate` in one process and velkctl commands in others. The simulator prints its state
// when stopped, which is checked byte for byte against what the commands were given.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <signal.h>

#include "JackTestServer.h"
#include "cli/ChildProcess.h"
#include "common/VelkManager.h"
#include "eLibrary/AudioFileBuilder.h"

namespace velk::cli::test {
namespace {

using midi::test::JackTestServer;
using namespace std::chrono_literals;

constexpr auto kCommandLimit = 60s;
constexpr auto kSimulatorStartLimit = 10s;
// JACK may lose a message on a loaded machine (a burst of large messages, a missed cycle). The
// amplifier answers every awaited message, so a loss ends the command with a time-out (error
// 1004); such a run is repeated, at most this many times in all.
constexpr int kRunsDespiteLoss = 3;

QJsonObject jsonObject(const std::string& text) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

std::vector<int16_t> coefficientsOf(const QJsonArray& array) {
    std::vector<int16_t> values;
    for (const QJsonValue& value : array)
        values.push_back(static_cast<int16_t>(value.toInt()));
    return values;
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

bool lostAMessage(const ProgramRun& run) {
    return run.exitStatus == 4 && run.err.starts_with("error 1004 ");
}

class VelkctlOnJack : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (JackTestServer::jackdInstalled())
            server = JackTestServer::start(whyNot, "-velkctl");
    }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override {
        if (!JackTestServer::jackdInstalled())
            GTEST_SKIP()
                << "jackd is not installed (Debian package jackd2): no end-to-end tests through JACK";
        ASSERT_NE(server, nullptr) << whyNot;
        const std::vector<int32_t> samples = testaudio::noise(2048, 16, 11);
        coefficients.assign(samples.begin(), samples.end());
        irFile = files.write("Room 2x12.wav",
                             testaudio::wavFile({.channels = 1}, testaudio::wavSamples(16, samples)));
    }

    void TearDown() override {
        if (simulator)
            stopSimulator();
    }

    void startSimulator(std::vector<std::string> options = {}) {
        std::vector<std::string> arguments = {VELKCTL, "simulate", "--midi", "jack", "--json"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        simulator = ChildProcess::start(arguments);
        ASSERT_NE(simulator, nullptr);
        ASSERT_TRUE(simulator->waitForError("Stop with Ctrl-C.", kSimulatorStartLimit)) << simulator->err();
    }

    // The simulator's final state.
    QJsonObject stopSimulator() {
        simulator->signal(SIGTERM);
        const std::optional<int> status = simulator->wait(10s);
        EXPECT_EQ(status, 0) << simulator->err();
        const QJsonObject state = jsonObject(simulator->out());
        simulatorErr = simulator->err();
        simulator.reset();
        return state;
    }

    static ProgramRun velkctlOnce(const std::vector<std::string>& options) {
        std::vector<std::string> arguments = {VELKCTL};
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.insert(arguments.end(), {"--midi", "jack"});
        return runProgram(arguments, kCommandLimit);
    }

    static ProgramRun velkctl(const std::vector<std::string>& options) {
        ProgramRun run = velkctlOnce(options);
        for (int again = 1; again < kRunsDespiteLoss && lostAMessage(run); ++again)
            run = velkctlOnce(options);
        return run;
    }

    static inline std::unique_ptr<JackTestServer> server;
    static inline std::string whyNot;
    testaudio::TempDir files;
    std::string irFile;
    std::vector<int16_t> coefficients;
    std::unique_ptr<ChildProcess> simulator;
    std::string simulatorErr;
};

TEST_F(VelkctlOnJack, installOnAmpIIStoresTheNamedFileInTheSlotOfItsCurrentAmpType) {
    startSimulator();
    const ProgramRun install = velkctl({"ir", "install", "2", irFile, "--name", "X"});
    EXPECT_EQ(install.exitStatus, 0) << install.err;
    EXPECT_EQ(install.out, "Amp II, amp type 0 (Clean): stored IR 5 is now \"X\" at -12.0 dB.\n");

    const QJsonObject state = stopSimulator();
    ASSERT_EQ(state["amps"].toArray().size(), 2);
    ASSERT_EQ(state["storedIrs"].toArray().size(), 10);
    const QJsonObject ampII = state["amps"].toArray()[1].toObject();
    const int slot = 5 + ampII["ampType"].toInt();
    const QJsonObject stored = state["storedIrs"].toArray()[slot].toObject();
    EXPECT_EQ(stored["name"].toString(), "X");
    EXPECT_EQ(stored["gain"].toInt(), CVelkManager::shortGain(-12));
    EXPECT_EQ(coefficientsOf(stored["coefficients"].toArray()), coefficients);
    EXPECT_EQ(ampII["playing"].toObject()["name"].toString(), "X");
    EXPECT_NE(state["storedIrs"].toArray()[0].toObject()["name"].toString(), "X") << "Amp I kept its own";
}

TEST_F(VelkctlOnJack, settingsReachTheHeadAndDumpReadsThemBack) {
    startSimulator();
    for (const std::vector<std::string>& setting : {std::vector<std::string>{"set", "2", "reverb", "hall"},
                                                    {"set", "1", "noise-gate", "2"},
                                                    {"set", "1", "booster", "amber"},
                                                    {"set", "return-connection", "3"}}) {
        const ProgramRun set = velkctl(setting);
        EXPECT_EQ(set.exitStatus, 0) << set.err;
    }
    const ProgramRun dump = velkctl({"dump", "--json"});
    ASSERT_EQ(dump.exitStatus, 0) << dump.err;
    const QJsonObject read = jsonObject(dump.out);

    const QJsonObject state = stopSimulator();
    for (const QJsonObject& amplifier : {read, state}) {
        const QJsonArray amps = amplifier["amps"].toArray();
        ASSERT_EQ(amps.size(), 2);
        EXPECT_EQ(amps[1].toObject()["reverb"].toString(), "hall");
        EXPECT_EQ(amps[0].toObject()["noiseGate"].toInt(), 2);
        EXPECT_EQ(amps[0].toObject()["booster"].toString(), "amber");
        EXPECT_EQ(amplifier["fxLoopConnection"].toObject()["return"].toInt(), 3);
    }
    EXPECT_EQ(read["storedIrs"].toArray().size(), 10);
}

TEST_F(VelkctlOnJack, ampIIIsRefusedOnTheSingleAmpHead) {
    startSimulator({"--model", "single"});
    const ProgramRun set = velkctl({"set", "2", "booster", "green"});
    EXPECT_EQ(set.exitStatus, 1);
    EXPECT_EQ(set.err, "velkctl: this is a single-amp head: it has only Amp I. Use AMP 1.\n");
    const ProgramRun install = velkctl({"ir", "install", "2", irFile});
    EXPECT_EQ(install.exitStatus, 1);

    const QJsonObject state = stopSimulator();
    EXPECT_EQ(state["model"].toString(), "single");
    ASSERT_EQ(state["amps"].toArray().size(), 1);
    EXPECT_EQ(state["amps"].toArray()[0].toObject()["booster"].toString(), "white");
}

TEST_F(VelkctlOnJack, aRejectingHeadFailsTheInstallWithItsErrorCode) {
    startSimulator({"--fault", "reject-packet=2"});
    const ProgramRun install = velkctl({"ir", "install", "1", irFile, "--name", "X", "--json"});
    EXPECT_EQ(install.exitStatus, 4);
    EXPECT_EQ(firstLine(install.err),
              "error 1002 (Err_ReceiveData): The amplifier rejected the data it was sent.");
    EXPECT_EQ(install.out, "{\"error\":1002,\"key\":\"Err_ReceiveData\"}\n");

    const QJsonObject state = stopSimulator();
    ASSERT_EQ(state["storedIrs"].toArray().size(), 10);
    EXPECT_NE(state["storedIrs"].toArray()[0].toObject()["name"].toString(), "X");
}

TEST_F(VelkctlOnJack, aFailedFlashWriteIsReportedWithItsErrorCode) {
    startSimulator({"--fault", "fail-flash-write"});
    const ProgramRun install = velkctl({"ir", "install", "1", irFile});
    EXPECT_EQ(install.exitStatus, 4);
    EXPECT_EQ(firstLine(install.err),
              "error 1003 (Err_FIRData_Write): The amplifier could not write the impulse response into its "
              "memory.");
}

TEST_F(VelkctlOnJack, aHeadThatStopsAnsweringIsATimeOut) {
    startSimulator({"--fault", "no-reply=flash-write"});
    const ProgramRun install = velkctlOnce({"ir", "install", "1", irFile});
    EXPECT_EQ(install.exitStatus, 4);
    EXPECT_EQ(firstLine(install.err), "error 1004 (Err_Timeout): The amplifier did not answer in time.");
}

TEST_F(VelkctlOnJack, aSilentHeadIsNotFound) {
    startSimulator({"--fault", "silent"});
    const ProgramRun info = velkctlOnce({"info", "--timeout", "1500"});
    EXPECT_EQ(info.exitStatus, 3);
    EXPECT_EQ(
        firstLine(info.err),
        "velkctl: the amplifier's MIDI ports were found on jack, but it did not answer within 1500 ms.");
}

TEST_F(VelkctlOnJack, noAmplifierIsNotFound) {
    const ProgramRun info = velkctlOnce({"info", "--timeout", "800"});
    EXPECT_EQ(info.exitStatus, 3);
    EXPECT_EQ(
        firstLine(info.err),
        "velkctl: no amplifier found on jack within 800 ms: no MIDI port has \"VelkSolvo/\" in its name.");
}

TEST_F(VelkctlOnJack, bothSidesTraceWhatTheyExchange) {
    startSimulator({"--trace"});
    const ProgramRun info = velkctl({"info", "--trace"});
    EXPECT_EQ(info.exitStatus, 0) << info.err;
    EXPECT_NE(info.err.find(" out F0 43 7D 10 58 32 70 21 00 00 F7\n"), std::string::npos) << info.err;
    EXPECT_NE(info.err.find(" in  F0 43 7D 60 58 48 44 32 F7\n"), std::string::npos) << info.err;
    stopSimulator();
    EXPECT_NE(simulatorErr.find(" in  F0 43 7D 10 58 32 70 21 00 00 F7\n"), std::string::npos)
        << simulatorErr;
    EXPECT_NE(simulatorErr.find(" out F0 43 7D 60 58 48 44 32 F7\n"), std::string::npos) << simulatorErr;
}

}  // namespace
}  // namespace velk::cli::test
