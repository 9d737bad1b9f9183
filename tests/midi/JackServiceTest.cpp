// End to end through a real JACK server: the port manager on our JACK backend, talking to a peer
// client that echoes what it receives.
#include "midi/JackService.h"

#include "JackEchoPeer.h"
#include "JackTestServer.h"
#include "PortManagerFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using midi::test::Bytes;
using midi::test::eventually;
using midi::test::JackEchoPeer;
using midi::test::JackTestServer;
using midi::test::numberedSysex;
using Messages = std::vector<Bytes>;
using namespace std::chrono_literals;

constexpr const char* kPeerName = "VelkSolvo/Echo";

class JackServiceTest : public midi::test::PortManagerFixture {
protected:
    void SetUp() override {
        VELK_REQUIRE_JACK_SERVER("");
        peer = JackEchoPeer::start(kPeerName);
        ASSERT_NE(peer, nullptr);
        startManager(midi::ServiceChoice::Jack);
    }
    void openPeer() { openPortsNamed("VelkSolvo/"); }

    std::unique_ptr<JackEchoPeer> peer;
};

TEST_F(JackServiceTest, listsOtherClientsMidiPortsByFullNameButNotOurOwn) {
    std::vector<std::string> sources;
    std::vector<std::string> destinations;

    manager->getMidiInDevices(sources);
    manager->getMidiOutDevices(destinations);

    EXPECT_EQ(manager->service()->serviceName(), "jack");
    EXPECT_THAT(sources, testing::Contains(peer->outputName()));
    EXPECT_THAT(destinations, testing::Contains(peer->inputName()));
    EXPECT_THAT(sources, testing::Not(testing::Contains(testing::HasSubstr("Velk Vovezid:"))));
    EXPECT_THAT(destinations, testing::Not(testing::Contains(testing::HasSubstr("Velk Vovezid:"))));
}

// On a loaded machine JACK may lose a message, and a client that misses its cycle may have its
// previous output read once more (a message repeated right behind itself). The amplifier protocol
// answers every awaited message, so a loss shows up as a reply time-out and the request is sent
// again. What the echoes may never show is a damaged, invented or reordered message.
struct EchoAccount {
    size_t lost = 0;
    size_t repeats = 0;
    std::string fault;  // empty when every echo is a sent message, in sending order
};

EchoAccount accountFor(const Messages& sent, Messages echoes) {
    EchoAccount account;
    const auto repeated = std::unique(echoes.begin(), echoes.end());
    account.repeats = static_cast<size_t>(echoes.end() - repeated);
    echoes.erase(repeated, echoes.end());
    auto next = sent.begin();
    for (const Bytes& echo : echoes) {
        next = std::find(next, sent.end(), echo);
        if (next == sent.end()) {
            account.fault = "an echo of " + std::to_string(echo.size()) + " bytes is no later message sent";
            return account;
        }
        ++next;
    }
    account.lost = sent.size() - echoes.size();
    return account;
}

TEST_F(JackServiceTest, echoesEverySysexLengthFrom11To532ExactlyAndInOrder) {
    openPeer();
    Messages sent;
    int resent = 0;
    for (size_t length = 11; length <= 532; ++length) {
        sent.push_back(numberedSysex(length, static_cast<uint8_t>(length)));
        const size_t mark = echoes.count();
        auto echoed = [&](const Messages& arrived) {
            return std::find(arrived.begin() + static_cast<std::ptrdiff_t>(mark), arrived.end(),
                             sent.back()) != arrived.end();
        };
        bool arrived = false;
        for (int attempt = 0; attempt < 3 && !arrived; ++attempt) {  // a lost one is sent again
            resent += attempt > 0;
            ASSERT_EQ(send(sent.back()), 0) << "length " << length;
            arrived = echoes.waitUntil(echoed, 1000ms);
        }
        ASSERT_TRUE(arrived) << "no echo of a " << length << "-byte message in 3 attempts";
    }

    const EchoAccount account = accountFor(sent, echoes.messages());
    EXPECT_EQ(account.fault, "");
    EXPECT_EQ(account.lost, 0u);
    EXPECT_LE(resent, 10) << "JACK lost " << resent << " of 522 messages";
    EXPECT_LE(account.repeats, 10u);
}

TEST_F(JackServiceTest, aBurstArrivesInOrderWithoutDamage) {
    openPeer();
    Messages sent;
    for (uint8_t i = 0; i < 100; ++i) {
        sent.push_back(numberedSysex(11 + (i * 97) % 522, i));
        ASSERT_EQ(send(sent.back()), 0);
    }
    echoes.waitUntil(
        [&](const Messages& arrived) { return !arrived.empty() && arrived.back() == sent.back(); }, 5s);

    const EchoAccount account = accountFor(sent, echoes.messages());
    EXPECT_EQ(account.fault, "");
    EXPECT_LE(account.lost, 5u) << "JACK lost " << account.lost << " of 100 messages";
    EXPECT_LE(account.repeats, 5u);
}

class JackVanishingPeer : public JackServiceTest, public testing::WithParamInterface<bool> {};

TEST_P(JackVanishingPeer, isNoticedByTheHealthCheck) {
    openPeer();
    manager->healthCheck();
    ASSERT_TRUE(manager->isOpenedMidiIn() && manager->isOpenedMidiOut());

    peer->stop(GetParam());

    EXPECT_TRUE(eventually([&] {
        manager->healthCheck();
        return !portsOpen();
    }));
}

INSTANTIATE_TEST_SUITE_P(Ways, JackVanishingPeer, testing::Bool(),
                         [](const auto& info) { return info.param ? "killed" : "closedItsClient"; });

TEST_F(JackServiceTest, aSendToAPeerThatVanishedStillReturns) {
    openPeer();
    peer.reset();

    EXPECT_EQ(send(numberedSysex(20, 1)), 0);  // JACK does not tell: the health check does
}

TEST_F(JackServiceTest, announcesAPeerThatAppears) {
    expectAnnounced([] { return JackEchoPeer::start("VelkSolvo/Other"); });
}

TEST_F(JackServiceTest, refusesAMessageLargerThanTheServiceCarries) {
    openPeer();
    EXPECT_NE(send(numberedSysex(200 * 1024, 0)), 0);
    EXPECT_EQ(send(numberedSysex(11, 0)), 0);  // and goes on working
}

TEST(JackServiceSelection, picksTheRunningServerAndSaysWhyWhenNoneRuns) {
    VELK_REQUIRE_JACK_SERVER("");
    {
        midi::ServiceSelection forced = midi::selectService(midi::ServiceChoice::Jack);
        ASSERT_NE(forced.service, nullptr) << forced.unavailableReason;
        EXPECT_EQ(forced.service->serviceName(), "jack");
        EXPECT_TRUE(forced.unavailableReason.empty());
        if (!std::filesystem::exists("/dev/snd/seq")) {
            EXPECT_EQ(midi::selectService(midi::ServiceChoice::Auto).service, forced.service);
        }
    }
    midi::test::NoJackServer noServer;
    midi::ServiceSelection missing = midi::selectService(midi::ServiceChoice::Jack);

    EXPECT_EQ(missing.service, nullptr);
    EXPECT_THAT(missing.unavailableReason, testing::StartsWith("no JACK server running"));
}

TEST(JackEndpointName, isThePortNameFollowedByItsAliases) {
    EXPECT_EQ(midi::jackEndpointName("a2j:Amp:out", {}), "a2j:Amp:out");
    EXPECT_EQ(midi::jackEndpointName("system:midi_capture_1", {"alsa_pcm:VelkSolvo/Ab-2/midi_capture_1"}),
              "system:midi_capture_1 (alsa_pcm:VelkSolvo/Ab-2/midi_capture_1)");
    EXPECT_EQ(midi::jackEndpointName("system:midi_capture_1", {"one", "two"}),
              "system:midi_capture_1 (one, two)");
}

// A server of its own, stopped under the port manager's feet and started again.
class JackServerGone : public midi::test::PortManagerFixture {
protected:
    void SetUp() override {
        VELK_REQUIRE_JACK_SERVER("");
        startServerAndPeer();
        startManager(midi::ServiceChoice::Jack);
    }
    void TearDown() override {
        PortManagerFixture::TearDown();
        peer.reset();
        server.reset();
        std::string whyNot;
        if (JackTestServer* shared = JackTestServer::shared(whyNot))
            setenv("JACK_DEFAULT_SERVER", shared->name().c_str(), 1);
    }
    void startServerAndPeer() {
        std::string whyNot;
        server = JackTestServer::start(whyNot, "-gone");
        ASSERT_NE(server, nullptr) << whyNot;
        peer = JackEchoPeer::start(kPeerName);
        ASSERT_NE(peer, nullptr);
    }

    std::unique_ptr<JackTestServer> server;
    std::unique_ptr<JackEchoPeer> peer;
};

TEST_F(JackServerGone, sendsFailWithoutHangingTheEndpointsGoAndARestartIsPickedUp) {
    openPortsNamed("VelkSolvo/");

    server->stop();
    const Bytes message = numberedSysex(64, 1);
    EXPECT_TRUE(eventually([&] { return send(message) != 0; }, 10s));
    manager->healthCheck();
    EXPECT_FALSE(portsOpen());

    // The server comes back: the next search finds the peer again, on a new client.
    peer.reset();
    server.reset();
    startServerAndPeer();
    openPortsNamed("VelkSolvo/");
    EXPECT_EQ(send(message), 0);
    EXPECT_TRUE(echoes.waitUntil([&](const Messages& arrived) { return !arrived.empty(); }, 5s));
}

}  // namespace
