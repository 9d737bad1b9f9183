// End to end through a real JACK server: the port manager on our JACK backend, talking to a peer
// client that echoes what it receives.
#include "midi/JackService.h"

#include "JackEchoPeer.h"
#include "JackTestServer.h"
#include "PortManagerFixture.h"
#include "midi/ServiceSelection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

namespace {

using midi::test::Bytes;
using midi::test::JackEchoPeer;
using midi::test::JackTestServer;
using midi::test::MessageRecorder;
using midi::test::numberedSysex;
using namespace std::chrono_literals;

constexpr const char* kPeerName = "VelkSolvo/Echo";
constexpr auto kEchoLimit = 1000ms;
constexpr int kAttempts = 3;

// One private server for the whole program; tests that stop a server start their own.
class JackServer {
public:
    static JackServer& shared() {
        static JackServer server;
        return server;
    }
    bool ready() const { return m_Server != nullptr; }
    const std::string& whyNot() const { return m_WhyNot; }
    void stop() { m_Server.reset(); }

private:
    JackServer() {
        if (!JackTestServer::jackdInstalled())
            m_WhyNot = "jackd is not installed (Debian package jackd2): no JACK end-to-end tests";
        else
            m_Server = JackTestServer::start(m_WhyNot);
    }
    std::unique_ptr<JackTestServer> m_Server;
    std::string m_WhyNot;
};

// Skips the calling test where jackd is not installed; fails it when the server does not start.
#define REQUIRE_JACK_SERVER()                                                       \
    do {                                                                            \
        if (!JackTestServer::jackdInstalled()) {                                    \
            GTEST_SKIP() << JackServer::shared().whyNot();                          \
        }                                                                           \
        ASSERT_TRUE(JackServer::shared().ready()) << JackServer::shared().whyNot(); \
    } while (false)

class JackServiceTest : public midi::test::PortManagerFixture {
protected:
    void SetUp() override {
        REQUIRE_JACK_SERVER();
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

EchoAccount accountFor(const std::vector<Bytes>& sent, const std::vector<Bytes>& received) {
    EchoAccount account;
    auto next = sent.begin();
    for (size_t i = 0; i < received.size(); ++i) {
        if (i > 0 && received[i] == received[i - 1]) {
            ++account.repeats;
            continue;
        }
        auto found = std::find(next, sent.end(), received[i]);
        if (found == sent.end()) {
            bool sentEarlier = std::find(sent.begin(), next, received[i]) != next;
            account.fault = "echo " + std::to_string(i) + " (" + std::to_string(received[i].size()) +
                            " bytes) " + (sentEarlier ? "arrived out of order" : "was never sent");
            return account;
        }
        account.lost += static_cast<size_t>(found - next);
        next = found + 1;
    }
    account.lost += static_cast<size_t>(sent.end() - next);
    return account;
}

TEST(EchoAccount, toleratesLossAndRepeatsButNotDamageOrReordering) {
    const std::vector<Bytes> sent{{0xF0, 1, 0xF7}, {0xF0, 2, 0xF7}, {0xF0, 3, 0xF7}};

    EchoAccount lossy = accountFor(sent, {sent[0], sent[0], sent[2]});
    EXPECT_EQ(lossy.fault, "");
    EXPECT_EQ(lossy.lost, 1u);
    EXPECT_EQ(lossy.repeats, 1u);
    EXPECT_EQ(accountFor(sent, {sent[0]}).lost, 2u);
    EXPECT_THAT(accountFor(sent, {sent[1], sent[0]}).fault, testing::HasSubstr("out of order"));
    EXPECT_THAT(accountFor(sent, {sent[0], {0xF0, 2, 0x00}}).fault, testing::HasSubstr("never sent"));
    EXPECT_THAT(accountFor(sent, {sent[0], sent[1], sent[0]}).fault, testing::HasSubstr("out of order"));
}

bool containsFrom(const std::vector<Bytes>& messages, size_t start, const Bytes& message) {
    return std::find(messages.begin() + static_cast<std::ptrdiff_t>(std::min(start, messages.size())),
                     messages.end(), message) != messages.end();
}

TEST_F(JackServiceTest, echoesEverySysexLengthFrom11To532ExactlyAndInOrder) {
    openPeer();
    std::vector<Bytes> sent;
    int resent = 0;
    for (size_t length = 11; length <= 532; ++length) {
        sent.push_back(numberedSysex(length, static_cast<uint8_t>(length)));
        const size_t mark = echoes.count();
        bool echoed = false;
        for (int attempt = 0; attempt < kAttempts && !echoed; ++attempt) {
            resent += attempt > 0;
            ASSERT_EQ(send(sent.back()), 0) << "length " << length;
            echoed = echoes.waitUntil(
                [&](const std::vector<Bytes>& arrived) { return containsFrom(arrived, mark, sent.back()); },
                kEchoLimit);
        }
        ASSERT_TRUE(echoed) << "no echo of a " << length << "-byte message in " << kAttempts << " attempts";
    }

    EchoAccount account = accountFor(sent, echoes.messages());
    RecordProperty("resent", resent);
    RecordProperty("repeats", static_cast<int>(account.repeats));
    EXPECT_EQ(account.fault, "");
    EXPECT_EQ(account.lost, 0u);
    EXPECT_LE(resent, 10) << "JACK lost " << resent << " of 522 messages";
    EXPECT_LE(account.repeats, 10u);
}

TEST_F(JackServiceTest, aBurstArrivesInOrderWithoutDamage) {
    openPeer();
    std::vector<Bytes> sent;
    for (uint8_t i = 0; i < 100; ++i) {
        sent.push_back(numberedSysex(11 + (i * 97) % 522, i));
        ASSERT_EQ(send(sent.back()), 0);
    }
    echoes.waitUntil([&](const std::vector<Bytes>& arrived) { return containsFrom(arrived, 0, sent.back()); },
                     5s);

    EchoAccount account = accountFor(sent, echoes.messages());
    RecordProperty("lost", static_cast<int>(account.lost));
    RecordProperty("repeats", static_cast<int>(account.repeats));
    EXPECT_EQ(account.fault, "");
    EXPECT_LE(account.lost, 5u) << "JACK lost " << account.lost << " of 100 messages";
    EXPECT_LE(account.repeats, 5u);
}

class JackVanishingPeer : public JackServiceTest, public testing::WithParamInterface<bool> {};

TEST_P(JackVanishingPeer, isNoticedByTheHealthCheck) {
    openPeer();
    manager->healthCheck();
    ASSERT_TRUE(manager->isOpenedMidiIn());
    ASSERT_TRUE(manager->isOpenedMidiOut());

    peer->stop(GetParam());
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while ((manager->isOpenedMidiIn() || manager->isOpenedMidiOut()) &&
           std::chrono::steady_clock::now() < deadline) {
        manager->healthCheck();
        std::this_thread::sleep_for(10ms);
    }

    EXPECT_FALSE(manager->isOpenedMidiIn());
    EXPECT_FALSE(manager->isOpenedMidiOut());
}

INSTANTIATE_TEST_SUITE_P(Ways, JackVanishingPeer, testing::Bool(),
                         [](const auto& info) { return info.param ? "killed" : "closedItsClient"; });

TEST_F(JackServiceTest, aSendToAPeerThatVanishedStillReturns) {
    openPeer();
    peer.reset();

    EXPECT_EQ(send(numberedSysex(20, 1)), 0);  // JACK does not tell: the health check does
}

TEST_F(JackServiceTest, announcesAPeerThatAppears) {
    const int before = changes;
    auto other = JackEchoPeer::start("VelkSolvo/Other");
    ASSERT_NE(other, nullptr);

    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (changes == before && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);

    EXPECT_GT(changes, before);
}

TEST_F(JackServiceTest, refusesAMessageLargerThanTheServiceCarries) {
    openPeer();
    EXPECT_NE(send(numberedSysex(200 * 1024, 0)), 0);
    EXPECT_EQ(send(numberedSysex(11, 0)), 0);  // and goes on working
}

TEST(JackServiceSelection, picksTheRunningServerAndSaysWhyWhenNoneRuns) {
    REQUIRE_JACK_SERVER();
    {
        midi::ServiceSelection forced = midi::selectService(midi::ServiceChoice::Jack);
        ASSERT_NE(forced.service, nullptr) << forced.unavailableReason;
        EXPECT_EQ(forced.service->serviceName(), "jack");
        EXPECT_TRUE(forced.unavailableReason.empty());
        if (!std::filesystem::exists("/dev/snd/seq")) {
            EXPECT_EQ(midi::selectService(midi::ServiceChoice::Auto).service, forced.service);
        }
    }
    const std::string server = std::getenv("JACK_DEFAULT_SERVER");
    setenv("JACK_DEFAULT_SERVER", "velk-no-such-server", 1);
    midi::ServiceSelection missing = midi::selectService(midi::ServiceChoice::Jack);
    setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);

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

// Puts JACK_DEFAULT_SERVER back as it was when this goes.
class ServerSwitch {
public:
    ServerSwitch() {
        if (const char* name = std::getenv("JACK_DEFAULT_SERVER"))
            m_Previous = name;
    }
    ~ServerSwitch() {
        if (m_Previous)
            setenv("JACK_DEFAULT_SERVER", m_Previous->c_str(), 1);
        else
            unsetenv("JACK_DEFAULT_SERVER");
    }

private:
    std::optional<std::string> m_Previous;
};

// A server of its own, stopped under the port manager's feet and started again.
class JackServerGone : public midi::test::PortManagerFixture {
protected:
    void SetUp() override {
        REQUIRE_JACK_SERVER();
        startServerAndPeer();
        startManager(midi::ServiceChoice::Jack);
    }
    void TearDown() override {
        PortManagerFixture::TearDown();
        peer.reset();
        server.reset();
    }
    void startServerAndPeer() {
        std::string whyNot;
        server = JackTestServer::start(whyNot, "-gone");
        ASSERT_NE(server, nullptr) << whyNot;
        peer = JackEchoPeer::start(kPeerName);
        ASSERT_NE(peer, nullptr);
    }

    ServerSwitch backToTheSharedServer;
    std::unique_ptr<JackTestServer> server;
    std::unique_ptr<JackEchoPeer> peer;
};

TEST_F(JackServerGone, sendsFailWithoutHangingTheEndpointsGoAndARestartIsPickedUp) {
    openPortsNamed("VelkSolvo/");

    server->stop();
    const Bytes message = numberedSysex(64, 1);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (status == 0 && std::chrono::steady_clock::now() < deadline) {
        status = send(message);
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_NE(status, 0);
    manager->healthCheck();
    EXPECT_FALSE(manager->isOpenedMidiIn());
    EXPECT_FALSE(manager->isOpenedMidiOut());

    // The server comes back: the next search finds the peer again, on a new client.
    peer.reset();
    server.reset();
    startServerAndPeer();
    openPortsNamed("VelkSolvo/");
    EXPECT_EQ(send(message), 0);
    EXPECT_TRUE(echoes.waitUntil([&](const std::vector<Bytes>& arrived) { return !arrived.empty(); }, 5s));
}

}  // namespace
