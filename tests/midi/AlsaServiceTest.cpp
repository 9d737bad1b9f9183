// End to end through the ALSA sequencer, on machines that have one (a desktop; not CI): the port
// manager on our ALSA backend, talking to a sequencer client of the test that echoes what it gets.
#include "midi/AlsaService.h"

#include "PortManagerFixture.h"

#include <alsa/asoundlib.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>

#include <filesystem>

namespace {

using midi::test::Bytes;
using midi::test::numberedSysex;
using namespace std::chrono_literals;

// A sequencer client "VelkSolvo/Echo" whose port "echo" sends back every event it receives.
class AlsaEchoPeer {
public:
    static std::unique_ptr<AlsaEchoPeer> open() {
        snd_seq_t* seq = nullptr;
        if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0)
            return nullptr;
        snd_seq_set_client_name(seq, "VelkSolvo/Echo");
        const int port =
            snd_seq_create_simple_port(seq, "echo",
                                       SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ |
                                           SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
                                       SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
        if (port >= 0)
            return std::unique_ptr<AlsaEchoPeer>(new AlsaEchoPeer(seq, port));
        snd_seq_close(seq);
        return nullptr;
    }
    ~AlsaEchoPeer() {
        m_Stopping = true;
        m_Thread.join();
        snd_seq_close(m_Seq);
    }

private:
    AlsaEchoPeer(snd_seq_t* seq, int port) : m_Seq(seq), m_Port(port), m_Thread([this] { run(); }) {}

    void run() {
        pollfd descriptor{};
        snd_seq_poll_descriptors(m_Seq, &descriptor, 1, POLLIN);
        while (!m_Stopping) {
            if (poll(&descriptor, 1, 20) <= 0)
                continue;
            snd_seq_event_t* event = nullptr;
            while (snd_seq_event_input(m_Seq, &event) >= 0 && event) {
                snd_seq_ev_set_source(event, m_Port);
                snd_seq_ev_set_subs(event);
                snd_seq_ev_set_direct(event);
                snd_seq_event_output_direct(m_Seq, event);
            }
        }
    }

    snd_seq_t* m_Seq;
    int m_Port;
    std::atomic<bool> m_Stopping{false};
    std::thread m_Thread;
};

class AlsaServiceTest : public midi::test::PortManagerFixture {
protected:
    void SetUp() override {
        if (!std::filesystem::exists("/dev/snd/seq"))
            GTEST_SKIP() << "no ALSA sequencer on this machine: these tests run on a desktop";
        peer = AlsaEchoPeer::open();
        ASSERT_NE(peer, nullptr);
        startManager(midi::ServiceChoice::Alsa);
    }
    void TearDown() override {
        PortManagerFixture::TearDown();
        peer.reset();
    }

    std::unique_ptr<AlsaEchoPeer> peer;
};

TEST_F(AlsaServiceTest, listsOtherClientsPortsByClientAndPortNameButNotOurOwn) {
    std::vector<std::string> sources;
    manager->getMidiInDevices(sources);

    EXPECT_EQ(manager->service()->serviceName(), "alsa");
    EXPECT_THAT(sources, testing::Contains("VelkSolvo/Echo:echo"));
    EXPECT_THAT(sources, testing::Not(testing::Contains(testing::StartsWith("Velk Vovezid:"))));
}

TEST_F(AlsaServiceTest, echoesEverySysexLengthFrom11To532ExactlyAndInOrder) {
    openPortsNamed("VelkSolvo/Echo:echo");
    std::vector<Bytes> sent;
    for (size_t length = 11; length <= 532; ++length) {
        sent.push_back(numberedSysex(length, static_cast<uint8_t>(length)));
        ASSERT_EQ(send(sent.back()), 0);
    }
    ASSERT_TRUE(echoes.waitForCount(sent.size(), 10s));

    EXPECT_EQ(echoes.messages(), sent);
}

TEST_F(AlsaServiceTest, healthCheckNoticesAPeerThatVanished) {
    openPortsNamed("VelkSolvo/Echo:echo");
    peer.reset();

    manager->healthCheck();

    EXPECT_FALSE(portsOpen());
}

TEST_F(AlsaServiceTest, announcesAClientThatAppears) {
    expectAnnounced([] { return AlsaEchoPeer::open(); });
}

}  // namespace
