// End to end through a real MIDI service, as a user runs it: a private JACK server (dummy driver),
// `velkctl simulate` in one process and velkctl commands in others. The simulator prints its state
// when stopped, which is checked byte for byte against what the commands were given. What each
// command does and how it fails is DeviceCommandsTest's, on the in-process hub.
#include <gtest/gtest.h>
#include <QJsonArray>
#include <QProcess>

#include <signal.h>
#include <sys/prctl.h>

#include "JackTestServer.h"
#include "cli/CliTestSupport.h"
#include "common/VelkManager.h"
#include "eLibrary/AudioFileBuilder.h"

namespace velk::cli::test {
namespace {

using midi::test::JackTestServer;

constexpr int kCommandLimitMS = 60000;
constexpr int kSimulatorLimitMS = 10000;

// velkctl as a process of its own, killed when the test process ends, even by a crash.
void startVelkctl(QProcess& process, const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process.start(VELKCTL, list);
}

struct ProgramRun {
    int exitStatus = -1;  // -1 when it crashed or did not end in time
    std::string out;
    std::string err;
};

// A command on the test's JACK server, the service chosen before the command.
ProgramRun velkctl(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--midi", "jack"});
    QProcess process;
    startVelkctl(process, arguments);
    const bool ended =
        process.waitForFinished(kCommandLimitMS) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
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
    }

    void startSimulator(std::vector<std::string> options) {
        options.insert(options.begin(), {"simulate", "--midi", "jack"});
        startVelkctl(simulator, options);
        simulator.setReadChannel(QProcess::StandardError);
        while (!simulatorErr.contains("Stop with Ctrl-C.\n")) {
            ASSERT_TRUE(simulator.waitForReadyRead(kSimulatorLimitMS)) << simulatorErr.toStdString();
            simulatorErr += simulator.readAllStandardError();
        }
    }

    // What the simulator prints when stopped: its final state.
    std::string stopSimulator() {
        simulator.terminate();
        EXPECT_TRUE(simulator.waitForFinished(kSimulatorLimitMS));
        simulatorErr += simulator.readAllStandardError();
        EXPECT_EQ(simulator.exitCode(), 0) << simulatorErr.toStdString();
        return simulator.readAllStandardOutput().toStdString();
    }

    static inline std::unique_ptr<JackTestServer> server;
    static inline std::string whyNot;
    testaudio::TempDir files;
    QProcess simulator;
    QByteArray simulatorErr;
};

TEST_F(VelkctlOnJack, settingsAndAnInstallReachTheHeadAndDumpReadsThemBack) {
    const std::vector<int32_t> samples = testaudio::noise(2100, 16, 11);  // only the first 2048 count
    const std::string irFile =
        files.write("Room 2x12.wav", testaudio::wavFile({.channels = 1}, testaudio::wavSamples(16, samples)));
    startSimulator({"--json", "--trace"});
    for (const std::vector<std::string>& setting :
         {std::vector<std::string>{"set", "2", "reverb", "hall"}, {"set", "return-connection", "3"}})
        EXPECT_EQ(velkctl(setting).exitStatus, 0) << setting[1];
    const ProgramRun install = velkctl({"ir", "install", "2", irFile, "--name", "X"});
    EXPECT_EQ(install.exitStatus, 0) << install.err;
    EXPECT_EQ(install.out, "Amp II, amp type 0 (Clean): stored IR 5 is now \"X\" at -12.0 dB.\n");
    const ProgramRun dump = velkctl({"--json", "dump"});
    ASSERT_EQ(dump.exitStatus, 0) << dump.err;
    const QJsonObject read = jsonObject(dump.out);

    const QJsonObject state = jsonObject(stopSimulator());
    EXPECT_TRUE(simulatorErr.contains(" in  F0 43 7D 10 58 32 70 21 00 00 F7\n"))
        << simulatorErr.toStdString();
    EXPECT_TRUE(simulatorErr.contains(" out F0 43 7D 60 58 48 44 32 F7\n")) << simulatorErr.toStdString();
    for (const QJsonObject& amplifier : {read, state}) {
        const QJsonArray amps = amplifier["amps"].toArray();
        ASSERT_EQ(amps.size(), 2);
        EXPECT_EQ(amps[1].toObject()["reverb"].toString(), "hall");
        EXPECT_EQ(amps[1].toObject()["playing"].toObject()["name"].toString(), "X");
        EXPECT_EQ(amplifier["fxLoopConnection"].toObject()["return"].toInt(), 3);
    }
    const QJsonArray stored = state["storedIrs"].toArray();
    ASSERT_EQ(stored.size(), 10);
    EXPECT_EQ(stored[5].toObject()["name"].toString(), "X");
    EXPECT_EQ(stored[5].toObject()["gain"].toInt(), CVelkManager::shortGain(-12));
    QJsonArray coefficients;  // the file's first 2048 samples
    for (size_t i = 0; i < FIRCOE::kCoefficientCount; ++i)
        coefficients.append(samples[i]);
    EXPECT_EQ(stored[5].toObject()["coefficients"].toArray(), coefficients);
}

TEST_F(VelkctlOnJack, aSilentAmplifierIsNotFound) {
    startSimulator({"--model", "single", "--firmware", "45", "--fault", "silent"});
    EXPECT_EQ(simulatorErr,
              "Simulating the single-amp head (Amp I) as \"VelkSolvo/Single\" on jack. Stop with Ctrl-C.\n");
    const ProgramRun info = velkctl({"info", "--timeout", "1500"});
    EXPECT_EQ(info.exitStatus, 3);
    EXPECT_EQ(
        info.err,
        "velkctl: the amplifier's MIDI ports were found on jack, but it did not answer within 1500 ms.\n"
        "Switch the amplifier off and on again and check the USB cable; close any other program that "
        "talks to it.\n");
    const std::string state = stopSimulator();
    EXPECT_EQ(state.substr(0, state.find("\nAmp I\n")),
              "Model: single-amp head (Amp I)\nMain firmware version: 45\n"
              "FX loop send/return connection setting: not available\n");
}

}  // namespace
}  // namespace velk::cli::test
