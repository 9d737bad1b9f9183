// End to end through a real JACK server: the port manager on our JACK backend, talking to a peer
// client that echoes what it receives.
#include "midi/JackService.h"

#include "JackTestServer.h"
#include "common/MIDIManager.h"
#include "midi/MessageRecorder.h"
#include "midi/ServiceSelection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace {

using midi::test::Bytes;
using midi::test::findEndpoint;
using midi::test::JackEchoPeer;
using midi::test::JackTestServer;
using midi::test::numberedSysex;
using Messages = std::vector<Bytes>;
using namespace std::chrono_literals;

// Polls `done` until it holds or `timeout` passes, for what nothing signals; returns whether it holds.
template <typename Predicate>
bool eventually(Predicate done, std::chrono::milliseconds timeout = 5s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    return done();
}

// The port manager on JACK with an echo peer, which it finds the way the device manager finds the
// amplifier.
class JackServiceTest : public testing::Test {
protected:
    void SetUp() override {
        VELK_REQUIRE_JACK_SERVER("");
        startPeerAndManager();
    }
    void TearDown() override {
        CMIDIManager::terminate();
        peer.reset();
        server.reset();
    }
    // A server of the test's own, which it may stop under the port manager's feet.
    void startServer() {
        std::string whyNot;
        server = JackTestServer::start(whyNot, "-gone");
        ASSERT_NE(server, nullptr) << whyNot;
    }
    void startPeer() {
        peer = JackEchoPeer::start("VelkSolvo/Echo");
        ASSERT_NE(peer, nullptr);
    }
    void startPeerAndManager() {
        startPeer();
        CMIDIManager::setServiceChoice(midi::ServiceChoice::Jack);
        CMIDIManager::initialize(nullptr, nullptr);
        manager = CMIDIManager::instance();
        ASSERT_NE(manager->service(), nullptr) << manager->serviceUnavailableReason();
        openPeer();
    }

    void openPeer() {
        std::vector<std::string> sources;
        std::vector<std::string> destinations;
        manager->getMidiInDevices(sources);
        manager->getMidiOutDevices(destinations);
        const auto source = std::find(sources.begin(), sources.end(), peer->outputName());
        const auto destination = std::find(destinations.begin(), destinations.end(), peer->inputName());
        ASSERT_TRUE(source != sources.end() && destination != destinations.end());
        ASSERT_EQ(manager->openMidiIn(source - sources.begin(), midi::test::recordMessage, &echoes, 512), 0);
        ASSERT_EQ(manager->openMidiOut(destination - destinations.begin()), 0);
    }
    int send(const Bytes& message) {
        return manager->sendLongMessage(message.data(), static_cast<int32_t>(message.size()));
    }
    bool portsOpen() const { return manager->isOpenedMidiIn() || manager->isOpenedMidiOut(); }

    std::unique_ptr<JackTestServer> server;
    std::unique_ptr<JackEchoPeer> peer;
    CMIDIManager* manager = nullptr;
    midi::test::MessageRecorder echoes;
};

// Every message sent comes back once, whole and in order: nothing is lost, repeated, damaged,
// invented or reordered. They go back to back: each send returns once its message has gone, long
// before the echo is back.
TEST_F(JackServiceTest, echoesEverySysexLengthFrom11To532ExactlyAndInOrder) {
    EXPECT_NE(send(numberedSysex(200 * 1024, 0)), 0);  // more than the service carries
    Messages sent;
    for (size_t length = 11; length <= 532; ++length) {
        sent.push_back(numberedSysex(length, static_cast<uint8_t>(length)));
        ASSERT_EQ(send(sent.back()), 0) << "length " << length;
    }
    EXPECT_TRUE(echoes.waitForCount(sent.size())) << echoes.count() << " echoes of " << sent.size();
    EXPECT_TRUE(echoes.messages() == sent) << "an echo is not the message sent in its place";
}

// Killed, as when a device is pulled: a client that closes leaves the same way to the server.
TEST_F(JackServiceTest, aVanishedPeerIsNoticedByTheHealthCheck) {
    manager->healthCheck();
    ASSERT_TRUE(manager->isOpenedMidiIn() && manager->isOpenedMidiOut());
    peer->stop(true);
    EXPECT_EQ(send(numberedSysex(20, 1)), 0);  // JACK does not tell: the health check does
    EXPECT_TRUE(eventually([&] {
        manager->healthCheck();
        return !portsOpen();
    }));
}

TEST_F(JackServiceTest, serverGoneSendsFailWithoutHangingTheEndpointsGoAndARestartIsPickedUp) {
    CMIDIManager::terminate();
    peer.reset();
    startServer();
    startPeerAndManager();
    server->stop();
    const Bytes message = numberedSysex(64, 1);
    EXPECT_TRUE(eventually([&] { return send(message) != 0; }, 10s));
    manager->healthCheck();
    EXPECT_FALSE(portsOpen());

    // The server comes back: the next search finds the peer again, on a new client.
    peer.reset();
    server.reset();
    startServer();
    startPeer();
    openPeer();
    EXPECT_EQ(send(message), 0);
    EXPECT_TRUE(echoes.waitUntil([&](const Messages& got) { return !got.empty(); }, 5s));
}

// What our handlers throw on one of the service's threads ends the service, not the process: it is
// reported, the service says it is dead and refuses sends (whose completion would never come), and
// the next open gets a working one. The parameter: whether the input handler throws, else the send's
// completion does.
class JackThreadFailure : public testing::TestWithParam<bool> {};

TEST_P(JackThreadFailure, endsTheServiceNotTheProcess) {
    VELK_REQUIRE_JACK_SERVER("");
    const bool inputHandlerThrows = GetParam();
    // Declared first: the service, going first, cancels what it still has of them.
    const Bytes message = numberedSysex(20, 1);
    midi::SysexRequest request{.data = message.data(), .length = static_cast<uint32_t>(message.size())};
    std::unique_ptr<JackEchoPeer> peer = JackEchoPeer::start("VelkSolvo/Echo");
    ASSERT_NE(peer, nullptr);
    std::string whyNot;
    std::shared_ptr<midi::MidiService> service = midi::openJackService(whyNot);
    ASSERT_NE(service, nullptr) << whyNot;
    const auto source = findEndpoint(service->sources(), peer->outputName());
    const auto destination = findEndpoint(service->destinations(), peer->inputName());
    ASSERT_TRUE(source && destination);
    ASSERT_EQ(service->openInput(*source,
                                 [&](const midi::PacketList&) {
                                     if (inputHandlerThrows)
                                         throw std::runtime_error("handler failed");
                                 }),
              0);
    ASSERT_EQ(service->openOutput(*destination), 0);

    if (!inputHandlerThrows)
        request.completion = [](midi::SysexRequest*) { throw std::runtime_error("completion failed"); };
    testing::internal::CaptureStderr();
    ASSERT_EQ(service->sendSysex(request), 0);
    const bool died = eventually([&] { return !service->alive(); });
    const std::string reported = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(died);
    EXPECT_THAT(reported,
                testing::HasSubstr(inputHandlerThrows
                                       ? "[ERROR] MIDI JACK input thread failed: handler failed"
                                       : "[ERROR] MIDI JACK completion thread failed: completion failed"));
    EXPECT_EQ(service->sendSysex(request), midi::kStatusServiceGone);

    std::shared_ptr<midi::MidiService> fresh = midi::openJackService(whyNot);
    ASSERT_TRUE(fresh && fresh->alive()) << whyNot;
    EXPECT_NE(fresh, service);
}

INSTANTIATE_TEST_SUITE_P(Threads, JackThreadFailure, testing::Bool(),
                         [](const auto& info) { return info.param ? "inputHandler" : "sendCompletion"; });

TEST(JackEndpointName, isThePortNameFollowedByItsAliases) {
    EXPECT_EQ(midi::jackEndpointName("a2j:Amp:out", {}), "a2j:Amp:out");
    EXPECT_EQ(midi::jackEndpointName("system:midi_capture_1", {"alsa_pcm:VelkSolvo/Ab-2/midi_capture_1"}),
              "system:midi_capture_1 (alsa_pcm:VelkSolvo/Ab-2/midi_capture_1)");
    EXPECT_EQ(midi::jackEndpointName("system:midi_capture_1", {"one", "two"}),
              "system:midi_capture_1 (one, two)");
}

}  // namespace
